#pragma once
// The plain-language reading of a comparison, the first section of the comparison
// report: a summary of the firm's strengths and concerns, a paragraph per ratio group
// saying for every ratio where the firm stands and what it would take to reach the
// median, and the balance-sheet items whose share differs most from the industry's.
// Built only from the comparison's figures and the sentences of the reading texts, so
// the same firm always reads the same.

#include "report/RatioStanding.h"

#include <QString>
#include <QVariant>
#include <QVariantMap>
#include <array>
#include <functional>

namespace reading {

// A column of the comparison row (Rpt_Comparison) or of the industry's row of the firm's year.
using Lookup = std::function<QVariant(const QString& column)>;

struct Reading {
    QString summary;
    std::array<QString, 3> groups;          // profitability, efficiency, liquidity and solvency
    std::array<QStringList, 3> groupRatios; // the same, one text a ratio
    QString balance;
    std::array<standing::RatioStanding, 15> ratios;
};

// language: 0 English, else French.
Reading compose(const Lookup& comparison, const Lookup& industry, int language);

// How the reading writes figures: percentages with one decimal, quotients with two, dollars
// whole, in the language's separators and with a true minus sign.
QString percent(double value, int language);
QString quotient(double value, int language);
QString dollars(double amount, int language);
// A gap between percentages, in percentage points.
QString points(double gap, int language);

// The reading as the report prints it: one row of texts, the section's heading and the
// lead-in of each paragraph beside the paragraphs (Heading, Summary, LeadSummary,
// Profitability, LeadProfitability, Efficiency, LeadEfficiency, Liquidity, LeadLiquidity,
// Balance, LeadBalance).
QVariantMap tableRow(const Reading& r, int language);

} // namespace reading
