#pragma once
// Why a connection to the records server failed, and whether an open one still holds:
// asked of the server's client library itself, since its messages come in the user's
// locale and cannot be told apart by their words.

#include "data/ServerAddress.h"

#include <QSqlDatabase>
#include <QString>

enum class ServerProblem {
    Unreachable,     // nothing answers at the address
    Refused,         // the server answered and refused: password, user or database
    PasswordMissing, // the server wants a password and none was found
    ConnectionLost,  // an open connection broke (server stopped, connection terminated)
    InUse,           // held by others: a lock not granted in time, no connection slot left
    NewerSchema,     // the records were written by a newer version of the program
    ForeignTable,    // the database holds a records table the program did not make
    Failed,          // any other refusal of a request
};

namespace serverdiagnosis {

struct Diagnosis {
    ServerProblem problem;
    QString detail; // the client library's own words, on one line
};

// Connects once more with the client library alone to say why the program's connection
// to address failed.
Diagnosis diagnose(const ServerAddress& address);

// True when the open connection db (of the server's driver) has broken.
bool connectionBroken(const QSqlDatabase& db);

// The connection options of an address, as the server's driver takes them.
QString connectOptions(const ServerAddress& address);

} // namespace serverdiagnosis
