#pragma once
// What is wrong with a firm file or a row of a client list, in the user's words and
// language, naming the file: the same sentences for the desktop's File > Import and
// for the command-line tool.

#include "firm/FirmFile.h"
#include "text/Language.h"

#include <QString>

namespace firmfile {

// The words for a fault of a firm file (or of a client list as a whole), naming it.
QString fileProblem(const ReadResult& file, const QString& path, Language language);
QString listProblem(const ListResult& list, const QString& path, Language language);

// The words for a fault of one row of a client list, without the file's name, for a
// message that names the line or a summary that names the firm.
QString rowProblem(const ReadResult& row, Language language);

// A value that is a plain number but beyond what the value boxes hold.
QString valueOutOfRange(const QString& path, const QString& key, const QString& value, Language language);
// A year that is not one of the three reference years.
QString yearNotReference(const QString& path, const QString& year, Language language);

// The desktop's messages around a problem: nothing was imported or exported.
QString importRefused(const QString& problem, Language language);
QString exportRefused(const QString& problem, Language language);
// The firm was written to the file.
QString exported(const QString& path, Language language);
// The file names another industry than the one chosen on the screen.
QString otherIndustry(const QString& fileNaics, const QString& chosenNaics, Language language);

} // namespace firmfile
