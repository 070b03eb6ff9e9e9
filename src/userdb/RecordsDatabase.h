#pragma once
// The firm records' database on a server, shared by the advisers of an office: its
// schema (MyValues with the columns and the unique key of the local file, and a small
// version table), created on first use of an empty database, the check that the
// program can work with what it finds there, and the rights of the advisers' roles.

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
// refusing, and a role that lacks the right to read the records (or, finding none, to
// make them). Each refusal is a ServerFailure whose message names the server.
void openServer(Connection& cn, const ServerAddress& address);

// What the role of a connection (ConnectToServer alone: nothing is made or read) may do
// with the records of its database.
struct Rights {
    QString role;
    bool tablesExist = false;
    bool mayCreate = false; // make the tables on first use (CREATE on the schema)
    bool mayRead = false;   // list, show, export: SELECT on both tables
    bool mayChange = false; // save, delete, import: INSERT and DELETE on MyValues
    bool mayGrant = false;  // give others rights: the tables' owner, or a superuser
};
Rights rightsOf(Connection& cn);

enum class GrantOutcome { Granted, NoSuchRole, NotOwner };

// Gives role the rights an adviser needs on the records of an opened records database
// (openServer: the tables are made first when there are none): reading and changing
// them, or with readOnly reading alone, any right to change them taken back. Only their
// owner (or a superuser) may; the rights go in one transaction.
GrantOutcome grant(Connection& cn, const QString& role, bool readOnly);

// The role that owns the records tables.
QString ownerOf(Connection& cn);

} // namespace recordsdb
