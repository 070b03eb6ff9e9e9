// The data access layer: argument checks, recordsets, bound values, the Unicode LIKE,
// read-only reference data and transactions.

#include "data/DBTools.h"
#include "data/UnicodeLike.h"
#include "support/RecordingPlatform.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

class TestDbTools : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    QString dbPath;

    Connection openScratch() {
        Connection cn;
        ConnectToFile(cn, dbPath, QStringLiteral("unknown"));
        return cn;
    }

private slots:
    void initTestCase() {
        QVERIFY(dir.isValid());
        dbPath = dir.path() + QStringLiteral("/scratch.db");
        QFile f(dbPath);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.close();
        Connection cn = openScratch();
        ExecCmdInDB(cn, QStringLiteral("CREATE TABLE t (Name TEXT, Amount REAL)"));
        ExecCmdInDB(cn, QStringLiteral("INSERT INTO t VALUES (?, ?)"), {QStringLiteral("O'Neil"), 12.5});
        ExecCmdInDB(cn, QStringLiteral("INSERT INTO t VALUES (?, ?)"),
                    {QStringLiteral("Électricité du Nord"), QVariant()});
        ExecCmdInDB(cn, QStringLiteral("INSERT INTO t VALUES (?, ?)"),
                    {QStringLiteral("100% pure_juice"), 3});
    }

    // The mode is compared without regard to case; either mode gives the rows of the
    // query as they are stored, with no message and no end of the program.
    void getRsAcceptsModeInAnyCase_data() {
        QTest::addColumn<QString>("mode");
        QTest::newRow("read") << "read";
        QTest::newRow("READ") << "READ";
        QTest::newRow("Read") << "Read";
        QTest::newRow("Write") << "Write";
        QTest::newRow("wRITE") << "wRITE";
    }
    void getRsAcceptsModeInAnyCase() {
        QFETCH(QString, mode);
        RecordingPlatform platform;
        Connection cn = openScratch();
        RecordsetPtr rs = GetRS(cn, QStringLiteral("select Name, Amount from t order by Name"), mode);
        QCOMPARE(rs->recordCount(), 3);
        QCOMPARE(rs->field(QStringLiteral("name")).toString(), QStringLiteral("100% pure_juice"));
        rs->moveNext();
        QCOMPARE(rs->field(QStringLiteral("NAME")).toString(), QStringLiteral("O'Neil"));
        QCOMPARE(rs->field(QStringLiteral("Amount")).toDouble(), 12.5);
        rs->moveNext();
        QVERIFY(rs->field(QStringLiteral("Amount")).isNull());
        QVERIFY(platform.messages.isEmpty());
        QCOMPARE(platform.endedWith, -1);
    }

    void getRsRejectsOtherModes_data() {
        QTest::addColumn<QString>("mode");
        QTest::newRow("update") << "update";
        QTest::newRow("empty") << "";
        QTest::newRow("reading") << "reading";
    }
    void getRsRejectsOtherModes() {
        QFETCH(QString, mode);
        RecordingPlatform platform;
        Connection cn = openScratch();
        bool ended = false;
        try {
            GetRS(cn, QStringLiteral("select * from t"), mode);
        } catch (const ProgramEnded&) {
            ended = true;
        }
        QVERIFY(ended);
        QCOMPARE(platform.messages.size(), 1);
        QCOMPARE(platform.lastMessage(),
                 QStringLiteral("Invalid use of GetRS (Invalid WriteMode: ") + mode + QStringLiteral(" )"));
        QCOMPARE(platform.messages.first().buttons, MsgButtons::OK);
    }

    void connectToFileByEnding_data() {
        QTest::addColumn<QString>("suffix");
        QTest::addColumn<QString>("expectedMessage");
        QTest::newRow("DOC") << "report.DOC"
                             << "Invalid use of ConnectToFile (Invalid File Type: DOC )";
        QTest::newRow("pdf with blanks") << "  report.pdf  "
                                         << "Invalid use of ConnectToFile (Invalid File Type: pdf )";
    }
    void connectToFileByEnding() {
        QFETCH(QString, suffix);
        QFETCH(QString, expectedMessage);
        RecordingPlatform platform;
        Connection cn;
        bool ended = false;
        try {
            ConnectToFile(cn, dir.path() + u'/' + suffix, QStringLiteral("unknown"));
        } catch (const ProgramEnded& e) {
            ended = true;
            QCOMPARE(e.exitCode, 1);
        }
        QVERIFY(ended);
        QCOMPARE(platform.lastMessage(), expectedMessage);
    }

    void connectToFileTrimsAndMapsMdb() {
        // "  …/scratch.MDB  " names the SQLite file scratch.db: trimmed, ending compared without case.
        Connection cn;
        ConnectToFile(cn, QStringLiteral("  ") + dir.path() + QStringLiteral("/scratch.MDB  "),
                      QStringLiteral("unknown"));
        QVERIFY(cn && cn->isOpen());
        QCOMPARE(cn->filePath(), dbPath);
        QCOMPARE(
            GetRS(cn, QStringLiteral("select count(*) from t"), QStringLiteral("read"))->field(0).toInt(), 3);
    }

    void connectToFileKeepsUnsupportedKindsAsData_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("connectionStart");
        QTest::newRow("csv") << "figures.csv"
                             << "DRIVER={Microsoft Text Driver (*.txt; *.csv)};DBQ=";
        QTest::newRow("text") << "text"
                              << "DRIVER={Microsoft Text Driver (*.txt; *.csv)};DBQ=";
        QTest::newRow("xls") << "figures.xls"
                             << "Data Source=";
    }
    void connectToFileKeepsUnsupportedKindsAsData() {
        QFETCH(QString, path);
        QFETCH(QString, connectionStart);
        Connection cn;
        QVERIFY_THROWS_EXCEPTION(FatalError, ConnectToFile(cn, path, dir.path()));
        // The variable already holds the new, unopened connection.
        QVERIFY(cn);
        QVERIFY(!cn->isOpen());
        QVERIFY(cn->connectionString().startsWith(connectionStart));
    }

    void connectToMissingFileFailsWithoutCreatingIt() {
        Connection cn;
        const QString missing = dir.path() + QStringLiteral("/missing.db");
        QVERIFY_THROWS_EXCEPTION(FatalError, ConnectToFile(cn, missing, QStringLiteral("unknown")));
        QVERIFY(!QFile::exists(missing));
    }

    void connectToFileClosesThePreviousConnection() {
        Connection cn = openScratch();
        std::weak_ptr<DbConnection> first = cn;
        ConnectToFile(cn, dbPath, QStringLiteral("unknown"));
        QVERIFY(first.expired());
        QVERIFY(cn->isOpen());
    }

    void disconnectOnEmptyVariableDoesNothing() {
        Connection cn;
        DisconnectFromDB(cn);
        QVERIFY(!cn);
        cn = openScratch();
        DisconnectFromDB(cn);
        QVERIFY(!cn);
    }

    void emptyResultIsAtEndAtOnce() {
        Connection cn = openScratch();
        RecordsetPtr rs = GetRS(cn, QStringLiteral("select * from t where Name = ?"), QStringLiteral("read"),
                                {QStringLiteral("nobody")});
        QVERIFY(rs->eof());
        QCOMPARE(rs->recordCount(), 0);
        QCOMPARE(rs->fieldCount(), 2);
        QVERIFY_THROWS_EXCEPTION(FatalError, rs->field(QStringLiteral("Name")));
    }

    void recordsetReadsByNameWithoutCaseAndKeepsNull() {
        Connection cn = openScratch();
        RecordsetPtr rs =
            GetRS(cn, QStringLiteral("select Name, Amount from t order by rowid"), QStringLiteral("read"));
        QCOMPARE(rs->field(QStringLiteral("NAME")).toString(), QStringLiteral("O'Neil"));
        rs->moveNext();
        QVERIFY(rs->field(QStringLiteral("amount")).isNull());
        QVERIFY_THROWS_EXCEPTION(FatalError, rs->text(QStringLiteral("Amount")));
        rs->moveNext();
        rs->moveNext();
        QVERIFY(rs->eof());
        rs->moveFirst();
        QCOMPARE(rs->field(0).toString(), QStringLiteral("O'Neil"));
        QVERIFY_THROWS_EXCEPTION(FatalError, rs->field(QStringLiteral("NoSuchColumn")));
    }

    void boundValuesNeedNoQuoting() {
        Connection cn = openScratch();
        RecordsetPtr rs = GetRS(cn, QStringLiteral("select Amount from t where Name = ?"),
                                QStringLiteral("read"), {QStringLiteral("O'Neil")});
        QCOMPARE(rs->field(0).toDouble(), 12.5);
        const QString hostile = QStringLiteral("x'; DROP TABLE t; --");
        QVERIFY(GetRS(cn, QStringLiteral("select * from t where Name = ?"), QStringLiteral("read"), {hostile})
                    ->eof());
        QCOMPARE(
            GetRS(cn, QStringLiteral("select count(*) from t"), QStringLiteral("read"))->field(0).toInt(), 3);
    }

    void sqlErrorsAreFatal() {
        Connection cn = openScratch();
        QVERIFY_THROWS_EXCEPTION(
            FatalError, GetRS(cn, QStringLiteral("select * from no_such_table"), QStringLiteral("read")));
        QVERIFY_THROWS_EXCEPTION(FatalError,
                                 ExecCmdInDB(cn, QStringLiteral("insert into t (Nope) values (1)")));
    }

    // A write while another connection holds the write lock waits for the busy timeout,
    // then fails as DatabaseBusy with the program's message; nothing is written.
    void writeBlockedByAnotherCopyIsDatabaseBusy() {
        Connection cn = openScratch();
        Connection other;
        ConnectToFile(other, dbPath, QStringLiteral("unknown"));
        Transaction holding(other); // rolled back at the end: the scratch table stays as it was
        ExecCmdInDB(other, QStringLiteral("INSERT INTO t VALUES ('held', 1)"));
        setMessageLanguage([] { return Language::F; });
        QString message;
        int number = 0;
        try {
            Transaction tx(cn);
            ExecCmdInDB(cn, QStringLiteral("INSERT INTO t VALUES ('blocked', 2)"));
            tx.commit();
        } catch (const DatabaseBusy& e) {
            message = e.description();
            number = e.number();
        }
        setMessageLanguage(nullptr);
        // In the language of the moment, naming the file.
        QVERIFY2(message.contains(dbPath) && message.contains(QStringLiteral("autre copie")),
                 qPrintable(message));
        QCOMPARE(number & 0xff, 5);
        QCOMPARE(
            GetRS(cn, QStringLiteral("select count(*) from t where Name = 'blocked'"), QStringLiteral("read"))
                ->field(0)
                .toInt(),
            0);
    }

    // At a handler's edge a recoverable failure (a file another copy keeps locked) is told
    // and the program goes on; a fatal one ends it. A catch of FatalError on the way takes
    // the fatal one alone.
    void handlerEdge_data() {
        QTest::addColumn<bool>("fatal");
        QTest::newRow("a file kept locked") << false;
        QTest::newRow("a fatal error") << true;
    }
    void handlerEdge() {
        QFETCH(bool, fatal);
        RecordingPlatform platform;
        bool caughtAsFatal = false;
        runHandler([&] {
            try {
                if (fatal) throw FatalError(errnum::DatabaseError, QStringLiteral("broken"));
                throw DatabaseBusy(5, QStringLiteral("in use"));
            } catch (const FatalError&) {
                caughtAsFatal = true;
                throw;
            }
        });
        QCOMPARE(caughtAsFatal, fatal);
        QCOMPARE(platform.endedWith, fatal ? 1 : -1);
        QCOMPARE(platform.messages.size(), 1);
        QCOMPARE(platform.messages.first().icon, fatal ? MsgIcon::Critical : MsgIcon::Exclamation);
        QCOMPARE(platform.messages.first().text,
                 fatal ? QStringLiteral("Run-time error 3146: broken") : QStringLiteral("in use"));
    }

    void likeFoldsCaseTheUnicodeWay_data() {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<int>("matches");
        QTest::newRow("accented lower finds capital") << "%électricité%" << 1;
        QTest::newRow("upper ascii") << "%O'NEIL%" << 1;
        QTest::newRow("underscore is one character") << "O_Neil" << 1;
        QTest::newRow("underscore not two") << "O_eil" << 0;
        QTest::newRow("percent matches everything") << "%" << 3;
        QTest::newRow("no match") << "%bank%" << 0;
        QTest::newRow("percent literal in text") << "100%" << 1;
        QTest::newRow("accent-free keyword finds accented text") << "%electricite%" << 1;
        QTest::newRow("capital accented keyword finds it too") << "%ÉLECTRICITÉ DU%" << 1;
        QTest::newRow("bracket is an ordinary character") << "[oe]%" << 0;
    }
    void likeFoldsCaseTheUnicodeWay() {
        QFETCH(QString, pattern);
        QFETCH(int, matches);
        Connection cn = openScratch();
        RecordsetPtr rs = GetRS(cn, QStringLiteral("select count(*) from t where Name like ?"),
                                QStringLiteral("read"), {pattern});
        QCOMPARE(rs->field(0).toInt(), matches);
    }

    void likeRule_data() {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("escape");
        QTest::addColumn<bool>("expected");
        QTest::newRow("empty pattern, empty text") << ""
                                                   << ""
                                                   << "" << true;
        QTest::newRow("empty pattern, text") << ""
                                             << "a"
                                             << "" << false;
        QTest::newRow("backtracking") << "%ab%ab"
                                      << "xxabyyabab"
                                      << "" << true;
        QTest::newRow("trailing percents") << "abc%%"
                                           << "ABC"
                                           << "" << true;
        QTest::newRow("escaped percent") << "100!%"
                                         << "100%"
                                         << "!" << true;
        QTest::newRow("escaped percent not wildcard") << "100!%"
                                                      << "1000"
                                                      << "!" << false;
        QTest::newRow("ligature folds") << "%ŒUVRE%"
                                        << "chef-d'œuvre"
                                        << "" << true;
        QTest::newRow("accent-free pattern, accented text") << "%electricite%"
                                                            << "Électricité du Nord"
                                                            << "" << true;
        QTest::newRow("accented pattern, accent-free text") << "Électricité%"
                                                            << "electricite"
                                                            << "" << true;
        QTest::newRow("cedilla and circumflex") << "%francais et hote%"
                                                << "Français et hôte"
                                                << "" << true;
        QTest::newRow("underscore stands for an accented letter") << "cr_me"
                                                                  << "crème"
                                                                  << "" << true;
        QTest::newRow("other letters still differ") << "%eta%"
                                                    << "été"
                                                    << "" << false;
        QTest::newRow("bracket is literal, no class") << "[ab]%"
                                                      << "a1"
                                                      << "" << false;
        QTest::newRow("bracket matches itself") << "[ab]%"
                                                << "[AB] x"
                                                << "" << true;
        QTest::newRow("escaped underscore with accents") << "%é!_%"
                                                         << "ÉTÉ_2011"
                                                         << "!" << true;
    }
    void likeRule() {
        QFETCH(QString, pattern);
        QFETCH(QString, text);
        QFETCH(QString, escape);
        QFETCH(bool, expected);
        QCOMPARE(unicodeLike(pattern, text, escape.isEmpty() ? QChar() : escape.at(0)), expected);
    }

    void readOnlyConnectionRefusesWrites() {
        Connection cn;
        ConnectToFile(cn, dbPath, QStringLiteral("unknown"), ReadOnly);
        QVERIFY(cn->isReadOnly());
        QVERIFY_THROWS_EXCEPTION(FatalError, ExecCmdInDB(cn, QStringLiteral("delete from t")));
        QCOMPARE(
            GetRS(cn, QStringLiteral("select count(*) from t"), QStringLiteral("read"))->field(0).toInt(), 3);
    }

    void transactionRollsBackUnlessCommitted() {
        Connection cn = openScratch();
        {
            Transaction tx(cn);
            ExecCmdInDB(cn, QStringLiteral("delete from t"));
        }
        QCOMPARE(
            GetRS(cn, QStringLiteral("select count(*) from t"), QStringLiteral("read"))->field(0).toInt(), 3);
        {
            Transaction tx(cn);
            ExecCmdInDB(cn, QStringLiteral("insert into t values ('temp', 1)"));
            tx.commit();
        }
        QCOMPARE(
            GetRS(cn, QStringLiteral("select count(*) from t"), QStringLiteral("read"))->field(0).toInt(), 4);
        ExecCmdInDB(cn, QStringLiteral("delete from t where Name = 'temp'"));
    }
};

QTEST_GUILESS_MAIN(TestDbTools)
#include "test_dbtools.moc"
