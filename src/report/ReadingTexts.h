#pragma once
// The sentences of the plain-language readings, kept as data (resources/reading.json,
// both languages) and filled in here: a template's {name} placeholders are replaced by
// the values given. Nothing of a reading is free text written in code.

#include <QHash>
#include <QString>

namespace readingtexts {

// A template in a language (0 English, else French) with its placeholders filled. A
// plural French subject takes the template's plural form when it has one. An unknown
// key is an untrapped failure naming it: the data file and the code disagree.
QString fill(const QString& key, int language, const QHash<QString, QString>& values = {},
             bool frenchPlural = false);

// The parts of a ratio's sentences, by the stem of its industry columns ("NPM").
QString ratioName(const char* stem, int language);
QString ratioSubject(const char* stem, int language);
// "net profit {amount} higher" and its like, for the direction the numerator must move.
QString numeratorChange(const char* stem, bool higher, int language, const QString& amount);
QString denominatorHolding(const char* stem, int language);
QString denominatorZero(const char* stem, int language);

// A ratio group's name (0 profitability, 1 efficiency, 2 liquidity and solvency).
QString groupName(int group, int language);
// A balance-sheet line item's name, by its MyValues column.
QString itemName(const QString& column, int language);
// A label of the trend report, by its column in the report's title row.
QString trendLabel(const QString& column, int language);
// The columns trendLabel knows.
QStringList trendLabelColumns();

// "a, b and c" ("a, b et c").
QString joinList(const QStringList& parts, int language);

// The first letter in upper case, for a subject that starts a sentence.
QString upperFirst(QString s);

} // namespace readingtexts
