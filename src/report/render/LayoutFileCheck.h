#pragma once
// Whether a report's layout file can be read at all, asked before a report is prepared,
// so that a missing or damaged file costs the user that report, with a message that
// names the file and what to do, and not the program.

#include "text/Language.h"

#include <QString>
#include <optional>

namespace reportrender {

// What keeps the layout file from being read as a layout (missing, unreadable, not
// JSON, not a JSON object), in the user's language; nothing when it reads.
std::optional<QString> layoutFileProblem(const QString& path, Language language);

} // namespace reportrender
