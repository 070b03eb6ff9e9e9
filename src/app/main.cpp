// The desktop program. It reads no command line and no environment variable of its own.

#include "app/Application.h"
#include "app/QtPlatform.h"
#include "platform/Platform.h"
#include "state/modMain.h"

int main(int argc, char** argv) {
    Application app(argc, argv);
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
