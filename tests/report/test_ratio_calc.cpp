// The ratio, position and variance rules, on constructed firms.

#include "firm/FirmStatement.h"
#include "platform/Platform.h"
#include "report/RatioCalc.h"

#include <QtTest>
#include <cmath>
#include <limits>

namespace {

using ratiocalc::FirmNumbers;

int at(const char* column) {
    return firmrules::comparisonIndex(*lineitems::indexOf(QLatin1String(column)));
}

int ratioIndex(const char* firmColumn) {
    const auto all = ratios::all();
    for (size_t i = 0; i < all.size(); ++i)
        if (qstrcmp(all[i].firmColumn, firmColumn) == 0) return static_cast<int>(i);
    return -1;
}

// A plausible small retailer.
FirmNumbers retailer() {
    FirmNumbers f{};
    auto set = [&f](const char* c, double v) { f[at(c)] = v; };
    set("Cash", 50000);
    set("Ar", 80000);
    set("Inv", 120000);
    set("CA", 200000);
    set("OA", 10000);
    set("Toa", 460000);
    set("Invest", 20000);
    set("Ptfl", 20000);
    set("Ta", 500000);
    set("OperatingRevenue", 1000000);
    set("Sales", 950000);
    set("GrossProfit", 300000);
    set("OperatingProfit", 60000);
    set("InterestExpense", 10000);
    set("PretaxProfit", 50000);
    set("ProfitAfterTax", 40000);
    set("AccountsPayable", 100000);
    set("Paper", 10000);
    set("Mtg", 100000);
    set("Bonds", 0);
    set("Ol", 40000);
    set("AmtsAffil", 10000);
    set("OLiab", 15000);
    set("DefTax", 5000);
    set("Tliab", 280000);
    set("ShareC", 100000);
    set("RetEarn", 110000);
    set("OtherSur", 10000);
    set("Equity1", 220000);
    set("TotLiabShareEq", 500000);
    set("CurrentAssets", 260000);
    set("CurrentLiabilities", 130000);
    return f;
}

} // namespace

class TestRatioCalc : public QObject {
    Q_OBJECT
private slots:
    void guardedQuotient_data() {
        QTest::addColumn<double>("num");
        QTest::addColumn<double>("den");
        QTest::addColumn<double>("ratio");
        QTest::newRow("plain") << 10.0 << 4.0 << 2.5;
        QTest::newRow("zero denominator") << 10.0 << 0.0 << 0.0;
        QTest::newRow("zero numerator") << 0.0 << 4.0 << 0.0;
        QTest::newRow("negative") << -10.0 << 4.0 << -2.5;
    }
    void guardedQuotient() {
        QFETCH(double, num);
        QFETCH(double, den);
        QFETCH(double, ratio);
        QCOMPARE(fncCalcRatio(num, den), ratio);
    }

    void positions_data() {
        QTest::addColumn<bool>("lowerIsBetter");
        QTest::addColumn<double>("q1");
        QTest::addColumn<double>("q2");
        QTest::addColumn<double>("q3");
        QTest::addColumn<double>("ratio");
        QTest::addColumn<double>("better");
        QTest::addColumn<double>("worse");
        // Higher is better, Q1 5, Q2 10, Q3 15.
        QTest::newRow("below Q1") << false << 5.0 << 10.0 << 15.0 << 4.0 << 0.0 << 75.0;
        QTest::newRow("at Q1") << false << 5.0 << 10.0 << 15.0 << 5.0 << 0.0 << 50.0;
        QTest::newRow("between Q1 and Q2") << false << 5.0 << 10.0 << 15.0 << 7.0 << 25.0 << 50.0;
        QTest::newRow("at the median") << false << 5.0 << 10.0 << 15.0 << 10.0 << 25.0 << 25.0;
        QTest::newRow("between Q2 and Q3") << false << 5.0 << 10.0 << 15.0 << 12.0 << 50.0 << 25.0;
        QTest::newRow("at Q3") << false << 5.0 << 10.0 << 15.0 << 15.0 << 50.0 << 0.0;
        QTest::newRow("above Q3") << false << 5.0 << 10.0 << 15.0 << 16.0 << 75.0 << 0.0;
        QTest::newRow("missing median") << false << 2.0 << 0.0 << 8.0 << 5.0 << 25.0 << 25.0;
        QTest::newRow("missing Q1, below all") << false << 0.0 << 10.0 << 15.0 << 1.0 << 0.0 << 50.0;
        QTest::newRow("missing Q3, above all") << false << 5.0 << 10.0 << 0.0 << 20.0 << 50.0 << 0.0;
        QTest::newRow("all missing") << false << 0.0 << 0.0 << 0.0 << 5.0 << 0.0 << 0.0;
        QTest::newRow("negative boundaries, loss") << false << -4.0 << -1.0 << 2.0 << -2.0 << 25.0 << 50.0;
        // Lower is better (debt to equity), Q1 2 > Q2 1 > Q3 0.4.
        QTest::newRow("DE 0.5") << true << 2.0 << 1.0 << 0.4 << 0.5 << 50.0 << 25.0;
        QTest::newRow("DE below Q3") << true << 2.0 << 1.0 << 0.4 << 0.3 << 75.0 << 0.0;
        QTest::newRow("DE above Q1") << true << 2.0 << 1.0 << 0.4 << 3.0 << 0.0 << 75.0;
        QTest::newRow("DE at the median") << true << 2.0 << 1.0 << 0.4 << 1.0 << 25.0 << 25.0;
        QTest::newRow("DE missing Q3") << true << 2.0 << 1.0 << 0.0 << 0.1 << 50.0 << 0.0;
        // 48,380 on 1,180,000 is 4.1 %, computed as 4.1000000000000005: the median all the same.
        QTest::newRow("at the median but for the division's rounding")
            << false << 2.0 << 4.1 << 6.0 << 48380.0 / 1180000.0 * 100 << 25.0 << 25.0;
        QTest::newRow("a hundredth above the median") << false << 2.0 << 4.1 << 6.0 << 4.11 << 50.0 << 25.0;
    }
    void positions() {
        QFETCH(bool, lowerIsBetter);
        QFETCH(double, q1);
        QFETCH(double, q2);
        QFETCH(double, q3);
        QFETCH(double, ratio);
        QFETCH(double, better);
        QFETCH(double, worse);
        if (lowerIsBetter) {
            QCOMPARE(fncExceptionCalcBetter(q1, q2, q3, ratio), better);
            QCOMPARE(fncExceptionCalcWorse(q1, q2, q3, ratio), worse);
        } else {
            QCOMPARE(fncCalcBetter(q1, q2, q3, ratio), better);
            QCOMPARE(fncCalcWorse(q1, q2, q3, ratio), worse);
        }
    }

    void ratiosOfARetailer_data() {
        QTest::addColumn<QString>("column");
        QTest::addColumn<double>("value");
        QTest::newRow("net profit margin") << "MyNPM" << 4.0;
        QTest::newRow("pretax profit margin") << "MyPPM" << 5.0;
        QTest::newRow("operating profit margin") << "MyOPM" << 6.0;
        QTest::newRow("gross profit margin") << "MyGPM" << 300000.0 / 950000.0 * 100;
        // Net operating assets: 500,000 - 20,000 - 20,000 - 100,000 = 360,000.
        QTest::newRow("revenue to NOA") << "MyORTNOA" << 1000000.0 / 360000.0 * 100;
        QTest::newRow("return on NOA") << "MyRONOA" << 60000.0 / 360000.0 * 100;
        QTest::newRow("pretax profit to assets") << "MyPPTA" << 10.0;
        // Capital employed: 100,000 + 220,000 + 0 + 40,000 + 10,000 + 10,000 = 380,000.
        QTest::newRow("return on capital employed") << "MyROCE" << 50000.0 / 380000.0 * 100;
        QTest::newRow("return on equity") << "MyROE" << 40000.0 / 220000.0 * 100;
        QTest::newRow("receivable turnover") << "MyRT" << 12.5;
        QTest::newRow("inventory turnover") << "MyIT" << 650000.0 / 120000.0;
        QTest::newRow("working capital") << "MyWC" << 2.0;
        QTest::newRow("debt to equity") << "MyDE" << 160000.0 / 220000.0;
        QTest::newRow("liabilities to assets") << "MyLTA" << 0.56;
        QTest::newRow("interest coverage") << "MyIC" << 6.0;
    }
    void ratiosOfARetailer() {
        QFETCH(QString, column);
        QFETCH(double, value);
        const auto r = ratiocalc::computeRatios(retailer());
        QCOMPARE(r[ratioIndex(column.toLatin1().constData())], value);
    }

    void zeroDenominatorsAndLosses() {
        FirmNumbers f = retailer();
        f[at("Sales")] = 0;
        auto r = ratiocalc::computeRatios(f);
        QCOMPARE(r[ratioIndex("MyGPM")], 0.0);
        QCOMPARE(r[ratioIndex("MyIT")], -300000.0 / 120000.0); // no sales: minus gross profit over inventory
        f = retailer();
        f[at("Inv")] = 0;
        QCOMPARE(ratiocalc::computeRatios(f)[ratioIndex("MyIT")], 0.0);
        f = retailer();
        f[at("InterestExpense")] = 0;
        r = ratiocalc::computeRatios(f);
        QCOMPARE(r[ratioIndex("MyIC")], 0.0);
        f = retailer();
        f[at("ProfitAfterTax")] = -25000;
        QCOMPARE(ratiocalc::computeRatios(f)[ratioIndex("MyNPM")], -2.5);
    }

    void negativeEquityZeroesReturnOnEquityAndDebtToEquity() {
        FirmNumbers f = retailer();
        f[at("Equity1")] = -50000;
        // Quartiles that any value would pass, so only the rule can give 0.
        const auto industry = [](const QString& c) {
            return c.startsWith(QLatin1String("DE")) ? 1000.0 : -1000.0;
        };
        const ratiocalc::Results res = ratiocalc::compute(f, industry);
        for (const char* c : {"MyROE", "MyDE"}) {
            const int i = ratioIndex(c);
            QCOMPARE(res.ratios[i], 0.0);
            QCOMPARE(res.better[i], 0.0);
            QCOMPARE(res.worse[i], 0.0);
        }
        QCOMPARE(res.better[ratioIndex("MyNPM")], 75.0);
    }

    void zeroEquityGivesZeroThroughTheGuard() {
        FirmNumbers f = retailer();
        f[at("Equity1")] = 0;
        const auto r = ratiocalc::computeRatios(f);
        QCOMPARE(r[ratioIndex("MyROE")], 0.0);
        QCOMPARE(r[ratioIndex("MyDE")], 0.0);
    }

    void overflowIsStoredAsZero() {
        FirmNumbers f = retailer();
        f[at("ProfitAfterTax")] = 1e308;
        f[at("OperatingRevenue")] = 1e-10;
        QCOMPARE(ratiocalc::computeRatios(f)[ratioIndex("MyNPM")], 0.0);
        QCOMPARE(ratiocalc::finiteOrZero(std::numeric_limits<double>::quiet_NaN()), 0.0);
    }

    void variancesAreFirmShareMinusIndustryShare() {
        const FirmNumbers f = retailer();
        const auto industry = [](const QString& c) {
            if (c == QLatin1String("a11")) return 12.5;
            if (c == QLatin1String("totass")) return 100.0;
            if (c == QLatin1String("totse")) return 50.0;
            return 0.0;
        };
        const ratiocalc::Results res = ratiocalc::compute(f, industry);
        const auto vars = ratios::variances();
        for (size_t i = 0; i < vars.size(); ++i) {
            const QString col = QLatin1String(vars[i].column);
            const double share = f[at(vars[i].lineItem)] / 500000.0 * 100;
            QCOMPARE(res.firmShares[i], share);
            if (col == QLatin1String("VarianceCash")) QCOMPARE(res.variances[i], 10.0 - 12.5);
            if (col == QLatin1String("VarianceTOTASS")) QCOMPARE(res.variances[i], 0.0);
            if (col == QLatin1String("VarianceEq")) QCOMPARE(res.variances[i], 44.0 - 50.0);
        }
    }

    void firmNumbersReadTheArray() {
        QStringList a(37);
        for (int i = 4; i < 37; ++i)
            a[i] = QString::number(i);
        a[21].clear();
        a[12] = QStringLiteral("1.677722E+07");
        const FirmNumbers f = ratiocalc::firmNumbers(a);
        QCOMPARE(f[4], 4.0);
        QCOMPARE(f[12], 16777220.0);
        QCOMPARE(f[36], 36.0);
        a[30] = QStringLiteral("n/a");
        QVERIFY_THROWS_EXCEPTION(FatalError, ratiocalc::firmNumbers(a));
    }
};

QTEST_GUILESS_MAIN(TestRatioCalc)
#include "test_ratio_calc.moc"
