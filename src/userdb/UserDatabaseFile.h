#pragma once
// Opening the user database safely at start-up: a missing file is created, an older
// one is copied aside before it is upgraded, a damaged one is kept under another name
// (never overwritten) and a fresh one holding its readable firm records takes its place,
// a database of another program is refused untouched, and a file that cannot be
// written or is held by another copy of the program is refused with a message that
// names it and says what to do.

#include "data/DBTools.h"
#include "text/Language.h"

#include <QDateTime>
#include <QString>
#include <optional>

namespace userdb {

struct OpenResult {
    // Where a damaged file was moved before a fresh one took its place; empty otherwise.
    QString damagedKeptAs;
    // How many firm records of the damaged file the fresh one holds (see salvageFirms).
    qint64 recovered = 0;
    // The copy written before an upgrade; empty when none was needed.
    QString backupPath;
    // Every page of the file was read and found sound (not the header and schema alone).
    bool checkedWhole = false;
};

// How much of the file is read before it is used: its header and schema, with the whole
// file after a run that did not end cleanly and before an upgrade; or the whole file.
enum class Check { WhenNeeded, Whole };

// A user database the program cannot work with. The message is in both languages,
// since the language is not chosen yet when the program starts.
struct UnusableUserDatabase {
    QString message;
};

// Opens (creating, upgrading or replacing as above) the user database at path into cn.
// A damaged file's readable firm records are copied into the fresh one first. Throws
// UnusableUserDatabase when the file or its folder cannot be written, when another
// program holds it past the busy timeout, when it was written by a newer version of the
// program, or when it is a database of another program (left exactly as it was).
OpenResult openUserDatabase(Connection& cn, const QString& path,
                            const QDateTime& now = QDateTime::currentDateTime(), Check check = Check::Whole);

// What the user is told of a damaged file: how many firm records were recovered and where
// the damaged file is kept (or that none could be read).
QString damagedNotice(const OpenResult& opened, const QString& path, Language language);

// The name a copy of path gets at a moment: "myData.db.bak-20261208-093000".
QString timestampedName(const QString& path, const QString& kind, const QDateTime& at);

} // namespace userdb
