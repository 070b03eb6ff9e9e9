#include "data/ServerRequests.h"

#include "data/ConnectionInternals.h"
#include "data/ServerMessages.h"

namespace serverrequests {

namespace {

std::function<Language()> gLanguage;

QString firstWord(const QString& sql) {
    return sql.trimmed().section(u' ', 0, 0).toUpper();
}

bool isCommit(const QString& sql) {
    return firstWord(sql) == QLatin1String("COMMIT");
}

// A statement that changes nothing on the server, so that running it again is harmless.
bool changesNothing(const QString& sql) {
    const QString word = firstWord(sql);
    return word == QLatin1String("SELECT") || word == QLatin1String("BEGIN") || word == QLatin1String("SET");
}

// The right a refused statement needed, by what it does.
MissingRight rightFor(const QString& sql) {
    const QString word = firstWord(sql);
    if (word == QLatin1String("SELECT")) return MissingRight::Read;
    if (word == QLatin1String("CREATE")) return MissingRight::Create;
    return MissingRight::Change;
}

servermessages::Failure factsOf(const DbConnection& cn, ServerProblem problem, const QString& detail) {
    const ServerAddress& address = *cn.serverAddress();
    servermessages::Failure f;
    f.problem = problem;
    f.server = address.serverName();
    f.database = address.database;
    f.detail = detail;
    return f;
}

[[noreturn]] void fail(const servermessages::Failure& f) {
    throw ServerFailure(f.problem, servermessages::text(f, messageLanguage()));
}

// The failure of a statement the server did not carry out. A connection that broke, or
// did not answer in time, is marked so that its next use opens it again; the writes are
// certainly undone unless the answer lost was the commit's (or that of a change made
// outside any transaction).
[[noreturn]] void failRequest(DbConnection& cn, const ServerReply& reply, const QString& sql) {
    servermessages::Failure f = factsOf(cn, ServerProblem::Failed, reply.message);
    if (reply.status == ServerReply::Status::Broken || reply.status == ServerReply::Status::NoAnswer ||
        reply.sqlState.startsWith(QLatin1String("08")) || reply.sqlState.startsWith(QLatin1String("57P"))) {
        ConnectionInternals::setBroken(cn, true);
        const bool mayHaveCommitted =
            isCommit(sql) || (!ConnectionInternals::inTransaction(cn) && !changesNothing(sql));
        f.outcome = mayHaveCommitted ? WriteOutcome::Unknown : WriteOutcome::NothingWritten;
        if (reply.status == ServerReply::Status::NoAnswer) {
            f.problem = ServerProblem::NoAnswer;
            f.figure = QString::number(serverwait::kAnswerSeconds);
        } else {
            f.problem = ServerProblem::ConnectionLost;
        }
        fail(f);
    }
    const QString& state = reply.sqlState;
    if (state == QLatin1String("23505") || state == QLatin1String("40001") || state == QLatin1String("40P01"))
        throw WriteConflict(errnum::DatabaseError, reply.message + QStringLiteral(" (%1)").arg(sql));
    if (state == QLatin1String("55P03")) {
        f.problem = ServerProblem::InUse;
    } else if (state == QLatin1String("57014")) {
        f.problem = ServerProblem::TimedOut;
        f.figure = QString::number(serverwait::kStatementSeconds);
    } else if (state == QLatin1String("42501")) {
        f.problem = ServerProblem::NotPermitted;
        f.role = ConnectionInternals::session(cn).user();
        f.right = rightFor(sql);
        ServerAddress owner = *cn.serverAddress();
        owner.user.clear(); // the owner connects as themselves
        f.ownerAddress = owner.url();
    } else if (state.startsWith(QLatin1String("28"))) {
        f.problem = ServerProblem::Refused;
    }
    fail(f);
}

ServerReply runOnce(DbConnection& cn, const QString& sql, const QVariantList& params) {
    return ConnectionInternals::session(cn).run(sql, params);
}

// A broken connection is opened again, but never inside a transaction: what the
// transaction did is gone with the old connection, and its caller has been told.
void reopenIfBroken(DbConnection& cn) {
    if (!ConnectionInternals::broken(cn) || ConnectionInternals::inTransaction(cn)) return;
    ConnectionInternals::setOpen(cn, false);
    open(cn);
}

} // namespace

void refuse(const DbConnection& cn, ServerProblem problem, const QString& detail) {
    servermessages::Failure f = factsOf(cn, problem, QString());
    if (problem == ServerProblem::NewerSchema)
        f.figure = detail;
    else
        f.detail = detail;
    fail(f);
}

void open(DbConnection& cn) {
    const ConnectOutcome outcome = ConnectionInternals::session(cn).open(*cn.serverAddress());
    if (!outcome.ok) {
        servermessages::Failure f = factsOf(cn, outcome.problem, outcome.detail);
        if (outcome.problem == ServerProblem::NoAnswer)
            f.figure = QString::number(serverwait::kConnectSeconds);
        fail(f);
    }
    ConnectionInternals::setOpen(cn, true);
    ConnectionInternals::setBroken(cn, false);
    // The server ends a statement that runs too long, or waits too long for a lock held
    // by another adviser's transaction, before the program stops waiting for its answer.
    const QString timeouts = QStringLiteral("SET statement_timeout = '%1s'; SET lock_timeout = '%2s'")
                                 .arg(serverwait::kStatementSeconds)
                                 .arg(serverwait::kLockSeconds);
    const ServerReply reply = runOnce(cn, timeouts, {});
    if (reply.status != ServerReply::Status::Ok) failRequest(cn, reply, timeouts);
}

Rows execute(Connection& cn, const QString& sql, const QVariantList& params) {
    reopenIfBroken(*cn);
    ServerReply reply = runOnce(*cn, sql, params);
    // Found broken at once, before a statement that changes nothing, outside a
    // transaction: the connection broke since its last use, and one new one is tried.
    if (reply.status == ServerReply::Status::Broken && !ConnectionInternals::inTransaction(*cn) &&
        changesNothing(sql)) {
        ConnectionInternals::setBroken(*cn, true);
        reopenIfBroken(*cn);
        reply = runOnce(*cn, sql, params);
    }
    if (reply.status != ServerReply::Status::Ok) failRequest(*cn, reply, sql);
    return {reply.names, reply.rows, reply.affected};
}

void commit(DbConnection& cn) {
    const QString sql = QStringLiteral("COMMIT");
    const ServerReply reply = runOnce(cn, sql, {});
    if (reply.status != ServerReply::Status::Ok) failRequest(cn, reply, sql);
    ConnectionInternals::setInTransaction(cn, false);
}

void rollback(DbConnection& cn) noexcept {
    // A broken connection has taken the transaction with it; nothing to undo.
    if (ConnectionInternals::broken(cn) || !ConnectionInternals::session(cn).isOpen()) return;
    const ServerReply reply = runOnce(cn, QStringLiteral("ROLLBACK"), {});
    if (reply.status == ServerReply::Status::Broken || reply.status == ServerReply::Status::NoAnswer)
        ConnectionInternals::setBroken(cn, true);
}

} // namespace serverrequests

void setMessageLanguage(std::function<Language()> language) {
    serverrequests::gLanguage = std::move(language);
}

Language messageLanguage() {
    return serverrequests::gLanguage ? serverrequests::gLanguage() : Language::E;
}

void refuseOnServer(const Connection& cn, ServerProblem problem, const QString& detail) {
    serverrequests::refuse(*cn, problem, detail);
}
