// Two copies of the program at work on one user database: each saves and deletes its
// own firms and saves a firm both share, over and over. No command fails (a copy that
// finds the database busy waits for the other), no record is lost, and the shared
// firm always holds one copy's whole version.
//
// The run lasts VENTROLUX_TWO_COPIES_SECONDS (a few seconds in the test suite, 30
// under `make stress`).

#include "data/DBTools.h"
#include "firm/FirmRecords.h"
#include "support/TwoCopiesWorkload.h"
#include "userdb/UserDatabase.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace twocopies;

class TestTwoCopies : public QObject {
    Q_OBJECT

private slots:
    void savesAndDeletesOfTwoCopiesAllSucceed() {
        QTemporaryDir dir;
        QVERIFY(QFile::copy(QStringLiteral(VENTROLUX_TEST_BIN_DIR "/KLV_DATA.db"),
                            dir.path() + QStringLiteral("/KLV_DATA.db")));
        const QString userDb = dir.path() + QStringLiteral("/myData.db");
        userdb::create(userDb);
        const int seconds = qEnvironmentVariableIsSet("VENTROLUX_TWO_COPIES_SECONDS")
                                ? qEnvironmentVariableIntValue("VENTROLUX_TWO_COPIES_SECONDS")
                                : 4;

        Copy first(1, dir.path(), {}, seconds * 1000), second(2, dir.path(), {}, seconds * 1000);
        first.start();
        second.start();
        first.wait();
        second.wait();

        Connection cn;
        ConnectToFile(cn, userDb, QStringLiteral("unknown"));
        QCOMPARE(
            GetRS(cn, QStringLiteral("PRAGMA integrity_check"), QStringLiteral("read"))->field(0).toString(),
            QStringLiteral("ok"));
        const Outcome outcome = recordsOutcome(cn, first, second);
        const int lost = outcome.lost;
        DisconnectFromDB(cn);

        const int commands = first.result.commands + second.result.commands;
        const QStringList failures = first.result.failures + second.result.failures;
        std::printf("two copies for %d s: %d commands, %lld errors shown, %d lost records\n", seconds,
                    commands, static_cast<long long>(failures.size()), lost);
        std::fflush(stdout);
        QVERIFY2(failures.isEmpty(), qPrintable(failures.join(u'\n')));
        QCOMPARE(lost, 0);
        // The shared firm holds the last version one of the two saved, whole, in one row
        // whatever the interleaving.
        QVERIFY(outcome.sharedOfOne);
        QCOMPARE(outcome.sharedRows, 1);
        QVERIFY(commands >= 4); // a few rounds each, even under a slow checker such as memcheck
    }
};

QTEST_GUILESS_MAIN(TestTwoCopies)
#include "test_two_copies.moc"
