#include "firm/FirmFile.h"

#include "data/DatasetOptions.h"
#include "firm/ValueText.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

namespace firmfile {

namespace {

// Puts one keyed value into the statement. A line item's text must be a plain number
// (or empty); the name, year and industry code are kept as texts for the checks that
// come later.
Problem assign(FirmStatement& firm, const QString& key, const QString& value) {
    const QString k = key.trimmed();
    if (k.compare(QLatin1String("FirmName"), Qt::CaseInsensitive) == 0)
        firm.firmName = value;
    else if (k.compare(QLatin1String("Year"), Qt::CaseInsensitive) == 0)
        firm.year = value.trimmed();
    else if (k.compare(QLatin1String("NAICS"), Qt::CaseInsensitive) == 0)
        firm.naics = value.trimmed();
    else if (const auto i = lineitems::indexOf(k)) {
        if (value.trimmed().isEmpty()) {
            firm.values[*i].clear();
            return Problem::None;
        }
        const std::optional<QString> number = plainNumber(value);
        if (!number) return Problem::NotPlainNumber;
        firm.values[*i] = *number;
    } else
        return Problem::UnknownKey;
    return Problem::None;
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
    QList<QStringList> records;
    QStringList fields;
    QString field;
    bool inQuotes = false, fieldStarted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (inQuotes) {
            if (c == u'"') {
                if (i + 1 < text.size() && text[i + 1] == u'"') {
                    field += u'"';
                    ++i;
                } else {
                    inQuotes = false;
                }
            } else {
                field += c;
            }
            continue;
        }
        if (c == u'"' && !fieldStarted) {
            inQuotes = true;
            fieldStarted = true;
        } else if (c == u',') {
            fields << field;
            field.clear();
            fieldStarted = false;
        } else if (c == u'\n' || c == u'\r') {
            if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
            fields << field;
            if (!(fields.size() == 1 && fields[0].isEmpty())) records << fields;
            fields.clear();
            field.clear();
            fieldStarted = false;
        } else {
            field += c;
            fieldStarted = true;
        }
    }
    if (fieldStarted || !fields.isEmpty() || !field.isEmpty()) {
        fields << field;
        records << fields;
    }
    return records;
}

ReadResult parseCsv(const QString& text) {
    ReadResult r = start();
    QString body = text;
    if (body.startsWith(QChar(0xFEFF))) body.remove(0, 1);
    const QList<QStringList> records = csvRecords(body);
    if (records.size() < 2) return fail(r, Problem::NoDataRow);
    const QStringList& header = records[0];
    const QStringList& row = records[1];
    for (qsizetype i = 0; i < header.size(); ++i) {
        const QString value = row.value(i);
        if (const Problem p = assign(r.firm, header[i], value); p != Problem::None)
            return fail(r, p, header[i].trimmed(), value);
    }
    return r;
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
    return parseCsv(QString::fromUtf8(data));
}

} // namespace firmfile
