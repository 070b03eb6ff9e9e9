#pragma once
// ventrolux-cli history: a firm's ratios over the reference years saved under its name,
// beside the industry's medians, and whether it moved towards or away from them; printed
// as text, and with --pdf or --html written as the trend report.

#include "data/DBTools.h"
#include "text/Language.h"

#include <QString>
#include <QTextStream>

namespace cli {

// The dataset is the one of the global state, chosen before. A firm with fewer than two
// saved years is refused (Refused, exit 1) with the reason in the language.
int historyCommand(Connection& records, const QString& firmName, const QString& naics, const QString& pdfPath,
                   const QString& htmlPath, Language language, QTextStream& out);

} // namespace cli
