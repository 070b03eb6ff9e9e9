#pragma once
// Where the program's files are: the program directory beside the executable (or the
// installed share folder for read-only data) and the user database's folder.

#include <QString>

namespace programfiles {

// The directory that holds the executable.
QString executableDirectory();

// The directory that holds the read-only files (reference database, help, layouts):
// the executable's directory in a build tree or portable copy, share/ventrolux when installed.
QString programDirectory();

// Overrides the program directory (the command-line tool's --data-dir, tests). Empty restores it.
void setProgramDirectory(const QString& dir);

// The directory of the files that ship with the program (help files, report layouts):
// the program directory as installed, never moved by a data folder of the user's.
QString resourceDirectory();
void setResourceDirectory(const QString& dir);

// The layout file of a report, e.g. "rpt_Comparison.json".
QString layoutPath(const QString& fileName);

// Where myData.db lives: the program directory when it is writable, else the user's data folder.
QString userDatabaseDirectory();
void setUserDatabaseDirectory(const QString& dir);

QString referenceDatabasePath();
QString userDatabasePath();
QString helpViewerPath();

} // namespace programfiles
