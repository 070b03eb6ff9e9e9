#pragma once
// The batch comparison of ventrolux-cli: every firm of a client list compared with its
// industry in the dataset chosen, with the same checks and the same computation as
// compare, into DIR/summary.csv (one row per firm: its name, year, NAICS code, status
// and every figure of its comparison under the comparison table's column names, then for
// each ratio below the industry median the change of its numerator, in dollars, that would
// bring it there: ToMedianNPM … ToMedianIC, positive for higher, negative for lower) and,
// with --pdf, one comparison report per firm. A refused firm does not stop the others.

#include "firm/FirmFile.h"
#include "text/Language.h"

#include <QString>
#include <QTextStream>

namespace cli {

struct BatchRequest {
    QString firmsPath;
    QString outDir;
    QString naics; // the industry of the rows without a NAICS code of their own
    bool pdf = false;
    Language language = Language::E;
    bool showProgress = false;
};

// The dataset is the one of the global state, chosen before; the list is read whole.
// Returns 0 when every firm was compared (and its report written), 1 when any was not.
int batchCommand(const BatchRequest& request, const firmfile::ListResult& list, QTextStream& out,
                 QTextStream& err);

// The name of the summary file in the output folder.
inline constexpr char kSummaryFileName[] = "summary.csv";

} // namespace cli
