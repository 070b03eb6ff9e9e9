// Opening the user database at start-up: damaged files are kept and replaced, older
// files are copied aside before their upgrade, and files that cannot be written or are
// held by another program are refused with a message naming them.

#include "data/ProgramFiles.h"
#include "state/UserDatabaseLock.h"
#include "state/modMain.h"
#include "support/RecordingPlatform.h"
#include "userdb/OpenMarker.h"
#include "userdb/UserDatabase.h"
#include "userdb/UserDatabaseFile.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QDateTime kNow(QDate(2026, 12, 8), QTime(9, 30, 0));

// A user database with one saved firm, written by the program, then closed.
void makeDatabaseWithFirm(const QString& path, const QString& firm) {
    userdb::create(path);
    Connection cn;
    ConnectToFile(cn, path, QStringLiteral("unknown"));
    ExecCmdInDB(
        cn,
        QStringLiteral("insert into MyValues (FirmName, Year, NAICS, Cash) values (?, 2010, '448140', 12.5)"),
        {firm});
    DisconnectFromDB(cn);
}

QStringList firms(Connection& cn) {
    QStringList names;
    for (RecordsetPtr rs = GetRS(cn, QStringLiteral("select FirmName from MyValues order by FirmName"),
                                 QStringLiteral("read"));
         !rs->eof(); rs->moveNext())
        names << rs->field(0).toString();
    return names;
}

QByteArray contents(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

constexpr qint64 kManyFirms = 200;
constexpr qint64 kPageSize = 4096; // SQLite's default, which the program keeps

// A user database whose firm records fill many pages, each with its own values.
void makeManyFirms(const QString& path) {
    QFile::remove(path);
    userdb::create(path);
    Connection cn;
    ConnectToFile(cn, path, QStringLiteral("unknown"));
    Transaction tx(cn);
    for (int i = 0; i < kManyFirms; ++i)
        ExecCmdInDB(cn,
                    QStringLiteral("insert into MyValues (FirmName, Year, NAICS, Cash, Ar, Inv, Ta) "
                                   "values (?, 2011, '448140', ?, ?, ?, ?)"),
                    {QStringLiteral("Firm %1 of the salvage, with a name long enough to fill pages").arg(i),
                     i + 0.25, i * 2 + 0.5, i * 3 + 0.75, i * 6 + 1.5});
    tx.commit();
    DisconnectFromDB(cn);
}

// Every firm record of a file, whole, one text each.
QStringList records(const QString& path) {
    Connection cn;
    ConnectToFile(cn, path, QStringLiteral("unknown"), ReadOnly);
    QStringList out;
    for (RecordsetPtr rs = GetRS(cn, QStringLiteral("select * from MyValues"), QStringLiteral("read"));
         !rs->eof(); rs->moveNext()) {
        QStringList fields;
        for (int i = 0; i < rs->fieldCount(); ++i)
            fields << rs->field(i).toString();
        out << fields.join(u'|');
    }
    DisconnectFromDB(cn);
    return out;
}

QByteArray pageOf(const QByteArray& file, qint64 page) {
    return file.mid((page - 1) * kPageSize, kPageSize);
}

// A big-endian number of the file format.
int be(const QByteArray& bytes, int at, int size) {
    int n = 0;
    for (int i = 0; i < size; ++i)
        n = n * 256 + quint8(bytes[at + i]);
    return n;
}

} // namespace

class TestUserDatabaseFile : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    QString path() const { return dir.path() + QStringLiteral("/myData.db"); }

private slots:
    void cleanup() {
        QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QDir(dir.path()).removeRecursively();
        QDir().mkpath(dir.path());
    }

    void missingFileIsCreated() {
        Connection cn;
        const userdb::OpenResult r = userdb::openUserDatabase(cn, path(), kNow);
        QVERIFY(cn && cn->isOpen());
        QVERIFY(r.damagedKeptAs.isEmpty());
        QVERIFY(r.backupPath.isEmpty());
        QVERIFY(firms(cn).isEmpty());
    }

    void goodFileKeepsItsFirms() {
        makeDatabaseWithFirm(path(), QStringLiteral("O'Neil"));
        Connection cn;
        const userdb::OpenResult r = userdb::openUserDatabase(cn, path(), kNow);
        QCOMPARE(firms(cn), QStringList{QStringLiteral("O'Neil")});
        QVERIFY(r.damagedKeptAs.isEmpty());
        QVERIFY(r.backupPath.isEmpty());
    }

    // The damaged file is never overwritten: it is moved aside, byte for byte, and a
    // fresh database takes its place.
    void damagedFileIsKeptAndReplaced_data() {
        QTest::addColumn<QString>("damage");
        QTest::newRow("not a database") << "text";
        QTest::newRow("truncated") << "truncated";
        QTest::newRow("garbled pages") << "garbled";
    }
    void damagedFileIsKeptAndReplaced() {
        QFETCH(QString, damage);
        if (damage == QLatin1String("text")) {
            QFile f(path());
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(QByteArray("FirmName,Year\nnot a database at all\n").repeated(200));
        } else {
            makeDatabaseWithFirm(path(), QStringLiteral("Acme"));
            // Enough rows for several pages, so that damage hits the table's pages.
            Connection cn;
            ConnectToFile(cn, path(), QStringLiteral("unknown"));
            for (int i = 0; i < 300; ++i)
                ExecCmdInDB(
                    cn, QStringLiteral("insert into MyValues (FirmName, Year, NAICS) values (?, 2011, '1')"),
                    {QStringLiteral("Firm %1 with a long name to fill the pages of the table").arg(i)});
            DisconnectFromDB(cn);
            QFile f(path());
            QVERIFY(f.open(QIODevice::ReadWrite));
            const qint64 size = f.size();
            if (damage == QLatin1String("truncated")) {
                QVERIFY(f.resize(size / 2));
            } else {
                f.seek(size / 2);
                f.write(QByteArray(8192, '\x5a'));
            }
        }
        const QByteArray before = contents(path());
        Connection cn;
        const userdb::OpenResult r = userdb::openUserDatabase(cn, path(), kNow);
        QCOMPARE(r.damagedKeptAs, path() + QStringLiteral(".damaged-20261208-093000"));
        QCOMPARE(contents(r.damagedKeptAs), before);
        QVERIFY(cn && cn->isOpen());
        QCOMPARE(qint64(firms(cn).size()), r.recovered); // what could be read was salvaged
        if (damage == QLatin1String("text")) QCOMPARE(r.recovered, 0);
    }

    // A damaged file's readable firm records are copied into the new user database: a
    // garbled page of a table the program rebuilds costs no firm, one of the firm records
    // costs the records of that page, and a file whose header is gone gives none.
    void salvageRecoversEveryReadableFirm_data() {
        QTest::addColumn<QString>("damage");
        QTest::addColumn<qint64>("page"); // the page garbled
        QTest::addColumn<qint64>("lost"); // the firm records on it
        const QString file = dir.path() + QStringLiteral("/template.db");
        makeManyFirms(file);
        const QByteArray bytes = contents(file);
        Connection cn;
        ConnectToFile(cn, file, QStringLiteral("unknown"), ReadOnly);
        for (RecordsetPtr rs =
                 GetRS(cn, QStringLiteral("select name, rootpage from sqlite_master where rootpage > 1"),
                       QStringLiteral("read"));
             !rs->eof(); rs->moveNext()) {
            const QString name = rs->field(0).toString();
            qint64 page = rs->field(1).toLongLong();
            qint64 lost = 0;
            if (name == QLatin1String("MyValues")) {
                // Its root leads to the pages of the records: the first of them is garbled.
                const QByteArray root = pageOf(bytes, page);
                QCOMPARE(quint8(root[0]), quint8(0x05)); // an interior page of a table
                const int firstCell = be(root, 12, 2);
                page = be(root, firstCell, 4);
                lost = be(pageOf(bytes, page), 3, 2);
            }
            QTest::newRow(qPrintable(name)) << "page" << page << lost;
        }
        DisconnectFromDB(cn);
        QFile::remove(file);
        QTest::newRow("truncated") << "truncated" << qint64(0) << qint64(-1);
        QTest::newRow("zeroed header") << "header" << qint64(0) << qint64(kManyFirms);
    }
    void salvageRecoversEveryReadableFirm() {
        QFETCH(QString, damage);
        QFETCH(qint64, page);
        QFETCH(qint64, lost);
        makeManyFirms(path());
        const QStringList original = records(path());
        {
            QFile f(path());
            QVERIFY(f.open(QIODevice::ReadWrite));
            if (damage == QLatin1String("truncated")) {
                // The records' pages come last: half of them are cut off.
                QVERIFY(f.resize(f.size() - 8 * kPageSize));
            } else if (damage == QLatin1String("header")) {
                f.write(QByteArray(100, '\0'));
            } else {
                QRandomGenerator garble(static_cast<quint32>(page));
                QByteArray noise(kPageSize, Qt::Uninitialized);
                for (char& c : noise)
                    c = char(garble.bounded(256));
                QVERIFY(f.seek((page - 1) * kPageSize));
                f.write(noise);
            }
        }
        const QByteArray damaged = contents(path());
        Connection cn;
        const userdb::OpenResult r = userdb::openUserDatabase(cn, path(), kNow);
        QCOMPARE(contents(r.damagedKeptAs), damaged);
        if (lost >= 0) {
            QCOMPARE(r.recovered, kManyFirms - lost);
        } else {
            QVERIFY2(r.recovered > 0 && r.recovered < kManyFirms, qPrintable(QString::number(r.recovered)));
        }
        DisconnectFromDB(cn);
        const QStringList salvaged = records(path());
        QCOMPARE(qint64(salvaged.size()), r.recovered);
        for (const QString& record : salvaged)
            QVERIFY2(original.contains(record), qPrintable(record)); // whole and unchanged
        // The program's own tables are there again, with their shipped rows.
        Connection fresh;
        ConnectToFile(fresh, path(), QStringLiteral("unknown"), ReadOnly);
        QVERIFY(GetRS(fresh, QStringLiteral("select count(*) from ProvinceCodes"), QStringLiteral("read"))
                    ->field(0)
                    .toInt() > 0);
        DisconnectFromDB(fresh);
        const QString notice = userdb::damagedNotice(r, path(), Language::E);
        QVERIFY2(notice.contains(r.damagedKeptAs), qPrintable(notice));
        QVERIFY2(r.recovered == 0 ? notice.contains(QStringLiteral("no firm record could be read"))
                                  : notice.contains(QString::number(r.recovered)),
                 qPrintable(notice));
    }

    // A database of another program at the user database's place is refused, named, and left
    // byte for byte as it was: nothing added, dropped or upgraded, no copy written beside it.
    void foreignDatabaseIsNeverChanged_data() {
        QTest::addColumn<QStringList>("schema");
        QTest::addColumn<QString>("named");
        QTest::newRow("other tables, one named like the program's")
            << QStringList{"create table invoices (id integer, total real)",
                           "create table ProvinceCodes (province text, tax real)",
                           "insert into invoices values (1, 2.5)"}
            << "invoices";
        QTest::newRow("firm records of other columns")
            << QStringList{"create table MyValues (id integer, name text)",
                           "insert into MyValues values (1, 'x')"}
            << "MyValues.id";
        QTest::newRow("damaged, with other tables")
            << QStringList{"create table invoices (id integer, note text)", "garble"} << "invoices";
    }
    void foreignDatabaseIsNeverChanged() {
        QFETCH(QStringList, schema);
        QFETCH(QString, named);
        {
            QSqlDatabase other =
                QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("other"));
            other.setDatabaseName(path());
            QVERIFY(other.open());
            QSqlQuery q(other);
            QVERIFY(q.exec(QStringLiteral("PRAGMA user_version = 7")));
            for (const QString& statement : schema)
                if (statement != QLatin1String("garble")) QVERIFY2(q.exec(statement), qPrintable(statement));
            for (int i = 0; schema.contains(QStringLiteral("garble")) && i < 200; ++i)
                QVERIFY(q.exec(
                    QStringLiteral("insert into invoices values (%1, '%2')").arg(i).arg(QString(300, u'n'))));
            other.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("other"));
        if (schema.contains(QStringLiteral("garble"))) {
            QFile f(path());
            QVERIFY(f.open(QIODevice::ReadWrite));
            QVERIFY(f.seek(f.size() - 3 * kPageSize));
            f.write(QByteArray(kPageSize, '\x5a'));
        }
        const QByteArray before = contents(path());
        Connection cn;
        QString message;
        try {
            userdb::openUserDatabase(cn, path(), kNow);
        } catch (const userdb::UnusableUserDatabase& e) {
            message = e.message;
        }
        QVERIFY2(message.contains(path()) && message.contains(named) &&
                     message.contains(QStringLiteral("Nothing in it was changed")),
                 qPrintable(message));
        QCOMPARE(contents(path()), before);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
                 QStringList{QStringLiteral("myData.db")});
    }

    void damagedCopiesDoNotOverwriteEachOther() {
        for (int i = 0; i < 2; ++i) {
            QFile f(path());
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(QByteArray("garbage ").repeated(100) + QByteArray::number(i));
            f.close();
            Connection cn;
            const userdb::OpenResult r = userdb::openUserDatabase(cn, path(), kNow);
            QCOMPARE(r.damagedKeptAs, path() + QStringLiteral(".damaged-20261208-093000") +
                                          (i == 0 ? QString() : QStringLiteral("-2")));
            DisconnectFromDB(cn);
        }
    }

    // Before an older file is upgraded, a consistent copy of it is written beside it.
    // A start reads the whole file only after a run that did not end cleanly (its marker
    // is still there), before an upgrade, or when asked; otherwise the header and schema.
    void wholeFileReadOnlyWhenNeeded_data() {
        QTest::addColumn<bool>("killed"); // the last run left its marker
        QTest::addColumn<bool>("older");
        QTest::addColumn<bool>("asked");
        QTest::addColumn<bool>("whole");
        QTest::newRow("clean end") << false << false << false << false;
        QTest::newRow("killed run") << true << false << false << true;
        QTest::newRow("before an upgrade") << false << true << false << true;
        QTest::newRow("asked for") << false << false << true << true;
    }
    void wholeFileReadOnlyWhenNeeded() {
        QFETCH(bool, killed);
        QFETCH(bool, older);
        QFETCH(bool, asked);
        QFETCH(bool, whole);
        makeDatabaseWithFirm(path(), QStringLiteral("Acme"));
        if (older) {
            Connection cn;
            ConnectToFile(cn, path(), QStringLiteral("unknown"));
            ExecCmdInDB(cn, QStringLiteral("PRAGMA user_version = 0"));
            DisconnectFromDB(cn);
        }
        if (killed) userdb::markOpen(path());
        Connection cn;
        const userdb::OpenResult r =
            userdb::openUserDatabase(cn, path(), kNow, userdb::startCheck(path(), asked));
        QCOMPARE(r.checkedWhole, whole);
        QCOMPARE(firms(cn), QStringList{QStringLiteral("Acme")});
        // This run ends cleanly: the next start reads the header and schema alone.
        userdb::markOpen(path());
        QVERIFY(!userdb::endedCleanly(path()));
        userdb::markClosed(path());
        QCOMPARE(userdb::startCheck(path(), false), userdb::Check::WhenNeeded);
        QVERIFY(!QFile::exists(userdb::openMarkerPath(path())));
    }

    // A damaged file behind a killed run is found at the next start and replaced.
    void damageAfterKilledRunIsFound() {
        makeManyFirms(path());
        {
            QFile f(path());
            QVERIFY(f.open(QIODevice::ReadWrite));
            QVERIFY(f.resize(f.size() - 8 * kPageSize));
        }
        userdb::markOpen(path());
        Connection cn;
        const userdb::OpenResult r =
            userdb::openUserDatabase(cn, path(), kNow, userdb::startCheck(path(), false));
        QVERIFY(!r.damagedKeptAs.isEmpty());
        QVERIFY(r.checkedWhole);
    }

    void olderFileIsBackedUpBeforeItsUpgrade() {
        makeDatabaseWithFirm(path(), QStringLiteral("Acme"));
        {
            Connection cn;
            ConnectToFile(cn, path(), QStringLiteral("unknown"));
            ExecCmdInDB(cn, QStringLiteral("PRAGMA user_version = 0"));
            DisconnectFromDB(cn);
        }
        Connection cn;
        const userdb::OpenResult r = userdb::openUserDatabase(cn, path(), kNow);
        QCOMPARE(r.backupPath, path() + QStringLiteral(".bak-20261208-093000"));
        QCOMPARE(firms(cn), QStringList{QStringLiteral("Acme")});
        QCOMPARE(GetRS(cn, QStringLiteral("PRAGMA user_version"), QStringLiteral("read"))->field(0).toInt(),
                 userdb::kSchemaVersion);
        {
            QSqlDatabase backup =
                QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("backup"));
            backup.setDatabaseName(r.backupPath);
            QVERIFY(backup.open());
            QSqlQuery q(backup);
            QVERIFY(q.exec(QStringLiteral("select FirmName from MyValues")) && q.next());
            QCOMPARE(q.value(0).toString(), QStringLiteral("Acme"));
            QVERIFY(q.exec(QStringLiteral("PRAGMA user_version")) && q.next());
            QCOMPARE(q.value(0).toInt(), 0);
        }
        QSqlDatabase::removeDatabase(QStringLiteral("backup"));
    }

    void refusals_data() {
        QTest::addColumn<QString>("situation");
        QTest::addColumn<QString>("english");
        QTest::addColumn<QString>("french");
        QTest::newRow("read-only file") << "file"
                                        << "read-only"
                                        << "lecture seule";
        QTest::newRow("read-only folder") << "folder"
                                          << "its folder is read-only"
                                          << "le dossier est en lecture seule";
        QTest::newRow("newer version") << "newer"
                                       << "newer version"
                                       << "version plus récente";
    }
    void refusals() {
        QFETCH(QString, situation);
        QFETCH(QString, english);
        QFETCH(QString, french);
        makeDatabaseWithFirm(path(), QStringLiteral("Acme"));
        if (situation == QLatin1String("newer")) {
            Connection cn;
            ConnectToFile(cn, path(), QStringLiteral("unknown"));
            ExecCmdInDB(cn, QStringLiteral("PRAGMA user_version = 99"));
            DisconnectFromDB(cn);
        }
        const QByteArray before = contents(path());
        if (situation == QLatin1String("file"))
            QFile::setPermissions(path(), QFile::ReadOwner | QFile::ReadUser);
        if (situation == QLatin1String("folder"))
            QFile::setPermissions(dir.path(),
                                  QFile::ReadOwner | QFile::ExeOwner | QFile::ReadUser | QFile::ExeUser);
        Connection cn;
        QString message;
        try {
            userdb::openUserDatabase(cn, path(), kNow);
        } catch (const userdb::UnusableUserDatabase& e) {
            message = e.message;
        }
        QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QVERIFY2(message.contains(path()), qPrintable(message));
        QVERIFY2(message.contains(english), qPrintable(message));
        QVERIFY2(message.contains(french), qPrintable(message));
        QCOMPARE(contents(path()), before);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("myData.db")});
    }

    // A file another program holds with a write lock is waited for (the busy timeout),
    // then refused as in use by another copy; it is not treated as damaged.
    void fileHeldByAnotherProgramIsRefusedNotReplaced() {
        makeDatabaseWithFirm(path(), QStringLiteral("Acme"));
        {
            QSqlDatabase other =
                QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("other-copy"));
            other.setDatabaseName(path());
            QVERIFY(other.open());
            QSqlQuery q(other);
            QVERIFY(q.exec(QStringLiteral("BEGIN EXCLUSIVE")));
            Connection cn;
            QString message;
            try {
                userdb::openUserDatabase(cn, path(), kNow);
            } catch (const userdb::UnusableUserDatabase& e) {
                message = e.message;
            }
            QVERIFY2(message.contains(QStringLiteral("in use by another copy")), qPrintable(message));
            QVERIFY(message.contains(QStringLiteral("utilisée par une autre copie")));
            QVERIFY(q.exec(QStringLiteral("ROLLBACK")));
            other.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("other-copy"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("myData.db")});
    }

    // The lock of a running copy is seen by a second one; a lock whose process is gone
    // is taken over without a word.
    void lockFileTellsOfAnotherRunningCopy() {
        UserDatabaseLock first;
        QVERIFY(first.acquire(path()));
        QVERIFY(QFile::exists(UserDatabaseLock::lockPathFor(path())));

        // Another process holds a lock: write its id into the file as QLockFile does.
        first.release();
        QProcess sleeper;
        sleeper.start(QStringLiteral("sleep"), {QStringLiteral("30")});
        QVERIFY(sleeper.waitForStarted());
        {
            QFile f(UserDatabaseLock::lockPathFor(path()));
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(QByteArray::number(sleeper.processId()) + "\nsleep\n" +
                    QSysInfo::machineHostName().toUtf8() + "\n");
        }
        UserDatabaseLock second;
        qint64 other = 0;
        QVERIFY(!second.acquire(path(), &other));
        QCOMPARE(other, sleeper.processId());

        RecordingPlatform platform;
        platform.answers.enqueue(MsgResult::OK);
        UserDatabaseLock third;
        programfiles::setUserDatabaseDirectory(dir.path());
        modMain::subWarnOfOtherCopy(third);
        QCOMPARE(platform.messages.size(), 1);
        QVERIFY(platform.lastMessage().contains(QString::number(sleeper.processId())));
        QVERIFY(platform.lastMessage().contains(path()));
        QCOMPARE(platform.messages[0].buttons, MsgButtons::OKCancel);
        QCOMPARE(platform.endedWith, -1);

        platform.answers.enqueue(MsgResult::Cancel);
        UserDatabaseLock fourth;
        QVERIFY_THROWS_EXCEPTION(ProgramEnded, modMain::subWarnOfOtherCopy(fourth));

        sleeper.kill();
        sleeper.waitForFinished();
        UserDatabaseLock afterDeath;
        QVERIFY(afterDeath.acquire(path()));
        programfiles::setUserDatabaseDirectory(QString());
    }
};

QTEST_GUILESS_MAIN(TestUserDatabaseFile)
#include "test_user_database_file.moc"
