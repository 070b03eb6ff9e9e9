// The one way to write a file: whole or not at all, the earlier file kept on any failure,
// never over one of the program's databases however the path reaches it, and nothing left
// behind by a writer that failed or a program that was killed.

#include "data/FileWriter.h"
#include "data/ProgramFiles.h"
#include "support/FullDisk.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <cstring>
#include <sys/file.h>
#include <unistd.h>

namespace {

QByteArray contents(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool put(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

QStringList hidden(const QString& folder) {
    return QDir(folder).entryList({QStringLiteral(".ventrolux-*")}, QDir::Files | QDir::Hidden);
}

} // namespace

class TestFileWriter : public QObject {
    Q_OBJECT

    QTemporaryDir dir;

private slots:
    void initTestCase() {
        programfiles::setProgramDirectory(dir.path());
        programfiles::setUserDatabaseDirectory(dir.path());
        QVERIFY(put(dir.filePath("myData.db"), "user database"));
        QVERIFY(put(dir.filePath("KLV_DATA.db"), "reference database"));
        QVERIFY(QDir().mkpath(dir.filePath("sub")));
    }

    // The earlier file stays until the new one is whole; it keeps its permissions.
    void replacesOnlyWhenWhole() {
        const QString target = dir.filePath("export.csv");
        QVERIFY(put(target, "old"));
        QVERIFY(QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
        const QFileDevice::Permissions permissions = QFile::permissions(target);
        const QByteArray piece(1000, 'n');
        {
            FileWriter out(target, Language::E);
            for (int i = 0; i < 300; ++i)
                out.write(piece);
            QCOMPARE(contents(target), QByteArray("old"));
            out.commit();
        }
        QCOMPARE(contents(target), piece.repeated(300));
        QCOMPARE(QFile::permissions(target), permissions);
        QCOMPARE(hidden(dir.path()), QStringList());
    }

    void failureKeepsTheEarlierFile_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("not committed") << "abandoned";
        QTest::newRow("full disk") << "full";
        QTest::newRow("full device through the PDF writer's device") << "device";
    }
    void failureKeepsTheEarlierFile() {
        QFETCH(QString, how);
        const FullDisk disk;
        if (how != QLatin1String("abandoned") && !disk.usable()) QSKIP(qPrintable(disk.reason()));
        const QString folder = how == QLatin1String("abandoned") ? dir.path() : disk.path();
        const QString target = folder + QStringLiteral("/report.pdf");
        QVERIFY(put(target, "earlier report"));
        if (how != QLatin1String("abandoned")) disk.fill();
        QString message;
        try {
            FileWriter out(target, Language::F);
            if (how == QLatin1String("device")) {
                // A writer that does not look at what its writes return: commit() tells.
                for (int i = 0; i < 100; ++i)
                    out.device().write(QByteArray(4096, 'p'));
                out.commit();
            } else if (how == QLatin1String("full")) {
                out.write(QByteArray(1 << 20, 'p'));
            }
        } catch (const WriteFailure& e) {
            message = e.description();
        }
        QCOMPARE(contents(target), QByteArray("earlier report"));
        QCOMPARE(hidden(folder), QStringList());
        if (how != QLatin1String("abandoned"))
            QVERIFY2(message.startsWith(QStringLiteral("Le fichier ") + target) &&
                         message.contains(QString::fromLocal8Bit(std::strerror(ENOSPC))),
                     qPrintable(message));
    }

    // Every way a path can reach one of the program's databases or their journals.
    void ownDatabasesAreRefused_data() {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("link"); // made to point at the database first, when not empty
        QTest::addColumn<int>("replaces");
        QTest::addColumn<bool>("refused");
        const int nothing = int(pathguard::Replaces::Nothing);
        const int reference = int(pathguard::Replaces::ReferenceDatabase);
        QTest::newRow("the user database") << "myData.db"
                                           << "" << nothing << true;
        QTest::newRow("its journal") << "myData.db-journal"
                                     << "" << nothing << true;
        QTest::newRow("its write-ahead log") << "myData.db-wal"
                                             << "" << nothing << true;
        QTest::newRow("its shared memory") << "myData.db-shm"
                                           << "" << nothing << true;
        QTest::newRow("the reference database") << "KLV_DATA.db"
                                                << "" << nothing << true;
        QTest::newRow("through ..") << "sub/../myData.db"
                                    << "" << nothing << true;
        QTest::newRow("in other letters") << "MYDATA.DB"
                                          << "" << nothing << true;
        QTest::newRow("a link to it") << "report.pdf"
                                      << "myData.db" << nothing << true;
        QTest::newRow("a link to its journal, not there yet") << "journal.pdf"
                                                              << "myData.db-journal" << nothing << true;
        QTest::newRow("a hard link to it") << "hard.pdf"
                                           << "hard:KLV_DATA.db" << nothing << true;
        QTest::newRow("the reference database, by its import") << "KLV_DATA.db"
                                                               << "" << reference << false;
        QTest::newRow("its journal, by its import") << "KLV_DATA.db-journal"
                                                    << "" << reference << true;
        QTest::newRow("a name that only begins like it") << "myData.db.pdf"
                                                         << "" << nothing << false;
    }
    void ownDatabasesAreRefused() {
        QFETCH(QString, target);
        QFETCH(QString, link);
        QFETCH(int, replaces);
        QFETCH(bool, refused);
        const QString path = dir.filePath(target);
        if (!link.isEmpty()) QFile::remove(path);
        if (link.startsWith(QLatin1String("hard:")))
            QCOMPARE(::link(QFile::encodeName(dir.filePath(link.mid(5))).constData(),
                            QFile::encodeName(path).constData()),
                     0);
        else if (!link.isEmpty())
            QVERIFY(QFile::link(dir.filePath(link), path));
        const QByteArray user = contents(dir.filePath("myData.db"));
        const QByteArray reference = contents(dir.filePath("KLV_DATA.db"));
        bool wasRefused = false;
        try {
            FileWriter out(path, Language::E, FileWriter::Content::Bytes, pathguard::Replaces(replaces));
            out.discard();
        } catch (const WriteFailure& e) {
            wasRefused = e.description().contains(QStringLiteral("a database of the program"));
        }
        QCOMPARE(wasRefused, refused);
        QCOMPARE(contents(dir.filePath("myData.db")), user);
        QCOMPARE(contents(dir.filePath("KLV_DATA.db")), reference);
        if (!link.isEmpty() || target.contains(QLatin1String(".pdf"))) QFile::remove(path);
    }

    // What a killed writer left is removed by the next writer in the folder; what a writer
    // at work holds is not.
    void leftTemporariesAreRemoved() {
        QTemporaryDir folder;
        const QString left = folder.filePath(".ventrolux-0badf00d.csv");
        const QString held = folder.filePath(".ventrolux-600dcafe.csv");
        QVERIFY(put(left, "cut") && put(held, "being written"));
        const int fd = ::open(QFile::encodeName(held).constData(), O_RDONLY);
        QVERIFY(fd >= 0 && ::flock(fd, LOCK_EX) == 0);
        FileWriter out(folder.filePath("summary.csv"), Language::E);
        out.write("x");
        out.commit();
        ::close(fd);
        QVERIFY(!QFile::exists(left));
        QVERIFY(QFile::exists(held));
    }
};

QTEST_GUILESS_MAIN(TestFileWriter)
#include "test_file_writer.moc"
