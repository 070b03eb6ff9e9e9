// ventrolux-cli in office mode: the firms commands on a records server named by
// --records (or by the settings), firms copy between the local file and the server,
// the advisers' roles and their rights, and what the tool says when the server cannot
// be used: within a bounded time, never showing a password.

#include "cli/CliCommands.h"
#include "data/ServerSession.h"
#include "firm/FirmRecords.h"
#include "state/RecordsPlace.h"

#include "cli/CliSandbox.h"
#include "support/PostgresServer.h"

#include <QElapsedTimer>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStandardPaths>
#include <QtTest>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// A port that takes connections into its queue and never answers them; 0 when none
// could be opened on the loopback address of the family.
class SilentListener {
public:
    explicit SilentListener(bool ipv6) {
        fd_ = ::socket(ipv6 ? AF_INET6 : AF_INET, SOCK_STREAM, 0);
        sockaddr_storage address{};
        socklen_t length = 0;
        if (ipv6) {
            auto* a = reinterpret_cast<sockaddr_in6*>(&address);
            a->sin6_family = AF_INET6;
            a->sin6_addr = in6addr_loopback;
            length = sizeof(sockaddr_in6);
        } else {
            auto* a = reinterpret_cast<sockaddr_in*>(&address);
            a->sin_family = AF_INET;
            a->sin_addr.s_addr = htonl(INADDR_LOOPBACK);
            length = sizeof(sockaddr_in);
        }
        if (fd_ < 0 || ::bind(fd_, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
            ::listen(fd_, 8) != 0 || ::getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &length) != 0)
            return;
        port_ = ntohs(ipv6 ? reinterpret_cast<sockaddr_in6*>(&address)->sin6_port
                           : reinterpret_cast<sockaddr_in*>(&address)->sin_port);
    }
    ~SilentListener() {
        if (fd_ >= 0) ::close(fd_);
    }
    int port() const { return port_; }

private:
    int fd_ = -1;
    int port_ = 0;
};

const QString kSecret = QStringLiteral("S3cr%40t!");

} // namespace

class TestOfficeCli : public QObject {
    Q_OBJECT

    PostgresServer server;
    int databases = 0;

    QString freshUrl() {
        const QString name = QStringLiteral("office%1").arg(++databases);
        if (!server.createDatabase(name)) qWarning("%s", qPrintable(server.error()));
        return server.url(name);
    }
    static QString firmFile(const CliSandbox& s, const QString& name, const QString& cash) {
        return s.write(name + QStringLiteral(".csv"),
                       csvList({balancedFirm(
                           name, QStringLiteral("2011"), QStringLiteral("448140"),
                           {{QStringLiteral("Cash"), cash}, {QStringLiteral("CA"), QStringLiteral("0")}})}));
    }
    static QString firmJson(const CliSandbox& s, const QString& name) {
        QJsonObject o{{QStringLiteral("FirmName"), name},
                      {QStringLiteral("Year"), 2011},
                      {QStringLiteral("NAICS"), QStringLiteral("448140")}};
        return s.write(QStringLiteral("firm.json"), QJsonDocument(o).toJson());
    }
    // The stored firms as the tool lists them.
    static QStringList listed(const CliSandbox& s, const QStringList& where) {
        const CliResult r = s.run(QStringList{QStringLiteral("firms"), QStringLiteral("list")} + where);
        if (r.status != 0) qWarning("%s", qPrintable(r.err));
        return r.out.split(u'\n', Qt::SkipEmptyParts);
    }

private slots:
    void initTestCase() {
        if (!PostgresServer::installed()) QSKIP(qPrintable(PostgresServer::skipReason()));
        QStandardPaths::setTestModeEnabled(true); // the settings of the tests, never the tester's own
        QVERIFY2(server.start(), qPrintable(server.error()));
        for (const char* role : {"writer", "reader", "stranger"})
            QVERIFY2(server.createRole(QLatin1String(role)), qPrintable(server.error()));
        server.keepSettingsHere();
        modMain::SaveRecordsSetting(QString());
        qputenv("PGPASSWORD", PostgresServer::kPassword);
        qputenv("PGPASSFILE", "/nonexistent/pgpass");
    }
    void cleanupTestCase() {
        modMain::SaveRecordsSetting(QString());
        server.stop();
    }

    void firmsCommandsOnTheServer() {
        CliSandbox s;
        const QString url = freshUrl();
        const QString records = QStringLiteral("--records");
        const QString file = firmFile(s, QStringLiteral("Harbour Books"), QStringLiteral("50000"));
        CliResult r = s.run({QStringLiteral("firms"), QStringLiteral("save"), file, records, url});
        QVERIFY2(r.status == 0, qPrintable(r.err));
        // Refused a second time without --replace, as on the local file.
        r = s.run({records, url, QStringLiteral("firms"), QStringLiteral("save"), file});
        QCOMPARE(r.status, 1);
        QCOMPARE(listed(s, {records, url}), QStringList{QStringLiteral("Harbour Books\t2011\t448140")});
        // Nothing of it in the local file.
        QVERIFY(listed(s, {records, QStringLiteral("local")}).isEmpty());
        QCOMPARE(s.rows(QStringLiteral("select count(*) as n from MyValues"))
                     .first()
                     .value(QStringLiteral("n"))
                     .toInt(),
                 0);

        r = s.run({QStringLiteral("firms"), QStringLiteral("show"), QStringLiteral("Harbour Books"),
                   QStringLiteral("2011"), records, url});
        QVERIFY2(r.status == 0, qPrintable(r.err));
        QVERIFY(r.out.contains(QStringLiteral("\"Cash\": 50000")));
        r = s.run({QStringLiteral("firms"), QStringLiteral("delete"), QStringLiteral("Harbour Books"),
                   QStringLiteral("2011"), records, url});
        QVERIFY2(r.status == 0, qPrintable(r.err));
        QVERIFY(listed(s, {records, url}).isEmpty());
    }

    // Without --records the tool keeps the records where the settings say; "local"
    // overrides them.
    void theSettingsChooseTheServer() {
        CliSandbox s;
        const QString url = freshUrl();
        modMain::SaveRecordsSetting(url);
        CliResult r = s.run({QStringLiteral("firms"), QStringLiteral("save"),
                             firmFile(s, QStringLiteral("Settled Ltd."), QStringLiteral("1"))});
        modMain::SaveRecordsSetting(QString());
        QVERIFY2(r.status == 0, qPrintable(r.err));
        QCOMPARE(listed(s, {QStringLiteral("--records"), url}).size(), 1);
        QVERIFY(listed(s, {}).isEmpty());
    }

    void copyToTheServerAndBack() {
        CliSandbox s;
        const QString url = freshUrl();
        const QString clients = QStringLiteral(VENTROLUX_SOURCE_DIR "/examples/clients.csv");
        CliResult r = s.run({QStringLiteral("firms"), QStringLiteral("import"), clients});
        QVERIFY2(r.status == 0, qPrintable(r.err));
        const QStringList local = listed(s, {});
        QCOMPARE(local.size(), 20);

        const QStringList copy{QStringLiteral("firms"), QStringLiteral("copy"), QStringLiteral("--from"),
                               QStringLiteral("local"), QStringLiteral("--to"), url};
        r = s.run(copy);
        QVERIFY2(r.status == 0, qPrintable(r.err));
        QVERIFY(r.out.contains(QStringLiteral("20 firms copied")));
        QCOMPARE(listed(s, {QStringLiteral("--records"), url}), local);

        // Once more: every firm is there already, so nothing is written, and it says which.
        CliResult again = s.run(copy);
        QCOMPARE(again.status, 1);
        QVERIFY2(again.err.contains(QStringLiteral("is stored already")) &&
                     again.err.contains(server.socketDir()),
                 qPrintable(again.err));
        QVERIFY(s.run(copy + QStringList{QStringLiteral("--replace")}).status == 0);
        QCOMPARE(listed(s, {QStringLiteral("--records"), url}).size(), 20);

        // Back into another folder's local file: the same records, value for value.
        CliSandbox other;
        r = other.run({QStringLiteral("firms"), QStringLiteral("copy"), QStringLiteral("--from"), url,
                       QStringLiteral("--to"), QStringLiteral("local"), QStringLiteral("--lang"),
                       QStringLiteral("F")});
        QVERIFY2(r.status == 0, qPrintable(r.err));
        QVERIFY2(r.out.contains(QString::fromUtf8("20 entreprises copiées")), qPrintable(r.out));
        QVERIFY(s.run({QStringLiteral("firms"), QStringLiteral("export"), s.file(QStringLiteral("a.csv"))})
                    .status == 0);
        QVERIFY(
            other
                .run({QStringLiteral("firms"), QStringLiteral("export"), other.file(QStringLiteral("b.csv"))})
                .status == 0);
        QFile a(s.file(QStringLiteral("a.csv"))), b(other.file(QStringLiteral("b.csv")));
        QVERIFY(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly));
        const QByteArray exported = a.readAll();
        QVERIFY(exported.count('\n') == 21);
        QCOMPARE(b.readAll(), exported);
    }

    void copyRefusals_data() {
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::addColumn<QString>("words");
        QTest::newRow("the same place") << "local"
                                        << " local "
                                        << "name the same records";
        QTest::newRow("an address with a password") << "local"
                                                    << "postgresql://a:b@host/db"
                                                    << "password";
        QTest::newRow("not an address") << "elsewhere"
                                        << "local"
                                        << "postgresql://user@host:port/dbname";
    }
    void copyRefusals() {
        QFETCH(QString, from);
        QFETCH(QString, to);
        QFETCH(QString, words);
        CliSandbox s;
        const CliResult r = s.run({QStringLiteral("firms"), QStringLiteral("copy"), QStringLiteral("--from"),
                                   from, QStringLiteral("--to"), to});
        QCOMPARE(r.status, 1);
        QVERIFY2(r.err.contains(words), qPrintable(r.err));
    }

    // A server out of reach or a refused password: exit 1, the tool's own words in the
    // language asked for, naming the server; the local file is untouched.
    void serverThatCannotBeUsed_data() {
        QTest::addColumn<bool>("otherPort");
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("words");
        QTest::newRow("out of reach") << true << PostgresServer::kPassword << "E"
                                      << "cannot be reached";
        QTest::newRow("out of reach, French") << true << PostgresServer::kPassword << "F"
                                              << "est injoignable";
        QTest::newRow("wrong password") << false << "wrong"
                                        << "E"
                                        << "refused the connection";
        QTest::newRow("wrong password, French") << false << "wrong"
                                                << "F" << QString::fromUtf8("a refusé la connexion");
    }
    void serverThatCannotBeUsed() {
        QFETCH(bool, otherPort);
        QFETCH(QString, password);
        QFETCH(QString, language);
        QFETCH(QString, words);
        CliSandbox s;
        QString url = freshUrl();
        if (otherPort)
            url.replace(QStringLiteral("port=%1").arg(server.port()),
                        QStringLiteral("port=%1").arg(server.port() + 1));
        qputenv("PGPASSWORD", password.toUtf8());
        const CliResult r = s.run({QStringLiteral("--lang"), language, QStringLiteral("--records"), url,
                                   QStringLiteral("firms"), QStringLiteral("save"),
                                   firmFile(s, QStringLiteral("Kept Ltd."), QStringLiteral("1"))});
        qputenv("PGPASSWORD", PostgresServer::kPassword);
        QCOMPARE(r.status, 1);
        QVERIFY2(r.err.contains(words) && r.err.contains(server.socketDir()), qPrintable(r.err));
        QVERIFY2(!r.err.contains(QStringLiteral("Run-time error")), qPrintable(r.err));
        QCOMPARE(s.rows(QStringLiteral("select count(*) as n from MyValues"))
                     .first()
                     .value(QStringLiteral("n"))
                     .toInt(),
                 0);
    }

    // The owner's database, set up as the README says (records grant for each adviser),
    // and what each adviser's own login may do there: the granted one everything, the
    // one granted reading alone list, show and export, the other neither; each refusal
    // names the right and the command that grants it, and says that nothing was written.
    void advisersRoles_data() {
        QTest::addColumn<bool>("setUp");
        QTest::addColumn<QString>("role");
        QTest::addColumn<QStringList>("command"); // FILE stands for a firm file
        QTest::addColumn<int>("status");
        QTest::addColumn<QStringList>("words");
        const QStringList save{"firms", "save", "FILE", "--replace"}, list{"firms", "list"};
        QTest::newRow("granted, saves") << true << "writer" << save << 0 << QStringList{"saved"};
        QTest::newRow("granted, lists") << true << "writer" << list << 0 << QStringList{"Shared Ltd."};
        QTest::newRow("read only, lists") << true << "reader" << list << 0 << QStringList{"Shared Ltd."};
        QTest::newRow("read only, shows")
            << true << "reader" << QStringList{"firms", "show", "Shared Ltd.", "2011"} << 0
            << QStringList{"\"FirmName\": \"Shared Ltd.\""};
        QTest::newRow("read only, saves") << true << "reader" << save << 1
                                          << QStringList{"may not change", "INSERT and DELETE",
                                                         "records grant reader", "Nothing was written"};
        QTest::newRow("read only, deletes")
            << true << "reader" << QStringList{"firms", "delete", "Shared Ltd.", "2011"} << 1
            << QStringList{"may not change", "Nothing was written"};
        QTest::newRow("read only, imports")
            << true << "reader" << QStringList{"firms", "import", "FILE", "--replace"} << 1
            << QStringList{"may not change", "Nothing was written"};
        QTest::newRow("not granted, lists")
            << true << "stranger" << list << 1 << QStringList{"may not read", "records grant stranger"};
        QTest::newRow("not granted, finds no tables")
            << false << "stranger" << list << 1
            << QStringList{"holds no firm records yet", "CREATE", "records grant stranger",
                           "Nothing was written"};
        QTest::newRow("read only, checks")
            << true << "reader" << QStringList{"records", "check"} << 0
            << QStringList{"read the firm records (firms list, show, export): yes",
                           "change them (firms save, delete, import): no", "records grant reader"};
        QTest::newRow("not the owner, grants")
            << true << "writer" << QStringList{"records", "grant", "stranger"} << 1
            << QStringList{"only the owner", "adviser"};
        QTest::newRow("the owner, a role the server lacks")
            << true << PostgresServer::kUser << QStringList{"records", "grant", "nobody_here"} << 1
            << QStringList{"knows no role named nobody_here"};
    }
    void advisersRoles() {
        QFETCH(bool, setUp);
        QFETCH(QString, role);
        QFETCH(QStringList, command);
        QFETCH(int, status);
        QFETCH(QStringList, words);
        CliSandbox s;
        const QString owner = freshUrl();
        const QString name = owner.section(u'/', 3).section(u'?', 0, 0);
        if (setUp) {
            for (const QStringList& grant : {QStringList{"writer"}, QStringList{"reader", "--read-only"}}) {
                const CliResult r = s.run(QStringList{"--records", owner, "records", "grant"} + grant);
                QVERIFY2(r.status == 0 && r.err.isEmpty(), qPrintable(r.err));
            }
            QVERIFY(s.run({"--records", owner, "firms", "save", firmFile(s, "Shared Ltd.", "1")}).status ==
                    0);
        }
        command.replaceInStrings(QStringLiteral("FILE"), firmFile(s, QStringLiteral("Shared Ltd."), "2"));
        const CliResult r = s.run(QStringList{"--records", server.url(name, role)} + command);
        QCOMPARE(r.status, status);
        const QString said = r.out + r.err;
        for (const QString& w : words)
            QVERIFY2(said.contains(w), qPrintable(said));
        QVERIFY2(!said.contains(QStringLiteral("either stored whole")), qPrintable(said));
        // A successful command says nothing on standard error.
        if (status == 0) QVERIFY2(r.err.isEmpty(), qPrintable(r.err));
    }

    // A port that takes the connection and never answers: the tool gives up within the
    // connect timeout, saying so; the address may be an IPv6 one in brackets.
    void silentListener() {
        SilentListener v6(true), v4(false);
        const bool ipv6 = v6.port() != 0;
        QVERIFY(ipv6 || v4.port() != 0);
        const QString url = ipv6 ? QStringLiteral("postgresql://adviser@[::1]:%1/clients").arg(v6.port())
                                 : QStringLiteral("postgresql://adviser@127.0.0.1:%1/clients").arg(v4.port());
        CliSandbox s;
        QElapsedTimer clock;
        clock.start();
        const CliResult r = s.run({"--records", url, "firms", "list"});
        const qint64 waited = clock.elapsed();
        qInfo("a silent listener (%s): the message came after %lld ms", ipv6 ? "IPv6" : "IPv4",
              static_cast<long long>(waited));
        QCOMPARE(r.status, 1);
        QVERIFY2(r.err.contains(
                     QStringLiteral("did not answer within %1 seconds").arg(serverwait::kConnectSeconds)) &&
                     r.err.contains(ipv6 ? "[::1]" : "127.0.0.1") && r.err.contains("Nothing was written") &&
                     !r.err.contains("File > Office database"),
                 qPrintable(r.err));
        QVERIFY2(waited < (serverwait::kConnectSeconds + 2) * 1000, qPrintable(QString::number(waited)));
    }

    // An address with a password, given or kept in the settings, is refused in either
    // language without ever showing the password.
    void passwordNeverShown_data() {
        QTest::addColumn<QStringList>("command"); // SECRET stands for the address with the password
        QTest::addColumn<bool>("inSettings");
        QTest::newRow("--to") << QStringList{"firms", "copy", "--from", "local", "--to", "SECRET"} << false;
        QTest::newRow("--from") << QStringList{"firms", "copy", "--from", "SECRET", "--to", "local"} << false;
        QTest::newRow("both") << QStringList{"firms", "copy", "--from", "SECRET", "--to", "SECRET"} << false;
        QTest::newRow("--records") << QStringList{"--records", "SECRET", "firms", "list"} << false;
        QTest::newRow("--records, check") << QStringList{"--records", "SECRET", "records", "check"} << false;
        QTest::newRow("the settings") << QStringList{"firms", "list"} << true;
        QTest::newRow("the settings, grant") << QStringList{"records", "grant", "reader"} << true;
    }
    void passwordNeverShown() {
        QFETCH(QStringList, command);
        QFETCH(bool, inSettings);
        const QString secretUrl =
            QStringLiteral("postgresql://adviser:%1@db.office.example:5432/clients").arg(kSecret);
        if (inSettings) modMain::SaveRecordsSetting(secretUrl);
        command.replaceInStrings(QStringLiteral("SECRET"), secretUrl);
        CliSandbox s;
        for (const char* language : {"E", "F"}) {
            const CliResult r = s.run(QStringList{"--lang", QLatin1String(language)} + command);
            QCOMPARE(r.status, 1);
            QVERIFY(!r.err.isEmpty());
            QVERIFY2(!(r.out + r.err).contains(QStringLiteral("S3cr")), qPrintable(r.err));
        }
        modMain::SaveRecordsSetting(QString());
    }

    // One rule for firm names wherever the records are: a control character or a name
    // longer than the records keep is refused before anything is written, saying the rule.
    void namesOutsideTheRule_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("onServer");
        QTest::addColumn<QString>("words");
        const QString nul = QStringLiteral("Null") + QChar(0) + QStringLiteral("Byte Ltd.");
        const QString longName(firmrecords::kMaxNameLength + 1, u'\u00e9');
        QTest::newRow("NUL, local") << nul << false << "control character";
        QTest::newRow("NUL, server") << nul << true << "control character";
        QTest::newRow("too long, local") << longName << false << "at most 255 characters";
        QTest::newRow("too long, server") << longName << true << "at most 255 characters";
    }
    void namesOutsideTheRule() {
        QFETCH(QString, name);
        QFETCH(bool, onServer);
        QFETCH(QString, words);
        CliSandbox s;
        const QStringList where{"--records", onServer ? freshUrl() : QStringLiteral("local")};
        const CliResult r = s.run(QStringList{"firms", "save", firmJson(s, name)} + where);
        QCOMPARE(r.status, 1);
        QVERIFY2(r.err.contains(words), qPrintable(r.err));
        QVERIFY(listed(s, where).isEmpty());
    }

    // A firm the local file holds under a name the rule refuses stops a copy to the
    // server before anything is written, and the message names it.
    void copyNamesTheFirmItStopsOn() {
        CliSandbox s;
        QVERIFY(s.run({"firms", "save", firmFile(s, "Good Ltd.", "1")}).status == 0);
        {
            Connection local;
            ConnectToFile(local, s.file(QStringLiteral("myData.db")), QStringLiteral("unknown"));
            ExecCmdInDB(local, QStringLiteral("INSERT INTO MyValues (FirmName, Year) VALUES (?, 2010)"),
                        {QStringLiteral("Bad") + QChar(0) + QStringLiteral("Name")});
        }
        const QString url = freshUrl();
        const CliResult r = s.run({"firms", "copy", "--from", "local", "--to", url});
        QCOMPARE(r.status, 1);
        QVERIFY2(r.err.contains(QStringLiteral("stops at the firm Bad\\x00Name (2010)")) &&
                     r.err.contains("control character") && r.err.contains("Nothing was written"),
                 qPrintable(r.err));
        QVERIFY(listed(s, {"--records", url}).isEmpty());
    }
};

QTEST_MAIN(TestOfficeCli)
#include "test_office_cli.moc"
