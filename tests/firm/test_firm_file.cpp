// Firm files for batch use: JSON objects and CSV files.

#include "firm/FirmFile.h"

#include <QtTest>

class TestFirmFile : public QObject {
    Q_OBJECT
private slots:
    void jsonNumbersAndTexts() {
        const auto r = firmfile::parseJson("{\"FirmName\": \"O'Brien Ltd.\", \"Year\": 2010, \"Cash\": 1500.25, "
"                                              \"Ar\": \"2 000\", \"Sales\": 1e7, \"Inv\": null}");
        QVERIFY2(r.error.isEmpty(), qPrintable(r.error));
        QCOMPARE(r.firm.firmName, QStringLiteral("O'Brien Ltd."));
        QCOMPARE(r.firm.year, QStringLiteral("2010"));
        QCOMPARE(r.firm.value("Cash"), QStringLiteral("1500.25"));
        QCOMPARE(r.firm.value("Ar"), QStringLiteral("2 000"));
        QCOMPARE(r.firm.value("Sales"), QStringLiteral("10000000"));
        QVERIFY(r.firm.value("Inv").isEmpty());
        QVERIFY(r.firm.value("Mtg").isEmpty()); // a missing item is an empty box
    }

    void jsonErrors_data() {
        QTest::addColumn<QByteArray>("json");
        QTest::newRow("not an object") << QByteArray("[1, 2]");
        QTest::newRow("broken") << QByteArray("{\"Cash\": ");
        QTest::newRow("unknown key") << QByteArray("{\"Cashh\": 1}");
        QTest::newRow("nested value") << QByteArray("{\"Cash\": {\"a\": 1}}");
    }
    void jsonErrors() {
        QFETCH(QByteArray, json);
        QVERIFY(!firmfile::parseJson(json).error.isEmpty());
    }

    void csvHeaderAndFirstRow() {
        const auto r = firmfile::parseCsv(QStringLiteral("\xFEFF" "FirmName,Year,cash,OperatingRevenue\r\n"
                                                         "\"Smith, Jones \"\"& Sons\"\"\",2009,100,\"1,5\"\r\n"
                                                         "Second,2011,1,1\n"));
        QVERIFY2(r.error.isEmpty(), qPrintable(r.error));
        QCOMPARE(r.firm.firmName, QStringLiteral("Smith, Jones \"& Sons\""));
        QCOMPARE(r.firm.year, QStringLiteral("2009"));
        QCOMPARE(r.firm.value("Cash"), QStringLiteral("100"));
        QCOMPARE(r.firm.value("OperatingRevenue"), QStringLiteral("1,5"));
    }

    void csvErrors() {
        QVERIFY(!firmfile::parseCsv(QStringLiteral("FirmName,Year\n")).error.isEmpty());
        QVERIFY(!firmfile::parseCsv(QStringLiteral("FirmName,Bogus\nA,1\n")).error.isEmpty());
    }

    void csvRecordsKeepEmptyFields() {
        const auto records = firmfile::csvRecords(QStringLiteral("a,,c\n,\n"));
        QCOMPARE(records.size(), 2);
        QCOMPARE(records[0], (QStringList{QStringLiteral("a"), QString(), QStringLiteral("c")}));
        QCOMPARE(records[1], (QStringList{QString(), QString()}));
    }
};

QTEST_GUILESS_MAIN(TestFirmFile)
#include "test_firm_file.moc"
