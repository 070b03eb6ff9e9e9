#include "screens/common/Screen.h"

#include "platform/Platform.h"
#include "screens/common/ScreenRegistry.h"
#include "state/modMain.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QScreen>

Screen::Screen(QWidget* parent) : QMainWindow(parent) {}

void Screen::centreOnScreen() {
    adjustSize();
    const QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen();
    if (!s) return;
    const QRect avail = s->availableGeometry();
    const QSize own = frameGeometry().size();
    move(avail.left() + (avail.width() - own.width()) / 2, avail.top() + (avail.height() - own.height()) / 2);
}

void Screen::closeEvent(QCloseEvent* event) {
    // The window stays unless the close is accepted; an end of the program in the
    // question leaves it as it is.
    event->ignore();
    runHandler([&] {
        if (!Form_QueryUnload()) return;
        event->accept();
        ScreenRegistry::instance().closed(this);
    });
}

bool Screen::event(QEvent* event) {
    // The user switching between the program's own windows makes a screen active; focus
    // coming back from another application does not, and the registry tells them apart.
    if (event->type() == QEvent::WindowActivate)
        runHandler([this] { ScreenRegistry::instance().windowActivated(this); });
    return QMainWindow::event(event);
}

bool askExitQuestion() {
    if (MsgBox(modMain::Txt(478), MsgButtons::YesNo, MsgIcon::Exclamation) == MsgResult::Yes) EndProgram(0);
    return false;
}
