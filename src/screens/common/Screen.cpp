#include "screens/common/Screen.h"

#include "platform/Platform.h"
#include "screens/common/Handlers.h"
#include "screens/common/ScreenRegistry.h"
#include "screens/common/Widgets.h"
#include "screens/start/frmAbout.h"
#include "state/modMain.h"

#include <QAction>
#include <QCloseEvent>
#include <QGroupBox>
#include <QGuiApplication>
#include <QIcon>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>

using namespace modMain;

namespace {

void setCaption(QObject* control, const QString& text) {
    if (auto* frame = qobject_cast<QGroupBox*>(control))
        frame->setTitle(text);
    else if (auto* button = qobject_cast<QAbstractButton*>(control))
        button->setText(text);
    else if (auto* label = qobject_cast<QLabel*>(control))
        label->setText(text);
    else if (auto* menu = qobject_cast<QMenu*>(control))
        menu->setTitle(text);
    else if (auto* action = qobject_cast<QAction*>(control))
        action->setText(text);
}

void setCaptionToolTip(QObject* control, const QString& text) {
    if (auto* widget = qobject_cast<QWidget*>(control))
        widget->setToolTip(text);
    else if (auto* action = qobject_cast<QAction*>(control))
        action->setToolTip(text);
}

} // namespace

Screen::Screen(QWidget* parent) : QMainWindow(parent) {}

void Screen::centreOnScreen() {
    adjustSize();
    const QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen();
    if (!s) return;
    const QRect avail = s->availableGeometry();
    const QSize own = frameGeometry().size();
    move(avail.left() + (avail.width() - own.width()) / 2, avail.top() + (avail.height() - own.height()) / 2);
}

void Screen::restoreNormalState() {
    setWindowState(windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen));
}

void Screen::addCaptions(std::initializer_list<Caption> captions) {
    captions_.insert(captions_.end(), captions);
}

void Screen::subLoadCaptions() {
    for (const Caption& c : captions_) {
        if (c.toolTip)
            setCaptionToolTip(c.control, Txt(c.entry));
        else
            setCaption(c.control, Txt(c.entry));
    }
    // The language names are the same in both languages.
    if (mnuEnglish) mnuEnglish->setText(QStringLiteral("English"));
    if (mnuFrench) mnuFrench->setText(QStringLiteral("Français"));
}

QPushButton* Screen::makeBackButton() {
    btnBack = makeButton(QStringLiteral("btnBack"));
    btnBack->setIcon(QIcon(QStringLiteral(":/ventrolux/images/back.svg")));
    btnBack->setIconSize(QSize(24, 24));
    btnBack->setMinimumWidth(0);
    btnBack->setFixedSize(px(735), px(495));
    addCaptions({{btnBack, 352, true}});
    onEvent(btnBack, &QPushButton::clicked, this, [this] { btnBack_Click(); });
    return btnBack;
}

QAction* Screen::makeExitEntry(QMenu* file, bool withCtrlX) {
    mnuExit = makeMenuEntry(file, QStringLiteral("mnuExit"), QKeySequence());
    // Ctrl+Q is the desktop's own Quit.
    QList<QKeySequence> keys;
    if (withCtrlX) keys << QKeySequence(Qt::CTRL | Qt::Key_X);
    keys << QKeySequence(Qt::CTRL | Qt::Key_Q);
    mnuExit->setShortcuts(keys);
    addCaptions({{mnuExit, 328}});
    onEvent(mnuExit, &QAction::triggered, this, [this] { mnuExit_Click(); });
    return mnuExit;
}

void Screen::makeLanguageAndHelpMenus() {
    mnuLanguage = makeMenu(menuBar(), QStringLiteral("mnuLanguage"));
    mnuEnglish = makeMenuEntry(mnuLanguage, QStringLiteral("mnuEnglish"), QKeySequence(Qt::Key_F2));
    mnuFrench = makeMenuEntry(mnuLanguage, QStringLiteral("mnuFrench"), QKeySequence(Qt::Key_F3));
    mnuHelp = makeMenu(menuBar(), QStringLiteral("mnuHelp"));
    mnuContents = makeMenuEntry(mnuHelp, QStringLiteral("mnuContents"), QKeySequence(Qt::Key_F1));
    mnuTechnical = makeMenuEntry(mnuHelp, QStringLiteral("mnuTechnical"), QKeySequence(Qt::CTRL | Qt::Key_T));
    mnuAbout = makeMenuEntry(mnuHelp, QStringLiteral("mnuAbout"), QKeySequence(Qt::CTRL | Qt::Key_P));
    addCaptions(
        {{mnuLanguage, 500}, {mnuHelp, 298}, {mnuContents, 562}, {mnuTechnical, 564}, {mnuAbout, 380}});
    onEvent(mnuEnglish, &QAction::triggered, this, [this] { mnuEnglish_Click(); });
    onEvent(mnuFrench, &QAction::triggered, this, [this] { mnuFrench_Click(); });
    onEvent(mnuContents, &QAction::triggered, this, [this] { mnuContents_Click(); });
    onEvent(mnuTechnical, &QAction::triggered, this, [this] { mnuTechnical_Click(); });
    onEvent(mnuAbout, &QAction::triggered, this, [this] { mnuAbout_Click(); });
}

void Screen::addLanguageKeys() {
    if (mnuEnglish) return;
    const std::pair<Qt::Key, int16_t> keys[] = {{Qt::Key_F2, 0}, {Qt::Key_F3, 1}};
    for (const auto& [key, language] : keys) {
        auto* action = new QAction(this);
        action->setShortcut(QKeySequence(key));
        action->setShortcutContext(Qt::WindowShortcut);
        addAction(action);
        onEvent(action, &QAction::triggered, this, [this, language = language] { switchLanguage(language); });
    }
}

void Screen::switchLanguage(int16_t language) {
    gintLanguage = language;
    subCaptionChosenDataset();
    // Every window of the program, shown or hidden, so that two languages never show at once.
    ScreenRegistry::instance().followLanguage();
}

void Screen::mnuExit_Click() {
    Form_QueryUnload();
}
void Screen::mnuEnglish_Click() {
    switchLanguage(0);
}
void Screen::mnuFrench_Click() {
    switchLanguage(1);
}
void Screen::mnuContents_Click() {
    subLaunchHelpFile(QStringLiteral("Contents"));
}
void Screen::mnuTechnical_Click() {
    subLaunchHelpFile(QStringLiteral("Tech"));
}
void Screen::mnuAbout_Click() {
    ScreenRegistry& registry = ScreenRegistry::instance();
    registry.showModal(registry.get<frmAbout>(), this);
}

bool Screen::confirmExit() {
    if (!ScreenRegistry::instance().mayDropWork()) return false;
    if (MsgBox(Txt(478), MsgButtons::YesNo, MsgIcon::Exclamation) == MsgResult::Yes) EndProgram(0);
    return false;
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
    if (event->type() == QEvent::WindowActivate)
        runHandler([this] { ScreenRegistry::instance().windowActivated(this); });
    return QMainWindow::event(event);
}
