#pragma once
// The base of every screen: what the screen registry calls (load, arrival, close), and
// what every screen shares: sizes in twips, captions from the text tables (the texts the
// user reads and the names and descriptions a screen reader speaks), the Back button, the
// Exit entry, the Language and Help menus with their handlers, the language switch that
// every open window follows (with the locale a screen reader speaks it in), the normal
// window state, a scroll area where the screen cannot fit the display, and the keyboard:
// Enter presses the focused button (the default button when no button has the focus),
// Escape leaves a window that closes as Back, Enter or Space chooses the current row of a
// list, and the focus starts, visible, on the first control the user needs.
//
// A screen's arrival is raised by the program's own moves (ScreenRegistry), never by
// window-system focus: a click on another window of the program changes nothing.

#include "state/Navigation.h"

#include <QMainWindow>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <vector>

class QAbstractItemView;
class QAction;
class QMenu;
class QPushButton;

class Screen : public QMainWindow {
    Q_OBJECT
public:
    explicit Screen(QWidget* parent = nullptr);

    // The designs' sizes are in twips; the screens have 15 twips to the pixel.
    static constexpr int px(int twips) { return twips / 15; }

    // Runs once, when the registry creates the screen.
    virtual void Form_Load() {}
    // Runs every time a move of the program arrives at the screen, with how it arrives.
    virtual void Form_Activate(navigation::Arrival) {}
    // Runs when the user closes the window; false keeps it open.
    virtual bool Form_QueryUnload() { return true; }
    // After an accepted close: true discards the instance, false only hides it.
    virtual bool discardOnClose() const { return true; }

    // Sets the screen's texts in the current language. The base sets those of its table.
    virtual void subLoadCaptions();
    // What the screen does when the language is switched on any screen; by default its captions.
    virtual void followLanguage() { subLoadCaptions(); }
    // Before a move that would drop what the user typed here: asks whether to save it.
    // True when the move may go on.
    virtual bool fncMayDropWork() { return true; }
    // The control the focus starts on when the screen arrives afresh; none keeps Qt's choice.
    virtual QWidget* firstFocus() const { return nullptr; }

    // The window and its controls in the locale of the current language, so that a screen
    // reader speaks them in it.
    void followLocale();
    // Puts the focus on the first control the user needs, visibly, as a key press would.
    void focusFirstControl();

    // Centres the window on the screen it is on, fitting it into the screen first.
    void centreOnScreen();
    // Out of the minimized or maximized state, as the window was laid out.
    void restoreNormalState();

    // The shared menu entries and their handlers; null on screens without them.
    QPushButton* btnBack = nullptr;
    QAction* mnuExit = nullptr;
    QMenu* mnuLanguage = nullptr;
    QAction* mnuEnglish = nullptr;
    QAction* mnuFrench = nullptr;
    QMenu* mnuHelp = nullptr;
    QAction* mnuContents = nullptr;
    QAction* mnuTechnical = nullptr;
    QAction* mnuAbout = nullptr;

    virtual void btnBack_Click() {}
    void mnuExit_Click();
    void mnuEnglish_Click();
    void mnuFrench_Click();
    void mnuContents_Click();
    void mnuTechnical_Click();
    void mnuAbout_Click();

    // F2 and F3 on a window without a Language menu (the registry adds them).
    void addLanguageKeys();

protected:
    // A text of either table: an entry of the numbered table or a key of the keyed one.
    struct TextRef {
        TextRef(int number) : entry(number) {}
        TextRef(const char* textKey) : key(textKey) {}
        QString inCurrentLanguage() const;
        int entry = 0;
        const char* key = nullptr;
    };
    // What a caption sets: the text the control shows (a label, a button, a frame, a menu
    // or a menu entry), its tool tip (an icon button or a toolbar command is then also
    // named by it), or the name or description a screen reader speaks.
    enum class CaptionKind { Text, ToolTip, Name, Description };
    struct Caption {
        QObject* control;
        TextRef text;
        CaptionKind kind = CaptionKind::Text;
    };
    void addCaptions(std::initializer_list<Caption> captions);

    // The Back button at its design size, with its picture and tool tip; runs btnBack_Click.
    QPushButton* makeBackButton();
    // File > Exit: Ctrl+Q, and Ctrl+X where the screen's Exit has it.
    QAction* makeExitEntry(QMenu* file, bool withCtrlX);
    // The Language and Help menus at the end of the menu bar, with their handlers.
    void makeLanguageAndHelpMenus();

    // Escape leaves the window by the handler, as its Back or Return button does.
    void leaveOnEscape(std::function<void()> leave);
    // Enter or Space on the current row of the list runs choose; Tab leaves the list.
    // Enter runs enter instead when it is given (a list whose Enter opens, as a double click).
    void chooseRowsByKey(QAbstractItemView* list, std::function<void()> choose,
                         std::function<void()> enter = {});

    // The exit question of the main screens, after the save question of unsaved work on
    // any screen: Yes ends the program at once; Cancel or No returns false.
    static bool confirmExit();

    void closeEvent(QCloseEvent* event) override;
    // Notes which window the user works in; no handler runs.
    bool event(QEvent* event) override;
    // Enter and Escape, as a dialog takes them, once the focused control has not used them.
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void switchLanguage(int16_t language);
    // A screen taller or wider than the display scrolls inside it.
    void fitOnScreen();
    QPushButton* defaultButton() const;

    struct RowKeys {
        QAbstractItemView* list;
        std::function<void()> choose;
        std::function<void()> enter;
    };
    std::vector<Caption> captions_;
    std::vector<RowKeys> rowKeys_;
    std::function<void()> leaveOnEscape_;
};
