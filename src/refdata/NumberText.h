#pragma once
// Numbers as the published CSV files write them: an optional sign, digits with a
// decimal point or a decimal comma (one mark per file), an optional exponent. No
// thousands separators, no blanks inside, no infinities.

#include <QChar>
#include <QString>
#include <QStringList>
#include <optional>

namespace numbertext {

// The decimal mark of a file from the texts of its numeric fields: a comma when some
// field holds a comma and none holds a point; a point otherwise.
QChar detectDecimalMark(const QStringList& numericFields);

std::optional<double> parseNumber(const QString& text, QChar decimalMark);

// A whole number, also when written with a zero fraction ("12.0", "12,0").
std::optional<qlonglong> parseWhole(const QString& text, QChar decimalMark);

// The shortest text that reads back as the same double, with a point.
QString formatNumber(double value);

} // namespace numbertext
