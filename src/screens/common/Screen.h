#pragma once
// The base of every screen: the load, activate and close handlers that the screen
// registry calls. Activation is raised by the registry, never by window-system focus.

#include <QMainWindow>

class Screen : public QMainWindow {
    Q_OBJECT
public:
    explicit Screen(QWidget* parent = nullptr);

    // Runs once, when the registry creates the screen.
    virtual void Form_Load() {}
    // Runs every time the screen becomes the active one among the program's windows.
    virtual void Form_Activate() {}
    // Runs when the user closes the window; false keeps it open.
    virtual bool Form_QueryUnload() { return true; }
    // After an accepted close: true discards the instance, false only hides it.
    virtual bool discardOnClose() const { return true; }

    // Centres the window on the screen it is on.
    void centreOnScreen();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;
};

// The exit question of the main screens: Yes ends the program at once, No returns false.
bool askExitQuestion();
