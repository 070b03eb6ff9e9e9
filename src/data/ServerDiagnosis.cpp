#include "data/ServerDiagnosis.h"

#include <QSqlDriver>
#include <QStringList>
#include <QVariant>
#include <libpq-fe.h>

#include <vector>

namespace serverdiagnosis {

namespace {

constexpr int kConnectTimeoutSeconds = 10;

QString oneLine(const char* message) {
    return QString::fromLocal8Bit(message).simplified();
}

} // namespace

QString connectOptions(const ServerAddress& address) {
    QStringList options{QStringLiteral("connect_timeout=%1").arg(kConnectTimeoutSeconds),
                        QStringLiteral("application_name=ventrolux")};
    if (!address.sslMode.isEmpty()) options << QStringLiteral("sslmode=") + address.sslMode;
    return options.join(u';');
}

Diagnosis diagnose(const ServerAddress& address) {
    const QByteArray host = address.host.toLocal8Bit();
    const QByteArray port = address.port > 0 ? QByteArray::number(address.port) : QByteArray();
    const QByteArray database = address.database.toUtf8();
    const QByteArray user = address.user.toUtf8();
    const QByteArray timeout = QByteArray::number(kConnectTimeoutSeconds);
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
    keys.push_back(nullptr);
    values.push_back(nullptr);

    PGconn* conn = PQconnectdbParams(keys.data(), values.data(), 0);
    Diagnosis d{ServerProblem::Failed, QString()};
    if (!conn) return {ServerProblem::Unreachable, QStringLiteral("out of memory")};
    if (PQstatus(conn) == CONNECTION_OK) {
        // It works now: the failure was passing (a server restarting, say).
        d = {ServerProblem::Unreachable, QString()};
    } else {
        d.detail = oneLine(PQerrorMessage(conn));
        if (PQconnectionNeedsPassword(conn))
            d.problem = ServerProblem::PasswordMissing;
        else {
            // No answer, or a server starting up or shutting down, cannot serve anyone yet.
            const PGPing ping = PQpingParams(keys.data(), values.data(), 0);
            d.problem = ping == PQPING_OK ? ServerProblem::Refused : ServerProblem::Unreachable;
        }
    }
    PQfinish(conn);
    return d;
}

bool connectionBroken(const QSqlDatabase& db) {
    if (!db.isOpen() || !db.driver()) return true;
    const QVariant handle = db.driver()->handle();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "PGconn*") != 0) return false;
    PGconn* conn = *static_cast<PGconn* const*>(handle.constData());
    return !conn || PQstatus(conn) == CONNECTION_BAD;
}

} // namespace serverdiagnosis
