#pragma once
// How the reports print numbers: the language decides the separators (English 1,234.5;
// French 1 234,5 with a non-breaking space), the layout decides decimals and signs. A
// negative figure takes the true minus sign (U+2212), as printed figures do.

#include "text/Language.h"

#include <QDate>
#include <QJsonValue>
#include <QString>

namespace reportrender {

// "E" or "F", as the title tables store it; anything but "F" (either case) is English.
Language languageFromCode(const QString& code);

// A text of the layout that may differ per language: a plain string, or {"E": …, "F": …}.
QString pickLanguage(const QJsonValue& value, Language lang);

struct NumberFormat {
    int decimals = 0;
    int maxDecimals = -1;      // more than decimals: up to that many, trailing zeros dropped
                               // (an amount as entered: 50,000 and 1,234.5)
    bool grouping = true;      // thousands separators; off for years
    bool explicitPlus = false; // "+3.2" for a positive difference
    QString prefix;
    QString suffix; // already in the report's language
};

// Reads a format object of a layout ({"decimals": 1, "suffix": {"E": "%", "F": " %"}, …};
// "maxDecimals" for figures shown with the decimals they have).
// Throws FatalError when a member has the wrong type.
NumberFormat parseNumberFormat(const QJsonValue& value, Language lang, const QString& where);

// The minus sign of printed figures.
inline constexpr char16_t kMinus = u'\u2212';

// The value rounded to the format's decimals; a value that rounds to zero prints without a sign.
QString formatNumber(double value, const NumberFormat& format, Language lang);

// A date as the reports print it: "March 5, 2027", "5 mars 2027" (the French day and month
// held together by non-breaking spaces, the first of the month written 1er).
QString formatDate(const QDate& date, Language lang);

} // namespace reportrender
