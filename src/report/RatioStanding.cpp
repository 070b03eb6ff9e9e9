#include "report/RatioStanding.h"

#include "firm/FirmStatement.h"
#include "firm/LineItems.h"
#include "report/RatioTable.h"
#include "report/StatementColumns.h"

#include <algorithm>
#include <cmath>

namespace standing {

namespace {

std::optional<double> boundary(const IndustryLookup& industry, const QString& column) {
    const QVariant v = industry(column);
    if (v.isNull()) return std::nullopt;
    bool ok = false;
    const double d = v.toDouble(&ok);
    // A boundary stored as 0 is missing, as the position figures treat it.
    if (!ok || !std::isfinite(d) || d == 0.0) return std::nullopt;
    return d;
}

double equityOf(const ratiocalc::FirmNumbers& firm) {
    return firm[firmrules::comparisonIndex(*lineitems::indexOf(QStringLiteral("Equity1")))];
}

// +1 when a is better than b in the ratio's direction, -1 when worse, 0 when the same figure.
int compare(double a, double b, ratios::Direction direction) {
    if (sameFigure(a, b)) return 0;
    const bool greater = a > b;
    return (direction == ratios::Direction::HigherIsBetter) == greater ? 1 : -1;
}

} // namespace

bool sameFigure(double a, double b) {
    return std::abs(a - b) <= 1e-9 * std::max(1.0, std::abs(b));
}

ratiocalc::FirmNumbers firmFromStatement(const StatementLookup& statement) {
    ratiocalc::FirmNumbers firm{};
    for (int i = 0; i < lineitems::kCount; ++i) {
        const QVariant v = statement(statementcolumns::column(lineitems::all()[i]));
        firm[firmrules::comparisonIndex(i)] = ratiocalc::finiteOrZero(v.toDouble());
    }
    return firm;
}

bool meaningful(const ratiocalc::FirmNumbers& firm, std::size_t ratio) {
    const ratios::Ratio& r = ratios::all()[ratio];
    if (r.negativeEquityRule && equityOf(firm) < 0) return false;
    return ratiocalc::fractionOf(r.formula, firm).denominator != 0;
}

std::array<RatioStanding, 15> assess(const ratiocalc::FirmNumbers& firm, const IndustryLookup& industry) {
    std::array<RatioStanding, 15> out{};
    const std::array<double, 15> values = ratiocalc::computeRatios(firm);
    const auto all = ratios::all();
    for (std::size_t i = 0; i < all.size(); ++i) {
        const ratios::Ratio& r = all[i];
        RatioStanding& s = out[i];
        s.value = values[i];
        s.q1 = boundary(industry, ratios::q1Column(r));
        s.q2 = boundary(industry, ratios::q2Column(r));
        s.q3 = boundary(industry, ratios::q3Column(r));
        const ratiocalc::Fraction f = ratiocalc::fractionOf(r.formula, firm);
        if (r.negativeEquityRule && equityOf(firm) < 0) {
            s.kind = Kind::NegativeEquity;
            continue;
        }
        if (f.denominator == 0) {
            s.kind = Kind::ZeroDenominator;
            continue;
        }
        if (!s.q1 && !s.q2 && !s.q3) {
            s.kind = Kind::NoIndustryData;
            continue;
        }
        // Each boundary the industry has narrows the quarters the firm can be in: better
        // than boundary k (1 to 3) puts it at k or above, worse below k.
        const std::array<std::optional<double>, 3> bounds{s.q1, s.q2, s.q3};
        for (int k = 1; k <= 3; ++k) {
            const std::optional<double>& b = bounds[static_cast<std::size_t>(k - 1)];
            if (!b) continue;
            const int c = compare(s.value, *b, r.direction);
            if (c > 0)
                s.lowest = std::max(s.lowest, k);
            else if (c < 0)
                s.highest = std::min(s.highest, k - 1);
            else
                s.onBoundary = k;
        }
        if (s.onBoundary) {
            s.lowest = s.onBoundary - 1;
            s.highest = s.onBoundary;
        }
        // Boundaries out of order (which the industry figures should never be) leave the
        // quarter of the strongest boundary passed, as the position figures do.
        if (s.lowest > s.highest) s.highest = s.lowest;
        if (s.q2) s.vsMedian = compare(s.value, *s.q2, r.direction);

        // What it would take: the numerator that gives the median over the same denominator.
        // Only for a denominator above zero, where a larger numerator means a larger ratio.
        if (s.q2 && s.vsMedian == -1 && f.denominator > 0) {
            const double target = (r.percentage ? *s.q2 / 100.0 : *s.q2) * f.denominator;
            const double change = std::round(target - f.numerator);
            if (std::isfinite(change) && change != 0) s.numeratorChange = change;
        }
    }
    return out;
}

} // namespace standing
