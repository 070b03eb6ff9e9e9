#pragma once
// One connection to the records server through its client library, with every wait
// bounded: the connection is made in one attempt that gives up after a few seconds, and
// each request gives up when no answer comes in time (a server that stopped answering, a
// backend that hangs), closing the connection. Rows come back as values the program
// reads (numbers, texts, nulls); values go to the server as bound parameters.

#include "data/ServerAddress.h"
#include "data/ServerProblem.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariantList>

struct pg_conn;

namespace serverwait {
// How long a connection may take to be made.
inline constexpr int kConnectSeconds = 5;
// How long the server lets a statement wait for a lock another session holds.
inline constexpr int kLockSeconds = 3;
// How long the server lets one statement run.
inline constexpr int kStatementSeconds = 5;
// How long the program waits for the answer to one request before it gives up on the
// server: the statement timeout and a margin for the server to say so.
inline constexpr int kAnswerSeconds = 7;
} // namespace serverwait

struct ServerReply {
    enum class Status {
        Ok,
        Error,    // the server refused the request; the connection holds
        Broken,   // the connection broke
        NoAnswer, // no answer in time; the connection was closed
    };
    Status status = Status::Ok;
    QString sqlState; // of an Error
    QString message;  // of a failure, on one line
    QStringList names;
    QList<QVariantList> rows;
    qint64 affected = 0; // rows a command changed
};

struct ConnectOutcome {
    bool ok = false;
    ServerProblem problem = ServerProblem::Failed; // when not ok
    QString detail;                                // the client library's words, on one line
};

class ServerSession {
public:
    ServerSession() = default;
    ~ServerSession();
    ServerSession(const ServerSession&) = delete;
    ServerSession& operator=(const ServerSession&) = delete;

    // One attempt to connect (a wrong password costs one failed login, not several).
    ConnectOutcome open(const ServerAddress& address);
    // Runs one request: statements with "?" for the parameters, or several statements
    // without parameters separated by semicolons.
    ServerReply run(const QString& sql, const QVariantList& params = {});

    bool isOpen() const;
    void close();
    // The role the server knows this connection by.
    QString user() const;

private:
    pg_conn* conn_ = nullptr;
};
