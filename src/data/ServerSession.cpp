#include "data/ServerSession.h"

#include "platform/Platform.h"

#include <QDeadlineTimer>
#include <QtGlobal>
#include <algorithm>
#include <cerrno>
#include <cmath>
#include <libpq-fe.h>
#include <optional>
#include <poll.h>
#include <vector>

namespace {

QString oneLine(const char* message) {
    return QString::fromLocal8Bit(message).simplified();
}

enum class Ready { Yes, TimedOut, Failed };

// Waits until the socket can be read (or written), or the deadline passes.
Ready waitOn(int socket, bool write, const QDeadlineTimer& deadline) {
    if (socket < 0) return Ready::Failed;
    pollfd p{socket, static_cast<short>(write ? POLLOUT : POLLIN), 0};
    for (;;) {
        const qint64 left = deadline.remainingTime();
        const int r = ::poll(&p, 1, static_cast<int>(left < 0 ? 0 : left));
        if (r > 0) return Ready::Yes;
        if (r == 0) return Ready::TimedOut;
        if (errno != EINTR) return Ready::Failed;
    }
}

// How far a connection attempt has gone: a fall back to an earlier stage after the login
// was sent is the client library starting a second attempt on its own (without SSL, say).
int stageOf(ConnStatusType status) {
    switch (status) {
    case CONNECTION_BAD:
    case CONNECTION_STARTED:
    case CONNECTION_NEEDED:
        return 0;
    case CONNECTION_MADE:
        return 1;
    case CONNECTION_SSL_STARTUP:
    case CONNECTION_GSS_STARTUP:
        return 2;
    case CONNECTION_AWAITING_RESPONSE:
        return 3;
    default:
        return 4;
    }
}
constexpr int kLoginSent = 3;
constexpr int kSocketConnected = 1;

// The server's notices are no message of the program: they go where Qt's own diagnostics go.
void passOnNotice(void*, const char* message) {
    qInfo("records server: %s", qPrintable(oneLine(message)));
}

// "?" marks the parameters in the program's SQL; the server numbers them ($1, $2, ...).
QByteArray numbered(const QString& sql) {
    QString out;
    out.reserve(sql.size() + 8);
    int n = 0;
    QChar quote;
    for (const QChar c : sql) {
        if (!quote.isNull()) {
            if (c == quote) quote = QChar();
        } else if (c == u'\'' || c == u'"') {
            quote = c;
        } else if (c == u'?') {
            out += u'$' + QString::number(++n);
            continue;
        }
        out += c;
    }
    return out.toUtf8();
}

// A value as the server reads it from text; nothing for a null.
std::optional<QByteArray> parameterText(const QVariant& v) {
    if (v.isNull() || (v.typeId() == QMetaType::QString && v.toString().isNull())) return std::nullopt;
    switch (v.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float: {
        const double d = v.toDouble();
        if (std::isnan(d)) return QByteArray("NaN");
        if (std::isinf(d)) return QByteArray(d > 0 ? "Infinity" : "-Infinity");
        return QByteArray::number(d, 'g', 17); // every bit of it
    }
    case QMetaType::Bool:
        return QByteArray(v.toBool() ? "true" : "false");
    default:
        return v.toString().toUtf8();
    }
}

// The type identifiers of the server's catalogue that the program reads as numbers.
constexpr Oid kBool = 16, kInt8 = 20, kInt2 = 21, kInt4 = 23, kOid = 26, kFloat4 = 700, kFloat8 = 701,
              kNumeric = 1700;

QVariant valueOf(const PGresult* res, int row, int column) {
    if (PQgetisnull(res, row, column)) return QVariant();
    const char* text = PQgetvalue(res, row, column);
    switch (PQftype(res, column)) {
    case kBool:
        return QVariant(text[0] == 't');
    case kInt2:
    case kInt4:
        return QVariant(QByteArray(text).toInt());
    case kInt8:
    case kOid:
        return QVariant(QByteArray(text).toLongLong());
    case kFloat4:
    case kFloat8:
    case kNumeric: {
        const QByteArray t(text);
        if (t == "NaN") return QVariant(std::nan(""));
        if (t == "Infinity") return QVariant(HUGE_VAL);
        if (t == "-Infinity") return QVariant(-HUGE_VAL);
        return QVariant(t.toDouble());
    }
    default:
        return QVariant(QString::fromUtf8(text));
    }
}

void take(PGresult* res, ServerReply& reply) {
    switch (PQresultStatus(res)) {
    case PGRES_TUPLES_OK: {
        const int columns = PQnfields(res);
        reply.names.clear();
        reply.rows.clear();
        for (int c = 0; c < columns; ++c)
            reply.names << QString::fromUtf8(PQfname(res, c));
        for (int r = 0; r < PQntuples(res); ++r) {
            QVariantList row;
            row.reserve(columns);
            for (int c = 0; c < columns; ++c)
                row << valueOf(res, r, c);
            reply.rows << std::move(row);
        }
        break;
    }
    case PGRES_COMMAND_OK:
        reply.affected = QByteArray(PQcmdTuples(res)).toLongLong();
        break;
    default:
        if (reply.status != ServerReply::Status::Ok) break; // the first failure is the one to tell
        reply.status = ServerReply::Status::Error;
        reply.sqlState = QString::fromLatin1(PQresultErrorField(res, PG_DIAG_SQLSTATE));
        if (const char* primary = PQresultErrorField(res, PG_DIAG_MESSAGE_PRIMARY))
            reply.message = QString::fromUtf8(primary).simplified();
        else
            reply.message = oneLine(PQresultErrorMessage(res));
        break;
    }
}

} // namespace

ServerSession::~ServerSession() {
    close();
}

bool ServerSession::isOpen() const {
    return conn_ && PQstatus(conn_) == CONNECTION_OK;
}

void ServerSession::close() {
    if (conn_) PQfinish(conn_);
    conn_ = nullptr;
}

QString ServerSession::user() const {
    return conn_ ? QString::fromUtf8(PQuser(conn_)) : QString();
}

ConnectOutcome ServerSession::open(const ServerAddress& address) {
    close();
    const BusyPointer busy;
    const QByteArray host = address.host.toLocal8Bit();
    const QByteArray port = address.port > 0 ? QByteArray::number(address.port) : QByteArray();
    const QByteArray database = address.database.toUtf8();
    const QByteArray user = address.user.toUtf8();
    const QByteArray timeout = QByteArray::number(serverwait::kConnectSeconds);
    const QByteArray sslMode = address.sslMode.toLatin1();
    std::vector<const char*> keys, values;
    const auto add = [&](const char* key, const QByteArray& value) {
        if (value.isEmpty()) return;
        keys.push_back(key);
        values.push_back(value.constData());
    };
    add("host", host);
    add("port", port);
    add("dbname", database);
    add("user", user);
    add("connect_timeout", timeout);
    add("sslmode", sslMode);
    add("application_name", QByteArrayLiteral("ventrolux"));
    add("client_encoding", QByteArrayLiteral("UTF8"));
    keys.push_back(nullptr);
    values.push_back(nullptr);

    conn_ = PQconnectStartParams(keys.data(), values.data(), 0);
    if (!conn_) return {false, ServerProblem::Unreachable, QStringLiteral("out of memory")};
    const QDeadlineTimer deadline(serverwait::kConnectSeconds * 1000);
    PostgresPollingStatusType polled = PGRES_POLLING_WRITING;
    int reached = 0;
    bool secondAttempt = false;
    while (PQstatus(conn_) != CONNECTION_BAD && polled != PGRES_POLLING_OK &&
           polled != PGRES_POLLING_FAILED) {
        const Ready ready = waitOn(PQsocket(conn_), polled == PGRES_POLLING_WRITING, deadline);
        if (ready == Ready::TimedOut) {
            close();
            return {false, ServerProblem::NoAnswer, QString()};
        }
        polled = PQconnectPoll(conn_);
        if (PQstatus(conn_) == CONNECTION_BAD) break;
        const int stage = stageOf(PQstatus(conn_));
        if (reached >= kLoginSent && stage < kLoginSent && polled != PGRES_POLLING_OK) {
            secondAttempt = true; // the first login failed: one is all an operation tries
            break;
        }
        reached = std::max(reached, stage);
    }
    if (!secondAttempt && polled == PGRES_POLLING_OK && PQstatus(conn_) == CONNECTION_OK) {
        PQsetnonblocking(conn_, 1);
        PQsetNoticeProcessor(conn_, passOnNotice, nullptr);
        return {true, ServerProblem::Failed, QString()};
    }
    ConnectOutcome failed{false, ServerProblem::Unreachable, oneLine(PQerrorMessage(conn_))};
    if (PQconnectionNeedsPassword(conn_))
        failed.problem = ServerProblem::PasswordMissing;
    else if (reached >= kSocketConnected)
        failed.problem = ServerProblem::Refused; // something at the address answered and said no
    close();
    return failed;
}

ServerReply ServerSession::run(const QString& sql, const QVariantList& params) {
    ServerReply reply;
    const auto fail = [&](ServerReply::Status status) {
        reply.status = status;
        if (reply.message.isEmpty() && conn_) reply.message = oneLine(PQerrorMessage(conn_));
        if (status == ServerReply::Status::NoAnswer) close(); // what it would answer comes too late
        return reply;
    };
    if (!isOpen()) return fail(ServerReply::Status::Broken);
    const BusyPointer busy;
    const QDeadlineTimer deadline(serverwait::kAnswerSeconds * 1000);

    const QByteArray statement = numbered(sql);
    std::vector<std::optional<QByteArray>> texts;
    std::vector<const char*> pointers;
    for (const QVariant& p : params)
        texts.push_back(parameterText(p));
    for (const auto& t : texts)
        pointers.push_back(t ? t->constData() : nullptr);
    const int sent = params.isEmpty()
                         ? PQsendQuery(conn_, statement.constData())
                         : PQsendQueryParams(conn_, statement.constData(), static_cast<int>(pointers.size()),
                                             nullptr, pointers.data(), nullptr, nullptr, 0);
    if (!sent)
        return fail(PQstatus(conn_) == CONNECTION_BAD ? ServerReply::Status::Broken
                                                      : ServerReply::Status::Error);

    for (int flushed = PQflush(conn_); flushed != 0; flushed = PQflush(conn_)) {
        if (flushed < 0) return fail(ServerReply::Status::Broken);
        const Ready ready = waitOn(PQsocket(conn_), true, deadline);
        if (ready == Ready::TimedOut) return fail(ServerReply::Status::NoAnswer);
        if (ready == Ready::Failed || !PQconsumeInput(conn_)) return fail(ServerReply::Status::Broken);
    }
    for (;;) {
        while (PQisBusy(conn_)) {
            const Ready ready = waitOn(PQsocket(conn_), false, deadline);
            if (ready == Ready::TimedOut) return fail(ServerReply::Status::NoAnswer);
            if (ready == Ready::Failed || !PQconsumeInput(conn_)) return fail(ServerReply::Status::Broken);
        }
        PGresult* result = PQgetResult(conn_);
        if (!result) break;
        take(result, reply);
        PQclear(result);
    }
    if (PQstatus(conn_) == CONNECTION_BAD) return fail(ServerReply::Status::Broken);
    return reply;
}
