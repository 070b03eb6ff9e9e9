// A batch writing reports, stopped by Ctrl+C (SIGINT) or a stop request (SIGTERM) once its
// first report is there: it ends with 128 + the signal, every PDF left under a report's
// name is whole, no summary is claimed, and neither its scratch folder nor any temporary
// file is left, in the output folder or in the temporary folder.

#include "data/CsvFile.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>
#include <csignal>

namespace {

const QString kCli = QStringLiteral(VENTROLUX_TEST_BIN_DIR "/ventrolux-cli");

// The example client list three times over, each copy under other names.
QByteArray longClientList() {
    const csv::ReadResult list = csv::readFile(QStringLiteral(VENTROLUX_SOURCE_DIR "/examples/clients.csv"));
    QByteArray out = csv::formatRecord(list.table.header);
    const qsizetype name = list.table.header.indexOf(QStringLiteral("FirmName"));
    for (int copy = 1; copy <= 3; ++copy)
        for (csv::Record r : list.table.records) {
            r.fields[name] += QStringLiteral(" %1").arg(copy);
            out += csv::formatRecord(r.fields);
        }
    return out;
}

bool whole(const QString& pdf) {
    QFile f(pdf);
    if (!f.open(QIODevice::ReadOnly)) return false;
    const QByteArray bytes = f.readAll();
    return bytes.startsWith("%PDF-") && bytes.trimmed().endsWith("%%EOF");
}

} // namespace

class TestInterruptedBatch : public QObject {
    Q_OBJECT

private slots:
    void signalLeavesNoCutReport_data() {
        QTest::addColumn<int>("signal");
        QTest::newRow("SIGINT") << int(SIGINT);
        QTest::newRow("SIGTERM") << int(SIGTERM);
    }
    void signalLeavesNoCutReport() {
        QFETCH(int, signal);
        QTemporaryDir dir;
        QVERIFY(
            QFile::copy(QStringLiteral(VENTROLUX_TEST_BIN_DIR "/KLV_DATA.db"), dir.filePath("KLV_DATA.db")));
        QFile list(dir.filePath("clients.csv"));
        QVERIFY(list.open(QIODevice::WriteOnly));
        list.write(longClientList());
        list.close();
        const QString out = dir.filePath("results");
        const QString temp = dir.filePath("tmp");
        QVERIFY(QDir().mkpath(temp));

        QProcess batch;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("TMPDIR"), temp); // where a scratch folder in "/tmp" would show
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), dir.path()); // Qt's own, not the batch's
        batch.setProcessEnvironment(env);
        batch.start(kCli, {QStringLiteral("--data-dir"), dir.path(), QStringLiteral("batch"),
                           QStringLiteral("--dataset"), QStringLiteral("3:ALL"), QStringLiteral("--firms"),
                           list.fileName(), QStringLiteral("--out"), out, QStringLiteral("--pdf")});
        QVERIFY(batch.waitForStarted());
        QElapsedTimer waited;
        waited.start();
        while (QDir(out).entryList({QStringLiteral("*.pdf")}, QDir::Files).isEmpty() &&
               batch.state() == QProcess::Running && waited.elapsed() < 120000)
            QThread::msleep(20);
        QVERIFY2(batch.state() == QProcess::Running, "the batch was still writing its reports");
        ::kill(static_cast<pid_t>(batch.processId()), signal);
        QVERIFY(batch.waitForFinished(120000));

        QCOMPARE(batch.exitStatus(), QProcess::NormalExit);
        QCOMPARE(batch.exitCode(), 128 + signal);
        QVERIFY2(batch.readAllStandardError().contains("interrupted"), "the batch says it was interrupted");
        const QStringList left = QDir(out).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
        QVERIFY(!left.isEmpty());
        for (const QString& name : left) {
            QVERIFY2(name.endsWith(QLatin1String(".pdf")), qPrintable(name + QStringLiteral(" is left")));
            QVERIFY2(whole(QDir(out).filePath(name)), qPrintable(name + QStringLiteral(" is cut")));
        }
        QCOMPARE(QDir(temp).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), QStringList());
    }
};

QTEST_GUILESS_MAIN(TestInterruptedBatch)
#include "test_interrupted_batch.moc"
