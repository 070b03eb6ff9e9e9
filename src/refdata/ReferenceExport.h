#pragma once
// Writes every table of a reference database to a folder in the format the import
// reads: one CSV file per table named like it, UTF-8, comma, decimal point, a null as an
// empty field and an empty text as "". Numbers are written in their shortest exact form,
// so that the folder imports back to the same values.

#include "refdata/ImportIssues.h"
#include "text/Language.h"

#include <QString>

namespace refdata {

struct ExportOutcome {
    bool ok = false;
    IssueList issues;
    int tables = 0;
    qint64 rows = 0;
};

// The folder is created when missing; files of the same names in it are replaced, each
// whole or not at all (the one file writer); a failure is worded in language.
ExportOutcome exportReference(const QString& database, const QString& outDir, Language language);

// The outcome in a language: the warnings, then the summary or the errors.
QStringList exportLines(const ExportOutcome& outcome, const QString& outDir, Language language);

} // namespace refdata
