#include "cli/CliCommands.h"
#include "platform/DiagnosticsLog.h"
#include "state/modMain.h"

#include <QCoreApplication>
#include <QGuiApplication>

int main(int argc, char** argv) {
    // Standard error carries the program's own messages alone: a successful command
    // leaves it empty, whatever Qt or the server's client library would say.
    installDiagnosticsLog();
    // Rendering reports uses fonts, which want a GUI application; no window is ever shown.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const modMain::DatabasesScope databases; // closed before the application object goes
    QCoreApplication::setApplicationName(QStringLiteral("ventrolux"));
    QTextStream out(stdout);
    QTextStream err(stderr);
    QStringList args = QCoreApplication::arguments();
    args.removeFirst();
    return cli::run(args, out, err);
}
