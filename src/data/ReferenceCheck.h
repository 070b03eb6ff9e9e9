#pragma once
// Which of the tables the program reads are missing from the reference database, so
// that a damaged or empty file is refused at start-up with a message naming it,
// instead of failing later on a query.

#include "data/DBTools.h"

#include <QStringList>

namespace referencecheck {

// The description tables, the industry tree and the dataset descriptions; with
// datasets, also the 19 dataset tables of the current year (the main menu counts them).
QStringList requiredTables(bool withCurrentDatasets);

// The names of required tables that the open database does not hold, in the order above.
QStringList missingTables(Connection& cn, const QStringList& required);

// When the file's header records a size larger than the file, the bytes it is short
// of (a file cut off while it was copied); 0 for a file that is whole or has no such
// record. Reads only the header, so it costs nothing at start-up.
qint64 missingBytes(const QString& path);

} // namespace referencecheck
