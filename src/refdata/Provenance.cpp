#include "refdata/Provenance.h"

#include "data/ReferenceCheck.h"
#include "refdata/ReferenceSchema.h"
#include "text/StringTable.h"

namespace provenance {

namespace {

// String-table entries of the description.
constexpr int kSampleEntry = 800;      // "Industry figures: synthetic sample data, ..."
constexpr int kImportedEntry = 802;    // "Industry figures: %1, imported %2"
constexpr int kUndatedEntry = 804;     // "Industry figures: %1"
constexpr int kNotRecordedEntry = 806; // "Industry figures: source not recorded"

const QString kTable = QLatin1String(refschema::ProvenanceTable);

struct Recorded {
    QString source;
    QDate date;
};

std::optional<Recorded> recorded(Connection& cn) {
    if (!referencecheck::missingTables(cn, {kTable}).isEmpty()) return std::nullopt;
    RecordsetPtr rs = GetRS(
        cn,
        QStringLiteral("select SourceName, ImportDate from ") + refschema::checkedName(kTable) +
            QStringLiteral(" where SourceName is not null and SourceName <> '' order by TableName limit 1"),
        QStringLiteral("read"));
    if (rs->eof()) return std::nullopt;
    return Recorded{rs->field(0).toString(), QDate::fromString(rs->field(1).toString(), Qt::ISODate)};
}

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

QString sourceName(Connection& cn) {
    const std::optional<Recorded> r = recorded(cn);
    return r ? r->source : QString();
}

QString describe(Connection& cn, int language) {
    const std::optional<Recorded> r = recorded(cn);
    if (!r) return strings::text(kNotRecordedEntry, language);
    if (r->source == QLatin1String(SyntheticSample)) return strings::text(kSampleEntry, language);
    if (!r->date.isValid()) return strings::text(kUndatedEntry, language).arg(r->source);
    return strings::text(kImportedEntry, language).arg(r->source, r->date.toString(Qt::ISODate));
}

} // namespace provenance
