#include "userdb/OpenMarker.h"

#include "data/FileWriter.h"

#include <QFile>

namespace userdb {

QString openMarkerPath(const QString& databasePath) {
    return databasePath + QStringLiteral(".open");
}

bool endedCleanly(const QString& databasePath) {
    return !QFile::exists(openMarkerPath(databasePath));
}

void markOpen(const QString& databasePath) {
    try {
        FileWriter marker(openMarkerPath(databasePath), Language::E);
        marker.commit();
    } catch (const WriteFailure&) {
        // Without the marker the next start checks less; nothing else depends on it.
    }
}

void markClosed(const QString& databasePath) {
    QFile::remove(openMarkerPath(databasePath));
}

Check startCheck(const QString& databasePath, bool askedWhole) {
    return askedWhole || !endedCleanly(databasePath) ? Check::Whole : Check::WhenNeeded;
}

} // namespace userdb
