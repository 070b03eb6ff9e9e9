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
#include "firm/FirmStatement.h"
#include "firm/LineItems.h"
#include "firm/ValueText.h"
#include "support/PostgresServer.h"
#include "userdb/RecordsDatabase.h"
#include "userdb/UserDatabase.h"

#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

#include <atomic>

namespace {

const QString kCli = QStringLiteral(VENTROLUX_TEST_BIN_DIR "/ventrolux-cli");
const QString kShared = QStringLiteral("Shared Holdings Ltd.");

// Values that say which copy wrote them and in which round, in every line item.
FirmStatement firmOf(const QString& name, int copy, int round) {
    FirmStatement f;
    f.firmName = name;
    f.year = QStringLiteral("2010");
    f.naics = QStringLiteral("448140");
    for (int i = 0; i < lineitems::kCount; ++i)
        f.values[i] = QString::number(copy * 1'000'000 + round * 100 + i);
    firmrules::calculateSubTotals(f.values);
    return f;
}

QByteArray firmJson(const FirmStatement& f) {
    QJsonObject o{{QStringLiteral("FirmName"), f.firmName},
                  {QStringLiteral("Year"), f.year.toInt()},
                  {QStringLiteral("NAICS"), f.naics}};
    for (int i = 0; i < lineitems::kCount; ++i)
        o.insert(QLatin1String(lineitems::all()[i].column), f.values[i].toDouble());
    return QJsonDocument(o).toJson();
}

// The same figures, whatever text each is written in (a subtotal's seven-digit text or
// the number stored for it).
bool sameFigures(const FirmStatement& a, const FirmStatement& b) {
    for (int i = 0; i < lineitems::kCount; ++i)
        if (valuetext::leadingNumber(a.values[i]) != valuetext::leadingNumber(b.values[i])) return false;
    return true;
}

struct CopyResult {
    int commands = 0;
    QStringList failures; // each failed command with what it said
    int lastSharedRound = -1;
    QList<FirmStatement> kept; // its own firms that must be stored at the end
};

// One copy's loop: save its own firm, save the shared firm, delete the own firm of the
// round before (keeping every third), until the time is up.
class Copy : public QThread {
public:
    Copy(int number, QString dataDir, QString records, qint64 ms)
        : number_(number), dataDir_(std::move(dataDir)), records_(std::move(records)), ms_(ms) {}
    CopyResult result;

private:
    bool run(const QStringList& args) {
        QProcess p;
        p.start(kCli,
                QStringList{QStringLiteral("--data-dir"), dataDir_, QStringLiteral("--records"), records_} +
                    args);
        const bool ok =
            p.waitForFinished(60000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
        ++result.commands;
        if (!ok)
            result.failures << args.join(u' ') + QStringLiteral(": ") +
                                   QString::fromUtf8(p.readAllStandardError());
        return ok;
    }
    bool save(const FirmStatement& f) {
        const QString file = dataDir_ + QStringLiteral("/copy%1.json").arg(number_);
        QFile out(file);
        if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
        out.write(firmJson(f));
        out.close();
        return run({QStringLiteral("firms"), QStringLiteral("save"), file, QStringLiteral("--replace")});
    }
    void run() override {
        QElapsedTimer t;
        t.start();
        for (int round = 0; t.elapsed() < ms_; ++round) {
            const FirmStatement own =
                firmOf(QStringLiteral("Copy %1 firm %2").arg(number_).arg(round), number_, round);
            if (save(own) && round % 3 == 0) result.kept << own;
            if (save(firmOf(kShared, number_, round))) result.lastSharedRound = round;
            if (round > 0 && (round - 1) % 3 != 0)
                run({QStringLiteral("firms"), QStringLiteral("delete"),
                     QStringLiteral("Copy %1 firm %2").arg(number_).arg(round - 1), QStringLiteral("2010")});
        }
    }
    int number_;
    QString dataDir_;
    QString records_;
    qint64 ms_;
};

} // namespace

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

        Copy first(1, first_dir.path(), url, seconds * 1000),
            second(2, second_dir.path(), url, seconds * 1000);
        first.start();
        second.start();
        first.wait();
        second.wait();

        const ParsedAddress address = parseServerAddress(url);
        QVERIFY(address.address);
        Connection cn;
        recordsdb::openServer(cn, *address.address);
        int lost = 0;
        for (const Copy* c : {&first, &second})
            for (const FirmStatement& f : c->result.kept) {
                const auto stored = firmrecords::load(cn, f.firmName, f.year);
                if (!stored || !sameFigures(*stored, f)) ++lost;
            }
        // The shared firm holds the last version one of the two saved, whole.
        const auto shared = firmrecords::load(cn, kShared, QStringLiteral("2010"));
        QVERIFY(shared);
        const bool firstWon = sameFigures(*shared, firmOf(kShared, 1, first.result.lastSharedRound));
        const bool secondWon = sameFigures(*shared, firmOf(kShared, 2, second.result.lastSharedRound));
        QCOMPARE(GetRS(cn, QStringLiteral("select count(*) from MyValues where FirmName = ?"),
                       QStringLiteral("read"), {kShared})
                     ->field(0)
                     .toInt(),
                 1);
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
        QVERIFY(firstWon || secondWon);
        QVERIFY(commands >= 4);
    }
};

QTEST_GUILESS_MAIN(TestOfficeTwoCopies)
#include "test_office_two_copies.moc"
