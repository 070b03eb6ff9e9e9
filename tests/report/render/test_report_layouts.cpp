// The layout files: the shipped ones print every ratio and balance-sheet item from the
// right columns, and a layout the renderer cannot follow stops it with a message that
// names the place.

#include "ReportFixture.h"
#include "firm/LineItems.h"
#include "platform/Platform.h"
#include "report/render/Charts.h"
#include "report/render/ReportRenderer.h"
#include "text/StringTable.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QtTest>

using namespace reportrender;

namespace {

QString shippedLayout(Kind kind) {
    return QStringLiteral(VENTROLUX_TEST_BIN_DIR "/reports/") + layoutFileName(kind);
}

QJsonObject readJson(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return QJsonDocument::fromJson(f.readAll()).object();
}

// The body rows of a layout's table with the given id.
QJsonArray tableRows(const QJsonObject& layout, const QString& id) {
    for (const QJsonValue& block : layout.value(QLatin1String("body")).toArray())
        if (block.toObject().value(QLatin1String("id")).toString() == id)
            return block.toObject().value(QLatin1String("rows")).toArray();
    return {};
}

QJsonObject rowNamed(const QJsonArray& rows, int nameEntry) {
    for (const QJsonValue& r : rows)
        if (r.toObject().value(QLatin1String("name")).toInt() == nameEntry) return r.toObject();
    return {};
}

} // namespace

class TestReportLayouts : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    Connection cn;

    QString writeLayout(const QString& name, const QByteArray& content) {
        const QString path = dir.path() + u'/' + name;
        QFile f(path);
        f.open(QIODevice::WriteOnly | QIODevice::Truncate);
        f.write(content);
        return path;
    }

private slots:
    void initTestCase() {
        Q_INIT_RESOURCE(core); // the core library is static: the program registers its resources
        QVERIFY(dir.isValid());
        const QString db = dir.path() + QStringLiteral("/myData.db");
        cn = reportfixture::openUserDatabase(db);
        reportfixture::prepare(cn, QStringLiteral("E"));
    }
    void cleanupTestCase() { DisconnectFromDB(cn); }

    void layoutsAreCopiedToTheProgramDirectory_data() {
        QTest::addColumn<int>("kind");
        QTest::newRow("comparison") << int(Kind::Comparison);
        QTest::newRow("ratios") << int(Kind::Ratios);
        QTest::newRow("balance sheet") << int(Kind::BalanceSheet);
    }
    void layoutsAreCopiedToTheProgramDirectory() {
        QFETCH(int, kind);
        const QString name = layoutFileName(Kind(kind));
        QFile source(QStringLiteral(VENTROLUX_SOURCE_DIR "/reports/") + name);
        QFile copy(shippedLayout(Kind(kind)));
        QVERIFY(source.open(QIODevice::ReadOnly));
        QVERIFY2(copy.open(QIODevice::ReadOnly), qPrintable(copy.fileName()));
        QCOMPARE(copy.readAll(), source.readAll());
    }

    // Every ratio, in its group, with its name and the columns of its figures: in the table of
    // gauges and in the reading's table.
    void comparisonPrintsEveryRatio_data() {
        QTest::addColumn<QString>("table");
        QTest::newRow("gauges") << "ratios";
        QTest::newRow("reading") << "reading";
    }
    void comparisonPrintsEveryRatio() {
        QFETCH(QString, table);
        const QJsonArray rows = tableRows(readJson(shippedLayout(Kind::Comparison)), table);
        QVERIFY(!rows.isEmpty());
        int groupIndex = -1;
        int position = 0;
        for (const ratios::Ratio& r : ratios::all()) {
            const QJsonObject row = rowNamed(rows, r.nameEntry);
            QVERIFY2(!row.isEmpty(), qPrintable(QString::fromLatin1(r.firmColumn)));
            QCOMPARE(row.value(QLatin1String("firm")).toString(), QLatin1String(r.firmColumn));
            QCOMPARE(row.value(QLatin1String("q")).toString() + QStringLiteral("Q2"), ratios::q2Column(r));
            QCOMPARE(QStringLiteral("Better") + row.value(QLatin1String("pos")).toString(),
                     ratios::betterColumn(r));
            QCOMPARE(row.value(QLatin1String("fmt")).toString(),
                     r.percentage ? QStringLiteral("pct1") : QStringLiteral("ratio2"));
            // In table order, and under the heading of its group.
            const int at = int(std::find(rows.begin(), rows.end(), QJsonValue(row)) - rows.begin());
            QVERIFY(at > position);
            position = at;
            int heading = -1;
            for (int i = at; i >= 0 && heading < 0; --i)
                if (rows[i].toObject().contains(QLatin1String("group")))
                    heading = rows[i]
                                  .toObject()
                                  .value(QLatin1String("group"))
                                  .toObject()
                                  .value(QLatin1String("string"))
                                  .toInt();
            const auto group = std::find_if(ratios::groups().begin(), ratios::groups().end(),
                                            [&](const ratios::GroupInfo& g) { return g.group == r.group; });
            QCOMPARE(heading, group->nameEntry);
            groupIndex = std::max(groupIndex, heading);
        }
        QCOMPARE(groupIndex, 130);
    }

    // Debt to equity and liabilities to assets are the ratios for which lower is better.
    void ratioRowsCarryTheirRules_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("rule");
        QTest::addColumn<QList<int>>("rows"); // string entries of the ratios' names
        QTest::newRow("comparison, lower is better") << int(Kind::Comparison) << "ratios"
                                                     << "lower" << QList<int>{134, 136};
        QTest::newRow("industry ratios, lower is better") << int(Kind::Ratios) << "quartiles"
                                                          << "lower" << QList<int>{134, 136};
    }
    void ratioRowsCarryTheirRules() {
        QFETCH(int, kind);
        QFETCH(QString, table);
        QFETCH(QString, rule);
        QFETCH(QList<int>, rows);
        const QJsonArray all = tableRows(readJson(shippedLayout(Kind(kind))), table);
        QList<int> flagged;
        for (const QJsonValue& r : all)
            if (r.toObject().value(rule).toBool())
                flagged << r.toObject().value(QLatin1String("name")).toInt();
        QCOMPARE(flagged, rows);
    }

    // The statement as entered: each of the 32 line items once, under its caption, from its column.
    void statementPrintsEveryLineItem() {
        const QJsonArray rows =
            tableRows(readJson(shippedLayout(Kind::Comparison)), QStringLiteral("statement"));
        QStringList items;
        for (const QJsonValue& r : rows) {
            const QJsonObject o = r.toObject();
            if (o.contains(QLatin1String("group"))) continue;
            const QString item = o.value(QLatin1String("item")).toString();
            items << item;
            QVERIFY2(lineitems::indexOf(item).has_value(), qPrintable(item));
            QCOMPARE(o.value(QLatin1String("name")).toInt(),
                     lineitems::byColumn(qPrintable(item)).captionEntry);
        }
        QCOMPARE(items.size(), 32);
        QCOMPARE(QSet<QString>(items.begin(), items.end()).size(), 32);
        QVERIFY(
            items.contains(QStringLiteral("Sales"))); // entered, though the comparison keeps no share of it
    }

    // The gauges read the quartiles of the firm's own year.
    void quartilesOfTheFirmsYear_data() {
        QTest::addColumn<int>("year");
        QTest::addColumn<int>("quarter"); // of the net profit margin, whose 2010 quartiles are missing
        QTest::newRow("2011") << 2011 << 2;
        QTest::newRow("2010") << 2010 << -1;
    }
    void quartilesOfTheFirmsYear() {
        QFETCH(int, year);
        QFETCH(int, quarter);
        reportfixture::prepare(cn, QStringLiteral("E"));
        ExecCmdInDB(cn, QStringLiteral("UPDATE Rpt_Data_CYM1 SET NPMQ1 = NULL, NPMQ2 = 0, NPMQ3 = NULL"));
        ExecCmdInDB(cn, QStringLiteral("UPDATE Rpt_Comparison SET MyYear = ?"), {year});
        const auto doc = buildDocument(Kind::Comparison, cn, shippedLayout(Kind::Comparison));
        int found = -2;
        for (QTextBlock b = doc->begin(); b.isValid() && found == -2; b = b.next())
            for (auto it = b.begin(); !it.atEnd(); ++it)
                if (const std::optional<Chart> c = chartFromFormat(it.fragment().charFormat());
                    c && c->kind == ChartKind::QuartileGauge) {
                    found = c->quarter;
                    break;
                }
        QCOMPARE(found, quarter);
        reportfixture::prepare(cn, QStringLiteral("E"));
    }

    void ratiosReportPrintsEveryRatio() {
        const QJsonArray rows = tableRows(readJson(shippedLayout(Kind::Ratios)), QStringLiteral("quartiles"));
        for (const ratios::Ratio& r : ratios::all()) {
            const QJsonObject row = rowNamed(rows, r.nameEntry);
            QVERIFY2(!row.isEmpty(), qPrintable(QString::fromLatin1(r.quartileStem)));
            QCOMPARE(row.value(QLatin1String("q")).toString(), QLatin1String(r.quartileStem));
            QCOMPARE(row.value(QLatin1String("fmt")).toString(),
                     r.percentage ? QStringLiteral("num1") : QStringLiteral("ratio2"));
        }
    }

    // The 25 items in the order of the variances, each from its own columns; the totals bold.
    void balanceSheetItems_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("table");
        QTest::newRow("comparison") << int(Kind::Comparison) << "balance";
        QTest::newRow("industry balance sheet") << int(Kind::BalanceSheet) << "balance";
    }
    void balanceSheetItems() {
        QFETCH(int, kind);
        QFETCH(QString, table);
        const QJsonArray rows = tableRows(readJson(shippedLayout(Kind(kind))), table);
        QJsonArray items;
        for (const QJsonValue& r : rows)
            if (r.toObject().contains(QLatin1String("name"))) items.append(r);
        QCOMPARE(items.size(), qsizetype(ratios::variances().size()));
        const QStringList totals{QStringLiteral("Toa"), QStringLiteral("Ta"), QStringLiteral("Tliab"),
                                 QStringLiteral("Equity1"), QStringLiteral("TotLiabShareEq")};
        // The items stand in the order of the statement: each total after its parts.
        QList<const ratios::Variance*> statementOrder;
        for (const lineitems::LineItem& li : lineitems::all())
            for (const ratios::Variance& v : ratios::variances())
                if (qstrcmp(v.lineItem, li.column) == 0) statementOrder << &v;
        QCOMPARE(statementOrder.size(), qsizetype(ratios::variances().size()));
        int i = 0;
        for (const ratios::Variance* vp : statementOrder) {
            const ratios::Variance& v = *vp;
            const QJsonObject row = items[i++].toObject();
            const lineitems::LineItem& item = lineitems::byColumn(v.lineItem);
            QCOMPARE(row.value(QLatin1String("name")).toInt(), item.captionEntry);
            QCOMPARE(row.value(QLatin1String("ind")).toString().toLower(),
                     QString::fromLatin1(v.industryColumn).toLower());
            if (Kind(kind) == Kind::Comparison) {
                QCOMPARE(row.value(QLatin1String("item")).toString(), QLatin1String(v.lineItem));
                QCOMPARE(row.value(QLatin1String("var")).toString(), QLatin1String(v.column));
            }
            const QString style = row.value(QLatin1String("style")).toString();
            QCOMPARE(style == QLatin1String("subtotal") || style == QLatin1String("total"),
                     totals.contains(QLatin1String(v.lineItem)));
        }
    }

    void refusesLayoutsItCannotFollow_data() {
        QTest::addColumn<QString>("from"); // text of the shipped comparison layout to replace
        QTest::addColumn<QString>("to");
        QTest::addColumn<QString>("message");
        QTest::newRow("not JSON") << "\"report\": \"Comparison\","
                                  << "\"report\": \"Comparison\""
                                  << "not valid JSON";
        QTest::newRow("layout of another report") << "\"report\": \"Comparison\""
                                                  << "\"report\": \"Ratios\""
                                                  << "Ratios";
        QTest::newRow("unknown block") << "{\"type\": \"fields\""
                                       << "{\"type\": \"field\""
                                       << "unknown block type 'field'";
        QTest::newRow("unknown column") << "Rpt_Comparison.MyFirmName"
                                        << "Rpt_Comparison.MyFirm"
                                        << "MyFirm";
        QTest::newRow("unknown table") << "{\"table\": \"Rpt_Comparison\""
                                       << "{\"table\": \"Rpt_Elsewhere\""
                                       << "Rpt_Elsewhere";
        QTest::newRow("unknown row style") << "\"style\": \"subtotal\""
                                           << "\"style\": \"sub-total\""
                                           << "sub-total";
        QTest::newRow("unknown chart") << "\"chart\": \"quartileGauge\", \"lowest\""
                                       << "\"chart\": \"pie\", \"lowest\""
                                       << "pie";
        QTest::newRow("parameter without value") << "Rpt_Comparison.${firm}"
                                                 << "Rpt_Comparison.${firms}"
                                                 << "${firms}";
        QTest::newRow("bar scaled by an unknown column") << "${var}\", \"scale\": \"bar\""
                                                         << "${var}\", \"scale\": \"bars\""
                                                         << "'bars'";
        QTest::newRow("bad colour") << "\"accent\": \"#1f3b57\""
                                    << "\"accent\": \"ocean\""
                                    << "ocean";
        QTest::newRow("bad alignment") << "\"align\": \"right\""
                                       << "\"align\": \"east\""
                                       << "east";
        QTest::newRow("unknown condition") << "{\"flag\": \"${lower}\"}"
                                           << "{\"flagged\": \"${lower}\"}"
                                           << "unknown condition 'flagged'";
        QTest::newRow("no table for the year") << "\"2011\": \"Rpt_Data_CY\""
                                               << "\"2012\": \"Rpt_Data_CY\""
                                               << "MyYear = '2011'";
        QTest::newRow("chosen table without alias") << "{\"as\": \"Industry\", "
                                                    << "{"
                                                    << "'as'";
        QTest::newRow("defaults not an object") << "\"defaults\": {\"lower\": false}"
                                                << "\"defaults\": [false]"
                                                << "'defaults'";
        QTest::newRow("column groups do not add up")
            << "\"columns\": [\n       {\"id\": \"name\", \"width\": 36"
            << "\"columnGroups\": [{\"span\": 2}],\n     \"columns\": [\n       {\"id\": \"name\", "
               "\"width\": 36"
            << "span 2 columns";
    }
    void refusesLayoutsItCannotFollow() {
        QFETCH(QString, from);
        QFETCH(QString, to);
        QFETCH(QString, message);
        QFile f(shippedLayout(Kind::Comparison));
        QVERIFY(f.open(QIODevice::ReadOnly));
        QString text = QString::fromUtf8(f.readAll());
        QVERIFY2(text.contains(from), qPrintable(from));
        text.replace(text.indexOf(from), from.size(), to);
        const QString path = writeLayout(QStringLiteral("rpt_Comparison.json"), text.toUtf8());
        try {
            buildDocument(Kind::Comparison, cn, path);
            QFAIL("the layout was accepted");
        } catch (const FatalError& e) {
            QVERIFY2(e.description().contains(message), qPrintable(e.description()));
        }
    }

    void missingLayoutIsAnError() {
        try {
            buildDocument(Kind::Ratios, cn, dir.path() + QStringLiteral("/nowhere/rpt_Ratios.json"));
            QFAIL("no error");
        } catch (const FatalError& e) {
            QCOMPARE(e.number(), errnum::FileNotFound);
            QVERIFY(e.description().contains(QLatin1String("rpt_Ratios.json")));
        }
    }

    void unpreparedReportIsAnError() {
        ExecCmdInDB(cn, QStringLiteral("DELETE FROM Rpt_Comparison"));
        try {
            buildDocument(Kind::Comparison, cn, shippedLayout(Kind::Comparison));
            reportfixture::prepare(cn, QStringLiteral("E"));
            QFAIL("no error");
        } catch (const FatalError& e) {
            reportfixture::prepare(cn, QStringLiteral("E"));
            QCOMPARE(e.number(), errnum::NoCurrentRecord);
            QVERIFY(e.description().contains(QLatin1String("Rpt_Comparison")));
        }
        // An earlier year the industry has no row for at all still prints, as n/a.
        ExecCmdInDB(cn, QStringLiteral("DELETE FROM Rpt_Data_CYM2"));
        QVERIFY(buildDocument(Kind::BalanceSheet, cn, shippedLayout(Kind::BalanceSheet))
                    ->toPlainText()
                    .contains(QLatin1String("n/a")));
        reportfixture::prepare(cn, QStringLiteral("E"));
    }
};

QTEST_MAIN(TestReportLayouts)
#include "test_report_layouts.moc"
