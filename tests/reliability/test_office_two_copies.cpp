// Two advisers at work on one records server at the same moment, each with a folder
// (and a local user database) of their own: each saves and deletes their own firms and
// saves a firm both share, over and over. No command fails (a save that meets the
// other's save of the same firm runs again), no record is lost, and the shared firm is
// one row holding one adviser's whole version.
//
// The run lasts VENTROLUX_OFFICE_SECONDS (a few seconds in the test suite, 20 under
// `make stress`).

#include "data/DBTools.h"
#include "firm/FirmRecords.h"
#include "support/PostgresServer.h"
#include "support/TwoCopiesWorkload.h"
#include "userdb/RecordsDatabase.h"
#include "userdb/UserDatabase.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace twocopies;

class TestOfficeTwoCopies : public QObject {
    Q_OBJECT

    PostgresServer server;

private slots:
    void initTestCase() {
        if (!PostgresServer::installed()) QSKIP(qPrintable(PostgresServer::skipReason()));
        QVERIFY2(server.start(), qPrintable(server.error()));
        QVERIFY2(server.createDatabase(QStringLiteral("office")), qPrintable(server.error()));
        qputenv("PGPASSWORD", PostgresServer::kPassword);
        qputenv("PGPASSFILE", "/nonexistent/pgpass");
    }
    void cleanupTestCase() { server.stop(); }

    void savesAndDeletesOfTwoAdvisersAllSucceed() {
        QTemporaryDir first_dir, second_dir;
        for (const QTemporaryDir* d : {&first_dir, &second_dir}) {
            QVERIFY(QFile::copy(QStringLiteral(VENTROLUX_TEST_BIN_DIR "/KLV_DATA.db"),
                                d->path() + QStringLiteral("/KLV_DATA.db")));
            userdb::create(d->path() + QStringLiteral("/myData.db"));
        }
        const QString url = server.url(QStringLiteral("office"));
        const int seconds = qEnvironmentVariableIsSet("VENTROLUX_OFFICE_SECONDS")
                                ? qEnvironmentVariableIntValue("VENTROLUX_OFFICE_SECONDS")
                                : 3;

        Copy first(1, first_dir.path(), {QStringLiteral("--records"), url}, seconds * 1000),
            second(2, second_dir.path(), {QStringLiteral("--records"), url}, seconds * 1000);
        first.start();
        second.start();
        first.wait();
        second.wait();

        const ParsedAddress address = parseServerAddress(url);
        QVERIFY(address.address);
        Connection cn;
        recordsdb::openServer(cn, *address.address);
        const Outcome outcome = recordsOutcome(cn, first, second);
        const int lost = outcome.lost;
        DisconnectFromDB(cn);
        // The local files hold no firm: the records went to the server.
        for (const QTemporaryDir* d : {&first_dir, &second_dir}) {
            Connection local;
            ConnectToFile(local, d->path() + QStringLiteral("/myData.db"), QStringLiteral("unknown"));
            QCOMPARE(firmrecords::count(local), qsizetype(0));
            DisconnectFromDB(local);
        }

        const int commands = first.result.commands + second.result.commands;
        const QStringList failures = first.result.failures + second.result.failures;
        std::printf("two advisers on one server for %d s: %d commands, %lld errors shown, %d lost records\n",
                    seconds, commands, static_cast<long long>(failures.size()), lost);
        std::fflush(stdout);
        QVERIFY2(failures.isEmpty(), qPrintable(failures.join(u'\n')));
        QCOMPARE(lost, 0);
        // The shared firm holds the last version one of the two saved, whole, in one row
        // whatever the interleaving.
        QVERIFY(outcome.sharedOfOne);
        QCOMPARE(outcome.sharedRows, 1);
        QVERIFY(commands >= 4);
    }
};

QTEST_GUILESS_MAIN(TestOfficeTwoCopies)
#include "test_office_two_copies.moc"
