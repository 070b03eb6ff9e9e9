#pragma once
// The firm records that a damaged user database still holds, copied row by row into a new
// one before the damaged file is set aside: damage in one page costs the rows of that
// page, not the whole client list, and damage in a table the program rebuilds (report
// titles, province names) costs nothing.

#include "data/DBTools.h"

#include <QString>

namespace userdb {

// Copies every firm record of the damaged file that can be read (a name, a year, numbers
// or nothing as values) into the firm records of into, in one transaction; a record whose
// name and year into holds already is left out. Returns how many were copied. Pages that
// cannot be read are stepped over; a file of which nothing can be read gives 0.
qint64 salvageFirms(const QString& damaged, Connection& into);

} // namespace userdb
