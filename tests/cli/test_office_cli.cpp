// ventrolux-cli in office mode: the firms commands on a records server named by
// --records (or by the settings), firms copy between the local file and the server,
// and what the tool says when the server cannot be used.

#include "cli/CliCommands.h"
#include "state/RecordsPlace.h"

#include "cli/CliSandbox.h"
#include "support/PostgresServer.h"

#include <QStandardPaths>
#include <QtTest>

class TestOfficeCli : public QObject {
    Q_OBJECT

    PostgresServer server;
    int databases = 0;

    QString freshUrl() {
        const QString name = QStringLiteral("office%1").arg(++databases);
        if (!server.createDatabase(name)) qWarning("%s", qPrintable(server.error()));
        return server.url(name);
    }
    static QString firmFile(const CliSandbox& s, const QString& name, const QString& cash) {
        return s.write(name + QStringLiteral(".csv"),
                       csvList({balancedFirm(
                           name, QStringLiteral("2011"), QStringLiteral("448140"),
                           {{QStringLiteral("Cash"), cash}, {QStringLiteral("CA"), QStringLiteral("0")}})}));
    }
    // The stored firms as the tool lists them.
    static QStringList listed(const CliSandbox& s, const QStringList& where) {
        const CliResult r = s.run(QStringList{QStringLiteral("firms"), QStringLiteral("list")} + where);
        if (r.status != 0) qWarning("%s", qPrintable(r.err));
        return r.out.split(u'\n', Qt::SkipEmptyParts);
    }

private slots:
    void initTestCase() {
        if (!PostgresServer::installed()) QSKIP(qPrintable(PostgresServer::skipReason()));
        QStandardPaths::setTestModeEnabled(true); // the settings of the tests, never the tester's own
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

    void firmsCommandsOnTheServer() {
        CliSandbox s;
        const QString url = freshUrl();
        const QString records = QStringLiteral("--records");
        const QString file = firmFile(s, QStringLiteral("Harbour Books"), QStringLiteral("50000"));
        CliResult r = s.run({QStringLiteral("firms"), QStringLiteral("save"), file, records, url});
        QVERIFY2(r.status == 0, qPrintable(r.err));
        // Refused a second time without --replace, as on the local file.
        r = s.run({records, url, QStringLiteral("firms"), QStringLiteral("save"), file});
        QCOMPARE(r.status, 1);
        QCOMPARE(listed(s, {records, url}), QStringList{QStringLiteral("Harbour Books\t2011\t448140")});
        // Nothing of it in the local file.
        QVERIFY(listed(s, {records, QStringLiteral("local")}).isEmpty());
        QCOMPARE(s.rows(QStringLiteral("select count(*) as n from MyValues"))
                     .first()
                     .value(QStringLiteral("n"))
                     .toInt(),
                 0);

        r = s.run({QStringLiteral("firms"), QStringLiteral("show"), QStringLiteral("Harbour Books"),
                   QStringLiteral("2011"), records, url});
        QVERIFY2(r.status == 0, qPrintable(r.err));
        QVERIFY(r.out.contains(QStringLiteral("\"Cash\": 50000")));
        r = s.run({QStringLiteral("firms"), QStringLiteral("delete"), QStringLiteral("Harbour Books"),
                   QStringLiteral("2011"), records, url});
        QVERIFY2(r.status == 0, qPrintable(r.err));
        QVERIFY(listed(s, {records, url}).isEmpty());
    }

    // Without --records the tool keeps the records where the settings say; "local"
    // overrides them.
    void theSettingsChooseTheServer() {
        CliSandbox s;
        const QString url = freshUrl();
        modMain::SaveRecordsSetting(url);
        CliResult r = s.run({QStringLiteral("firms"), QStringLiteral("save"),
                             firmFile(s, QStringLiteral("Settled Ltd."), QStringLiteral("1"))});
        modMain::SaveRecordsSetting(QString());
        QVERIFY2(r.status == 0, qPrintable(r.err));
        QCOMPARE(listed(s, {QStringLiteral("--records"), url}).size(), 1);
        QVERIFY(listed(s, {}).isEmpty());
    }

    void copyToTheServerAndBack() {
        CliSandbox s;
        const QString url = freshUrl();
        const QString clients = QStringLiteral(VENTROLUX_SOURCE_DIR "/examples/clients.csv");
        CliResult r = s.run({QStringLiteral("firms"), QStringLiteral("import"), clients});
        QVERIFY2(r.status == 0, qPrintable(r.err));
        const QStringList local = listed(s, {});
        QCOMPARE(local.size(), 20);

        const QStringList copy{QStringLiteral("firms"), QStringLiteral("copy"), QStringLiteral("--from"),
                               QStringLiteral("local"), QStringLiteral("--to"), url};
        r = s.run(copy);
        QVERIFY2(r.status == 0, qPrintable(r.err));
        QVERIFY(r.out.contains(QStringLiteral("20 firms copied")));
        QCOMPARE(listed(s, {QStringLiteral("--records"), url}), local);

        // Once more: every firm is there already, so nothing is written, and it says which.
        CliResult again = s.run(copy);
        QCOMPARE(again.status, 1);
        QVERIFY2(again.err.contains(QStringLiteral("is stored already")) &&
                     again.err.contains(server.socketDir()),
                 qPrintable(again.err));
        QVERIFY(s.run(copy + QStringList{QStringLiteral("--replace")}).status == 0);
        QCOMPARE(listed(s, {QStringLiteral("--records"), url}).size(), 20);

        // Back into another folder's local file: the same records, value for value.
        CliSandbox other;
        r = other.run({QStringLiteral("firms"), QStringLiteral("copy"), QStringLiteral("--from"), url,
                       QStringLiteral("--to"), QStringLiteral("local"), QStringLiteral("--lang"),
                       QStringLiteral("F")});
        QVERIFY2(r.status == 0, qPrintable(r.err));
        QVERIFY2(r.out.contains(QString::fromUtf8("20 entreprises copiées")), qPrintable(r.out));
        QVERIFY(s.run({QStringLiteral("firms"), QStringLiteral("export"), s.file(QStringLiteral("a.csv"))})
                    .status == 0);
        QVERIFY(
            other
                .run({QStringLiteral("firms"), QStringLiteral("export"), other.file(QStringLiteral("b.csv"))})
                .status == 0);
        QFile a(s.file(QStringLiteral("a.csv"))), b(other.file(QStringLiteral("b.csv")));
        QVERIFY(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly));
        const QByteArray exported = a.readAll();
        QVERIFY(exported.count('\n') == 21);
        QCOMPARE(b.readAll(), exported);
    }

    void copyRefusals_data() {
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::addColumn<QString>("words");
        QTest::newRow("the same place") << "local"
                                        << " local "
                                        << "name the same records";
        QTest::newRow("an address with a password") << "local"
                                                    << "postgresql://a:b@host/db"
                                                    << "password";
        QTest::newRow("not an address") << "elsewhere"
                                        << "local"
                                        << "postgresql://user@host:port/dbname";
    }
    void copyRefusals() {
        QFETCH(QString, from);
        QFETCH(QString, to);
        QFETCH(QString, words);
        CliSandbox s;
        const CliResult r = s.run({QStringLiteral("firms"), QStringLiteral("copy"), QStringLiteral("--from"),
                                   from, QStringLiteral("--to"), to});
        QCOMPARE(r.status, 1);
        QVERIFY2(r.err.contains(words), qPrintable(r.err));
    }

    // A server out of reach or a refused password: exit 1, the tool's own words in the
    // language asked for, naming the server; the local file is untouched.
    void serverThatCannotBeUsed_data() {
        QTest::addColumn<bool>("otherPort");
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("words");
        QTest::newRow("out of reach") << true << PostgresServer::kPassword << "E"
                                      << "cannot be reached";
        QTest::newRow("out of reach, French") << true << PostgresServer::kPassword << "F"
                                              << "est injoignable";
        QTest::newRow("wrong password") << false << "wrong"
                                        << "E"
                                        << "refused the connection";
        QTest::newRow("wrong password, French") << false << "wrong"
                                                << "F" << QString::fromUtf8("a refusé la connexion");
    }
    void serverThatCannotBeUsed() {
        QFETCH(bool, otherPort);
        QFETCH(QString, password);
        QFETCH(QString, language);
        QFETCH(QString, words);
        CliSandbox s;
        QString url = freshUrl();
        if (otherPort)
            url.replace(QStringLiteral("port=%1").arg(server.port()),
                        QStringLiteral("port=%1").arg(server.port() + 1));
        qputenv("PGPASSWORD", password.toUtf8());
        const CliResult r = s.run({QStringLiteral("--lang"), language, QStringLiteral("--records"), url,
                                   QStringLiteral("firms"), QStringLiteral("save"),
                                   firmFile(s, QStringLiteral("Kept Ltd."), QStringLiteral("1"))});
        qputenv("PGPASSWORD", PostgresServer::kPassword);
        QCOMPARE(r.status, 1);
        QVERIFY2(r.err.contains(words) && r.err.contains(server.socketDir()), qPrintable(r.err));
        QVERIFY2(!r.err.contains(QStringLiteral("Run-time error")), qPrintable(r.err));
        QCOMPARE(s.rows(QStringLiteral("select count(*) as n from MyValues"))
                     .first()
                     .value(QStringLiteral("n"))
                     .toInt(),
                 0);
    }
};

QTEST_MAIN(TestOfficeCli)
#include "test_office_cli.moc"
