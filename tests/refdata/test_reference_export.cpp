// Writing a reference database out as a folder of CSV files, and the round trips: the
// sample database and the example folder each come back table for table.

#include "RefdataSupport.h"
#include "refdata/ReferenceExport.h"
#include "refdata/ReferenceImport.h"

#include <QTemporaryDir>

using namespace refdatatest;

namespace {

refdata::ImportOutcome runImport(const QString& source, const QString& target) {
    return refdata::importReference({source, target, QDate(2024, 3, 5), {}});
}

} // namespace

class TestReferenceExport : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;

private slots:
    void initTestCase() { QVERIFY(dir_.isValid()); }

    // The sample database exported and imported again answers every query as before.
    void sampleDatabaseRoundTrip() {
        const QString folder = dir_.filePath(QStringLiteral("sample-csv"));
        const refdata::ExportOutcome out = refdata::exportReference(sampleDatabase(), folder, Language::E);
        QVERIFY(out.ok);
        const QString target = dir_.filePath(QStringLiteral("sample-again.db"));
        const refdata::ImportOutcome in = runImport(folder, target);
        QVERIFY2(in.written,
                 qPrintable(refdata::errorLines(in, {folder, target, {}, {}}, Language::E).join(u'\n')));
        const QMap<QString, QStringList> before = contents(sampleDatabase());
        QCOMPARE(before.size(), 60); // 4 tables and 56 dataset tables: one table of 2009 is missing
        QCOMPARE(contents(target), before);
        // Still the synthetic sample: its provenance travels with the folder.
        QCOMPARE(in.sourceName, QStringLiteral("synthetic sample"));
        QCOMPARE(out.tables, 61);
    }

    void exampleFolderRoundTrip() {
        const QString first = dir_.filePath(QStringLiteral("example.db"));
        QVERIFY(runImport(exampleFolder(), first).written);
        const QString folder = dir_.filePath(QStringLiteral("example-csv"));
        QVERIFY(refdata::exportReference(first, folder, Language::E).ok);
        const QString second = dir_.filePath(QStringLiteral("example-again.db"));
        QVERIFY(runImport(folder, second).written);
        QCOMPARE(contents(second), contents(first));
        // The exported files read as the example's own: same header, same rows.
        for (const QString& f :
             QDir(exampleFolder())
                 .entryList({QStringLiteral("ZEBRO_*.csv"), QStringLiteral("tblTreeview.csv")}))
            QCOMPARE(lines(QDir(folder).filePath(f)), lines(QDir(exampleFolder()).filePath(f)));
    }

    // UTF-8, comma, point; a null written empty, an empty text as "".
    void writtenFormat() {
        const QString db = dir_.filePath(QStringLiteral("format.db"));
        QVERIFY(runImport(exampleFolder(), db).written);
        {
            QSqlDatabase w = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("edit"));
            w.setDatabaseName(db);
            QVERIFY(w.open());
            QSqlQuery q(w);
            QVERIFY(q.exec(QStringLiteral("UPDATE tblTreeview SET IndDescF = 'Commerce de détail; en gros' "
                                          "WHERE NodeKey = 'IndTRETAIL'")));
            QVERIFY(q.exec(QStringLiteral(
                "UPDATE ZEBRO_NAICS_Description_Ind_Raw SET definitione = '' WHERE NAICS = '551113'")));
            q.finish();
            w.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("edit"));
        const QString folder = dir_.filePath(QStringLiteral("format-csv"));
        QVERIFY(refdata::exportReference(db, folder, Language::E).ok);
        const QList<QByteArray> tree = lines(QDir(folder).filePath(QStringLiteral("tblTreeview.csv")));
        QCOMPARE(tree[0], QByteArray("NodeKey,Parent,IndDescE,IndDescF,sequence"));
        QCOMPARE(tree[1], QByteArray("IndTOTALL,,All industries,Toutes les industries,1"));
        QCOMPARE(tree[3],
                 QByteArray("IndTRETAIL,IndTOTALL,Retail trade,Commerce de d\xC3\xA9tail; en gros,3"));
        const QByteArray raw =
            readAll(QDir(folder).filePath(QStringLiteral("ZEBRO_NAICS_Description_Ind_Raw.csv")));
        QVERIFY(raw.contains("551113,Holding companies,Soci\xC3\xA9t\xC3\xA9s de portefeuille,\"\",Cette"));
        QVERIFY(raw.contains("445110,Supermarkets and other grocery (except convenience) stores,"));
        QVERIFY(raw.contains("food.,,IndTRETAIL")); // a null French definition
        const QList<QByteArray> ns =
            lines(QDir(folder).filePath(QStringLiteral("ZEBRO_Vol3_NS_2011_Final_Ratios.csv")));
        QVERIFY(ns[3].startsWith("448140,Family clothing stores,806,"));
        QVERIFY(ns[3].contains(",3.53,"));
        QVERIFY(ns[2].contains(",0,27.8,")); // a boundary of 0 and the figures around it
        // The empty text survives the trip; the null stays null.
        const QString again = dir_.filePath(QStringLiteral("format-again.db"));
        QVERIFY(runImport(folder, again).written);
        Db back(again);
        QCOMPARE(
            back.scalar(QStringLiteral(
                "SELECT typeof(definitione) FROM ZEBRO_NAICS_Description_Ind_Raw WHERE NAICS = '551113'")),
            QVariant(QStringLiteral("text")));
        QCOMPARE(
            back.scalar(QStringLiteral(
                "SELECT typeof(definitionf) FROM ZEBRO_NAICS_Description_Ind_Raw WHERE NAICS = '445110'")),
            QVariant(QStringLiteral("null")));
    }

    // A table file of another database in the folder would be imported with this one.
    void staleFileRefused() {
        const QString folder = dir_.filePath(QStringLiteral("stale"));
        QVERIFY(QDir().mkpath(folder));
        const QString stale = QDir(folder).filePath(QStringLiteral("ZEBRO_Vol3_PE_2009_Final_Ratios.csv"));
        QVERIFY(writeAll(stale, "NAICS\n"));
        const refdata::ExportOutcome out = refdata::exportReference(sampleDatabase(), folder, Language::E);
        QVERIFY(!out.ok);
        QCOMPARE(out.issues.errors().size(), std::size_t(1));
        QCOMPARE(out.issues.errors().front().msg, refdata::Msg::StaleFile);
        QCOMPARE(QDir(folder).entryList(QDir::Files),
                 QStringList{QStringLiteral("ZEBRO_Vol3_PE_2009_Final_Ratios.csv")});
        // The same database again into its own export is fine.
        const QString own = dir_.filePath(QStringLiteral("own"));
        QVERIFY(refdata::exportReference(sampleDatabase(), own, Language::E).ok);
        QVERIFY(refdata::exportReference(sampleDatabase(), own, Language::E).ok);
    }

    void refusals_data() {
        QTest::addColumn<QString>("database");
        QTest::addColumn<int>("msg");
        QTest::newRow("no such file") << QStringLiteral("missing.db") << int(refdata::Msg::NoDatabase);
        QTest::newRow("not a database")
            << QStringLiteral("garbage.db") << int(refdata::Msg::NotAReferenceDatabase);
        QTest::newRow("not a database file name")
            << QStringLiteral("figures.txt") << int(refdata::Msg::NotAReferenceDatabase);
    }
    void refusals() {
        QFETCH(QString, database);
        QFETCH(int, msg);
        QTemporaryDir d;
        QVERIFY(writeAll(d.filePath(QStringLiteral("garbage.db")), QByteArray(4096, 'x')));
        QVERIFY(writeAll(d.filePath(QStringLiteral("figures.txt")), "a,b\n"));
        const refdata::ExportOutcome out =
            refdata::exportReference(d.filePath(database), d.filePath(QStringLiteral("out")), Language::E);
        QVERIFY(!out.ok);
        QCOMPARE(out.issues.errors().size(), std::size_t(1));
        QCOMPARE(int(out.issues.errors().front().msg), msg);
        QCOMPARE(QDir(d.filePath(QStringLiteral("out"))).entryList(QDir::Files), QStringList());
    }
};

QTEST_GUILESS_MAIN(TestReferenceExport)
#include "test_reference_export.moc"
