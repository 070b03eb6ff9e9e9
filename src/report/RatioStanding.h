#pragma once
// Where a firm stands on each of its fifteen ratios, read for a person: which of the
// industry's quarters it is in given the boundaries the industry has, whether it is above,
// at or below the median in the ratio's better direction, and what change of the ratio's
// numerator, its denominator held, would bring it to the median. Every place that says where
// a firm stands (the reading, the report's gauges, the batch summary's amounts) asks here,
// and the answer is decided on the figures as the report shows them: the firm's ratio and
// the boundaries rounded to the ratio's shown decimals, so that a firm shown at 4.1 % against
// a median shown at 4.1 % is at the median everywhere.

#include "report/RatioCalc.h"

#include <QVariant>
#include <array>
#include <functional>
#include <optional>

namespace standing {

enum class Kind {
    Ranked,          // set against the industry's boundaries
    NoIndustryData,  // the industry has none of the three boundaries
    BaseNotPositive, // the ratio's base (net operating assets, capital employed, equity) is 0 or less
    ZeroDenominator, // the ratio cannot be computed: its denominator is nil
};

struct RatioStanding {
    Kind kind = Kind::Ranked;
    double value = 0;                 // the firm's ratio as the comparison stores it (percentages × 100)
    double base = 0;                  // the ratio's denominator: what a base that is not positive amounts to
    std::optional<double> q1, q2, q3; // the industry's boundaries as stored
    // The quarters the firm can be in, 0 the weakest to 3 the strongest, in the ratio's
    // better direction: one quarter when every boundary is there, a wider span when one is
    // missing.
    int lowest = 0;
    int highest = 3;
    int onBoundary = 0;                    // 1, 2 or 3 when the firm is on Q1, the median or Q3
    std::optional<int> vsMedian;           // +1 better than the median, -1 worse, 0 at it; none without one
    std::optional<double> numeratorChange; // whole dollars to the median: + higher, − lower
};

// A figure rounded to the decimals a report shows of it (halves away from zero, as printed).
double shown(double value, int decimals);

// A figure of the industry's row for the firm's year; a null or 0 boundary is missing.
using IndustryLookup = std::function<QVariant(const QString& column)>;

// A column of the comparison row: the firm's ratios as stored (My…) and its statement as
// entered (Stmt…).
using ComparisonLookup = std::function<QVariant(const QString& column)>;
ratiocalc::FirmNumbers firmFromStatement(const ComparisonLookup& comparison);

// Where the firm stands on each ratio: its ratio as the comparison row stores it (the figure
// the report prints), its numerator and denominator from the statement as entered.
std::array<RatioStanding, 15> assess(const ComparisonLookup& comparison, const IndustryLookup& industry);

// Whether a ratio of the firm means anything: not with a nil denominator, nor with a base
// (net operating assets, capital employed, equity) of zero or below. Ranked when it does.
Kind meaningOf(const ratiocalc::FirmNumbers& firm, std::size_t ratio);

// The shares of the industry the firm does better and worse than (0, 25, 50 or 75), as the
// report's position column prints them: the quarters known to be beaten, and those known to
// beat the firm. Only for a ranked ratio.
double betterThan(const RatioStanding& s);
double worseThan(const RatioStanding& s);

} // namespace standing
