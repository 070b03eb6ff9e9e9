#include "report/render/Expressions.h"

#include "platform/Platform.h"
#include "text/StringTable.h"

#include <QJsonArray>
#include <QRegularExpression>
#include <algorithm>
#include <cmath>

namespace reportrender {

void layoutError(const QString& where, const QString& what) {
    throw FatalError(errnum::TypeMismatch, QStringLiteral("Report layout %1: %2").arg(where, what));
}

namespace {

QString paramText(const QJsonValue& v) {
    if (v.isString()) return v.toString();
    if (v.isDouble()) return QString::number(v.toDouble(), 'g', 15);
    if (v.isBool()) return v.toBool() ? QStringLiteral("true") : QStringLiteral("false");
    return QString();
}

// A label that starts a sentence in one place and continues one in another.
QString withCase(QString s, const QString& mode, const QString& where) {
    if (mode.isEmpty() || s.isEmpty()) return s;
    if (mode == QLatin1String("upperFirst"))
        s[0] = s[0].toUpper();
    else if (mode == QLatin1String("lowerFirst"))
        s[0] = s[0].toLower();
    else
        layoutError(where, QStringLiteral("'case' must be upperFirst or lowerFirst, not '%1'").arg(mode));
    return s;
}

// The typography of a stored text, as the layout asks for it: {"from": "to", …}.
QString withReplacements(QString s, const QJsonValue& replace, const QString& where) {
    if (replace.isUndefined()) return s;
    if (!replace.isObject()) layoutError(where, QStringLiteral("'replace' must be an object of texts"));
    const QJsonObject pairs = replace.toObject();
    for (auto it = pairs.begin(); it != pairs.end(); ++it) {
        if (it.key().isEmpty() || !it.value().isString())
            layoutError(where, QStringLiteral("'replace' must map non-empty texts to texts"));
        s.replace(it.key(), it.value().toString());
    }
    return s;
}

// The object replacement character stands for a chart in a document; a stored text that
// holds one must not pass for a chart.
QString plain(QString s) {
    return s.replace(QChar::ObjectReplacementCharacter, QChar::ReplacementCharacter);
}

// The colours of the charts come from the layout's theme, where it names them.
ChartStyle chartStyleFrom(const QJsonObject& theme) {
    ChartStyle s;
    const auto colour = [&](const char* key, QColor& target) {
        const QJsonValue v = theme.value(QLatin1String(key));
        if (v.isString() && QColor::isValidColorName(v.toString())) target = QColor::fromString(v.toString());
    };
    const QJsonArray quarters = theme.value(QLatin1String("gaugeQuarters")).toArray();
    if (quarters.size() == 4)
        for (int i = 0; i < 4; ++i)
            if (QColor::isValidColorName(quarters[i].toString()))
                s.quarters[static_cast<size_t>(i)] = QColor::fromString(quarters[i].toString());
    colour("gaugeHighlight", s.highlight);
    colour("gaugeMarker", s.marker);
    colour("positive", s.positive);
    colour("negative", s.negative);
    colour("axis", s.axis);
    colour("muted", s.text);
    return s;
}

} // namespace

QJsonValue substitute(const QJsonValue& templ, const QJsonObject& params, const QString& where) {
    static const QRegularExpression placeholder(QStringLiteral("\\$\\{([A-Za-z0-9_]+)\\}"));
    if (templ.isString()) {
        const QString s = templ.toString();
        if (!s.contains(QLatin1String("${"))) return templ;
        const QRegularExpressionMatch whole = placeholder.match(s);
        if (whole.hasMatch() && whole.capturedStart() == 0 && whole.capturedLength() == s.size()) {
            const QJsonValue v = params.value(whole.captured(1));
            if (v.isUndefined())
                layoutError(where, QStringLiteral("the row gives no value for ${%1}").arg(whole.captured(1)));
            return v;
        }
        QString out;
        qsizetype last = 0;
        for (auto it = placeholder.globalMatch(s); it.hasNext();) {
            const QRegularExpressionMatch m = it.next();
            const QJsonValue v = params.value(m.captured(1));
            if (v.isUndefined())
                layoutError(where, QStringLiteral("the row gives no value for ${%1}").arg(m.captured(1)));
            out += s.mid(last, m.capturedStart() - last) + paramText(v);
            last = m.capturedEnd();
        }
        return out + s.mid(last);
    }
    if (templ.isArray()) {
        QJsonArray out;
        for (const QJsonValue& v : templ.toArray())
            out.append(substitute(v, params, where));
        return out;
    }
    if (templ.isObject()) {
        QJsonObject out;
        const QJsonObject o = templ.toObject();
        for (auto it = o.begin(); it != o.end(); ++it)
            out.insert(it.key(), substitute(it.value(), params, where));
        return out;
    }
    return templ;
}

Evaluator::Evaluator(const ReportData& data, const QJsonObject& layout, const QString& fileName)
    : data_(data), language_(data.language()) {
    const QJsonObject formats = layout.value(QLatin1String("formats")).toObject();
    for (auto it = formats.begin(); it != formats.end(); ++it)
        formats_.insert(it.key(), parseNumberFormat(it.value(), language_,
                                                    fileName + QStringLiteral(", format ") + it.key()));
    const QJsonValue na = layout.value(QLatin1String("notAvailable"));
    notAvailable_ =
        na.isUndefined() ? QStringLiteral("n/a") : text(na, fileName + QStringLiteral(", notAvailable")).text;
    chartStyle_ = chartStyleFrom(layout.value(QLatin1String("theme")).toObject());
}

bool Evaluator::isChart(const QJsonValue& expr) {
    return expr.isObject() && expr.toObject().contains(QLatin1String("chart"));
}

QJsonValue Evaluator::resolve(const QJsonValue& expr, const QString& where) const {
    QJsonValue e = expr;
    // Each step takes one branch; a layout is finite, so this ends.
    for (;;) {
        if (!e.isObject()) return e;
        const QJsonObject o = e.toObject();
        if (o.contains(QLatin1String("if"))) {
            e = o.value(test(o.value(QLatin1String("if")), where) ? QLatin1String("then")
                                                                  : QLatin1String("else"));
        } else if (o.contains(QLatin1String("ifNull"))) {
            const QVariant v = data_.value(o.value(QLatin1String("ifNull")).toString());
            e = o.value(v.isNull() ? QLatin1String("then") : QLatin1String("else"));
        } else {
            return e;
        }
    }
}

bool Evaluator::test(const QJsonValue& condition, const QString& where) const {
    if (!condition.isObject() || condition.toObject().size() != 1)
        layoutError(where, QStringLiteral("a condition must be an object with one member"));
    const QJsonObject o = condition.toObject();
    const QString kind = o.begin().key();
    const QJsonValue arg = o.begin().value();
    const auto conditions = [&](const char* what) {
        if (!arg.isArray() || arg.toArray().isEmpty())
            layoutError(where, QStringLiteral("'%1' must list conditions").arg(QLatin1String(what)));
        return arg.toArray();
    };
    if (kind == QLatin1String("null")) return data_.value(arg.toString()).isNull();
    if (kind == QLatin1String("negative")) {
        const std::optional<double> d = number(arg.toString());
        return d && *d < 0;
    }
    if (kind == QLatin1String("allMissing")) {
        if (!arg.isArray() || arg.toArray().isEmpty())
            layoutError(where, QStringLiteral("'allMissing' must list fields"));
        const QJsonArray fields = arg.toArray();
        return std::all_of(fields.begin(), fields.end(),
                           [&](const QJsonValue& f) { return !number(f.toString(), true); });
    }
    if (kind == QLatin1String("flag")) {
        if (!arg.isBool()) layoutError(where, QStringLiteral("'flag' must be true or false"));
        return arg.toBool();
    }
    if (kind == QLatin1String("not")) return !test(arg, where);
    if (kind == QLatin1String("all")) {
        const QJsonArray list = conditions("all");
        return std::all_of(list.begin(), list.end(), [&](const QJsonValue& c) { return test(c, where); });
    }
    if (kind == QLatin1String("any")) {
        const QJsonArray list = conditions("any");
        return std::any_of(list.begin(), list.end(), [&](const QJsonValue& c) { return test(c, where); });
    }
    layoutError(where, QStringLiteral("unknown condition '%1'").arg(kind));
}

NumberFormat Evaluator::format(const QJsonValue& nameOrObject, const QString& where) const {
    if (nameOrObject.isString()) {
        const auto it = formats_.constFind(nameOrObject.toString());
        if (it == formats_.cend())
            layoutError(where, QStringLiteral("unknown number format '%1'").arg(nameOrObject.toString()));
        return *it;
    }
    return parseNumberFormat(nameOrObject, language_, where);
}

std::optional<double> Evaluator::number(const QString& field, bool zeroAsMissing) const {
    const QVariant v = data_.value(field);
    if (v.isNull()) return std::nullopt;
    bool ok = false;
    const double d = v.toDouble(&ok);
    if (!ok || !std::isfinite(d)) return std::nullopt;
    if (zeroAsMissing && d == 0.0) return std::nullopt;
    return d;
}

Text Evaluator::text(const QJsonValue& exprIn, const QString& where) const {
    const QJsonValue expr = resolve(exprIn, where);
    if (expr.isString()) return {expr.toString(), false};
    if (expr.isNull() || expr.isUndefined()) return {};
    if (!expr.isObject()) layoutError(where, QStringLiteral("a text must be a literal or an object"));
    const QJsonObject o = expr.toObject();
    const QString caseMode = o.value(QLatin1String("case")).toString();
    const QJsonValue replace = o.value(QLatin1String("replace"));
    const auto done = [&](const QString& s) {
        return Text{withReplacements(withCase(plain(s), caseMode, where), replace, where), false};
    };

    if (o.contains(QLatin1String("title"))) {
        const QVariant v = data_.title(o.value(QLatin1String("title")).toString());
        if (v.isNull()) return {notAvailable_, true};
        return done(v.toString().trimmed());
    }
    if (o.contains(QLatin1String("string"))) {
        const QJsonValue n = o.value(QLatin1String("string"));
        bool ok = n.isDouble();
        int entry = n.toInt();
        if (n.isString()) entry = n.toString().toInt(&ok);
        if (!ok || !strings::contains(entry))
            layoutError(where, QStringLiteral("'%1' is not an entry of the string table").arg(paramText(n)));
        return done(strings::text(entry, language_).trimmed());
    }
    if (o.contains(QLatin1String("field"))) {
        const QString field = o.value(QLatin1String("field")).toString();
        const QJsonValue fmt = o.value(QLatin1String("format"));
        if (fmt.isUndefined()) {
            const QVariant v = data_.value(field);
            if (v.isNull() || v.toString().trimmed().isEmpty()) return {notAvailable_, true};
            return done(v.toString().trimmed());
        }
        const NumberFormat f = format(fmt, where);
        const std::optional<double> d = number(field, o.value(QLatin1String("zeroAsMissing")).toBool());
        if (!d) {
            // A text in a numeric column (a code, say) prints as it is.
            const QVariant v = data_.value(field);
            if (!v.isNull() && v.typeId() == QMetaType::QString && !v.toString().trimmed().isEmpty()) {
                bool numeric = false;
                v.toString().toDouble(&numeric);
                if (!numeric) return done(v.toString().trimmed());
            }
            return {notAvailable_, true};
        }
        return {formatNumber(*d, f, language_), false, true};
    }
    if (o.contains(QLatin1String("concat"))) {
        QString out;
        const QJsonArray parts = o.value(QLatin1String("concat")).toArray();
        for (int i = 0; i < parts.size(); ++i) {
            const Text t = text(parts[i], where);
            if (t.missing) return {notAvailable_, true};
            out += t.text;
        }
        return done(out);
    }
    if (o.contains(QLatin1String("notAvailable"))) return {notAvailable_, true};
    if (o.contains(QLatin1String("date"))) {
        if (o.value(QLatin1String("date")).toString() != QLatin1String("prepared"))
            layoutError(where, QStringLiteral("the only date a report knows is 'prepared'"));
        const QString date = formatDate(data_.preparedOn(), language_);
        if (date.isEmpty()) return {notAvailable_, true};
        return {date, false, true};
    }
    if (o.contains(QLatin1String("chart")))
        layoutError(where, QStringLiteral("a chart cannot stand inside a text"));
    layoutError(
        where, QStringLiteral("unknown kind of text (members: %1)").arg(o.keys().join(QStringLiteral(", "))));
}

Chart Evaluator::chart(const QJsonValue& expr, const QString& where, const QString& fontFamily,
                       double pointSize) const {
    const QJsonObject o = resolve(expr, where).toObject();
    const QString kind = o.value(QLatin1String("chart")).toString();
    Chart c;
    c.fontFamily = fontFamily;
    c.fontPointSize = pointSize;
    c.style = chartStyle_;
    c.width = o.value(QLatin1String("width")).toDouble(10);
    c.height = o.value(QLatin1String("height")).toDouble(1);
    if (!(c.width > 0 && c.width < 100 && c.height > 0 && c.height < 20))
        layoutError(where, QStringLiteral("a chart's width and height must be positive line counts"));
    if (kind == QLatin1String("quartileGauge")) {
        c.kind = ChartKind::QuartileGauge;
        // A gauge without positions marks no quarter: the position is not known or not meaningful.
        const auto position = [&](const char* key) {
            const QJsonValue v = o.value(QLatin1String(key));
            return v.isUndefined() ? std::nullopt : number(v.toString());
        };
        c.quarter = quarterFromPosition(position("better"), position("worse"));
        // Or the quarters themselves: the first and last the enterprise may be in, and the
        // boundary it stands on.
        if (o.contains(QLatin1String("lowest"))) {
            const std::optional<double> lowest = position("lowest");
            const std::optional<double> highest = position("highest");
            const std::optional<double> boundary = position("boundary");
            c.quarter = lowest ? std::clamp(static_cast<int>(*lowest), 0, 3) : -1;
            c.quarterTo = highest ? std::clamp(static_cast<int>(*highest), 0, 3) : -1;
            c.boundary = boundary ? std::clamp(static_cast<int>(*boundary), 0, 3) : 0;
        }
    } else if (kind == QLatin1String("divergingBar")) {
        c.kind = ChartKind::DivergingBar;
        // Without a value only the axis is drawn: the difference is not known.
        if (o.contains(QLatin1String("value"))) c.value = number(o.value(QLatin1String("value")).toString());
        const QJsonValue scale = o.value(QLatin1String("scale"));
        if (scale.isDouble())
            c.scale = scale.toDouble();
        else if (scale.isString()) {
            const auto it = scales_.constFind(scale.toString());
            if (it == scales_.cend())
                layoutError(where,
                            QStringLiteral("the table has no chart column '%1'").arg(scale.toString()));
            c.scale = *it;
        } else
            layoutError(where,
                        QStringLiteral("a diverging bar needs a scale: a number or the id of its column"));
    } else if (kind == QLatin1String("divergingAxis")) {
        c.kind = ChartKind::DivergingAxis;
        const QString column = o.value(QLatin1String("scaleOf")).toString();
        const auto it = scales_.constFind(column);
        if (it == scales_.cend())
            layoutError(where, QStringLiteral("the table has no chart column '%1'").arg(column));
        c.scale = *it;
        const NumberFormat f = format(o.value(QLatin1String("format")), where);
        NumberFormat signedFormat = f;
        signedFormat.explicitPlus = true;
        if (c.scale > 0)
            c.labels = QStringList{formatNumber(-c.scale, f, language_), formatNumber(0, f, language_),
                                   formatNumber(c.scale, signedFormat, language_)};
        else
            c.labels = QStringList{QString(), formatNumber(0, f, language_), QString()};
    } else if (kind == QLatin1String("trendLine")) {
        // {"chart": "trendLine", "firm": ["T.C", …], "median": ["T.C", …]}: one field a year.
        c.kind = ChartKind::TrendLine;
        const auto series = [&](const char* key) {
            QList<std::optional<double>> out;
            const QJsonValue v = o.value(QLatin1String(key));
            if (!v.isArray())
                layoutError(
                    where,
                    QStringLiteral("a trend line needs '%1': a list of fields").arg(QLatin1String(key)));
            for (const QJsonValue& f : v.toArray())
                out << number(f.toString(), true);
            return out;
        };
        c.firmSeries = series("firm");
        c.medianSeries = series("median");
    } else if (kind == QLatin1String("medianDirection")) {
        // {"chart": "medianDirection", "from": "T.C", "to": "T.C", "lower": false}
        c.kind = ChartKind::MedianDirection;
        c.medianSeries = {number(o.value(QLatin1String("from")).toString(), true),
                          number(o.value(QLatin1String("to")).toString(), true)};
        const QJsonValue lower = o.value(QLatin1String("lower"));
        if (!lower.isUndefined() && !lower.isBool())
            layoutError(where, QStringLiteral("'lower' must be true or false"));
        c.lowerIsBetter = lower.toBool();
    } else {
        layoutError(where, QStringLiteral("unknown chart '%1'").arg(kind));
    }
    return c;
}

} // namespace reportrender
