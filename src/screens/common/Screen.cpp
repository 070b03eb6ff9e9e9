#include "screens/common/Screen.h"

#include "platform/Platform.h"
#include "screens/common/Accessibility.h"
#include "screens/common/Handlers.h"
#include "screens/common/ScreenRegistry.h"
#include "screens/common/Widgets.h"
#include "screens/start/frmAbout.h"
#include "state/modMain.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QGroupBox>
#include <QGuiApplication>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>

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

// A control that shows only a picture is named by its tool tip: a screen reader says what
// the sighted user reads when the pointer rests on it.
void setCaptionToolTip(QObject* control, const QString& text) {
    if (auto* button = qobject_cast<QAbstractButton*>(control)) {
        button->setToolTip(text);
        if (button->text().isEmpty()) button->setAccessibleName(text);
    } else if (auto* widget = qobject_cast<QWidget*>(control)) {
        widget->setToolTip(text);
    } else if (auto* action = qobject_cast<QAction*>(control)) {
        action->setToolTip(text);
        // A toolbar's button takes its name from its command's text; the toolbar shows
        // only the picture.
        action->setText(text);
    }
}

bool isEnter(const QKeyEvent& key) {
    return (key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter) &&
           (key.modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
}

// Room for the window manager's title bar and borders, which are not known before the
// window is shown.
constexpr int kFrameWidth = 16;
constexpr int kFrameHeight = 48;

} // namespace

QString Screen::TextRef::inCurrentLanguage() const {
    return key ? Txt(std::string_view(key)) : Txt(entry);
}

Screen::Screen(QWidget* parent) : QMainWindow(parent) {
    accessibility::install();
}

void Screen::fitOnScreen() {
    // A designed minimum size never hides what the layout needs (larger fonts, a scale factor).
    if (QWidget* content = centralWidget(); content && content->layout())
        content->setMinimumSize(content->minimumSize().expandedTo(content->layout()->minimumSize()));
    adjustSize();
    const QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen();
    if (!s || qobject_cast<QScrollArea*>(centralWidget())) return;
    const QSize room = s->availableGeometry().size() - QSize(kFrameWidth, kFrameHeight);
    const QSize wanted = size();
    if (wanted.width() <= room.width() && wanted.height() <= room.height()) return;
    // The designed layout stays whole inside a scroll area the size of the display.
    const bool fixed = layout() && layout()->sizeConstraint() == QLayout::SetFixedSize;
    if (layout()) layout()->setSizeConstraint(QLayout::SetDefaultConstraint);
    auto* area = new QScrollArea;
    area->setObjectName(QStringLiteral("screenScrollArea"));
    area->setFrameShape(QFrame::NoFrame);
    area->setWidgetResizable(true);
    // The focus goes to the controls, which the area scrolls into sight; not to the area.
    area->setFocusPolicy(Qt::NoFocus);
    area->setWidget(takeCentralWidget());
    setCentralWidget(area);
    // The control that takes the focus is scrolled into sight, by Tab or by the program.
    connect(qApp, &QApplication::focusChanged, area, [area](QWidget*, QWidget* now) {
        if (now && area->widget() && area->widget()->isAncestorOf(now)) area->ensureWidgetVisible(now);
    });
    setMinimumSize(0, 0);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    // A scroll bar along one side takes room from the other.
    QSize fitted = wanted;
    const int bar = area->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    if (fitted.height() > room.height()) fitted.rwidth() += bar;
    if (fitted.width() > room.width()) fitted.rheight() += bar;
    fitted = fitted.boundedTo(room);
    if (fixed)
        setFixedSize(fitted);
    else
        resize(fitted);
}

void Screen::centreOnScreen() {
    fitOnScreen();
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
        const QString text = c.text.inCurrentLanguage();
        auto* widget = qobject_cast<QWidget*>(c.control);
        switch (c.kind) {
        case CaptionKind::Text:
            setCaption(c.control, text);
            break;
        case CaptionKind::ToolTip:
            setCaptionToolTip(c.control, text);
            break;
        case CaptionKind::Name:
            if (widget) widget->setAccessibleName(text);
            break;
        case CaptionKind::Description:
            if (widget) widget->setAccessibleDescription(text);
            break;
        }
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
    addCaptions({{btnBack, 352, CaptionKind::ToolTip}});
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

void Screen::followLocale() {
    const QLocale locale = language::locale(modMain::language());
    // New windows (message boxes, file choosers) take the default; this window and its
    // controls take their own.
    QLocale::setDefault(locale);
    setLocale(locale);
}

void Screen::focusFirstControl() {
    QWidget* first = firstFocus();
    if (!first || !first->isVisibleTo(this)) return;
    // The focus frame shows from the start, as after a key press, not only after the first Tab.
    setAttribute(Qt::WA_KeyboardFocusChange);
    first->setFocus(Qt::TabFocusReason);
}

void Screen::leaveOnEscape(std::function<void()> leave) {
    leaveOnEscape_ = std::move(leave);
}

void Screen::chooseRowsByKey(QAbstractItemView* list, std::function<void()> choose,
                             std::function<void()> enter) {
    // Tab moves on to the next control rather than from cell to cell.
    list->setTabKeyNavigation(false);
    list->installEventFilter(this);
    rowKeys_.push_back({list, std::move(choose), std::move(enter)});
}

bool Screen::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) return QMainWindow::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    const bool space = key->key() == Qt::Key_Space && key->modifiers() == Qt::NoModifier;
    if (!space && !isEnter(*key)) return QMainWindow::eventFilter(watched, event);
    for (const RowKeys& r : rowKeys_) {
        if (r.list != watched) continue;
        if (!r.list->currentIndex().isValid()) return false;
        // The row under the cursor becomes the selected one, as a click makes it.
        r.list->setCurrentIndex(r.list->currentIndex());
        const std::function<void()>& run = isEnter(*key) && r.enter ? r.enter : r.choose;
        runHandler([&run] { run(); });
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

QPushButton* Screen::defaultButton() const {
    for (QPushButton* b : findChildren<QPushButton*>())
        if (b->isDefault() && b->isVisibleTo(this) && b->isEnabled()) return b;
    return nullptr;
}

void Screen::keyPressEvent(QKeyEvent* event) {
    if (isEnter(*event)) {
        // The focused button takes Enter; with no button focused (an option, a list, a box
        // that has no use for Enter), the default button does.
        auto* focused = qobject_cast<QPushButton*>(focusWidget());
        QPushButton* target = focused ? focused : defaultButton();
        if (target && target->isEnabled()) {
            event->accept();
            target->click();
            return;
        }
    } else if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier && leaveOnEscape_) {
        event->accept();
        runHandler([this] { leaveOnEscape_(); });
        return;
    }
    QMainWindow::keyPressEvent(event);
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
