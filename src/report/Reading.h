#pragma once
// The plain-language reading of a comparison, the first section of the comparison report,
// made to be scanned: a box of at most three ratios to look at first (where the firm stands
// and the dollar change that would bring it to the median), the strengths in one short list,
// a compact table of every ratio (yours, the median, where you stand, which way is better),
// a note that names net operating assets and capital employed in plain words, and the
// balance-sheet items whose share differs most from the industry's. Built only from the
// comparison's figures and the texts of the reading, so the same firm always reads the same;
// the report's gauges take where the firm stands from here too.

#include "report/RatioStanding.h"
#include "text/Language.h"

#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantMap>
#include <array>
#include <functional>

namespace reading {

// A column of the comparison row (Rpt_Comparison) or of the industry's row of the firm's year.
using Lookup = std::function<QVariant(const QString& column)>;

struct Reading {
    QStringList lookFirst; // one line a ratio, at most three, and a line for the rest
    QString strengths;
    std::array<QString, 15> standings; // "top quarter", or why the ratio is not ranked
    std::array<QString, 15> notes;     // why a ratio is not ranked; empty when it is
    QString balance;
    std::array<standing::RatioStanding, 15> ratios;
};

Reading compose(const Lookup& comparison, const Lookup& industry, Language language);

// Why a ratio is not ranked, as one short note ("not meaningful: net operating assets are
// negative"); empty for a ranked ratio. The batch summary and the trend say the same.
// base is the ratio's denominator, which says whether a base is negative or nil.
QString noteOf(const ratios::Ratio& r, standing::Kind kind, double base, Language language);

// How the reading writes figures: percentages with one decimal, quotients with two, dollars
// whole, in the language's separators and with a true minus sign.
QString percent(double value, Language language);
QString quotient(double value, Language language);
QString figure(const ratios::Ratio& r, double value, Language language);
QString dollars(double amount, Language language);
// A gap between percentages, in percentage points.
QString points(double gap, Language language);

// The reading as the report prints it: one row of texts and figures (the table "Reading"):
// Heading, LookFirstTitle, Look_1 to Look_4, LeadStrengths, Strengths, RatiosTitle, the
// headings Head_Ratio, Head_Yours, Head_Median, Head_Standing, Head_Better, the words
// Higher and Lower, Terms, LeadBalance and Balance; and for each ratio, by the stem of its
// position columns: Value_ (the firm's figure, null when not meaningful), Standing_, Note_
// (null when ranked), Lowest_, Highest_, Boundary_ (the gauge's quarters, null when not
// ranked), BetterThan_ and WorseThan_ (the position figures the report prints).
QVariantMap tableRow(const Reading& r, Language language);

} // namespace reading
