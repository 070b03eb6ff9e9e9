// The table catalogue: dataset table names and the check that only known names reach SQL.

#include "data/Catalogue.h"
#include "platform/Platform.h"

#include <QtTest>

class TestCatalogue : public QObject {
    Q_OBJECT
private slots:
    void datasetTableNames_data() {
        QTest::addColumn<int>("volume");
        QTest::addColumn<QString>("region");
        QTest::addColumn<int>("year");
        QTest::addColumn<QString>("name");
        QTest::newRow("NS 2011") << 3 << "NS" << 2011 << "ZEBRO_Vol3_NS_2011_Final_Ratios";
        QTest::newRow("vol 1 2009") << 1 << "ALL" << 2009 << "ZEBRO_Vol1_ALL_2009_Final_Ratios";
        QTest::newRow("territories 2010")
            << 3 << "TERRITORIES" << 2010 << "ZEBRO_Vol3_TERRITORIES_2010_Final_Ratios";
    }
    void datasetTableNames() {
        QFETCH(int, volume);
        QFETCH(QString, region);
        QFETCH(int, year);
        QFETCH(QString, name);
        QCOMPARE(catalogue::datasetTableName(volume, region, year), name);
        const auto parsed = catalogue::parseDatasetTableName(name);
        QVERIFY(parsed);
        QCOMPARE(parsed->volume, volume);
        QCOMPARE(parsed->region, region);
        QCOMPARE(parsed->year, year);
        QCOMPARE(catalogue::fileOf(name), std::optional(catalogue::DbFile::Reference));
        QCOMPARE(catalogue::table(name), name);
    }

    void unknownNamesNeverReachSql_data() {
        QTest::addColumn<QString>("name");
        QTest::newRow("injection") << "MyValues; DROP TABLE MyValues";
        QTest::newRow("unknown region") << "ZEBRO_Vol3_XX_2011_Final_Ratios";
        QTest::newRow("region of volume 1") << "ZEBRO_Vol1_NS_2011_Final_Ratios";
        QTest::newRow("other option") << "KLV_Other";
        QTest::newRow("lower-case region") << "ZEBRO_Vol3_ns_2011_Final_Ratios";
        QTest::newRow("empty") << "";
    }
    void unknownNamesNeverReachSql() {
        QFETCH(QString, name);
        QVERIFY(!catalogue::fileOf(name));
        QVERIFY_THROWS_EXCEPTION(FatalError, catalogue::table(name));
    }

    void fixedTablesByFile_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("reference");
        QTest::newRow("datadescription") << "datadescription" << true;
        QTest::newRow("tree") << "tblTreeview" << true;
        QTest::newRow("detailed") << "ZEBRO_NAICS_Description_Ind_Detailed" << true;
        QTest::newRow("MyValues any case") << "myvalues" << false;
        QTest::newRow("comparison") << "Rpt_Comparison" << false;
        QTest::newRow("province codes") << "ProvinceCodes" << false;
    }
    void fixedTablesByFile() {
        QFETCH(QString, name);
        QFETCH(bool, reference);
        QCOMPARE(catalogue::fileOf(name),
                 std::optional(reference ? catalogue::DbFile::Reference : catalogue::DbFile::User));
    }

    void workingTables() {
        QCOMPARE(catalogue::workingTable(0), QStringLiteral("Rpt_Data_CY"));
        QCOMPARE(catalogue::workingTable(1), QStringLiteral("Rpt_Data_CYM1"));
        QCOMPARE(catalogue::workingTable(2), QStringLiteral("Rpt_Data_CYM2"));
        QVERIFY_THROWS_EXCEPTION(FatalError, catalogue::workingTable(3));
    }
};

QTEST_GUILESS_MAIN(TestCatalogue)
#include "test_catalogue.moc"
