#pragma once
// A throw-away PostgreSQL cluster for the office-mode tests: made with initdb in a
// temporary folder, listening only on a Unix socket in that folder on a random port,
// with password authentication for its superuser (the owner of the records) and the
// advisers' login roles the tests add, and stopped and removed at the end.
// As root (CI may run so), initdb refuses to run, so the server runs as the
// unprivileged user nobody and the folder is handed to it.
//
// Tests skip only when the server's programs are not installed (Debian's postgresql).

#include <QDir>
#include <QProcess>
#include <QRandomGenerator>
#include <QSettings>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QVersionNumber>

#include <unistd.h>

class PostgresServer {
public:
    static constexpr char kUser[] = "adviser";
    static constexpr char kPassword[] = "office-secret";

    PostgresServer() = default;
    PostgresServer(const PostgresServer&) = delete;
    PostgresServer& operator=(const PostgresServer&) = delete;
    ~PostgresServer() { stop(); }

    // The folder of initdb and pg_ctl of the newest installed version; empty when none.
    static QString binDir() {
        QDir root(QStringLiteral("/usr/lib/postgresql"));
        QString best;
        QVersionNumber bestVersion;
        for (const QString& v : root.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
            const QString bin = root.filePath(v + QStringLiteral("/bin"));
            const QVersionNumber n = QVersionNumber::fromString(v);
            if (QFile::exists(bin + QStringLiteral("/initdb")) &&
                QFile::exists(bin + QStringLiteral("/pg_ctl")) && (best.isEmpty() || n > bestVersion)) {
                best = bin;
                bestVersion = n;
            }
        }
        return best;
    }
    static bool installed() { return !binDir().isEmpty(); }
    static QString skipReason() {
        return QStringLiteral("the PostgreSQL server programs (initdb, pg_ctl in /usr/lib/postgresql/*/bin; "
                              "Debian package postgresql) are not installed");
    }

    // Makes and starts the cluster; false with error() saying why.
    bool start() {
        if (!dir_.isValid()) return fail(QStringLiteral("no temporary folder"));
        bin_ = binDir();
        port_ = QRandomGenerator::global()->bounded(20000, 60000);
        const QString passwordFile = dir_.filePath(QStringLiteral("pw"));
        QFile pw(passwordFile);
        if (!pw.open(QIODevice::WriteOnly)) return fail(QStringLiteral("cannot write the password file"));
        pw.write(kPassword);
        pw.close();
        if (geteuid() == 0) {
            // The server's user must own its folder; the tests (root) reach the socket anyway.
            if (!run(QStringLiteral("/bin/chown"),
                     {QStringLiteral("-R"), QStringLiteral("nobody"), dir_.path()}, false))
                return false;
        }
        if (!run(bin_ + QStringLiteral("/initdb"),
                 {QStringLiteral("-D"), dataDir(), QStringLiteral("-U"), QLatin1String(kUser),
                  QStringLiteral("--pwfile=") + passwordFile, QStringLiteral("--auth=scram-sha-256"),
                  QStringLiteral("--no-locale"), QStringLiteral("-E"), QStringLiteral("UTF8"),
                  QStringLiteral("--no-sync")}))
            return false;
        if (!run(bin_ + QStringLiteral("/pg_ctl"),
                 {QStringLiteral("-D"), dataDir(), QStringLiteral("-w"), QStringLiteral("-l"),
                  dir_.filePath(QStringLiteral("server.log")), QStringLiteral("-o"),
                  QStringLiteral("-k %1 -p %2 -c listen_addresses='' -c fsync=off -c max_connections=40")
                      .arg(dir_.path())
                      .arg(port_),
                  QStringLiteral("start")}))
            return false;
        started_ = true;
        return true;
    }

    void stop() {
        if (!started_) return;
        started_ = false;
        run(bin_ + QStringLiteral("/pg_ctl"), {QStringLiteral("-D"), dataDir(), QStringLiteral("-m"),
                                               QStringLiteral("immediate"), QStringLiteral("stop")});
    }

    // The user's settings of this test process go to the server's folder: tests that
    // choose a records server never touch the tester's own settings, nor one another's.
    void keepSettingsHere() const {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                           dir_.filePath(QStringLiteral("settings")));
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope,
                           dir_.filePath(QStringLiteral("settings")));
    }

    QString error() const { return error_; }
    QString socketDir() const { return dir_.path(); }
    int port() const { return port_; }

    // The address of a database of this server, in the program's form.
    QString url(const QString& database, const QString& user = QLatin1String(kUser)) const {
        return QStringLiteral("postgresql://%1@/%2?host=%3&port=%4")
            .arg(user, database, dir_.path())
            .arg(port_);
    }

    // Runs SQL on a database as the server's user; false (with error()) when psql fails.
    bool sql(const QString& statement, const QString& database = QStringLiteral("postgres"),
             QString* output = nullptr) {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("PGPASSWORD"), QLatin1String(kPassword));
        p.setProcessEnvironment(env);
        p.start(bin_ + QStringLiteral("/psql"),
                {QStringLiteral("-X"), QStringLiteral("-q"), QStringLiteral("-t"), QStringLiteral("-A"),
                 QStringLiteral("-v"), QStringLiteral("ON_ERROR_STOP=1"), QStringLiteral("-h"), dir_.path(),
                 QStringLiteral("-p"), QString::number(port_), QStringLiteral("-U"), QLatin1String(kUser),
                 QStringLiteral("-d"), database, QStringLiteral("-c"), statement});
        if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
            error_ = QStringLiteral("psql: ") + QString::fromLocal8Bit(p.readAllStandardError());
            return false;
        }
        if (output) *output = QString::fromUtf8(p.readAllStandardOutput()).trimmed();
        return true;
    }

    // A new, empty database; false when it could not be made.
    bool createDatabase(const QString& name) {
        return sql(QStringLiteral("CREATE DATABASE \"%1\"").arg(name));
    }

    // A login role with the password of the server's user and no right on any table, as
    // an administrator makes one for each adviser; false when it could not be made.
    bool createRole(const QString& name) {
        return sql(
            QStringLiteral("CREATE ROLE \"%1\" LOGIN PASSWORD '%2'").arg(name, QLatin1String(kPassword)));
    }

private:
    QString dataDir() const { return dir_.filePath(QStringLiteral("data")); }

    bool fail(const QString& why) {
        error_ = why;
        return false;
    }

    // Runs one of the server's programs, as nobody when the tests run as root.
    bool run(const QString& program, const QStringList& arguments, bool asServerUser = true) {
        QProcess p;
        p.setProcessChannelMode(QProcess::MergedChannels);
        // The server's programs look at their working folder, which the unprivileged
        // user may not be able to enter (a checkout under /root, say): they run in theirs.
        p.setWorkingDirectory(dir_.path());
        if (asServerUser && geteuid() == 0)
            p.start(
                QStringLiteral("/usr/sbin/runuser"),
                QStringList{QStringLiteral("-u"), QStringLiteral("nobody"), QStringLiteral("--"), program} +
                    arguments);
        else
            p.start(program, arguments);
        if (!p.waitForFinished(120000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
            return fail(QFileInfo(program).fileName() + QStringLiteral(": ") +
                        QString::fromLocal8Bit(p.readAll()));
        return true;
    }

    QTemporaryDir dir_{QDir::tempPath() + QStringLiteral("/vlx-pg-XXXXXX")};
    QString bin_;
    QString error_;
    int port_ = 0;
    bool started_ = false;
};
