#pragma once
// Whether the last run that had the user database open ended cleanly. A run that opens it
// leaves a marker beside it ("myData.db.open") and removes the marker when it ends
// cleanly; a marker found at the next start means a run was killed or crashed with the
// file open, and the whole file is checked before it is used. A clean start checks the
// file's header and schema only, so that start-up does not grow with the stored firms.

#include "userdb/UserDatabaseFile.h"

#include <QString>

namespace userdb {

// The marker of a user database: its path and ".open".
QString openMarkerPath(const QString& databasePath);

// No run has the database open, as far as the marker tells.
bool endedCleanly(const QString& databasePath);

// Leaves the marker for this run. A marker that cannot be written is no reason not to
// start: the next start then finds no marker and checks the header and schema only.
void markOpen(const QString& databasePath);

// Removes the marker: the run ends cleanly.
void markClosed(const QString& databasePath);

// How much of the file a start reads: the whole file when asked or after a run that did
// not end cleanly (openUserDatabase reads it whole before an upgrade as well).
Check startCheck(const QString& databasePath, bool askedWhole);

} // namespace userdb
