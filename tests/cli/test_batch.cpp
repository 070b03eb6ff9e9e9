// ventrolux-cli batch: a client list compared in one command, its summary checked against
// what compare stores for each firm, and the reports' file names.

#include "cli/CliSandbox.h"
#include "cli/ProgressLine.h"
#include "cli/ReportFileNames.h"
#include "data/CsvFile.h"

#include <QDir>
#include <QProcess>

namespace {

const QString kDataset = QStringLiteral("3:NS");
const QString kTable = QStringLiteral("ZEBRO_Vol3_NS_2011_Final_Ratios");

// The summary read back as rows of column name to text.
QList<QMap<QString, QString>> readSummary(const QString& path) {
    const csv::ReadResult r = csv::readFile(path);
    QList<QMap<QString, QString>> rows;
    if (!r.ok()) return rows;
    for (const csv::Record& record : r.table.records) {
        QMap<QString, QString> row;
        for (qsizetype i = 0; i < r.table.header.size(); ++i)
            row.insert(r.table.header[i], record.fields.value(i));
        rows << row;
    }
    return rows;
}

QStringList summaryHeader(const QString& path) {
    return csv::readFile(path).table.header;
}

// An industry of Nova Scotia without figures for 2010.
QString industryWithout2010(const CliSandbox& s) {
    return s
        .rows(QStringLiteral("select NAICS from ZEBRO_Vol3_NS_2010_Final_Ratios where NumberOfFirms is null"),
              QStringLiteral("KLV_DATA.db"))
        .value(0)
        .value(QStringLiteral("NAICS"))
        .toString();
}

QString pdfText(const QString& path) {
    QProcess text;
    text.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")});
    if (!text.waitForFinished(60000)) return QString();
    return QString::fromUtf8(text.readAllStandardOutput());
}

} // namespace

class TestBatch : public QObject {
    Q_OBJECT

    CliResult batch(const CliSandbox& s, const QString& firms, const QString& lang,
                    const QStringList& more = {}) {
        QStringList args{QStringLiteral("batch"),
                         QStringLiteral("--dataset"),
                         kDataset,
                         QStringLiteral("--firms"),
                         firms,
                         QStringLiteral("--out"),
                         s.file(QStringLiteral("out")),
                         QStringLiteral("--lang"),
                         lang};
        return s.run(args << more);
    }

private slots:
    void mixedListGivesEachFirmItsStatus_data() {
        QTest::addColumn<QString>("lang");
        QTest::addColumn<QStringList>("statuses"); // in the order of the rows below
        QTest::newRow("English")
            << "E"
            << QStringList{
                   "ok",
                   "ok",
                   "Total Assets is not equal Total Liabilities and Shareholders' Equity",
                   "Please enter your enterprise values",
                   "the dataset ZEBRO_Vol3_NS_2011_Final_Ratios has no industry 999999",
                   "This industry has no data for 2010",
                   "Invalid year.  Year must be between 2009 and 2011",
                   "Cash is not a plain decimal number: \"1,000\" (digits, an optional "
                   "leading '-' and an optional '.' with digits; no thousands separators)",
                   "ok",
               };
        QTest::newRow("French")
            << "F"
            << QStringList{
                   "ok",
                   "ok",
                   "Total, Actifs n'égal pas le Total, Passifs et Capitaux Propres",
                   "Veuillez entrer les données de votre entreprise",
                   "le jeu de données ZEBRO_Vol3_NS_2011_Final_Ratios n'a pas d'industrie "
                   "999999",
                   "Il n'y a pas de données pour cette industrie pour 2010",
                   "Année non valide.  L'année doit être centre 2009 et 2011",
                   "Cash n'est pas un nombre décimal simple : « 1,000 » (des chiffres, un « "
                   "- » initial facultatif et un « . » suivi de chiffres facultatif ; pas de "
                   "séparateur de milliers)",
                   "ok",
               };
    }
    void mixedListGivesEachFirmItsStatus() {
        QFETCH(QString, lang);
        QFETCH(QStringList, statuses);
        CliSandbox s;
        const QString complete = s.completeIndustry(QStringLiteral("NS"));
        const QString noData = industryWithout2010(s);
        QVERIFY(!complete.isEmpty() && !noData.isEmpty());
        // The last firm has no NAICS code of its own and takes --naics.
        const QList<QMap<QString, QString>> firms{
            balancedFirm("Balanced Ltd.", "2011", complete),
            balancedFirm("O'Brien & Fils", "2009", complete, {{"Cash", "62000.5"}, {"RetEarn", "122000.5"}}),
            balancedFirm("Unbalanced Ltd.", "2011", complete, {{"RetEarn", "100000"}}),
            QMap<QString, QString>{{"FirmName", "Zero Ltd."}, {"Year", "2011"}, {"NAICS", complete}},
            balancedFirm("Nowhere Ltd.", "2011", "999999"),
            balancedFirm("No Data Ltd.", "2010", noData),
            balancedFirm("Early Ltd.", "2008", complete),
            balancedFirm("Commas Ltd.", "2011", complete, {{"Cash", "1,000"}}),
            balancedFirm("Default Industry Ltd.", "2010", ""),
        };
        const QString list = s.write(QStringLiteral("clients.csv"), csvList(firms));
        const CliResult r = batch(s, list, lang, {QStringLiteral("--naics"), complete});
        QCOMPARE(r.status, 1); // some were refused
        QVERIFY2(r.err.isEmpty(), qPrintable(r.err));
        QVERIFY2(r.out.contains(QStringLiteral("summary.csv")), qPrintable(r.out));

        const QList<QMap<QString, QString>> summary = readSummary(s.file(QStringLiteral("out/summary.csv")));
        QCOMPARE(summary.size(), firms.size());
        for (qsizetype i = 0; i < firms.size(); ++i) {
            QCOMPARE(summary[i].value(QStringLiteral("FirmName")),
                     firms[i].value(QStringLiteral("FirmName")));
            QCOMPARE(summary[i].value(QStringLiteral("Year")), firms[i].value(QStringLiteral("Year")));
            QCOMPARE(summary[i].value(QStringLiteral("Status")), statuses[i]);
            // A refused firm has no figures.
            if (statuses[i] != QLatin1String("ok"))
                QVERIFY(summary[i].value(QStringLiteral("MyNPM")).isEmpty());
        }
        QCOMPARE(summary.last().value(QStringLiteral("NAICS")), complete);
        // The user's own database is not what a batch works in.
        QVERIFY(s.rows(QStringLiteral("select * from Rpt_Comparison")).isEmpty());
    }

    void summaryFiguresAreThoseOfCompare() {
        CliSandbox s;
        const QString complete = s.completeIndustry(QStringLiteral("NS"));
        const QList<QMap<QString, QString>> firms{
            balancedFirm("Balanced Ltd.", "2011", complete),
            balancedFirm(
                "Loss Ltd.", "2010", complete,
                {{"ProfitAfterTax", "-12345.67"}, {"PretaxProfit", "-10000"}, {"RetEarn", "110000"}}),
            // Negative equity and no interest: the special rules of the ratios.
            balancedFirm("Owing Ltd.", "2009", complete,
                         {{"ShareC", "1000"},
                          {"RetEarn", "-200000"},
                          {"OtherSur", "0"},
                          {"Mtg", "519000"},
                          {"InterestExpense", "0"}}),
        };
        const QString list = s.write(QStringLiteral("clients.csv"), csvList(firms));
        const CliResult r = batch(s, list, QStringLiteral("E"));
        QCOMPARE(r.status, 0);
        const QString summaryPath = s.file(QStringLiteral("out/summary.csv"));
        const QStringList header = summaryHeader(summaryPath);
        const QList<QMap<QString, QString>> summary = readSummary(summaryPath);
        QCOMPARE(summary.size(), firms.size());

        // Every numeric column of the comparison table is in the summary under its name.
        for (qsizetype i = 0; i < firms.size(); ++i) {
            QCOMPARE(summary[i].value(QStringLiteral("Status")), QStringLiteral("ok"));
            const QString one = s.write(QStringLiteral("one.csv"), csvList({firms[i]}));
            const CliResult c = s.run({QStringLiteral("compare"), QStringLiteral("--dataset"), kDataset,
                                       QStringLiteral("--naics"), complete, QStringLiteral("--firm"), one});
            QCOMPARE(c.status, 0);
            const QList<QVariantMap> stored = s.rows(QStringLiteral("select * from Rpt_Comparison"));
            QCOMPARE(stored.size(), 1);
            int compared = 0;
            for (auto it = stored[0].begin(); it != stored[0].end(); ++it) {
                const QString column = it.key();
                if (QStringList{"MyFirmName", "MyNAICS", "MyIndustry", "MyVol"}.contains(column)) continue;
                QVERIFY2(header.contains(column), qPrintable(column));
                const QString cell = summary[i].value(column);
                if (it.value().isNull()) {
                    QVERIFY2(cell.isEmpty(), qPrintable(column + u'=' + cell));
                    continue;
                }
                bool ok = false;
                const double figure = cell.toDouble(&ok);
                QVERIFY2(ok, qPrintable(column + u'=' + cell));
                QVERIFY2(figure == it.value().toDouble(),
                         qPrintable(QStringLiteral("%1: summary %2, compare %3")
                                        .arg(column, cell, QString::number(it.value().toDouble(), 'g', 17))));
                ++compared;
            }
            QVERIFY(compared > 150);
        }
        QCOMPARE(summary[2].value(QStringLiteral("MyROE")), QStringLiteral("0"));
        QCOMPARE(summary[2].value(QStringLiteral("MyIC")), QStringLiteral("0"));
        QVERIFY(summary[1].value(QStringLiteral("MyNPM")).toDouble() < 0);
    }

    // The summary says, per ratio, why a ratio has no amount to the median when it cannot be
    // ranked: a base (net operating assets, capital employed, equity) not above zero. Books
    // that balance to the cent at $89,959,722.34 are compared like any other.
    void notesSayWhyARatioIsNotRanked_data() {
        QTest::addColumn<QString>("lang");
        QTest::addColumn<QString>("notMeaningful");
        QTest::newRow("English") << "E"
                                 << "not meaningful";
        QTest::newRow("French") << "F"
                                << "non significatif";
    }
    void notesSayWhyARatioIsNotRanked() {
        QFETCH(QString, lang);
        QFETCH(QString, notMeaningful);
        CliSandbox s;
        const QString complete = s.completeIndustry(QStringLiteral("NS"));
        const QMap<QString, QString> cents{{"Cash", "14555990.41"},     {"Ar", "16179714.12"},
                                           {"Inv", "23866241.73"},      {"CA", "4529068.3"},
                                           {"OA", "17680028.7"},        {"Invest", "6358245.5"},
                                           {"Ptfl", "6790433.58"},      {"AccountsPayable", "6227329.05"},
                                           {"Paper", "3380959.55"},     {"Mtg", "215316.28"},
                                           {"Bonds", "4042815.78"},     {"Ol", "6326520.57"},
                                           {"AmtsAffil", "1430958.76"}, {"OLiab", "645109.57"},
                                           {"DefTax", "3569663.75"},    {"ShareC", "5006325.91"},
                                           {"RetEarn", "55325317.99"},  {"OtherSur", "3789405.13"}};
        const QList<QMap<QString, QString>> firms{
            balancedFirm(
                "Owing Ltd.", "2011", complete,
                {{"AccountsPayable", "500000"}, {"RetEarn", "-290000"}, {"OperatingProfit", "-30000"}}),
            balancedFirm("Large Ltd.", "2011", complete, cents)};
        const CliResult r = batch(s, s.write(QStringLiteral("clients.csv"), csvList(firms)), lang);
        QVERIFY2(r.status == 0, qPrintable(r.out + r.err));
        const auto summary = readSummary(s.file(QStringLiteral("out/summary.csv")));
        QCOMPARE(summary.size(), 2);
        for (const char* stem : {"ORTNOA", "RONOA", "RCE", "RE", "DE"}) {
            const QString note = summary[0].value(QStringLiteral("Note") + QLatin1String(stem));
            QVERIFY2(note.startsWith(notMeaningful), qPrintable(note));
            QVERIFY(summary[0].value(QStringLiteral("ToMedian") + QLatin1String(stem)).isEmpty());
            QVERIFY(summary[1].value(QStringLiteral("Note") + QLatin1String(stem)).isEmpty());
        }
        // The stored figures stay as computed: −30,000 over −40,000.
        QCOMPARE(summary[0].value(QStringLiteral("MyRONOA")).toDouble(), 75.0);
        QVERIFY(summary[0].value(QStringLiteral("NoteNPM")).isEmpty());
        QCOMPARE(summary[0].value(QStringLiteral("NoteORTNOA")),
                 summary[0].value(QStringLiteral("NoteRONOA")));
        QVERIFY(summary[0].value(QStringLiteral("NoteRCE")) != summary[0].value(QStringLiteral("NoteRONOA")));
    }

    void clientListExample() {
        CliSandbox s;
        const CliResult r =
            s.run({QStringLiteral("batch"), QStringLiteral("--dataset"), QStringLiteral("3:ALL"),
                   QStringLiteral("--firms"), QStringLiteral(VENTROLUX_SOURCE_DIR "/examples/clients.csv"),
                   QStringLiteral("--out"), s.file(QStringLiteral("out"))});
        QCOMPARE(r.status, 1);
        QVERIFY2(r.out.startsWith(QStringLiteral("19 firms compared, 1 refused")), qPrintable(r.out));
        const auto summary = readSummary(s.file(QStringLiteral("out/summary.csv")));
        QCOMPARE(summary.size(), 20);
        QStringList refused;
        for (const auto& row : summary)
            if (row.value(QStringLiteral("Status")) != QLatin1String("ok")) refused << row.value("FirmName");
        QCOMPARE(refused, QStringList{QStringLiteral("Atlantic Plumbing & Heating Ltd.")});
    }

    void sameNameAndYearKeepsBothReports() {
        CliSandbox s;
        const QString complete = s.completeIndustry(QStringLiteral("NS"));
        const QList<QMap<QString, QString>> firms{
            balancedFirm("Twin Ltd.", "2011", complete),
            balancedFirm("Twin Ltd.", "2011", complete, {{"Cash", "150000"}, {"RetEarn", "210000"}}),
            balancedFirm("twin ltd.", "2011", complete),
        };
        const QString list = s.write(QStringLiteral("clients.csv"), csvList(firms));
        const CliResult r = batch(s, list, QStringLiteral("E"), {QStringLiteral("--pdf")});
        QCOMPARE(r.status, 0);
        const QStringList written = QDir(s.file(QStringLiteral("out"))).entryList({QStringLiteral("*.pdf")});
        QCOMPARE(written.size(), 3);
        const auto summary = readSummary(s.file(QStringLiteral("out/summary.csv")));
        QStringList named;
        for (const auto& row : summary)
            named << row.value(QStringLiteral("Report"));
        QCOMPARE(named, (QStringList{"Twin Ltd._2011.pdf", "Twin Ltd._2011-2.pdf", "twin ltd._2011-3.pdf"}));
        // Each report is its own firm's: the second firm holds three times the cash.
        const QString first = pdfText(s.file(QStringLiteral("out/Twin Ltd._2011.pdf")));
        const QString second = pdfText(s.file(QStringLiteral("out/Twin Ltd._2011-2.pdf")));
        QVERIFY2(first.contains(QStringLiteral("Twin Ltd.")), qPrintable(first.left(500)));
        QVERIFY2(first.contains(QStringLiteral("50,000")) && !first.contains(QStringLiteral("150,000")),
                 qPrintable(first.left(2000)));
        QVERIFY2(second.contains(QStringLiteral("150,000")), qPrintable(second.left(2000)));
    }

    void reportsOfHostileNamesStayInTheFolder() {
        CliSandbox s;
        const QString complete = s.completeIndustry(QStringLiteral("NS"));
        const QStringList names{"../../escape",
                                "/etc/passwd",
                                "a\\b:c*d?e\"f<g>h|i",
                                "CON",
                                "nul.txt",
                                "Trailing dots...",
                                " . ",
                                "Tab\there\nand there",
                                QString(300, QChar(0xE9)),
                                QStringLiteral("right\u202Eftp.exe")};
        QList<QMap<QString, QString>> firms;
        for (const QString& n : names)
            firms << balancedFirm(n, QStringLiteral("2011"), complete);
        const QString list = s.write(QStringLiteral("clients.csv"), csvList(firms));
        const CliResult r = batch(s, list, QStringLiteral("E"), {QStringLiteral("--pdf")});
        QCOMPARE(r.status, 0);
        QDir out(s.file(QStringLiteral("out")));
        QCOMPARE(out.entryList({QStringLiteral("*.pdf")}, QDir::Files).size(), names.size());
        QCOMPARE(QDir(s.path()).entryList({QStringLiteral("*.pdf")}, QDir::Files).size(), 0);
        const auto summary = readSummary(out.filePath(QStringLiteral("summary.csv")));
        for (const auto& row : summary) {
            const QString file = row.value(QStringLiteral("Report"));
            QVERIFY2(QFileInfo(out.filePath(file)).size() > 0, qPrintable(file));
            QVERIFY2(!cli::isReservedName(file), qPrintable(file));
        }
    }

    void fileNamesSafeEverywhere_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("stem");
        QTest::newRow("plain") << "Maritime Outfitters Ltd."
                               << "Maritime Outfitters Ltd.";
        QTest::newRow("separators") << "a/b\\c"
                                    << "a_b_c";
        QTest::newRow("reserved characters") << "1:2*3?4\"5<6>7|8"
                                             << "1_2_3_4_5_6_7_8";
        QTest::newRow("control characters") << "Tab\tLine\nEnd\x7F"
                                            << "Tab_Line_End_";
        QTest::newRow("a way up") << "../../up"
                                  << "_.._up";
        QTest::newRow("leading dots and blanks") << " ..hidden  "
                                                 << "hidden";
        QTest::newRow("nothing left") << " . . "
                                      << "firm";
        QTest::newRow("empty") << ""
                               << "firm";
        QTest::newRow("direction override") << QStringLiteral("evil\u202Efdp.exe") << "evil_fdp.exe";
        QTest::newRow("accents kept") << "Côte-Nord Vêtements"
                                      << "Côte-Nord Vêtements";
    }
    void fileNamesSafeEverywhere() {
        QFETCH(QString, name);
        QFETCH(QString, stem);
        QCOMPARE(cli::safeStem(name), stem);
    }

    void longNamesAreCutAtWholeCharacters() {
        // Two bytes of UTF-8 each, then four (outside the basic plane).
        const QString accents(200, QChar(0xE9));
        const QString cut = cli::safeStem(accents);
        QCOMPARE(cut.toUtf8().size(), 150);
        QCOMPARE(cut, QString(75, QChar(0xE9)));
        QString emoji;
        for (int i = 0; i < 60; ++i)
            emoji += QStringLiteral("\U0001F600");
        const QString cutEmoji = cli::safeStem(emoji);
        QCOMPARE(cutEmoji.toUtf8().size(), 148); // 37 whole characters
        QVERIFY(!cutEmoji.back().isHighSurrogate());
    }

    void reservedDeviceNames_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<bool>("reserved");
        QTest::newRow("CON") << "CON" << true;
        QTest::newRow("con with an extension") << "con.x_2011.pdf" << true;
        QTest::newRow("COM1") << "Com1.pdf" << true;
        QTest::newRow("LPT9 with blanks") << "LPT9  .txt" << true;
        QTest::newRow("CON with the year") << "CON_2011.pdf" << false;
        QTest::newRow("CONSOLE") << "CONSOLE.pdf" << false;
        QTest::newRow("COM10") << "COM10.pdf" << false;
    }
    void reservedDeviceNames() {
        QFETCH(QString, file);
        QFETCH(bool, reserved);
        QCOMPARE(cli::isReservedName(file), reserved);
    }

    void namesGivenOutOnceEach() {
        cli::ReportFileNames names;
        QCOMPARE(names.next(QStringLiteral("Acme"), QStringLiteral("2011")), QStringLiteral("Acme_2011.pdf"));
        QCOMPARE(names.next(QStringLiteral("ACME"), QStringLiteral("2011")),
                 QStringLiteral("ACME_2011-2.pdf"));
        QCOMPARE(names.next(QStringLiteral("Acme"), QStringLiteral("2010")), QStringLiteral("Acme_2010.pdf"));
        QCOMPARE(names.next(QStringLiteral("a/cme"), QStringLiteral("2011")),
                 QStringLiteral("a_cme_2011.pdf"));
        QCOMPARE(names.next(QStringLiteral("Acme"), QStringLiteral("2011")),
                 QStringLiteral("Acme_2011-3.pdf"));
        QCOMPARE(names.next(QStringLiteral("con.x"), QStringLiteral("2011")),
                 QStringLiteral("_con.x_2011.pdf"));
    }

    void progressLineDrawnInPlaceAndWiped() {
        QString drawn;
        QTextStream err(&drawn);
        {
            cli::ProgressLine bar(err, true, QStringLiteral("firms"));
            for (int done = 0; done <= 2000; ++done)
                bar.show(done, 2000);
        }
        // Redrawn only when the bar moves by a thousandth, from the start of the line.
        QCOMPARE(drawn.count(QStringLiteral("\r[")), 1001);
        QVERIFY(drawn.contains(QStringLiteral("\r[###############...............] 1000/2000 firms")));
        QVERIFY(drawn.contains(QStringLiteral("] 2000/2000 firms")));
        QVERIFY(!drawn.contains(u'\n'));
        // Wiped at the end, so that the next line starts clean.
        const QString last = drawn.section(u'\r', -2);
        QVERIFY2(last.trimmed().isEmpty() && last.size() >= 40, qPrintable(last));

        QString quiet;
        QTextStream none(&quiet);
        {
            cli::ProgressLine off(none, false, QStringLiteral("firms"));
            off.show(1, 2);
        }
        QVERIFY(quiet.isEmpty());
    }

    void usageErrors_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("message");
        QTest::newRow("no folder") << QStringList{QStringLiteral("batch"), QStringLiteral("--dataset"),
                                                  QStringLiteral("3:NS"), QStringLiteral("--firms"),
                                                  QStringLiteral("x.csv")}
                                   << "--out is required";
        QTest::newRow("no list") << QStringList{QStringLiteral("batch"), QStringLiteral("--dataset"),
                                                QStringLiteral("3:NS"), QStringLiteral("--out"),
                                                QStringLiteral("o")}
                                 << "--firms is required";
        QTest::newRow("list unreadable")
            << QStringList{QStringLiteral("batch"),   QStringLiteral("--dataset"),    QStringLiteral("3:NS"),
                           QStringLiteral("--firms"), QStringLiteral("/no/such.csv"), QStringLiteral("--out"),
                           QStringLiteral("o")}
            << "cannot read the firm file /no/such.csv";
        QTest::newRow("--pdf takes no file")
            << QStringList{QStringLiteral("batch"),   QStringLiteral("--dataset"), QStringLiteral("3:NS"),
                           QStringLiteral("--firms"), QStringLiteral("x.csv"),     QStringLiteral("--out"),
                           QStringLiteral("o"),       QStringLiteral("--pdf"),     QStringLiteral("r.pdf")}
            << "unexpected argument: r.pdf";
    }
    void usageErrors() {
        QFETCH(QStringList, args);
        QFETCH(QString, message);
        CliSandbox s;
        const CliResult r = s.run(args);
        QCOMPARE(r.status, 2);
        QVERIFY2(r.err.section(u'\n', 0, 0).contains(message), qPrintable(r.err));
    }

    void folderThatCannotBeMadeIsRefused() {
        CliSandbox s;
        const QString list =
            s.write(QStringLiteral("clients.csv"),
                    csvList({balancedFirm("A", "2011", s.completeIndustry(QStringLiteral("NS")))}));
        s.write(QStringLiteral("taken"), "a file where the folder would be");
        const CliResult r =
            s.run({QStringLiteral("batch"), QStringLiteral("--dataset"), kDataset, QStringLiteral("--firms"),
                   list, QStringLiteral("--out"), s.file(QStringLiteral("taken/out"))});
        QCOMPARE(r.status, 1);
        QCOMPARE(r.err.trimmed(),
                 QStringLiteral("cannot create the folder ") + s.file(QStringLiteral("taken/out")));
    }

    void listAtFaultIsRefused() {
        CliSandbox s;
        const QString list = s.write(QStringLiteral("clients.csv"), "FirmName,Year,Cashh\nA,2011,1\n");
        const CliResult r = batch(s, list, QStringLiteral("E"));
        QCOMPARE(r.status, 1);
        QVERIFY2(r.err.contains(QStringLiteral("'Cashh'")), qPrintable(r.err));
        QVERIFY(!QFile::exists(s.file(QStringLiteral("out/summary.csv"))));
    }
};

QTEST_MAIN(TestBatch)
#include "test_batch.moc"
