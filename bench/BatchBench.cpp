// The benchmark of a client list compared in one command: ventrolux-cli batch run in this
// process on the sample data, for 10,000 firms with the summary alone and for a hundred
// firms with a PDF report each. It prints the median of each; the targets are 10 seconds
// for the 10,000 firms and 40 ms a report, and timings are never a test's verdict.
//
//   ventrolux-bench-batch [PROGRAM_DIR]   (the folder with KLV_DATA.db; the build's bin/ by default)

#include "BenchTimer.h"

#include "cli/CliCommands.h"
#include "data/Catalogue.h"
#include "data/ProgramFiles.h"
#include "state/modMain.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QTextStream>
#include <QThread>
#include <sys/resource.h>

namespace {

constexpr int kFirms = 10000;
constexpr int kReports = 100;

// The industries of a dataset table, from the command line's own list.
QStringList industries(const QString& dir, const QString& dataset) {
    QString listed, errors;
    QTextStream out(&listed), err(&errors);
    cli::run({QStringLiteral("--data-dir"), dir, QStringLiteral("industries"), QStringLiteral("--dataset"),
              dataset},
             out, err);
    QStringList codes;
    for (const QString& line : listed.split(u'\n', Qt::SkipEmptyParts))
        codes << line.section(u'\t', 0, 0);
    return codes;
}

// A client list of count firms: the example clients over and over, each with a name of its
// own and spread over every industry of the dataset, so that each industry's figures are
// read as a real list would make them read.
QString writeClientList(const QString& path, int count, const QStringList& naics) {
    QFile examples(QStringLiteral(VENTROLUX_SOURCE_DIR "/examples/clients.csv"));
    if (!examples.open(QIODevice::ReadOnly)) return examples.errorString();
    QList<QByteArray> lines = examples.readAll().split('\n');
    const QByteArray header = lines.takeFirst().trimmed();
    lines.removeAll(QByteArray());
    const int naicsColumn = int(header.split(',').indexOf("NAICS"));
    QFile list(path);
    if (!list.open(QIODevice::WriteOnly)) return list.errorString();
    list.write(header + "\r\n");
    for (int i = 0; i < count; ++i) {
        // The examples' names are quoted where they hold a comma; the rest has none.
        QByteArray line = lines[i % lines.size()].trimmed();
        const bool quoted = line.startsWith('"');
        const qsizetype nameEnd = quoted ? line.indexOf("\",") + 1 : line.indexOf(',');
        QList<QByteArray> rest = line.mid(nameEnd + 1).split(',');
        rest[naicsColumn - 1] = naics[i % naics.size()].toLatin1();
        QByteArray name = line.left(nameEnd);
        name = quoted ? name.chopped(1) + " #" + QByteArray::number(i) + '"'
                      : name + " #" + QByteArray::number(i);
        list.write(name + ',' + rest.join(',') + "\r\n");
    }
    return QString();
}

// One batch run; its exit status is 1 when some firms were refused, as the examples hold one.
void runBatch(const QString& dir, const QString& list, const QString& outDir, bool pdf) {
    QString text, errors;
    QTextStream out(&text), err(&errors);
    QStringList args{QStringLiteral("--data-dir"),
                     dir,
                     QStringLiteral("batch"),
                     QStringLiteral("--dataset"),
                     QStringLiteral("3:ALL"),
                     QStringLiteral("--firms"),
                     list,
                     QStringLiteral("--out"),
                     outDir};
    if (pdf) args << QStringLiteral("--pdf");
    if (cli::run(args, out, err) > 1) QTextStream(stderr) << errors << Qt::endl;
}

// The processor time this process has used so far, on all its threads: beside the time
// that passed, it tells how much of the machine a run had (others may share it).
double processCpuMs() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto ms = [](const timeval& t) { return double(t.tv_sec) * 1000.0 + double(t.tv_usec) / 1000.0; };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const modMain::DatabasesScope databases;

    const QString bin = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(VENTROLUX_BIN_DIR);
    const QString sample = bin + u'/' + QLatin1String(catalogue::ReferenceFileName);
    if (!QFile::exists(sample)) {
        QTextStream(stderr) << "No sample reference database at " << sample
                            << " (build the target sample-data)" << Qt::endl;
        return 2;
    }
    QTemporaryDir dir;
    const QString reference = dir.filePath(QLatin1String(catalogue::ReferenceFileName));
    QFile::copy(sample, reference);
    QFile::setPermissions(reference, QFile::ReadOwner | QFile::WriteOwner);
    programfiles::setResourceDirectory(bin);

    const QStringList naics = industries(dir.path(), QStringLiteral("3:ALL"));
    const QString big = dir.filePath(QStringLiteral("clients-10000.csv"));
    const QString small = dir.filePath(QStringLiteral("clients-40.csv"));
    for (const auto& [path, count] : {std::pair{big, kFirms}, {small, kReports}})
        if (const QString fault = writeClientList(path, count, naics); !fault.isEmpty()) {
            QTextStream(stderr) << "Cannot write the client list " << path << ": " << fault << Qt::endl;
            return 2;
        }

    out() << Qt::endl
          << "Batch comparison (ventrolux-cli batch, dataset 3:ALL, " << naics.size() << " industries, "
          << QThread::idealThreadCount() << " cores):" << Qt::endl;
    const double summaryCpu = processCpuMs();
    printTiming(
        timeIt(QStringLiteral("  %1 firms, summary.csv only (target under 10,000 ms)").arg(kFirms), 5,
               [&] { runBatch(dir.path(), big, dir.filePath(QStringLiteral("out-summary")), false); }));
    out() << QStringLiteral("  processor time of a run, all threads: %1 ms")
                 .arg((processCpuMs() - summaryCpu) / (5 + 1), 0, 'f', 0)
          << Qt::endl;

    const QString pdfDir = dir.filePath(QStringLiteral("out-pdf"));
    const double reportsCpu = processCpuMs();
    const Timing reports = timeIt(QStringLiteral("  %1 firms with a PDF report each").arg(kReports), 3,
                                  [&] { runBatch(dir.path(), small, pdfDir, true); });
    const double cpu = (processCpuMs() - reportsCpu) / (3 + 1); // timeIt runs once more to warm up
    printTiming(reports);
    // Some firms of the list are refused (an unbalanced example, industries without figures
    // for a year): the time is shared among the reports written.
    const int written = int(QDir(pdfDir).entryList({QStringLiteral("*.pdf")}).size());
    out() << QStringLiteral("  a report, in the batch with PDF (target under 40 ms): %1 ms; processor time "
                            "%2 ms a report, all threads (%3 reports)")
                 .arg(reports.medianMs / qMax(written, 1), 0, 'f', 1)
                 .arg(cpu / qMax(written, 1), 0, 'f', 1)
                 .arg(written)
          << Qt::endl;
    return 0;
}
