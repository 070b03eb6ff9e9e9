// ventrolux-cli history: a firm's ratios over two or three saved years beside the
// industry's medians, the trend report written, and a firm with one saved year refused;
// and the batch summary's amounts to the median, worked out by hand from the firm's figures.

#include "cli/CliSandbox.h"
#include "data/CsvFile.h"

#include <QJsonDocument>
#include <QJsonObject>

namespace {

const QString kDataset = QStringLiteral("3:NS");
const QString kName = QStringLiteral("Cap-Breton Quincaillerie Ltée");

QByteArray firmJson(const QMap<QString, QString>& firm) {
    QJsonObject o;
    for (auto it = firm.begin(); it != firm.end(); ++it)
        o.insert(it.key(), it.value());
    return QJsonDocument(o).toJson();
}

} // namespace

class TestHistory : public QObject {
    Q_OBJECT

    void save(const CliSandbox& s, const QString& year, const QString& naics,
              const QMap<QString, QString>& changes = {}) {
        const QString file = s.write(QStringLiteral("firm%1.json").arg(year),
                                     firmJson(balancedFirm(kName, year, naics, changes)));
        const CliResult r = s.run({QStringLiteral("firms"), QStringLiteral("save"), file});
        QVERIFY2(r.status == 0, qPrintable(r.err));
    }

    CliResult history(const CliSandbox& s, const QString& naics, const QString& lang,
                      const QStringList& more = {}) {
        return s.run(QStringList{QStringLiteral("history"), QStringLiteral("--dataset"), kDataset,
                                 QStringLiteral("--naics"), naics, QStringLiteral("--firm-name"), kName,
                                 QStringLiteral("--lang"), lang} +
                     more);
    }

private slots:
    void oneSavedYearIsRefused_data() {
        QTest::addColumn<QString>("lang");
        QTest::addColumn<QString>("message");
        QTest::newRow("English")
            << "E"
            << "A trend needs saved values of \"" + kName +
                   "\" for at least two of the years 2009, 2010 and 2011; only 2010 is saved.";
        QTest::newRow("French")
            << "F"
            << QString("Une tendance exige des valeurs sauvegardées de «\u00a0" + kName +
                       "\u00a0» pour au moins deux des années 2009, 2010 et 2011\u00a0; seule "
                       "l'année 2010 est sauvegardée.");
    }
    void oneSavedYearIsRefused() {
        QFETCH(QString, lang);
        QFETCH(QString, message);
        CliSandbox s;
        const QString naics = s.completeIndustry(QStringLiteral("NS"));
        save(s, QStringLiteral("2010"), naics);
        const CliResult r = history(s, naics, lang);
        QCOMPARE(r.status, 1);
        QCOMPARE(r.err.trimmed(), message);
        QVERIFY(r.out.isEmpty());
    }

    void twoAndThreeYears_data() {
        QTest::addColumn<QStringList>("years");
        QTest::newRow("two years") << QStringList{"2009", "2011"};
        QTest::newRow("three years") << QStringList{"2009", "2010", "2011"};
    }
    void twoAndThreeYears() {
        QFETCH(QStringList, years);
        CliSandbox s;
        const QString naics = s.completeIndustry(QStringLiteral("NS"));
        // Net profit 20,000, 30,000, 40,000 on revenue of 1,000,000: margins of 2.0%, 3.0%, 4.0%.
        const QMap<QString, QString> profit{{"2009", "20000"}, {"2010", "30000"}, {"2011", "40000"}};
        for (const QString& y : years)
            save(s, y, naics,
                 {{"ProfitAfterTax", profit[y]},
                  {"RetEarn", QString::number(110000 - 40000 + profit[y].toInt())},
                  {"OLiab", QString::number(15000 + 40000 - profit[y].toInt())}});
        const QString pdf = s.file(QStringLiteral("trend.pdf"));
        const CliResult r = history(s, naics, QStringLiteral("E"), {QStringLiteral("--pdf"), pdf});
        QVERIFY2(r.status == 0, qPrintable(r.err));
        const QStringList lines = r.out.split(u'\n');
        QCOMPARE(lines.value(0), QStringLiteral("\t2009\t2009\t2010\t2010\t2011\t2011"));
        // The medians are the dataset's own, read here from the reference database.
        QStringList medians;
        for (const char* y : {"2009", "2010", "2011"})
            medians << QString::number(
                           s.rows(QStringLiteral(
                                      "select NPMQ2 from ZEBRO_Vol3_NS_%1_Final_Ratios where NAICS = '%2'")
                                      .arg(QLatin1String(y), naics),
                                  QStringLiteral("KLV_DATA.db"))
                               .value(0)
                               .value(QStringLiteral("NPMQ2"))
                               .toDouble(),
                           'f', 1) +
                           u'%';
        const QStringList npm = lines.value(1).split(u'\t');
        QCOMPARE(npm.value(0), QStringLiteral("Net profit margin"));
        QCOMPARE(npm.value(1), QStringLiteral("2.0%"));
        QCOMPARE(npm.value(3), years.contains("2010") ? QStringLiteral("3.0%") : QString());
        QCOMPARE(npm.value(5), QStringLiteral("4.0%"));
        QCOMPARE(npm.value(2), medians[0]);
        QCOMPARE(npm.value(6), medians[2]);
        QVERIFY2(r.out.contains(QStringLiteral("Profitability, 2009 to 2011: ")), qPrintable(r.out));
        QVERIFY(r.out.contains(QStringLiteral("Liquidity/Solvency, 2009 to 2011: ")));
        QVERIFY(QFileInfo(pdf).size() > 1000);
    }

    // The region has no table for 2009: the trend compares 2010 with 2011, the years that have
    // both the firm's figures and the industry's, and says so.
    void missingFirstYearOfTheIndustry_data() {
        QTest::addColumn<QString>("lang");
        QTest::addColumn<QString>("years");
        QTest::newRow("English") << "E"
                                 << "Profitability, 2010 to 2011: ";
        QTest::newRow("French") << "F" << QString("Rentabilité, de 2010 à 2011\u00a0: ");
    }
    void missingFirstYearOfTheIndustry() {
        QFETCH(QString, lang);
        QFETCH(QString, years);
        CliSandbox s;
        const QString naics = s.completeIndustry(QStringLiteral("NS"));
        {
            Connection cn;
            ConnectToFile(cn, s.file(QStringLiteral("KLV_DATA.db")), QStringLiteral("unknown"));
            ExecCmdInDB(cn, QStringLiteral("drop table ZEBRO_Vol3_NS_2009_Final_Ratios"));
            DisconnectFromDB(cn);
        }
        for (const char* y : {"2009", "2010", "2011"})
            save(s, QLatin1String(y), naics,
                 {{"ProfitAfterTax", QString::number((QByteArray(y).toInt() - 2007) * 10000)}});
        const CliResult r = history(s, naics, lang);
        QVERIFY2(r.status == 0, qPrintable(r.err));
        QVERIFY2(r.out.contains(years), qPrintable(r.out));
        QVERIFY(!r.out.contains(QStringLiteral("2009 ")) && !r.out.contains(QStringLiteral(" 2009,")));
    }

    // Net operating assets and capital employed below zero in both years: the ratios built on
    // them are marked and the reason given, never compared with the median.
    void basesNotPositiveInTheTrend_data() {
        QTest::addColumn<QString>("lang");
        QTest::addColumn<QString>("mark");
        QTest::addColumn<QString>("note");
        QTest::newRow("English") << "E"
                                 << "n.m."
                                 << "Return on net operating assets (2010 and 2011): not meaningful";
        QTest::newRow("French") << "F"
                                << "n.s."
                                << QString(
                                       "Rendement des actifs nets d'exploitation (2010 et 2011)\u00a0: non "
                                       "significatif");
    }
    void basesNotPositiveInTheTrend() {
        QFETCH(QString, lang);
        QFETCH(QString, mark);
        QFETCH(QString, note);
        CliSandbox s;
        const QString naics = s.completeIndustry(QStringLiteral("NS"));
        // Suppliers owed 500,000: net operating assets of −40,000, capital employed of −20,000.
        for (const char* y : {"2010", "2011"})
            save(s, QLatin1String(y), naics,
                 {{"AccountsPayable", "500000"}, {"RetEarn", "-290000"}, {"OperatingProfit", "-30000"}});
        const CliResult r = history(s, naics, lang);
        QVERIFY2(r.status == 0, qPrintable(r.err));
        const QStringList lines = r.out.split(u'\n');
        // Rows 5, 6 and 8 of the table: the two ratios on net operating assets, return on capital employed.
        for (int row : {5, 6, 8, 9}) {
            const QStringList cells = lines.value(row).split(u'\t');
            QCOMPARE(cells.value(3), mark);
            QCOMPARE(cells.value(5), mark);
            QVERIFY(cells.value(1).isEmpty()); // 2009 is not saved
        }
        QVERIFY2(r.out.contains(note), qPrintable(r.out));
        QCOMPARE(lines.value(1).split(u'\t').value(5),
                 lang == QLatin1String("E") ? QStringLiteral("4.0%") : QStringLiteral("4,0\u00a0%"));
    }

    void batchSummaryGivesTheAmountsToTheMedian() {
        CliSandbox s;
        const QString naics = s.completeIndustry(QStringLiteral("NS"));
        const QString list =
            s.write(QStringLiteral("firms.csv"), csvList({balancedFirm(kName, "2011", naics)}));
        const CliResult r =
            s.run({QStringLiteral("batch"), QStringLiteral("--dataset"), kDataset, QStringLiteral("--firms"),
                   list, QStringLiteral("--out"), s.file(QStringLiteral("out"))});
        QVERIFY2(r.status == 0, qPrintable(r.err));
        const csv::ReadResult summary = csv::readFile(s.file(QStringLiteral("out/summary.csv")));
        QVERIFY(summary.ok());
        const QVariantMap m =
            s.rows(QStringLiteral("select NPMQ2, RTQ2, DEQ2, ICQ2 from ZEBRO_Vol3_NS_2011_Final_Ratios "
                                  "where NAICS = '%1'")
                       .arg(naics),
                   QStringLiteral("KLV_DATA.db"))
                .value(0);
        const auto cell = [&](const char* column) {
            return summary.table.records.at(0).fields.value(
                summary.table.header.indexOf(QLatin1String(column)));
        };
        // The firm: revenue 1,000,000, net profit 40,000, receivables 80,000, debt 160,000,
        // equity 220,000, interest 10,000, pretax profit 50,000.
        const auto expected = [](double target, double now, bool belowMedian) {
            return belowMedian ? QString::number(std::round(target - now), 'f', 0) : QString();
        };
        const double npm = m.value("NPMQ2").toDouble(), rt = m.value("RTQ2").toDouble();
        const double de = m.value("DEQ2").toDouble(), ic = m.value("ICQ2").toDouble();
        QCOMPARE(cell("ToMedianNPM"), expected(npm / 100 * 1000000, 40000, 4.0 < npm));
        QCOMPARE(cell("ToMedianRT"), expected(rt * 80000, 1000000, 12.5 < rt));
        QCOMPARE(cell("ToMedianDE"), expected(de * 220000, 160000, 160000.0 / 220000 > de));
        QCOMPARE(cell("ToMedianIC"), expected(ic * 10000, 60000, 6.0 < ic));
    }
};

QTEST_MAIN(TestHistory)
#include "test_history.moc"
