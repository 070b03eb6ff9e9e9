// The command-line tool, run in-process on copies of the sample data.

#include "cli/CliCommands.h"
#include "cli/CliTexts.h"
#include "cli/UsageErrorText.h"
#include "data/Catalogue.h"
#include "data/DBTools.h"
#include "data/ProgramFiles.h"
#include "support/SampleData.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

namespace {

struct Result {
    int status;
    QString out;
    QString err;
};

QString example(const char* name) {
    return QStringLiteral(VENTROLUX_SOURCE_DIR "/examples/") + QLatin1String(name);
}

const QString kInvalidYearEnglish = QStringLiteral("Invalid year.  Year must be between 2009 and 2011");
const QString kInvalidYearFrench = QStringLiteral("Année non valide.  L'année doit être centre 2009 et 2011");

} // namespace

class TestCli : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir;

    Result runRaw(const QStringList& args) {
        QString out, err;
        QTextStream o(&out), e(&err);
        const int status = cli::run(args, o, e);
        return {status, out, err};
    }

    Result run(QStringList args) {
        args.prepend(dir->path());
        args.prepend(QStringLiteral("--data-dir"));
        return runRaw(args);
    }

    QString writeFile(const QString& name, const QByteArray& content) {
        const QString path = dir->path() + u'/' + name;
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) return QString();
        f.write(content);
        return path;
    }

    QString writeFirm(const QByteArray& json) { return writeFile(QStringLiteral("firm.json"), json); }

    // A balanced small firm, with the year as the JSON text given (a number or a quoted text).
    QByteArray firmJson(const QString& name, const QString& year, const QString& extra = QString()) {
        return QStringLiteral("{\"FirmName\": \"%1\", \"Year\": %2, \"Cash\": 50000, \"Ar\": 80000, \"Inv\": "
                              "120000, \"CA\": 200000, "
                              "\"OA\": 10000, \"Invest\": 20000, \"Ptfl\": 20000, \"OperatingRevenue\": "
                              "1000000, \"Sales\": 950000, "
                              "\"GrossProfit\": 300000, \"OperatingProfit\": 60000, \"InterestExpense\": "
                              "10000, \"PretaxProfit\": 50000, "
                              "\"ProfitAfterTax\": 40000, \"AccountsPayable\": 100000, \"Paper\": 10000, "
                              "\"Mtg\": 100000, \"Bonds\": 0, "
                              "\"Ol\": 40000, \"AmtsAffil\": 10000, \"OLiab\": 15000, \"DefTax\": 5000, "
                              "\"ShareC\": 100000, "
                              "\"RetEarn\": 110000, \"OtherSur\": 10000, \"CurrentAssets\": 260000, "
                              "\"CurrentLiabilities\": 130000 %3}")
            .arg(name, year, extra)
            .toUtf8();
    }
    QByteArray firmJson(const QString& name, int year) { return firmJson(name, QString::number(year)); }

    QString firstIndustry(const QString& dataset) {
        const Result r = run({QStringLiteral("industries"), QStringLiteral("--dataset"), dataset});
        return r.out.section(u'\t', 0, 0);
    }

    QString completeIndustry(const QString& region) {
        Connection cn;
        ConnectToFile(cn, dir->path() + QStringLiteral("/KLV_DATA.db"), QStringLiteral("unknown"), ReadOnly);
        return ::completeIndustry(cn, region);
    }

    QVariant userValue(const QString& sql) {
        Connection cn;
        ConnectToFile(cn, dir->path() + QStringLiteral("/myData.db"), QStringLiteral("unknown"), ReadOnly);
        RecordsetPtr rs = GetRS(cn, sql, QStringLiteral("read"));
        return rs->eof() ? QVariant() : rs->field(0);
    }

    // Every column of the comparison table's row, as texts, for comparing two runs.
    QStringList comparisonRow() {
        Connection cn;
        ConnectToFile(cn, dir->path() + QStringLiteral("/myData.db"), QStringLiteral("unknown"), ReadOnly);
        RecordsetPtr rs = GetRS(cn, QStringLiteral("select * from Rpt_Comparison"), QStringLiteral("read"));
        QStringList row;
        if (rs->eof()) return row;
        for (int i = 0; i < rs->fieldCount(); ++i)
            row << rs->fieldName(i) + u'=' + rs->field(i).toString();
        return row;
    }

    void dropReferenceTable(const QString& table) {
        Connection cn;
        ConnectToFile(cn, dir->path() + QStringLiteral("/KLV_DATA.db"), QStringLiteral("unknown"));
        ExecCmdInDB(cn, QStringLiteral("drop table ") + catalogue::table(table));
        DisconnectFromDB(cn);
    }

    Result compareFile(const QString& dataset, const QString& naics, const QString& firm,
                       const QString& lang = "E") {
        return run({QStringLiteral("compare"), QStringLiteral("--dataset"), dataset,
                    QStringLiteral("--naics"), naics, QStringLiteral("--firm"), firm,
                    QStringLiteral("--lang"), lang});
    }

private slots:
    void init() {
        dir = std::make_unique<QTemporaryDir>();
        QVERIFY(QFile::copy(QStringLiteral(VENTROLUX_TEST_BIN_DIR "/KLV_DATA.db"),
                            dir->path() + QStringLiteral("/KLV_DATA.db")));
        QFile::setPermissions(dir->path() + QStringLiteral("/KLV_DATA.db"),
                              QFile::ReadOwner | QFile::WriteOwner);
        // The report layouts are in the build's program directory, not beside the test.
        programfiles::setResourceDirectory(QStringLiteral(VENTROLUX_TEST_BIN_DIR));
    }

    // --- The command line ---

    void usageErrors_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("message");
        QTest::newRow("no command") << QStringList{} << "no command given";
        QTest::newRow("unknown command")
            << QStringList{QStringLiteral("frobnicate")} << "unknown command 'frobnicate'";
        QTest::newRow("unknown option")
            << QStringList{QStringLiteral("datasets"), QStringLiteral("--colour"), QStringLiteral("x")}
            << "unexpected argument: --colour x";
        QTest::newRow("extra word") << QStringList{QStringLiteral("datasets"), QStringLiteral("more")}
                                    << "unexpected argument: more";
        QTest::newRow("missing value")
            << QStringList{QStringLiteral("industries"), QStringLiteral("--dataset")}
            << "--dataset needs a value";
        QTest::newRow("missing dataset")
            << QStringList{QStringLiteral("industries")} << "--dataset is required";
        QTest::newRow("bad language")
            << QStringList{QStringLiteral("datasets"), QStringLiteral("--lang"), QStringLiteral("D")}
            << "--lang: must be E or F, not 'D'";
        QTest::newRow("unknown dataset")
            << QStringList{QStringLiteral("industries"), QStringLiteral("--dataset"), QStringLiteral("4:NS")}
            << "unknown dataset '4:NS'";
        QTest::newRow("region of volume 1")
            << QStringList{QStringLiteral("industries"), QStringLiteral("--dataset"), QStringLiteral("1:NS")}
            << "unknown dataset '1:NS'";
        QTest::newRow("bad kind") << QStringList{QStringLiteral("industry-report"),
                                                 QStringLiteral("--dataset"),
                                                 QStringLiteral("3:NS"),
                                                 QStringLiteral("--naics"),
                                                 QStringLiteral("1"),
                                                 QStringLiteral("--kind"),
                                                 QStringLiteral("com")}
                                  << "--kind: must be rat or bal, not 'com'";
        QTest::newRow("option of another command")
            << QStringList{QStringLiteral("datasets"), QStringLiteral("--keyword"), QStringLiteral("bank")}
            << "--keyword bank";
        QTest::newRow("missing firm")
            << QStringList{QStringLiteral("compare"), QStringLiteral("--dataset"), QStringLiteral("3:NS"),
                           QStringLiteral("--naics"), QStringLiteral("448140")}
            << "--firm is required";
    }
    void usageErrors() {
        QFETCH(QStringList, args);
        QFETCH(QString, message);
        const Result r = run(args);
        QCOMPARE(r.status, 2);
        QVERIFY2(r.err.startsWith(QStringLiteral("ventrolux-cli: ")), qPrintable(r.err));
        QVERIFY2(r.err.section(u'\n', 0, 0).contains(message), qPrintable(r.err));
        QVERIFY(
            r.err.contains(QStringLiteral("usage: ventrolux-cli [--data-dir DIR] datasets [--lang E|F]")));
        QVERIFY(r.out.isEmpty());
    }

    void usageErrorsInFrench_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("message");
        QTest::newRow("unknown command")
            << QStringList{QStringLiteral("--lang"), QStringLiteral("F"), QStringLiteral("frobnicate")}
            << "ventrolux-cli: commande inconnue « frobnicate »";
        QTest::newRow("no command") << QStringList{QStringLiteral("--lang=F")}
                                    << "ventrolux-cli: il manque la commande";
        QTest::newRow("missing option")
            << QStringList{QStringLiteral("industries"), QStringLiteral("--lang"), QStringLiteral("F")}
            << "ventrolux-cli: l'option --dataset est obligatoire";
        QTest::newRow("missing value") << QStringList{QStringLiteral("industries"), QStringLiteral("--lang"),
                                                      QStringLiteral("F"), QStringLiteral("--dataset")}
                                       << "ventrolux-cli: l'option --dataset demande une valeur";
        QTest::newRow("unknown option")
            << QStringList{QStringLiteral("datasets"), QStringLiteral("--lang"), QStringLiteral("F"),
                           QStringLiteral("--colour"), QStringLiteral("x")}
            << "ventrolux-cli: argument inattendu : --colour x";
        QTest::newRow("unknown dataset")
            << QStringList{QStringLiteral("industries"), QStringLiteral("--lang"), QStringLiteral("F"),
                           QStringLiteral("--dataset"), QStringLiteral("9:XX")}
            << "ventrolux-cli: --dataset : jeu de données inconnu « 9:XX »";
        QTest::newRow("bad kind") << QStringList{QStringLiteral("industry-report"),
                                                 QStringLiteral("--dataset"),
                                                 QStringLiteral("3:NS"),
                                                 QStringLiteral("--naics"),
                                                 QStringLiteral("1"),
                                                 QStringLiteral("--kind"),
                                                 QStringLiteral("com"),
                                                 QStringLiteral("--lang"),
                                                 QStringLiteral("F")}
                                  << "ventrolux-cli: --kind : doit valoir rat ou bal, pas « com »";
    }
    void usageErrorsInFrench() {
        QFETCH(QStringList, args);
        QFETCH(QString, message);
        const Result r = run(args);
        QCOMPARE(r.status, 2);
        QVERIFY2(r.err.startsWith(message), qPrintable(r.err));
        QVERIFY(r.err.contains(
            QStringLiteral("utilisation : ventrolux-cli [--data-dir DIR] datasets [--lang E|F]")));
        QVERIFY(!r.err.contains(QStringLiteral("required")));
        QVERIFY(r.out.isEmpty());
    }

    void unknownParserWordsKeepTheirDetail() {
        // A parser message no pattern knows keeps its words, after a French lead.
        QCOMPARE(cli::usageErrorText(QStringLiteral("Something odd"), Language::F),
                 QStringLiteral("erreur d'utilisation : Something odd"));
        QCOMPARE(cli::usageErrorText(QStringLiteral("Something odd"), Language::E),
                 QStringLiteral("Something odd"));
        // A captured "%2" is not filled a second time.
        QCOMPARE(
            cli::usageErrorText(QStringLiteral("The following argument was not expected: %2"), Language::F),
            QStringLiteral("argument inattendu : %2"));
    }

    void everyTextHasBothLanguages() {
        for (int i = 0; i < static_cast<int>(cli::Text::Count); ++i) {
            const auto id = static_cast<cli::Text>(i);
            QVERIFY2(!cli::text(id, Language::E).isEmpty(), qPrintable(QString::number(i)));
            QVERIFY2(!cli::text(id, Language::F).isEmpty(), qPrintable(QString::number(i)));
        }
        QCOMPARE(cli::fill(QStringLiteral("%1 and %2"), {QStringLiteral("50%2"), QStringLiteral("b")}),
                 QStringLiteral("50%2 and b"));
    }

    void helpAndVersion_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("expected");
        const QString compareSynopsis =
            QStringLiteral("ventrolux-cli [--data-dir DIR] compare --dataset DS --naics CODE --firm FILE "
                           "[--lang E|F] [--pdf OUT.pdf] [--html OUT.html]");
        QTest::newRow("--help") << QStringList{QStringLiteral("--help")} << compareSynopsis;
        QTest::newRow("-h") << QStringList{QStringLiteral("-h")} << compareSynopsis;
        QTest::newRow("help lists the commands")
            << QStringList{QStringLiteral("--help")} << "industry-report";
        QTest::newRow("help of a command")
            << QStringList{QStringLiteral("compare"), QStringLiteral("--help")} << "--firm FILE";
        QTest::newRow("help in French")
            << QStringList{QStringLiteral("--lang"), QStringLiteral("F"), QStringLiteral("--help")}
            << "utilisation : ventrolux-cli";
        QTest::newRow("help of a command in French")
            << QStringList{QStringLiteral("industries"), QStringLiteral("--lang"), QStringLiteral("F"),
                           QStringLiteral("-h")}
            << "Seulement les industries dont le titre contient ce texte";
        QTest::newRow("--version") << QStringList{QStringLiteral("--version")}
                                   << QStringLiteral("ventrolux-cli " VENTROLUX_PROJECT_VERSION "\n");
    }
    void helpAndVersion() {
        QFETCH(QStringList, args);
        QFETCH(QString, expected);
        const Result r = runRaw(args);
        QCOMPARE(r.status, 0);
        QVERIFY2(r.out.contains(expected), qPrintable(r.out));
        QVERIFY2(r.err.isEmpty(), qPrintable(r.err));
    }

    void versionIsTheWholeOutput() {
        const Result r = runRaw({QStringLiteral("--version")});
        QCOMPARE(r.out, QStringLiteral("ventrolux-cli " VENTROLUX_PROJECT_VERSION "\n"));
        QVERIFY(QRegularExpression(QStringLiteral("^ventrolux-cli \\d+\\.\\d+")).match(r.out).hasMatch());
    }

    void optionsOfTheWholeToolGoEitherSide() {
        // --data-dir after the command, --lang before it.
        const Result r = runRaw({QStringLiteral("--lang"), QStringLiteral("F"), QStringLiteral("datasets"),
                                 QStringLiteral("--data-dir"), dir->path()});
        QCOMPARE(r.status, 0);
        QVERIFY(r.out.contains(QStringLiteral("Nouvelle-Écosse")));
        // A repeated option takes its last value.
        const Result last = run({QStringLiteral("datasets"), QStringLiteral("--lang"), QStringLiteral("F"),
                                 QStringLiteral("--lang"), QStringLiteral("E")});
        QCOMPARE(last.status, 0);
        QVERIFY(last.out.contains(QStringLiteral("\tNova Scotia\n")));
    }

    // --- Datasets and industries ---

    void datasetsListsAllNineteen_data() {
        QTest::addColumn<QString>("lang");
        QTest::addColumn<QString>("novaScotia");
        QTest::newRow("English") << "E"
                                 << "Nova Scotia";
        QTest::newRow("French") << "F"
                                << "Nouvelle-Écosse";
    }
    void datasetsListsAllNineteen() {
        QFETCH(QString, lang);
        QFETCH(QString, novaScotia);
        const Result r = run({QStringLiteral("datasets"), QStringLiteral("--lang"), lang});
        QCOMPARE(r.status, 0);
        const QStringList lines = r.out.split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 19);
        QCOMPARE(lines[4], QStringLiteral("optNovaScotia\t3\tNS\tZEBRO_Vol3_NS_2011_Final_Ratios\t") +
                               lines[4].section(u'\t', 4, 4) + u'\t' + novaScotia);
        const QString nunavut = lines.filter(QStringLiteral("optNunavut")).value(0);
        QCOMPARE(nunavut.section(u'\t', 4, 4), QStringLiteral("0"));
        QVERIFY(QFile::exists(dir->path() + QStringLiteral("/myData.db")));
    }

    void industriesAndKeywords() {
        const Result all =
            run({QStringLiteral("industries"), QStringLiteral("--dataset"), QStringLiteral("optNovaScotia")});
        QCOMPARE(all.status, 0);
        const QStringList lines = all.out.split(u'\n', Qt::SkipEmptyParts);
        QVERIFY(lines.size() > 20);
        QCOMPARE(lines.first().count(u'\t'), 2);
        const Result same =
            run({QStringLiteral("industries"), QStringLiteral("--dataset"), QStringLiteral("3:ns")});
        QCOMPARE(same.out, all.out);

        const Result store =
            run({QStringLiteral("industries"), QStringLiteral("--dataset"), QStringLiteral("3:ALL"),
                 QStringLiteral("--keyword"), QStringLiteral("STORES")});
        QCOMPARE(store.status, 0);
        const QStringList found = store.out.split(u'\n', Qt::SkipEmptyParts);
        QVERIFY(!found.isEmpty());
        for (const QString& l : found)
            QVERIFY(l.section(u'\t', 1, 1).contains(QStringLiteral("stores"), Qt::CaseInsensitive));

        const Result apostrophe = run({QStringLiteral("industries"), QStringLiteral("--dataset"),
                                       QStringLiteral("3:ALL"), QStringLiteral("--lang"), QStringLiteral("F"),
                                       QStringLiteral("--keyword"), QStringLiteral("d'")});
        QCOMPARE(apostrophe.status, 0);
        QVERIFY(!apostrophe.out.isEmpty());
    }

    void datasetsMarksAMissingTable_data() {
        QTest::addColumn<QString>("lang");
        QTest::addColumn<QString>("mark");
        QTest::newRow("English") << "E"
                                 << "missing";
        QTest::newRow("French") << "F"
                                << "absente";
    }
    void datasetsMarksAMissingTable() {
        QFETCH(QString, lang);
        QFETCH(QString, mark);
        dropReferenceTable(QStringLiteral("ZEBRO_Vol3_NS_2011_Final_Ratios"));
        const Result r = run({QStringLiteral("datasets"), QStringLiteral("--lang"), lang});
        QCOMPARE(r.status, 0);
        QVERIFY2(r.err.isEmpty(), qPrintable(r.err));
        const QStringList lines = r.out.split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 19);
        for (const QString& line : lines) {
            const QString count = line.section(u'\t', 4, 4);
            if (line.startsWith(QLatin1String("optNovaScotia\t")))
                QCOMPARE(count, mark);
            else
                QVERIFY2(QRegularExpression(QStringLiteral("^\\d+$")).match(count).hasMatch(),
                         qPrintable(line));
        }
    }

    void commandsRefuseADatasetWithoutItsTable_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("lang");
        QTest::addColumn<QString>("words");
        const QStringList industries{QStringLiteral("industries"), QStringLiteral("--dataset"),
                                     QStringLiteral("3:NS")};
        const QStringList report{QStringLiteral("industry-report"),
                                 QStringLiteral("--dataset"),
                                 QStringLiteral("optNovaScotia"),
                                 QStringLiteral("--naics"),
                                 QStringLiteral("448140"),
                                 QStringLiteral("--kind"),
                                 QStringLiteral("bal")};
        QTest::newRow("industries") << industries << "E"
                                    << "is missing";
        QTest::newRow("industries in French") << industries << "F"
                                              << "manque";
        QTest::newRow("industry report") << report << "E"
                                         << "is missing";
        QTest::newRow("compare") << QStringList{QStringLiteral("compare"), QStringLiteral("--dataset"),
                                                QStringLiteral("3:NS"),    QStringLiteral("--naics"),
                                                QStringLiteral("448140"),  QStringLiteral("--firm"),
                                                example("firm.json")}
                                 << "E"
                                 << "is missing";
    }
    void commandsRefuseADatasetWithoutItsTable() {
        QFETCH(QStringList, args);
        QFETCH(QString, lang);
        QFETCH(QString, words);
        dropReferenceTable(QStringLiteral("ZEBRO_Vol3_NS_2011_Final_Ratios"));
        const Result r = run(args << QStringLiteral("--lang") << lang);
        QCOMPARE(r.status, 1);
        QVERIFY2(r.err.contains(QStringLiteral("ZEBRO_Vol3_NS_2011_Final_Ratios")), qPrintable(r.err));
        QVERIFY2(r.err.contains(words), qPrintable(r.err));
        QVERIFY2(!r.err.contains(QStringLiteral("Run-time error")), qPrintable(r.err));
        QVERIFY(r.out.isEmpty());
        // Another dataset is untouched.
        QCOMPARE(
            run({QStringLiteral("industries"), QStringLiteral("--dataset"), QStringLiteral("3:NB")}).status,
            0);
    }

    // --- Comparing a firm ---

    void compareFillsTheReportTables_data() {
        QTest::addColumn<QString>("lang");
        QTest::addColumn<QString>("year"); // as the file writes it
        QTest::addColumn<int>("stored");
        QTest::newRow("English 2011") << "E"
                                      << "2011" << 2011;
        QTest::newRow("French 2009") << "F"
                                     << "2009" << 2009;
        QTest::newRow("year as a text") << "E"
                                        << "\" 2010 \"" << 2010;
    }
    void compareFillsTheReportTables() {
        QFETCH(QString, lang);
        QFETCH(QString, year);
        QFETCH(int, stored);
        const QString naics = completeIndustry(QStringLiteral("QC"));
        QVERIFY(!naics.isEmpty());
        const QString firm = writeFirm(firmJson(QStringLiteral("O'Brien Ltd."), year));
        const Result r = compareFile(QStringLiteral("optQuebec"), naics, firm, lang);
        QCOMPARE(r.status, 0);
        QVERIFY2(r.err.isEmpty(), qPrintable(r.err));
        QCOMPARE(userValue(QStringLiteral("select MyFirmName from Rpt_Comparison")).toString(),
                 QStringLiteral("O'Brien Ltd."));
        QCOMPARE(userValue(QStringLiteral("select MyYear from Rpt_Comparison")).toInt(), stored);
        QCOMPARE(userValue(QStringLiteral("select MyNPM from Rpt_Comparison")).toDouble(), 4.0);
        QCOMPARE(userValue(QStringLiteral("select MyTa from Rpt_Comparison")).toDouble(), 100.0);
        QCOMPARE(userValue(QStringLiteral("select Language from Rpt_Comparison_Titles")).toString(), lang);
    }

    // A layout file missing or damaged refuses the report, naming the file and what to
    // do, in the chosen language; nothing is written.
    void damagedLayoutFileRefusesTheReport_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("layout");
        QTest::addColumn<QByteArray>("content"); // empty: no file
        QTest::addColumn<QString>("advice");
        QTest::newRow("compare, layout missing")
            << QStringList{"compare", "--dataset", "optQuebec", "--firm", "FIRM",
                           "--pdf",   "OUT",       "--lang",    "E"}
            << "rpt_Comparison.json" << QByteArray() << "Reinstall Ventrolux";
        QTest::newRow("industry report, layout not JSON, French")
            << QStringList{"industry-report", "--dataset", "optQuebec", "--kind", "rat",
                           "--html",          "OUT",       "--lang",    "F"}
            << "rpt_Ratios.json" << QByteArray("{\"title\": [") << QString::fromUtf8("Réinstallez Ventrolux");
    }
    void damagedLayoutFileRefusesTheReport() {
        QFETCH(QStringList, args);
        QFETCH(QString, layout);
        QFETCH(QByteArray, content);
        QFETCH(QString, advice);
        const QString naics = completeIndustry(QStringLiteral("QC"));
        const QString out = dir->path() + QStringLiteral("/report.out");
        args.replaceInStrings(QStringLiteral("FIRM"), writeFirm(firmJson(QStringLiteral("Acme"), "2011")));
        args.replaceInStrings(QStringLiteral("OUT"), out);
        args << QStringLiteral("--naics") << naics;
        QVERIFY(QDir(dir->path()).mkpath(QStringLiteral("layouts/reports")));
        const QString path = dir->path() + QStringLiteral("/layouts/reports/") + layout;
        if (!content.isEmpty()) writeFile(QStringLiteral("layouts/reports/") + layout, content);
        programfiles::setResourceDirectory(dir->path() + QStringLiteral("/layouts"));
        const Result r = run(args);
        programfiles::setResourceDirectory(QStringLiteral(VENTROLUX_TEST_BIN_DIR));
        QCOMPARE(r.status, 1);
        QVERIFY2(r.err.contains(path) && r.err.contains(advice), qPrintable(r.err));
        QVERIFY2(!r.err.contains(QLatin1String("Run-time error")), qPrintable(r.err));
        QVERIFY(!QFile::exists(out));
    }

    void compareRefusals_data() {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<QString>("lang");
        QTest::addColumn<QString>("message");
        QTest::newRow("year") << QByteArray(
                                     "{\"FirmName\": \"A\", \"Year\": 2012, \"Cash\": 5, \"ShareC\": 5}")
                              << "E" << kInvalidYearEnglish;
        QTest::newRow("balance") << QByteArray(
                                        "{\"FirmName\": \"A\", \"Year\": 2011, \"Cash\": 5, \"ShareC\": 4}")
                                 << "F"
                                 << "Total, Actifs n'égal pas le Total, Passifs et Capitaux Propres";
        QTest::newRow("name") << QByteArray("{\"Year\": 2011, \"Cash\": 5, \"ShareC\": 5}") << "E"
                              << "Please enter an enterprise name";
        QTest::newRow("values") << QByteArray("{\"FirmName\": \"A\", \"Year\": \"2011\"}") << "E"
                                << "Please enter your enterprise values";
        QTest::newRow("out of range") << QByteArray("{\"FirmName\": \"A\", \"Cash\": 1E+20}") << "E"
                                      << "Please enter a number";
        QTest::newRow("out of range in French") << QByteArray("{\"FirmName\": \"A\", \"Cash\": 1E+20}") << "F"
                                                << "Veuillez entrer un chiffre";
    }
    void compareRefusals() {
        QFETCH(QByteArray, json);
        QFETCH(QString, lang);
        QFETCH(QString, message);
        const QString naics = firstIndustry(QStringLiteral("optOntario"));
        const Result r = compareFile(QStringLiteral("optOntario"), naics, writeFirm(json), lang);
        QCOMPARE(r.status, 1);
        QCOMPARE(r.err.trimmed(), message);
    }

    void yearsOtherThanTheThreeAreRefused_data() {
        QTest::addColumn<QString>("year"); // the JSON text of the year
        QTest::addColumn<QString>("lang");
        QTest::addColumn<QString>("message");
        QTest::newRow("three digits") << "\"201\""
                                      << "E" << kInvalidYearEnglish;
        QTest::newRow("five digits") << "\"20100\""
                                     << "E" << kInvalidYearEnglish;
        QTest::newRow("negative exponent") << "\"2010E-1\""
                                           << "E" << kInvalidYearEnglish;
        QTest::newRow("large exponent") << "\"2010e5\""
                                        << "F" << kInvalidYearFrench;
        QTest::newRow("huge number") << "\"99999999999999999999\""
                                     << "E" << kInvalidYearEnglish;
        QTest::newRow("fraction") << "2010.5"
                                  << "F" << kInvalidYearFrench;
        QTest::newRow("with text") << "\"2010 est.\""
                                   << "E" << kInvalidYearEnglish;
        QTest::newRow("empty") << "\"\""
                               << "E" << kInvalidYearEnglish;
        QTest::newRow("after the three") << "2012"
                                         << "F" << kInvalidYearFrench;
    }
    void yearsOtherThanTheThreeAreRefused() {
        QFETCH(QString, year);
        QFETCH(QString, lang);
        QFETCH(QString, message);
        const QString naics = completeIndustry(QStringLiteral("QC"));
        const Result r =
            compareFile(QStringLiteral("3:QC"), naics, writeFirm(firmJson(QStringLiteral("A"), year)), lang);
        QCOMPARE(r.status, 1);
        QCOMPARE(r.err.trimmed(), message);
        QVERIFY(r.out.isEmpty());
    }

    void firmFileValuesAreStrict_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("lang");
        QTest::addColumn<QStringList>("words");
        QTest::newRow("thousands separators in JSON")
            << "firm.json"
            << firmJson(QStringLiteral("A"), QStringLiteral("2011"),
                        QStringLiteral(", \"Ta\": \"1,500,000\""))
            << "E"
            << QStringList{QStringLiteral("Ta"), QStringLiteral("\"1,500,000\""),
                           QStringLiteral("not a plain decimal number")};
        QTest::newRow("plus sign in JSON")
            << "firm.json" << QByteArray("{\"FirmName\": \"A\", \"Year\": 2011, \"Cash\": \"+1500000\"}")
            << "E" << QStringList{QStringLiteral("Cash"), QStringLiteral("\"+1500000\"")};
        QTest::newRow("thousands separators in CSV")
            << "firm.csv" << QByteArray("FirmName,Year,Cash,ShareC\nA,2011,\"1,500,000\",1500000\n") << "E"
            << QStringList{QStringLiteral("Cash"), QStringLiteral("\"1,500,000\"")};
        QTest::newRow("in French") << "firm.csv" << QByteArray("FirmName,Year,Inv\nA,2011,12 abc\n") << "F"
                                   << QStringList{QStringLiteral("Inv"), QStringLiteral("« 12 abc »"),
                                                  QStringLiteral("n'est pas un nombre décimal simple")};
        QTest::newRow("JSON array") << "firm.json" << QByteArray("[{\"FirmName\": \"A\"}]") << "E"
                                    << QStringList{QStringLiteral("a firm file is one JSON object"),
                                                   QStringLiteral("a JSON array")};
        QTest::newRow("JSON array in French")
            << "firm.json" << QByteArray("[]") << "F"
            << QStringList{QStringLiteral("un seul objet JSON"), QStringLiteral("un tableau JSON")};
        QTest::newRow("broken JSON") << "firm.json" << QByteArray("{\"FirmName\": ") << "E"
                                     << QStringList{QStringLiteral("is not valid JSON")};
        QTest::newRow("unknown key") << "firm.json" << QByteArray("{\"Cashh\": 1}") << "E"
                                     << QStringList{QStringLiteral("'Cashh'")};
        QTest::newRow("header only") << "firm.csv" << QByteArray("FirmName,Year\n") << "E"
                                     << QStringList{QStringLiteral("needs a header row and a data row")};
    }
    void firmFileValuesAreStrict() {
        QFETCH(QString, name);
        QFETCH(QByteArray, content);
        QFETCH(QString, lang);
        QFETCH(QStringList, words);
        const QString path = writeFile(name, content);
        const Result r =
            compareFile(QStringLiteral("3:ALL"), completeIndustry(QStringLiteral("ALL")), path, lang);
        QCOMPARE(r.status, 1);
        QVERIFY2(r.err.contains(path), qPrintable(r.err));
        for (const QString& w : words)
            QVERIFY2(r.err.contains(w), qPrintable(r.err));
        QVERIFY(r.out.isEmpty());
        // The file is refused before any database is opened.
        QVERIFY(!QFile::exists(dir->path() + QStringLiteral("/myData.db")));
    }

    void compareWithoutDataForTheYear() {
        // Nova Scotia holds an industry without figures for 2010.
        Connection cn;
        ConnectToFile(cn, dir->path() + QStringLiteral("/KLV_DATA.db"), QStringLiteral("unknown"), ReadOnly);
        RecordsetPtr rs = GetRS(
            cn,
            QStringLiteral("select NAICS from ZEBRO_Vol3_NS_2010_Final_Ratios where NumberOfFirms is null"),
            QStringLiteral("read"));
        QVERIFY(!rs->eof());
        const QString naics = rs->field(0).toString();
        DisconnectFromDB(cn);
        const Result r =
            compareFile(QStringLiteral("3:NS"), naics, writeFirm(firmJson(QStringLiteral("A"), 2010)));
        QCOMPARE(r.status, 1);
        QCOMPARE(r.err.trimmed(), QStringLiteral("This industry has no data for 2010"));
    }

    void unknownIndustryIsARefusal_data() {
        QTest::addColumn<QString>("lang");
        QTest::addColumn<QString>("words");
        QTest::newRow("English") << "E"
                                 << "has no industry 999999";
        QTest::newRow("French") << "F"
                                << "n'a pas d'industrie 999999";
    }
    void unknownIndustryIsARefusal() {
        QFETCH(QString, lang);
        QFETCH(QString, words);
        const Result r = compareFile(QStringLiteral("3:NS"), QStringLiteral("999999"),
                                     writeFirm(firmJson(QStringLiteral("A"), 2011)), lang);
        QCOMPARE(r.status, 1);
        QVERIFY2(r.err.contains(words), qPrintable(r.err));
        QVERIFY(!r.err.contains(QStringLiteral("usage")));
        const Result report =
            run({QStringLiteral("industry-report"), QStringLiteral("--dataset"), QStringLiteral("3:NS"),
                 QStringLiteral("--naics"), QStringLiteral("999999"), QStringLiteral("--kind"),
                 QStringLiteral("rat"), QStringLiteral("--lang"), lang});
        QCOMPARE(report.status, 1);
        QVERIFY(report.err.contains(words));
    }

    void missingFirmFileIsAUsageError() {
        const Result missing = compareFile(QStringLiteral("3:NS"), QStringLiteral("448140"),
                                           dir->path() + QStringLiteral("/none.json"));
        QCOMPARE(missing.status, 2);
        QVERIFY(missing.err.contains(QStringLiteral("cannot read the firm file")));
    }

    void firmFileIndustryMustAgree() {
        const Result r = compareFile(QStringLiteral("3:NS"), QStringLiteral("448110"), example("firm.json"));
        QCOMPARE(r.status, 1);
        QVERIFY2(r.err.contains(QStringLiteral("448140")) && r.err.contains(QStringLiteral("448110")),
                 qPrintable(r.err));
    }

    void missingReferenceDatabase() {
        QFile::remove(dir->path() + QStringLiteral("/KLV_DATA.db"));
        const Result r = run({QStringLiteral("datasets")});
        QCOMPARE(r.status, 1);
        QVERIFY(r.err.contains(QStringLiteral("KLV_DATA.db")));
    }

    // --- The example files ---

    void readmeCompareExampleRuns() {
        const QString pdf = dir->path() + QStringLiteral("/report.pdf");
        const Result r = run({QStringLiteral("compare"), QStringLiteral("--dataset"), QStringLiteral("3:NS"),
                              QStringLiteral("--naics"), QStringLiteral("448140"), QStringLiteral("--firm"),
                              example("firm.json"), QStringLiteral("--pdf"), pdf});
        QCOMPARE(r.status, 0);
        QVERIFY2(r.err.isEmpty(), qPrintable(r.err));
        QVERIFY(QFileInfo(pdf).size() > 0);
        QCOMPARE(userValue(QStringLiteral("select MyFirmName from Rpt_Comparison")).toString(),
                 QStringLiteral("Maritime Family Outfitters Ltd."));
    }

    void jsonAndCsvExamplesGiveTheSameReport() {
        const QString naics = QStringLiteral("448140");
        const QString htmlJson = dir->path() + QStringLiteral("/json.html");
        const QString htmlCsv = dir->path() + QStringLiteral("/csv.html");
        const QStringList common{QStringLiteral("compare"),
                                 QStringLiteral("--dataset"),
                                 QStringLiteral("3:NS"),
                                 QStringLiteral("--naics"),
                                 naics,
                                 QStringLiteral("--firm")};
        QCOMPARE(
            run(QStringList(common) << example("firm.json") << QStringLiteral("--html") << htmlJson).status,
            0);
        const QStringList fromJson = comparisonRow();
        QCOMPARE(
            run(QStringList(common) << example("firm.csv") << QStringLiteral("--html") << htmlCsv).status, 0);
        const QStringList fromCsv = comparisonRow();
        QVERIFY(!fromJson.isEmpty());
        QCOMPARE(fromCsv, fromJson);
        QFile a(htmlJson), b(htmlCsv);
        QVERIFY(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly));
        QCOMPARE(b.readAll(), a.readAll());
    }

    void clientListFirstFirmAndTheUnbalancedOne() {
        QFile f(example("clients.csv"));
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QList<QByteArray> lines = f.readAll().split('\n');
        // The list read as one firm file: its first client.
        const QString first = QString::fromUtf8(lines[1]).section(u',', 2, 2);
        QCOMPARE(run({QStringLiteral("compare"), QStringLiteral("--dataset"), QStringLiteral("3:ALL"),
                      QStringLiteral("--naics"), first, QStringLiteral("--firm"), example("clients.csv")})
                     .status,
                 0);
        // The one client whose books do not balance is refused as the screen refuses it.
        QByteArray unbalanced;
        for (const QByteArray& l : lines)
            if (l.startsWith("Atlantic Plumbing & Heating Ltd.,")) unbalanced = l;
        QVERIFY(!unbalanced.isEmpty());
        const QString path = writeFile(QStringLiteral("one.csv"), lines[0] + '\n' + unbalanced + '\n');
        const Result r =
            compareFile(QStringLiteral("3:ALL"), QString::fromUtf8(unbalanced).section(u',', 2, 2), path);
        QCOMPARE(r.status, 1);
        QCOMPARE(r.err.trimmed(),
                 QStringLiteral("Total Assets is not equal Total Liabilities and Shareholders' Equity"));
    }

    // --- Rendering ---

    void reportsAsPdfAndHtml_data() {
        QTest::addColumn<QStringList>("command");
        QTest::addColumn<QString>("lang");
        QTest::addColumn<QString>("expected");
        QTest::newRow("ratios English")
            << QStringList{QStringLiteral("industry-report"), QStringLiteral("--kind"), QStringLiteral("rat")}
            << "E"
            << "Net profit margin";
        QTest::newRow("balance sheet French")
            << QStringList{QStringLiteral("industry-report"), QStringLiteral("--kind"), QStringLiteral("bal")}
            << "F"
            << "Encaisse et dépôts";
        QTest::newRow("comparison French") << QStringList{QStringLiteral("compare")} << "F"
                                           << "Marge bénéficiaire nette";
    }
    void reportsAsPdfAndHtml() {
        QFETCH(QStringList, command);
        QFETCH(QString, lang);
        QFETCH(QString, expected);
        const QString naics = completeIndustry(QStringLiteral("ALL"));
        const QString pdf = dir->path() + QStringLiteral("/out.pdf");
        const QString html = dir->path() + QStringLiteral("/out.html");
        QStringList args = command;
        args << QStringLiteral("--dataset") << QStringLiteral("3:ALL") << QStringLiteral("--naics") << naics
             << QStringLiteral("--lang") << lang << QStringLiteral("--pdf") << pdf << QStringLiteral("--html")
             << html;
        if (command.first() == QLatin1String("compare"))
            args << QStringLiteral("--firm") << writeFirm(firmJson(QStringLiteral("Durand et fils"), 2011));
        const Result r = run(args);
        QCOMPARE(r.status, 0);
        QProcess text;
        text.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
        QVERIFY(text.waitForFinished(60000));
        const QString pdfText = QString::fromUtf8(text.readAllStandardOutput());
        QVERIFY2(pdfText.contains(expected), qPrintable(pdfText.left(2000)));
        QFile h(html);
        QVERIFY(h.open(QIODevice::ReadOnly));
        QVERIFY(QString::fromUtf8(h.readAll()).contains(expected.toHtmlEscaped()));
    }
};

QTEST_MAIN(TestCli)
#include "test_cli.moc"
