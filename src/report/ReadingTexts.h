#pragma once
// The texts of the plain-language readings, kept as data (resources/reading.json, both
// languages) and filled in here: a template's {name} placeholders are replaced by the
// values given. Nothing of a reading is free text written in code. The names of ratios,
// ratio groups and line items are the string table's, so that a reading uses the same term
// as the report's tables.

#include "report/RatioTable.h"
#include "text/Language.h"

#include <QHash>
#include <QString>
#include <QStringList>

namespace readingtexts {

// A template in a language with its placeholders filled. An unknown key is an untrapped
// failure naming it: the data file and the code disagree.
QString fill(const QString& key, Language language, const QHash<QString, QString>& values = {});
// A template whose words follow a count: its "one" form ("Eone", "Fone") when the language
// writes the count in the singular (English 1, French 0 and 1), {n} the count.
QString fillCount(const QString& key, long long n, Language language, QHash<QString, QString> values = {});

// The ratio's name as the report's tables print it.
QString ratioName(const ratios::Ratio& r, Language language);
// "net profit $8,470 higher" and its like, for the direction the numerator must move.
QString numeratorChange(const ratios::Ratio& r, bool higher, Language language, const QString& amount);
// "same operating revenue": the denominator held while the numerator moves.
QString denominatorHolding(const ratios::Ratio& r, Language language);
// Why a ratio means nothing: its base is negative or nil, or its denominator is nil.
QString baseReason(const ratios::Ratio& r, bool negative, Language language);
QString zeroReason(const ratios::Ratio& r, Language language);

// A ratio group's name (0 profitability, 1 efficiency, 2 liquidity and solvency), as the
// string table names it, without the unit in brackets that the tables add.
QString groupName(int group, Language language);
// A balance-sheet line item's caption, by its MyValues column.
QString itemName(const QString& column, Language language);
// A label of the trend report, by its column in the report's title row.
QString trendLabel(const QString& column, Language language);
// The columns trendLabel knows.
QStringList trendLabelColumns();

// "a, b and c" ("a, b et c").
QString joinList(const QStringList& parts, Language language);

// The first letter in upper or lower case, for a name that starts or continues a sentence.
QString upperFirst(QString s);
QString lowerFirst(QString s);

} // namespace readingtexts
