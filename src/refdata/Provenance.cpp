#include "refdata/Provenance.h"

#include "refdata/ReferenceSchema.h"

namespace provenance {

namespace {

const QString kTable = QLatin1String(refschema::ProvenanceTable);

} // namespace

QString insertStatement() {
    return QStringLiteral("insert into ") + refschema::checkedName(kTable) +
           QStringLiteral(" (TableName, RowCount, SourceName, ImportDate) values (?, ?, ?, ?)");
}

std::vector<QVariantList> rows(const QString& sourceName, const QDate& importDate,
                               const std::vector<TableCount>& counts) {
    const QVariant date = importDate.isValid() ? QVariant(importDate.toString(Qt::ISODate)) : QVariant();
    std::vector<QVariantList> out;
    for (const TableCount& c : counts)
        out.push_back({c.table, c.rows, sourceName, date});
    return out;
}

void write(Connection& cn, const QString& sourceName, const QDate& importDate,
           const std::vector<TableCount>& counts) {
    ExecCmdInDB(cn, refschema::createStatement({kTable, refschema::TableKind::Provenance}));
    const QString insert = insertStatement();
    for (const QVariantList& row : rows(sourceName, importDate, counts))
        ExecCmdInDB(cn, insert, row);
}

} // namespace provenance
