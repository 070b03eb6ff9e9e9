#pragma once
// The workload of the two-copies tests: two copies of ventrolux-cli, each in a thread of
// the test, save and delete firms of their own and save a firm both share, over and
// over, against one place of records (one user database, or one records server). What
// must hold afterwards is read back by recordsOutcome().

#include "data/DBTools.h"
#include "firm/FirmRecords.h"
#include "firm/FirmStatement.h"
#include "firm/LineItems.h"
#include "firm/ValueText.h"

#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QThread>

namespace twocopies {

inline const QString kCli = QStringLiteral(VENTROLUX_TEST_BIN_DIR "/ventrolux-cli");
inline const QString kShared = QStringLiteral("Shared Holdings Ltd.");

// Values that say which copy wrote them and in which round, in every line item.
inline FirmStatement firmOf(const QString& name, int copy, int round) {
    FirmStatement f;
    f.firmName = name;
    f.year = QStringLiteral("2010");
    f.naics = QStringLiteral("448140");
    for (int i = 0; i < lineitems::kCount; ++i)
        f.values[i] = QString::number(copy * 1'000'000 + round * 100 + i);
    firmrules::calculateSubTotals(f.values);
    return f;
}

inline QByteArray firmJson(const FirmStatement& f) {
    QJsonObject o{{QStringLiteral("FirmName"), f.firmName},
                  {QStringLiteral("Year"), f.year.toInt()},
                  {QStringLiteral("NAICS"), f.naics}};
    for (int i = 0; i < lineitems::kCount; ++i)
        o.insert(QLatin1String(lineitems::all()[i].column), f.values[i].toDouble());
    return QJsonDocument(o).toJson();
}

// The same figures, whatever text each is written in (a subtotal's seven-digit text or
// the number stored for it).
inline bool sameFigures(const FirmStatement& a, const FirmStatement& b) {
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
// round before (keeping every third), until the time is up. Every command gets
// --data-dir and the options given (a records server, for one).
class Copy : public QThread {
public:
    Copy(int number, QString dataDir, QStringList options, qint64 ms)
        : number_(number), dataDir_(std::move(dataDir)), options_(std::move(options)), ms_(ms) {}
    CopyResult result;

private:
    bool command(const QStringList& args) {
        QProcess p;
        p.start(kCli, QStringList{QStringLiteral("--data-dir"), dataDir_} + options_ + args);
        const bool ok =
            p.waitForFinished(60000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
        ++result.commands;
        const QString err = QString::fromUtf8(p.readAllStandardError());
        if (!ok)
            result.failures << args.join(u' ') + QStringLiteral(": ") + err;
        else if (!err.isEmpty()) // a command that succeeds says nothing on standard error
            result.failures << args.join(u' ') + QStringLiteral(" succeeded, yet wrote: ") + err;
        return ok;
    }
    bool save(const FirmStatement& f) {
        const QString file = dataDir_ + QStringLiteral("/copy%1.json").arg(number_);
        QFile out(file);
        if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
        out.write(firmJson(f));
        out.close();
        return command({QStringLiteral("firms"), QStringLiteral("save"), file, QStringLiteral("--replace")});
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
                command({QStringLiteral("firms"), QStringLiteral("delete"),
                         QStringLiteral("Copy %1 firm %2").arg(number_).arg(round - 1),
                         QStringLiteral("2010")});
        }
    }
    int number_;
    QString dataDir_;
    QStringList options_;
    qint64 ms_;
};

// What the records hold after two copies ran.
struct Outcome {
    int lost = 0;             // kept firms missing or not whole
    bool sharedOfOne = false; // the shared firm is the last version one of the two saved, whole
    int sharedRows = 0;       // rows of the shared firm's name
};

inline Outcome recordsOutcome(Connection& cn, const Copy& first, const Copy& second) {
    Outcome o;
    for (const Copy* c : {&first, &second})
        for (const FirmStatement& f : c->result.kept) {
            const auto stored = firmrecords::load(cn, f.firmName, f.year);
            if (!stored || !sameFigures(*stored, f)) ++o.lost;
        }
    if (const auto shared = firmrecords::load(cn, kShared, QStringLiteral("2010")))
        o.sharedOfOne = sameFigures(*shared, firmOf(kShared, 1, first.result.lastSharedRound)) ||
                        sameFigures(*shared, firmOf(kShared, 2, second.result.lastSharedRound));
    o.sharedRows = GetRS(cn, QStringLiteral("select count(*) from MyValues where FirmName = ?"),
                         QStringLiteral("read"), {kShared})
                       ->field(0)
                       .toInt();
    return o;
}

} // namespace twocopies
