// The comparison of one firm as a row: its columns against the comparison table, the
// checks a firm passes first, the industry's years and the texts of a refusal.

#include "firm/FirmStatement.h"
#include "report/FirmComparison.h"
#include "state/modMain.h"
#include "support/SampleData.h"
#include "support/TestDatabases.h"

#include <QSet>
#include <QtTest>

using namespace modMain;

namespace {

FirmStatement balanced() {
    FirmStatement f;
    f.firmName = QStringLiteral("Acme");
    f.year = QStringLiteral("2010");
    f.value("Cash") = QStringLiteral("600");
    f.value("ShareC") = QStringLiteral("600");
    return f;
}

} // namespace

class TestFirmComparison : public QObject {
    Q_OBJECT

private slots:
    void columnsAreThoseOfTheComparisonTable() {
        TestDatabases db;
        db.open();
        const QStringList table =
            GetRS(gcnMyData, QStringLiteral("select * from Rpt_Comparison where 0"), QStringLiteral("read"))
                ->fieldNames();
        const QStringList& row = firmcomparison::columns();
        QSet<QString> seen;
        for (const QString& c : row) {
            QVERIFY2(!seen.contains(c.toCaseFolded()), qPrintable(c + QStringLiteral(" twice")));
            seen.insert(c.toCaseFolded());
        }
        // Every column the table has is one the row fills, and the other way round.
        QSet<QString> inTable;
        for (const QString& c : table)
            inTable.insert(c.toCaseFolded());
        QCOMPARE(seen, inTable);
        for (const char* text : {"MyFirmName", "MyNAICS", "MyIndustry", "MyVol"})
            QVERIFY(firmcomparison::isTextColumn(QLatin1String(text)));
        QVERIFY(!firmcomparison::isTextColumn(QStringLiteral("MyYear")));
        QVERIFY(!firmcomparison::isTextColumn(QStringLiteral("NumberOfFirms")));
    }

    void firmChecksInTheScreensOrder_data() {
        QTest::addColumn<QString>("year");
        QTest::addColumn<QString>("shareC"); // balanced with 600
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("cash");
        QTest::addColumn<QString>("message"); // empty: accepted
        QTest::newRow("accepted") << "2010"
                                  << "600"
                                  << "Acme"
                                  << "600" << QString();
        QTest::newRow("year first") << "2012"
                                    << "1"
                                    << ""
                                    << "600"
                                    << "Invalid year.  Year must be between 2009 and 2011";
        QTest::newRow("a year in another form") << "2010.0"
                                                << "600"
                                                << "Acme"
                                                << "600"
                                                << "Invalid year.  Year must be between 2009 and 2011";
        QTest::newRow("balance before the name")
            << "2011"
            << "1"
            << ""
            << "600"
            << "Total Assets is not equal Total Liabilities and Shareholders' "
               "Equity";
        QTest::newRow("name before the values") << "2011"
                                                << "0"
                                                << ""
                                                << "0"
                                                << "Please enter an enterprise name";
        QTest::newRow("no assets") << "2011"
                                   << "0"
                                   << "Acme"
                                   << "0"
                                   << "Please enter your enterprise values";
        QTest::newRow("beyond the boxes") << "2011"
                                          << "600"
                                          << "Acme"
                                          << "1000000000000000000000"
                                          << "Please enter a number";
    }
    void firmChecksInTheScreensOrder() {
        QFETCH(QString, year);
        QFETCH(QString, shareC);
        QFETCH(QString, name);
        QFETCH(QString, cash);
        QFETCH(QString, message);
        FirmStatement f = balanced();
        f.year = year;
        f.firmName = name;
        f.value("Cash") = cash;
        f.value("ShareC") = shareC;
        const std::optional<QString> problem = firmcomparison::firmProblem(f, Language::E);
        QCOMPARE(problem.value_or(QString()), message);
        if (message.isEmpty()) {
            // The firm is left as typed: subtotals computed, empty values 0.
            QCOMPARE(f.value("Ta"), QStringLiteral("600"));
            QCOMPARE(f.value("TotLiabShareEq"), QStringLiteral("600"));
            QCOMPARE(f.value("Mtg"), QStringLiteral("0"));
        }
    }

    void noDataMessages_data() {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("message");
        QTest::newRow("E") << "E"
                           << "This industry has no data for 2009";
        QTest::newRow("e") << "e"
                           << "This industry has no data for 2009";
        QTest::newRow("F") << "F"
                           << "Il n'y a pas de données pour cette industrie pour 2009";
    }
    void noDataMessages() {
        QFETCH(QString, language);
        QFETCH(QString, message);
        QCOMPARE(firmcomparison::noDataMessage(language, 2009), message);
    }

    void industryYearsAndTheirData() {
        TestDatabases db;
        db.open();
        const QString naics = completeIndustry(gcnData, QStringLiteral("NS"));
        const firmcomparison::IndustryYears years =
            firmcomparison::extractIndustryYears(gcnData, gcnMyData, 3, QStringLiteral("NS"), naics, "E");
        for (const int year : {2011, 2010, 2009}) {
            const Recordset* row = years.of(int16_t(year));
            QVERIFY(row);
            QVERIFY(firmcomparison::hasData(*row));
            // The row of that year is the dataset's own.
            const RecordsetPtr direct =
                GetRS(gcnData,
                      QStringLiteral(
                          "select NumberOfFirms, NPMQ2 from ZEBRO_Vol3_NS_%1_Final_Ratios where NAICS = ?")
                          .arg(year),
                      QStringLiteral("read"), {naics});
            QCOMPARE(row->field(QStringLiteral("NumberOfFirms")).toDouble(),
                     direct->field(QStringLiteral("NumberOfFirms")).toDouble());
            QCOMPARE(row->field(QStringLiteral("npmq2")).toDouble(),
                     direct->field(QStringLiteral("NPMQ2")).toDouble());
        }
        QVERIFY(!years.of(2008));
        QVERIFY(!years.of(2012));
        QCOMPARE(firmcomparison::workingTableOf(2010).value_or(QString()), QStringLiteral("Rpt_Data_CYM1"));
        QVERIFY(!firmcomparison::workingTableOf(2012));

        // An unknown industry has a row of its code alone: no data in any year.
        const firmcomparison::IndustryYears none =
            firmcomparison::extractIndustryYears(gcnData, gcnMyData, 3, QStringLiteral("NS"), "999999", "E");
        QVERIFY(!firmcomparison::hasData(*none.of(2011)));
    }

    void volumeLineInTheReportsLanguage() {
        TestDatabases db;
        db.open();
        const QString title =
            GetRS(gcnMyData,
                  QStringLiteral("select Title1 from Volume_Descriptions where Volume = 3 and "
                                 "Language = 'F'"),
                  QStringLiteral("read"))
                ->field(0)
                .toString();
        QCOMPARE(
            firmcomparison::volumeLine(gcnMyData, 3, QStringLiteral("NS"), QStringLiteral("F")).toString(),
            title + QStringLiteral(" - Nouvelle-Écosse"));
        QVERIFY(firmcomparison::volumeLine(gcnMyData, 9, QStringLiteral("NS"), QStringLiteral("E")).isNull());
    }
};

QTEST_MAIN(TestFirmComparison)
#include "test_firm_comparison.moc"
