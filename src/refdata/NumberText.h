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

// The same, told one field at a time, so that a file need not be held to be read.
class DecimalMarkVote {
public:
    void add(const QString& numericField);
    QChar mark() const { return comma_ && !point_ ? u',' : u'.'; }

private:
    bool point_ = false;
    bool comma_ = false;
};

std::optional<double> parseNumber(const QString& text, QChar decimalMark);

// A whole number, also when written with a zero fraction ("12.0", "12,0").
std::optional<qlonglong> parseWhole(const QString& text, QChar decimalMark);

// The shortest text that reads back as the same double, with a point.
QString formatNumber(double value);

} // namespace numbertext
