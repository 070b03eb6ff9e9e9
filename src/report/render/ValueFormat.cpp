#include "report/render/ValueFormat.h"

#include "platform/Platform.h"

#include <QDate>
#include <QJsonObject>
#include <algorithm>
#include <cmath>

namespace reportrender {

namespace {

[[noreturn]] void badLayout(const QString& where, const QString& what) {
    throw FatalError(errnum::TypeMismatch, QStringLiteral("Report layout, %1: %2").arg(where, what));
}

} // namespace

Language languageFromCode(const QString& code) {
    return language::fromLetter(code.trimmed()).value_or(Language::E);
}

QString pickLanguage(const QJsonValue& value, Language lang) {
    if (value.isObject()) {
        const QJsonObject o = value.toObject();
        return o.value(language::letter(lang)).toString();
    }
    return value.toString();
}

NumberFormat parseNumberFormat(const QJsonValue& value, Language lang, const QString& where) {
    if (!value.isObject()) badLayout(where, QStringLiteral("a number format must be an object"));
    const QJsonObject o = value.toObject();
    static const QStringList known{QStringLiteral("decimals"), QStringLiteral("maxDecimals"),
                                   QStringLiteral("grouping"), QStringLiteral("sign"),
                                   QStringLiteral("prefix"),   QStringLiteral("suffix")};
    for (auto it = o.begin(); it != o.end(); ++it)
        if (!known.contains(it.key()))
            badLayout(where, QStringLiteral("unknown member '%1' of a number format").arg(it.key()));
    NumberFormat f;
    const auto places = [&](const char* key, int fallback) {
        const QJsonValue d = o.value(QLatin1String(key));
        if (d.isUndefined()) return fallback;
        if (!d.isDouble() || d.toDouble() < 0 || d.toDouble() > 6 || d.toDouble() != std::floor(d.toDouble()))
            badLayout(where,
                      QStringLiteral("'%1' must be a whole number from 0 to 6").arg(QLatin1String(key)));
        return d.toInt();
    };
    f.decimals = places("decimals", 0);
    f.maxDecimals = places("maxDecimals", -1);
    if (f.maxDecimals >= 0 && f.maxDecimals < f.decimals)
        badLayout(where, QStringLiteral("'maxDecimals' must not be below 'decimals'"));
    const auto flag = [&](const char* key, bool fallback) {
        const QJsonValue v = o.value(QLatin1String(key));
        if (v.isUndefined()) return fallback;
        if (!v.isBool())
            badLayout(where, QStringLiteral("'%1' must be true or false").arg(QLatin1String(key)));
        return v.toBool();
    };
    f.grouping = flag("grouping", true);
    f.explicitPlus = flag("sign", false);
    for (const char* key : {"prefix", "suffix"}) {
        const QJsonValue v = o.value(QLatin1String(key));
        if (!v.isUndefined() && !v.isString() && !v.isObject())
            badLayout(where, QStringLiteral("'%1' must be a text or an object of texts per language")
                                 .arg(QLatin1String(key)));
    }
    f.prefix = pickLanguage(o.value(QLatin1String("prefix")), lang);
    f.suffix = pickLanguage(o.value(QLatin1String("suffix")), lang);
    return f;
}

QString formatNumber(double value, const NumberFormat& format, Language lang) {
    QLocale locale = language::locale(lang);
    if (!format.grouping) locale.setNumberOptions(locale.numberOptions() | QLocale::OmitGroupSeparator);
    const int places = std::max(format.decimals, format.maxDecimals);
    const double scale = std::pow(10.0, places);
    double rounded = std::round(value * scale) / scale;
    if (rounded == 0.0) rounded = 0.0; // turns -0.0 into 0.0
    QString text = locale.toString(std::abs(rounded), 'f', places);
    // Trailing zeros beyond the decimals every figure shows are dropped, and the separator with them.
    if (places > format.decimals) {
        const QString point = locale.decimalPoint();
        const qsizetype at = text.lastIndexOf(point);
        if (at >= 0) {
            qsizetype end = text.size();
            while (end > at + point.size() + format.decimals && text[end - 1] == u'0')
                --end;
            if (format.decimals == 0 && end == at + point.size()) end = at;
            text.truncate(end);
        }
    }
    if (rounded < 0)
        text.prepend(QChar(kMinus));
    else if (format.explicitPlus && rounded > 0)
        text.prepend(locale.positiveSign());
    return format.prefix + text + format.suffix;
}

QString formatDate(const QDate& date, Language lang) {
    if (!date.isValid()) return QString();
    const QLocale locale = language::locale(lang);
    if (lang == Language::E) return locale.toString(date, QStringLiteral("MMMM d, yyyy"));
    // French writes the first of the month as an ordinal: 1er mars 2027.
    const QString day = date.day() == 1 ? QStringLiteral("1er") : QString::number(date.day());
    return day + QChar(0x00a0) + locale.toString(date, QStringLiteral("MMMM")) + QChar(0x00a0) +
           QString::number(date.year());
}

} // namespace reportrender
