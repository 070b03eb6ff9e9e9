// Start-up and global state: the dataset mapping, the databases' opening and creation,
// the help launcher, and how the screens arrive as the user moves between them.

#include "data/DatasetOptions.h"
#include "data/ProgramFiles.h"
#include "state/Navigation.h"
#include "state/modMain.h"
#include "support/RecordingPlatform.h"
#include "support/TestDatabases.h"
#include "userdb/UserDatabase.h"

#include <QSqlDatabase>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// A program directory with a blank in its name, holding the four help pages.
QString helpFolder(const QTemporaryDir& root) {
    const QString folder = root.filePath(QStringLiteral("my programs"));
    QDir().mkpath(folder);
    for (const char* page : {"MOLV_ConceptsHelp_Eng.html", "MOLV_ConceptsHelp_Fre.html",
                             "MOLV_Tech_Help_Eng.html", "MOLV_Tech_Help_Fre.html"}) {
        QFile f(folder + u'/' + QLatin1String(page));
        if (f.open(QIODevice::WriteOnly)) f.write("<html></html>");
    }
    return folder;
}

} // namespace

using namespace modMain;

class TestStartup : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { resetState(); }

    void datasetMapping_data() {
        QTest::addColumn<QString>("option");
        QTest::addColumn<QString>("table");
        QTest::addColumn<int>("volume");
        QTest::addColumn<QString>("region");
        QTest::addColumn<QString>("naicsTable");
        const QString raw = QStringLiteral("ZEBRO_NAICS_Description_Ind_Raw");
        QTest::newRow("optVol1") << "optVol1"
                                 << "ZEBRO_Vol1_ALL_2011_Final_Ratios" << 1 << "ALL"
                                 << "ZEBRO_NAICS_Description_Ind_Detailed";
        const char* rows[][4] = {
            {"optVol2", "ZEBRO_Vol2_ALL_2011_Final_Ratios", "2", "ALL"},
            {"optVol3", "ZEBRO_Vol3_ALL_2011_Final_Ratios", "3", "ALL"},
            {"optAtlantic", "ZEBRO_Vol3_ATLANTIC_2011_Final_Ratios", "3", "ATLANTIC"},
            {"optNovaScotia", "ZEBRO_Vol3_NS_2011_Final_Ratios", "3", "NS"},
            {"optNewBrunswick", "ZEBRO_Vol3_NB_2011_Final_Ratios", "3", "NB"},
            {"optNewfoundland", "ZEBRO_Vol3_NL_2011_Final_Ratios", "3", "NL"},
            {"optPEI", "ZEBRO_Vol3_PE_2011_Final_Ratios", "3", "PE"},
            {"optQuebec", "ZEBRO_Vol3_QC_2011_Final_Ratios", "3", "QC"},
            {"optOntario", "ZEBRO_Vol3_ON_2011_Final_Ratios", "3", "ON"},
            {"optPrairies", "ZEBRO_Vol3_PRAIRIES_2011_Final_Ratios", "3", "PRAIRIES"},
            {"optManitoba", "ZEBRO_Vol3_MB_2011_Final_Ratios", "3", "MB"},
            {"optSaskatchewan", "ZEBRO_Vol3_SK_2011_Final_Ratios", "3", "SK"},
            {"optAlberta", "ZEBRO_Vol3_AB_2011_Final_Ratios", "3", "AB"},
            {"optBritishColumbia", "ZEBRO_Vol3_BC_2011_Final_Ratios", "3", "BC"},
            {"optTerritories", "ZEBRO_Vol3_TERRITORIES_2011_Final_Ratios", "3", "TERRITORIES"},
            {"optNWT", "ZEBRO_Vol3_NT_2011_Final_Ratios", "3", "NT"},
            {"optNunavut", "ZEBRO_Vol3_NU_2011_Final_Ratios", "3", "NU"},
            {"optYukon", "ZEBRO_Vol3_YT_2011_Final_Ratios", "3", "YT"},
        };
        for (const auto& r : rows)
            QTest::newRow(r[0]) << r[0] << r[1] << QByteArray(r[2]).toInt() << r[3] << raw;
    }
    void datasetMapping() {
        QFETCH(QString, option);
        QFETCH(QString, table);
        QFETCH(int, volume);
        QFETCH(QString, region);
        QFETCH(QString, naicsTable);
        subSetDataTable(option);
        QCOMPARE(gstrDataTable, table);
        QCOMPARE(int(gintVolume), volume);
        QCOMPARE(gstrRegion, region);
        QCOMPARE(gstrNAICSTable, naicsTable);
    }

    void unknownOptionKeepsVolumeAndRegion() {
        subSetDataTable(QStringLiteral("optPrairies"));
        subSetDataTable(QStringLiteral("optprairies")); // the names compare with case
        QCOMPARE(gstrDataTable, QStringLiteral("KLV_Other"));
        QCOMPARE(int(gintVolume), 3);
        QCOMPARE(gstrRegion, QStringLiteral("PRAIRIES"));
        QCOMPARE(gstrNAICSTable, QStringLiteral("ZEBRO_NAICS_Description_Ind_Raw"));
    }

    // Each of the nineteen options chooses its own table of the current year, and that
    // table is one the reference database holds.
    void everyOptionChoosesAnExistingTableOfItsOwn() {
        TestDatabases dbs;
        dbs.open();
        QSet<QString> chosen;
        for (const DatasetOption& o : datasets::options()) {
            subSetDataTable(QLatin1String(o.controlName));
            QVERIFY2(!chosen.contains(gstrDataTable), qPrintable(gstrDataTable));
            chosen.insert(gstrDataTable);
            RecordsetPtr rs =
                GetRS(gcnData, QStringLiteral("select count(*) from sqlite_master where name = ?"),
                      QStringLiteral("read"), {gstrDataTable});
            QVERIFY2(rs->field(0).toInt() == 1, qPrintable(gstrDataTable));
        }
        QCOMPARE(chosen.size(), 19);
    }

    void missingUserDatabaseIsCreated() {
        TestDatabases dbs;
        QVERIFY(!QFile::exists(dbs.userPath()));
        dbs.open();
        QVERIFY(gcnData && gcnData->isReadOnly());
        QVERIFY(gcnMyData && !gcnMyData->isReadOnly());
        QCOMPARE(
            GetRS(gcnMyData, QStringLiteral("PRAGMA user_version"), QStringLiteral("read"))->field(0).toInt(),
            userdb::kSchemaVersion);
        QCOMPARE(
            GetRS(gcnMyData, QStringLiteral("select count(*) from ProvinceCodes"), QStringLiteral("read"))
                ->field(0)
                .toInt(),
            17);
        QCOMPARE(GetRS(gcnMyData, QStringLiteral("select French from ProvinceCodes where Code = ?"),
                       QStringLiteral("read"), {QStringLiteral("PE")})
                     ->field(0)
                     .toString(),
                 QStringLiteral("Île-du-Prince-Édouard"));
        QCOMPARE(GetRS(gcnMyData, QStringLiteral("select count(*) from Volume_Descriptions"),
                       QStringLiteral("read"))
                     ->field(0)
                     .toInt(),
                 6);
        for (const char* source :
             {"Rpt_Comparison_Titles_Source", "Rpt_Ratios_Titles_Source", "Rpt_BalanceSheet_Titles_Source"}) {
            RecordsetPtr rs =
                GetRS(gcnMyData,
                      QStringLiteral("select Language from %1 order by Language").arg(QLatin1String(source)),
                      QStringLiteral("read"));
            QCOMPARE(rs->recordCount(), 2);
            QCOMPARE(rs->field(0).toString(), QStringLiteral("E"));
        }
        // MyValues: 35 columns and one row per firm and year.
        RecordsetPtr cols =
            GetRS(gcnMyData, QStringLiteral("select * from MyValues"), QStringLiteral("read"));
        QCOMPARE(cols->fieldCount(), 35);
        QCOMPARE(cols->fieldName(1), QStringLiteral("Year"));
        QCOMPARE(cols->fieldName(34), QStringLiteral("CurrentLiabilities"));
        ExecCmdInDB(gcnMyData, QStringLiteral("insert into MyValues (FirmName, Year, Cash) values (?, ?, ?)"),
                    {QStringLiteral("A"), 2011, 1});
        QVERIFY_THROWS_EXCEPTION(
            FatalError,
            ExecCmdInDB(gcnMyData, QStringLiteral("insert into MyValues (FirmName, Year) values (?, ?)"),
                        {QStringLiteral("A"), 2011}));
        // A number written with an exponent is accepted.
        ExecCmdInDB(gcnMyData, QStringLiteral("update MyValues set Toa = 1.677722E+07"));
        QCOMPARE(GetRS(gcnMyData, QStringLiteral("select Toa from MyValues"), QStringLiteral("read"))
                     ->field(0)
                     .toDouble(),
                 16777220.0);
    }

    void olderUserDatabaseIsUpgradedKeepingFirms() {
        TestDatabases dbs;
        dbs.open();
        ExecCmdInDB(gcnMyData, QStringLiteral("insert into MyValues (FirmName, Year, Cash) values (?, ?, ?)"),
                    {QStringLiteral("Kept Ltd."), 2010, 5});
        ExecCmdInDB(gcnMyData, QStringLiteral("drop table ProvinceCodes"));
        ExecCmdInDB(gcnMyData, QStringLiteral("PRAGMA user_version = 0"));
        userdb::upgrade(gcnMyData);
        QCOMPARE(
            GetRS(gcnMyData, QStringLiteral("select count(*) from ProvinceCodes"), QStringLiteral("read"))
                ->field(0)
                .toInt(),
            17);
        QCOMPARE(GetRS(gcnMyData, QStringLiteral("select FirmName from MyValues"), QStringLiteral("read"))
                     ->field(0)
                     .toString(),
                 QStringLiteral("Kept Ltd."));
    }

    void newerUserDatabaseIsRefused() {
        TestDatabases dbs;
        dbs.open();
        ExecCmdInDB(gcnMyData, QStringLiteral("PRAGMA user_version = 99"));
        QVERIFY_THROWS_EXCEPTION(FatalError, userdb::upgrade(gcnMyData));
    }

    void missingOrUnreadableReferenceDatabaseEndsTheProgram_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("reason");
        QTest::newRow("missing") << QByteArray() << "does not exist";
        QTest::newRow("not a database")
            << QByteArray("this is not a database file, just some text padding it out.....")
            << "not a database";
    }
    void missingOrUnreadableReferenceDatabaseEndsTheProgram() {
        QFETCH(QByteArray, content);
        QFETCH(QString, reason);
        TestDatabases dbs;
        QFile::remove(dbs.referencePath());
        if (!content.isEmpty()) {
            QFile f(dbs.referencePath());
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(content.repeated(100));
        }
        RecordingPlatform platform;
        bool ended = false;
        try {
            dbs.open();
        } catch (const ProgramEnded& e) {
            ended = true;
            QCOMPARE(e.exitCode, 1);
        }
        QVERIFY(ended);
        QVERIFY(platform.lastMessage().contains(dbs.referencePath()));
        QVERIFY(platform.lastMessage().contains(QStringLiteral("make-sample-data")));
        QVERIFY2(platform.lastMessage().contains(reason), qPrintable(platform.lastMessage()));
        // The user database is opened after the reference one: nothing was created.
        QVERIFY(!QFile::exists(dbs.userPath()));
    }

    // A file that opens as a database but lacks what the program reads (an empty file,
    // a file without a table of the current year or without the industry tree) is
    // refused at start-up, naming the file and the missing tables.
    void referenceDatabaseWithoutItsTablesEndsTheProgram_data() {
        QTest::addColumn<QString>("damage");
        QTest::addColumn<QString>("named");
        QTest::newRow("empty file") << "empty"
                                    << "tblTreeview";
        QTest::newRow("truncated file") << "truncated"
                                        << "bytes are missing";
        QTest::newRow("no 2011 table of Alberta") << "drop table ZEBRO_Vol3_AB_2011_Final_Ratios"
                                                  << "ZEBRO_Vol3_AB_2011_Final_Ratios";
        QTest::newRow("no industry tree") << "drop table tblTreeview"
                                          << "tblTreeview";
        QTest::newRow("no dataset descriptions") << "drop table datadescription"
                                                 << "datadescription";
    }
    void referenceDatabaseWithoutItsTablesEndsTheProgram() {
        QFETCH(QString, damage);
        QFETCH(QString, named);
        TestDatabases dbs;
        if (damage == QLatin1String("empty")) {
            QFile f(dbs.referencePath());
            QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        } else if (damage == QLatin1String("truncated")) {
            QFile f(dbs.referencePath());
            QVERIFY(f.resize(f.size() / 2));
        } else {
            dbs.editReference(damage);
        }
        RecordingPlatform platform;
        int exitCode = -1;
        try {
            modMain::subOpenDatabases(/*requireCurrentDatasets=*/true);
        } catch (const ProgramEnded& e) {
            exitCode = e.exitCode;
        }
        QCOMPARE(exitCode, 1);
        QVERIFY2(platform.lastMessage().contains(dbs.referencePath()), qPrintable(platform.lastMessage()));
        QVERIFY2(platform.lastMessage().contains(named), qPrintable(platform.lastMessage()));
        QVERIFY(platform.lastMessage().contains(QStringLiteral("make-sample-data")));
        QVERIFY(!QFile::exists(dbs.userPath()));
    }

    // The command-line tool opens a database whose dataset table is missing (it refuses
    // only that dataset); the shared tables are still required.
    void withoutCurrentDatasetsOnlySharedTablesAreRequired() {
        TestDatabases dbs;
        dbs.editReference(QStringLiteral("drop table ZEBRO_Vol3_AB_2011_Final_Ratios"));
        RecordingPlatform platform;
        modMain::subOpenDatabases(/*requireCurrentDatasets=*/false);
        QVERIFY(gcnData && gcnData->isOpen());
        QVERIFY(platform.messages.isEmpty());
    }

    // The connections are closed by their scope, before the application object and
    // Qt's database drivers are gone.
    void databasesScopeClosesBothConnections() {
        TestDatabases dbs;
        {
            const modMain::DatabasesScope scope;
            dbs.open();
            QVERIFY(gcnData && gcnData->isOpen());
            QVERIFY(gcnMyData && gcnMyData->isOpen());
            QCOMPARE(QSqlDatabase::connectionNames().size(), 2);
        }
        QVERIFY(!gcnData || !gcnData->isOpen());
        QVERIFY(!gcnMyData || !gcnMyData->isOpen());
        QVERIFY(QSqlDatabase::connectionNames().isEmpty());
    }

    void helpLauncherArguments_data() {
        QTest::addColumn<QString>("type");
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("file");
        QTest::newRow("Contents English") << "Contents" << 0 << "MOLV_ConceptsHelp_Eng.html";
        QTest::newRow("Contents French") << "Contents" << 1 << "MOLV_ConceptsHelp_Fre.html";
        QTest::newRow("Tech English") << "Tech" << 0 << "MOLV_Tech_Help_Eng.html";
        QTest::newRow("Tech French") << "Tech" << 1 << "MOLV_Tech_Help_Fre.html";
        QTest::newRow("other type") << "contents" << 0 << "";
    }
    void helpLauncherArguments() {
        QFETCH(QString, type);
        QFETCH(int, language);
        QFETCH(QString, file);
        RecordingPlatform platform;
        QTemporaryDir root;
        const QString folder = helpFolder(root);
        programfiles::setResourceDirectory(folder);
        gstrHelpExe = folder + QStringLiteral("/ventrolux-help");
        gintLanguage = static_cast<int16_t>(language);
        subLaunchHelpFile(type);
        programfiles::setResourceDirectory(QString());
        QCOMPARE(platform.processes.size(), 1);
        QCOMPARE(platform.processes[0].program, gstrHelpExe);
        // The file is one argument, blanks in the path and all.
        const QStringList expected = file.isEmpty() ? QStringList() : QStringList{folder + u'/' + file};
        QCOMPARE(platform.processes[0].arguments, expected);
        QVERIFY(platform.messages.isEmpty());
    }

    void helpTopicArguments() {
        RecordingPlatform platform;
        QTemporaryDir root;
        const QString folder = helpFolder(root);
        programfiles::setResourceDirectory(folder);
        gstrHelpExe = folder + QStringLiteral("/ventrolux-help");
        GetHelpTopic(QStringLiteral("MOLV_ConceptsHelp_Fre.html"), 9999);
        programfiles::setResourceDirectory(QString());
        QCOMPARE(platform.processes.size(), 1);
        QCOMPARE(
            platform.processes[0].arguments,
            (QStringList{folder + QStringLiteral("/MOLV_ConceptsHelp_Fre.html"), QStringLiteral("9999")}));
    }

    // A help file that is not there is named, in the user's language, with what to do;
    // no viewer is started on nothing, and the program goes on.
    void missingHelpFileIsNamed_data() {
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("what");
        QTest::newRow("English") << 0 << "MOLV_Tech_Help_Eng.html"
                                 << "Reinstall Ventrolux";
        QTest::newRow("French") << 1 << "MOLV_Tech_Help_Fre.html"
                                << QString::fromUtf8("Réinstallez Ventrolux");
    }
    void missingHelpFileIsNamed() {
        QFETCH(int, language);
        QFETCH(QString, file);
        QFETCH(QString, what);
        RecordingPlatform platform;
        QTemporaryDir root;
        const QString folder = helpFolder(root);
        QVERIFY(QFile::remove(folder + u'/' + file));
        programfiles::setResourceDirectory(folder);
        gstrHelpExe = folder + QStringLiteral("/ventrolux-help");
        gintLanguage = static_cast<int16_t>(language);
        subLaunchHelpFile(QStringLiteral("Tech"));
        GetHelpTopic(file, 12);
        programfiles::setResourceDirectory(QString());
        QVERIFY(platform.processes.isEmpty());
        QCOMPARE(platform.messages.size(), 2);
        for (const ShownMessage& m : platform.messages) {
            QVERIFY2(m.text.contains(folder + u'/' + file) && m.text.contains(what), qPrintable(m.text));
            QCOMPARE(m.icon, MsgIcon::Exclamation);
        }
        QCOMPARE(platform.endedWith, -1);
    }

    void fatalErrorReportEndsWithExitCodeOne() {
        RecordingPlatform platform;
        int exitCode = -1;
        try {
            ReportFatalError(FatalError(3021, QStringLiteral("No current record.")));
        } catch (const ProgramEnded& e) {
            exitCode = e.exitCode;
        }
        QCOMPARE(exitCode, 1);
        QCOMPARE(platform.lastMessage(), QStringLiteral("Run-time error 3021: No current record."));
        QCOMPARE(platform.messages.last().title, QStringLiteral("Ventrolux"));
        QCOMPARE(platform.messages.last().icon, MsgIcon::Critical);
    }

    void missingHelpViewerShowsAMessageAndGoesOn_data() {
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("folder");
        // The French text names the viewer and its folder as the help pages do, with the
        // no-break space French puts before a colon.
        QTest::newRow("English") << 0 << QStringLiteral("The help viewer could not be started:\n")
                                 << QStringLiteral("in the program directory.");
        QTest::newRow("French") << 1 << QStringLiteral("Le visualiseur d'aide n'a pas pu être lancé\u00a0:\n")
                                << QStringLiteral("dans le dossier du programme.");
    }
    void missingHelpViewerShowsAMessageAndGoesOn() {
        QFETCH(int, language);
        QFETCH(QString, start);
        QFETCH(QString, folder);
        RecordingPlatform platform;
        platform.startSucceeds = false;
        QTemporaryDir root;
        programfiles::setResourceDirectory(helpFolder(root));
        gstrHelpExe = QStringLiteral("/nowhere/ventrolux-help");
        gintLanguage = static_cast<int16_t>(language);
        subLaunchHelpFile(QStringLiteral("Tech")); // returns: the program goes on
        programfiles::setResourceDirectory(QString());
        QCOMPARE(platform.messages.size(), 1);
        QVERIFY(platform.lastMessage().startsWith(start));
        QVERIFY(platform.lastMessage().contains(gstrHelpExe));
        QVERIFY(platform.lastMessage().endsWith(folder));
    }

    // How a screen arrives, after the user's moves. A step is "screen move dataset" (the
    // screen arrives by the move, the dataset being chosen), "leave screen move" (the user
    // leaves it by the move) or "forget screen" (its window was discarded).
    void arrivalAfterMoves_data() {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<bool>("fresh");
        const QStringList toFirm{"search Forward NS", "leave search EnterNewData", "firm EnterNewData NS"};
        QTest::newRow("the first Search starts the industry selection afresh")
            << QStringList{"search Forward NS"} << true;
        QTest::newRow("back from the firm screen, the industry selection keeps its selection")
            << toFirm +
                   QStringList{"leave firm ReturnToIndustrySelection", "search ReturnToIndustrySelection NS"}
            << false;
        QTest::newRow("the firm screen left for the main menu, Search of the same dataset keeps")
            << toFirm +
                   QStringList{"leave firm ReturnToMainMenu", "menu ReturnToMainMenu NS", "search Forward NS"}
            << false;
        QTest::newRow("Search of another dataset starts the industry selection afresh")
            << toFirm +
                   QStringList{"leave firm ReturnToMainMenu", "menu ReturnToMainMenu NS", "search Forward ON"}
            << true;
        QTest::newRow("the industry selection left for the main menu starts afresh on the next Search")
            << QStringList{"search Forward NS", "leave search ReturnToMainMenu", "menu ReturnToMainMenu NS",
                           "search Forward NS"}
            << true;
        QTest::newRow("Enter new data starts the firm screen afresh, even after a firm was opened")
            << toFirm + QStringList{"firm StoredFirmOpened NS", "leave firm ReturnToIndustrySelection",
                                    "search ReturnToIndustrySelection NS", "leave search EnterNewData",
                                    "firm EnterNewData NS"}
            << true;
        QTest::newRow("a stored firm opened over the firm screen keeps the screen, to be filled")
            << toFirm + QStringList{"list CoverOpened NS", "firm StoredFirmOpened NS"} << false;
        QTest::newRow("a firm opened from the industry selection on a firm screen left for the main menu")
            << toFirm +
                   QStringList{"leave firm ReturnToMainMenu", "search Forward NS", "firm StoredFirmOpened NS"}
            << true;
        QTest::newRow("the report, About or the definition closed over a screen keeps it")
            << toFirm + QStringList{"report CoverOpened NS", "firm CoverClosed NS", "about CoverOpened NS",
                                    "firm CoverClosed NS"}
            << false;
        QTest::newRow("a window over a screen is new each time it is opened")
            << QStringList{"about CoverOpened NS", "about CoverClosed NS", "about CoverOpened NS"} << true;
        QTest::newRow("a discarded window is new again")
            << QStringList{"search Forward NS", "forget search", "search ReturnToIndustrySelection NS"}
            << true;
    }
    void arrivalAfterMoves() {
        QFETCH(QStringList, steps);
        QFETCH(bool, fresh);
        const QMap<QString, navigation::Move> moves{
            {"Forward", navigation::Move::Forward},
            {"EnterNewData", navigation::Move::EnterNewData},
            {"StoredFirmOpened", navigation::Move::StoredFirmOpened},
            {"ReturnToMainMenu", navigation::Move::ReturnToMainMenu},
            {"ReturnToIndustrySelection", navigation::Move::ReturnToIndustrySelection},
            {"CoverOpened", navigation::Move::CoverOpened},
            {"CoverClosed", navigation::Move::CoverClosed},
        };
        navigation::Record record;
        navigation::Arrival last = navigation::Arrival::Keep;
        for (const QString& step : steps) {
            const QStringList w = step.split(u' ');
            if (w[0] == QLatin1String("leave"))
                record.leave(w[1], moves.value(w[2]));
            else if (w[0] == QLatin1String("forget"))
                record.forget(w[1]);
            else
                last = record.arrive(w[0], moves.value(w[1]), w[2]);
        }
        QCOMPARE(last == navigation::Arrival::Fresh, fresh);
    }
};

QTEST_GUILESS_MAIN(TestStartup)
#include "test_startup.moc"
