// Killed at any moment, the command-line tool never leaves a half-written record: the
// user database passes its integrity check, every firm a killed command was writing
// is either wholly the old one or wholly the new one, and no other firm changed. A
// reference database being imported is either the old file or a complete new one.
//
// The number of kills comes from VENTROLUX_KILLS (a few dozen in the test suite, a
// thousand under `make stress`).

#include "data/DBTools.h"
#include "data/ReferenceCheck.h"
#include "firm/FirmRecords.h"
#include "firm/FirmStatement.h"
#include "firm/LineItems.h"
#include "userdb/UserDatabase.h"

#include <QCryptographicHash>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

namespace {

const QString kCli = QStringLiteral(VENTROLUX_TEST_BIN_DIR "/ventrolux-cli");
const QString kNaics = QStringLiteral("448140");
constexpr int kFirms = 12;
constexpr int kImportedFirms = 5;

using Values = QStringList; // the 32 value texts of a stored firm, in line item order

QString firmName(int i) {
    return QStringLiteral("Client %1 O'Neil & Sons").arg(i, 2, 10, QLatin1Char('0'));
}

// A firm whose entered values are all drawn at random (small enough for every subtotal
// to be exact in single precision): which version a record holds is then told by any
// one value, and a mix of two versions by any two.
FirmStatement randomFirm(int i, QRandomGenerator& rng) {
    FirmStatement f;
    f.firmName = firmName(i);
    f.year = QStringLiteral("2011");
    f.naics = kNaics;
    for (QString& v : f.values)
        v = QString::number(rng.bounded(1, 1'000'000));
    firmrules::calculateSubTotals(f.values);
    return f;
}

QJsonObject firmJson(const FirmStatement& f) {
    QJsonObject o{{QStringLiteral("FirmName"), f.firmName},
                  {QStringLiteral("Year"), f.year.toInt()},
                  {QStringLiteral("NAICS"), f.naics}};
    for (int i = 0; i < lineitems::kCount; ++i)
        o.insert(QLatin1String(lineitems::all()[i].column), f.values[i].toDouble());
    return o;
}

QString firmsCsv(const QList<FirmStatement>& firms) {
    QStringList header{QStringLiteral("FirmName"), QStringLiteral("Year"), QStringLiteral("NAICS")};
    for (const lineitems::LineItem& item : lineitems::all())
        header << QLatin1String(item.column);
    QString text = header.join(u',') + u'\n';
    for (const FirmStatement& f : firms) {
        QStringList row{u'"' + f.firmName + u'"', f.year, f.naics};
        for (const QString& v : f.values)
            row << v;
        text += row.join(u',') + u'\n';
    }
    return text;
}

void writeFile(const QString& path, const QByteArray& data) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(data);
}

QByteArray fileHash(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    QCryptographicHash h(QCryptographicHash::Sha256);
    h.addData(&f);
    return h.result();
}

enum class Op { SaveOne, ImportMany, ImportReference, Compare };
constexpr Op kOps[] = {Op::SaveOne, Op::ImportMany, Op::ImportReference, Op::Compare};

} // namespace

class TestCrashKills : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    QMap<QString, Values> stored; // what each firm holds now
    QRandomGenerator rng{20261208};
    QMap<Op, qint64> fullRunMs;

    QString dataDir() const { return dir.path(); }
    QString userDb() const { return dir.path() + QStringLiteral("/myData.db"); }
    QString newReference() const { return dir.path() + QStringLiteral("/imported/KLV_DATA.db"); }

    // Opens the user database as the program does on its next start: a hot journal
    // left by the killed process is rolled back, then everything is read back.
    QMap<QString, Values> readBack(bool& intact) {
        Connection cn;
        ConnectToFile(cn, userDb(), QStringLiteral("unknown"));
        intact = GetRS(cn, QStringLiteral("PRAGMA integrity_check"), QStringLiteral("read"))
                     ->field(0)
                     .toString() == QLatin1String("ok");
        QMap<QString, Values> now;
        for (const firmrecords::StoredKey& key : firmrecords::list(cn)) {
            const auto firm = firmrecords::load(cn, key.firmName, key.year);
            if (firm) now.insert(key.firmName, Values(firm->values.begin(), firm->values.end()));
        }
        DisconnectFromDB(cn);
        return now;
    }

    QStringList arguments(Op op, int round, QList<FirmStatement>& writing) {
        writing.clear();
        const QString base = dir.path() + QStringLiteral("/round");
        switch (op) {
        case Op::SaveOne: {
            writing << randomFirm(static_cast<int>(rng.bounded(kFirms)), rng);
            writeFile(base + QStringLiteral(".json"), QJsonDocument(firmJson(writing.first())).toJson());
            return {QStringLiteral("firms"), QStringLiteral("save"), base + QStringLiteral(".json"),
                    QStringLiteral("--replace")};
        }
        case Op::ImportMany: {
            const int first = static_cast<int>(rng.bounded(kFirms - kImportedFirms + 1));
            for (int i = first; i < first + kImportedFirms; ++i)
                writing << randomFirm(i, rng);
            writeFile(base + QStringLiteral(".csv"), firmsCsv(writing).toUtf8());
            return {QStringLiteral("firms"), QStringLiteral("import"), base + QStringLiteral(".csv"),
                    QStringLiteral("--replace")};
        }
        case Op::ImportReference:
            return {QStringLiteral("import-reference"),
                    QStringLiteral(VENTROLUX_SOURCE_DIR "/tests/data/reference-example"),
                    QStringLiteral("--out"), newReference()};
        case Op::Compare:
            Q_UNUSED(round);
            return {QStringLiteral("compare"),
                    QStringLiteral("--dataset"),
                    QStringLiteral("3:NS"),
                    QStringLiteral("--naics"),
                    kNaics,
                    QStringLiteral("--firm"),
                    QStringLiteral(VENTROLUX_SOURCE_DIR "/examples/firm.json")};
        }
        return {};
    }

    // Runs the command and kills it after delayMs (or lets it finish when delayMs < 0).
    // True when the kill landed while the command was still running.
    bool runAndKill(const QStringList& args, int delayMs, int* exitCode = nullptr) {
        QProcess p;
        p.setProgram(kCli);
        p.setArguments(QStringList{QStringLiteral("--data-dir"), dataDir()} + args);
        p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        p.setStandardOutputFile(QProcess::nullDevice());
        p.start();
        if (!p.waitForStarted()) return false;
        if (delayMs < 0) {
            p.waitForFinished(120000);
            if (exitCode) *exitCode = p.exitCode();
            return false;
        }
        if (p.waitForFinished(delayMs)) return false;
        p.kill(); // SIGKILL
        p.waitForFinished(30000);
        return true;
    }

private slots:
    void initTestCase() {
        QVERIFY(dir.isValid());
        QVERIFY(QFile::copy(QStringLiteral(VENTROLUX_TEST_BIN_DIR "/KLV_DATA.db"),
                            dir.path() + QStringLiteral("/KLV_DATA.db")));
        userdb::create(userDb());
        Connection cn;
        ConnectToFile(cn, userDb(), QStringLiteral("unknown"));
        for (int i = 0; i < kFirms; ++i)
            firmrecords::store(cn, randomFirm(i, rng));
        DisconnectFromDB(cn);
        bool intact = false;
        stored = readBack(intact);
        QVERIFY(intact);
        QCOMPARE(stored.size(), kFirms);
        QDir().mkpath(dir.path() + QStringLiteral("/imported"));

        // Each command once, whole: it must work, and its length sets the range of the kill moments.
        for (Op op : kOps) {
            QList<FirmStatement> writing;
            const QStringList args = arguments(op, -1, writing);
            QElapsedTimer t;
            t.start();
            int exitCode = -1;
            runAndKill(args, -1, &exitCode);
            fullRunMs[op] = std::max<qint64>(t.elapsed(), 20);
            QVERIFY2(exitCode == 0, qPrintable(args.join(u' ')));
            for (const FirmStatement& f : writing)
                stored[f.firmName] = Values(f.values.begin(), f.values.end());
        }
        bool again = false;
        QCOMPARE(readBack(again), stored);
    }

    void everyRecordIsTheOldOrTheNewOne() {
        const int kills = qEnvironmentVariableIsSet("VENTROLUX_KILLS")
                              ? qEnvironmentVariableIntValue("VENTROLUX_KILLS")
                              : 24;
        int landed = 0, halfWritten = 0, lost = 0, otherChanged = 0, damaged = 0, badReference = 0;
        for (int round = 0; round < kills; ++round) {
            const Op op = kOps[round % 4];
            QList<FirmStatement> writing;
            const QStringList args = arguments(op, round, writing);
            const QByteArray referenceBefore = fileHash(newReference());
            // Moments spread over the command's whole run, start-up and the end included.
            const int delay =
                static_cast<int>(rng.bounded(static_cast<quint32>(fullRunMs[op] * 12 / 10 + 1)));
            if (runAndKill(args, delay)) ++landed;

            bool intact = false;
            const QMap<QString, Values> now = readBack(intact);
            if (!intact) ++damaged;
            QSet<QString> touched;
            int becameNew = 0;
            for (const FirmStatement& f : writing) {
                touched.insert(f.firmName);
                const Values fresh(f.values.begin(), f.values.end());
                if (!now.contains(f.firmName))
                    ++lost;
                else if (now[f.firmName] == fresh)
                    ++becameNew;
                else if (now[f.firmName] != stored[f.firmName])
                    ++halfWritten;
            }
            // A file of several firms is imported whole or not at all.
            if (becameNew != 0 && becameNew != writing.size()) ++halfWritten;
            for (auto it = stored.cbegin(); it != stored.cend(); ++it) {
                if (touched.contains(it.key())) continue;
                if (!now.contains(it.key()))
                    ++lost;
                else if (now[it.key()] != it.value())
                    ++otherChanged;
            }
            if (now.size() != stored.size()) ++otherChanged;
            stored = now;

            if (op == Op::ImportReference && fileHash(newReference()) != referenceBefore) {
                // Replaced: then by a whole database that passes the program's start-up checks.
                Connection ref;
                ConnectToFile(ref, newReference(), QStringLiteral("unknown"), ReadOnly);
                const bool whole =
                    GetRS(ref, QStringLiteral("PRAGMA integrity_check"), QStringLiteral("read"))
                            ->field(0)
                            .toString() == QLatin1String("ok") &&
                    referencecheck::missingTables(ref, referencecheck::requiredTables(true)).isEmpty() &&
                    referencecheck::missingBytes(newReference()) == 0;
                DisconnectFromDB(ref);
                if (!whole) ++badReference;
            }
        }
        const int faults = halfWritten + lost + otherChanged + damaged + badReference;
        std::printf("%d kills (%d while the command ran), %d lost or half-written records "
                    "(%d lost, %d half-written, %d others changed, %d damaged files, %d incomplete reference "
                    "databases)\n",
                    kills, landed, lost + halfWritten + otherChanged, lost, halfWritten, otherChanged,
                    damaged, badReference);
        std::fflush(stdout);
        QCOMPARE(faults, 0);
        QVERIFY2(landed > kills / 3, "most kills should land while the command runs");
    }
};

QTEST_GUILESS_MAIN(TestCrashKills)
#include "test_crash_kills.moc"
