#include "data/ReferenceCheck.h"

#include "data/Catalogue.h"
#include "data/DatasetOptions.h"

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
    RecordsetPtr rs = GetRS(cn, QStringLiteral("select lower(name) from sqlite_master where type in ('table', 'view')"),
                            QStringLiteral("read"));
    QSet<QString> present;
    for (; !rs->eof(); rs->moveNext()) present.insert(rs->field(0).toString());
    QStringList missing;
    for (const QString& t : required)
        if (!present.contains(t.toLower())) missing << t;
    return missing;
}

} // namespace referencecheck
