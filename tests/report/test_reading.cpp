// The plain-language reading of a comparison: one verdict for a ratio at the figure the
// report shows (at, above or below the median, the quarter, the gauge's quarters and the
// position figures), ratios whose base is not positive set aside as not meaningful in both
// languages, the ratios to look at first with what it would take to reach the median, the
// strengths and the balance sheet. The firms are written out here and the expected amounts
// worked out by hand from their figures.

#include "firm/FirmStatement.h"
#include "report/FirmComparison.h"
#include "report/FirmTrend.h"
#include "report/RatioTable.h"
#include "report/Reading.h"
#include "support/ExampleFirm.h"
#include "text/StringTable.h"

#include <QtTest>

namespace {

using Values = QMap<QString, QString>;

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
    Values v = exampleFirmValues();
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
    const Recordset industry(names, {row});
    Case c;
    c.comparison = firmcomparison::build(firmrules::comparisonValues(firm, QStringLiteral("Some industry")),
                                         2011, industry, QVariant());
    for (qsizetype i = 0; i < names.size(); ++i)
        c.industry.insert(names[i].toCaseFolded(), row[i]);
    return c;
}

reading::Reading readingOf(const Case& c, Language language) {
    return reading::compose([&c](const QString& col) { return c.comparison.value(col); },
                            [&c](const QString& col) { return c.industry.value(col.toCaseFolded()); },
                            language);
}

const QString nb = QStringLiteral("\u00a0");

} // namespace

class TestReading : public QObject {
    Q_OBJECT

private slots:
    // The verdict on a ratio is the same for the reading, the gauge and the position figures
    // the report prints, decided on the figures as shown: one decimal for a percentage, two
    // for a quotient. The position figures stored in the comparison row are decided on the
    // computed figure and stay as they were, but for the rounding of the division.
    void oneVerdictAtTheShownFigure_data() {
        QTest::addColumn<QString>("item");  // the line item changed
        QTest::addColumn<QString>("value"); // its value
        QTest::addColumn<QString>("stem");  // the ratio's quartile stem
        QTest::addColumn<double>("q1");
        QTest::addColumn<double>("q2");
        QTest::addColumn<double>("q3");
        QTest::addColumn<int>("lowest");
        QTest::addColumn<int>("highest");
        QTest::addColumn<int>("boundary");
        QTest::addColumn<double>("storedBetter");
        QTest::addColumn<double>("storedWorse");
        QTest::addColumn<double>("toMedian"); // 0: no amount
        QTest::addColumn<int>("vsMedian");    // +1 better, 0 at, -1 worse; 9: no median
        // Net profit over revenue of 1,000,000 (or 1,180,000 changed below).
        QTest::newRow("48,380 on 1,180,000 is the median of 4.1 %")
            << "OperatingRevenue"
            << "1180000"
            << "NPM" << 2.0 << 4.1 << 6.0 << 1 << 2 << 2 << 25.0 << 25.0 << 0.0 << 0;
        QTest::newRow("4.09 % shows as the median of 4.1 %")
            << "ProfitAfterTax"
            << "40900"
            << "NPM" << 2.0 << 4.1 << 6.0 << 1 << 2 << 2 << 25.0 << 50.0 << 0.0 << 0;
        QTest::newRow("4.14 % shows as the median of 4.1 %")
            << "ProfitAfterTax"
            << "41400"
            << "NPM" << 2.0 << 4.1 << 6.0 << 1 << 2 << 2 << 50.0 << 25.0 << 0.0 << 0;
        QTest::newRow("4.16 % shows above the median of 4.1 %")
            << "ProfitAfterTax"
            << "41600"
            << "NPM" << 2.0 << 4.1 << 6.0 << 2 << 2 << 0 << 50.0 << 25.0 << 0.0 << 1;
        // 0.041 × 1,000,000 − 40,400.
        QTest::newRow("4.04 % shows below the median of 4.1 %")
            << "ProfitAfterTax"
            << "40400"
            << "NPM" << 2.0 << 4.1 << 6.0 << 1 << 1 << 0 << 25.0 << 50.0 << 600.0 << -1;
        QTest::newRow("4.0 % on the lower quartile")
            << "ProfitAfterTax"
            << "40000"
            << "NPM" << 4.0 << 4.1 << 6.0 << 0 << 1 << 1 << 0.0 << 50.0 << 1000.0 << -1;
        // Receivable turnover 1,000,000 / 80,000 = 12.5.
        QTest::newRow("12.5 shows as the median of 12.504")
            << "Ar"
            << "80000"
            << "RT" << 10.0 << 12.504 << 15.0 << 1 << 2 << 2 << 25.0 << 50.0 << 0.0 << 0;
        // Debt to equity 160,000 / 220,000 = 0.7273, lower is better: 0.5 × 220,000 − 160,000.
        QTest::newRow("debt to equity 0.73 against 1.0, 0.5, 0.3")
            << "Ar"
            << "80000"
            << "DE" << 1.0 << 0.5 << 0.3 << 1 << 1 << 0 << 25.0 << 50.0 << -50000.0 << -1;
        QTest::newRow("debt to equity 0.73 shows as the median of 0.7261")
            << "Ar"
            << "80000"
            << "DE" << 1.0 << 0.7261 << 0.3 << 1 << 2 << 2 << 25.0 << 50.0 << 0.0 << 0;
        QTest::newRow("median missing: between the quartiles")
            << "ProfitAfterTax"
            << "40000"
            << "NPM" << 2.0 << 0.0 << 6.0 << 1 << 2 << 0 << 25.0 << 25.0 << 0.0 << 9;
    }
    void oneVerdictAtTheShownFigure() {
        QFETCH(QString, item);
        QFETCH(QString, value);
        QFETCH(QString, stem);
        QFETCH(double, q1);
        QFETCH(double, q2);
        QFETCH(double, q3);
        QFETCH(int, lowest);
        QFETCH(int, highest);
        QFETCH(int, boundary);
        QFETCH(double, storedBetter);
        QFETCH(double, storedWorse);
        QFETCH(double, toMedian);
        QFETCH(int, vsMedian);
        Values changes{{item, value}};
        if (item == QLatin1String("OperatingRevenue"))
            changes.insert(QStringLiteral("ProfitAfterTax"), "48380");
        const Case c = compare(changes, {{stem + "Q1", q1}, {stem + "Q2", q2}, {stem + "Q3", q3}});
        std::size_t i = 0;
        while (QLatin1String(ratios::all()[i].quartileStem) != stem)
            ++i;
        const QString pos = QLatin1String(ratios::all()[i].positionStem);
        for (Language language : {Language::E, Language::F}) {
            const reading::Reading r = readingOf(c, language);
            const standing::RatioStanding& s = r.ratios[i];
            QCOMPARE(s.kind, standing::Kind::Ranked);
            QCOMPARE(s.lowest, lowest);
            QCOMPARE(s.highest, highest);
            QCOMPARE(s.onBoundary, boundary);
            QCOMPARE(s.vsMedian.value_or(9), vsMedian);
            QCOMPARE(s.numeratorChange.value_or(0.0), toMedian);
            // The gauge and the position figures read the same verdict.
            const QVariantMap row = reading::tableRow(r, language);
            QCOMPARE(row.value("Lowest_" + pos).toInt(), lowest);
            QCOMPARE(row.value("Highest_" + pos).toInt(), highest);
            QCOMPARE(row.value("Boundary_" + pos).isNull(), boundary == 0);
            QCOMPARE(row.value("BetterThan_" + pos).toDouble(), 25.0 * lowest);
            QCOMPARE(row.value("WorseThan_" + pos).toDouble(), 75.0 - 25.0 * highest);
            QVERIFY(row.value("Note_" + pos).isNull());
            // A ratio the firm is not behind on is not among those to look at first.
            const QString name = strings::text(ratios::all()[i].nameEntry, language).trimmed();
            QCOMPARE(r.lookFirst.join(u'\n').contains(name), toMedian != 0);
        }
        QCOMPARE(c.comparison.value("Better" + pos).toDouble(), storedBetter);
        QCOMPARE(c.comparison.value("Worse" + pos).toDouble(), storedWorse);
    }

    // Net operating assets, capital employed or equity of zero or below: the ratios built on
    // them mean nothing, whatever they compute to, and are never a strength or a concern. The
    // shop owes 500,000 to its suppliers and lost 30,000 on its operations: net operating assets
    // of 500,000 − 20,000 − 20,000 − 500,000 = −40,000, equity of 220,000 − 400,000 = −180,000,
    // capital employed of 160,000 − 180,000 = −20,000. Return on net operating assets computes
    // to 75 %, above the upper quartile of 20 %.
    void basesThatAreNotPositive_data() {
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("notMeaningful");
        QTest::addColumn<QString>("negative");
        QTest::newRow("English") << int(Language::E) << "not meaningful"
                                 << "negative";
        QTest::newRow("French") << int(Language::F) << "non significatif"
                                << "négati";
    }
    void basesThatAreNotPositive() {
        QFETCH(int, language);
        QFETCH(QString, notMeaningful);
        QFETCH(QString, negative);
        const Language lang = Language(language);
        QMap<QString, double> industry;
        for (const char* stem : {"ORTTNOA", "RNOA", "RCE", "RE"}) {
            industry[QLatin1String(stem) + "Q1"] = 5;
            industry[QLatin1String(stem) + "Q2"] = 10;
            industry[QLatin1String(stem) + "Q3"] = 20;
        }
        industry["DEQ1"] = 2.0, industry["DEQ2"] = 1.0, industry["DEQ3"] = 0.5;
        const Case c = compare(
            {{"AccountsPayable", "500000"}, {"RetEarn", "-290000"}, {"OperatingProfit", "-30000"}}, industry);
        QVERIFY(c.comparison.value("MyRONOA").toDouble() > 20); // stored as computed
        const reading::Reading r = readingOf(c, lang);
        const QVariantMap row = reading::tableRow(r, lang);
        const std::array<std::size_t, 5> voided{4, 5, 7, 8, 12};
        for (std::size_t i : voided) {
            const ratios::Ratio& ratio = ratios::all()[i];
            const QString pos = QLatin1String(ratio.positionStem);
            QCOMPARE(r.ratios[i].kind, standing::Kind::BaseNotPositive);
            QVERIFY(!r.ratios[i].numeratorChange);
            QVERIFY(row.value("Value_" + pos).isNull());
            QVERIFY(row.value("Lowest_" + pos).isNull());
            const QString note = row.value("Note_" + pos).toString();
            QVERIFY2(note.startsWith(notMeaningful) && note.contains(negative), qPrintable(note));
            QCOMPARE(row.value("Standing_" + pos).toString(), note);
            const QString name = strings::text(ratio.nameEntry, lang).trimmed();
            QVERIFY2(!r.strengths.contains(name, Qt::CaseInsensitive), qPrintable(r.strengths));
            QVERIFY2(!r.lookFirst.join(u'\n').contains(name), qPrintable(r.lookFirst.join(u'\n')));
        }
        // One reason a base: the two ratios on net operating assets say the same, the others not.
        QCOMPARE(r.notes[4], r.notes[5]);
        QVERIFY(r.notes[5] != r.notes[7] && r.notes[7] != r.notes[8]);
        QCOMPARE(r.notes[8], r.notes[12]);
        QCOMPARE(r.ratios[0].kind, standing::Kind::NoIndustryData); // the margins keep their meaning
        QCOMPARE(readingOf(c, Language(1 - language)).notes[4] == r.notes[4], false);

        // Net operating assets of exactly zero: another reason, no figure either.
        const Case zero = compare({{"AccountsPayable", "460000"}, {"RetEarn", "-250000"}}, industry);
        const reading::Reading z = readingOf(zero, lang);
        QCOMPARE(z.ratios[5].kind, standing::Kind::BaseNotPositive);
        QVERIFY(z.notes[5].startsWith(notMeaningful) && z.notes[5] != r.notes[5]);
    }

    // The firm's figures: revenue 1,000,000, net profit 20,000, receivables 80,000, debt
    // 160,000 over equity 220,000, interest 10,000 and pretax profit 50,000.
    void whatToLookAtFirst_data() {
        QTest::addColumn<int>("ratio");
        QTest::addColumn<QString>("stem");
        QTest::addColumn<double>("median");
        QTest::addColumn<double>("change");
        QTest::addColumn<QString>("english");
        QTest::addColumn<QString>("french");
        // Net profit 20,000 (2.0%) against a median of 2.847%: 0.02847 × 1,000,000 − 20,000.
        QTest::newRow("net profit margin") << 0 << "NPM" << 2.847 << 28470.0 - 20000.0 << "$8,470"
                                           << "8" + nb + "470" + nb + "$";
        // Revenue over receivables 1,000,000 / 80,000 = 12.5 against 14: 14 × 80,000 − 1,000,000.
        QTest::newRow("receivable turnover") << 9 << "RT" << 14.0 << 1120000.0 - 1000000.0 << "$120,000"
                                             << "120" + nb + "000" + nb + "$";
        // Debt to equity 160,000 / 220,000 = 0.727 against 0.5, lower is better: 0.5 × 220,000 − 160,000.
        QTest::newRow("debt to equity") << 12 << "DE" << 0.5 << 110000.0 - 160000.0 << "$50,000"
                                        << "50" + nb + "000" + nb + "$";
        // Interest coverage (10,000 + 50,000) / 10,000 = 6 against 7.5: 7.5 × 10,000 − 60,000.
        QTest::newRow("interest coverage") << 14 << "IC" << 7.5 << 75000.0 - 60000.0 << "$15,000"
                                           << "15" + nb + "000" + nb + "$";
    }
    void whatToLookAtFirst() {
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
        for (Language language : {Language::E, Language::F}) {
            const reading::Reading r = readingOf(c, language);
            QVERIFY(r.ratios[std::size_t(ratio)].numeratorChange);
            QCOMPARE(*r.ratios[std::size_t(ratio)].numeratorChange, change);
            // One line: the ratio's name, where the firm stands and the amount.
            const QString name =
                strings::text(ratios::all()[std::size_t(ratio)].nameEntry, language).trimmed();
            QCOMPARE(r.lookFirst.size(), 1);
            QVERIFY2(r.lookFirst[0].startsWith(name), qPrintable(r.lookFirst[0]));
            QVERIFY2(r.lookFirst[0].contains(r.standings[std::size_t(ratio)]), qPrintable(r.lookFirst[0]));
            QVERIFY2(r.lookFirst[0].contains(language == Language::E ? english : french),
                     qPrintable(r.lookFirst[0]));
        }
    }

    // At most three ratios to look at first: those in the bottom quarter, the furthest behind
    // first, then a line for the rest.
    void atMostThreeToLookAtFirst() {
        // Behind the medians: net profit margin 4.0 % (bottom quarter, 60 % behind its median of
        // 10), pretax 5.0 % (bottom quarter, 50 % behind 10), operating 6.0 % (second quarter, 40 %
        // behind 10), receivable turnover 12.5 (bottom quarter, 37.5 % behind 20), working
        // capital 2.0 (second quarter, 20 % behind 2.5).
        const Case c = compare({}, {{"NPMQ1", 5.0},
                                    {"NPMQ2", 10.0},
                                    {"NPMQ3", 15.0},
                                    {"PPMQ1", 6.0},
                                    {"PPMQ2", 10.0},
                                    {"PPMQ3", 15.0},
                                    {"OPMQ1", 5.0},
                                    {"OPMQ2", 10.0},
                                    {"OPMQ3", 15.0},
                                    {"RTQ1", 15.0},
                                    {"RTQ2", 20.0},
                                    {"RTQ3", 25.0},
                                    {"WCQ1", 1.5},
                                    {"WCQ2", 2.5},
                                    {"WCQ3", 3.0}});
        const reading::Reading r = readingOf(c, Language::E);
        QCOMPARE(r.lookFirst.size(), 4);
        QVERIFY(r.lookFirst[0].startsWith(QStringLiteral("Net profit margin")));
        QVERIFY(r.lookFirst[1].startsWith(QStringLiteral("Pretax profit margin")));
        QVERIFY(r.lookFirst[2].startsWith(QStringLiteral("Receivable turnover")));
        QVERIFY2(r.lookFirst[3].contains(QStringLiteral("2 ratios")), qPrintable(r.lookFirst[3]));
        QVERIFY(readingOf(c, Language::F).lookFirst[3].contains(QStringLiteral("2 ratios")));
        QVERIFY(r.strengths.contains(QStringLiteral("none"), Qt::CaseInsensitive) ||
                r.strengths.startsWith(QStringLiteral("None")));
    }

    void strengthsInOneShortList() {
        // Net profit margin 4.0 % and receivable turnover 12.5 above their upper quartiles.
        const Case c = compare(
            {},
            {{"NPMQ1", 1.0}, {"NPMQ2", 2.0}, {"NPMQ3", 3.0}, {"RTQ1", 9.0}, {"RTQ2", 10.0}, {"RTQ3", 11.0}});
        QVERIFY2(readingOf(c, Language::E).strengths.endsWith(": net profit margin and receivable turnover."),
                 qPrintable(readingOf(c, Language::E).strengths));
        QVERIFY(
            readingOf(c, Language::F)
                .strengths.endsWith(nb + ": marge bénéficiaire nette et rotation des comptes débiteurs."));
        QCOMPARE(readingOf(c, Language::E).lookFirst.size(), 1); // nothing behind the median
    }

    // The trend of a ratio group compares the earliest and the latest years that have both
    // the firm's figures and the industry's, names them, and counts its ratios in words that
    // agree with the number.
    void trendComparesTheYearsWithBothFigures_data() {
        QTest::addColumn<bool>("industry2009");
        QTest::addColumn<bool>("inventory"); // inventory turnover has figures too
        QTest::addColumn<QString>("english");
        QTest::addColumn<QString>("french");
        QTest::newRow("no industry figures for 2009, one ratio")
            << false << false
            << "Efficiency, 2010 to 2011: overall you moved towards the industry median, on 1 of 1 ratio "
            << QString("Rendement, de 2010 à 2011\u00a0: dans l'ensemble, votre entreprise s'est rapprochée "
                       "de la "
                       "médiane de l'industrie, pour 1 ratio sur 1 ");
        QTest::newRow("three years, two ratios")
            << true << true
            << "Efficiency, 2009 to 2011: overall you moved towards the industry median, on 2 of 2 ratios "
            << QString("Rendement, de 2009 à 2011\u00a0: dans l'ensemble, votre entreprise s'est rapprochée "
                       "de la "
                       "médiane de l'industrie, pour 2 ratios sur 2 ");
    }
    void trendComparesTheYearsWithBothFigures() {
        QFETCH(bool, industry2009);
        QFETCH(bool, inventory);
        QFETCH(QString, english);
        QFETCH(QString, french);
        // Receivable turnover (9) and inventory turnover (10) close in on medians of 12 and 6.
        firmtrend::Trend t;
        for (int k = 0; k < 3; ++k) {
            firmtrend::Year& y = t.years[std::size_t(k)];
            y.year = int16_t(2009 + k);
            y.saved = true;
            y.industry = k > 0 || industry2009;
            y.firm[9] = 8.0 + k;
            y.firm[10] = inventory ? std::optional<double>(3.0 + k) : std::nullopt;
            if (y.industry) y.median[9] = 12.0, y.median[10] = 6.0;
        }
        const QString e = firmtrend::groupSentence(t, 1, Language::E);
        QVERIFY2(e.startsWith(english), qPrintable(e));
        const QString f = firmtrend::groupSentence(t, 1, Language::F);
        QVERIFY2(f.startsWith(french), qPrintable(f));
        // A single year with both figures is no trend.
        t.years[1].saved = false;
        t.years[2].industry = false;
        QVERIFY(!firmtrend::groupSentence(t, 1, Language::E).contains(QStringLiteral("20")));
    }

    void balanceSheetItemsThatDifferMost() {
        // Shares of 500,000: mortgages 20%, loans 8%, cash 10%, against 5%, 8% and 30%.
        const Case c = compare({}, {{"a25500", 5.0}, {"a25180", 8.0}, {"a11", 30.0}, {"a12", 16.0}});
        QCOMPARE(
            readingOf(c, Language::E).balance.split(QChar::LineSeparator),
            QStringList({"Your balance sheet differs most from the industry's in these items, as shares of "
                         "total assets.",
                         "Cash and deposits: 10.0% for you against 30.0% for the industry "
                         "(20.0 percentage points less).",
                         "Mortgages: 20.0% for you against 5.0% for the industry (15.0 percentage points "
                         "more)."}));
        QVERIFY(readingOf(c, Language::F)
                    .balance.contains("Hypothèques" + nb + ": 20,0" + nb + "% pour vous contre 5,0" + nb +
                                      "% pour l'industrie (15,0" + nb + "points de pourcentage de plus)."));
    }
};

QTEST_MAIN(TestReading)
#include "test_reading.moc"
