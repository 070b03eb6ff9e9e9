#include "data/DBTools.h"

#include "data/ConnectionInternals.h"
#include "data/NameCollation.h"
#include "data/PreparedCommand.h"
#include "data/ServerRequests.h"
#include "data/UnicodeLike.h"
#include "platform/Platform.h"
#include "text/StringTable.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QThread>
#include <atomic>

namespace {

std::atomic<int> gConnectionCounter{0};

constexpr int kBusyTimeoutMs = 5000;

QString busyMessage(const QString& file) {
    return strings::text("database.busy", messageLanguage()).arg(file);
}

constexpr int kConflictAttempts = 20;

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

void checkOpen(const Connection& cn) {
    if (!cn || !cn->isOpen())
        throw FatalError(errnum::DatabaseError,
                         QStringLiteral("Operation is not allowed when the object is closed."));
}

bool tryQuery(QSqlQuery& query, const QString& sql, const QVariantList& params) {
    if (!query.prepare(sql)) return false;
    for (const QVariant& p : params)
        query.addBindValue(p);
    return query.exec();
}

// One statement on either engine: its rows, or how many rows it changed.
serverrequests::Rows execute(Connection& cn, const QString& sql, const QVariantList& params) {
    checkOpen(cn);
    if (cn->engine() == Engine::PostgreSQL) return serverrequests::execute(cn, sql, params);
    QSqlQuery query(cn->database());
    query.setForwardOnly(true);
    if (!tryQuery(query, sql, params)) throwDatabaseError(query.lastError(), sql, cn->filePath());
    serverrequests::Rows out;
    const QSqlRecord record = query.record();
    for (int i = 0; i < record.count(); ++i)
        out.names << record.fieldName(i);
    while (query.next()) {
        QVariantList row;
        row.reserve(record.count());
        for (int i = 0; i < record.count(); ++i)
            row << query.value(i);
        out.rows << std::move(row);
    }
    if (query.lastError().isValid()) throwDatabaseError(query.lastError(), sql, cn->filePath());
    out.affected = query.numRowsAffected();
    return out;
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
    if (session_) session_->close();
    open_ = false;
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
        cn->connectionString_ = QStringLiteral("DRIVER={Microsoft Text Driver (*.txt; *.csv)};DBQ=") +
                                directory + QStringLiteral(";DefaultDir=") + directory +
                                QStringLiteral(";Uid=Admin;Pwd=;");
        throw FatalError(errnum::DatabaseError,
                         QStringLiteral("Text files are not supported as data files: %1").arg(trimmed));
    }
    if (kind == QLatin1String("xls")) {
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
    installNameCollation(db);
}

void ConnectToServer(Connection& cnTarget, const ServerAddress& address) {
    DisconnectFromDB(cnTarget);
    auto cn = std::make_shared<DbConnection>();
    cnTarget = cn;
    cn->engine_ = Engine::PostgreSQL;
    cn->address_ = address;
    cn->connectionString_ = address.url(); // never a password: the address holds none
    cn->session_ = std::make_unique<ServerSession>();
    serverrequests::open(*cn);
}

void DisconnectFromDB(Connection& cnTarget) {
    if (!cnTarget) return;
    cnTarget->close();
    cnTarget.reset();
}

RecordsetPtr GetRS(Connection& cnTarget, const QString& strSQL, const QString& strWriteMode,
                   const QVariantList& params) {
    const QString mode = strWriteMode.toLower();
    // Both modes give the same client-side copy of the rows; only the word is checked.
    if (mode != QLatin1String("read") && mode != QLatin1String("write")) {
        MsgBox(QStringLiteral("Invalid use of GetRS (Invalid WriteMode: ") + strWriteMode +
               QStringLiteral(" )"));
        EndProgram(1);
    }

    serverrequests::Rows result = execute(cnTarget, strSQL, params);
    return std::make_shared<Recordset>(std::move(result.names), std::move(result.rows));
}

void ExecCmdInDB(Connection& cnTarget, const QString& strSQL, const QVariantList& params) {
    execute(cnTarget, strSQL, params);
}

void forEachRow(Connection& cnTarget, const QString& strSQL, const QVariantList& params,
                const std::function<void(const QVariantList& row)>& each) {
    checkOpen(cnTarget);
    if (cnTarget->engine() == Engine::PostgreSQL) {
        for (const QVariantList& row : serverrequests::execute(cnTarget, strSQL, params).rows)
            each(row);
        return;
    }
    QSqlQuery query(cnTarget->database());
    query.setForwardOnly(true);
    if (!tryQuery(query, strSQL, params)) throwDatabaseError(query.lastError(), strSQL, cnTarget->filePath());
    const int columns = query.record().count();
    QVariantList row(columns);
    while (query.next()) {
        for (int i = 0; i < columns; ++i)
            row[i] = query.value(i);
        each(row);
    }
    if (query.lastError().isValid()) throwDatabaseError(query.lastError(), strSQL, cnTarget->filePath());
}

void ExecCmdInDB(Connection& cnTarget, const QString& strSQL, int16_t& intErrorCount,
                 const QVariantList& params) {
    ExecCmdInDB(cnTarget, strSQL, params);
    // Neither engine leaves warnings behind a completed command; failures have thrown above.
    intErrorCount = 0;
}

qint64 ExecCountInDB(Connection& cnTarget, const QString& strSQL, const QVariantList& params) {
    return execute(cnTarget, strSQL, params).affected;
}

Transaction::Transaction(Connection& cn) : cn_(cn) {
    checkOpen(cn_);
    if (cn_->engine() == Engine::PostgreSQL) {
        // Nothing has been done yet, so a connection found broken here is opened again.
        execute(cn_, QStringLiteral("BEGIN"), {});
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
            serverrequests::rollback(*cn_);
        } else {
            cn_->database().rollback();
        }
    }
    ConnectionInternals::setInTransaction(*cn_, false);
}

void Transaction::commit() {
    done_ = true;
    if (cn_->engine() == Engine::PostgreSQL) {
        serverrequests::commit(*cn_);
        return;
    }
    QSqlDatabase db = cn_->database();
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
                    serverrequests::refuse(*cn, ServerProblem::InUse, e.description());
                throw;
            }
        }
        // The other writer is about to commit; a short, uneven wait lets it.
        QThread::msleep(static_cast<unsigned long>(QRandomGenerator::global()->bounded(5, 20 * attempt)));
    }
}

PreparedCommand::PreparedCommand(Connection& cn, QString sql) : cn_(cn), sql_(std::move(sql)) {
    checkOpen(cn_);
    if (cn_->engine() == Engine::PostgreSQL) return;
    query_.emplace(cn_->database());
    query_->setForwardOnly(true);
    if (!query_->prepare(sql_)) throwDatabaseError(query_->lastError(), sql_, cn_->filePath());
}

bool PreparedCommand::exec(const QVariantList& params) {
    for (qsizetype i = 0; i < params.size(); ++i)
        query_->bindValue(int(i), params[i]);
    if (!query_->exec()) throwDatabaseError(query_->lastError(), sql_, cn_->filePath());
    return query_->next();
}

qint64 PreparedCommand::run(const QVariantList& params) {
    checkOpen(cn_);
    if (!query_) return execute(cn_, sql_, params).affected;
    exec(params);
    const qint64 affected = query_->numRowsAffected();
    query_->finish();
    return affected;
}

bool PreparedCommand::hasRow(const QVariantList& params) {
    checkOpen(cn_);
    if (!query_) return !execute(cn_, sql_, params).rows.isEmpty();
    const bool row = exec(params);
    query_->finish();
    return row;
}
