// Every output of ventrolux-cli is whole or not written: on a full disk each command exits
// 1 with a message naming the file and the system's reason, the file that was there stays
// byte for byte and nothing is left beside it; and no output option writes over the
// program's own databases, however the path reaches them.

#include "cli/CliSandbox.h"
#include "data/Catalogue.h"
#include "support/FullDisk.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>

namespace {

const QString kExamples = QStringLiteral(VENTROLUX_SOURCE_DIR "/examples");
const QString kReferenceSource = QStringLiteral(VENTROLUX_SOURCE_DIR "/tests/data/reference-example");
const QString kFirmName = QStringLiteral("Acme");

QByteArray contents(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QByteArray checksum(const QString& path) {
    return QCryptographicHash::hash(contents(path), QCryptographicHash::Sha256);
}

// The outputs, by the option that names them.
const QStringList& outputs() {
    static const QStringList list{"firms export",          "compare --pdf",          "compare --html",
                                  "industry-report --pdf", "industry-report --html", "history --pdf",
                                  "history --html",        "import-reference --out"};
    return list;
}

} // namespace

class TestOutputSafety : public QObject {
    Q_OBJECT

    // A sandbox with the firm saved for two years, so that every command has its input.
    void prepare(const CliSandbox& s, QString& naics) {
        naics = s.completeIndustry(QStringLiteral("NS"));
        for (const char* year : {"2010", "2011"}) {
            const QString list = s.write(QStringLiteral("firm%1.csv").arg(QLatin1String(year)),
                                         csvList({balancedFirm(kFirmName, QLatin1String(year), naics)}));
            const CliResult r = s.run({QStringLiteral("firms"), QStringLiteral("save"), list});
            QVERIFY2(r.status == 0, qPrintable(r.err));
        }
    }

    // The command line that writes output to target.
    static QStringList command(const QString& output, const CliSandbox& s, const QString& naics,
                               const QString& target) {
        const QStringList report{QStringLiteral("--dataset"), QStringLiteral("3:NS"),
                                 QStringLiteral("--naics"), naics};
        const QString option = output.section(u' ', 1);
        if (output == QLatin1String("firms export"))
            return {QStringLiteral("firms"), QStringLiteral("export"), target};
        if (output.startsWith(QLatin1String("compare")))
            return QStringList{QStringLiteral("compare"), QStringLiteral("--firm"), s.file("firm2011.csv")} +
                   report + QStringList{option, target};
        if (output.startsWith(QLatin1String("industry-report")))
            return QStringList{QStringLiteral("industry-report"), QStringLiteral("--kind"),
                               QStringLiteral("rat")} +
                   report + QStringList{option, target};
        if (output.startsWith(QLatin1String("history")))
            return QStringList{QStringLiteral("history"), QStringLiteral("--firm-name"), kFirmName} + report +
                   QStringList{option, target};
        return {QStringLiteral("import-reference"), kReferenceSource, QStringLiteral("--out"), target};
    }

    // The command line of an output written into a folder (the batch's summary or reports,
    // the reference export), and the file of that folder it writes.
    static QPair<QStringList, QString> folderCommand(const QString& output, const CliSandbox& s,
                                                     const QString& naics, const QString& folder) {
        if (output == QLatin1String("export-reference"))
            return {{QStringLiteral("export-reference"), s.file("KLV_DATA.db"), folder},
                    folder + u'/' + QLatin1String(catalogue::TreeView) + QStringLiteral(".csv")};
        const bool pdf = output.endsWith(QLatin1String("--pdf"));
        QStringList args{QStringLiteral("batch"),
                         QStringLiteral("--dataset"),
                         QStringLiteral("3:NS"),
                         QStringLiteral("--naics"),
                         naics,
                         QStringLiteral("--firms"),
                         s.file("firm2011.csv"),
                         QStringLiteral("--out"),
                         folder};
        if (pdf) args << QStringLiteral("--pdf");
        return {args, folder + u'/' +
                          (pdf ? kFirmName + QStringLiteral("_2011.pdf") : QStringLiteral("summary.csv"))};
    }

private slots:
    // A full tmpfs: every kind of output, the batch's summary and reports and the reference
    // export included.
    void fullDiskKeepsTheOldFile_data() {
        QTest::addColumn<QString>("output");
        QTest::addColumn<QString>("reason"); // the system's words the message carries
        for (const QString& o : outputs())
            QTest::newRow(qPrintable(o))
                << o
                << (o.startsWith(QLatin1String("import")) ? "database or disk is full"
                                                          : "No space left on device");
        QTest::newRow("batch summary") << "batch"
                                       << "";
        QTest::newRow("batch reports") << "batch --pdf"
                                       << "";
        QTest::newRow("export-reference") << "export-reference"
                                          << "No space left on device";
    }
    void fullDiskKeepsTheOldFile() {
        QFETCH(QString, output);
        QFETCH(QString, reason);
        const FullDisk disk;
        if (!disk.usable()) QSKIP(qPrintable(disk.reason()));
        CliSandbox s;
        QString naics;
        prepare(s, naics);
        QString target = disk.file(QStringLiteral("old-output"));
        QStringList args = command(output, s, naics, target);
        if (output.startsWith(QLatin1String("batch")) || output == QLatin1String("export-reference"))
            std::tie(args, target) = folderCommand(output, s, naics, disk.path());
        const QByteArray old("the earlier file, which must stay as it is\n");
        QFile f(target);
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write(old) == old.size());
        f.close();
        disk.fill();
        const QStringList before = disk.names();

        const CliResult r = s.run(args);
        QCOMPARE(r.status, 1);
        QVERIFY2(r.err.contains(reason), qPrintable(r.err));
        if (!output.startsWith(QLatin1String("batch")))
            QVERIFY2(r.err.contains(target.section(u'/', 0, -2)), qPrintable(r.err)); // names the file
        QCOMPARE(contents(target), old);
        QCOMPARE(disk.names(), before); // no temporary file or scratch folder left
    }

    // /dev/full refuses every write, as a full disk does: no root needed. A link to it
    // stands for an output whose folder the command chooses.
    void deviceThatIsFullIsNotReportedWritten_data() {
        QTest::addColumn<QString>("output");
        for (const QString& o : outputs())
            QTest::newRow(qPrintable(o)) << o;
        QTest::newRow("batch summary") << "batch";
        QTest::newRow("batch reports") << "batch --pdf";
        QTest::newRow("export-reference") << "export-reference";
    }
    void deviceThatIsFullIsNotReportedWritten() {
        QFETCH(QString, output);
        if (!QFileInfo(QStringLiteral("/dev/full")).exists()) QSKIP("this system has no /dev/full");
        CliSandbox s;
        QString naics;
        prepare(s, naics);
        QStringList args = command(output, s, naics, QStringLiteral("/dev/full"));
        const QString out = s.file(QStringLiteral("out"));
        QVERIFY(QDir().mkpath(out));
        QString link;
        if (output.startsWith(QLatin1String("batch")) || output == QLatin1String("export-reference"))
            std::tie(args, link) = folderCommand(output, s, naics, out);
        if (!link.isEmpty()) QVERIFY(QFile::link(QStringLiteral("/dev/full"), link));

        const CliResult r = s.run(args);
        QCOMPARE(r.status, 1);
        if (output == QLatin1String("batch --pdf")) {
            // The report that could not be written is the firm's status; the summary says so.
            QVERIFY2(contents(out + QStringLiteral("/summary.csv")).contains("No space left on device"),
                     contents(out + QStringLiteral("/summary.csv")).constData());
        } else if (!output.startsWith(QLatin1String("import"))) {
            QVERIFY2(r.err.contains(QStringLiteral("No space left on device")), qPrintable(r.err));
        }
        QVERIFY2(!r.out.contains(QStringLiteral("written")), qPrintable(r.out));
        QCOMPARE(
            QDir(out).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot).filter(".ventrolux"),
            QStringList());
    }

    // Each output option named after myData.db, its journal or KLV_DATA.db, by a plain path,
    // a link, "..", and letter case: refused before anything is opened or written.
    void ownDatabasesAreNeverWrittenOver_data() {
        QTest::addColumn<QString>("output");
        QTest::addColumn<QString>("database");
        QTest::addColumn<QString>("way");
        const QStringList ways{"plain", "link", "dot-dot", "letter case"};
        int n = 0;
        for (const QString& o : outputs())
            for (QString database : {"myData.db", "myData.db-journal", "KLV_DATA.db"}) {
                // The reference import builds the reference database: its journal stands in.
                if (o.startsWith(QLatin1String("import")) && database == QLatin1String("KLV_DATA.db"))
                    database = QStringLiteral("KLV_DATA.db-wal");
                const QString way = ways[n++ % ways.size()];
                QTest::newRow(qPrintable(o + u' ' + database + u' ' + way)) << o << database << way;
            }
    }
    void ownDatabasesAreNeverWrittenOver() {
        QFETCH(QString, output);
        QFETCH(QString, database);
        QFETCH(QString, way);
        CliSandbox s;
        QString naics;
        prepare(s, naics);
        const QByteArray user = checksum(s.file("myData.db"));
        const QByteArray reference = checksum(s.file("KLV_DATA.db"));
        QString target = s.file(database);
        if (way == QLatin1String("link")) {
            target = s.file(QStringLiteral("report.out"));
            QVERIFY(QFile::link(s.file(database), target));
        } else if (way == QLatin1String("dot-dot")) {
            QVERIFY(QDir().mkpath(s.file(QStringLiteral("sub"))));
            target = s.file(QStringLiteral("sub/../") + database);
        } else if (way == QLatin1String("letter case")) {
            target = s.file(database.toUpper());
        }

        const CliResult r = s.run(command(output, s, naics, target));
        QCOMPARE(r.status, 1);
        QVERIFY2(r.err.contains(QStringLiteral("a database of the program")) && r.err.contains(database),
                 qPrintable(r.err));
        QCOMPARE(checksum(s.file("myData.db")), user);
        QCOMPARE(checksum(s.file("KLV_DATA.db")), reference);
        QVERIFY(!QFileInfo::exists(s.file(database)) || !database.contains(u'-'));
        QCOMPARE(QDir(s.path()).entryList(QDir::Hidden | QDir::Files).filter(".ventrolux"), QStringList());
    }
};

QTEST_MAIN(TestOutputSafety)
#include "test_output_safety.moc"
