// The plain-language reading of a comparison: a ratio exactly at the median, above the
// upper quartile, with a missing boundary, not meaningful with a negative equity, and what
// it would take to reach the median, in both languages. The firms are written out here and
// the expected amounts worked out by hand from their figures.

#include "firm/FirmStatement.h"
#include "report/FirmComparison.h"
#include "report/RatioTable.h"
#include "report/Reading.h"

#include <QtTest>

namespace {

using Values = QMap<QString, QString>;

// A small firm whose books balance (total assets 500,000).
Values baseFirm() {
    return {{"Cash", "50000"},
            {"Ar", "80000"},
            {"Inv", "120000"},
            {"CA", "200000"},
            {"OA", "10000"},
            {"Invest", "20000"},
            {"Ptfl", "20000"},
            {"OperatingRevenue", "1000000"},
            {"Sales", "950000"},
            {"GrossProfit", "300000"},
            {"OperatingProfit", "60000"},
            {"InterestExpense", "10000"},
            {"PretaxProfit", "50000"},
            {"ProfitAfterTax", "40000"},
            {"AccountsPayable", "100000"},
            {"Paper", "10000"},
            {"Mtg", "100000"},
            {"Bonds", "0"},
            {"Ol", "40000"},
            {"AmtsAffil", "10000"},
            {"OLiab", "15000"},
            {"DefTax", "5000"},
            {"ShareC", "100000"},
            {"RetEarn", "110000"},
            {"OtherSur", "10000"},
            {"CurrentAssets", "260000"},
            {"CurrentLiabilities", "130000"}};
}

struct Case {
    firmcomparison::Row comparison;
    QHash<QString, QVariant> industry; // case-folded column -> value
};

// The comparison of the firm against an industry whose figures are the ones given; every
// other industry figure is missing.
Case compare(const Values& changes, const QMap<QString, double>& industryFigures) {
    FirmStatement firm;
    firm.firmName = QStringLiteral("Tremblay & Fils");
    firm.year = QStringLiteral("2011");
    firmrules::resetValues(firm.values);
    Values v = baseFirm();
    for (auto it = changes.begin(); it != changes.end(); ++it)
        v[it.key()] = it.value();
    for (auto it = v.begin(); it != v.end(); ++it)
        firm.value(qPrintable(it.key())) = it.value();
    firmrules::calculateSubTotals(firm.values);

    QStringList names = ratios::datasetColumns();
    QVariantList row(names.size());
    for (qsizetype i = 0; i < names.size(); ++i)
        if (names[i] == QLatin1String("NumberOfFirms")) row[i] = 40;
    for (auto it = industryFigures.begin(); it != industryFigures.end(); ++it) {
        const qsizetype at = names.indexOf(it.key());
        if (at < 0) qFatal("unknown industry column %s", qPrintable(it.key()));
        row[at] = it.value();
    }
    const Recordset industry(names, {row}, 3, 1);
    Case c;
    c.comparison = firmcomparison::build(firmrules::comparisonValues(firm, QStringLiteral("Some industry")),
                                         2011, industry, QVariant());
    for (qsizetype i = 0; i < names.size(); ++i)
        c.industry.insert(names[i].toCaseFolded(), row[i]);
    return c;
}

reading::Reading readingOf(const Case& c, int language) {
    return reading::compose([&c](const QString& col) { return c.comparison.value(col); },
                            [&c](const QString& col) { return c.industry.value(col.toCaseFolded()); },
                            language);
}

// The sentence of the reading's paragraph that speaks of the ratio.
QString sentenceAbout(const QString& paragraph, const QString& start) {
    const qsizetype at = paragraph.indexOf(start);
    if (at < 0) return QString();
    const qsizetype end = paragraph.indexOf(QStringLiteral(". "), at);
    return end < 0 ? paragraph.mid(at) : paragraph.mid(at, end - at + 1);
}

const QString nb = QStringLiteral("\u00a0");

} // namespace

class TestReading : public QObject {
    Q_OBJECT

private slots:
    void netProfitMarginAgainstTheBoundaries_data() {
        QTest::addColumn<QString>("profit"); // ProfitAfterTax over revenue of 1,000,000
        QTest::addColumn<double>("q1");
        QTest::addColumn<double>("q2");
        QTest::addColumn<double>("q3");
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("sentence");

        // 28,000 / 1,000,000 × 100 is 2.8000000000000003 in doubles: the median all the same.
        QTest::newRow("exactly at the median")
            << "28000" << 1.5 << 2.8 << 4.6 << 0
            << "Your net profit margin, 2.8%, is exactly the industry median: higher is better, and you "
               "stand exactly between the industry's two halves.";
        QTest::newRow("exactly at the median, French")
            << "28000" << 1.5 << 2.8 << 4.6 << 1
            << "Votre marge bénéficiaire nette (2,8" + nb +
                   "%) correspond exactement à la médiane de "
                   "l'industrie" +
                   nb +
                   ": une valeur plus élevée est préférable, et vous êtes exactement à la "
                   "limite entre les deux moitiés de l'industrie.";
        QTest::newRow("above the upper quartile")
            << "50000" << 1.5 << 2.8 << 4.6 << 0
            << "Your net profit margin, 5.0%, is 2.2 percentage points above the industry median of 2.8%: "
               "higher is better, and you are in the top quarter of the industry.";
        QTest::newRow("above the upper quartile, French")
            << "50000" << 1.5 << 2.8 << 4.6 << 1
            << "Votre marge bénéficiaire nette (5,0" + nb + "%) se situe à 2,2" + nb +
                   "points de pourcentage au-dessus de la médiane de l'industrie (2,8" + nb + "%)" + nb +
                   ": une valeur plus élevée est préférable, et vous êtes dans le quart supérieur de "
                   "l'industrie.";
        QTest::newRow("on the upper quartile")
            << "46000" << 1.5 << 2.8 << 4.6 << 0
            << "Your net profit margin, 4.6%, is 1.8 percentage points above the industry median of 2.8%: "
               "higher is better, and you stand exactly on the boundary of the industry's top quarter.";
        QTest::newRow("median missing")
            << "50000" << 2.0 << 0.0 << 8.0 << 0
            << "Your net profit margin, 5.0%, cannot be set against the industry median, which is not "
               "available: higher is better, and you are between the industry's lower and upper quartiles.";
        QTest::newRow("median missing, French")
            << "50000" << 2.0 << 0.0 << 8.0 << 1
            << "La médiane de l'industrie n'est pas disponible pour votre marge bénéficiaire nette (5,0" +
                   nb + "%)" + nb +
                   ": une valeur plus élevée est préférable, et vous êtes entre le quartile "
                   "inférieur et le quartile supérieur de l'industrie.";
        QTest::newRow("upper quartile missing")
            << "50000" << 1.5 << 2.8 << 0.0 << 0
            << "Your net profit margin, 5.0%, is 2.2 percentage points above the industry median of 2.8%: "
               "higher is better, and you are in the top half of the industry.";
        QTest::newRow("no boundaries at all")
            << "50000" << 0.0 << 0.0 << 0.0 << 0
            << "Your net profit margin, 5.0%, cannot be ranked: the industry has no figures for this ratio.";
        QTest::newRow("no boundaries at all, French")
            << "50000" << 0.0 << 0.0 << 0.0 << 1
            << "Impossible de situer votre marge bénéficiaire nette (5,0" + nb + "%)" + nb +
                   ": l'industrie n'a pas de données pour ce ratio.";
        QTest::newRow("below the lower quartile, one point")
            << "8000" << 1.5 << 1.8 << 4.6 << 0
            << "Your net profit margin, 0.8%, is 1.0 percentage point below the industry median of 1.8%: "
               "higher is better, and you are in the bottom quarter of the industry. To reach the median "
               "with your operating revenue unchanged, you would need net profit $10,000 higher.";
    }
    void netProfitMarginAgainstTheBoundaries() {
        QFETCH(QString, profit);
        QFETCH(double, q1);
        QFETCH(double, q2);
        QFETCH(double, q3);
        QFETCH(int, language);
        QFETCH(QString, sentence);
        const Case c = compare({{"ProfitAfterTax", profit}}, {{"NPMQ1", q1}, {"NPMQ2", q2}, {"NPMQ3", q3}});
        const reading::Reading r = readingOf(c, language);
        const QString start = language ? QStringLiteral("Votre marge bénéficiaire nette")
                                       : QStringLiteral("Your net profit margin");
        QString found = sentenceAbout(r.groups[0], start);
        if (found.isEmpty()) found = sentenceAbout(r.groups[0], QStringLiteral("La médiane"));
        if (found.isEmpty()) found = sentenceAbout(r.groups[0], QStringLiteral("Impossible de situer"));
        // A target sentence follows the ranking in the same paragraph.
        if (sentence.contains(QLatin1String(" To reach")))
            found = r.groups[0].mid(r.groups[0].indexOf(start), sentence.size());
        QCOMPARE(found, sentence);
        // The same firm always reads the same.
        QCOMPARE(readingOf(c, language).groups[0], r.groups[0]);
    }

    void summaryNamesStrengthsAndConcerns() {
        // Net profit margin above Q3 (strength); receivable turnover 12.5 below Q1 (concern).
        const Case c = compare(
            {},
            {{"NPMQ1", 1.0}, {"NPMQ2", 2.0}, {"NPMQ3", 3.0}, {"RTQ1", 13.0}, {"RTQ2", 14.0}, {"RTQ3", 15.0}});
        // The other thirteen ratios have no industry figures here and are listed as not ranked after.
        const QString english = readingOf(c, 0).summary;
        QVERIFY2(english.startsWith(
                     QStringLiteral("Strengths (in the industry's top quarter): net profit margin. "
                                    "Concerns (in the industry's bottom quarter): receivable turnover. "
                                    "Not ranked: pretax profit margin, ")),
                 qPrintable(english));
        QVERIFY(!english.contains(QStringLiteral("Not ranked: net profit margin")));
        const QString french = readingOf(c, 1).summary;
        QVERIFY2(
            french.startsWith("Points forts (dans le quart supérieur de l'industrie)" + nb +
                              ": marge bénéficiaire nette. Points à surveiller (dans le quart inférieur de "
                              "l'industrie)" +
                              nb + ": rotation des comptes débiteurs. Non classés" + nb + ":"),
            qPrintable(french));
    }

    void negativeEquityIsNotRanked_data() {
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("roe");
        QTest::addColumn<QString>("unranked");
        QTest::newRow("English") << 0
                                 << "Your return on equity is not meaningful, because your shareholders' "
                                    "equity is negative, so it is "
                                    "not ranked."
                                 << ", return on equity, ";
        QTest::newRow("French")
            << 1
            << "Impossible d'interpréter votre rendement des capitaux propres" + nb +
                   ": vos capitaux propres sont négatifs, et ce ratio n'est donc pas classé."
            << ", rendement des capitaux propres, ";
    }
    void negativeEquityIsNotRanked() {
        QFETCH(int, language);
        QFETCH(QString, roe);
        QFETCH(QString, unranked);
        // Retained earnings of −250,000 leave an equity of −140,000; other liabilities make up the rest.
        const Case c = compare(
            {{"RetEarn", "-250000"}, {"OLiab", "375000"}},
            {{"REQ1", 5.0}, {"REQ2", 10.0}, {"REQ3", 15.0}, {"DEQ1", 2.0}, {"DEQ2", 1.0}, {"DEQ3", 0.5}});
        const reading::Reading r = readingOf(c, language);
        QVERIFY2(r.groups[0].endsWith(roe), qPrintable(r.groups[0]));
        QVERIFY2(r.summary.contains(unranked), qPrintable(r.summary));
        QCOMPARE(r.ratios[8].kind, standing::Kind::NegativeEquity);
        QCOMPARE(r.ratios[12].kind, standing::Kind::NegativeEquity);
        QVERIFY(!r.ratios[12].numeratorChange);
    }

    // The firm's figures: revenue 1,000,000, net profit 40,000 (changed below), receivables
    // 80,000, debt 100,000 + 0 + 40,000 + 10,000 + 10,000 = 160,000 over equity 100,000 +
    // 110,000 + 10,000 = 220,000, interest 10,000 and pretax profit 50,000.
    void whatItWouldTake_data() {
        QTest::addColumn<int>("ratio");
        QTest::addColumn<QString>("stem");
        QTest::addColumn<double>("median");
        QTest::addColumn<double>("change");
        QTest::addColumn<QString>("english");
        QTest::addColumn<QString>("french");
        // Net profit 20,000 (2.0%) against a median of 2.847%: 0.02847 × 1,000,000 − 20,000.
        QTest::newRow("net profit margin")
            << 0 << "NPM" << 2.847 << 28470.0 - 20000.0 << "net profit $8,470 higher"
            << "un bénéfice net supérieur de 8" + nb + "470" + nb + "$";
        // Revenue over receivables 1,000,000 / 80,000 = 12.5 against 14: 14 × 80,000 − 1,000,000.
        QTest::newRow("receivable turnover")
            << 9 << "RT" << 14.0 << 1120000.0 - 1000000.0 << "operating revenue $120,000 higher"
            << "des recettes d'exploitation supérieures de 120" + nb + "000" + nb + "$";
        // Debt to equity 160,000 / 220,000 = 0.727 against 0.5, lower is better: 0.5 × 220,000 − 160,000.
        QTest::newRow("debt to equity")
            << 12 << "DE" << 0.5 << 110000.0 - 160000.0
            << "total debt (short-term paper, mortgages, bonds, loans and amounts owing to affiliates) "
               "$50,000 lower"
            << "une dette totale (papier à court terme, hypothèques, obligations, prêts et montants dus aux "
               "sociétés affiliées) inférieure de 50" +
                   nb + "000" + nb + "$";
        // Interest coverage (10,000 + 50,000) / 10,000 = 6 against 7.5: 7.5 × 10,000 − 60,000.
        QTest::newRow("interest coverage")
            << 14 << "IC" << 7.5 << 75000.0 - 60000.0 << "pretax profit plus interest expense $15,000 higher"
            << "un bénéfice avant impôts majoré des intérêts supérieur de 15" + nb + "000" + nb + "$";
    }
    void whatItWouldTake() {
        QFETCH(int, ratio);
        QFETCH(QString, stem);
        QFETCH(double, median);
        QFETCH(double, change);
        QFETCH(QString, english);
        QFETCH(QString, french);
        // The lower quartile and upper quartile lie on either side, in the ratio's better direction.
        const bool lower = stem == QLatin1String("DE");
        const QMap<QString, double> industry{{stem + "Q1", lower ? median * 2 : median / 2},
                                             {stem + "Q2", median},
                                             {stem + "Q3", lower ? median / 2 : median * 2}};
        const Case c = compare({{"ProfitAfterTax", "20000"}}, industry);
        const reading::Reading e = readingOf(c, 0);
        QVERIFY(e.ratios[std::size_t(ratio)].numeratorChange);
        QCOMPARE(*e.ratios[std::size_t(ratio)].numeratorChange, change);
        QVERIFY2(e.groups[0].contains(english) || e.groups[1].contains(english) ||
                     e.groups[2].contains(english),
                 qPrintable(english));
        const reading::Reading f = readingOf(c, 1);
        QVERIFY2(f.groups[0].contains(french) || f.groups[1].contains(french) || f.groups[2].contains(french),
                 qPrintable(f.groups[0] + f.groups[1] + f.groups[2]));
    }

    void noTargetAtOrAboveTheMedian() {
        // Net profit margin 4.0% against a median of 4.0% and of 3.0%.
        for (double median : {4.0, 3.0}) {
            const Case c = compare({}, {{"NPMQ1", 1.0}, {"NPMQ2", median}, {"NPMQ3", 9.0}});
            QVERIFY(!readingOf(c, 0).ratios[0].numeratorChange);
        }
    }

    void balanceSheetItemsThatDifferMost() {
        // Shares of 500,000: mortgages 20%, loans 8%, cash 10%, against 5%, 8% and 30%.
        const Case c = compare({}, {{"a25500", 5.0}, {"a25180", 8.0}, {"a11", 30.0}, {"a12", 16.0}});
        QCOMPARE(
            readingOf(c, 0).balance,
            QStringLiteral("Your balance sheet differs most from the industry's in these items, as shares of "
                           "total assets. Cash and deposits: 10.0% for you against 30.0% for the industry "
                           "(20.0 percentage points less). Mortgages: 20.0% for you against 5.0% for the "
                           "industry (15.0 percentage points more)."));
        QVERIFY(readingOf(c, 1).balance.contains("Hypothèques" + nb + ": 20,0" + nb +
                                                 "% pour vous contre 5,0" + nb + "% pour l'industrie (15,0" +
                                                 nb + "points de pourcentage de plus)."));
    }
};

QTEST_MAIN(TestReading)
#include "test_reading.moc"
