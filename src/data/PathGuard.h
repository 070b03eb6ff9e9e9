#pragma once
// The program's own databases are never the target of a file it writes for the user: a
// report, an export or a summary written over myData.db would have the next start set the
// "damaged" file aside and begin with an empty client list. A path is compared with the
// databases where a write would land, not as it is spelled: symbolic links followed, ".."
// resolved, hard links and letter case (on a file system that folds it) seen through.

#include "text/Language.h"

#include <QString>
#include <optional>

namespace pathguard {

// Which of the program's databases a writer is there to replace: none for every output
// the user names; the import of reference data builds the reference database itself, and
// the start-up creates and salvages the user database.
enum class Replaces { Nothing, ReferenceDatabase, UserDatabase };

// The database file (myData.db or KLV_DATA.db of the program's folders) or one of its
// journals (-journal, -wal, -shm) that a file written at target would replace, as the
// program names it; nothing when target is none of them.
std::optional<QString> ownDatabaseAt(const QString& target, Replaces replaces = Replaces::Nothing);

// The refusal of a target that ownDatabaseAt() names, in a language: it names the target and
// the database. Nothing when the target may be written.
std::optional<QString> refusal(const QString& target, Language language,
                               Replaces replaces = Replaces::Nothing);

// Where a write to path lands: its final symbolic links followed, its folder's links and
// ".." resolved. The path itself (made absolute) when its folder does not exist.
QString landingPath(const QString& path);

} // namespace pathguard
