#pragma once
// The records server's side of the data access layer: a connection opened in one bounded
// attempt, each statement run with its wait bounded, and every failure told as a
// ServerFailure that names the server and says exactly what became of the writes.

#include "data/DBTools.h"

#include <QList>
#include <QStringList>
#include <QVariantList>

namespace serverrequests {

// What a statement gave back.
struct Rows {
    QStringList names;
    QList<QVariantList> rows;
    qint64 affected = 0;
};

// Connects the connection's session to its server and sets the session's timeouts.
void open(DbConnection& cn);

// Runs one statement. A connection found broken before a statement that cannot have
// written anything, outside a transaction, is opened again and the statement run once
// more (the server restarted since the last request, say).
Rows execute(Connection& cn, const QString& sql, const QVariantList& params);

// Ends the transaction: a commit whose answer never came leaves its outcome unknown,
// and says so.
void commit(DbConnection& cn);
// Undoes the transaction, when the connection still holds one; never fails.
void rollback(DbConnection& cn) noexcept;

// A ServerFailure of problem on the connection's server; nothing was written.
[[noreturn]] void refuse(const DbConnection& cn, ServerProblem problem, const QString& detail);

} // namespace serverrequests
