// An industry's definition: its lookup in either language, and the printed page's
// lines with their margin and line-breaking rule.

#include "industry/DefinitionPrintout.h"
#include "industry/IndustryDefinition.h"
#include "state/modMain.h"
#include "support/TestDatabases.h"

#include <QtTest>

using namespace modMain;
using definitionprintout::PrintedLine;

namespace {

const QString M(15, u' '); // the printed margin

QString words(int from, int count, const QString& stem = QStringLiteral("word")) {
    QStringList out;
    for (int i = from; i < from + count; ++i)
        out << stem + QStringLiteral("%1").arg(i, 9 - stem.size(), 10, QChar(u'0'));
    return out.join(u' ');
}

} // namespace

class TestIndustryDefinition : public QObject {
    Q_OBJECT

    std::unique_ptr<TestDatabases> dbs;

    QString someCode() {
        return GetRS(gcnData, QStringLiteral("select min(NAICS) from ") + gstrDataTable,
                     QStringLiteral("read"))
            ->field(0)
            .toString();
    }

private slots:
    void init() { dbs = std::make_unique<TestDatabases>(); }
    void cleanup() { dbs.reset(); }

    void lookupInEachLanguage_data() {
        QTest::addColumn<QString>("option");
        QTest::addColumn<int>("language");
        QTest::newRow("detailed table, English") << "optVol1" << 0;
        QTest::newRow("detailed table, French") << "optVol1" << 1;
        QTest::newRow("raw table, French") << "optManitoba" << 1;
    }
    void lookupInEachLanguage() {
        QFETCH(QString, option);
        QFETCH(int, language);
        dbs->open();
        subSetDataTable(option);
        const QString code = someCode();
        RecordsetPtr rs =
            GetRS(gcnData,
                  QStringLiteral("select Description, Description_french, definitione, definitionf from ") +
                      gstrNAICSTable + QStringLiteral(" where NAICS = ?"),
                  QStringLiteral("read"), {code});
        const auto d =
            industrydefinition::lookup(gcnData, gstrNAICSTable, code, language::fromFlag(language));
        QVERIFY(d);
        QCOMPARE(d->heading, code + QStringLiteral(" - ") + rs->field(language ? 1 : 0).toString());
        QCOMPARE(d->text, rs->field(language ? 3 : 2).toString());
        QVERIFY(!d->text.isEmpty());
    }

    void nullDefinitionIsEmptyAndUnknownCodeIsNothing() {
        dbs->editReference(QStringLiteral(
            "update ZEBRO_NAICS_Description_Ind_Raw set definitionf = null where NAICS = '111110'"));
        dbs->open();
        const auto d = industrydefinition::lookup(gcnData, QLatin1String(catalogue::NaicsRaw),
                                                  QStringLiteral("111110"), Language::F);
        QVERIFY(d);
        QVERIFY(d->text.isEmpty());
        QVERIFY(d->heading.startsWith(QStringLiteral("111110 - ")));
        QVERIFY(!industrydefinition::lookup(gcnData, QLatin1String(catalogue::NaicsRaw),
                                            QStringLiteral("999999"), Language::E));
        QVERIFY(!industrydefinition::lookup(gcnData, QLatin1String(catalogue::NaicsRaw),
                                            QStringLiteral("1' or '1'='1"), Language::E));
    }

    void bodyLines_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("one short line") << "Soybean farming." << QStringList{M + "Soybean farming."};
        QTest::newRow("empty text") << "" << QStringList{M};
        QTest::newRow("paragraphs keep the margin")
            << "First paragraph.\r\nSecond paragraph.\r\nThird."
            << QStringList{M + "First paragraph.", M + "Second paragraph.", M + "Third."};
        QTest::newRow("line feeds alone count as line breaks")
            << "First.\nSecond." << QStringList{M + "First.", M + "Second."};
        QTest::newRow("carriage returns alone too")
            << "First.\rSecond." << QStringList{M + "First.", M + "Second."};
        QTest::newRow("an empty line between paragraphs")
            << "A.\r\n\r\nB." << QStringList{M + "A.", M, M + "B."};
        // Nine-letter words: the blank at column 80 is the first one met with 79 characters on the line.
        QTest::newRow("broken after the blank at column 80")
            << words(1, 12) << QStringList{M + words(1, 8) + u' ', M + words(9, 4)};
        QTest::newRow("each printed line counts afresh")
            << words(1, 20) << QStringList{M + words(1, 8) + u' ', M + words(9, 8) + u' ', M + words(17, 4)};
        QTest::newRow("a word across column 80 is not cut")
            << QString(74, u'x') + u' ' + QString(10, u'y') + QStringLiteral(" z")
            << QStringList{M + QString(74, u'x') + u' ' + QString(10, u'y') + u' ', M + u'z'};
        QTest::newRow("no blank: one line whatever its length")
            << QString(200, u'x') << QStringList{M + QString(200, u'x')};
        QTest::newRow("French letters are one character each")
            << words(1, 10, QStringLiteral("éèàç"))
            << QStringList{M + words(1, 8, QStringLiteral("éèàç")) + u' ',
                           M + words(9, 2, QStringLiteral("éèàç"))};
        QTest::newRow("a paragraph break restarts the count")
            << QString(60, u'a') + QStringLiteral("\r\n") + words(1, 9)
            << QStringList{M + QString(60, u'a'), M + words(1, 8) + u' ', M + words(9, 1)};
    }
    void bodyLines() {
        QFETCH(QString, text);
        QFETCH(QStringList, lines);
        const QList<PrintedLine> page =
            definitionprintout::pageLines(QStringLiteral("111110 - Soybean farming"), text);
        QCOMPARE(page.size(), 8 + lines.size());
        QStringList body;
        for (qsizetype i = 8; i < page.size(); ++i) {
            body << page[i].text;
            QCOMPARE(page[i].bold, false);
            QCOMPARE(page[i].pointSize, 10);
        }
        QCOMPARE(body, lines);
    }

    void pageStartsWithBlankLinesAndTheBoldHeading() {
        const QList<PrintedLine> page = definitionprintout::pageLines(
            QStringLiteral("448140 - Family clothing stores"), QStringLiteral("Body."));
        const QList<PrintedLine> expected{
            {" ", false, 10},
            {" ", false, 10},
            {" ", false, 10},
            {" ", false, 10},
            {M + "448140 - Family clothing stores", true, 12},
            {" ", true, 12},
            {" ", true, 12},
            {" ", true, 12},
            {M + "Body.", false, 10},
        };
        QCOMPARE(page, expected);
    }

    void bodyItemKeepsLineFeedsAndBreaksWithCarriageReturns() {
        QCOMPARE(definitionprintout::bodyItem(QStringLiteral("A\r\nB")),
                 M + QStringLiteral("A\n") + M + u'B');
        QCOMPARE(definitionprintout::bodyItem(words(1, 9)),
                 M + words(1, 8) + QStringLiteral(" \r") + M + words(9, 1));
    }
};

QTEST_GUILESS_MAIN(TestIndustryDefinition)
#include "test_industry_definition.moc"
