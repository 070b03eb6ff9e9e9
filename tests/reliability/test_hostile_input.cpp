// Hostile input through the command line's front doors: keywords, firm names and NAICS
// codes that carry SQL, LIKE patterns, very long texts, control characters, right-to-left
// marks and invalid UTF-8. Each gives results or the program's own message, never a
// database error or a run-time error, and no stored record changes but the one saved.

#include "data/DBTools.h"
#include "firm/FirmRecords.h"
#include "firm/FirmStatement.h"
#include "userdb/UserDatabase.h"

#include "support/HostileInput.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QString kCli = QStringLiteral(VENTROLUX_TEST_BIN_DIR "/ventrolux-cli");

struct Run {
    int exitCode = -1;
    QByteArray out, err;
};

// The texts given to the program, as raw bytes so that invalid UTF-8 reaches it as is.
void hostileTexts() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<bool>("nameRefused");
    for (const hostile::Text& t : hostile::texts())
        QTest::newRow(t.name) << t.bytes << t.nameRefused;
}

} // namespace

class TestHostileInput : public QObject {
    Q_OBJECT

    QTemporaryDir dir;

    Run cli(const QList<QByteArray>& args) {
        QProcess p;
        QStringList list{QStringLiteral("--data-dir"), dir.path()};
        // QProcess takes QString arguments; invalid UTF-8 goes through the local 8-bit codec untouched.
        for (const QByteArray& a : args)
            list << QString::fromLocal8Bit(a);
        p.start(kCli, list);
        p.waitForFinished(60000);
        return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAllStandardOutput(),
                p.readAllStandardError()};
    }

    int storedFirms() {
        Connection cn;
        ConnectToFile(cn, dir.path() + QStringLiteral("/myData.db"), QStringLiteral("unknown"));
        const int n = static_cast<int>(firmrecords::list(cn).size());
        DisconnectFromDB(cn);
        return n;
    }

    static void verifyOwnMessage(const Run& r) {
        QVERIFY2(r.exitCode == 0 || r.exitCode == 1, r.err.constData());
        for (const char* leak :
             {"Run-time error", "syntax error", "SQL", "sqlite", "no such", "unrecognized token"})
            QVERIFY2(!r.err.contains(leak), r.err.left(400).constData());
    }

private slots:
    void initTestCase() {
        QVERIFY(QFile::copy(QStringLiteral(VENTROLUX_TEST_BIN_DIR "/KLV_DATA.db"),
                            dir.path() + QStringLiteral("/KLV_DATA.db")));
        userdb::create(dir.path() + QStringLiteral("/myData.db"));
        Connection cn;
        ConnectToFile(cn, dir.path() + QStringLiteral("/myData.db"), QStringLiteral("unknown"));
        FirmStatement f;
        f.firmName = QStringLiteral("Kept Firm");
        f.naics = QStringLiteral("448140");
        firmrules::resetValues(f.values);
        firmrecords::store(cn, f);
        DisconnectFromDB(cn);
    }

    void keywords_data() { hostileTexts(); }
    void keywords() {
        QFETCH(QByteArray, text);
        const Run r = cli({"industries", "--dataset", "3:NS", "--keyword", text});
        verifyOwnMessage(r);
        QCOMPARE(storedFirms(), 1);
    }

    void naicsCodes_data() { hostileTexts(); }
    void naicsCodes() {
        QFETCH(QByteArray, text);
        const Run r = cli({"compare", "--dataset", "3:NS", "--naics", text, "--firm",
                           VENTROLUX_SOURCE_DIR "/examples/firm.json"});
        verifyOwnMessage(r);
        QCOMPARE(r.exitCode, 1);
        QCOMPARE(storedFirms(), 1);
    }

    // A hostile firm name is stored as a name like any other, found again by show, and
    // deleted without touching the other records; one the records do not keep (control
    // characters, too long) is refused in the program's words, saying the rule.
    void firmNames_data() { hostileTexts(); }
    void firmNames() {
        QFETCH(QByteArray, text);
        QFETCH(bool, nameRefused);
        const QString name = QString::fromUtf8(text);
        QJsonObject o{{QStringLiteral("FirmName"), name},
                      {QStringLiteral("Year"), 2010},
                      {QStringLiteral("NAICS"), QStringLiteral("448140")},
                      {QStringLiteral("Cash"), 100},
                      {QStringLiteral("ShareC"), 100}};
        const QString file = dir.path() + QStringLiteral("/hostile.json");
        {
            QFile f(file);
            QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
            f.write(QJsonDocument(o).toJson());
        }
        Run r = cli({"firms", "save", file.toLocal8Bit(), "--replace"});
        verifyOwnMessage(r);
        if (nameRefused) {
            QCOMPARE(r.exitCode, 1);
            QVERIFY2(r.err.startsWith("The firm name "), r.err.left(300).constData());
            QCOMPARE(storedFirms(), 1);
            return;
        }
        QVERIFY2(r.exitCode == 0, r.err.constData());
        QCOMPARE(storedFirms(), 2);
        r = cli({"firms", "show", name.toUtf8(), "2010"});
        verifyOwnMessage(r);
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(QJsonDocument::fromJson(r.out).object().value(QStringLiteral("FirmName")).toString(), name);
        r = cli({"firms", "delete", name.toUtf8(), "2010"});
        verifyOwnMessage(r);
        QCOMPARE(storedFirms(), 1);
    }
};

QTEST_GUILESS_MAIN(TestHostileInput)
#include "test_hostile_input.moc"
