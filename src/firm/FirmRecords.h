#pragma once
// The stored firm records: one row of MyValues per firm name and reference year in
// the user database. Saving, opening, listing and deleting a firm all go through
// here, so that the screen, the command-line tool and the tests share one code path.

#include "data/DBTools.h"
#include "firm/FirmStatement.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace firmrecords {

// The reference years a firm can be entered for, in the order the year box lists them.
QStringList referenceYears();
// The year the year box shows when it is filled.
QString preselectedYear();

// A firm name is usable when, trimmed of blanks, it is not empty and it is not the
// prompt of the name box in the given language. The other language's prompt is a
// name like any other (it is what a user who switched languages may have kept).
bool isUsableName(const QString& firmName, int language);

// A row is stored for the name (as typed) and the year text.
bool exists(Connection& cn, const QString& firmName, const QString& year);

// Replaces whatever is stored for the firm's name and year by the firm: the delete and
// the insert run in one transaction, so a failed insert leaves the stored row as it
// was. Every value must be a number (filled and normalised first); the year a whole
// number. A database failure is raised as a FatalError after the rollback.
void store(Connection& cn, const FirmStatement& firm);

// The stored firm of that name and year: its values as plain decimal texts of up to 15
// significant digits, the subtotals as they were stored (not recomputed).
std::optional<FirmStatement> load(Connection& cn, const QString& firmName, const QString& year);

struct StoredKey {
    QString firmName;
    QString year;
};

// Every stored firm and year, ordered by firm name (letter case aside), then year.
QList<StoredKey> list(Connection& cn);

// The same list as a recordset whose two column names are the list's headings in the
// language: "Firmname" and "year", or "Nom" and "Année".
RecordsetPtr listRecordset(Connection& cn, int language);

// Deletes the stored row of that name and year; true when there was one.
bool remove(Connection& cn, const QString& firmName, const QString& year);

} // namespace firmrecords
