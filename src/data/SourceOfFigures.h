#pragma once
// Where the figures of the open reference database come from, as the table Provenance
// records it: the one line the About screen and every report's footer show.

#include "data/DBTools.h"
#include "text/Language.h"

#include <QString>

namespace provenance {

// The source name of the generated sample database.
inline constexpr char SyntheticSample[] = "synthetic sample";

// The recorded source name; empty when the database records none.
QString sourceName(Connection& cn);

// One line in a language: synthetic sample data, the
// source and date of an import, or that the source is not recorded.
QString describe(Connection& cn, Language language);

} // namespace provenance
