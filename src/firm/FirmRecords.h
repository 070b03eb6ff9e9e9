#pragma once
// The stored firm records: one row of MyValues per firm name and reference year, in
// the user database or on the records server (the connection says which; the SQL is
// what both engines accept). Saving, opening, listing and deleting a firm all go
// through here, so that the screen, the command-line tool and the tests share one
// code path.

#include "data/DBTools.h"
#include "firm/FirmStatement.h"
#include "text/Language.h"

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
bool isUsableName(const QString& firmName, Language language);

// The longest firm name the records keep, in characters: a row's key on the records
// server holds it in any script, and the local file keeps the same rule.
inline constexpr int kMaxNameLength = 255;

// Why a firm name cannot be stored, saying the rule, in the language; nothing when it
// can. One rule wherever the records are: no control characters (tabs and line breaks
// included), at most kMaxNameLength characters. Checked before anything is written.
std::optional<QString> nameProblem(const QString& firmName, Language language);

// A row is stored for the name (as typed) and the year text.
bool exists(Connection& cn, const QString& firmName, const QString& year);

// Replaces whatever is stored for the firm's name and year by the firm: the delete and
// the insert run in one transaction, so a failed insert leaves the stored row as it
// was. Every value must be a number (filled and normalised first); the year a whole
// number. A database failure is raised as a FatalError after the rollback.
void store(Connection& cn, const FirmStatement& firm);

// What storeAll does with a firm whose name and year are stored already.
enum class Existing { Replace, Refuse };

// Stores every firm in one transaction: all of them or, when one cannot be stored, none.
// With Existing::Refuse a firm whose name and year are stored already refuses the whole
// list; its index is returned and nothing is written. The check and the writes run in
// the same transaction, so another copy of the program cannot store that firm between
// them. Two firms of the list with the same name and year are the caller's to refuse
// (the later one would replace the earlier). A database failure is a FatalError after
// the rollback.
std::optional<qsizetype> storeAll(Connection& cn, const QList<FirmStatement>& firms, Existing existing);

// The stored firm of that name and year: its values as the plain decimal texts that read
// back as the stored numbers (valuetext::storedText), the subtotals as they were stored
// (not recomputed).
std::optional<FirmStatement> load(Connection& cn, const QString& firmName, const QString& year);

struct StoredKey {
    QString firmName;
    QString year;
    QString naics;
};

// Every stored firm and year with its industry code, ordered by firm name (letter case
// aside), then year.
QList<StoredKey> list(Connection& cn);

// Every stored firm, whole, in the order of list(): one query, for exporting them all.
QList<FirmStatement> loadAll(Connection& cn);

// The same list as a recordset whose two column names are the list's headings in the
// language: "Firmname" and "year", or "Nom" and "Année".
RecordsetPtr listRecordset(Connection& cn, Language language);

// Deletes the stored row of that name and year; true when there was one.
bool remove(Connection& cn, const QString& firmName, const QString& year);

// Copies every stored firm of from into to in one transaction of to: all of them or
// none. With Existing::Refuse a firm whose name and year to holds already refuses the
// copy (that firm is returned, nothing is written); with Existing::Replace it is
// replaced. The values are copied as stored, the subtotals included. A name outside
// the rule of nameProblem refuses the copy before anything is written, and a failure of
// the target names the firm the copy stopped on: a RecoverableFailure in the language.
std::optional<StoredKey> copyAll(Connection& from, Connection& to, Existing existing, Language language);

// How many firms are stored.
qsizetype count(Connection& cn);

} // namespace firmrecords
