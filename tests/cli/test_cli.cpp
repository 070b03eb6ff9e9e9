// The command-line tool, run in-process on copies of the sample data.

#include "data/ProgramFiles.h"
#include "cli/CliCommands.h"
#include "data/Catalogue.h"
#include "data/DBTools.h"
#include "support/SampleData.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {

struct Result {
    int status;
    QString out;
    QString err;
};

} // namespace

class TestCli : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir;

    Result run(QStringList args) {
        args.prepend(dir->path());
        args.prepend(QStringLiteral("--data-dir"));
        QString out, err;
        QTextStream o(&out), e(&err);
        const int status = cli::run(args, o, e);
        return {status, out, err};
    }

    QString writeFirm(const QByteArray& json) {
        const QString path = dir->path() + QStringLiteral("/firm.json");
        QFile f(path);
        f.open(QIODevice::WriteOnly | QIODevice::Truncate);
        f.write(json);
        return path;
    }

    // A balanced small firm.
    QByteArray firmJson(const QString& name, int year, const QString& extra = QString()) {
        return QStringLiteral("{\"FirmName\": \"%1\", \"Year\": %2, \"Cash\": 50000, \"Ar\": 80000, \"Inv\": 120000, \"CA\": 200000, "
"            \"OA\": 10000, \"Invest\": 20000, \"Ptfl\": 20000, \"OperatingRevenue\": 1000000, \"Sales\": 950000, \"GrossProfit\": 300000, "
"            \"OperatingProfit\": 60000, \"InterestExpense\": 10000, \"PretaxProfit\": 50000, \"ProfitAfterTax\": 40000, "
"            \"AccountsPayable\": 100000, \"Paper\": 10000, \"Mtg\": 100000, \"Bonds\": 0, \"Ol\": 40000, \"AmtsAffil\": 10000, "
"            \"OLiab\": 15000, \"DefTax\": 5000, \"ShareC\": 100000, \"RetEarn\": 110000, \"OtherSur\": 10000, "
"            \"CurrentAssets\": 260000, \"CurrentLiabilities\": 130000 %3}")
            .arg(name)
            .arg(year)
            .arg(extra)
            .toUtf8();
    }

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

private slots:
    void init() {
        dir = std::make_unique<QTemporaryDir>();
        QVERIFY(QFile::copy(QStringLiteral(VENTROLUX_TEST_BIN_DIR "/KLV_DATA.db"), dir->path() + QStringLiteral("/KLV_DATA.db")));
        // The report layouts are in the build's program directory, not beside the test.
        programfiles::setResourceDirectory(QStringLiteral(VENTROLUX_TEST_BIN_DIR));
    }

    void usageErrors_data() {
        QTest::addColumn<QStringList>("args");
        QTest::newRow("no command") << QStringList{};
        QTest::newRow("unknown command") << QStringList{QStringLiteral("frobnicate")};
        QTest::newRow("unknown option") << QStringList{QStringLiteral("datasets"), QStringLiteral("--colour"), QStringLiteral("x")};
        QTest::newRow("missing value") << QStringList{QStringLiteral("industries"), QStringLiteral("--dataset")};
        QTest::newRow("missing dataset") << QStringList{QStringLiteral("industries")};
        QTest::newRow("bad language") << QStringList{QStringLiteral("datasets"), QStringLiteral("--lang"), QStringLiteral("D")};
        QTest::newRow("unknown dataset") << QStringList{QStringLiteral("industries"), QStringLiteral("--dataset"), QStringLiteral("4:NS")};
        QTest::newRow("region of volume 1") << QStringList{QStringLiteral("industries"), QStringLiteral("--dataset"), QStringLiteral("1:NS")};
        QTest::newRow("bad kind") << QStringList{QStringLiteral("industry-report"), QStringLiteral("--dataset"), QStringLiteral("3:NS"),
                                                 QStringLiteral("--naics"), QStringLiteral("1"), QStringLiteral("--kind"), QStringLiteral("com")};
        QTest::newRow("option of another command")
            << QStringList{QStringLiteral("datasets"), QStringLiteral("--keyword"), QStringLiteral("bank")};
    }
    void usageErrors() {
        QFETCH(QStringList, args);
        const Result r = run(args);
        QCOMPARE(r.status, 2);
        QVERIFY(r.err.contains(QStringLiteral("usage: ventrolux-cli")));
        QVERIFY(r.out.isEmpty());
    }

    void datasetsListsAllNineteen_data() {
        QTest::addColumn<QString>("lang");
        QTest::addColumn<QString>("novaScotia");
        QTest::newRow("English") << "E" << "Nova Scotia";
        QTest::newRow("French") << "F" << "Nouvelle-Écosse";
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
        const Result all = run({QStringLiteral("industries"), QStringLiteral("--dataset"), QStringLiteral("optNovaScotia")});
        QCOMPARE(all.status, 0);
        const QStringList lines = all.out.split(u'\n', Qt::SkipEmptyParts);
        QVERIFY(lines.size() > 20);
        QCOMPARE(lines.first().count(u'\t'), 2);
        const Result same = run({QStringLiteral("industries"), QStringLiteral("--dataset"), QStringLiteral("3:ns")});
        QCOMPARE(same.out, all.out);

        const Result store = run({QStringLiteral("industries"), QStringLiteral("--dataset"), QStringLiteral("3:ALL"),
                                  QStringLiteral("--keyword"), QStringLiteral("STORES")});
        QCOMPARE(store.status, 0);
        const QStringList found = store.out.split(u'\n', Qt::SkipEmptyParts);
        QVERIFY(!found.isEmpty());
        for (const QString& l : found) QVERIFY(l.section(u'\t', 1, 1).contains(QStringLiteral("stores"), Qt::CaseInsensitive));

        const Result apostrophe = run({QStringLiteral("industries"), QStringLiteral("--dataset"), QStringLiteral("3:ALL"),
                                       QStringLiteral("--lang"), QStringLiteral("F"), QStringLiteral("--keyword"), QStringLiteral("d'")});
        QCOMPARE(apostrophe.status, 0);
        QVERIFY(!apostrophe.out.isEmpty());
    }

    void compareFillsTheReportTables_data() {
        QTest::addColumn<QString>("lang");
        QTest::addColumn<int>("year");
        QTest::newRow("English 2011") << "E" << 2011;
        QTest::newRow("French 2009") << "F" << 2009;
    }
    void compareFillsTheReportTables() {
        QFETCH(QString, lang);
        QFETCH(int, year);
        const QString naics = completeIndustry(QStringLiteral("QC"));
        QVERIFY(!naics.isEmpty());
        const QString firm = writeFirm(firmJson(QStringLiteral("O'Brien Ltd."), year));
        const Result r = run({QStringLiteral("compare"), QStringLiteral("--dataset"), QStringLiteral("optQuebec"), QStringLiteral("--naics"),
                              naics, QStringLiteral("--firm"), firm, QStringLiteral("--lang"), lang});
        QCOMPARE(r.status, 0);
        QVERIFY2(r.err.isEmpty(), qPrintable(r.err));
        QCOMPARE(userValue(QStringLiteral("select MyFirmName from Rpt_Comparison")).toString(), QStringLiteral("O'Brien Ltd."));
        QCOMPARE(userValue(QStringLiteral("select MyYear from Rpt_Comparison")).toInt(), year);
        QCOMPARE(userValue(QStringLiteral("select MyNPM from Rpt_Comparison")).toDouble(), 4.0);
        QCOMPARE(userValue(QStringLiteral("select MyTa from Rpt_Comparison")).toDouble(), 100.0);
        QCOMPARE(userValue(QStringLiteral("select Language from Rpt_Comparison_Titles")).toString(), lang);
    }

    void compareRefusals_data() {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<QString>("lang");
        QTest::addColumn<QString>("message");
        QTest::newRow("year") << QByteArray("{\"FirmName\": \"A\", \"Year\": 2012, \"Cash\": 5, \"ShareC\": 5}") << "E"
                              << "Invalid year.  Year must be between 2009 and 2011";
        QTest::newRow("balance") << QByteArray("{\"FirmName\": \"A\", \"Year\": 2011, \"Cash\": 5, \"ShareC\": 4}") << "F"
                                 << "Total, Actifs n'égal pas le Total, Passifs et Capitaux Propres";
        QTest::newRow("name") << QByteArray("{\"Year\": 2011, \"Cash\": 5, \"ShareC\": 5}") << "E" << "Please enter an enterprise name";
        QTest::newRow("values") << QByteArray("{\"FirmName\": \"A\", \"Year\": \"2011\"}") << "E" << "Please enter your enterprise values";
        QTest::newRow("out of range") << QByteArray("{\"FirmName\": \"A\", \"Cash\": \"1E+20\"}") << "E" << "Please enter a number";
    }
    void compareRefusals() {
        QFETCH(QByteArray, json);
        QFETCH(QString, lang);
        QFETCH(QString, message);
        const QString naics = firstIndustry(QStringLiteral("optOntario"));
        const Result r = run({QStringLiteral("compare"), QStringLiteral("--dataset"), QStringLiteral("optOntario"), QStringLiteral("--naics"),
                              naics, QStringLiteral("--firm"), writeFirm(json), QStringLiteral("--lang"), lang});
        QCOMPARE(r.status, 1);
        QCOMPARE(r.err.trimmed(), message);
    }

    void compareWithoutDataForTheYear() {
        // Nova Scotia holds an industry without figures for 2010.
        Connection cn;
        ConnectToFile(cn, dir->path() + QStringLiteral("/KLV_DATA.db"), QStringLiteral("unknown"), ReadOnly);
        RecordsetPtr rs = GetRS(cn, QStringLiteral("select NAICS from ZEBRO_Vol3_NS_2010_Final_Ratios where NumberOfFirms is null"),
                                QStringLiteral("read"));
        QVERIFY(!rs->eof());
        const QString naics = rs->field(0).toString();
        DisconnectFromDB(cn);
        const Result r = run({QStringLiteral("compare"), QStringLiteral("--dataset"), QStringLiteral("3:NS"), QStringLiteral("--naics"), naics,
                              QStringLiteral("--firm"), writeFirm(firmJson(QStringLiteral("A"), 2010))});
        QCOMPARE(r.status, 1);
        QCOMPARE(r.err.trimmed(), QStringLiteral("This industry has no data for 2010"));
    }

    void unknownIndustryOrFile() {
        const Result r = run({QStringLiteral("compare"), QStringLiteral("--dataset"), QStringLiteral("3:NS"), QStringLiteral("--naics"),
                              QStringLiteral("999999"), QStringLiteral("--firm"), writeFirm(firmJson(QStringLiteral("A"), 2011))});
        QCOMPARE(r.status, 2);
        QVERIFY(r.err.contains(QStringLiteral("999999")));
        const Result missing = run({QStringLiteral("compare"), QStringLiteral("--dataset"), QStringLiteral("3:NS"), QStringLiteral("--naics"),
                                    QStringLiteral("1"), QStringLiteral("--firm"), dir->path() + QStringLiteral("/none.json")});
        QCOMPARE(missing.status, 2);
    }

    void missingReferenceDatabase() {
        QFile::remove(dir->path() + QStringLiteral("/KLV_DATA.db"));
        const Result r = run({QStringLiteral("datasets")});
        QCOMPARE(r.status, 1);
        QVERIFY(r.err.contains(QStringLiteral("KLV_DATA.db")));
    }

    void reportsAsPdfAndHtml_data() {
        QTest::addColumn<QStringList>("command");
        QTest::addColumn<QString>("lang");
        QTest::addColumn<QString>("expected");
        QTest::newRow("ratios English") << QStringList{QStringLiteral("industry-report"), QStringLiteral("--kind"), QStringLiteral("rat")}
                                        << "E" << "Net profit margin";
        QTest::newRow("balance sheet French") << QStringList{QStringLiteral("industry-report"), QStringLiteral("--kind"), QStringLiteral("bal")}
                                              << "F" << "Encaisse et dépôts";
        QTest::newRow("comparison French") << QStringList{QStringLiteral("compare")} << "F" << "Marge bénéficiaire nette";
    }
    void reportsAsPdfAndHtml() {
        QFETCH(QStringList, command);
        QFETCH(QString, lang);
        QFETCH(QString, expected);
        const QString naics = completeIndustry(QStringLiteral("ALL"));
        const QString pdf = dir->path() + QStringLiteral("/out.pdf");
        const QString html = dir->path() + QStringLiteral("/out.html");
        QStringList args = command;
        args << QStringLiteral("--dataset") << QStringLiteral("3:ALL") << QStringLiteral("--naics") << naics << QStringLiteral("--lang") << lang
             << QStringLiteral("--pdf") << pdf << QStringLiteral("--html") << html;
        if (command.first() == QLatin1String("compare")) args << QStringLiteral("--firm") << writeFirm(firmJson(QStringLiteral("Durand et fils"), 2011));
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
