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
// The catalogue is read as a query (not through a name lookup, whose cache may still
// miss a table another copy has just made) and whatever rights the role has on the
// table: the information schema would hide a table the role may not use, and the
// program would then try to make it again.
bool tableExists(Connection& cn, const QString& table) {
    RecordsetPtr rs =
        GetRS(cn,
              QStringLiteral("SELECT 1 FROM pg_catalog.pg_class c JOIN pg_catalog.pg_namespace n "
                             "ON n.oid = c.relnamespace WHERE c.relname = ? AND n.nspname = "
                             "current_schema()"),
              QStringLiteral("read"), {table.toLower()});
    return !rs->eof();
}

// A role's name as the server reads it in a statement that cannot take it as a value.
QString quotedName(const QString& name) {
    return u'"' + QString(name).replace(u'"', QStringLiteral("\"\"")) + u'"';
}

bool yes(const Recordset& rs, int field) {
    return !rs.field(field).isNull() && rs.field(field).toBool();
}

int storedVersion(Connection& cn) {
    RecordsetPtr rs =
        GetRS(cn, QStringLiteral("SELECT MAX(Version) FROM %1").arg(versionTable()), QStringLiteral("read"));
    return rs->eof() || rs->field(0).isNull() ? 0 : rs->field(0).toInt();
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
        refuseOnServer(cn, ServerProblem::ForeignTable, QString());
    const int version = storedVersion(cn);
    if (version > kRecordsSchemaVersion)
        refuseOnServer(cn, ServerProblem::NewerSchema, QString::number(version));
    // The version table without the records (dropped by hand): the records table again.
    if (!tableExists(cn, myValues()))
        runTransaction(cn, [&] { ExecCmdInDB(cn, serverSchemaStatements().first()); });
}

Rights rightsOf(Connection& cn) {
    Rights r;
    RecordsetPtr rs =
        GetRS(cn, QStringLiteral("SELECT current_user, has_schema_privilege(current_schema(), 'CREATE')"),
              QStringLiteral("read"));
    r.role = rs->field(0).toString();
    r.mayCreate = yes(*rs, 1);
    r.tablesExist = tableExists(cn, myValues()) && tableExists(cn, versionTable());
    if (!r.tablesExist) {
        r.mayGrant = r.mayCreate; // who makes the tables owns them
        return r;
    }
    rs =
        GetRS(cn,
              QStringLiteral("SELECT has_table_privilege(?::text, 'SELECT') AND has_table_privilege(?::text, "
                             "'SELECT'), has_table_privilege(?::text, 'INSERT') AND "
                             "has_table_privilege(?::text, 'DELETE'), pg_has_role((SELECT relowner FROM "
                             "pg_class WHERE oid = to_regclass(?::text)), 'USAGE')"),
              QStringLiteral("read"),
              {myValues().toLower(), versionTable().toLower(), myValues().toLower(), myValues().toLower(),
               myValues().toLower()});
    r.mayRead = yes(*rs, 0);
    r.mayChange = yes(*rs, 1);
    r.mayGrant = yes(*rs, 2);
    return r;
}

QString ownerOf(Connection& cn) {
    RecordsetPtr rs = GetRS(cn,
                            QStringLiteral("SELECT pg_get_userbyid(relowner) FROM pg_class "
                                           "WHERE oid = to_regclass(?::text)"),
                            QStringLiteral("read"), {myValues().toLower()});
    return rs->eof() ? QString() : rs->field(0).toString();
}

GrantOutcome grant(Connection& cn, const QString& role, bool readOnly) {
    if (GetRS(cn, QStringLiteral("SELECT 1 FROM pg_roles WHERE rolname = ?"), QStringLiteral("read"), {role})
            ->eof())
        return GrantOutcome::NoSuchRole;
    // The server would only warn that a role without the grant option granted nothing.
    if (!rightsOf(cn).mayGrant) return GrantOutcome::NotOwner;
    const QString grantee = quotedName(role);
    runTransaction(cn, [&] {
        ExecCmdInDB(cn,
                    QStringLiteral("GRANT SELECT ON %1, %2 TO %3").arg(myValues(), versionTable(), grantee));
        if (readOnly)
            ExecCmdInDB(cn, QStringLiteral("REVOKE INSERT, UPDATE, DELETE, TRUNCATE ON %1 FROM %2")
                                .arg(myValues(), grantee));
        else
            ExecCmdInDB(cn, QStringLiteral("GRANT INSERT, DELETE ON %1 TO %2").arg(myValues(), grantee));
    });
    return GrantOutcome::Granted;
}

} // namespace recordsdb
