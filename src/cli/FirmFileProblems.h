#pragma once
// The reading of firm files and client lists for the commands: a file at fault is
// refused in the words of firm/FirmFileMessages.h.

#include "firm/FirmFile.h"
#include "firm/FirmFileMessages.h"
#include "text/Language.h"

#include <QString>

namespace cli {

using firmfile::rowProblem;

// Reads one firm file. A file that cannot be read is a usage error (UsageError); a
// file at fault is refused (Refused).
FirmStatement readFirmFile(const QString& path, Language language);

// Reads a client list the same way: unreadable is a usage error, a fault of the whole
// file a refusal; the rows are returned with their own faults.
firmfile::ListResult readClientList(const QString& path, Language language);

} // namespace cli
