#pragma once
// The firm records' database on a server, shared by the advisers of an office: its
// schema (MyValues with the columns and the unique key of the local file, and a small
// version table), created on first use of an empty database, and the check that the
// program can work with what it finds there.

#include "data/DBTools.h"
#include "data/ServerAddress.h"

#include <QStringList>

namespace recordsdb {

// Recorded in the version table of the records database.
inline constexpr int kRecordsSchemaVersion = 1;

// The statements that create the records schema on the server.
QStringList serverSchemaStatements();

// Connects to the records database at address, creating its schema when the database
// holds neither of its tables. A database of a newer records version, or one with a
// MyValues table the program did not make, is refused; so is a server out of reach or
// refusing. Each refusal is a ServerFailure whose message names the server.
void openServer(Connection& cn, const ServerAddress& address);

} // namespace recordsdb
