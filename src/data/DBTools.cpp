#include "data/DBTools.h"

#include "data/ServerMessages.h"
#include "data/UnicodeLike.h"
#include "platform/Platform.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QThread>
#include <atomic>

// What the data access layer changes in a connection as it uses it: a server connection
// found broken, opened again, inside a transaction or not.
struct ConnectionInternals {
    static void setBroken(DbConnection& cn, bool broken) { cn.broken_ = broken; }
    static bool broken(const DbConnection& cn) { return cn.broken_; }
    static void setInTransaction(DbConnection& cn, bool in) { cn.inTransaction_ = in; }
    static bool inTransaction(const DbConnection& cn) { return cn.inTransaction_; }
    static void setOpen(DbConnection& cn, bool open) { cn.open_ = open; }
};

namespace {

std::atomic<int> gConnectionCounter{0};

constexpr int kBusyTimeoutMs = 5000;

std::function<QString(const QString&)> gBusyMessage;

QString busyMessage(const QString& file) {
    if (gBusyMessage) return gBusyMessage(file);
    return QStringLiteral("The database %1 is in use by another copy of the program. Try again in a moment.\n"
                          "La base de données %1 est utilisée par une autre copie du programme. Réessayez "
                          "dans un instant.")
        .arg(file);
}

std::function<int()> gLanguage;

int messageLanguage() {
    return gLanguage ? gLanguage() : 0;
}

// How long a save waits for a row another adviser's transaction holds.
constexpr char kLockTimeout[] = "SET lock_timeout = '5s'";
constexpr int kConflictAttempts = 20;

QString serverDetail(const QSqlError& error) {
    QString text = error.databaseText();
    if (text.isEmpty()) text = error.driverText();
    return text.simplified();
}

[[noreturn]] void throwServerFailure(const DbConnection& cn, ServerProblem problem, const QString& detail) {
    throw ServerFailure(problem, serverFailureText(problem, *cn.serverAddress(), detail,
                                                   ConnectionInternals::inTransaction(cn)));
}

// A failure of the records server, by its SQLSTATE: a broken connection is marked so
// that its next use opens it again; a conflict with another client's write is for the
// caller to run again; the rest are the server's refusals, told in the user's words.
[[noreturn]] void throwServerError(DbConnection& cn, const QSqlError& error, const QString& context) {
    const QString state = error.nativeErrorCode();
    const QString detail = serverDetail(error);
    if (serverdiagnosis::connectionBroken(cn.database()) || state.startsWith(QLatin1String("08")) ||
        state.startsWith(QLatin1String("57P"))) {
        ConnectionInternals::setBroken(cn, true);
        throwServerFailure(cn, ServerProblem::ConnectionLost, detail);
    }
    if (state == QLatin1String("23505") || state == QLatin1String("40001") || state == QLatin1String("40P01"))
        throw WriteConflict(errnum::DatabaseError, detail + QStringLiteral(" (%1)").arg(context));
    if (state == QLatin1String("55P03") || state == QLatin1String("53300") || state == QLatin1String("53400"))
        throwServerFailure(cn, ServerProblem::InUse, detail);
    if (state.startsWith(QLatin1String("28"))) throwServerFailure(cn, ServerProblem::Refused, detail);
    throwServerFailure(cn, ServerProblem::Failed, detail);
}

[[noreturn]] void throwDatabaseError(const QSqlError& error, const QString& context,
                                     const QString& file = QString()) {
    bool ok = false;
    int number = error.nativeErrorCode().toInt(&ok);
    if (!ok || number <= 0) number = errnum::DatabaseError;
    // SQLITE_BUSY and SQLITE_LOCKED (and their extended codes) after the busy timeout.
    if ((number & 0xff) == 5 || (number & 0xff) == 6) throw DatabaseBusy(number, busyMessage(file));
    QString text = error.databaseText();
    if (text.isEmpty()) text = error.driverText();
    if (!context.isEmpty()) text += QStringLiteral(" (%1)").arg(context);
    throw FatalError(number, text);
}

[[noreturn]] void throwError(DbConnection& cn, const QSqlError& error, const QString& context) {
    if (cn.engine() == Engine::PostgreSQL) throwServerError(cn, error, context);
    throwDatabaseError(error, context, cn.filePath());
}

void openServer(DbConnection& cn);

// A broken server connection is opened again, but never inside a transaction: what the
// transaction did is gone with the old connection, and its caller has been told.
void reopenIfBroken(Connection& cn) {
    if (!ConnectionInternals::broken(*cn) || ConnectionInternals::inTransaction(*cn)) return;
    cn->database().close();
    ConnectionInternals::setOpen(*cn, false);
    openServer(*cn);
}

void checkOpen(const Connection& cn) {
    if (!cn || !cn->isOpen())
        throw FatalError(errnum::DatabaseError,
                         QStringLiteral("Operation is not allowed when the object is closed."));
}

bool tryQuery(QSqlQuery& query, const QString& sql, const QVariantList& params, Engine engine) {
    // The server prepares only queries and row changes, not BEGIN or CREATE TABLE; a
    // statement without values needs no preparing there.
    if (engine == Engine::PostgreSQL && params.isEmpty()) return query.exec(sql);
    if (!query.prepare(sql)) return false;
    for (const QVariant& p : params)
        query.addBindValue(p);
    return query.exec();
}

QSqlQuery runQuery(Connection& cn, const QString& sql, const QVariantList& params) {
    if (cn && cn->engine() == Engine::PostgreSQL && ConnectionInternals::broken(*cn)) reopenIfBroken(cn);
    checkOpen(cn);
    QSqlQuery query(cn->database());
    query.setForwardOnly(true);
    if (tryQuery(query, sql, params, cn->engine())) return query;
    // A server connection found broken at a statement outside any transaction (the
    // server restarted since the last one, say) is opened again and the statement run
    // once more: nothing was done on the old connection.
    if (cn->engine() == Engine::PostgreSQL && !ConnectionInternals::inTransaction(*cn) &&
        serverdiagnosis::connectionBroken(cn->database())) {
        ConnectionInternals::setBroken(*cn, true);
        query = QSqlQuery();
        reopenIfBroken(cn);
        query = QSqlQuery(cn->database());
        query.setForwardOnly(true);
        if (tryQuery(query, sql, params, cn->engine())) return query;
    }
    throwError(*cn, query.lastError(), sql);
}

void openServer(DbConnection& cn) {
    QSqlDatabase db = cn.database();
    const ServerAddress& address = *cn.serverAddress();
    if (!db.isValid())
        throwServerFailure(cn, ServerProblem::Failed,
                           QStringLiteral("the PostgreSQL driver of Qt (QPSQL) is not installed"));
    if (!db.open()) {
        const serverdiagnosis::Diagnosis d = serverdiagnosis::diagnose(address);
        throwServerFailure(cn, d.problem, d.detail.isEmpty() ? serverDetail(db.lastError()) : d.detail);
    }
    ConnectionInternals::setOpen(cn, true);
    ConnectionInternals::setBroken(cn, false);
    QSqlQuery session(db);
    if (!session.exec(QLatin1String(kLockTimeout)))
        throwError(cn, session.lastError(), QLatin1String(kLockTimeout));
}

QString sqliteFileFor(const QString& trimmedPath, const QString& lowerPath) {
    // The program's texts name the files with the ending "mdb"; here they are SQLite files ending ".db".
    if (lowerPath.endsWith(QLatin1String(".mdb")))
        return trimmedPath.left(trimmedPath.size() - 4) + QStringLiteral(".db");
    return trimmedPath;
}

} // namespace

DbConnection::DbConnection() : name_(QStringLiteral("ventrolux-%1").arg(++gConnectionCounter)) {}

DbConnection::~DbConnection() {
    close();
}

QSqlDatabase DbConnection::database() const {
    return QSqlDatabase::database(name_, false);
}

void DbConnection::close() {
    if (!QSqlDatabase::contains(name_)) return;
    {
        QSqlDatabase db = QSqlDatabase::database(name_, false);
        if (db.isOpen()) db.close();
    }
    QSqlDatabase::removeDatabase(name_);
    open_ = false;
}

void ConnectToFile(Connection& cnTarget, const QString& strFilePath, const QString& strDirectory, int mode) {
    const QString filePath = strFilePath;
    QString directory = strDirectory;
    DisconnectFromDB(cnTarget);
    if (directory == QLatin1String("unknown")) directory = QCoreApplication::applicationDirPath();

    const QString trimmed = filePath.trimmed();
    const QString lower = trimmed.toLower();
    QString ending = trimmed.right(3);
    if (lower == QLatin1String("text")) ending = QStringLiteral("txt");

    auto cn = std::make_shared<DbConnection>();
    cnTarget = cn;

    const QString kind = ending.toLower();
    const bool sqlite = lower.endsWith(QLatin1String(".db")) || lower.endsWith(QLatin1String(".sqlite")) ||
                        kind == QLatin1String("mdb");
    if (kind == QLatin1String("txt") || kind == QLatin1String("csv")) {
        cn->provider_ = QStringLiteral("MSDASQL");
        cn->connectionString_ = QStringLiteral("DRIVER={Microsoft Text Driver (*.txt; *.csv)};DBQ=") +
                                directory + QStringLiteral(";DefaultDir=") + directory +
                                QStringLiteral(";Uid=Admin;Pwd=;");
        throw FatalError(errnum::DatabaseError,
                         QStringLiteral("Text files are not supported as data files: %1").arg(trimmed));
    }
    if (kind == QLatin1String("xls")) {
        cn->provider_ = QStringLiteral("Microsoft.Jet.OLEDB.4.0");
        cn->connectionString_ =
            QStringLiteral("Data Source=") + trimmed + QStringLiteral(";Extended Properties=Excel 8.0;");
        throw FatalError(errnum::DatabaseError,
                         QStringLiteral("Spreadsheets are not supported as data files: %1").arg(trimmed));
    }
    if (!sqlite) {
        MsgBox(QStringLiteral("Invalid use of ConnectToFile (Invalid File Type: ") + ending +
               QStringLiteral(" )"));
        EndProgram(1);
    }

    const QString file = sqliteFileFor(trimmed, lower);
    cn->provider_ = QStringLiteral("QSQLITE");
    cn->connectionString_ = QStringLiteral("Data Source=") + file;
    cn->filePath_ = file;
    cn->readOnly_ = (mode == ReadOnly);

    const QFileInfo info(file);
    if (!info.exists() || !info.isFile())
        throw FatalError(errnum::FileNotFound, QStringLiteral("Could not find file '%1'.").arg(file));

    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), cn->name_);
    db.setDatabaseName(file);
    QString options = QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(kBusyTimeoutMs);
    if (cn->readOnly_) options += QStringLiteral(";QSQLITE_OPEN_READONLY");
    db.setConnectOptions(options);
    if (!db.open()) throwDatabaseError(db.lastError(), file, file);
    cn->open_ = true;

    // Opening is lazy in SQLite: read the schema now so that a file that is not a
    // database fails here, naming the file, rather than at some later query.
    QSqlQuery probe(db);
    if (!probe.exec(QStringLiteral("PRAGMA schema_version")))
        throwDatabaseError(probe.lastError(), file, file);
    probe.finish();

    installUnicodeLike(db);
}

void ConnectToServer(Connection& cnTarget, const ServerAddress& address) {
    DisconnectFromDB(cnTarget);
    auto cn = std::make_shared<DbConnection>();
    cnTarget = cn;
    cn->engine_ = Engine::PostgreSQL;
    cn->address_ = address;
    cn->provider_ = QStringLiteral("QPSQL");
    cn->connectionString_ = address.url();

    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), cn->name_);
    db.setHostName(address.host);
    if (address.port > 0) db.setPort(address.port);
    db.setDatabaseName(address.database);
    db.setUserName(address.user);
    db.setConnectOptions(serverdiagnosis::connectOptions(address));
    openServer(*cn);
}

void DisconnectFromDB(Connection& cnTarget) {
    if (!cnTarget) return;
    cnTarget->close();
    cnTarget.reset();
}

RecordsetPtr GetRS(Connection& cnTarget, const QString& strSQL, const QString& strWriteMode,
                   const QVariantList& params) {
    const QString mode = strWriteMode.toLower();
    int cursorType = 0;
    int lockType = 0;
    if (mode == QLatin1String("read")) {
        cursorType = 3; // static snapshot
        lockType = 1;   // read-only
    } else if (mode == QLatin1String("write")) {
        cursorType = 2; // dynamic
        lockType = 3;   // optimistic
    } else {
        MsgBox(QStringLiteral("Invalid use of GetRS (Invalid WriteMode: ") + strWriteMode +
               QStringLiteral(" )"));
        EndProgram(1);
    }

    QSqlQuery query = runQuery(cnTarget, strSQL, params);
    const QSqlRecord record = query.record();
    QStringList names;
    names.reserve(record.count());
    for (int i = 0; i < record.count(); ++i)
        names << record.fieldName(i);

    QList<QVariantList> rows;
    while (query.next()) {
        QVariantList row;
        row.reserve(record.count());
        for (int i = 0; i < record.count(); ++i)
            row << query.value(i);
        rows << std::move(row);
    }
    if (query.lastError().isValid()) throwError(*cnTarget, query.lastError(), strSQL);
    return std::make_shared<Recordset>(std::move(names), std::move(rows), cursorType, lockType);
}

void ExecCmdInDB(Connection& cnTarget, const QString& strSQL, int16_t& intErrorCount,
                 const QVariantList& params) {
    QSqlQuery query = runQuery(cnTarget, strSQL, params);
    query.finish();
    // SQLite leaves no warnings behind a completed command; failures have thrown above.
    intErrorCount = 0;
}

void ExecCmdInDB(Connection& cnTarget, const QString& strSQL, const QVariantList& params) {
    int16_t ignored = 0;
    ExecCmdInDB(cnTarget, strSQL, ignored, params);
}

qint64 ExecCountInDB(Connection& cnTarget, const QString& strSQL, const QVariantList& params) {
    QSqlQuery query = runQuery(cnTarget, strSQL, params);
    const qint64 count = query.numRowsAffected();
    query.finish();
    return count;
}

Transaction::Transaction(Connection& cn) : cn_(cn) {
    checkOpen(cn_);
    if (cn_->engine() == Engine::PostgreSQL) {
        // Nothing has been done yet, so a connection found broken here is opened again.
        runQuery(cn_, QStringLiteral("BEGIN"), {});
        ConnectionInternals::setInTransaction(*cn_, true);
        return;
    }
    // A writer takes the write lock at the start, where the busy timeout applies; a
    // deferred start could fail at once on its first write when another copy writes.
    QSqlQuery begin(cn_->database());
    if (!begin.exec(cn_->isReadOnly() ? QStringLiteral("BEGIN") : QStringLiteral("BEGIN IMMEDIATE")))
        throwDatabaseError(begin.lastError(), QStringLiteral("begin transaction"), cn_->filePath());
}

Transaction::~Transaction() {
    if (!cn_) return;
    if (!done_ && cn_->isOpen()) {
        if (cn_->engine() == Engine::PostgreSQL) {
            // A broken connection has taken the transaction with it; nothing to undo.
            if (!serverdiagnosis::connectionBroken(cn_->database()))
                QSqlQuery(cn_->database()).exec(QStringLiteral("ROLLBACK"));
        } else {
            cn_->database().rollback();
        }
    }
    ConnectionInternals::setInTransaction(*cn_, false);
}

void Transaction::commit() {
    QSqlDatabase db = cn_->database();
    done_ = true;
    if (cn_->engine() == Engine::PostgreSQL) {
        QSqlQuery commit(db);
        const bool ok = commit.exec(QStringLiteral("COMMIT"));
        if (!ok) {
            const QSqlError error = commit.lastError();
            commit = QSqlQuery();
            // Still inside: a commit the server refused is a failed write, not a broken read.
            throwError(*cn_, error, QStringLiteral("commit"));
        }
        ConnectionInternals::setInTransaction(*cn_, false);
        return;
    }
    if (!db.commit()) throwDatabaseError(db.lastError(), QStringLiteral("commit"), cn_->filePath());
}

void runTransaction(Connection& cn, const std::function<void()>& body) {
    for (int attempt = 1;; ++attempt) {
        try {
            Transaction tx(cn);
            body();
            tx.commit();
            return;
        } catch (const WriteConflict& e) {
            if (attempt >= kConflictAttempts) {
                // Still meeting others' writes after all these tries: the server is busy
                // with them, which the user can wait out.
                if (cn && cn->engine() == Engine::PostgreSQL)
                    throwServerFailure(*cn, ServerProblem::InUse, e.description());
                throw;
            }
        }
        // The other writer is about to commit; a short, uneven wait lets it.
        QThread::msleep(static_cast<unsigned long>(QRandomGenerator::global()->bounded(5, 20 * attempt)));
    }
}

void setBusyMessage(std::function<QString(const QString& filePath)> message) {
    gBusyMessage = std::move(message);
}

void setMessageLanguage(std::function<int()> language) {
    gLanguage = std::move(language);
}

QString serverFailureText(ServerProblem problem, const ServerAddress& address, const QString& detail,
                          bool duringWrite) {
    return servermessages::text(problem, address.serverName(), address.database, detail, messageLanguage(),
                                duringWrite);
}
