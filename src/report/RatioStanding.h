#pragma once
// Where a firm stands on each of its fifteen ratios, read for a person rather than for the
// gauge: which of the industry's quarters it can be in given the boundaries the industry
// has, whether it is above, at or below the median in the ratio's better direction, and
// what change of the ratio's numerator, its denominator held, would bring it to the median.

#include "report/RatioCalc.h"

#include <QVariant>
#include <array>
#include <functional>
#include <optional>

namespace standing {

enum class Kind {
    Ranked,          // set against the industry's boundaries
    NoIndustryData,  // the industry has none of the three boundaries
    NegativeEquity,  // return on equity and debt to equity of a firm whose equity is negative
    ZeroDenominator, // the ratio cannot be computed: its denominator is nil
};

struct RatioStanding {
    Kind kind = Kind::Ranked;
    double value = 0; // the firm's ratio as the comparison stores it (percentages × 100)
    std::optional<double> q1, q2, q3;
    // The quarters the firm can be in, 0 the weakest to 3 the strongest, in the ratio's
    // better direction: one quarter when every boundary is there, a wider span when one is
    // missing.
    int lowest = 0;
    int highest = 3;
    int onBoundary = 0;                    // 1, 2 or 3 when the firm is exactly on Q1, the median or Q3
    std::optional<int> vsMedian;           // +1 better than the median, -1 worse, 0 at it; none without one
    std::optional<double> numeratorChange; // whole dollars to the median: + higher, − lower
};

// A figure of the industry's row for the firm's year; a null or 0 boundary is missing.
using IndustryLookup = std::function<QVariant(const QString& column)>;

// The firm's values from the statement as entered (the comparison's Stmt… columns).
using StatementLookup = std::function<QVariant(const QString& column)>;
ratiocalc::FirmNumbers firmFromStatement(const StatementLookup& statement);

std::array<RatioStanding, 15> assess(const ratiocalc::FirmNumbers& firm, const IndustryLookup& industry);

// Whether a ratio of the firm means anything: not with a nil denominator, and return on
// equity and debt to equity not with a negative equity.
bool meaningful(const ratiocalc::FirmNumbers& firm, std::size_t ratio);

// Two figures that differ by rounding noise only are the same figure.
bool sameFigure(double a, double b);

} // namespace standing
