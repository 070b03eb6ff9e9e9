#pragma once
// The fifteen financial ratios, the 25 balance-sheet variances and the industry
// columns they read: one table each, used by the computation, the report tables,
// the schema of the working tables and the sample data generator.

#include <QString>
#include <QStringList>
#include <span>

namespace ratios {

enum class Direction { HigherIsBetter, LowerIsBetter };

enum class Group { Profitability, Efficiency, LiquiditySolvency };

// How a ratio's numerator and denominator are formed from the firm's values.
enum class Formula {
    NetProfitMargin,
    PretaxProfitMargin,
    OperatingProfitMargin,
    GrossProfitMargin,
    RevenueToNetOperatingAssets,
    ReturnOnNetOperatingAssets,
    PretaxProfitToAssets,
    ReturnOnCapitalEmployed,
    ReturnOnEquity,
    ReceivableTurnover,
    InventoryTurnover,
    WorkingCapital,
    DebtToEquity,
    LiabilitiesToAssets,
    InterestCoverage,
};

// What a ratio is measured against when its denominator is a base the firm puts to work:
// a base of zero or below makes the ratio mean nothing, whatever it computes to.
enum class Base { None, NetOperatingAssets, CapitalEmployed, Equity };

struct Ratio {
    Formula formula;
    const char* firmColumn;   // Rpt_Comparison column of the firm's ratio, e.g. "MyNPM"
    const char* quartileStem; // stem of the industry's Q1/Q2/Q3 columns, e.g. "NPM"
    const char* positionStem; // stem of the Better…/Worse… columns
    bool percentage;          // the quotient is multiplied by 100
    Direction direction;
    bool negativeEquityRule; // set to 0 when the firm's equity is negative
    Group group;
    int nameEntry; // string-table entry of the ratio's name
    Base base;     // the denominator, when it is a base that must be above zero
};

// The decimals a report shows of a ratio: one for a percentage, two for a quotient.
int shownDecimals(const Ratio& r);

// In the order in which they are computed and written.
std::span<const Ratio> all();

struct GroupInfo {
    Group group;
    int nameEntry;
};
std::span<const GroupInfo> groups();

QString q1Column(const Ratio& r);
QString q2Column(const Ratio& r);
QString q3Column(const Ratio& r);
QString betterColumn(const Ratio& r);
QString worseColumn(const Ratio& r);

struct Variance {
    const char* column;         // Rpt_Comparison column, e.g. "VarianceCash"
    const char* lineItem;       // the firm's MyValues column, e.g. "Cash"
    const char* industryColumn; // the dataset's share column, e.g. "a11"
};

// The 25 balance-sheet items, in the order in which they are computed and written.
std::span<const Variance> variances();

// Industry share columns in the order the comparison table copies them.
QStringList shareCopyOrder();

// The industry medians and profit/loss columns copied to the comparison table, in that order.
QStringList industryFigureCopyOrder();

// The six percentages of firms with profits and losses (operating, pretax, net).
QStringList profitLossColumns();

// Every column of a dataset table (and so of the three working tables), in table order.
QStringList datasetColumns();

} // namespace ratios
