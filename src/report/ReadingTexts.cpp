#include "report/ReadingTexts.h"

#include "platform/Platform.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

namespace readingtexts {

namespace {

const QJsonObject& data() {
    static const QJsonObject root = [] {
        QFile file(QStringLiteral(":/ventrolux/reading.json"));
        if (!file.open(QIODevice::ReadOnly))
            throw FatalError(errnum::FileNotFound, QStringLiteral("The reading texts cannot be read."));
        QJsonParseError error;
        const QJsonDocument doc = QJsonDocument::fromJson(file.readAll(), &error);
        if (error.error != QJsonParseError::NoError || !doc.isObject())
            throw FatalError(
                errnum::TypeMismatch,
                QStringLiteral("The reading texts are not valid JSON: %1").arg(error.errorString()));
        return doc.object();
    }();
    return root;
}

[[noreturn]] void missing(const QString& what) {
    throw FatalError(errnum::InternalError, QStringLiteral("The reading texts have no %1").arg(what));
}

QString pick(const QJsonValue& pair, int language, const QString& what, bool frenchPlural = false) {
    const QJsonObject o = pair.toObject();
    if (language != 0 && frenchPlural && o.contains(QLatin1String("Fplural")))
        return o.value(QLatin1String("Fplural")).toString();
    const QJsonValue v = o.value(language != 0 ? QLatin1String("F") : QLatin1String("E"));
    if (!v.isString()) missing(what);
    return v.toString();
}

QJsonObject section(const char* name, const QString& key) {
    const QJsonValue v = data().value(QLatin1String(name)).toObject().value(key);
    if (!v.isObject()) missing(QStringLiteral("%1 %2").arg(QLatin1String(name), key));
    return v.toObject();
}

QString placeholders(const QString& pattern, const QHash<QString, QString>& values, const QString& what) {
    static const QRegularExpression placeholder(QStringLiteral("\\{([A-Za-z]+)\\}"));
    QString out;
    qsizetype last = 0;
    for (auto it = placeholder.globalMatch(pattern); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        const auto v = values.constFind(m.captured(1));
        if (v == values.cend()) missing(QStringLiteral("value for {%1} in %2").arg(m.captured(1), what));
        out += pattern.mid(last, m.capturedStart() - last) + *v;
        last = m.capturedEnd();
    }
    return out + pattern.mid(last);
}

} // namespace

QString fill(const QString& key, int language, const QHash<QString, QString>& values, bool frenchPlural) {
    const QJsonValue t = data().value(QLatin1String("templates")).toObject().value(key);
    if (!t.isObject()) missing(QStringLiteral("template %1").arg(key));
    return placeholders(pick(t, language, key, frenchPlural), values, key);
}

QString ratioName(const char* stem, int language) {
    return pick(section("ratios", QLatin1String(stem)).value(QLatin1String("name")), language,
                QLatin1String(stem));
}

QString ratioSubject(const char* stem, int language) {
    return pick(section("ratios", QLatin1String(stem)).value(QLatin1String("subject")), language,
                QLatin1String(stem));
}

QString numeratorChange(const char* stem, bool higher, int language, const QString& amount) {
    const QJsonValue v = section("numerators", QLatin1String(stem))
                             .value(higher ? QLatin1String("higher") : QLatin1String("lower"));
    return placeholders(pick(v, language, QLatin1String(stem)), {{QStringLiteral("amount"), amount}},
                        QLatin1String(stem));
}

QString denominatorHolding(const char* stem, int language) {
    return pick(section("denominators", QLatin1String(stem)).value(QLatin1String("holding")), language,
                QLatin1String(stem));
}

QString denominatorZero(const char* stem, int language) {
    return pick(section("denominators", QLatin1String(stem)).value(QLatin1String("zero")), language,
                QLatin1String(stem));
}

QString groupName(int group, int language) {
    const QJsonValue v = data().value(QLatin1String("groups")).toArray().at(group);
    return pick(v, language, QStringLiteral("group %1").arg(group));
}

QString itemName(const QString& column, int language) {
    return pick(data().value(QLatin1String("items")).toObject().value(column), language, column);
}

QString trendLabel(const QString& column, int language) {
    return pick(data().value(QLatin1String("trendLabels")).toObject().value(column), language, column);
}

QStringList trendLabelColumns() {
    return data().value(QLatin1String("trendLabels")).toObject().keys();
}

QString joinList(const QStringList& parts, int language) {
    if (parts.size() <= 1) return parts.value(0);
    return parts.mid(0, parts.size() - 1).join(fill(QStringLiteral("list.comma"), language)) +
           fill(QStringLiteral("list.and"), language) + parts.last();
}

QString upperFirst(QString s) {
    if (!s.isEmpty()) s[0] = s[0].toUpper();
    return s;
}

} // namespace readingtexts
