#pragma once
// Report tables as a preparation leaves them, for a clothing store compared with its
// industry in Nova Scotia: a firm name and an industry name with apostrophes, a year
// without industry data, negative differences, a quartile stored as 0, positions 0
// and 75, figures large enough to need thousands separators, and the statement as entered.

#include "data/DBTools.h"
#include "report/RatioTable.h"
#include "userdb/UserDatabase.h"

#include <QHash>
#include <QMap>
#include <QStringList>
#include <QVariantMap>
#include <cmath>

namespace reportfixture {

inline const QString kFirm = QStringLiteral("O'Brien Ltd.");
inline const QString kIndustryEnglish = QStringLiteral("Men's clothing stores");
inline const QString kIndustryFrench = QStringLiteral("Magasins de vêtements pour l'homme");
inline const QString kNaics = QStringLiteral("448110");

struct RatioFigures {
    const char* stem; // quartile stem
    double firm;
    double q1, q2, q3;    // report year
    double better, worse; // share of the industry
};

// The report year's quartiles; the year before reads 4 % lower, and its inventory
// turnover lower quartile is stored as 0 (not available).
inline const QList<RatioFigures>& ratioFigures() {
    static const QList<RatioFigures> r{
        {"NPM", 4.8, 0.9, 3.1, 7.4, 50, 25},
        {"PPM", 6.2, 1.4, 4.0, 8.9, 50, 25},
        {"OPM", 7.9, 2.2, 5.3, 10.1, 50, 25},
        {"GPM", 38.6, 30.2, 36.4, 42.8, 50, 25},
        {"ORTTNOA", 285.3, 190.5, 260.2, 350.7, 50, 25},
        {"RNOA", 21.4, 4.1, 12.6, 24.9, 50, 25},
        {"PPA", 11.0, 1.2, 6.5, 13.8, 50, 25},
        {"RCE", 15.3, 3.6, 9.8, 18.2, 50, 25},
        {"RE", -3.5, 2.0, 11.5, 25.3, 0, 75},
        {"RT", 41.27, 18.3, 35.6, 60.2, 50, 25},
        {"IT", 2.85, 2.1, 3.4, 4.9, 25, 50},
        {"WC", 1.94, 1.1, 1.6, 2.5, 50, 25},
        {"DE", 0.45, 2.1, 0.9, 0.3, 50, 25}, // lower is better: Q1 is the larger boundary
        {"LTA", 0.38, 0.42, 0.65, 0.88, 75, 0},
        {"IC", 1523.75, 1.5, 4.2, 1234.5, 75, 0},
    };
    return r;
}

struct ItemFigures {
    const char* item;     // firm line item
    const char* industry; // dataset share column
    double firm, share;
};

inline const QList<ItemFigures>& itemFigures() {
    static const QList<ItemFigures> r{
        {"Cash", "a11", 12.4, 9.8},
        {"Ar", "a12", 18.2, 14.1},
        {"Inv", "a13", 30.5, 38.7},
        {"CA", "a18", 22.0, 20.3},
        {"OA", "a19", 4.1, 6.2},
        {"Toa", "totoa", 87.2, 89.1},
        {"Invest", "a14", 5.3, 4.2},
        {"Ptfl", "a151617", 7.5, 6.7},
        {"Ta", "totass", 100, 100},
        {"AccountsPayable", "a22", 21.6, 24.3},
        {"Paper", "a25200", 0.0, 0.8},
        {"Mtg", "a25500", 8.4, 6.1},
        {"Bonds", "a25400", 0.0, 0.5},
        {"Ol", "a25180", 12.7, 15.9},
        {"AmtsAffil", "a24", 6.3, 9.4},
        {"OLiab", "a2329", 3.2, 4.4},
        {"DefTax", "a27", 0.4, 0.3},
        {"Tliab", "totliab", 52.6, 61.7},
        {"Equity1", "totse", 47.4, 38.3},
        {"ShareC", "a31", 10.2, 12.5},
        {"RetEarn", "a38", 35.9, 24.1},
        {"OtherSur", "a283334", 1.3, 1.7},
        {"TotLiabShareEq", "totlse", 100, 100},
        {"CurrentAssets", "curass", 63.9, 65.0},
        {"CurrentLiabilities", "curliab", 33.0, 40.6},
    };
    return r;
}

// The statement as entered: total assets of 2,450,000, each balance-sheet item its share of
// them (cash with cents), and the income statement.
inline constexpr double kTotalAssets = 2450000;
inline QMap<QString, double> statementAmounts() {
    QMap<QString, double> amounts;
    for (const ItemFigures& f : itemFigures())
        amounts[QLatin1String(f.item)] = f.firm / 100 * kTotalAssets;
    amounts[QStringLiteral("Cash")] = 303800.25;
    amounts[QStringLiteral("OperatingRevenue")] = 2450000;
    amounts[QStringLiteral("Sales")] = 2390000;
    amounts[QStringLiteral("GrossProfit")] = 922500;
    amounts[QStringLiteral("OperatingProfit")] = 193550;
    amounts[QStringLiteral("InterestExpense")] = 12700;
    amounts[QStringLiteral("PretaxProfit")] = 151900;
    amounts[QStringLiteral("ProfitAfterTax")] = 117600;
    return amounts;
}

// Operating, pretax and net: with a profit, with a loss.
inline const QList<double>& profitLossCY() {
    static const QList<double> r{78.4, 21.6, 74.2, 25.8, 71.9, 28.1};
    return r;
}
inline const QList<double>& profitLossCYM1() {
    static const QList<double> r{76.1, 23.9, 72.5, 27.5, 70.3, 29.7};
    return r;
}

inline void insertRow(Connection& cn, const QString& table, const QVariantMap& row) {
    QStringList cols;
    QVariantList values;
    for (auto it = row.begin(); it != row.end(); ++it) {
        cols << QStringLiteral("\"%1\"").arg(it.key());
        values << it.value();
    }
    ExecCmdInDB(cn, QStringLiteral("DELETE FROM \"%1\"").arg(table));
    ExecCmdInDB(cn,
                QStringLiteral("INSERT INTO \"%1\" (%2) VALUES (%3)")
                    .arg(table, cols.join(u','), QStringList(cols.size(), QStringLiteral("?")).join(u',')),
                values);
}

// A new user database (every table and the shipped title rows), opened.
inline Connection openUserDatabase(const QString& path) {
    userdb::create(path);
    Connection cn;
    ConnectToFile(cn, path, QStringLiteral("unknown"));
    return cn;
}

inline double roundTo1(double v) {
    return std::round(v * 10) / 10;
}

// Fills every report table in the language "E" or "F".
inline void prepare(Connection& cn, const QString& language) {
    const bool french = language == QLatin1String("F");
    const QString industry = french ? kIndustryFrench : kIndustryEnglish;
    const QString volume =
        french ? QStringLiteral("Volume 3\u00a0: entreprises ayant de 30\u00a0000\u00a0$ à moins de 5 "
                                "millions de dollars de revenu")
               : QStringLiteral("Volume 3: Enterprises with revenue of $30,000 to less than $5 million");
    const QString region = french ? QStringLiteral("Nouvelle-Écosse") : QStringLiteral("Nova Scotia");

    // The title rows: the shipped row of the language, completed as the preparation does.
    for (const char* t : {"Rpt_Comparison", "Rpt_Ratios", "Rpt_BalanceSheet"}) {
        const QString table = QLatin1String(t) + QStringLiteral("_Titles");
        ExecCmdInDB(cn, QStringLiteral("DELETE FROM \"%1\"").arg(table));
        ExecCmdInDB(
            cn,
            QStringLiteral("INSERT INTO \"%1\" SELECT * FROM \"%1_Source\" WHERE Language = ?").arg(table),
            {language});
    }
    ExecCmdInDB(cn, QStringLiteral("UPDATE Rpt_Comparison_Titles SET NAICS = ?"), {kNaics});
    // The years follow the shipped "Reference years:" label, as the preparation appends them.
    for (const char* t : {"Rpt_Ratios_Titles", "Rpt_BalanceSheet_Titles"})
        ExecCmdInDB(cn,
                    QStringLiteral(
                        "UPDATE \"%1\" SET Naics = ?, Year_0 = '2011', Year_1 = '2010', Year_2 = '2009', "
                        "Title_UpperLeft = ?, Title_LowerLeft = ?, Title_LowerRight = Title_LowerRight || ?")
                        .arg(QLatin1String(t)),
                    {kNaics, volume + QStringLiteral(" - ") + region,
                     french
                         ? QStringLiteral("Indicateurs de performance financière des entreprises canadiennes")
                         : QStringLiteral("Financial performance indicators for Canadian business"),
                     QStringLiteral(" 2011, 2010, 2009")});
    ExecCmdInDB(cn,
                QStringLiteral("UPDATE Rpt_Ratios_Titles SET Year_3 = '2008', ML_Title = ?, MM_Title = ?"),
                {french ? QStringLiteral("Bornes des quartiles des entreprises de l'industrie")
                        : QStringLiteral("Quartile boundaries of the industry's enterprises"),
                 french ? QStringLiteral("Une borne indiquée n.d. n'est pas disponible")
                        : QStringLiteral("A boundary shown as n/a is not available")});

    // The comparison row.
    QVariantMap cmp;
    cmp[QStringLiteral("MyFirmName")] = kFirm;
    cmp[QStringLiteral("MyYear")] = 2011;
    cmp[QStringLiteral("MyNAICS")] = kNaics;
    cmp[QStringLiteral("MyIndustry")] = industry;
    cmp[QStringLiteral("MyVol")] = volume + QStringLiteral(" - ") + region;
    cmp[QStringLiteral("NumberOfFirms")] = 1284;
    cmp[QStringLiteral("MyOperatingRevenue")] = 2450000.0;
    for (const ratios::Ratio& r : ratios::all()) {
        for (const RatioFigures& f : ratioFigures()) {
            if (QLatin1String(f.stem) != QLatin1String(r.quartileStem)) continue;
            cmp[QLatin1String(r.firmColumn)] = f.firm;
            cmp[ratios::q2Column(r)] = f.q2;
            cmp[ratios::betterColumn(r)] = f.better;
            cmp[ratios::worseColumn(r)] = f.worse;
        }
    }
    // SQLite matches column names without regard to case: "a11" fills A11.
    for (const ratios::Variance& v : ratios::variances()) {
        for (const ItemFigures& f : itemFigures()) {
            if (QLatin1String(f.item) != QLatin1String(v.lineItem)) continue;
            cmp[QStringLiteral("My") + QLatin1String(f.item)] = f.firm;
            cmp[QLatin1String(v.industryColumn)] = f.share;
            cmp[QLatin1String(v.column)] = roundTo1(f.firm - f.share);
        }
    }
    const QStringList pl{QStringLiteral("OPP"), QStringLiteral("OPL"), QStringLiteral("PPP"),
                         QStringLiteral("PPL"), QStringLiteral("NPP"), QStringLiteral("NPL")};
    for (int i = 0; i < pl.size(); ++i)
        cmp[pl[i]] = profitLossCY()[i];
    const QMap<QString, double> amounts = statementAmounts();
    for (auto it = amounts.begin(); it != amounts.end(); ++it)
        cmp[QStringLiteral("Stmt") + it.key()] = it.value();
    insertRow(cn, QStringLiteral("Rpt_Comparison"), cmp);

    // The industry's years: the report year, the year before, and a year without data.
    for (int back = 0; back < 3; ++back) {
        QVariantMap row;
        row[QStringLiteral("NAICS")] = kNaics;
        if (back < 2) {
            const double f = back == 0 ? 1.0 : 0.96;
            row[QStringLiteral("IndustryDescription")] = industry;
            row[QStringLiteral("NumberOfFirms")] = back == 0 ? 1284 : 1190;
            for (const RatioFigures& r : ratioFigures()) {
                const QString stem = QLatin1String(r.stem);
                row[stem + QStringLiteral("Q1")] =
                    (back == 1 && stem == QLatin1String("IT")) ? 0.0 : r.q1 * f;
                row[stem + QStringLiteral("Q2")] = r.q2 * f;
                row[stem + QStringLiteral("Q3")] = r.q3 * f;
            }
            const QList<double>& plv = back == 0 ? profitLossCY() : profitLossCYM1();
            for (int i = 0; i < pl.size(); ++i)
                row[pl[i].toLower()] = plv[i];
            for (const ItemFigures& item : itemFigures())
                row[QLatin1String(item.industry)] =
                    back == 0 ? item.share : roundTo1(item.share * (item.share >= 100 ? 1.0 : 1.02));
        }
        insertRow(cn,
                  QStringLiteral("Rpt_Data_") + (back == 0   ? QStringLiteral("CY")
                                                 : back == 1 ? QStringLiteral("CYM1")
                                                             : QStringLiteral("CYM2")),
                  row);
    }
}

} // namespace reportfixture
