#include "firm/FirmFile.h"

#include "data/CsvFile.h"
#include "data/DatasetOptions.h"
#include "firm/ValueText.h"
#include "text/StringTable.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <algorithm>

namespace firmfile {

namespace {

// What a key of a firm file names: the firm's name, year or industry code, or a line
// item (its index); nothing for a key that names none.
enum class Field { FirmName, Year, Naics, Item };
struct Key {
    Field field;
    int item = -1;
};

bool operator==(const Key& a, const Key& b) {
    return a.field == b.field && a.item == b.item;
}

std::optional<Key> keyOf(const QString& key) {
    const QString k = key.trimmed();
    if (k.compare(QLatin1String("FirmName"), Qt::CaseInsensitive) == 0) return Key{Field::FirmName};
    if (k.compare(QLatin1String("Year"), Qt::CaseInsensitive) == 0) return Key{Field::Year};
    if (k.compare(QLatin1String("NAICS"), Qt::CaseInsensitive) == 0) return Key{Field::Naics};
    if (const auto i = lineitems::indexOf(k)) return Key{Field::Item, *i};
    return std::nullopt;
}

// Puts one value into the statement. A line item's text must be a plain number (or
// empty); the name, year and industry code are kept as texts for the checks that come
// later.
Problem assign(FirmStatement& firm, const Key& key, const QString& value) {
    switch (key.field) {
    case Field::FirmName:
        firm.firmName = value;
        break;
    case Field::Year:
        firm.year = value.trimmed();
        break;
    case Field::Naics:
        firm.naics = value.trimmed();
        break;
    case Field::Item: {
        if (value.trimmed().isEmpty()) {
            firm.values[key.item].clear();
            break;
        }
        const std::optional<QString> number = plainNumber(value);
        if (!number) return Problem::NotPlainNumber;
        firm.values[key.item] = *number;
        break;
    }
    }
    return Problem::None;
}

Problem assign(FirmStatement& firm, const QString& key, const QString& value) {
    const std::optional<Key> k = keyOf(key);
    return k ? assign(firm, *k, value) : Problem::UnknownKey;
}

ReadResult start() {
    ReadResult r;
    r.firm.firmName.clear();
    r.firm.year.clear();
    return r;
}

ReadResult& fail(ReadResult& r, Problem problem, const QString& key = QString(),
                 const QString& text = QString()) {
    r.problem = problem;
    r.key = key;
    r.text = text;
    return r;
}

} // namespace

std::optional<QString> plainNumber(const QString& text) {
    static const QRegularExpression plain(QStringLiteral("^-?[0-9]+(\\.[0-9]+)?$"));
    const QString t = text.trimmed();
    if (!plain.match(t).hasMatch()) return std::nullopt;
    return t;
}

std::optional<int16_t> referenceYear(const QString& text) {
    const QString t = text.trimmed();
    for (const int year : datasets::kReferenceYears)
        if (t == QString::number(year)) return static_cast<int16_t>(year);
    return std::nullopt;
}

QList<QStringList> csvRecords(const QString& text) {
    const csv::ReadResult parsed = csv::parse(text.toUtf8());
    QList<QStringList> records;
    if (!parsed.ok() || parsed.table.headerLine == 0) return records;
    records << parsed.table.header;
    for (const csv::Record& r : parsed.table.records)
        records << r.fields;
    return records;
}

ListResult parseCsvList(const QByteArray& bytes) {
    ListResult list;
    const csv::ReadResult parsed = csv::parse(bytes);
    if (!parsed.ok()) {
        list.problem = parsed.failure == csv::Failure::MixedEncoding   ? Problem::MixedEncoding
                       : parsed.failure == csv::Failure::RecordTooLong ? Problem::RecordTooLong
                                                                       : Problem::MalformedCsv;
        list.line = parsed.line;
        list.text = parsed.detail;
        return list;
    }
    const csv::Table& table = parsed.table;
    if (table.records.empty()) {
        list.problem = Problem::NoDataRow;
        return list;
    }
    // The header decides what every row's fields are, once; a column that names nothing
    // is a fault of the whole file, found before any row is read.
    std::vector<Key> keys;
    for (const QString& column : table.header) {
        const std::optional<Key> key = keyOf(column);
        if (!key || std::find(keys.begin(), keys.end(), *key) != keys.end()) {
            // A column named twice would leave one of its two values unread.
            list.problem = key ? Problem::DuplicateKey : Problem::UnknownKey;
            list.key = column.trimmed();
            list.line = table.headerLine;
            return list;
        }
        keys.push_back(*key);
    }
    list.rows.reserve(table.records.size());
    for (const csv::Record& record : table.records) {
        ReadResult r = start();
        r.line = record.line;
        if (record.fields.size() > table.header.size()) {
            fail(r, Problem::TooManyFields, QString(), QString::number(record.fields.size()));
        } else {
            for (qsizetype i = 0; i < table.header.size(); ++i) {
                const QString value = record.fields.value(i);
                if (const Problem p = assign(r.firm, keys[std::size_t(i)], value); p != Problem::None) {
                    fail(r, p, table.header[i].trimmed(), value);
                    break;
                }
            }
        }
        list.rows.push_back(std::move(r));
    }
    return list;
}

ListResult readList(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        ListResult list;
        list.problem = Problem::Unreadable;
        list.text = f.errorString();
        return list;
    }
    return parseCsvList(f.readAll());
}

namespace {

// A one-firm reading of a list: its first row, or the fault of the file.
ReadResult firstFirm(const ListResult& list) {
    if (list.ok()) return list.rows.front();
    ReadResult r = start();
    fail(r, list.problem, list.key, list.text);
    r.line = list.line;
    return r;
}

} // namespace

ReadResult parseCsv(const QString& text) {
    return firstFirm(parseCsvList(text.toUtf8()));
}

QStringList columnNames() {
    QStringList names{QStringLiteral("FirmName"), QStringLiteral("Year"), QStringLiteral("NAICS")};
    for (const lineitems::LineItem& item : lineitems::all())
        names << QLatin1String(item.column);
    return names;
}

QByteArray csvHeaderLine() {
    return csv::formatRecord(columnNames());
}

QByteArray csvLine(const FirmStatement& firm) {
    QStringList fields{firm.firmName, firm.year, firm.naics};
    for (const QString& v : firm.values)
        fields << v;
    return csv::formatRecord(fields);
}

namespace {

QByteArray jsonText(const QString& text) {
    // The value as a JSON string, escaped by the JSON writer: "[\"…\"]" without its brackets.
    const QByteArray array = QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact);
    return array.mid(1, array.size() - 2);
}

// The keys of the top-level object of a JSON text that has parsed, in order, those named
// twice included.
QStringList topLevelKeys(const QByteArray& json) {
    QStringList keys;
    int depth = 0;
    bool keyNext = false;
    for (qsizetype i = 0; i < json.size(); ++i) {
        const char c = json[i];
        if (c == '"') {
            qsizetype end = i + 1;
            while (end < json.size() && json[end] != '"')
                end += json[end] == '\\' ? 2 : 1;
            if (depth == 1 && keyNext) {
                // The key's text with its escapes read by the JSON reader itself.
                const QByteArray one = '[' + json.mid(i, end - i + 1) + ']';
                keys << QJsonDocument::fromJson(one).array().at(0).toString();
                keyNext = false;
            }
            i = end;
        } else if (c == '{' || c == '[') {
            ++depth;
            keyNext = depth == 1 && c == '{';
        } else if (c == '}' || c == ']') {
            --depth;
        } else if (depth == 1 && c == ',') {
            keyNext = true;
        }
    }
    return keys;
}

QByteArray jsonNumberOrText(const QString& text) {
    if (const std::optional<QString> number = plainNumber(text)) return number->toUtf8();
    return jsonText(text);
}

} // namespace

QByteArray toJson(const FirmStatement& firm) {
    const QStringList names = columnNames();
    QList<QByteArray> members{jsonText(names[0]) + ": " + jsonText(firm.firmName),
                              jsonText(names[1]) + ": " + jsonNumberOrText(firm.year),
                              jsonText(names[2]) + ": " + jsonText(firm.naics)};
    for (int i = 0; i < lineitems::kCount; ++i)
        members << jsonText(names[3 + i]) + ": " + jsonNumberOrText(firm.values[i]);
    return "{\n  " + members.join(",\n  ") + "\n}\n";
}

bool asTyped(FirmStatement& firm) {
    const bool normal = firmrules::normalizeEntered(firm.values);
    firmrules::calculateSubTotals(firm.values);
    firmrules::fillEmpty(firm.values);
    return normal;
}

std::optional<int> unstorableValue(const FirmStatement& firm) {
    for (int i = 0; i < lineitems::kCount; ++i)
        if (!valuetext::storable(firm.values[i])) return i;
    return std::nullopt;
}

QString unstorableText(const FirmStatement& firm, int item, Language language) {
    return strings::text("firm.value.notStorable", language)
        .arg(QLatin1String(lineitems::all()[item].column), firm.values[item]);
}

ReadResult parseJson(const QByteArray& data) {
    ReadResult r = start();
    QJsonParseError err;
    const QJsonDocument doc = QJsonDocument::fromJson(data, &err);
    if (err.error != QJsonParseError::NoError)
        return fail(r, Problem::BrokenJson, QString(),
                    QStringLiteral("%1 (offset %2)").arg(err.errorString()).arg(err.offset));
    if (!doc.isObject()) {
        fail(r, Problem::NotAnObject);
        r.isArray = doc.isArray();
        return r;
    }
    // The JSON reader keeps the last of two equal keys: the text itself is asked.
    std::vector<Key> seen;
    for (const QString& name : topLevelKeys(data)) {
        const std::optional<Key> key = keyOf(name);
        if (!key) continue; // refused below, as an unknown key
        if (std::find(seen.begin(), seen.end(), *key) != seen.end())
            return fail(r, Problem::DuplicateKey, name);
        seen.push_back(*key);
    }
    const QJsonObject obj = doc.object();
    for (auto it = obj.begin(); it != obj.end(); ++it) {
        QString value;
        if (it->isDouble())
            value = valuetext::doubleText(it->toDouble());
        else if (it->isString())
            value = it->toString();
        else if (it->isNull())
            value.clear();
        else
            return fail(r, Problem::NotNumberOrText, it.key());
        if (const Problem p = assign(r.firm, it.key(), value); p != Problem::None)
            return fail(r, p, it.key(), value);
    }
    return r;
}

ReadResult read(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        ReadResult r = start();
        return fail(r, Problem::Unreadable, QString(), f.errorString());
    }
    const QByteArray data = f.readAll();
    // An object or an array is JSON (an array is then refused as not one object); the
    // rest is read as CSV.
    const QByteArray head = data.trimmed().left(1);
    if (head == "{" || head == "[") return parseJson(data);
    return firstFirm(parseCsvList(data));
}

} // namespace firmfile
