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

// +1 when a is better than b in the ratio's direction, -1 when worse, 0 when the two are the
// same figure as the report shows them.
int compare(const ratios::Ratio& r, double a, double b) {
    const int decimals = ratios::shownDecimals(r);
    const double shownA = shown(a, decimals);
    const double shownB = shown(b, decimals);
    if (shownA == shownB) return 0;
    return (r.direction == ratios::Direction::HigherIsBetter) == (shownA > shownB) ? 1 : -1;
}

} // namespace

double shown(double value, int decimals) {
    const double scale = std::pow(10.0, decimals);
    const double rounded = std::round(value * scale) / scale;
    return rounded == 0.0 ? 0.0 : rounded; // no negative zero
}

ratiocalc::FirmNumbers firmFromStatement(const ComparisonLookup& comparison) {
    ratiocalc::FirmNumbers firm{};
    for (int i = 0; i < lineitems::kCount; ++i) {
        const QVariant v = comparison(statementcolumns::column(lineitems::all()[i]));
        firm[firmrules::comparisonIndex(i)] = ratiocalc::finiteOrZero(v.toDouble());
    }
    return firm;
}

namespace {

Kind meaningOf(const ratios::Ratio& r, double denominator) {
    if (r.base != ratios::Base::None && !(denominator > 0)) return Kind::BaseNotPositive;
    if (denominator == 0) return Kind::ZeroDenominator;
    return Kind::Ranked;
}

} // namespace

Kind meaningOf(const ratiocalc::FirmNumbers& firm, std::size_t ratio) {
    const ratios::Ratio& r = ratios::all()[ratio];
    return meaningOf(r, ratiocalc::fractionOf(r.formula, firm).denominator);
}

double betterThan(const RatioStanding& s) {
    return 25.0 * s.lowest;
}

double worseThan(const RatioStanding& s) {
    return 25.0 * (3 - s.highest);
}

std::array<RatioStanding, 15> assess(const ComparisonLookup& comparison, const IndustryLookup& industry) {
    std::array<RatioStanding, 15> out{};
    const ratiocalc::FirmNumbers firm = firmFromStatement(comparison);
    const std::array<double, 15> computed = ratiocalc::computeRatios(firm);
    const auto all = ratios::all();
    for (std::size_t i = 0; i < all.size(); ++i) {
        const ratios::Ratio& r = all[i];
        RatioStanding& s = out[i];
        const QVariant stored = comparison(QLatin1String(r.firmColumn));
        s.value = stored.isNull() ? computed[i] : ratiocalc::finiteOrZero(stored.toDouble());
        s.q1 = boundary(industry, ratios::q1Column(r));
        s.q2 = boundary(industry, ratios::q2Column(r));
        s.q3 = boundary(industry, ratios::q3Column(r));
        const ratiocalc::Fraction f = ratiocalc::fractionOf(r.formula, firm);
        s.base = f.denominator;
        s.kind = meaningOf(r, f.denominator);
        if (s.kind != Kind::Ranked) continue;
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
            const int c = compare(r, s.value, *b);
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
        if (s.q2) s.vsMedian = compare(r, s.value, *s.q2);

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
