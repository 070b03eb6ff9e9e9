#pragma once
// The reference data commands of ventrolux-cli: import-reference SOURCE_DIR --out FILE
// builds a reference database from a folder of CSV files; export-reference FILE OUT_DIR
// writes one back out. Each returns the exit status: 0 done, 1 refused (with every
// error on err). The report goes to out; the progress bar, when asked for, to err.

#include "text/Language.h"

#include <QString>
#include <QTextStream>

namespace cli {

int importReferenceCommand(const QString& sourceDir, const QString& outFile, Language language,
                           QTextStream& out, QTextStream& err, bool showProgress);

int exportReferenceCommand(const QString& database, const QString& outDir, Language language,
                           QTextStream& out, QTextStream& err);

} // namespace cli
