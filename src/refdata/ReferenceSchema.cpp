#include "refdata/ReferenceSchema.h"

#include "data/Catalogue.h"
#include "data/DatasetOptions.h"
#include "report/RatioTable.h"

namespace refschema {

namespace {

using enum ColumnType;

std::vector<Column> datasetColumns() {
    std::vector<Column> cols;
    for (const QString& name : ratios::datasetColumns()) {
        if (name == QLatin1String("NAICS"))
            cols.push_back({name, Text, Role::Naics, true});
        else if (name == QLatin1String("IndustryDescription"))
            cols.push_back({name, Text, Role::Text});
        else if (name == QLatin1String("NumberOfFirms"))
            cols.push_back({name, Integer, Role::Count});
        else
            cols.push_back({name, Real, Role::Figure});
    }
    return cols;
}

std::vector<Table> allTables() {
    std::vector<Table> t{{QLatin1String(catalogue::DataDescription), TableKind::DatasetDescriptions},
                         {QLatin1String(catalogue::TreeView), TableKind::Tree},
                         {QLatin1String(catalogue::NaicsDetailed), TableKind::IndustryDescriptions},
                         {QLatin1String(catalogue::NaicsRaw), TableKind::IndustryDescriptions}};
    for (const DatasetOption& o : datasets::options())
        for (const int year : datasets::kReferenceYears)
            t.push_back(
                {catalogue::datasetTableName(o.volume, QLatin1String(o.region), year), TableKind::Dataset});
    t.push_back({QLatin1String(ProvenanceTable), TableKind::Provenance});
    return t;
}

QString quoted(const QString& identifier) {
    return u'"' + identifier + u'"';
}

QString typeName(ColumnType type) {
    switch (type) {
    case Text:
        return QStringLiteral("TEXT");
    case Integer:
        return QStringLiteral("INTEGER");
    case Real:
        return QStringLiteral("REAL");
    }
    return QString();
}

} // namespace

const std::vector<Column>& columns(TableKind kind) {
    static const std::vector<Column> descriptions{
        {QStringLiteral("optname"), Text, Role::RequiredText, true},
        {QStringLiteral("descriptione"), Text, Role::RequiredText},
        {QStringLiteral("descriptionf"), Text, Role::RequiredText},
    };
    static const std::vector<Column> tree{
        {QStringLiteral("NodeKey"), Text, Role::RequiredText, true},
        {QStringLiteral("Parent"), Text, Role::Text},
        {QStringLiteral("IndDescE"), Text, Role::RequiredText},
        {QStringLiteral("IndDescF"), Text, Role::RequiredText},
        {QStringLiteral("sequence"), Integer, Role::Order},
    };
    // The titles are shown in lists and boxes that cannot hold a missing title.
    static const std::vector<Column> industries{
        {QStringLiteral("NAICS"), Text, Role::Naics, true},
        {QStringLiteral("Description"), Text, Role::RequiredText},
        {QStringLiteral("Description_french"), Text, Role::RequiredText},
        {QStringLiteral("definitione"), Text, Role::Prose},
        {QStringLiteral("definitionf"), Text, Role::Prose},
        {QStringLiteral("Parent"), Text, Role::Text},
        {QStringLiteral("NodeKey"), Text, Role::RequiredText},
        {QStringLiteral("sequence"), Integer, Role::Order},
    };
    static const std::vector<Column> dataset = datasetColumns();
    static const std::vector<Column> provenance{
        {QStringLiteral("TableName"), Text, Role::RequiredText, true},
        {QStringLiteral("RowCount"), Integer, Role::Count},
        {QStringLiteral("SourceName"), Text, Role::RequiredText},
        {QStringLiteral("ImportDate"), Text, Role::Text},
    };
    switch (kind) {
    case TableKind::DatasetDescriptions:
        return descriptions;
    case TableKind::Tree:
        return tree;
    case TableKind::IndustryDescriptions:
        return industries;
    case TableKind::Dataset:
        return dataset;
    case TableKind::Provenance:
        return provenance;
    }
    return dataset;
}

const std::vector<Table>& tables() {
    static const std::vector<Table> t = allTables();
    return t;
}

std::optional<Table> find(const QString& name) {
    for (const Table& t : tables())
        if (t.name.compare(name, Qt::CaseInsensitive) == 0) return t;
    return std::nullopt;
}

bool isRequired(const Table& table) {
    if (table.kind == TableKind::Provenance) return false;
    if (table.kind != TableKind::Dataset) return true;
    const auto parsed = catalogue::parseDatasetTableName(table.name);
    return parsed && parsed->year == datasets::kCurrentYear;
}

QString createStatement(const Table& table) {
    QStringList defs;
    for (const Column& c : columns(table.kind)) {
        QString def = quoted(c.name) + u' ' + typeName(c.type);
        if (c.primaryKey)
            def += QStringLiteral(" PRIMARY KEY");
        else if (c.role == Role::RequiredText)
            def += QStringLiteral(" NOT NULL");
        defs << def;
    }
    return QStringLiteral("CREATE TABLE %1 (%2)")
        .arg(quoted(checkedName(table.name)), defs.join(QStringLiteral(", ")));
}

QString checkedName(const QString& name) {
    if (name == QLatin1String(ProvenanceTable)) return name;
    return catalogue::table(name);
}

} // namespace refschema
