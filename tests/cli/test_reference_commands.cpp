// The reference data commands of ventrolux-cli, called as the command line calls them:
// what goes to standard output and standard error, the exit status, the progress bar.

#include "cli/CliCommands.h"
#include "cli/ReferenceCommands.h"
#include "refdata/RefdataSupport.h"

#include <QTemporaryDir>

using namespace refdatatest;

namespace {

struct Streams {
    QString out;
    QString err;
    QTextStream outStream{&out};
    QTextStream errStream{&err};
};

} // namespace

class TestReferenceCommands : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;

private slots:
    void initTestCase() { QVERIFY(dir_.isValid()); }

    void importWrites_data() {
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("summary");
        QTest::addColumn<QString>("fileLine");
        QTest::newRow("English") << 0 << QStringLiteral("%1 written from %2: 59 tables, ")
                                 << QStringLiteral(
                                        "tblTreeview.csv: 6 rows; UTF-8, separator ',', decimal point");
        QTest::newRow("French")
            << 1 << QString::fromUtf8("%1 écrit à partir de %2 : 59 tables, ")
            << QString::fromUtf8("tblTreeview.csv : 6 lignes ; UTF-8, séparateur « , », décimales en point");
    }
    void importWrites() {
        QFETCH(int, language);
        QFETCH(QString, summary);
        QFETCH(QString, fileLine);
        const QString target = dir_.filePath(QStringLiteral("written-%1.db").arg(language));
        Streams s;
        QCOMPARE(cli::importReferenceCommand(exampleFolder(), target, language::fromFlag(language),
                                             s.outStream, s.errStream, false),
                 cli::ExitOk);
        QCOMPARE(s.err, QString());
        const QStringList out = s.out.split(u'\n', Qt::SkipEmptyParts);
        QVERIFY(out.contains(fileLine));
        QVERIFY2(out.back().startsWith(summary.arg(target, exampleFolder())), qPrintable(out.back()));
        QVERIFY(QFile::exists(target));
    }

    // Every error on standard error, the exit status 1, the old file kept.
    void importRefuses() {
        const QString source = dir_.filePath(QStringLiteral("broken"));
        QVERIFY(copyFolder(exampleFolder(), source));
        QVERIFY(QFile::remove(QDir(source).filePath(QStringLiteral("tblTreeview.csv"))));
        const QString ns = QDir(source).filePath(QStringLiteral("ZEBRO_Vol3_NS_2011_Final_Ratios.csv"));
        QList<QByteArray> ls = lines(ns);
        ls[2].replace(0, 6, "4451");
        QVERIFY(writeLines(ns, ls));
        const QString target = dir_.filePath(QStringLiteral("kept.db"));
        QVERIFY(writeAll(target, "old"));
        Streams s;
        QCOMPARE(cli::importReferenceCommand(source, target, Language::E, s.outStream, s.errStream, false),
                 cli::ExitRefused);
        const QStringList err = s.err.split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(err.size(), 3);
        QCOMPARE(
            err[0],
            QStringLiteral(
                "error: the table tblTreeview is required: its file tblTreeview.csv is missing (a header "
                "row alone is enough)"));
        QCOMPARE(err[1],
                 QStringLiteral(
                     "ZEBRO_Vol3_NS_2011_Final_Ratios.csv:3: column NAICS: error: '4451' is not a six-digit "
                     "NAICS code"));
        QCOMPARE(err[2], QStringLiteral("2 errors: nothing was written, %1 is unchanged").arg(target));
        QCOMPARE(readAll(target), QByteArray("old"));
    }

    void progressBarOnStandardError() {
        const QString target = dir_.filePath(QStringLiteral("bar.db"));
        Streams s;
        QCOMPARE(
            cli::importReferenceCommand(exampleFolder(), target, Language::E, s.outStream, s.errStream, true),
            cli::ExitOk);
        QVERIFY(
            s.err.contains(QStringLiteral("\r[..............................] 1/59 datadescription.csv")));
        QVERIFY(s.err.contains(QStringLiteral("] 59/59 ZEBRO_Vol3_YT_2010_Final_Ratios.csv ")));
        // The bar is wiped before the report: the line ends blank.
        QVERIFY(s.err.endsWith(u'\r'));
        QVERIFY(!s.out.contains(u'\r'));
    }

    void exportWrites() {
        const QString folder = dir_.filePath(QStringLiteral("exported"));
        Streams s;
        QCOMPARE(cli::exportReferenceCommand(sampleDatabase(), folder, Language::E, s.outStream, s.errStream),
                 cli::ExitOk);
        QCOMPARE(s.err, QString());
        QVERIFY2(s.out.startsWith(QStringLiteral("61 tables, ")), qPrintable(s.out));
        QVERIFY(s.out.trimmed().endsWith(QStringLiteral("rows written to ") + folder));
        QVERIFY(QFile::exists(QDir(folder).filePath(QStringLiteral("Provenance.csv"))));
    }

    // The same commands from the command line, with its usage errors.
    void throughTheCommandLine_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("status");
        const QString db = dir_.filePath(QStringLiteral("line.db"));
        QTest::newRow("import") << QStringList{"import-reference", exampleFolder(), "--out", db}
                                << cli::ExitOk;
        QTest::newRow("export") << QStringList{"export-reference", db,
                                               dir_.filePath(QStringLiteral("line-csv"))}
                                << cli::ExitOk;
        QTest::newRow("import refused")
            << QStringList{"import-reference", dir_.filePath(QStringLiteral("none")), "--out", db}
            << cli::ExitRefused;
        QTest::newRow("no --out") << QStringList{"import-reference", exampleFolder()} << cli::ExitUsage;
        QTest::newRow("no source") << QStringList{"import-reference", "--out", db} << cli::ExitUsage;
        QTest::newRow("export without folder") << QStringList{"export-reference", db} << cli::ExitUsage;
        QTest::newRow("one argument too many")
            << QStringList{"export-reference", db, "a", "b"} << cli::ExitUsage;
    }
    void throughTheCommandLine() {
        QFETCH(QStringList, arguments);
        QFETCH(int, status);
        Streams s;
        QCOMPARE(cli::run(arguments, s.outStream, s.errStream), status);
        QCOMPARE(s.err.isEmpty(), status == cli::ExitOk);
    }

    void exportRefuses() {
        Streams s;
        const QString missing = dir_.filePath(QStringLiteral("none.db"));
        QCOMPARE(cli::exportReferenceCommand(missing, dir_.filePath(QStringLiteral("x")), Language::F,
                                             s.outStream, s.errStream),
                 cli::ExitRefused);
        QCOMPARE(s.out, QString());
        QCOMPARE(s.err, QString::fromUtf8("erreur : la base de données %1 n'existe pas\n").arg(missing));
    }
};

QTEST_GUILESS_MAIN(TestReferenceCommands)
#include "test_reference_commands.moc"
