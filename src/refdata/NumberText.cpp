#include "refdata/NumberText.h"

#include <QLocale>
#include <QRegularExpression>
#include <cmath>

namespace numbertext {

namespace {

bool wellFormed(const QString& text, QChar decimalMark) {
    static const QRegularExpression withPoint(
        QStringLiteral("^[+-]?(\\d+(\\.\\d*)?|\\.\\d+)([eE][+-]?\\d+)?$"));
    static const QRegularExpression withComma(QStringLiteral("^[+-]?(\\d+(,\\d*)?|,\\d+)([eE][+-]?\\d+)?$"));
    return (decimalMark == u',' ? withComma : withPoint).match(text).hasMatch();
}

} // namespace

void DecimalMarkVote::add(const QString& numericField) {
    point_ = point_ || numericField.contains(u'.');
    comma_ = comma_ || numericField.contains(u',');
}

QChar detectDecimalMark(const QStringList& numericFields) {
    DecimalMarkVote vote;
    for (const QString& f : numericFields)
        vote.add(f);
    return vote.mark();
}

std::optional<double> parseNumber(const QString& text, QChar decimalMark) {
    if (!wellFormed(text, decimalMark)) return std::nullopt;
    QString c = text;
    if (decimalMark == u',') c.replace(u',', u'.');
    // Spelled out in full ("0.5", "1.0") for the conversion, which wants digits on
    // both sides of the point.
    const qsizetype point = c.indexOf(u'.');
    if (point >= 0) {
        if (point + 1 >= c.size() || !c[point + 1].isDigit()) c.insert(point + 1, u'0');
        if (point == 0 || !c[point - 1].isDigit()) c.insert(point, u'0');
    }
    bool ok = false;
    const double value = QLocale::c().toDouble(c, &ok);
    if (!ok || !std::isfinite(value)) return std::nullopt;
    return value;
}

std::optional<qlonglong> parseWhole(const QString& text, QChar decimalMark) {
    const std::optional<double> value = parseNumber(text, decimalMark);
    if (!value || std::trunc(*value) != *value || std::fabs(*value) > 9.0e15) return std::nullopt;
    return static_cast<qlonglong>(*value);
}

QString formatNumber(double value) {
    return QString::number(value, 'g', QLocale::FloatingPointShortest);
}

} // namespace numbertext
