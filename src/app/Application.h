#pragma once
// The desktop application object: every event handler runs inside notify(), so an
// untrapped failure is caught here once, reported, and ends the program.

#include <QApplication>

class Application : public QApplication {
    Q_OBJECT
public:
    Application(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

// Start-up: opens the databases, records the help viewer and shows the start screen.
void Main();
