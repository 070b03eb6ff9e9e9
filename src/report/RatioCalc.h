#pragma once
// The fifteen ratios of a firm, where each stands among the industry's quartiles, and
// the balance-sheet variances. Pure functions of their arguments.

#include "report/RatioTable.h"

#include <QStringList>
#include <QVariant>
#include <array>
#include <functional>

double fncCalcRatio(double dblNumerator, double dblDenominator);
double fncCalcBetter(double dblQ1, double dblQ2, double dblQ3, double dblmyRatio);
double fncCalcWorse(double dblQ1, double dblQ2, double dblQ3, double dblmyRatio);
double fncExceptionCalcBetter(double dblQ1, double dblQ2, double dblQ3, double dblmyRatio);
double fncExceptionCalcWorse(double dblQ1, double dblQ2, double dblQ3, double dblmyRatio);

namespace ratiocalc {

// The firm's numbers, indexed like the 37-entry comparison value array (0..3 unused).
using FirmNumbers = std::array<double, 37>;

// Converts the comparison value array's numeric entries (4..36 except 21).
FirmNumbers firmNumbers(const QStringList& aComparisonValues);

// Reads an industry column of the working-table row; a null counts as 0.
using IndustryLookup = std::function<double(const QString& column)>;

struct Results {
    std::array<double, 15> ratios{};
    std::array<double, 15> better{};
    std::array<double, 15> worse{};
    std::array<double, 25> variances{};
    std::array<double, 25> firmShares{}; // line item ÷ total assets × 100, in variance order
};

std::array<double, 15> computeRatios(const FirmNumbers& firm);

// A ratio's numerator and denominator from the firm's values, before the guard and the
// scaling: what a reading needs to say how far the numerator is from a target.
struct Fraction {
    double numerator;
    double denominator;
};
Fraction fractionOf(ratios::Formula formula, const FirmNumbers& firm);
Results compute(const FirmNumbers& firm, const IndustryLookup& industry);

// Two figures that differ by the rounding of double arithmetic only are the same figure.
bool sameFigure(double a, double b);

// A result that is not a finite number (an overflow, a division by zero) is stored as 0.
double finiteOrZero(double value);

} // namespace ratiocalc
