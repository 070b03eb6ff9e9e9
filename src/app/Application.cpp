#include "app/Application.h"

#include "platform/Platform.h"
#include "data/ProgramFiles.h"
#include "screens/common/ScreenRegistry.h"
#include "state/modMain.h"
#include "screens/start/frmStart.h"

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName(QStringLiteral("ventrolux"));
    setApplicationDisplayName(applicationTitle());
}

bool Application::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const FatalError& e) {
        ReportFatalError(e);
    } catch (const std::exception& e) {
        ReportFatalError(FatalError(51, QString::fromLocal8Bit(e.what())));
    }
}

void Main() {
    modMain::subOpenDatabases();
    modMain::gblnKeepFirmValues = false;
    modMain::gstrHelpExe = programfiles::helpViewerPath();
    ScreenRegistry::instance().show(ScreenRegistry::instance().get<frmStart>());
}
