#pragma once
// Where the figures of a reference database come from: the table Provenance, one row
// per table with its number of rows, the source's name and the import date, and the
// one-line description of it that the About screen and the reports' footer show.

#include "data/DBTools.h"
#include "data/SourceOfFigures.h"

#include <QDate>
#include <QString>
#include <QVariantList>
#include <vector>

namespace provenance {

struct TableCount {
    QString table;
    qint64 rows = 0;
};

// The statement that inserts one row, and the rows for a database: a null date for
// a database that was generated rather than imported.
QString insertStatement();
std::vector<QVariantList> rows(const QString& sourceName, const QDate& importDate,
                               const std::vector<TableCount>& counts);

// Creates the table in an open, writable database and fills it.
void write(Connection& cn, const QString& sourceName, const QDate& importDate,
           const std::vector<TableCount>& counts);

} // namespace provenance
