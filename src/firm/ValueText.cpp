#include "firm/ValueText.h"

#include "platform/Platform.h"

#include <QLocale>
#include <QRegularExpression>
#include <cmath>
#include <cstdint>

namespace valuetext {

namespace {

struct Decimal {
    bool negative = false;
    QString digits;   // without leading zeros, may be empty for zero
    int pointPos = 0; // number of digits before the decimal point
};

// Splits the leading-number text into sign, digits and the position of the point after the exponent.
std::optional<Decimal> parseDecimal(const QString& number) {
    if (number.isEmpty()) return std::nullopt;
    Decimal d;
    qsizetype i = 0;
    if (number[i] == u'-') {
        d.negative = true;
        ++i;
    }
    QString intPart, fracPart;
    while (i < number.size() && number[i].isDigit())
        intPart += number[i++];
    if (i < number.size() && number[i] == u'.') {
        ++i;
        while (i < number.size() && number[i].isDigit())
            fracPart += number[i++];
    }
    long long exponent = 0;
    if (i < number.size() && (number[i] == u'E' || number[i] == u'e')) {
        ++i;
        bool negExp = false;
        if (i < number.size() && (number[i] == u'+' || number[i] == u'-')) negExp = number[i++] == u'-';
        QString expDigits;
        while (i < number.size() && number[i].isDigit())
            expDigits += number[i++];
        exponent = std::min<long long>(expDigits.toLongLong(), 100000);
        if (negExp) exponent = -exponent;
    }
    d.digits = intPart + fracPart;
    long long point = intPart.size() + exponent;
    // Strip leading zeros, moving the point along.
    qsizetype lead = 0;
    while (lead < d.digits.size() && d.digits[lead] == u'0')
        ++lead;
    d.digits = d.digits.mid(lead);
    point -= lead;
    while (!d.digits.isEmpty() && d.digits.endsWith(u'0'))
        d.digits.chop(1);
    if (d.digits.isEmpty()) {
        d.negative = false;
        d.pointPos = 0;
        return d;
    }
    d.pointPos = static_cast<int>(std::clamp<long long>(point, -200000, 200000));
    return d;
}

} // namespace

QString leadingNumberText(const QString& text) {
    QString s;
    s.reserve(text.size());
    for (QChar c : text)
        if (c != u' ') s += c;
    qsizetype i = 0;
    QString out;
    if (i < s.size() && s[i] == u'-') out += s[i++];
    qsizetype digits = 0;
    while (i < s.size() && s[i].isDigit() && s[i].unicode() < 128) {
        out += s[i++];
        ++digits;
    }
    if (i < s.size() && s[i] == u'.') {
        QString frac;
        qsizetype j = i + 1;
        while (j < s.size() && s[j].isDigit() && s[j].unicode() < 128)
            frac += s[j++];
        if (!frac.isEmpty() || digits > 0) {
            out += u'.' + frac;
            digits += frac.size();
            i = j;
        }
    }
    if (digits == 0) return QString();
    // An exponent counts only when complete: a letter E, an optional sign and digits.
    if (i < s.size() && (s[i] == u'E' || s[i] == u'e')) {
        qsizetype j = i + 1;
        QString exp = QStringLiteral("E");
        if (j < s.size() && (s[j] == u'+' || s[j] == u'-')) exp += s[j++];
        qsizetype expDigits = 0;
        while (j < s.size() && s[j].isDigit() && s[j].unicode() < 128) {
            exp += s[j++];
            ++expDigits;
        }
        if (expDigits > 0) out += exp;
    }
    return out;
}

double leadingNumber(const QString& text) {
    const QString number = leadingNumberText(text);
    if (number.isEmpty()) return 0.0;
    bool ok = false;
    const double v = QLocale::c().toDouble(number, &ok);
    if (ok) return v;
    // Too large for a double: the sign of the number at the limit.
    return number.startsWith(u'-') ? -HUGE_VAL : HUGE_VAL;
}

std::optional<int64_t> tenThousandths(const QString& text) {
    const std::optional<Decimal> parsed = parseDecimal(leadingNumberText(text));
    if (!parsed || parsed->digits.isEmpty()) return 0;
    const Decimal& d = *parsed;

    // The value in ten-thousandths, rounded half to even on the exact decimal digits.
    const int keep = d.pointPos + 4; // digits that stay before rounding
    if (keep > 19) return std::nullopt;
    QString kept = keep > 0 ? d.digits.left(keep) : QString();
    while (kept.size() < keep)
        kept += u'0';
    const QString dropped = keep >= 0 ? d.digits.mid(keep) : QString(-keep, u'0') + d.digits;
    unsigned long long units = kept.isEmpty() ? 0ULL : kept.toULongLong();
    if (!dropped.isEmpty()) {
        const int first = dropped[0].digitValue();
        const bool restNonZero = dropped.mid(1).contains(QRegularExpression(QStringLiteral("[1-9]")));
        const bool roundUp = first > 5 || (first == 5 && (restNonZero || (units % 2 == 1)));
        if (roundUp) ++units;
    }
    if (units > static_cast<unsigned long long>(INT64_MAX)) return std::nullopt;
    const auto value = static_cast<int64_t>(units);
    return d.negative ? -value : value;
}

std::optional<QString> normalForm(const QString& text) {
    const std::optional<int64_t> units = tenThousandths(text);
    if (!units) return std::nullopt;
    if (*units == 0) return QStringLiteral("0");
    const unsigned long long magnitude =
        *units < 0 ? 0ULL - static_cast<unsigned long long>(*units) : static_cast<unsigned long long>(*units);
    QString frac = QStringLiteral("%1").arg(magnitude % 10000, 4, 10, QChar(u'0'));
    while (frac.endsWith(u'0'))
        frac.chop(1);
    QString out = *units < 0 ? QStringLiteral("-") : QString();
    out += QString::number(magnitude / 10000);
    if (!frac.isEmpty()) out += u'.' + frac;
    return out;
}

namespace {

// The shortest text of a number rounded to `significant` digits: plain digits, or the
// exponent form (mantissa, "E", sign, two digits) when exponentForm says so.
QString significantText(double value, int significant, bool (*exponentForm)(int exponent)) {
    if (value == 0.0 || std::isnan(value)) return QStringLiteral("0");
    if (std::isinf(value)) return value > 0 ? QStringLiteral("1.#INF") : QStringLiteral("-1.#INF");
    const QString sci = QString::number(value, 'e', significant - 1); // d.ddde±XX
    const qsizetype ePos = sci.indexOf(u'e');
    QString mantissa = sci.left(ePos);
    const int exponent = sci.mid(ePos + 1).toInt();
    const bool negative = mantissa.startsWith(u'-');
    if (negative) mantissa.remove(0, 1);
    QString digits = mantissa;
    digits.remove(u'.');
    while (digits.size() > 1 && digits.endsWith(u'0'))
        digits.chop(1);

    QString out = negative ? QStringLiteral("-") : QString();
    if (exponentForm(exponent)) {
        out += digits.left(1);
        if (digits.size() > 1) out += u'.' + digits.mid(1);
        out += exponent < 0 ? QStringLiteral("E-") : QStringLiteral("E+");
        out += QStringLiteral("%1").arg(std::abs(exponent), 2, 10, QChar(u'0'));
        return out;
    }
    if (exponent >= 0) {
        QString intPart = digits.left(exponent + 1);
        while (intPart.size() < exponent + 1)
            intPart += u'0';
        const QString frac = digits.mid(exponent + 1);
        out += intPart;
        if (!frac.isEmpty()) out += u'.' + frac;
    } else {
        out += QStringLiteral("0.") + QString(-exponent - 1, u'0') + digits;
    }
    return out;
}

} // namespace

QString singleText(float value) {
    // A subtotal switches to the exponent form from 10,000,000 up, and for tiny fractions.
    return significantText(static_cast<double>(value), 7, [](int e) { return e >= 7 || e < -4; });
}

QString doubleText(double value) {
    return significantText(value, 15, [](int) { return false; });
}

QString storedText(double value) {
    if (!std::isfinite(value)) return doubleText(value);
    if (value == 0.0) return QStringLiteral("0");
    QString text = doubleText(value);
    if (QLocale::c().toDouble(text) != value)
        text = QString::number(value, 'f', QLocale::FloatingPointShortest);
    if (!normalForm(text)) {
        const QString largest =
            (value < 0 ? QStringLiteral("-") : QString()) + QStringLiteral("922337203685477.5807");
        if (QLocale::c().toDouble(largest) == value) return largest;
    }
    return text;
}

bool storable(const QString& text) {
    bool ok = false;
    const double value = QLocale::c().toDouble(text.trimmed(), &ok);
    if (!ok || !std::isfinite(value)) return false;
    const std::optional<QString> normal = normalForm(storedText(value));
    return normal && QLocale::c().toDouble(*normal) == value;
}

double toDouble(const QString& text) {
    const QString t = text.trimmed();
    bool ok = false;
    double v = QLocale::c().toDouble(t, &ok);
    if (!ok) v = QLocale::system().toDouble(t, &ok);
    if (!ok)
        throw FatalError(errnum::TypeMismatch,
                         QStringLiteral("Type mismatch: '%1' is not a number").arg(text));
    return v;
}

} // namespace valuetext
