#pragma once
// The comparison reports of many firms written as PDF files on every core of the machine.
// A database connection belongs to the thread that opened it, and the renderer reads the
// report tables through one, so each worker thread has its own: the reference database
// read-only and a report database of its own in the batch's scratch folder, where it prepares
// each firm exactly as compare prepares it before building and writing the document.

#include "data/DBTools.h"
#include "text/Language.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <vector>

namespace cli {

struct ReportJob {
    QStringList comparisonValues; // the 37 values of the comparison
    int16_t year = 0;
    QString naics;
    QString pdfPath;
};

struct ReportSettings {
    QString referenceDatabase; // the file of the reference database
    QString layoutPath;        // the comparison report's layout
    int16_t volume = 0;
    QString region;
    QString languageLetter; // "E" or "F"
    QString scratchFolder;  // where the workers' report databases are made
};

struct ReportOutcome {
    bool written = false;
    QString error; // why not, when not
};

// Writes the jobs' reports; the outcome of each job at its index. progress(done) is
// called on the calling thread as reports are finished. Fonts are set up on the calling
// thread before the workers start.
std::vector<ReportOutcome> writeComparisonReports(const std::vector<ReportJob>& jobs,
                                                  const ReportSettings& settings,
                                                  const std::function<void(qsizetype done)>& progress);

// A user database of the program's schema, with its shipped rows, in a folder of its own
// made in folder, for report tables that nobody keeps: the file is created on construction
// and removed with the object. Written without waiting for the disk, as nothing in it must
// survive a crash.
class ScratchReportDatabase {
public:
    // A folder or database that cannot be made is a RecoverableFailure in language, naming folder.
    ScratchReportDatabase(const QString& folder, Language language);
    ~ScratchReportDatabase();
    ScratchReportDatabase(const ScratchReportDatabase&) = delete;
    ScratchReportDatabase& operator=(const ScratchReportDatabase&) = delete;

    Connection& connection() { return cn_; }

private:
    QString dir_;
    Connection cn_;
};

} // namespace cli
