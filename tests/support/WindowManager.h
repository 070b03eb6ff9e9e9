#pragma once
// A real window manager in the test's own X server, as on a user's desktop: started when
// the environment variable VENTROLUX_WINDOW_MANAGER names one ("openbox"), ready once it
// makes a new window the active one, and stopped when the helper goes. Should the test end abruptly, the X
// server that xvfb-run stops takes the window manager with it.

#include <QDeadlineTimer>
#include <QProcess>
#include <QString>
#include <QWidget>
#include <QtTest>

class WindowManager {
public:
    WindowManager() : name_(qEnvironmentVariable("VENTROLUX_WINDOW_MANAGER")) {
        if (name_.isEmpty()) return;
        process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process_.start(name_, {QStringLiteral("--sm-disable")});
        if (!process_.waitForStarted(10000)) {
            qWarning("the window manager %s did not start", qPrintable(name_));
            return;
        }
        // A window manager is at work once it makes a new window the active one. A window
        // shown before it took over the screen is not new to it: the probe is shown again.
        QWidget probe;
        probe.resize(120, 80);
        const QDeadlineTimer deadline(15000);
        while (!deadline.hasExpired()) {
            probe.show();
            QTest::qWait(300);
            if ((ready_ = activeIs(probe))) break;
            probe.hide();
            QTest::qWait(50);
        }
    }
    ~WindowManager() {
        if (process_.state() == QProcess::NotRunning) return;
        process_.terminate();
        if (!process_.waitForFinished(5000)) {
            process_.kill();
            process_.waitForFinished(5000);
        }
    }
    WindowManager(const WindowManager&) = delete;
    WindowManager& operator=(const WindowManager&) = delete;

    // True when no window manager was asked for, or when the one asked for is at work.
    bool asAsked() const { return name_.isEmpty() || ready_; }
    bool running() const { return ready_ && process_.state() == QProcess::Running; }
    QString name() const { return name_.isEmpty() ? QStringLiteral("none") : name_; }

private:
    static bool activeIs(const QWidget& w) {
        QProcess xdotool;
        xdotool.start(QStringLiteral("xdotool"), {QStringLiteral("getactivewindow")});
        if (!xdotool.waitForFinished(5000) || xdotool.exitCode() != 0) return false;
        return xdotool.readAllStandardOutput().trimmed().toULongLong() == w.winId();
    }

    QString name_;
    QProcess process_;
    bool ready_ = false;
};
