// Filling the report tables from the sample data, checked against an independent
// computation of every ratio, position, variance and copied figure.

#include "firm/FirmStatement.h"
#include "report/RatioTable.h"
#include "report/ReportPreparation.h"
#include "state/modMain.h"
#include "support/RecordingPlatform.h"
#include "support/SampleData.h"
#include "support/TestDatabases.h"

#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QtTest>
#include <clocale>
#include <cmath>

using namespace modMain;

namespace {

const QString kRead = QStringLiteral("read");

// The firm's figures by MyValues column.
using Figures = QMap<QString, double>;

Figures retailerFigures() {
    return {{"Cash", 50000},
            {"Ar", 80000},
            {"Inv", 120000},
            {"CA", 200000},
            {"OA", 10000},
            {"Toa", 460000},
            {"Invest", 20000},
            {"Ptfl", 20000},
            {"Ta", 500000},
            {"OperatingRevenue", 1000000},
            {"Sales", 950000},
            {"GrossProfit", 300000},
            {"OperatingProfit", 60000},
            {"InterestExpense", 10000},
            {"PretaxProfit", 50000},
            {"ProfitAfterTax", 40000},
            {"AccountsPayable", 100000},
            {"Paper", 10000},
            {"Mtg", 100000},
            {"Bonds", 0},
            {"Ol", 40000},
            {"AmtsAffil", 10000},
            {"OLiab", 15000},
            {"DefTax", 5000},
            {"Tliab", 280000},
            {"ShareC", 100000},
            {"RetEarn", 110000},
            {"OtherSur", 10000},
            {"Equity1", 220000},
            {"TotLiabShareEq", 500000},
            {"CurrentAssets", 260000},
            {"CurrentLiabilities", 130000}};
}

QStringList comparisonArray(const QString& name, int year, const QString& naics, const QString& title,
                            const Figures& f) {
    FirmStatement firm;
    firm.firmName = name;
    firm.year = QString::number(year);
    firm.naics = naics;
    for (const lineitems::LineItem& item : lineitems::all())
        firm.value(item.column) = QString::number(f.value(QLatin1String(item.column)), 'g', 15);
    return firmrules::comparisonValues(firm, title);
}

// The two ratios for which a lower value is better, and the two that mean nothing with
// negative equity, as the published ratios define them.
const QStringList kLowerIsBetter{QStringLiteral("DE"), QStringLiteral("LTA")};
const QStringList kNegativeEquityRule{QStringLiteral("RE"), QStringLiteral("DE")};

// Quotients as the published ratios define them, written out on their own.
double quotient(double n, double d) {
    return (n == 0 || d == 0) ? 0 : n / d;
}

QMap<QString, double> expectedRatios(const Figures& f) {
    const double noa = f["Ta"] - f["Invest"] - f["Ptfl"] - f["AccountsPayable"];
    const double debt = f["Mtg"] + f["Bonds"] + f["Ol"] + f["Paper"] + f["AmtsAffil"];
    const double capital = f["Mtg"] + f["Equity1"] + f["Bonds"] + f["Ol"] + f["Paper"] + f["AmtsAffil"];
    const bool negativeEquity = f["Equity1"] < 0;
    return {
        {"NPM", 100 * quotient(f["ProfitAfterTax"], f["OperatingRevenue"])},
        {"PPM", 100 * quotient(f["PretaxProfit"], f["OperatingRevenue"])},
        {"OPM", 100 * quotient(f["OperatingProfit"], f["OperatingRevenue"])},
        {"GPM", 100 * quotient(f["GrossProfit"], f["Sales"])},
        {"ORTNOA", 100 * quotient(f["OperatingRevenue"], noa)},
        {"RONOA", 100 * quotient(f["OperatingProfit"], noa)},
        {"PPA", 100 * quotient(f["PretaxProfit"], f["Ta"])},
        {"RCE", 100 * quotient(f["InterestExpense"] + f["ProfitAfterTax"], capital)},
        {"RE", negativeEquity ? 0 : 100 * quotient(f["ProfitAfterTax"], f["Equity1"])},
        {"RT", quotient(f["OperatingRevenue"], f["Ar"])},
        {"IT", quotient(f["Sales"] - f["GrossProfit"], f["Inv"])},
        {"WC", quotient(f["CurrentAssets"], f["CurrentLiabilities"])},
        {"DE", negativeEquity ? 0 : quotient(debt, f["Equity1"])},
        {"LTA", quotient(f["Tliab"], f["Ta"])},
        {"IC", quotient(f["InterestExpense"] + f["PretaxProfit"], f["InterestExpense"])},
    };
}

// The highest quarter boundary the firm is beyond (a 0 boundary is missing).
double beyond(const std::array<double, 3>& q, double ratio, bool lowerIsBetter, bool better) {
    for (int k = 3; k >= 1; --k) {
        const double b = better ? q[k - 1] : q[3 - k];
        if (b == 0) continue;
        const bool passes = (better != lowerIsBetter) ? ratio > b : ratio < b;
        if (passes) return 25.0 * k;
    }
    return 0;
}

bool close(double a, double b) {
    return std::fabs(a - b) <= 1e-9 * std::max(1.0, std::fabs(b));
}

} // namespace

class TestReportPreparation : public QObject {
    Q_OBJECT

    std::unique_ptr<TestDatabases> dbs;
    std::unique_ptr<RecordingPlatform> platform;

    void editReference(const QString& sql, const QVariantList& params = {}) {
        dbs->editReference(sql, params);
    }

    QString completeIndustry(const QString& region = QStringLiteral("NS")) {
        return ::completeIndustry(gcnData, region);
    }

    RecordsetPtr datasetRow(int volume, const QString& region, int year, const QString& naics) {
        return GetRS(gcnData,
                     QStringLiteral("select * from ") + catalogue::datasetTableName(volume, region, year) +
                         QStringLiteral(" where NAICS = ?"),
                     kRead, {naics});
    }

    RecordsetPtr comparisonRow() {
        return GetRS(gcnMyData, QStringLiteral("select * from Rpt_Comparison"), kRead);
    }

    bool compare(int16_t volume, const QString& region, int16_t year, const QString& naics,
                 const QString& language, const QStringList& values) {
        return fncPrepareComparisonReport(gcnData, gcnMyData, QStringLiteral("com"), volume, region, year,
                                          naics, language, values);
    }

    // Every figure of the comparison row against the independent computation.
    void verifyComparison(const Figures& f, const RecordsetPtr& industry, const RecordsetPtr& row) {
        QVERIFY(!row->eof());
        QCOMPARE(row->recordCount(), 1);
        const QMap<QString, double> ratios = expectedRatios(f);
        const bool negativeEquity = f["Equity1"] < 0;
        for (const ratios::Ratio& r : ratios::all()) {
            const QString stem = QLatin1String(r.positionStem);
            const double mine = row->field(QLatin1String(r.firmColumn)).toDouble();
            QVERIFY2(close(mine, ratios[stem]),
                     qPrintable(QStringLiteral("%1: %2 vs %3").arg(stem).arg(mine).arg(ratios[stem])));
            std::array<double, 3> q{};
            for (int k = 0; k < 3; ++k) {
                const QVariant v =
                    industry->field(QLatin1String(r.quartileStem) + QStringLiteral("Q%1").arg(k + 1));
                q[k] = v.isNull() ? 0 : v.toDouble();
            }
            const bool lower = kLowerIsBetter.contains(stem);
            const bool ruled = kNegativeEquityRule.contains(stem) && negativeEquity;
            QCOMPARE(row->field(QStringLiteral("Better") + stem).toDouble(),
                     ruled ? 0.0 : beyond(q, ratios[stem], lower, true));
            QCOMPARE(row->field(QStringLiteral("Worse") + stem).toDouble(),
                     ruled ? 0.0 : beyond(q, ratios[stem], lower, false));
            QCOMPARE(row->field(QLatin1String(r.quartileStem) + QStringLiteral("Q2")),
                     industry->field(QLatin1String(r.quartileStem) + QStringLiteral("Q2")));
        }
        for (const ratios::Variance& v : ratios::variances()) {
            const double share = f[QLatin1String(v.lineItem)] / f["Ta"] * 100;
            const QVariant ind = industry->field(QLatin1String(v.industryColumn));
            QVERIFY(close(row->field(QLatin1String(v.column)).toDouble(),
                          share - (ind.isNull() ? 0 : ind.toDouble())));
            QVERIFY(close(row->field(QStringLiteral("My") + QLatin1String(v.lineItem)).toDouble(), share));
            QCOMPARE(row->field(QLatin1String(v.industryColumn)), ind);
        }
        QCOMPARE(row->field(QStringLiteral("MyTa")).toDouble(), 100.0);
        for (const char* income : {"OperatingRevenue", "GrossProfit", "OperatingProfit", "InterestExpense",
                                   "PretaxProfit", "ProfitAfterTax"})
            QCOMPARE(row->field(QStringLiteral("My") + QLatin1String(income)).toDouble(),
                     f[QLatin1String(income)]);
        for (const char* c : {"NumberOfFirms", "OPP", "OPL", "PPP", "PPL", "NPP", "NPL"})
            QCOMPARE(row->field(QLatin1String(c)).toDouble(), industry->field(QLatin1String(c)).toDouble());
        // The statement as entered, every one of the 32 values, sales included.
        QCOMPARE(f.size(), 32);
        for (auto it = f.begin(); it != f.end(); ++it)
            QCOMPARE(row->field(QStringLiteral("Stmt") + it.key()).toDouble(), it.value());
    }

private slots:
    void init() {
        dbs = std::make_unique<TestDatabases>();
        platform = std::make_unique<RecordingPlatform>();
    }
    void cleanup() {
        platform.reset();
        dbs.reset();
    }

    void firmsOfEveryYearAndLanguage_data() {
        QTest::addColumn<int>("year");
        QTest::addColumn<QString>("language");
        for (int y : {2011, 2010, 2009})
            for (const char* l : {"E", "F"})
                QTest::newRow(qPrintable(QStringLiteral("%1 %2").arg(y).arg(QLatin1String(l))))
                    << y << QString::fromLatin1(l);
    }
    void firmsOfEveryYearAndLanguage() {
        QFETCH(int, year);
        QFETCH(QString, language);
        dbs->open();
        const QString naics = completeIndustry();
        QVERIFY(!naics.isEmpty());
        const Figures f = retailerFigures();
        QVERIFY(compare(
            3, QStringLiteral("NS"), static_cast<int16_t>(year), naics, language,
            comparisonArray(QStringLiteral("Test Ltd."), year, naics, QStringLiteral("Some industry"), f)));
        QVERIFY(platform->messages.isEmpty());
        // A firm of 2010 is compared with the 2010 working table, although the extraction counted from 2011.
        verifyComparison(f, datasetRow(3, QStringLiteral("NS"), year, naics), comparisonRow());
        RecordsetPtr row = comparisonRow();
        QCOMPARE(row->field(QStringLiteral("MyYear")).toInt(), year);
        QCOMPARE(row->field(QStringLiteral("MyNAICS")).toString(), naics);
        RecordsetPtr titles = GetRS(gcnMyData, QStringLiteral("select * from Rpt_Comparison_Titles"), kRead);
        QCOMPARE(titles->recordCount(), 1);
        QCOMPARE(titles->field(QStringLiteral("Language")).toString(), language);
        QCOMPARE(titles->field(QStringLiteral("NAICS")).toString(), naics);
        const QString title1 =
            GetRS(gcnMyData,
                  QStringLiteral("select Title1 from Volume_Descriptions where Volume = 3 and Language = ?"),
                  kRead, {language})
                ->field(0)
                .toString();
        const QString region = language == QLatin1String("F") ? QStringLiteral("Nouvelle-Écosse")
                                                              : QStringLiteral("Nova Scotia");
        QCOMPARE(row->field(QStringLiteral("MyVol")).toString(), title1 + QStringLiteral(" - ") + region);
    }

    void negativeEquityAndZeroDenominators_data() {
        QTest::addColumn<QString>("change");
        QTest::newRow("negative equity") << "equity";
        QTest::newRow("no sales") << "sales";
        QTest::newRow("no inventory") << "inventory";
        QTest::newRow("no interest") << "interest";
        QTest::newRow("net loss") << "loss";
    }
    void negativeEquityAndZeroDenominators() {
        QFETCH(QString, change);
        dbs->open();
        const QString naics = completeIndustry();
        Figures f = retailerFigures();
        if (change == QLatin1String("equity")) {
            f["RetEarn"] = -400000;
            f["Equity1"] = -290000;
            f["TotLiabShareEq"] = -10000;
        } else if (change == QLatin1String("sales")) {
            f["Sales"] = 0;
        } else if (change == QLatin1String("inventory")) {
            f["Inv"] = 0;
        } else if (change == QLatin1String("interest")) {
            f["InterestExpense"] = 0;
        } else {
            f["ProfitAfterTax"] = -30000;
            f["PretaxProfit"] = -35000;
        }
        QVERIFY(compare(3, QStringLiteral("NS"), 2011, naics, QStringLiteral("E"),
                        comparisonArray(QStringLiteral("Test"), 2011, naics, QStringLiteral("x"), f)));
        verifyComparison(f, datasetRow(3, QStringLiteral("NS"), 2011, naics), comparisonRow());
    }

    void noDataForTheFirmsYear() {
        dbs->open();
        RecordsetPtr rs =
            GetRS(gcnData,
                  QStringLiteral(
                      "select b.NAICS from ZEBRO_Vol3_NS_2010_Final_Ratios b join "
                      "ZEBRO_Vol3_NS_2011_Final_Ratios a "
                      "on a.NAICS = b.NAICS where b.NumberOfFirms is null and a.NumberOfFirms is not null"),
                  kRead);
        QVERIFY2(!rs->eof(), "the sample data holds an industry without 2010 figures in Nova Scotia");
        const QString naics = rs->field(0).toString();
        const QStringList values =
            comparisonArray(QStringLiteral("A"), 2010, naics, QStringLiteral("x"), retailerFigures());
        QVERIFY(compare(3, QStringLiteral("NS"), 2011, naics, QStringLiteral("E"), values));
        QVERIFY(!compare(3, QStringLiteral("NS"), 2010, naics, QStringLiteral("E"), values));
        QCOMPARE(platform->lastMessage(), QStringLiteral("This industry has no data for 2010"));
        QCOMPARE(platform->messages.last().buttons, MsgButtons::OK);
        QVERIFY(comparisonRow()->eof());
        QVERIFY(!compare(3, QStringLiteral("NS"), 2010, naics, QStringLiteral("F"), values));
        QCOMPARE(platform->lastMessage(),
                 QStringLiteral("Il n'y a pas de données pour cette industrie pour 2010"));
    }

    void apostrophesAreKept() {
        dbs->open();
        const QString naics = completeIndustry();
        const QStringList values =
            comparisonArray(QStringLiteral("O'Brien Ltd."), 2011, naics,
                            QStringLiteral("Men's clothing stores"), retailerFigures());
        QVERIFY(compare(3, QStringLiteral("NS"), 2011, naics, QStringLiteral("E"), values));
        RecordsetPtr row = comparisonRow();
        QCOMPARE(row->field(QStringLiteral("MyFirmName")).toString(), QStringLiteral("O'Brien Ltd."));
        QCOMPARE(row->field(QStringLiteral("MyIndustry")).toString(),
                 QStringLiteral("Men's clothing stores"));
    }

    void extractionCopiesThreeYears() {
        dbs->open();
        const QString naics = completeIndustry();
        subExtractIndustryData(gcnData, gcnMyData, QStringLiteral("rat"), 3, QStringLiteral("NS"), 2011,
                               naics, QStringLiteral("E"));
        for (int k = 0; k < 3; ++k) {
            RecordsetPtr wt =
                GetRS(gcnMyData, QStringLiteral("select * from ") + catalogue::workingTable(k), kRead);
            QCOMPARE(wt->recordCount(), 1);
            RecordsetPtr src = datasetRow(3, QStringLiteral("NS"), 2011 - k, naics);
            for (const QString& c : ratios::datasetColumns())
                QCOMPARE(wt->field(c), src->field(c));
        }
    }

    void missingYearTableAndStaleRows() {
        // A first extraction fills all three tables; a second one for an industry of a
        // dataset whose 2010 table is missing must not leave the first one's rows behind.
        editReference(QStringLiteral("drop table ZEBRO_Vol3_NS_2010_Final_Ratios"));
        dbs->open();
        const QString other = completeIndustry(QStringLiteral("QC"));
        subExtractIndustryData(gcnData, gcnMyData, QStringLiteral("rat"), 3, QStringLiteral("QC"), 2011,
                               other, QStringLiteral("E"));
        RecordsetPtr rs =
            GetRS(gcnData,
                  QStringLiteral("select a.NAICS from ZEBRO_Vol3_NS_2011_Final_Ratios a join "
                                 "ZEBRO_Vol3_NS_2009_Final_Ratios c on a.NAICS = c.NAICS where a.NAICS <> ? "
                                 "and c.NumberOfFirms is not null"),
                  kRead, {other});
        const QString naics = rs->field(0).toString();
        subExtractIndustryData(gcnData, gcnMyData, QStringLiteral("rat"), 3, QStringLiteral("NS"), 2011,
                               naics, QStringLiteral("E"));
        RecordsetPtr cy =
            GetRS(gcnMyData, QStringLiteral("select NAICS, NumberOfFirms from Rpt_Data_CY"), kRead);
        RecordsetPtr m1 = GetRS(gcnMyData, QStringLiteral("select * from Rpt_Data_CYM1"), kRead);
        RecordsetPtr m2 =
            GetRS(gcnMyData, QStringLiteral("select NAICS, NumberOfFirms from Rpt_Data_CYM2"), kRead);
        QCOMPARE(cy->field(0).toString(), naics);
        QCOMPARE(m1->recordCount(), 1);
        QCOMPARE(m1->field(QStringLiteral("NAICS")).toString(), naics);
        for (int i = 0; i < m1->fieldCount(); ++i)
            if (m1->fieldName(i).compare(QLatin1String("NAICS"), Qt::CaseInsensitive) != 0)
                QVERIFY(m1->field(i).isNull());
        QCOMPARE(m2->field(0).toString(), naics);
        QVERIFY(!m2->field(1).isNull());
        // A firm of 2010 is then told there are no data.
        QVERIFY(!compare(
            3, QStringLiteral("NS"), 2010, naics, QStringLiteral("E"),
            comparisonArray(QStringLiteral("A"), 2010, naics, QStringLiteral("x"), retailerFigures())));
    }

    void industryWithoutARowInAnExistingTable() {
        dbs->open();
        const QString naics = completeIndustry();
        editReference(QStringLiteral("delete from ZEBRO_Vol3_NS_2009_Final_Ratios where NAICS = ?"), {naics});
        subExtractIndustryData(gcnData, gcnMyData, QStringLiteral("rat"), 3, QStringLiteral("NS"), 2011,
                               naics, QStringLiteral("E"));
        RecordsetPtr m2 = GetRS(
            gcnMyData, QStringLiteral("select NAICS, NumberOfFirms, IndustryDescription from Rpt_Data_CYM2"),
            kRead);
        QCOMPARE(m2->recordCount(), 1);
        QCOMPARE(m2->field(0).toString(), naics);
        QVERIFY(m2->field(1).isNull());
        QVERIFY(m2->field(2).isNull());
    }

    void nullsStayNullAndCountAsZero() {
        dbs->open();
        const QString naics = completeIndustry();
        editReference(
            QStringLiteral(
                "update ZEBRO_Vol3_NS_2011_Final_Ratios set a11 = null, NPMQ3 = null where NAICS = ?"),
            {naics});
        const Figures f = retailerFigures();
        QVERIFY(compare(3, QStringLiteral("NS"), 2011, naics, QStringLiteral("E"),
                        comparisonArray(QStringLiteral("A"), 2011, naics, QStringLiteral("x"), f)));
        RecordsetPtr cy = GetRS(gcnMyData, QStringLiteral("select a11, NPMQ3 from Rpt_Data_CY"), kRead);
        QVERIFY(cy->field(0).isNull());
        QVERIFY(cy->field(1).isNull());
        RecordsetPtr row = comparisonRow();
        QVERIFY(row->field(QStringLiteral("A11")).isNull());
        QCOMPARE(row->field(QStringLiteral("VarianceCash")).toDouble(), 10.0);
        verifyComparison(f, datasetRow(3, QStringLiteral("NS"), 2011, naics), row);
    }

    void frenchTitlesAndLowerCaseLanguage_data() {
        QTest::addColumn<QString>("language");
        QTest::addColumn<bool>("frenchDescription");
        QTest::newRow("F") << "F" << true;
        QTest::newRow("f") << "f" << false;
    }
    void frenchTitlesAndLowerCaseLanguage() {
        QFETCH(QString, language);
        QFETCH(bool, frenchDescription);
        dbs->open();
        RecordsetPtr any = GetRS(
            gcnData,
            QStringLiteral("select a.NAICS, d.Description_french, a.IndustryDescription from "
                           "ZEBRO_Vol1_ALL_2011_Final_Ratios a join ZEBRO_NAICS_Description_Ind_Detailed d "
                           "on a.NAICS = d.NAICS where a.NumberOfFirms is not null order by a.NAICS"),
            kRead);
        const QString naics = any->field(0).toString();
        QVERIFY(fncPrepareRatiosReport(gcnData, gcnMyData, QStringLiteral("rat"), 1, QStringLiteral("ALL"),
                                       2011, naics, language));
        const QString description =
            GetRS(gcnMyData, QStringLiteral("select IndustryDescription from Rpt_Data_CY"), kRead)
                ->field(0)
                .toString();
        QCOMPARE(description,
                 frenchDescription ? any->field(1).toString().trimmed() : any->field(2).toString());
        RecordsetPtr titles = GetRS(gcnMyData, QStringLiteral("select * from Rpt_Ratios_Titles"), kRead);
        QCOMPARE(titles->recordCount(), 1);
        QCOMPARE(titles->field(QStringLiteral("Language")).toString(), QStringLiteral("F"));
        const QString title1 =
            GetRS(
                gcnMyData,
                QStringLiteral("select Title1 from Volume_Descriptions where Volume = 1 and Language = 'F'"),
                kRead)
                ->field(0)
                .toString();
        QCOMPARE(titles->field(QStringLiteral("Title_UpperLeft")).toString(),
                 title1 + QStringLiteral(" - Canada"));
        QCOMPARE(titles->field(QStringLiteral("Title_LowerRight")).toString(),
                 QStringLiteral("Années de référence\u00a0: 2011, 2010, 2009"));
    }

    void industryReportTitleRows_data() {
        QTest::addColumn<QString>("kind");
        QTest::newRow("ratios") << "rat";
        QTest::newRow("balance sheet") << "bal";
    }
    void industryReportTitleRows() {
        QFETCH(QString, kind);
        dbs->open();
        const QString naics = completeIndustry();
        const bool ratiosReport = kind == QLatin1String("rat");
        const auto prepare = ratiosReport ? fncPrepareRatiosReport : fncPrepareBalanceSheetReport;
        QVERIFY(prepare(gcnData, gcnMyData, kind, 3, QStringLiteral("NS"), 2011, naics, QStringLiteral("E")));
        QVERIFY(prepare(gcnData, gcnMyData, kind, 3, QStringLiteral("NS"), 2011, naics, QStringLiteral("E")));
        const QString table =
            ratiosReport ? QStringLiteral("Rpt_Ratios_Titles") : QStringLiteral("Rpt_BalanceSheet_Titles");
        RecordsetPtr t = GetRS(gcnMyData, QStringLiteral("select * from ") + table, kRead);
        QCOMPARE(t->recordCount(), 1);
        QCOMPARE(t->field(QStringLiteral("Naics")).toString(), naics);
        QCOMPARE(t->field(QStringLiteral("Title_LowerRight")).toString(),
                 QStringLiteral("Reference years: 2011, 2010, 2009"));
        QCOMPARE(t->field(QStringLiteral("Year_0")).toString(), QStringLiteral("2011"));
        QCOMPARE(t->field(QStringLiteral("Year_2")).toString(), QStringLiteral("2009"));
        if (ratiosReport) {
            QCOMPARE(t->field(QStringLiteral("Year_3")).toString(), QStringLiteral("2008"));
            QVERIFY(!t->field(QStringLiteral("ML_Title")).toString().isEmpty());
        }
        QVERIFY(t->field(QStringLiteral("Title_UpperLeft"))
                    .toString()
                    .endsWith(QStringLiteral(" - Nova Scotia")));
        QVERIFY(!t->field(QStringLiteral("Title_LowerLeft")).toString().isEmpty());
    }

    // Every report's footer names where the industry figures come from, as the
    // reference database records it, in the report's language.
    void footerNamesTheSourceOfTheFigures_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("expected");
        const QString published = QStringLiteral("Financial Performance Indicators 2011");
        for (const char* kind : {"com", "rat", "bal"}) {
            QTest::newRow(qPrintable(QStringLiteral("%1 sample").arg(QLatin1String(kind))))
                << kind << "E"
                << ""
                << "Industry figures: synthetic sample data, not published statistics";
            QTest::newRow(qPrintable(QStringLiteral("%1 imported, French").arg(QLatin1String(kind))))
                << kind << "F" << published
                << QStringLiteral("Données de l'industrie\u00a0: %1, importées le 2026-11-30").arg(published);
        }
    }
    void footerNamesTheSourceOfTheFigures() {
        QFETCH(QString, kind);
        QFETCH(QString, language);
        QFETCH(QString, source);
        QFETCH(QString, expected);
        if (!source.isEmpty())
            dbs->editReference(
                QStringLiteral("update Provenance set SourceName = ?, ImportDate = '2026-11-30'"), {source});
        dbs->open();
        const QString naics = completeIndustry();
        QString table;
        if (kind == QLatin1String("com")) {
            QVERIFY(compare(3, QStringLiteral("NS"), 2011, naics, language,
                            comparisonArray(QStringLiteral("Test Ltd."), 2011, naics, QStringLiteral("x"),
                                            retailerFigures())));
            table = QStringLiteral("Rpt_Comparison_Titles");
        } else {
            const bool ratios = kind == QLatin1String("rat");
            QVERIFY((ratios ? fncPrepareRatiosReport : fncPrepareBalanceSheetReport)(
                gcnData, gcnMyData, kind, 3, QStringLiteral("NS"), 2011, naics, language));
            table = ratios ? QStringLiteral("Rpt_Ratios_Titles") : QStringLiteral("Rpt_BalanceSheet_Titles");
        }
        QCOMPARE(GetRS(gcnMyData, QStringLiteral("select Lbl_SampleNote from ") + table, kRead)
                     ->field(0)
                     .toString(),
                 expected);
    }

    void unknownRegionCodeUsesTheCode() {
        dbs->open();
        const QString naics = completeIndustry();
        ExecCmdInDB(gcnMyData, QStringLiteral("delete from ProvinceCodes where Code = 'NS'"));
        QVERIFY(compare(
            3, QStringLiteral("NS"), 2011, naics, QStringLiteral("E"),
            comparisonArray(QStringLiteral("A"), 2011, naics, QStringLiteral("x"), retailerFigures())));
        QVERIFY(comparisonRow()->field(QStringLiteral("MyVol")).toString().endsWith(QStringLiteral(" - NS")));
    }

    void aFailureLeavesTheTablesAsTheyWere() {
        dbs->open();
        const QString naics = completeIndustry();
        QVERIFY(compare(
            3, QStringLiteral("NS"), 2011, naics, QStringLiteral("E"),
            comparisonArray(QStringLiteral("Before"), 2011, naics, QStringLiteral("x"), retailerFigures())));
        QStringList broken =
            comparisonArray(QStringLiteral("After"), 2011, naics, QStringLiteral("x"), retailerFigures());
        broken[30] = QStringLiteral("not a number");
        QVERIFY_THROWS_EXCEPTION(FatalError,
                                 compare(3, QStringLiteral("NS"), 2011, naics, QStringLiteral("E"), broken));
        QCOMPARE(comparisonRow()->field(QStringLiteral("MyFirmName")).toString(), QStringLiteral("Before"));
    }

    // Under a German C and Qt locale (decimal comma) the figures with a fraction are stored
    // exactly: nothing on the way reads or writes "12.5" by the locale.
    void numbersIgnoreTheLocale() {
        QTemporaryDir locales;
        QProcess def;
        def.start(QStringLiteral("localedef"),
                  {QStringLiteral("-i"), QStringLiteral("de_DE"), QStringLiteral("-f"),
                   QStringLiteral("UTF-8"), locales.path() + QStringLiteral("/de_DE.UTF-8")});
        QVERIFY2(def.waitForFinished(120000) && def.exitCode() == 0,
                 "localedef builds a German locale (the locales package holds its sources)");
        const QLocale previous;
        const auto restore = qScopeGuard([&] {
            std::setlocale(LC_ALL, "C");
            qunsetenv("LOCPATH");
            QLocale::setDefault(previous);
        });
        qputenv("LOCPATH", locales.path().toLocal8Bit());
        QVERIFY(std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr);
        QCOMPARE(QByteArray(std::localeconv()->decimal_point), QByteArray(","));
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));

        dbs->open();
        const QString naics = completeIndustry();
        Figures f = retailerFigures();
        f["Cash"] = 50000.75;
        f["OA"] = 9999.25; // the assets still add up to 500,000
        f["ProfitAfterTax"] = 125000.5;
        QVERIFY(compare(3, QStringLiteral("NS"), 2011, naics, QStringLiteral("F"),
                        comparisonArray(QStringLiteral("A"), 2011, naics, QStringLiteral("x"), f)));
        RecordsetPtr row = comparisonRow();
        QCOMPARE(row->field(QStringLiteral("StmtCash")).toDouble(), 50000.75);
        QCOMPARE(row->field(QStringLiteral("StmtProfitAfterTax")).toDouble(), 125000.5);
        QVERIFY(close(row->field(QStringLiteral("MyNPM")).toDouble(), 12.50005));
        QVERIFY(close(row->field(QStringLiteral("MyCash")).toDouble(), 10.00015));
        QVERIFY(close(
            row->field(QStringLiteral("VarianceCash")).toDouble(),
            10.00015 -
                datasetRow(3, QStringLiteral("NS"), 2011, naics)->field(QStringLiteral("a11")).toDouble()));
    }

    // Each preparation leaves one row in each working table, for the industry it was asked for.
    void workingTablesHoldTheLastIndustryOnly_data() {
        QTest::addColumn<QString>("kind");
        QTest::newRow("comparison") << "com";
        QTest::newRow("industry ratios") << "rat";
        QTest::newRow("industry balance sheet") << "bal";
    }
    void workingTablesHoldTheLastIndustryOnly() {
        QFETCH(QString, kind);
        dbs->open();
        RecordsetPtr two =
            GetRS(gcnData,
                  QStringLiteral(
                      "select NAICS from ZEBRO_Vol3_NS_2011_Final_Ratios where NumberOfFirms is not null "
                      "order by NAICS limit 2"),
                  kRead);
        const QString a = two->field(0).toString();
        two->moveNext();
        const QString b = two->field(0).toString();
        QVERIFY(!a.isEmpty() && !b.isEmpty() && a != b);
        for (const QString& naics : {a, b}) {
            if (kind == QLatin1String("com"))
                QVERIFY(compare(3, QStringLiteral("NS"), 2011, naics, QStringLiteral("E"),
                                comparisonArray(QStringLiteral("Firm ") + naics, 2011, naics,
                                                QStringLiteral("x"), retailerFigures())));
            else if (kind == QLatin1String("rat"))
                QVERIFY(fncPrepareRatiosReport(gcnData, gcnMyData, kind, 3, QStringLiteral("NS"), 2011, naics,
                                               QStringLiteral("E")));
            else
                QVERIFY(fncPrepareBalanceSheetReport(gcnData, gcnMyData, kind, 3, QStringLiteral("NS"), 2011,
                                                     naics, QStringLiteral("E")));
        }
        for (const char* table : {"Rpt_Data_CY", "Rpt_Data_CYM1", "Rpt_Data_CYM2"}) {
            RecordsetPtr rows =
                GetRS(gcnMyData, QStringLiteral("select NAICS from ") + QLatin1String(table), kRead);
            QCOMPARE(rows->recordCount(), 1);
            QCOMPARE(rows->field(0).toString(), b);
        }
        if (kind == QLatin1String("com")) {
            RecordsetPtr cmp =
                GetRS(gcnMyData, QStringLiteral("select MyNAICS, MyFirmName from Rpt_Comparison"), kRead);
            QCOMPARE(cmp->recordCount(), 1);
            QCOMPARE(cmp->field(0).toString(), b);
        }
    }

    // The report titles stored from the shipped rows, with the reviewed typography.
    void shippedTitles_data() {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("volume");
        QTest::newRow("English")
            << "E"
            << QStringLiteral(
                   "Volume 3: Enterprises with revenue of $30,000 to less than $5 million - Nova Scotia");
        QTest::newRow("French") << "F"
                                << QStringLiteral("Volume 3\u00a0: entreprises ayant de 30\u00a0000\u00a0$ à "
                                                  "moins de 5 millions de dollars de "
                                                  "revenu - Nouvelle-Écosse");
    }
    void shippedTitles() {
        QFETCH(QString, language);
        QFETCH(QString, volume);
        dbs->open();
        const QString naics = completeIndustry();
        QVERIFY(compare(
            3, QStringLiteral("NS"), 2011, naics, language,
            comparisonArray(QStringLiteral("A"), 2011, naics, QStringLiteral("x"), retailerFigures())));
        // The stored title keeps its hyphen; the reports print it as a dash.
        QCOMPARE(comparisonRow()->field(QStringLiteral("MyVol")).toString(), volume);
        QVERIFY(fncPrepareRatiosReport(gcnData, gcnMyData, QStringLiteral("rat"), 3, QStringLiteral("NS"),
                                       2011, naics, language));
        RecordsetPtr t = GetRS(
            gcnMyData,
            QStringLiteral("select Title_UpperLeft, Lbl_WithProfit, Lbl_WithLoss from Rpt_Ratios_Titles"),
            kRead);
        QCOMPARE(t->field(0).toString(), volume);
        QCOMPARE(t->field(1).toString(), language == QLatin1String("F") ? QStringLiteral("Avec un bénéfice")
                                                                        : QStringLiteral("With a profit"));
        QCOMPARE(t->field(2).toString(), language == QLatin1String("F") ? QStringLiteral("Avec une perte")
                                                                        : QStringLiteral("With a loss"));
    }

    void regionNameFallsBackToTheCode() {
        dbs->open();
        QCOMPARE(reportprep::regionName(gcnMyData, QStringLiteral("PE"), QStringLiteral("F")),
                 QStringLiteral("Île-du-Prince-Édouard"));
        QCOMPARE(reportprep::regionName(gcnMyData, QStringLiteral("PE"), QStringLiteral("e")),
                 QStringLiteral("Prince Edward Island"));
        QCOMPARE(reportprep::regionName(gcnMyData, QStringLiteral("XX"), QStringLiteral("E")),
                 QStringLiteral("XX"));
    }
};

QTEST_GUILESS_MAIN(TestReportPreparation)
#include "test_report_preparation.moc"
