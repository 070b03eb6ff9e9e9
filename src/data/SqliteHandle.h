#pragma once
// The SQLite connection under a file's Qt connection, for what Qt does not offer: the
// program's own functions and collations, registered on every connection it opens.

#include "platform/Platform.h"

#include <QSqlDatabase>
#include <QSqlDriver>
#include <QString>
#include <QVariant>
#include <sqlite3.h>

inline sqlite3* sqliteHandle(const QSqlDatabase& db) {
    const QVariant handle = db.driver()->handle();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0)
        throw FatalError(errnum::DatabaseError,
                         QStringLiteral("The database driver gives no SQLite handle."));
    return *static_cast<sqlite3* const*>(handle.constData());
}
