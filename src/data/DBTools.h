#pragma once
// The program's only gateway to its databases: open a connection to a data file (or
// to the records server), close it, read a query into a client-side recordset, run a
// command. Every value reaches SQL as a bound parameter; table names come from the
// catalogue.

#include "data/Recordset.h"
#include "data/ServerAddress.h"
#include "data/ServerProblem.h"
#include "platform/Platform.h"
#include "text/Language.h"

#include <QSqlDatabase>
#include <QString>
#include <QVariantList>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

class ServerSession;

// The engine behind a connection: the program's own files, or the records server.
enum class Engine { SQLite, PostgreSQL };

class DbConnection {
public:
    DbConnection();
    ~DbConnection();
    DbConnection(const DbConnection&) = delete;
    DbConnection& operator=(const DbConnection&) = delete;

    QString connectionString() const { return connectionString_; }
    QString filePath() const { return filePath_; }
    bool isOpen() const { return open_; }
    bool isReadOnly() const { return readOnly_; }
    QSqlDatabase database() const;
    Engine engine() const { return engine_; }
    // The server's address for a connection to the records server; nothing for a file.
    const std::optional<ServerAddress>& serverAddress() const { return address_; }

private:
    friend void ConnectToFile(std::shared_ptr<DbConnection>&, const QString&, const QString&, int);
    friend void ConnectToServer(std::shared_ptr<DbConnection>&, const ServerAddress&);
    friend void DisconnectFromDB(std::shared_ptr<DbConnection>&);
    friend struct ConnectionInternals;
    void close();

    QString name_;
    QString connectionString_;
    QString filePath_;
    bool open_ = false;
    bool readOnly_ = false;
    Engine engine_ = Engine::SQLite;
    std::optional<ServerAddress> address_;
    std::unique_ptr<ServerSession> session_; // the records server's connection
    bool broken_ = false; // a server connection that broke; opened again before its next use
    bool inTransaction_ = false;
};

// A connection variable; empty means no connection.
using Connection = std::shared_ptr<DbConnection>;

enum OpenMode { ReadWrite = 0, ReadOnly = 1 };

// Opens the data file into cnTarget, closing what it held first. "unknown" as the
// directory stands for the program's directory (used by text files only).
void ConnectToFile(Connection& cnTarget, const QString& strFilePath, const QString& strDirectory,
                   int mode = ReadWrite);
void DisconnectFromDB(Connection& cnTarget);

// Opens a connection to the database of the records server into cnTarget, closing what
// it held first. The password is the client library's to find (~/.pgpass, PGPASSWORD).
// A server that cannot be reached or refuses is a ServerFailure naming it; cnTarget
// then holds an unopened connection. A connection that breaks later is opened again
// before its next use. Every wait on the server is bounded (data/ServerSession.h).
void ConnectToServer(Connection& cnTarget, const ServerAddress& address);

// strWriteMode is "read" or "write", compared without regard to case.
RecordsetPtr GetRS(Connection& cnTarget, const QString& strSQL, const QString& strWriteMode,
                   const QVariantList& params = {});
// Reads a query's rows one at a time, each handed to each as the engine gives it, for a
// result too long to hold whole (every stored firm, exported). The records server's
// rows come whole, as GetRS reads them, and are handed on the same way.
void forEachRow(Connection& cnTarget, const QString& strSQL, const QVariantList& params,
                const std::function<void(const QVariantList& row)>& each);
void ExecCmdInDB(Connection& cnTarget, const QString& strSQL, const QVariantList& params = {});
// The same with the count of warnings the engine left behind the command, always 0 here: a
// failure throws instead. Kept for callers written against the counting form.
void ExecCmdInDB(Connection& cnTarget, const QString& strSQL, int16_t& intErrorCount,
                 const QVariantList& params = {});
// Runs a command and returns how many rows it changed.
qint64 ExecCountInDB(Connection& cnTarget, const QString& strSQL, const QVariantList& params = {});

// Writes that belong together: committed by commit(), rolled back otherwise.
class Transaction {
public:
    explicit Transaction(Connection& cn);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    void commit();

private:
    Connection cn_;
    bool done_ = false;
};

// Another client wrote the same rows at the same moment and the server undid this
// transaction (a unique key met, a serialisation failure, a deadlock). Running the
// whole transaction again is safe: nothing of it was kept.
class WriteConflict : public RecoverableFailure {
public:
    WriteConflict(int number, const QString& description) : RecoverableFailure(number, description) {}
};

// Runs body in a transaction and commits it; a WriteConflict runs it again from the
// start, a few times, before it is let through.
void runTransaction(Connection& cn, const std::function<void()>& body);

// The records server failed the request: out of reach, refusing, a broken connection,
// a lock not granted in time, a right the role lacks. The description is in the user's
// language, names the server and database, and says what became of the request's
// writes: nothing was written, or (the connection broke while the server committed)
// all or nothing.
class ServerFailure : public RecoverableFailure {
public:
    ServerFailure(ServerProblem problem, const QString& description)
        : RecoverableFailure(errnum::ServerUnavailable, description), problem_(problem) {}
    ServerProblem problem() const { return problem_; }

private:
    ServerProblem problem_;
};

// The language of the data layer's failures (a records server's, a busy database's); the
// program's state installs it. Without one they are in English.
void setMessageLanguage(std::function<Language()> language);
Language messageLanguage();

// Refuses a request on the connection's records server with a ServerFailure naming it,
// for what the layers above find (a newer records version, a table the program did not
// make, a role that does not exist); nothing was written.
[[noreturn]] void refuseOnServer(const Connection& cn, ServerProblem problem,
                                 const QString& detail = QString());

// Another program (a second copy of this one) kept the file locked for longer than the
// busy timeout. The description says so in the user's language; nothing was written.
class DatabaseBusy : public RecoverableFailure {
public:
    DatabaseBusy(int number, const QString& description) : RecoverableFailure(number, description) {}
};
