// The desktop program. It reads no command line and no environment variable of its own (the
// locale's only chooses the language of the line it prints where there is no display).

#include "app/Application.h"
#include "app/DesktopSession.h"
#include "app/QtPlatform.h"
#include "platform/Platform.h"
#include "state/modMain.h"

int main(int argc, char** argv) {
    desktop::watchSessionStart("desktop.noSession.ventrolux");
    Application app(argc, argv);
    desktop::sessionStarted("ventrolux");
    const modMain::DatabasesScope databases; // closed before the application object goes
    QtPlatform platform;
    setPlatform(&platform);
    try {
        Main();
    } catch (const FatalError& e) {
        ReportFatalError(e);
    }
    return app.exec();
}
