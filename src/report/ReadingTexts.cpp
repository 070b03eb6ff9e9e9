#include "report/ReadingTexts.h"

#include "firm/LineItems.h"
#include "platform/Platform.h"
#include "text/StringTable.h"

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

QString pick(const QJsonValue& pair, Language language, const QString& what, bool one = false) {
    const QJsonObject o = pair.toObject();
    const QString letter = language::letter(language);
    if (one && o.contains(letter + QLatin1String("one")))
        return o.value(letter + QLatin1String("one")).toString();
    const QJsonValue v = o.value(letter);
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

QJsonValue templateOf(const QString& key) {
    const QJsonValue t = data().value(QLatin1String("templates")).toObject().value(key);
    if (!t.isObject()) missing(QStringLiteral("template %1").arg(key));
    return t;
}

QString ofRatio(const char* part, const ratios::Ratio& r, const char* which, Language language) {
    const QString stem = QLatin1String(r.quartileStem);
    return pick(section(part, stem).value(QLatin1String(which)), language, stem);
}

// A name of the string table as a sentence uses it: without the blank some entries end in.
QString stringName(int entry, Language language) {
    return strings::text(entry, language).trimmed();
}

} // namespace

QString fill(const QString& key, Language language, const QHash<QString, QString>& values) {
    return placeholders(pick(templateOf(key), language, key), values, key);
}

QString fillCount(const QString& key, long long n, Language language, QHash<QString, QString> values) {
    // French writes 0 and 1 in the singular, English only 1.
    const bool one = language == Language::F ? (n == 0 || n == 1 || n == -1) : (n == 1 || n == -1);
    values.insert(QStringLiteral("n"), QString::number(n));
    return placeholders(pick(templateOf(key), language, key, one), values, key);
}

QString ratioName(const ratios::Ratio& r, Language language) {
    return stringName(r.nameEntry, language);
}

QString numeratorChange(const ratios::Ratio& r, bool higher, Language language, const QString& amount) {
    return placeholders(ofRatio("numerators", r, higher ? "higher" : "lower", language),
                        {{QStringLiteral("amount"), amount}}, QLatin1String(r.quartileStem));
}

QString denominatorHolding(const ratios::Ratio& r, Language language) {
    return ofRatio("denominators", r, "holding", language);
}

QString baseReason(const ratios::Ratio& r, bool negative, Language language) {
    return ofRatio("denominators", r, negative ? "negative" : "zero", language);
}

QString zeroReason(const ratios::Ratio& r, Language language) {
    return ofRatio("denominators", r, "zero", language);
}

QString groupName(int group, Language language) {
    const auto groups = ratios::groups();
    if (group < 0 || group >= static_cast<int>(groups.size())) missing(QStringLiteral("group %1").arg(group));
    QString name = stringName(groups[static_cast<std::size_t>(group)].nameEntry, language);
    // "Efficiency (ratios)": the unit in brackets belongs to the tables' columns.
    static const QRegularExpression unit(QStringLiteral("\\s*\\([^)]*\\)$"));
    return upperFirst(name.remove(unit));
}

QString itemName(const QString& column, Language language) {
    const std::optional<int> i = lineitems::indexOf(column);
    if (!i) missing(QStringLiteral("line item %1").arg(column));
    return stringName(lineitems::all()[*i].captionEntry, language);
}

QString trendLabel(const QString& column, Language language) {
    return pick(data().value(QLatin1String("trendLabels")).toObject().value(column), language, column);
}

QStringList trendLabelColumns() {
    return data().value(QLatin1String("trendLabels")).toObject().keys();
}

QString joinList(const QStringList& parts, Language language) {
    if (parts.size() <= 1) return parts.value(0);
    return parts.mid(0, parts.size() - 1).join(fill(QStringLiteral("list.comma"), language)) +
           fill(QStringLiteral("list.and"), language) + parts.last();
}

QString upperFirst(QString s) {
    if (!s.isEmpty()) s[0] = s[0].toUpper();
    return s;
}

QString lowerFirst(QString s) {
    if (!s.isEmpty()) s[0] = s[0].toLower();
    return s;
}

} // namespace readingtexts
