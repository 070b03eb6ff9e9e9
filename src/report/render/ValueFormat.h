#pragma once
// How the reports print numbers: the language decides the separators (English 1,234.5;
// French 1 234,5 with a non-breaking space), the layout decides decimals and signs.

#include <QJsonValue>
#include <QLocale>
#include <QString>

namespace reportrender {

enum class Language { English, French };

// "E" or "F", as the title tables store it; anything but "F" is English.
Language languageFromCode(const QString& code);
QLocale localeFor(Language lang);
// The string-table language flag: 0 English, 1 French.
int languageFlag(Language lang);

// A text of the layout that may differ per language: a plain string, or {"E": …, "F": …}.
QString pickLanguage(const QJsonValue& value, Language lang);

struct NumberFormat {
    int decimals = 0;
    bool grouping = true;     // thousands separators; off for years
    bool explicitPlus = false; // "+3.2" for a positive difference
    QString prefix;
    QString suffix;           // already in the report's language
};

// Reads a format object of a layout ({"decimals": 1, "suffix": {"E": "%", "F": " %"}, …}).
// Throws FatalError when a member has the wrong type.
NumberFormat parseNumberFormat(const QJsonValue& value, Language lang, const QString& where);

// The value rounded to the format's decimals; a value that rounds to zero prints without a sign.
QString formatNumber(double value, const NumberFormat& format, Language lang);

} // namespace reportrender
