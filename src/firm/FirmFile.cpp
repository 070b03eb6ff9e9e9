#include "firm/FirmFile.h"

#include "firm/ValueText.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>

namespace firmfile {

namespace {

// Puts one keyed value into the statement; false for a key that names nothing.
bool assign(FirmStatement& firm, const QString& key, const QString& value) {
    const QString k = key.trimmed();
    if (k.compare(QLatin1String("FirmName"), Qt::CaseInsensitive) == 0) firm.firmName = value;
    else if (k.compare(QLatin1String("Year"), Qt::CaseInsensitive) == 0) firm.year = value.trimmed();
    else if (const auto i = lineitems::indexOf(k)) firm.values[*i] = value.trimmed();
    else return false;
    return true;
}

ReadResult start() {
    ReadResult r;
    r.firm.firmName.clear();
    r.firm.year.clear();
    return r;
}

} // namespace

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
    if (records.size() < 2) {
        r.error = QStringLiteral("the CSV file needs a header row and a data row");
        return r;
    }
    const QStringList& header = records[0];
    const QStringList& row = records[1];
    for (qsizetype i = 0; i < header.size(); ++i) {
        if (!assign(r.firm, header[i], row.value(i))) {
            r.error = QStringLiteral("unknown column '%1'").arg(header[i]);
            return r;
        }
    }
    return r;
}

ReadResult parseJson(const QByteArray& data) {
    ReadResult r = start();
    QJsonParseError err;
    const QJsonDocument doc = QJsonDocument::fromJson(data, &err);
    if (err.error != QJsonParseError::NoError || !doc.isObject()) {
        r.error = err.error != QJsonParseError::NoError ? err.errorString() : QStringLiteral("the JSON file must hold one object");
        return r;
    }
    const QJsonObject obj = doc.object();
    for (auto it = obj.begin(); it != obj.end(); ++it) {
        QString value;
        if (it->isDouble()) value = valuetext::doubleText(it->toDouble());
        else if (it->isString()) value = it->toString();
        else if (it->isNull()) value.clear();
        else {
            r.error = QStringLiteral("'%1' must be a number or a text").arg(it.key());
            return r;
        }
        if (!assign(r.firm, it.key(), value)) {
            r.error = QStringLiteral("unknown key '%1'").arg(it.key());
            return r;
        }
    }
    return r;
}

ReadResult read(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        ReadResult r = start();
        r.error = QStringLiteral("cannot read %1: %2").arg(path, f.errorString());
        return r;
    }
    const QByteArray data = f.readAll();
    const QByteArray head = data.trimmed().left(1);
    if (head == "{") return parseJson(data);
    return parseCsv(QString::fromUtf8(data));
}

} // namespace firmfile
