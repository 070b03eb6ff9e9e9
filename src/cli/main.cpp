#include "app/Platform.h"
#include "cli/CliCommands.h"

#include <QCoreApplication>
#include <QGuiApplication>

int main(int argc, char** argv) {
    // Rendering reports uses fonts, which want a GUI application; no window is ever shown.
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen") : qgetenv("QT_QPA_PLATFORM"));
    QGuiApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("ventrolux"));
    QTextStream out(stdout);
    QTextStream err(stderr);
    QStringList args = QCoreApplication::arguments();
    args.removeFirst();
    return cli::run(args, out, err);
}
