#pragma once
// What is wrong with a firm file or a row of a client list, in the user's words, and
// the reading of one firm file that refuses a file at fault.

#include "firm/FirmFile.h"

#include <QString>

namespace cli {

// The words for a fault of a firm file (or of a client list as a whole), naming it.
QString fileProblem(const firmfile::ReadResult& file, const QString& path, int language);
QString listProblem(const firmfile::ListResult& list, const QString& path, int language);

// The words for a fault of one row of a client list, without the file's name, for a
// message that names the line or a summary that names the firm.
QString rowProblem(const firmfile::ReadResult& row, int language);

// Reads one firm file. A file that cannot be read is a usage error (UsageError); a
// file at fault is refused (Refused).
FirmStatement readFirmFile(const QString& path, int language);

// Reads a client list the same way: unreadable is a usage error, a fault of the whole
// file a refusal; the rows are returned with their own faults.
firmfile::ListResult readClientList(const QString& path, int language);

} // namespace cli
