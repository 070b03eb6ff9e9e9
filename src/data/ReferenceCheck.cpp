#include "data/ReferenceCheck.h"

#include "data/Catalogue.h"
#include "data/DatasetOptions.h"

#include <QFile>
#include <QtEndian>

namespace referencecheck {

QStringList requiredTables(bool withCurrentDatasets) {
    QStringList tables{QLatin1String(catalogue::NaicsDetailed), QLatin1String(catalogue::NaicsRaw),
                       QLatin1String(catalogue::TreeView), QLatin1String(catalogue::DataDescription)};
    if (withCurrentDatasets)
        for (const DatasetOption& o : datasets::options())
            tables << catalogue::datasetTableName(o.volume, QLatin1String(o.region), datasets::kCurrentYear);
    return tables;
}

QStringList missingTables(Connection& cn, const QStringList& required) {
    // Table names in SQLite compare without regard to ASCII case.
    RecordsetPtr rs =
        GetRS(cn, QStringLiteral("select lower(name) from sqlite_master where type in ('table', 'view')"),
              QStringLiteral("read"));
    QSet<QString> present;
    for (; !rs->eof(); rs->moveNext())
        present.insert(rs->field(0).toString());
    QStringList missing;
    for (const QString& t : required)
        if (!present.contains(t.toLower())) missing << t;
    return missing;
}

qint64 missingBytes(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return 0;
    const QByteArray header = f.read(100);
    if (header.size() < 100 || !header.startsWith("SQLite format 3")) return 0;
    const auto* bytes = reinterpret_cast<const uchar*>(header.constData());
    const quint32 pageSizeField = qFromBigEndian<quint16>(bytes + 16);
    const qint64 pageSize = pageSizeField == 1 ? 65536 : pageSizeField;
    const quint32 changeCounter = qFromBigEndian<quint32>(bytes + 24);
    const qint64 pages = qFromBigEndian<quint32>(bytes + 28);
    const quint32 validFor = qFromBigEndian<quint32>(bytes + 92);
    // The recorded size counts only when the file was last written by a version that keeps it.
    if (pages == 0 || changeCounter != validFor) return 0;
    const qint64 expected = pages * pageSize;
    return f.size() < expected ? expected - f.size() : 0;
}

} // namespace referencecheck
