#pragma once
// The user database myData.db: its schema, the rows it ships with (report titles,
// volume descriptions, region names), its creation when missing and its upgrade.

#include "data/DBTools.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace userdb {

// Recorded in PRAGMA user_version. 2: the comparison table keeps the statement as entered,
// and the shipped report labels changed.
inline constexpr int kSchemaVersion = 2;

// The CREATE TABLE statements of every table.
QStringList schemaStatements();

// Creates the file with its schema and shipped rows. The file appears complete or not at all.
void create(const QString& path);

// Writes the schema and the shipped rows into a new, empty database file.
void build(const QString& file);

// The first table (or column of the firm records) of an open database that a user
// database of this program does not have: the file belongs to another program. Nothing
// when every table is one of the program's (an empty database is one).
std::optional<QString> foreignPart(Connection& cn);

// Creates the file when it does not exist yet.
void ensureExists(const QString& path);

// True when the open user database is older than the program's schema.
bool needsUpgrade(Connection& cn);

// Brings an open user database to the current schema. The firm records (MyValues) are
// kept; the report tables and the shipped rows, which the program owns, are rebuilt.
void upgrade(Connection& cn);

} // namespace userdb
