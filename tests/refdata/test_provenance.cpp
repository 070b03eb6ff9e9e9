// Where the figures come from, in one line of each language: the sample database, an
// imported one with its source and date, one without a date, one that records nothing.

#include "RefdataSupport.h"
#include "data/DBTools.h"
#include "refdata/Provenance.h"
#include "refdata/ReferenceImport.h"

#include <QTemporaryDir>

using namespace refdatatest;

namespace {

QString described(const QString& path, int language) {
    Connection cn;
    ConnectToFile(cn, path, QStringLiteral("unknown"), ReadOnly);
    const QString text = provenance::describe(cn, language::fromFlag(language));
    DisconnectFromDB(cn);
    return text;
}

void execute(const QString& path, const QString& sql) {
    Connection cn;
    ConnectToFile(cn, path, QStringLiteral("unknown"), ReadWrite);
    ExecCmdInDB(cn, sql);
    DisconnectFromDB(cn);
}

} // namespace

class TestProvenance : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    QString imported_;

private slots:
    void initTestCase() {
        QVERIFY(dir_.isValid());
        imported_ = dir_.filePath(QStringLiteral("imported.db"));
        QVERIFY(refdata::importReference({exampleFolder(), imported_, QDate(2024, 3, 5), {}}).written);
    }

    void sampleDatabase_data() {
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("text");
        QTest::newRow("English") << 0
                                 << QStringLiteral(
                                        "Industry figures: synthetic sample data, not published statistics");
        QTest::newRow("French")
            << 1
            << QString::fromUtf8("Données de l'industrie\u00a0: données d'exemple synthétiques, et non des "
                                 "statistiques publiées");
    }
    void sampleDatabase() {
        QFETCH(int, language);
        QFETCH(QString, text);
        QCOMPARE(described(refdatatest::sampleDatabase(), language), text);
    }

    void sampleRecordsItsTables() {
        Db db(refdatatest::sampleDatabase());
        QCOMPARE(db.scalar(QStringLiteral("SELECT count(*) FROM Provenance")).toInt(), 60);
        QCOMPARE(db.scalar(QStringLiteral("SELECT count(*) FROM Provenance WHERE SourceName = 'synthetic "
                                          "sample' AND ImportDate IS NULL"))
                     .toInt(),
                 60);
        QCOMPARE(
            db.scalar(QStringLiteral("SELECT RowCount FROM Provenance WHERE TableName = 'datadescription'"))
                .toInt(),
            19);
        QCOMPARE(
            db
                .scalar(QStringLiteral(
                    "SELECT RowCount FROM Provenance WHERE TableName = 'ZEBRO_Vol3_NU_2011_Final_Ratios'"))
                .toInt(),
            0);
        QCOMPARE(db.scalar(QStringLiteral("SELECT RowCount FROM Provenance WHERE TableName = 'tblTreeview'")),
                 db.scalar(QStringLiteral("SELECT count(*) FROM tblTreeview")));
    }

    void importedDatabase_data() {
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("text");
        QTest::newRow("English") << 0
                                 << QStringLiteral("Industry figures: Ventrolux example figures (invented "
                                                   "for the tests), imported 2024-03-05");
        QTest::newRow("French") << 1
                                << QString::fromUtf8(
                                       "Données de l'industrie\u00a0: Ventrolux example figures "
                                       "(invented for the tests), importées le 2024-03-05");
    }
    void importedDatabase() {
        QFETCH(int, language);
        QFETCH(QString, text);
        QCOMPARE(described(imported_, language), text);
        Connection cn;
        ConnectToFile(cn, imported_, QStringLiteral("unknown"), ReadOnly);
        QCOMPARE(provenance::sourceName(cn),
                 QStringLiteral("Ventrolux example figures (invented for the tests)"));
        DisconnectFromDB(cn);
    }

    void withoutDate() {
        const QString copy = dir_.filePath(QStringLiteral("undated.db"));
        QVERIFY(QFile::copy(imported_, copy));
        execute(copy, QStringLiteral("UPDATE Provenance SET ImportDate = NULL"));
        QCOMPARE(described(copy, 0),
                 QStringLiteral("Industry figures: Ventrolux example figures (invented for the tests)"));
    }

    void notRecorded_data() {
        QTest::addColumn<QString>("change");
        QTest::newRow("no table") << QStringLiteral("DROP TABLE Provenance");
        QTest::newRow("no rows") << QStringLiteral("DELETE FROM Provenance");
    }
    void notRecorded() {
        QFETCH(QString, change);
        const QString copy = dir_.filePath(QStringLiteral("%1.db").arg(QTest::currentDataTag()));
        QVERIFY(QFile::copy(imported_, copy));
        execute(copy, change);
        QCOMPARE(described(copy, 0), QStringLiteral("Industry figures: source not recorded"));
        QCOMPARE(described(copy, 1), QString::fromUtf8("Données de l'industrie\u00a0: source non consignée"));
        Connection cn;
        ConnectToFile(cn, copy, QStringLiteral("unknown"), ReadOnly);
        QCOMPARE(provenance::sourceName(cn), QString());
        DisconnectFromDB(cn);
    }
};

QTEST_GUILESS_MAIN(TestProvenance)
#include "test_provenance.moc"
