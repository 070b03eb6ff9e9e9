// The firm records on a PostgreSQL server (office mode), through the same record
// operations as the local file: the schema made on first use, save as one replacement,
// load, list, delete, the copy between the local file and the server, and the
// failures an adviser meets: a server out of reach, a refused or missing password, a
// newer or foreign database, a connection killed in the middle of a save, a backend
// that stops answering.

#include "data/DBTools.h"
#include "data/ServerSession.h"
#include "firm/FirmRecords.h"
#include "firm/LineItems.h"
#include "userdb/RecordsDatabase.h"

#include "firm/FirmTestDatabase.h"
#include "support/PostgresServer.h"

#include <QElapsedTimer>
#include <QThread>
#include <QtTest>

#include <atomic>
#include <csignal>

namespace {

ServerAddress addressOf(const QString& url) {
    const ParsedAddress parsed = parseServerAddress(url);
    if (!parsed.address) qFatal("not an address: %s", qPrintable(url));
    return *parsed.address;
}

// The message a server failure shows, or an empty text when nothing failed.
template <class F> QString failureOf(F&& action, ServerProblem* problem = nullptr) {
    try {
        action();
    } catch (const ServerFailure& e) {
        if (problem) *problem = e.problem();
        return e.description();
    }
    return QString();
}

} // namespace

class TestRecordsServer : public QObject {
    Q_OBJECT

    PostgresServer server;
    int databases = 0;

    // A fresh, empty database of the server, and its address.
    QString freshDatabase() {
        const QString name = QStringLiteral("records%1").arg(++databases);
        if (!server.createDatabase(name)) qWarning("%s", qPrintable(server.error()));
        return name;
    }
    Connection openFresh(QString* name = nullptr) {
        const QString db = freshDatabase();
        if (name) *name = db;
        Connection cn;
        recordsdb::openServer(cn, addressOf(server.url(db)));
        return cn;
    }
    // A session of psql that holds MyValues of the database until release().
    bool holdTable(QProcess& holder, const QString& db) {
        holder.start(PostgresServer::binDir() + QStringLiteral("/psql"),
                     {QStringLiteral("-X"), QStringLiteral("-q"), QStringLiteral("-h"), server.socketDir(),
                      QStringLiteral("-p"), QString::number(server.port()), QStringLiteral("-U"),
                      QLatin1String(PostgresServer::kUser), QStringLiteral("-d"), db});
        if (!holder.waitForStarted()) return false;
        holder.write("BEGIN; LOCK TABLE myvalues IN ACCESS EXCLUSIVE MODE; SELECT 'locked';\n");
        return holder.waitForReadyRead(30000);
    }
    static bool release(QProcess& holder) {
        holder.write("ROLLBACK;\n\\q\n");
        holder.closeWriteChannel();
        return holder.waitForFinished(30000);
    }

    QString scalar(const QString& sql, const QString& db) {
        QString out;
        if (!server.sql(sql, db, &out)) qWarning("%s", qPrintable(server.error()));
        return out;
    }

private slots:
    void initTestCase() {
        if (!PostgresServer::installed()) QSKIP(qPrintable(PostgresServer::skipReason()));
        QVERIFY2(server.start(), qPrintable(server.error()));
        qputenv("PGPASSWORD", PostgresServer::kPassword);
        qputenv("PGPASSFILE", "/nonexistent/pgpass"); // never the tester's own ~/.pgpass
    }
    void cleanupTestCase() { server.stop(); }

    void schemaIsMadeOnAnEmptyDatabase() {
        QString db;
        Connection cn = openFresh(&db);
        QCOMPARE(scalar(QStringLiteral("select version from records_version"), db), QStringLiteral("1"));
        // The columns of the local file: the key, the industry code and the 32 line items.
        const QString columns =
            scalar(QStringLiteral(
                       "select string_agg(column_name || ':' || data_type, ',' order by ordinal_position) "
                       "from information_schema.columns where table_name = 'myvalues'"),
                   db);
        QStringList expected{QStringLiteral("firmname:text"), QStringLiteral("year:integer"),
                             QStringLiteral("naics:text")};
        for (const char* c : {"cash",
                              "ar",
                              "inv",
                              "ca",
                              "oa",
                              "toa",
                              "invest",
                              "ptfl",
                              "ta",
                              "operatingrevenue",
                              "sales",
                              "grossprofit",
                              "operatingprofit",
                              "interestexpense",
                              "pretaxprofit",
                              "profitaftertax",
                              "accountspayable",
                              "paper",
                              "mtg",
                              "bonds",
                              "ol",
                              "amtsaffil",
                              "oliab",
                              "deftax",
                              "tliab",
                              "sharec",
                              "retearn",
                              "othersur",
                              "equity1",
                              "totliabshareeq",
                              "currentassets",
                              "currentliabilities"})
            expected << QLatin1String(c) + QStringLiteral(":double precision");
        QCOMPARE(columns.split(u','), expected);
        // The unique key on name and year holds on the server itself.
        QVERIFY(server.sql(QStringLiteral("insert into myvalues (firmname, year) values ('A', 2010)"), db));
        QVERIFY(!server.sql(QStringLiteral("insert into myvalues (firmname, year) values ('A', 2010)"), db));
        DisconnectFromDB(cn);
        // A second opening finds the schema and leaves the rows alone.
        recordsdb::openServer(cn, addressOf(server.url(db)));
        QCOMPARE(firmrecords::count(cn), qsizetype(1));
        DisconnectFromDB(cn);
    }

    void newerOrForeignDatabaseIsRefused_data() {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<int>("problem");
        QTest::addColumn<QString>("words");
        QTest::newRow("newer version") << "create table records_version (version integer not null); "
                                          "insert into records_version values (7)"
                                       << int(ServerProblem::NewerSchema) << "newer version";
        QTest::newRow("a MyValues of another program") << "create table myvalues (firmname text, year int)"
                                                       << int(ServerProblem::ForeignTable) << "did not make";
    }
    void newerOrForeignDatabaseIsRefused() {
        QFETCH(QString, setup);
        QFETCH(int, problem);
        QFETCH(QString, words);
        const QString db = freshDatabase();
        QVERIFY(server.sql(setup, db));
        Connection cn;
        ServerProblem found = ServerProblem::Failed;
        const QString message =
            failureOf([&] { recordsdb::openServer(cn, addressOf(server.url(db))); }, &found);
        QCOMPARE(int(found), problem);
        QVERIFY2(message.contains(words) && message.contains(db) && message.contains(server.socketDir()),
                 qPrintable(message));
        DisconnectFromDB(cn);
    }

    void saveOpenListDelete() {
        Connection cn = openFresh();
        FirmStatement f = firmWith(QStringLiteral("O'Neil & Sons"), QStringLiteral("2010"),
                                   {{"Cash", "1234.5"}, {"Ar", "0.1"}, {"Sales", "-77"}});
        firmrecords::store(cn, f);
        f.values[0] = QStringLiteral("99");
        firmrecords::store(cn, f); // replaces, one row
        QCOMPARE(firmrecords::count(cn), qsizetype(1));
        const auto loaded = firmrecords::load(cn, f.firmName, QStringLiteral("2010"));
        QVERIFY(loaded);
        QCOMPARE(loaded->values[0], QStringLiteral("99"));
        QCOMPARE(loaded->values[1], QStringLiteral("0.1"));
        QCOMPARE(loaded->naics, QStringLiteral("448140"));
        QVERIFY(firmrecords::exists(cn, f.firmName, QStringLiteral("2010")));
        QVERIFY(!firmrecords::exists(cn, f.firmName, QStringLiteral("2011")));
        QVERIFY(firmrecords::remove(cn, f.firmName, QStringLiteral("2010")));
        QVERIFY(!firmrecords::remove(cn, f.firmName, QStringLiteral("2010")));
        QCOMPARE(firmrecords::count(cn), qsizetype(0));
        DisconnectFromDB(cn);
    }

    // Both engines list in one order: name with the letters A to Z folded, then the
    // name as stored, then the year; the server's own collation plays no part.
    void listOrderIsTheLocalFileOrder() {
        Connection cn = openFresh();
        FirmTestDatabase local;
        const QStringList names{QStringLiteral("beta"),      QStringLiteral("Alpha"),
                                QStringLiteral("alpha"),     QStringLiteral("Zulu"),
                                QString::fromUtf8("Éclair"), QStringLiteral("_under")};
        for (const QString& n : names)
            for (const char* y : {"2011", "2009"}) {
                firmrecords::store(cn, firmWith(n, QLatin1String(y)));
                firmrecords::store(local.cn, firmWith(n, QLatin1String(y)));
            }
        const auto keys = [](const QList<firmrecords::StoredKey>& list) {
            QStringList out;
            for (const auto& k : list)
                out << k.firmName + u'/' + k.year;
            return out;
        };
        const QStringList onServer = keys(firmrecords::list(cn));
        QCOMPARE(onServer, keys(firmrecords::list(local.cn)));
        // "_" (0x5F) comes before the folded letters; capitals before small ones among equals.
        QCOMPARE(onServer.mid(0, 7), (QStringList{"_under/2009", "_under/2011", "Alpha/2009", "Alpha/2011",
                                                  "alpha/2009", "alpha/2011", "beta/2009"}));
        RecordsetPtr rs = firmrecords::listRecordset(cn, Language::F);
        QCOMPARE(rs->fieldName(0), QStringLiteral("Nom"));
        QCOMPARE(rs->fieldName(1), QString::fromUtf8("Année"));
        QCOMPARE(rs->recordCount(), 12);
        DisconnectFromDB(cn);
    }

    void importIsAllOrNothing() {
        Connection cn = openFresh();
        firmrecords::store(cn, firmWith(QStringLiteral("B"), QStringLiteral("2011")));
        const QList<FirmStatement> firms{
            firmWith(QStringLiteral("A"), QStringLiteral("2011")),
            firmWith(QStringLiteral("B"), QStringLiteral("2011"), {{"Cash", "5"}})};
        QCOMPARE(firmrecords::storeAll(cn, firms, firmrecords::Existing::Refuse),
                 std::optional<qsizetype>(1));
        QCOMPARE(firmrecords::count(cn), qsizetype(1));
        QCOMPARE(firmrecords::storeAll(cn, firms, firmrecords::Existing::Replace), std::nullopt);
        QCOMPARE(firmrecords::count(cn), qsizetype(2));
        QCOMPARE(firmrecords::load(cn, QStringLiteral("B"), QStringLiteral("2011"))->values[0],
                 QStringLiteral("5"));
        DisconnectFromDB(cn);
    }

    // A copy keeps every stored value to the last bit, subtotals as stored included.
    void copyToTheServerAndBack() {
        FirmTestDatabase local;
        QList<double> odd{0.1 + 0.2, 1.0 / 3.0, 123456789.123456789, -1e-9, 9.87654321e14};
        ExecCmdInDB(local.cn,
                    QStringLiteral("INSERT INTO MyValues (FirmName, Year, NAICS, Cash, Ar, Inv, CA, OA, Toa) "
                                   "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)"),
                    {QStringLiteral("Exact Ltd."), 2009, QStringLiteral("111"), odd[0], odd[1], odd[2],
                     odd[3], odd[4], 42.0});
        firmrecords::store(local.cn,
                           firmWith(QStringLiteral("Second"), QStringLiteral("2011"), {{"Cash", "3"}}));

        Connection cn = openFresh();
        QCOMPARE(firmrecords::copyAll(local.cn, cn, firmrecords::Existing::Refuse, Language::E),
                 std::nullopt);
        QCOMPARE(firmrecords::count(cn), qsizetype(2));
        RecordsetPtr rs =
            GetRS(cn, QStringLiteral("SELECT Cash, Ar, Inv, CA, OA, Toa FROM MyValues WHERE FirmName = ?"),
                  QStringLiteral("read"), {QStringLiteral("Exact Ltd.")});
        for (int i = 0; i < 5; ++i)
            QCOMPARE(rs->field(i).toDouble(), odd[i]);
        QCOMPARE(rs->field(5).toDouble(), 42.0); // the subtotal as stored, not recomputed

        // Back into the local file: refused while the firms are there, replaced on request.
        firmrecords::store(cn, firmWith(QStringLiteral("Second"), QStringLiteral("2011"), {{"Cash", "8"}}));
        const auto refused = firmrecords::copyAll(cn, local.cn, firmrecords::Existing::Refuse, Language::E);
        QVERIFY(refused);
        QCOMPARE(local.stored(QStringLiteral("Second"), 2011, QStringLiteral("Cash")).toDouble(), 3.0);
        QCOMPARE(firmrecords::copyAll(cn, local.cn, firmrecords::Existing::Replace, Language::E),
                 std::nullopt);
        QCOMPARE(local.stored(QStringLiteral("Second"), 2011, QStringLiteral("Cash")).toDouble(), 8.0);
        QCOMPARE(local.stored(QStringLiteral("Exact Ltd."), 2009, QStringLiteral("Inv")).toDouble(), odd[2]);
        QCOMPARE(local.rowCount(), 2);
        DisconnectFromDB(cn);
    }

    void failuresNameTheServer_data() {
        QTest::addColumn<QString>("password");
        QTest::addColumn<bool>("otherPort");
        QTest::addColumn<int>("problem");
        QTest::addColumn<QString>("words");
        QTest::newRow("nothing listens")
            << PostgresServer::kPassword << true << int(ServerProblem::Unreachable) << "cannot be reached";
        QTest::newRow("wrong password")
            << "not-the-password" << false << int(ServerProblem::Refused) << "refused";
        QTest::newRow("no password anywhere") << "" << false << int(ServerProblem::PasswordMissing)
                                              << "none was found in ~/.pgpass or PGPASSWORD";
    }
    void failuresNameTheServer() {
        QFETCH(QString, password);
        QFETCH(bool, otherPort);
        QFETCH(int, problem);
        QFETCH(QString, words);
        const QString db = freshDatabase();
        QString url = server.url(db);
        if (otherPort)
            url.replace(QStringLiteral("port=%1").arg(server.port()),
                        QStringLiteral("port=%1").arg(server.port() + 1));
        if (password.isEmpty())
            qunsetenv("PGPASSWORD");
        else
            qputenv("PGPASSWORD", password.toUtf8());
        Connection cn;
        ServerProblem found = ServerProblem::Failed;
        const QString message = failureOf([&] { recordsdb::openServer(cn, addressOf(url)); }, &found);
        qputenv("PGPASSWORD", PostgresServer::kPassword);
        QCOMPARE(int(found), problem);
        QVERIFY2(message.contains(words) && message.contains(server.socketDir()) && message.contains(db),
                 qPrintable(message));
        QVERIFY2(message.contains(QStringLiteral("Nothing was written")), qPrintable(message));
        QVERIFY(!cn || !cn->isOpen());
        DisconnectFromDB(cn);
    }

    // The server's failures come in the user's language.
    void failureInFrench() {
        setMessageLanguage([] { return Language::F; });
        QString url = server.url(QStringLiteral("postgres"));
        url.replace(QStringLiteral("port=%1").arg(server.port()),
                    QStringLiteral("port=%1").arg(server.port() + 2));
        Connection cn;
        const QString message = failureOf([&] { recordsdb::openServer(cn, addressOf(url)); });
        setMessageLanguage(nullptr);
        QVERIFY2(message.startsWith(QStringLiteral("Le serveur des fiches")) &&
                     message.contains(QStringLiteral("injoignable")) &&
                     message.contains(QString::fromUtf8("Rien n'a été écrit")),
                 qPrintable(message));
        DisconnectFromDB(cn);
    }

    // The saving connection is killed while its save waits for a row another session
    // holds: the save fails with the program's message, which says for certain that
    // nothing was written (the commit was never sent), the stored record is the old one,
    // whole, and the next operation connects again by itself.
    void connectionKilledDuringASave() {
        QString db;
        Connection cn = openFresh(&db);
        const FirmStatement before =
            firmWith(QStringLiteral("Held Ltd."), QStringLiteral("2011"), {{"Cash", "1"}, {"Ar", "2"}});
        firmrecords::store(cn, before);

        // Another session holds the table, so the save waits inside its transaction;
        // a watcher kills the saving connection as soon as it is seen waiting.
        QProcess holder;
        QVERIFY(holdTable(holder, db));

        std::atomic<bool> killed{false};
        QThread* watcher = QThread::create([&] {
            PostgresServer& s = server;
            for (int i = 0; i < 3000 && !killed; ++i) {
                QString out;
                s.sql(QStringLiteral("select pg_terminate_backend(pid) from pg_stat_activity where "
                                     "application_name = 'ventrolux' and wait_event_type = 'Lock'"),
                      db, &out);
                if (out.contains(u't'))
                    killed = true;
                else
                    QThread::msleep(20);
            }
        });
        watcher->start();
        FirmStatement after = before;
        after.values[0] = QStringLiteral("100");
        after.values[1] = QStringLiteral("200");
        ServerProblem problem = ServerProblem::Failed;
        const QString message = failureOf([&] { firmrecords::store(cn, after); }, &problem);
        watcher->wait();
        delete watcher;
        QVERIFY(release(holder));

        QVERIFY(killed);
        QCOMPARE(int(problem), int(ServerProblem::ConnectionLost));
        QVERIFY2(message.contains(QStringLiteral("was lost")) && message.contains(server.socketDir()) &&
                     message.contains(QStringLiteral("Nothing was written")) &&
                     !message.contains(QStringLiteral("either stored whole")),
                 qPrintable(message));
        // The next use connects again; the record is the old one, in every value.
        const auto stored = firmrecords::load(cn, before.firmName, before.year);
        QVERIFY(stored);
        QCOMPARE(stored->values[0], QStringLiteral("1"));
        QCOMPARE(stored->values[1], QStringLiteral("2"));
        QCOMPARE(firmrecords::count(cn), qsizetype(1));
        // And a save goes through again.
        firmrecords::store(cn, after);
        QCOMPARE(firmrecords::load(cn, before.firmName, before.year)->values[0], QStringLiteral("100"));
        DisconnectFromDB(cn);
    }

    // A save that another session keeps waiting past the lock timeout gives up: the
    // database is in use, the stored record is as it was.
    void databaseInUse() {
        QString db;
        Connection cn = openFresh(&db);
        const FirmStatement before =
            firmWith(QStringLiteral("Busy Ltd."), QStringLiteral("2010"), {{"Cash", "5"}});
        firmrecords::store(cn, before);
        QProcess holder;
        QVERIFY(holdTable(holder, db));
        FirmStatement after = before;
        after.values[0] = QStringLiteral("6");
        ServerProblem problem = ServerProblem::Failed;
        const QString message = failureOf([&] { firmrecords::store(cn, after); }, &problem);
        QVERIFY(release(holder));
        QCOMPARE(int(problem), int(ServerProblem::InUse));
        QVERIFY2(message.contains(QStringLiteral("is in use")) && message.contains(db), qPrintable(message));
        QCOMPARE(firmrecords::load(cn, before.firmName, before.year)->values[0], QStringLiteral("5"));
        DisconnectFromDB(cn);
    }

    // A backend that stops answering (paused): the request gives up within the bound,
    // with the program's message. Before the commit nothing was written, for certain; a
    // commit whose answer never came may have been carried out, and the message says so.
    void pausedBackend_data() {
        QTest::addColumn<bool>("atCommit");
        QTest::addColumn<QString>("outcome");
        QTest::newRow("a save") << false << "Nothing was written";
        QTest::newRow("the commit") << true << "either stored whole or not at all";
    }
    void pausedBackend() {
        QFETCH(bool, atCommit);
        QFETCH(QString, outcome);
        Connection cn = openFresh();
        const auto pid =
            static_cast<pid_t>(GetRS(cn, QStringLiteral("SELECT pg_backend_pid()"), QStringLiteral("read"))
                                   ->field(0)
                                   .toLongLong());
        const FirmStatement firm = firmWith(QStringLiteral("Paused Ltd."), QStringLiteral("2011"));
        QElapsedTimer clock;
        const auto pause = [&] {
            QCOMPARE(::kill(pid, SIGSTOP), 0);
            clock.start();
        };
        ServerProblem problem = ServerProblem::Failed;
        const QString message = failureOf(
            [&] {
                if (!atCommit) {
                    pause();
                    firmrecords::store(cn, firm);
                    return;
                }
                Transaction tx(cn);
                ExecCmdInDB(cn, QStringLiteral("DELETE FROM MyValues WHERE FirmName = ?"), {firm.firmName});
                pause();
                tx.commit();
            },
            &problem);
        const qint64 waited = clock.elapsed();
        ::kill(pid, SIGCONT);
        qInfo("a paused backend: the message came after %lld ms", static_cast<long long>(waited));
        QCOMPARE(int(problem), int(ServerProblem::NoAnswer));
        QVERIFY2(waited < (serverwait::kAnswerSeconds + 2) * 1000, qPrintable(QString::number(waited)));
        QVERIFY2(message.contains(
                     QStringLiteral("did not answer within %1 seconds").arg(serverwait::kAnswerSeconds)) &&
                     message.contains(outcome),
                 qPrintable(message));
        // The next request connects again.
        QCOMPARE(firmrecords::count(cn), qsizetype(0));
        DisconnectFromDB(cn);
    }

    void addresses_data() {
        QTest::addColumn<QString>("url");
        QTest::addColumn<QString>("server");
        QTest::addColumn<QString>("database");
        QTest::addColumn<int>("problem"); // -1: usable
        QTest::newRow("full") << "postgresql://ann@db.office.example:6543/clients"
                              << "db.office.example:6543"
                              << "clients" << -1;
        QTest::newRow("short scheme, no port") << "postgres://ann@db/clients"
                                               << "db"
                                               << "clients" << -1;
        QTest::newRow("socket folder") << "postgresql://ann@/clients?host=/run/postgresql&port=5433"
                                       << "/run/postgresql:5433"
                                       << "clients" << -1;
        QTest::newRow("no user, no host") << "postgresql:///clients"
                                          << "localhost"
                                          << "clients" << -1;
        QTest::newRow("IPv6") << "postgresql://ann@[::1]/clients"
                              << "[::1]"
                              << "clients" << -1;
        QTest::newRow("IPv6 and a port") << "postgresql://ann@[fe80::1:2]:5433/clients"
                                         << "[fe80::1:2]:5433"
                                         << "clients" << -1;
        QTest::newRow("password") << "postgresql://ann:secret@db/clients"
                                  << ""
                                  << "" << int(AddressProblem::HasPassword);
        QTest::newRow("password setting") << "postgresql://ann@db/clients?password=x"
                                          << ""
                                          << "" << int(AddressProblem::HasPassword);
        QTest::newRow("no database") << "postgresql://ann@db:5432/"
                                     << ""
                                     << "" << int(AddressProblem::NoDatabase);
        QTest::newRow("other scheme") << "mysql://ann@db/clients"
                                      << ""
                                      << "" << int(AddressProblem::NotAnAddress);
        QTest::newRow("a file") << "/home/ann/myData.db"
                                << ""
                                << "" << int(AddressProblem::NotAnAddress);
        QTest::newRow("port out of range") << "postgresql://ann@db:70000/clients"
                                           << ""
                                           << "" << int(AddressProblem::BadPort);
        QTest::newRow("unknown setting") << "postgresql://ann@db/clients?options=-c%20x"
                                         << ""
                                         << "" << int(AddressProblem::UnknownSetting);
        QTest::newRow("ssl mode outside the list")
            << "postgresql://ann@db/clients?sslmode=require%20host=evil"
            << ""
            << "" << int(AddressProblem::UnknownSetting);
    }
    void addresses() {
        QFETCH(QString, url);
        QFETCH(QString, server);
        QFETCH(QString, database);
        QFETCH(int, problem);
        const ParsedAddress parsed = parseServerAddress(url);
        if (problem >= 0) {
            QVERIFY(!parsed.address);
            QCOMPARE(int(parsed.problem), problem);
            return;
        }
        QVERIFY(parsed.address);
        QCOMPARE(parsed.address->serverName(), server);
        QCOMPARE(parsed.address->database, database);
        // The address as kept reads back as the same address.
        const ParsedAddress again = parseServerAddress(parsed.address->url());
        QVERIFY(again.address);
        QCOMPARE(again.address->url(), parsed.address->url());
        QCOMPARE(again.address->user, parsed.address->user);
    }
};

QTEST_GUILESS_MAIN(TestRecordsServer)
#include "test_records_server.moc"
