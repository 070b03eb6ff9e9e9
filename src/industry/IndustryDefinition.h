#pragma once
// The definition of one industry in the language: the heading shown above it (code,
// " - ", title) and the definition text.

#include "data/DBTools.h"
#include "text/Language.h"

#include <QString>
#include <optional>

namespace industrydefinition {

struct Definition {
    QString heading; // the code as asked for, " - ", the title in the language
    QString text;    // the definition in the language; empty when there is none
};

// The industry's definition from the description table in force; nothing when the
// table has no row for the code.
std::optional<Definition> lookup(Connection& data, const QString& naicsTable, const QString& naics,
                                 Language language);

} // namespace industrydefinition
