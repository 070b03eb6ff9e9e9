#include "state/modMain.h"

#include "data/Catalogue.h"
#include "data/DatasetOptions.h"
#include "data/ProgramFiles.h"
#include "platform/Platform.h"
#include "state/Navigation.h"
#include "state/RecordsPlace.h"
#include "text/StringTable.h"

#include <QDir>
#include <QFileInfo>

namespace modMain {

Language language() {
    return language::fromFlag(gintLanguage);
}

QString Txt(int entry) {
    return strings::text(entry, language());
}

QString Txt(std::string_view key) {
    return strings::text(key, language());
}

bool IsFrench() {
    return language() == Language::F;
}

void subSetDataTable(const QString& strOptionName) {
    if (const DatasetOption* option = datasets::findByControlName(strOptionName)) {
        gstrDataTable = catalogue::datasetTableName(option->volume, QLatin1String(option->region),
                                                    datasets::kCurrentYear);
        gintVolume = static_cast<int16_t>(option->volume);
        gstrRegion = QLatin1String(option->region);
    } else {
        gstrDataTable = QStringLiteral("KLV_Other");
    }
    gstrNAICSTable = strOptionName == QLatin1String("optVol1") ? QLatin1String(catalogue::NaicsDetailed)
                                                               : QLatin1String(catalogue::NaicsRaw);
}

void subCaptionChosenDataset() {
    for (const DatasetOption& o : datasets::options())
        if (catalogue::datasetTableName(o.volume, QLatin1String(o.region), datasets::kCurrentYear) ==
            gstrDataTable)
            gstrDatasetCaption = datasets::caption(o, language());
}

namespace {

// The viewer gets the help file as one argument, so a program directory with blanks works.
void startHelpViewer(const QStringList& arguments) {
    // A help file that is not there is named before the viewer would open on nothing.
    if (!arguments.isEmpty() && !QFileInfo::exists(arguments.first())) {
        const QString missing = Txt("help.file.missing");
        MsgBox(missing.arg(QDir::toNativeSeparators(arguments.first())), MsgButtons::OK,
               MsgIcon::Exclamation);
        return;
    }
    if (platform().startDetached(gstrHelpExe, arguments)) return;
    // A missing viewer only costs the user the help, not the program and its unsaved data.
    const QString message = Txt("help.viewer.notStarted");
    MsgBox(message.arg(gstrHelpExe), MsgButtons::OK, MsgIcon::Exclamation);
}

} // namespace

void subLaunchHelpFile(const QString& strHelpType) {
    QString fileName;
    if (strHelpType == QLatin1String("Contents"))
        fileName = IsFrench() ? QStringLiteral("MOLV_ConceptsHelp_Fre.html")
                              : QStringLiteral("MOLV_ConceptsHelp_Eng.html");
    else if (strHelpType == QLatin1String("Tech"))
        fileName = IsFrench() ? QStringLiteral("MOLV_Tech_Help_Fre.html")
                              : QStringLiteral("MOLV_Tech_Help_Eng.html");

    QStringList arguments;
    if (!fileName.isEmpty()) arguments << programfiles::resourceDirectory() + u'/' + fileName;
    startHelpViewer(arguments);
}

void GetHelpTopic(const QString& helpFile, int helpTopic) {
    startHelpViewer({programfiles::resourceDirectory() + u'/' + helpFile, QString::number(helpTopic)});
}

void resetState() {
    gintLanguage = 0;
    DisconnectFromDB(gcnData);
    DisconnectFromDB(gcnMyData);
    DisconnectFromDB(gcnRecords);
    gstrRecordsUrl.clear();
    gstrDataTable.clear();
    gintVolume = 0;
    gstrRegion.clear();
    gstrNAICSTable.clear();
    gstrDatasetCaption.clear();
    navigation::record().clear();
    gstrHelpExe.clear();
}

} // namespace modMain

#include "data/ReferenceCheck.h"
#include "userdb/OpenMarker.h"
#include "userdb/UserDatabaseFile.h"

#include <utility>

namespace modMain {

namespace {

[[noreturn]] void endForReferenceDatabase(const QString& path, const QString& reason) {
    MsgBox(QStringLiteral("The reference database cannot be opened:\n%1\n\n%2\n\n"
                          "Build the sample reference database with 'make' in the source folder "
                          "(or run: make-sample-data \"%1\"), then start the program again.")
               .arg(path, reason),
           MsgButtons::OK, MsgIcon::Critical);
    EndProgram(1);
}

} // namespace

namespace {

// The user database whose open marker this run left, to be removed at a clean end.
QString& openMarked() {
    static QString path;
    return path;
}

} // namespace

bool subOpenDatabases(bool requireCurrentDatasets, bool checkWhole) {
    // The data layer's failures come in the language of the moment they happen.
    setMessageLanguage(language);
    const QString reference = programfiles::referenceDatabasePath();
    if (!QFileInfo(reference).isFile())
        endForReferenceDatabase(reference, QStringLiteral("The file does not exist."));
    if (const qint64 shortBy = referencecheck::missingBytes(reference))
        endForReferenceDatabase(reference,
                                QStringLiteral("The file is incomplete: %1 bytes are missing at its end "
                                               "(it was cut off while it was copied or written).")
                                    .arg(shortBy));
    QStringList missing;
    try {
        ConnectToFile(gcnData, reference, QStringLiteral("unknown"), ReadOnly);
        // An empty or foreign file opens as a database too; what it lacks is known only from its tables.
        missing =
            referencecheck::missingTables(gcnData, referencecheck::requiredTables(requireCurrentDatasets));
    } catch (const FatalError& e) {
        DisconnectFromDB(gcnData);
        endForReferenceDatabase(reference, e.description());
    } catch (const RecoverableFailure& e) {
        DisconnectFromDB(gcnData); // another program holds it locked
        endForReferenceDatabase(reference, e.description());
    }
    if (!missing.isEmpty()) {
        DisconnectFromDB(gcnData);
        endForReferenceDatabase(reference,
                                QStringLiteral("The file does not hold the tables the program needs: %1.")
                                    .arg(missing.join(QStringLiteral(", "))));
    }

    const QString user = programfiles::userDatabasePath();
    userdb::OpenResult opened;
    try {
        opened = userdb::openUserDatabase(gcnMyData, user, QDateTime::currentDateTime(),
                                          userdb::startCheck(user, checkWhole));
        userdb::markOpen(user);
        openMarked() = user;
    } catch (const userdb::UnusableUserDatabase& problem) {
        DisconnectFromDB(gcnMyData);
        MsgBox(problem.message, MsgButtons::OK, MsgIcon::Critical);
        EndProgram(1);
    }
    // Told before a language is chosen at the desktop's start: in both.
    if (!opened.damagedKeptAs.isEmpty())
        MsgBox(userdb::damagedNotice(opened, user, Language::E) + QStringLiteral("\n\n") +
                   userdb::damagedNotice(opened, user, Language::F),
               MsgButtons::OK, MsgIcon::Exclamation);
    return opened.damagedKeptAs.isEmpty();
}

} // namespace modMain

namespace modMain {

void subCloseDatabases() {
    DisconnectFromDB(gcnData);
    DisconnectFromDB(gcnMyData);
    DisconnectFromDB(gcnRecords);
    if (!openMarked().isEmpty()) userdb::markClosed(std::exchange(openMarked(), QString()));
}

DatabasesScope::~DatabasesScope() {
    subCloseDatabases();
}

} // namespace modMain
