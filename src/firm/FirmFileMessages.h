#pragma once
// What is wrong with a firm file or a row of a client list, in the user's words and
// language, naming the file: the same sentences for the desktop's File > Import and
// for the command-line tool.

#include "firm/FirmFile.h"

#include <QString>

namespace firmfile {

// The words for a fault of a firm file (or of a client list as a whole), naming it.
QString fileProblem(const ReadResult& file, const QString& path, int language);
QString listProblem(const ListResult& list, const QString& path, int language);

// The words for a fault of one row of a client list, without the file's name, for a
// message that names the line or a summary that names the firm.
QString rowProblem(const ReadResult& row, int language);

} // namespace firmfile
