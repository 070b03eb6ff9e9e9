#pragma once
// The tables of the reference database with their columns and types: one description,
// used to create the tables (the sample data generator and the import), to check a
// source folder's files and to write them back out.

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace refschema {

// The version that PRAGMA user_version records for this layout.
inline constexpr int kUserVersion = 1;

// Where the figures of a reference database come from (see Provenance.h).
inline constexpr char ProvenanceTable[] = "Provenance"; // catalogue::Provenance

// The two folders of the industry tree that stand at the top; every other folder has a parent.
inline constexpr char TopFolder[] = "IndTOTALL";
inline constexpr char ManagementFolder[] = "IndMANAGE";

enum class TableKind { DatasetDescriptions, Tree, IndustryDescriptions, Dataset, Provenance };

enum class ColumnType { Text, Integer, Real };

// What a column holds, for the checks of an import.
enum class Role {
    Text,         // free text on one line, may be empty (stored as null)
    RequiredText, // text on one line that may not be empty (a title, a key)
    Prose,        // free text that may run over several lines (a definition), may be empty
    Naics,        // a six-digit NAICS code
    Count,        // a number of firms: a whole number, not negative, or empty
    Order,        // an ordering value: a whole number or empty
    Figure,       // a quartile, share or percentage: any number, or empty
};

struct Column {
    QString name;
    ColumnType type;
    Role role;
    bool primaryKey = false;
};

// The columns of a kind of table, in table order.
const std::vector<Column>& columns(TableKind kind);

struct Table {
    QString name;
    TableKind kind;
};

// Every table a reference database may hold, in the order an import writes them: the
// dataset descriptions, the industry tree, the two industry description tables, the
// dataset tables (the 19 datasets, each for 2011, 2010 and 2009) and the provenance.
const std::vector<Table>& tables();

// The table of that name (without regard to ASCII case), or nothing.
std::optional<Table> find(const QString& name);

// The tables a reference database must hold: all but the dataset tables of the years
// before the current one, which may be missing, and the provenance.
bool isRequired(const Table& table);

// The statement that creates the table, its name and columns quoted.
QString createStatement(const Table& table);

// The name itself when it is a table of the reference database; otherwise an untrapped
// failure, so that no other text reaches an SQL statement.
QString checkedName(const QString& name);

} // namespace refschema
