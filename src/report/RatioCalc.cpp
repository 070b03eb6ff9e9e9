#include "report/RatioCalc.h"

#include "firm/FirmStatement.h"
#include "firm/LineItems.h"
#include "firm/ValueText.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

double fncCalcRatio(double dblNumerator, double dblDenominator) {
    if (dblDenominator != 0 && dblNumerator != 0) return dblNumerator / dblDenominator;
    return 0;
}

namespace {

// Three tests in a fixed order against the boundaries first, second, third; every test
// that passes replaces the result, so the last passing test decides. A boundary of
// exactly 0 is missing and its test is skipped; equality never passes, and a ratio that
// differs from a boundary only by the rounding of its division (48,380 / 1,180,000 × 100
// is 4.1000000000000005) is equal to it.
template <class Beyond>
double lastPassing(double first, double second, double third, double ratio, Beyond beyond) {
    const auto passes = [&](double boundary) {
        return boundary != 0 && beyond(ratio, boundary) && !ratiocalc::sameFigure(ratio, boundary);
    };
    double r = 0;
    if (passes(first)) r = 25;
    if (passes(second)) r = 50;
    if (passes(third)) r = 75;
    return r;
}

} // namespace

double fncCalcBetter(double dblQ1, double dblQ2, double dblQ3, double dblmyRatio) {
    return lastPassing(dblQ1, dblQ2, dblQ3, dblmyRatio, std::greater<>());
}

double fncCalcWorse(double dblQ1, double dblQ2, double dblQ3, double dblmyRatio) {
    return lastPassing(dblQ3, dblQ2, dblQ1, dblmyRatio, std::less<>());
}

double fncExceptionCalcBetter(double dblQ1, double dblQ2, double dblQ3, double dblmyRatio) {
    return lastPassing(dblQ1, dblQ2, dblQ3, dblmyRatio, std::less<>());
}

double fncExceptionCalcWorse(double dblQ1, double dblQ2, double dblQ3, double dblmyRatio) {
    return lastPassing(dblQ3, dblQ2, dblQ1, dblmyRatio, std::greater<>());
}

namespace ratiocalc {

namespace {

int at(const char* column) {
    return firmrules::comparisonIndex(*lineitems::indexOf(QLatin1String(column)));
}

// A line item's name as a template argument, so that each term of a formula is looked up
// in the line-item table once, the first time it is read, rather than for every firm.
template <std::size_t N> struct ItemName {
    char text[N];
    constexpr ItemName(const char (&name)[N]) { std::copy_n(name, N, text); }
};

template <ItemName name> int position() {
    static const int resolved = at(name.text);
    return resolved;
}

// The positions of the items the variances share out, in variance order.
const std::vector<int>& variancePositions() {
    static const std::vector<int> resolved = [] {
        std::vector<int> p;
        for (const ratios::Variance& v : ratios::variances())
            p.push_back(at(v.lineItem));
        return p;
    }();
    return resolved;
}

// The firm's figure of a line item.
template <ItemName item> double v(const FirmNumbers& f) {
    return f[position<item>()];
}

Fraction fraction(ratios::Formula formula, const FirmNumbers& f) {
    // Net operating assets and capital employed, summed in the order the figures are published.
    const double noa = v<"Ta">(f) - v<"Invest">(f) - v<"Ptfl">(f) - v<"AccountsPayable">(f);
    const double debt = v<"Mtg">(f) + v<"Bonds">(f) + v<"Ol">(f) + v<"Paper">(f) + v<"AmtsAffil">(f);
    const double capitalEmployed =
        v<"Mtg">(f) + v<"Equity1">(f) + v<"Bonds">(f) + v<"Ol">(f) + v<"Paper">(f) + v<"AmtsAffil">(f);
    using enum ratios::Formula;
    switch (formula) {
    case NetProfitMargin:
        return {v<"ProfitAfterTax">(f), v<"OperatingRevenue">(f)};
    case PretaxProfitMargin:
        return {v<"PretaxProfit">(f), v<"OperatingRevenue">(f)};
    case OperatingProfitMargin:
        return {v<"OperatingProfit">(f), v<"OperatingRevenue">(f)};
    case GrossProfitMargin:
        return {v<"GrossProfit">(f), v<"Sales">(f)};
    case RevenueToNetOperatingAssets:
        return {v<"OperatingRevenue">(f), noa};
    case ReturnOnNetOperatingAssets:
        return {v<"OperatingProfit">(f), noa};
    case PretaxProfitToAssets:
        return {v<"PretaxProfit">(f), v<"Ta">(f)};
    case ReturnOnCapitalEmployed:
        return {v<"InterestExpense">(f) + v<"ProfitAfterTax">(f), capitalEmployed};
    case ReturnOnEquity:
        return {v<"ProfitAfterTax">(f), v<"Equity1">(f)};
    case ReceivableTurnover:
        return {v<"OperatingRevenue">(f), v<"Ar">(f)};
    case InventoryTurnover:
        return {v<"Sales">(f) - v<"GrossProfit">(f), v<"Inv">(f)};
    case WorkingCapital:
        return {v<"CurrentAssets">(f), v<"CurrentLiabilities">(f)};
    case DebtToEquity:
        return {debt, v<"Equity1">(f)};
    case LiabilitiesToAssets:
        return {v<"Tliab">(f), v<"Ta">(f)};
    case InterestCoverage:
        return {v<"InterestExpense">(f) + v<"PretaxProfit">(f), v<"InterestExpense">(f)};
    }
    return {0, 0};
}

} // namespace

Fraction fractionOf(ratios::Formula formula, const FirmNumbers& firm) {
    return fraction(formula, firm);
}

bool sameFigure(double a, double b) {
    return std::abs(a - b) <= 1e-9 * std::max(1.0, std::abs(b));
}

double finiteOrZero(double value) {
    return std::isfinite(value) ? value : 0.0;
}

FirmNumbers firmNumbers(const QStringList& a) {
    FirmNumbers f{};
    for (int i = 0; i < lineitems::kCount; ++i) {
        const int k = firmrules::comparisonIndex(i);
        f[k] = valuetext::toDouble(a.value(k));
    }
    return f;
}

std::array<double, 15> computeRatios(const FirmNumbers& firm) {
    std::array<double, 15> out{};
    const bool negativeEquity = firm[position<"Equity1">()] < 0;
    const auto all = ratios::all();
    for (size_t i = 0; i < all.size(); ++i) {
        const ratios::Ratio& r = all[i];
        if (r.negativeEquityRule && negativeEquity) {
            out[i] = 0;
            continue;
        }
        const Fraction q = fraction(r.formula, firm);
        double value = fncCalcRatio(q.numerator, q.denominator);
        if (r.percentage) value *= 100;
        out[i] = finiteOrZero(value);
    }
    return out;
}

Results compute(const FirmNumbers& firm, const IndustryLookup& industry) {
    Results res;
    res.ratios = computeRatios(firm);
    const bool negativeEquity = firm[position<"Equity1">()] < 0;
    const auto all = ratios::all();
    for (size_t i = 0; i < all.size(); ++i) {
        const ratios::Ratio& r = all[i];
        if (r.negativeEquityRule && negativeEquity) continue; // both figures stay 0
        const double q1 = industry(ratios::q1Column(r));
        const double q2 = industry(ratios::q2Column(r));
        const double q3 = industry(ratios::q3Column(r));
        const bool lowerIsBetter = r.direction == ratios::Direction::LowerIsBetter;
        res.better[i] = lowerIsBetter ? fncExceptionCalcBetter(q1, q2, q3, res.ratios[i])
                                      : fncCalcBetter(q1, q2, q3, res.ratios[i]);
        res.worse[i] = lowerIsBetter ? fncExceptionCalcWorse(q1, q2, q3, res.ratios[i])
                                     : fncCalcWorse(q1, q2, q3, res.ratios[i]);
    }
    const double ta = firm[position<"Ta">()];
    const auto vars = ratios::variances();
    for (size_t i = 0; i < vars.size(); ++i) {
        // A plain division: total assets of 0 never reach here (the request refuses them).
        const double share = firm[variancePositions()[i]] / ta * 100;
        res.firmShares[i] = finiteOrZero(share);
        res.variances[i] = finiteOrZero(share - industry(QLatin1String(vars[i].industryColumn)));
    }
    return res;
}

} // namespace ratiocalc
