#pragma once
// Builds a reference database from a folder of CSV files. Every file is checked before
// anything is written; the database is then built by the one file writer under a
// temporary name beside the target, checked (PRAGMA integrity_check, the start-up table
// check, the row counts), synced and only then renamed into place, so an import that fails
// or is interrupted leaves the database that was there as it was. The target may be the
// reference database the program reads, never the user database or a journal file.

#include "refdata/ImportIssues.h"
#include "refdata/SourceCheck.h"
#include "text/Language.h"

#include <QDate>
#include <QString>
#include <functional>
#include <vector>

namespace refdata {

struct Progress {
    enum class Stage { Checking, Writing };
    Stage stage = Stage::Checking;
    QString file;      // the file being read
    int fileIndex = 0; // 1-based
    int fileCount = 0;
    qint64 rows = 0;      // rows written so far over all files (Writing); 0 while checking
    qint64 totalRows = 0; // rows to write over all files (Writing)
};

// Returns false to stop the import; nothing is then written.
using ProgressFn = std::function<bool(const Progress&)>;

struct ImportRequest {
    QString sourceDir;
    QString target;                          // the database file to create or replace
    QDate importDate = QDate::currentDate(); // recorded in the provenance
    ProgressFn progress;                     // may be empty
    Language language = Language::E;         // of the file writer's messages
};

struct FileSummary {
    QString file;
    QString table;
    FileFormat format;
};

struct ImportOutcome {
    bool written = false;
    IssueList issues;
    std::vector<FileSummary> files; // the files read, in the order written
    QString sourceName;
    int tables = 0;  // tables written, the provenance not counted
    qint64 rows = 0; // rows written
};

ImportOutcome importReference(const ImportRequest& request);

// The import's report in a language: a line per file
// (rows, encoding, separator, decimal mark), the warnings and, once written, the outcome.
QStringList reportLines(const ImportOutcome& outcome, const ImportRequest& request, Language language);

// The errors (up to the limit, then how many more) and, when nothing was written, that.
QStringList errorLines(const ImportOutcome& outcome, const ImportRequest& request, Language language);

// The name recorded for the figures of a folder: the SourceName of its Provenance.csv
// when it has one, else the folder's own name.
QString sourceNameOf(const SourceFolder& folder, IssueList& issues);

} // namespace refdata
