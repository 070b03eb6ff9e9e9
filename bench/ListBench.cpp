// The benchmark of what grows with an adviser's client list: ventrolux-cli run as its own
// process (so that each run's peak memory is its own) on the sample data's example firms and
// on generated lists of 10,000 and 100,000 firms. Each figure is printed beside its target;
// timings are never a test's verdict.
//
//   ventrolux-bench-lists [PROGRAM_DIR [LARGEST]]   (the folder with KLV_DATA.db and ventrolux-cli,
//   the build's bin/ by default; LARGEST leaves out the lists longer than that)

#include "BenchTimer.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QTextStream>
#include <algorithm>
#include <fcntl.h>
#include <functional>
#include <optional>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <vector>

extern char** environ;

namespace {

struct Run {
    double ms = 0;
    double peakMiB = 0;
    int status = -1;
};

// One run of ventrolux-cli, its output thrown away: the time that passed and its peak
// resident memory, as the system counted them for that process alone.
Run runCli(const QString& cli, const QStringList& arguments) {
    std::vector<QByteArray> args{QFile::encodeName(cli)};
    for (const QString& a : arguments)
        args.push_back(a.toLocal8Bit());
    std::vector<char*> argv;
    for (QByteArray& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    QElapsedTimer timer;
    timer.start();
    pid_t pid = 0;
    Run run;
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) == 0) {
        int status = 0;
        rusage usage{};
        wait4(pid, &status, 0, &usage);
        run.ms = double(timer.nsecsElapsed()) / 1e6;
        run.peakMiB = double(usage.ru_maxrss) / 1024.0;
        run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    posix_spawn_file_actions_destroy(&actions);
    return run;
}

// The median of runs by time; the peak memory of the largest.
Run medianRun(int runs, const std::function<Run()>& once) {
    std::vector<Run> all;
    for (int i = 0; i < runs; ++i)
        all.push_back(once());
    std::sort(all.begin(), all.end(), [](const Run& a, const Run& b) { return a.ms < b.ms; });
    Run median = all[all.size() / 2];
    for (const Run& r : all)
        median.peakMiB = std::max(median.peakMiB, r.peakMiB);
    return median;
}

// A figure beside its target; the verdict only at the list size the target is set for.
void line(const QString& what, const QString& figure, const QString& target, std::optional<bool> met) {
    out() << QStringLiteral("  %1 %2   %3 %4")
                 .arg(what, -44)
                 .arg(figure, 12)
                 .arg(target, -34)
                 .arg(met ? (*met ? QStringLiteral("met") : QStringLiteral("NOT MET")) : QString())
          << Qt::endl;
}

QString ms(double v) {
    return QString::number(v, 'f', 0) + QStringLiteral(" ms");
}
QString mib(double v) {
    return QString::number(v, 'f', 1) + QStringLiteral(" MiB");
}

// The example clients' rows over and over, each with a name of its own: the client list a
// batch reads.
bool writeClientList(const QString& examplesPath, const QString& path, int count) {
    QFile examples(examplesPath);
    if (!examples.open(QIODevice::ReadOnly)) return false;
    QList<QByteArray> lines = examples.readAll().split('\n');
    const QByteArray header = lines.takeFirst().trimmed();
    lines.removeAll(QByteArray());
    QFile list(path);
    if (!list.open(QIODevice::WriteOnly)) return false;
    list.write(header + "\r\n");
    for (int i = 0; i < count; ++i) {
        QByteArray row = lines[i % lines.size()].trimmed();
        // The examples' names are quoted where they hold a comma; the rest has none.
        const bool quoted = row.startsWith('"');
        const qsizetype nameEnd = quoted ? row.indexOf("\",") + 1 : row.indexOf(',');
        const QByteArray name = quoted ? row.left(nameEnd - 1) + " #" + QByteArray::number(i) + '"'
                                       : row.left(nameEnd) + " #" + QByteArray::number(i);
        list.write(name + row.mid(nameEnd) + "\r\n");
    }
    return list.error() == QFileDevice::NoError;
}

// A user database of count stored firms: the example firms imported once by the program,
// then copied over and over by one statement, with names of their own and the three years.
bool storeFirms(const QString& dir, int count) {
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("bench"));
    db.setDatabaseName(dir + QStringLiteral("/myData.db"));
    bool ok = db.open();
    if (ok) {
        QSqlQuery q(db);
        ok = q.exec(QStringLiteral("CREATE TEMP TABLE Examples AS SELECT *, row_number() OVER () - 1 AS k "
                                   "FROM MyValues")) &&
             q.exec(QStringLiteral("DELETE FROM MyValues")) &&
             q.exec(QStringLiteral("SELECT count(*) FROM Examples")) && q.next();
        const int examples = ok ? q.value(0).toInt() : 0;
        QStringList columns;
        const QSqlRecord record = db.record(QStringLiteral("MyValues"));
        for (int i = 3; i < record.count(); ++i)
            columns << record.fieldName(i);
        ok = ok && examples > 0 && q.exec(QStringLiteral("BEGIN")) &&
             q.exec(QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < %1) "
                                   "INSERT INTO MyValues SELECT e.FirmName || ' #' || n.i, 2009 + n.i % 3, "
                                   "e.NAICS, %2 FROM n JOIN Examples e ON e.k = n.i % %3")
                        .arg(count - 1)
                        .arg(columns.join(QStringLiteral(", ")))
                        .arg(examples)) &&
             q.exec(QStringLiteral("COMMIT"));
        if (!ok) QTextStream(stderr) << q.lastError().text() << Qt::endl;
    }
    db.close();
    db = QSqlDatabase();
    QSqlDatabase::removeDatabase(QStringLiteral("bench"));
    return ok;
}

// The plain query the list is measured against: the same rows, in the same order, read by
// SQLite and handed over as Qt values.
double plainListQuery(const QString& dir) {
    double elapsed = 0;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("plain"));
        db.setDatabaseName(dir + QStringLiteral("/myData.db"));
        db.open();
        elapsed = medianRun(3, [&db] {
                      QElapsedTimer timer;
                      timer.start();
                      QSqlQuery q(db);
                      q.setForwardOnly(true);
                      q.exec(QStringLiteral("SELECT FirmName, Year, NAICS FROM MyValues ORDER BY "
                                            "lower(FirmName), FirmName, Year"));
                      qsizetype rows = 0;
                      while (q.next())
                          rows += q.value(0).toString().size() > 0;
                      return Run{double(timer.nsecsElapsed()) / 1e6, 0, int(rows)};
                  }).ms;
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("plain"));
    return elapsed;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QString bin = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(VENTROLUX_BIN_DIR);
    const QString cli = bin + QStringLiteral("/ventrolux-cli");
    const QString reference = bin + QStringLiteral("/KLV_DATA.db");
    const QString examples = QStringLiteral(VENTROLUX_SOURCE_DIR "/examples/clients.csv");
    if (!QFile::exists(reference) || !QFile::exists(cli)) {
        QTextStream(stderr) << "No ventrolux-cli or sample reference database in " << bin << Qt::endl;
        return 2;
    }
    QTemporaryDir work;
    // A data folder of its own for each size: the reference database and the stored firms.
    const auto dataDir = [&](const QString& name) {
        const QString dir = work.filePath(name);
        QDir().mkpath(dir);
        QFile::copy(reference, dir + QStringLiteral("/KLV_DATA.db"));
        QFile::setPermissions(dir + QStringLiteral("/KLV_DATA.db"), QFile::ReadOwner | QFile::WriteOwner);
        return dir;
    };
    const QString empty = dataDir(QStringLiteral("empty"));
    runCli(cli, {QStringLiteral("--data-dir"), empty, QStringLiteral("datasets")}); // its user database

    out() << "Client lists: ventrolux-cli in a process of its own, medians, peak memory of the largest run"
          << Qt::endl;
    struct Size {
        int firms;
        QString dir;
        Run batch;
    };
    std::vector<Size> sizes{{20, {}, {}}, {1000, {}, {}}, {10000, {}, {}}, {100000, {}, {}}};
    if (argc > 2) {
        const int largest = QString::fromLocal8Bit(argv[2]).toInt();
        std::erase_if(sizes, [largest](const Size& s) { return s.firms > largest; });
    }
    for (Size& s : sizes) {
        s.dir = dataDir(QStringLiteral("firms-%1").arg(s.firms));
        QElapsedTimer made;
        made.start();
        const Run imported =
            runCli(cli, {QStringLiteral("--data-dir"), s.dir, QStringLiteral("firms"), QStringLiteral("import"),
                         examples});
        if (imported.status != 0 || (s.firms != 20 && !storeFirms(s.dir, s.firms))) {
            QTextStream(stderr) << "Cannot store " << s.firms << " firms in " << s.dir << Qt::endl;
            return 2;
        }
        const QString list = s.dir + QStringLiteral("/clients.csv");
        if (!writeClientList(examples, list, s.firms)) return 2;
        out() << Qt::endl
              << s.firms << " firms (" << ms(double(made.nsecsElapsed()) / 1e6) << " to generate):" << Qt::endl;

        const int runs = s.firms >= 100000 ? 1 : 3;
        const QString out = s.dir + QStringLiteral("/batch");
        s.batch = medianRun(runs, [&] {
            return runCli(cli, {QStringLiteral("--data-dir"), s.dir, QStringLiteral("batch"),
                                QStringLiteral("--dataset"), QStringLiteral("3:ALL"), QStringLiteral("--firms"),
                                list, QStringLiteral("--out"), out});
        });
        // The targets are set for 10,000 firms (batch time) and 100,000 (the rest).
        const bool at10k = s.firms == 10000, at100k = s.firms == 100000;
        const auto verdict = [](bool applies, bool met) { return applies ? std::optional<bool>(met) : std::nullopt; };
        const double per1000 = s.batch.ms / s.firms * 1000;
        line(QStringLiteral("batch, time per 1,000 firms"), ms(per1000),
             at10k ? QStringLiteral("target <= 300 ms") : QStringLiteral("(target at 10,000: <= 300 ms)"),
             verdict(at10k, per1000 <= 300));
        const double smallPeak = sizes.size() > 1 ? sizes[1].batch.peakMiB : s.batch.peakMiB;
        line(QStringLiteral("batch, peak memory"), mib(s.batch.peakMiB),
             s.firms <= 1000 ? QStringLiteral("(the base at 1,000)")
                             : QStringLiteral("%1<= 1.5 x 1,000 firms (%2)")
                                   .arg(at100k ? QStringLiteral("target ") : QStringLiteral("(at 100,000) "),
                                        mib(1.5 * smallPeak)),
             verdict(at100k, s.batch.peakMiB <= 1.5 * smallPeak));

        const Run listed = medianRun(runs + 2, [&] {
            return runCli(cli, {QStringLiteral("--data-dir"), s.dir, QStringLiteral("firms"), QStringLiteral("list")});
        });
        const double plain = plainListQuery(s.dir);
        line(QStringLiteral("firms list (plain query %1)").arg(ms(plain)), ms(listed.ms),
             QStringLiteral("%1<= 3 x plain query").arg(at100k ? QStringLiteral("target ") : QStringLiteral("(at 100,000) ")),
             verdict(at100k, listed.ms <= 3 * plain));

        const Run startEmpty = medianRun(9, [&] {
            return runCli(cli, {QStringLiteral("--data-dir"), empty, QStringLiteral("datasets")});
        });
        const Run start = medianRun(9, [&] {
            return runCli(cli, {QStringLiteral("--data-dir"), s.dir, QStringLiteral("datasets")});
        });
        line(QStringLiteral("start-up: datasets (none stored %1)").arg(ms(startEmpty.ms)), ms(start.ms),
             QStringLiteral("%1<= 1.1 x none stored").arg(at100k ? QStringLiteral("target ") : QStringLiteral("(at 100,000) ")),
             verdict(at100k, start.ms <= 1.1 * startEmpty.ms));

        const QString exported = s.dir + QStringLiteral("/export.csv");
        const Run exporting = medianRun(runs, [&] {
            return runCli(cli, {QStringLiteral("--data-dir"), s.dir, QStringLiteral("firms"),
                                QStringLiteral("export"), exported});
        });
        const QString at = at100k ? QStringLiteral("target ") : QStringLiteral("(at 100,000) ");
        line(QStringLiteral("firms export"), ms(exporting.ms), at + QStringLiteral("< 1,500 ms"),
             verdict(at100k, exporting.ms < 1500));
        line(QStringLiteral("firms export, peak memory"), mib(exporting.peakMiB), at + QStringLiteral("< 150 MB"),
             verdict(at100k, exporting.peakMiB * 1.048576 < 150));
        const Run importing = medianRun(runs, [&] {
            const QString fresh = dataDir(QStringLiteral("import-%1").arg(s.firms));
            QFile::remove(fresh + QStringLiteral("/myData.db"));
            return runCli(cli, {QStringLiteral("--data-dir"), fresh, QStringLiteral("firms"),
                                QStringLiteral("import"), exported});
        });
        line(QStringLiteral("firms import"), ms(importing.ms), at + QStringLiteral("< 3,000 ms"),
             verdict(at100k, importing.ms < 3000));
        line(QStringLiteral("firms import, peak memory"), mib(importing.peakMiB), at + QStringLiteral("< 150 MB"),
             verdict(at100k, importing.peakMiB * 1.048576 < 150));
    }
    return 0;
}
