#include "cli/CliCommands.h"
#include "state/modMain.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <cstdio>

namespace {

QtMessageHandler gDefaultHandler = nullptr;

// Standard error carries the program's own messages; Qt's note that a desktop session
// variable is missing (usual under cron or ssh) is not one the user can act on.
void quietHandler(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type == QtWarningMsg && message.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR"))) return;
    if (gDefaultHandler)
        gDefaultHandler(type, context, message);
    else
        std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
}

} // namespace

int main(int argc, char** argv) {
    gDefaultHandler = qInstallMessageHandler(quietHandler);
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
