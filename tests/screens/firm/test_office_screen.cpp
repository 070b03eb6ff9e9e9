// Office mode through the screens, offscreen with the scripted platform: File > Office
// database… tests and chooses a records server, the firm values screen then saves,
// opens and deletes firms on it (checked on the server itself), a server out of reach
// is told in the user's language without losing the firm on the screen, and the user
// goes back to the local file. The About screen and the titles say where the records are.

#include "FirmScreenFixture.h"

#include "data/RecordsetTableModel.h"
#include "firm/FirmRecords.h"
#include "screens/firm/frmOfficeDatabase.h"
#include "screens/firm/frmOpenExisting.h"
#include "screens/start/frmAbout.h"
#include "state/RecordsPlace.h"
#include "support/PostgresServer.h"
#include "userdb/RecordsDatabase.h"

#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QStandardPaths>
#include <QTableView>

class TestOfficeScreen : public QObject {
    Q_OBJECT

    PostgresServer server;
    int databases = 0;
    std::unique_ptr<FirmScreenFixture> f;

    frmMyValues& screen() { return f->screen(); }
    frmOfficeDatabase* officeDialog() { return f->registry.existing<frmOfficeDatabase>(); }

    QString freshUrl(QString* name = nullptr) {
        const QString db = QStringLiteral("screen%1").arg(++databases);
        if (!server.createDatabase(db)) qWarning("%s", qPrintable(server.error()));
        if (name) *name = db;
        return server.url(db);
    }
    QString unreachableUrl() {
        return server.url(QStringLiteral("nowhere"))
            .replace(QStringLiteral("port=%1").arg(server.port()),
                     QStringLiteral("port=%1").arg(server.port() + 1));
    }
    // The firms stored on the server, read on a connection of the test's own.
    QStringList onServer(const QString& url) {
        Connection cn;
        recordsdb::openServer(cn, *parseServerAddress(url).address);
        QStringList out;
        for (const firmrecords::StoredKey& k : firmrecords::list(cn))
            out << k.firmName + u' ' + k.year;
        DisconnectFromDB(cn);
        return out;
    }
    int localRows() {
        return GetRS(modMain::gcnMyData, QStringLiteral("select count(*) from MyValues"),
                     QStringLiteral("read"))
            ->field(0)
            .toInt();
    }
    QString lastMessage() {
        return f->platform.messages.isEmpty() ? QString() : f->platform.messages.last().text;
    }

    // File > Office database…, the address typed, and one of the dialog's buttons.
    void chooseInDialog(const QString& url, QPushButton* frmOfficeDatabase::*button) {
        screen().mnuOfficeDatabase->trigger();
        frmOfficeDatabase* d = officeDialog();
        QVERIFY(d && d->isVisible());
        d->txtRecordsUrl->setText(url);
        QTest::mouseClick(d->*button, Qt::LeftButton);
    }
    void nameAndCash(const QString& name, const QString& cash) {
        screen().txtFirmName->setText(name);
        f->enter("txtCash");
        f->typeKeys(cash);
        f->press(Qt::Key_Return);
    }

private slots:
    void initTestCase() {
        if (!PostgresServer::installed()) QSKIP(qPrintable(PostgresServer::skipReason()));
        QStandardPaths::setTestModeEnabled(true);
        QVERIFY2(server.start(), qPrintable(server.error()));
        server.keepSettingsHere();
        modMain::SaveRecordsSetting(QString());
        qputenv("PGPASSWORD", PostgresServer::kPassword);
        qputenv("PGPASSFILE", "/nonexistent/pgpass");
    }
    void cleanupTestCase() {
        modMain::SaveRecordsSetting(QString());
        server.stop();
    }
    void init() {
        f = std::make_unique<FirmScreenFixture>();
        f->open();
    }
    void cleanup() {
        f.reset();
        modMain::SaveRecordsSetting(QString());
        qputenv("PGPASSWORD", PostgresServer::kPassword);
    }

    void theMenuEntryInBothLanguages() {
        QCOMPARE(screen().mnuOfficeDatabase->text(), QString::fromUtf8("Office database\u2026"));
        screen().mnuFrench->trigger();
        QCOMPARE(screen().mnuOfficeDatabase->text(), QString::fromUtf8("Base de données du bureau\u2026"));
        screen().mnuOfficeDatabase->trigger();
        QCOMPARE(officeDialog()->windowTitle(), QString::fromUtf8("Base de données du bureau"));
        QCOMPARE(officeDialog()->cmdLocal->text(), QStringLiteral("Utiliser le fichier local"));
    }

    void testThenUseAServer() {
        QString db;
        const QString url = freshUrl(&db);
        // A wrong password: the test says so and nothing changes.
        qputenv("PGPASSWORD", "wrong");
        chooseInDialog(url, &frmOfficeDatabase::cmdTest);
        QVERIFY2(lastMessage().contains(QStringLiteral("refused the connection")) &&
                     lastMessage().contains(server.socketDir()),
                 qPrintable(lastMessage()));
        QTest::mouseClick(officeDialog()->cmdUse, Qt::LeftButton);
        QVERIFY(!modMain::IsOfficeMode());
        QVERIFY(officeDialog()->isVisible());
        qputenv("PGPASSWORD", PostgresServer::kPassword);

        QTest::mouseClick(officeDialog()->cmdTest, Qt::LeftButton);
        QCOMPARE(lastMessage(), QStringLiteral("The connection to the database %1 on the server %2:%3 works.")
                                    .arg(db, server.socketDir())
                                    .arg(server.port()));
        QTest::mouseClick(officeDialog()->cmdUse, Qt::LeftButton);
        QVERIFY(modMain::IsOfficeMode());
        QVERIFY(!officeDialog()->isVisible());
        QCOMPARE(modMain::RecordsSetting(), url);
        const QString where = QStringLiteral("Firm records: database %1 on the server %2:%3")
                                  .arg(db, server.socketDir())
                                  .arg(server.port());
        QVERIFY2(screen().windowTitle().endsWith(QString::fromUtf8(" \u2014 ") + where),
                 qPrintable(screen().windowTitle()));

        // The About screen names the place too.
        screen().mnuAbout->trigger();
        QCOMPARE(f->registry.existing<frmAbout>()->lblRecords->text(), where);
    }

    void saveOpenDeleteOnTheServer() {
        const QString url = freshUrl();
        chooseInDialog(url, &frmOfficeDatabase::cmdUse);
        QVERIFY(modMain::IsOfficeMode());

        nameAndCash(QStringLiteral("Office Firm Ltd."), QStringLiteral("4321"));
        f->platform.busyPointer.clear();
        screen().mnuSave->trigger();
        QCOMPARE(lastMessage(), QStringLiteral("Data has been saved."));
        // The busy pointer while the server answers, and not after.
        QVERIFY(!f->platform.busyPointer.isEmpty());
        QCOMPARE(f->platform.busyPointer.first(), true);
        QCOMPARE(f->platform.busyPointer.last(), false);
        QCOMPARE(onServer(url), QStringList{QStringLiteral("Office Firm Ltd. 2011")});
        QCOMPARE(localRows(), 0);

        // Open: the list is the server's, and the firm comes back with its values.
        screen().mnuNew->trigger();
        QCOMPARE(screen().valueBox(QStringLiteral("txtCash"))->text(), QStringLiteral("0"));
        screen().mnuOpen->trigger();
        frmOpenExisting* list = f->registry.existing<frmOpenExisting>();
        QVERIFY(list && list->isVisible());
        QVERIFY2(list->windowTitle().contains(QStringLiteral("on the server")),
                 qPrintable(list->windowTitle()));
        QCOMPARE(list->AdodcFirms->rowCount(), 1);
        QTest::mouseClick(list->cmdOpen, Qt::LeftButton);
        QCOMPARE(screen().txtFirmName->text(), QStringLiteral("Office Firm Ltd."));
        QCOMPARE(screen().valueBox(QStringLiteral("txtCash"))->text(), QStringLiteral("4321"));

        // Delete, answered Yes.
        f->platform.answers.enqueue(MsgResult::Yes);
        screen().subDelete_Firm_Record();
        QVERIFY(onServer(url).isEmpty());
    }

    // A server out of reach: the program's own words, naming it, the program goes on,
    // and the firm on the screen is still there to save once back on the local file.
    void serverOutOfReachThenBackToTheLocalFile() {
        modMain::subUseRecords(unreachableUrl());
        nameAndCash(QStringLiteral("Kept On Screen"), QStringLiteral("777"));
        screen().mnuSave->trigger();
        QCOMPARE(f->platform.endedWith, -1);
        QVERIFY2(lastMessage().contains(QStringLiteral("cannot be reached")) &&
                     lastMessage().contains(server.socketDir()) &&
                     lastMessage().contains(QStringLiteral("Nothing was written")),
                 qPrintable(lastMessage()));
        QCOMPARE(f->platform.messages.last().icon, MsgIcon::Exclamation);
        QCOMPARE(screen().txtFirmName->text(), QStringLiteral("Kept On Screen"));
        QCOMPARE(screen().valueBox(QStringLiteral("txtCash"))->text(), QStringLiteral("777"));
        QVERIFY(screen().blnDataChanged);

        // In French the same failure is told in French.
        screen().mnuFrench->trigger();
        screen().mnuSave->trigger();
        QVERIFY2(lastMessage().contains(QStringLiteral("injoignable")), qPrintable(lastMessage()));

        // Back to the local file: the save goes through there.
        chooseInDialog(QString(), &frmOfficeDatabase::cmdLocal);
        QVERIFY(!modMain::IsOfficeMode());
        QVERIFY2(lastMessage().contains(QStringLiteral("fichier local")), qPrintable(lastMessage()));
        QVERIFY(!screen().windowTitle().contains(QString::fromUtf8("\u2014")));
        screen().mnuSave->trigger();
        QCOMPARE(localRows(), 1);
    }

    // An address kept in the settings with a password (written there by hand, say): the
    // program neither uses it nor shows the password, in the title, the About screen or
    // the dialog, and a save says why in the desktop's words; nothing is written.
    void settingWithAPasswordIsNeitherUsedNorShown() {
        QString db;
        const QString url = freshUrl(&db);
        const QString withPassword = QString(url).replace(QStringLiteral("postgresql://adviser@"),
                                                          QStringLiteral("postgresql://adviser:S3cr%40t!@"));
        modMain::SaveRecordsSetting(withPassword);
        modMain::subUseRecords(modMain::RecordsSetting());
        screen().subLoadCaptions();
        nameAndCash(QStringLiteral("Not Saved Ltd."), QStringLiteral("5"));
        screen().mnuSave->trigger();
        QVERIFY2(lastMessage().contains(QStringLiteral("holds a password")) &&
                     lastMessage().contains(QStringLiteral("File > Office database")) &&
                     !lastMessage().contains(QStringLiteral("--records")),
                 qPrintable(lastMessage()));
        QCOMPARE(f->platform.endedWith, -1);
        QString shown = screen().windowTitle();
        screen().mnuAbout->trigger();
        shown += f->registry.existing<frmAbout>()->lblRecords->text();
        screen().mnuOfficeDatabase->trigger();
        shown += officeDialog()->txtRecordsUrl->text() + officeDialog()->lblCurrent->text();
        for (const ShownMessage& m : f->platform.messages)
            shown += m.text + m.title;
        QVERIFY2(!shown.contains(QStringLiteral("S3cr")), qPrintable(shown));
        QVERIFY(onServer(url).isEmpty());
        modMain::subUseRecords(QString());
    }

    void addressRefusedInTheDialog() {
        chooseInDialog(QStringLiteral("postgresql://ann:secret@db/clients"), &frmOfficeDatabase::cmdUse);
        QVERIFY2(lastMessage().contains(QStringLiteral("~/.pgpass")), qPrintable(lastMessage()));
        QVERIFY(!modMain::IsOfficeMode());
        QVERIFY(modMain::RecordsSetting().isEmpty());
    }
};

QTEST_MAIN(TestOfficeScreen)
#include "test_office_screen.moc"
