#include "report/render/ReportData.h"

#include "data/Catalogue.h"
#include "platform/Platform.h"

namespace reportrender {

namespace {

QVariantMap firstRow(Connection& cn, const QString& table, bool required) {
    const QString checked = catalogue::table(table);
    RecordsetPtr rs =
        GetRS(cn, QStringLiteral("SELECT * FROM \"%1\" LIMIT 1").arg(checked), QStringLiteral("read"));
    QVariantMap row;
    if (rs->eof()) {
        if (required)
            throw FatalError(errnum::NoCurrentRecord,
                             QStringLiteral("The report table %1 is empty: the report has not been prepared.")
                                 .arg(checked));
        for (const QString& name : rs->fieldNames())
            row.insert(name, QVariant());
        return row;
    }
    for (int i = 0; i < rs->fieldCount(); ++i)
        row.insert(rs->fieldName(i), rs->field(i));
    return row;
}

} // namespace

ReportData ReportData::read(Connection& userDb, const QString& titleTable, const QList<Source>& sources) {
    ReportData data;
    data.setTable(titleTable, firstRow(userDb, titleTable, true));
    data.setTitleTable(titleTable);
    for (const Source& s : sources) {
        QString table = s.table;
        if (!s.chooser.isEmpty()) {
            const QString key = data.value(s.chooser).toString().trimmed();
            table = s.byValue.value(key);
            if (table.isEmpty())
                throw FatalError(
                    errnum::InvalidTableName,
                    QStringLiteral("The report names no table for %1 = '%2'.").arg(s.chooser, key));
        }
        data.setTable(s.alias.isEmpty() ? table : s.alias, firstRow(userDb, table, s.required));
    }
    return data;
}

void ReportData::setTable(const QString& table, const QVariantMap& row) {
    Table t{table, {}};
    for (auto it = row.begin(); it != row.end(); ++it)
        t.values.insert(it.key().toCaseFolded(), it.value());
    tables_.insert(table.toCaseFolded(), t);
}

Language ReportData::language() const {
    return languageFromCode(title(QStringLiteral("Language")).toString());
}

bool ReportData::hasTable(const QString& table) const {
    return tables_.contains(table.toCaseFolded());
}

QVariant ReportData::value(const QString& qualifiedColumn) const {
    const qsizetype dot = qualifiedColumn.indexOf(u'.');
    if (dot <= 0 || dot == qualifiedColumn.size() - 1)
        throw FatalError(errnum::InvalidTableName,
                         QStringLiteral("'%1' does not name a report table and column (Table.Column).")
                             .arg(qualifiedColumn));
    return value(qualifiedColumn.left(dot), qualifiedColumn.mid(dot + 1));
}

QVariant ReportData::value(const QString& table, const QString& column) const {
    const auto t = tables_.constFind(table.toCaseFolded());
    if (t == tables_.cend())
        throw FatalError(errnum::InvalidTableName,
                         QStringLiteral("The report does not read the table '%1'.").arg(table));
    const auto v = t->values.constFind(column.toCaseFolded());
    if (v == t->values.cend())
        throw FatalError(errnum::InvalidTableName,
                         QStringLiteral("Item not found in this collection: %1.%2").arg(t->name, column));
    return *v;
}

} // namespace reportrender
