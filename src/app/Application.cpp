#include "app/Application.h"

#include "data/ProgramFiles.h"
#include "platform/Platform.h"
#include "screens/common/ScreenRegistry.h"
#include "screens/start/frmStart.h"
#include "state/RecordsPlace.h"
#include "state/UserDatabaseLock.h"
#include "state/modMain.h"

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {
    // No display name: Qt would append it to every window title, and each screen's
    // title is exactly its own text.
    setApplicationName(QStringLiteral("ventrolux"));
}

bool Application::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const RecoverableFailure& e) {
        // Raised outside any screen handler's edge: told, and the program goes on.
        ShowRecoverableFailure(e);
        return false;
    } catch (const FatalError& e) {
        ReportFatalError(e);
    } catch (const std::exception& e) {
        ReportFatalError(FatalError(51, QString::fromLocal8Bit(e.what())));
    }
}

void Main() {
    modMain::subOpenDatabases(/*requireCurrentDatasets=*/true);
    // The firm records where the user last chose (File > Office database); the server is
    // reached when they are first used.
    modMain::subUseRecords(modMain::RecordsSetting());
    static UserDatabaseLock lock; // held for the whole run; the file goes when the process does
    modMain::subWarnOfOtherCopy(lock);
    modMain::gstrHelpExe = programfiles::helpViewerPath();
    ScreenRegistry::instance().show(ScreenRegistry::instance().get<frmStart>());
}
