#pragma once
// The client records of ventrolux-cli: firms list, show, save, delete, export and import,
// on the stored firm records of the user database, through the same record operations
// as the firm values screen. Each returns its exit status; a refusal is thrown as
// Refused and a usage error as UsageError (cli/CommandErrors.h).

#include "data/DBTools.h"
#include "firm/FirmFile.h"
#include "text/Language.h"

#include <QString>
#include <QTextStream>

namespace cli {

// One line per stored firm: name, year and NAICS code, separated by tabs.
int firmsList(Connection& userDb, QTextStream& out);

// The stored firm as a JSON firm file, which save and compare read back.
int firmsShow(Connection& userDb, const QString& name, const QString& year, Language language,
              QTextStream& out);

// Stores the firm read from a firm file; an existing firm of the same name and year is
// replaced only with replace.
int firmsSave(Connection& userDb, FirmStatement firm, bool replace, Language language, QTextStream& out);

int firmsDelete(Connection& userDb, const QString& name, const QString& year, Language language,
                QTextStream& out);

// Every stored firm in a CSV file of the firm file columns, which import reads back.
int firmsExport(Connection& userDb, const QString& path, Language language, QTextStream& out);

// Every firm of a CSV list in one transaction: a row at fault (or, without replace, a
// firm stored already) refuses the whole file, naming its line, and nothing is written.
// The list is read whole first (readClientList); path names it in the messages.
int firmsImport(Connection& userDb, const firmfile::ListResult& list, const QString& path, bool replace,
                Language language, QTextStream& out);

// Every firm of one place of records (the user database, a records server) into another,
// in one transaction of the target: a firm stored there already refuses the copy unless
// replace; fromName and toName say where, in the messages.
int firmsCopy(Connection& from, Connection& to, const QString& fromName, const QString& toName, bool replace,
              Language language, QTextStream& out);

} // namespace cli
