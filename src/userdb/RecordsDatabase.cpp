#include "userdb/RecordsDatabase.h"

#include "data/Catalogue.h"
#include "firm/LineItems.h"

namespace recordsdb {

namespace {

QString myValues() {
    return catalogue::table(QLatin1String(catalogue::MyValues));
}
QString versionTable() {
    return catalogue::table(QLatin1String(catalogue::RecordsVersion));
}

// The server folds unquoted names to lower case, and so finds them in its catalogue.
bool tableExists(Connection& cn, const QString& table) {
    RecordsetPtr rs = GetRS(cn,
                            QStringLiteral("SELECT 1 FROM information_schema.tables "
                                           "WHERE table_schema = current_schema() AND table_name = ?"),
                            QStringLiteral("read"), {table.toLower()});
    return !rs->eof();
}

int storedVersion(Connection& cn) {
    RecordsetPtr rs =
        GetRS(cn, QStringLiteral("SELECT MAX(Version) FROM %1").arg(versionTable()), QStringLiteral("read"));
    return rs->eof() || rs->field(0).isNull() ? 0 : rs->field(0).toInt();
}

[[noreturn]] void refuse(const Connection& cn, ServerProblem problem, const QString& detail) {
    throw ServerFailure(problem, serverFailureText(problem, *cn->serverAddress(), detail));
}

// Any number, the same in every copy of the program: the key of the server-wide lock
// under which the schema is made.
constexpr qint64 kSchemaLockKey = 0x56656e74726f;

enum class Found { Made, Present, Foreign };

// Makes the schema on an empty database. Everything is looked at under the lock, in one
// transaction: another copy starting on the same empty database at the same moment
// waits here until the first has made the tables, then finds them.
Found createSchema(Connection& cn) {
    Found found = Found::Made;
    runTransaction(cn, [&] {
        GetRS(cn, QStringLiteral("SELECT pg_advisory_xact_lock(?)"), QStringLiteral("read"),
              {kSchemaLockKey});
        found = Found::Made;
        if (tableExists(cn, versionTable())) {
            found = Found::Present;
            return;
        }
        if (tableExists(cn, myValues())) {
            found = Found::Foreign; // nothing made; the transaction ends empty
            return;
        }
        for (const QString& statement : serverSchemaStatements())
            ExecCmdInDB(cn, statement);
        ExecCmdInDB(cn, QStringLiteral("INSERT INTO %1 (Version) VALUES (?)").arg(versionTable()),
                    {kRecordsSchemaVersion});
    });
    return found;
}

} // namespace

QStringList serverSchemaStatements() {
    // Unquoted names, so that the program's SQL finds them whatever their letter case;
    // the values are double precision, as the local file keeps them.
    QStringList columns{QStringLiteral("FirmName TEXT NOT NULL"), QStringLiteral("Year INTEGER NOT NULL"),
                        QStringLiteral("NAICS TEXT")};
    for (const lineitems::LineItem& item : lineitems::all())
        columns << QLatin1String(item.column) + QStringLiteral(" DOUBLE PRECISION");
    columns << QStringLiteral("UNIQUE (FirmName, Year)");
    return {QStringLiteral("CREATE TABLE %1 (%2)").arg(myValues(), columns.join(QStringLiteral(", "))),
            QStringLiteral("CREATE TABLE %1 (Version INTEGER NOT NULL)").arg(versionTable())};
}

void openServer(Connection& cn, const ServerAddress& address) {
    ConnectToServer(cn, address);
    if (!tableExists(cn, versionTable()) && createSchema(cn) == Found::Foreign)
        refuse(cn, ServerProblem::ForeignTable, QString());
    const int version = storedVersion(cn);
    if (version > kRecordsSchemaVersion) refuse(cn, ServerProblem::NewerSchema, QString::number(version));
    // The version table without the records (dropped by hand): the records table again.
    if (!tableExists(cn, myValues()))
        runTransaction(cn, [&] { ExecCmdInDB(cn, serverSchemaStatements().first()); });
}

} // namespace recordsdb
