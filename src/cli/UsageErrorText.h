#pragma once
// The words of a usage error in the user's language. The command-line parser words its
// own errors in English; under --lang F they are put into French here, pattern by
// pattern, and an error no pattern knows keeps its English detail after a French lead.

#include "text/Language.h"

#include <QString>

namespace cli {

QString usageErrorText(const QString& parserMessage, Language language);

} // namespace cli
