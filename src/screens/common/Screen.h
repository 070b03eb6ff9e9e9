#pragma once
// The base of every screen: what the screen registry calls (load, arrival, close), and
// what every screen shares: sizes in twips, captions from the string table, the Back
// button, the Exit entry, the Language and Help menus with their handlers, the language
// switch that every open window follows, and the normal window state.
//
// A screen's arrival is raised by the program's own moves (ScreenRegistry), never by
// window-system focus: a click on another window of the program changes nothing.

#include "state/Navigation.h"

#include <QMainWindow>
#include <cstdint>
#include <initializer_list>
#include <vector>

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

    // Centres the window on the screen it is on.
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
    // A caption of the string table, by entry, and the control it goes to: a label, a
    // button, a frame, a menu or a menu entry; its tool tip when toolTip is set.
    struct Caption {
        QObject* control;
        int entry;
        bool toolTip = false;
    };
    void addCaptions(std::initializer_list<Caption> captions);

    // The Back button at its design size, with its picture and tool tip; runs btnBack_Click.
    QPushButton* makeBackButton();
    // File > Exit: Ctrl+Q, and Ctrl+X where the screen's Exit has it.
    QAction* makeExitEntry(QMenu* file, bool withCtrlX);
    // The Language and Help menus at the end of the menu bar, with their handlers.
    void makeLanguageAndHelpMenus();

    // The exit question of the main screens, after the save question of unsaved work on
    // any screen: Yes ends the program at once; Cancel or No returns false.
    static bool confirmExit();

    void closeEvent(QCloseEvent* event) override;
    // Notes which window the user works in; no handler runs.
    bool event(QEvent* event) override;

private:
    void switchLanguage(int16_t language);
    std::vector<Caption> captions_;
};
