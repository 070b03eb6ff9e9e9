// The desktop program. It reads no command line and no environment variable of its own (the
// locale's only chooses the language of the line it prints where there is no display).

#include "app/Application.h"
#include "app/DesktopSession.h"
#include "app/QtPlatform.h"
#include "platform/DiagnosticsLog.h"
#include "platform/Platform.h"
#include "state/modMain.h"

int main(int argc, char** argv) {
    installDiagnosticsLog(); // Qt's own diagnostics only where VENTROLUX_DEBUG_LOG asks
    desktop::watchSessionStart("desktop.noSession.ventrolux");
    Application app(argc, argv);
    desktop::sessionStarted("ventrolux");
    const modMain::DatabasesScope databases; // closed before the application object goes
    QtPlatform platform;
    setPlatform(&platform);
    try {
        Main();
    } catch (const RecoverableFailure& e) {
        // Without its databases the program has no screen to go on with.
        ShowRecoverableFailure(e);
        EndProgram(1);
    } catch (const FatalError& e) {
        ReportFatalError(e);
    }
    return app.exec();
}
