// The layout files: the shipped ones print every ratio and balance-sheet item from the
// right columns, and a layout the renderer cannot follow stops it with a message that
// names the place.

#include "ReportFixture.h"
#include "platform/Platform.h"
#include "firm/LineItems.h"
#include "report/render/ReportRenderer.h"
#include "text/StringTable.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QtTest>

using namespace reportrender;

namespace {

QString shippedLayout(Kind kind) { return QStringLiteral(VENTROLUX_TEST_BIN_DIR "/reports/") + layoutFileName(kind); }

QJsonObject readJson(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return QJsonDocument::fromJson(f.readAll()).object();
}

// The body rows of a layout's table with the given id.
QJsonArray tableRows(const QJsonObject& layout, const QString& id) {
    for (const QJsonValue& block : layout.value(QLatin1String("body")).toArray())
        if (block.toObject().value(QLatin1String("id")).toString() == id) return block.toObject().value(QLatin1String("rows")).toArray();
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

    // Every ratio, in its group, with its name and the columns of its figures.
    void comparisonPrintsEveryRatio() {
        const QJsonArray rows = tableRows(readJson(shippedLayout(Kind::Comparison)), QStringLiteral("ratios"));
        QVERIFY(!rows.isEmpty());
        int groupIndex = -1;
        int position = 0;
        for (const ratios::Ratio& r : ratios::all()) {
            const QJsonObject row = rowNamed(rows, r.nameEntry);
            QVERIFY2(!row.isEmpty(), qPrintable(QString::fromLatin1(r.firmColumn)));
            QCOMPARE(row.value(QLatin1String("firm")).toString(), QLatin1String(r.firmColumn));
            QCOMPARE(row.value(QLatin1String("q")).toString() + QStringLiteral("Q2"), ratios::q2Column(r));
            QCOMPARE(QStringLiteral("Better") + row.value(QLatin1String("pos")).toString(), ratios::betterColumn(r));
            QCOMPARE(row.value(QLatin1String("fmt")).toString(), r.percentage ? QStringLiteral("pct1") : QStringLiteral("ratio2"));
            // In table order, and under the heading of its group.
            const int at = int(std::find(rows.begin(), rows.end(), QJsonValue(row)) - rows.begin());
            QVERIFY(at > position);
            position = at;
            int heading = -1;
            for (int i = at; i >= 0 && heading < 0; --i)
                if (rows[i].toObject().contains(QLatin1String("group"))) heading = rows[i].toObject().value(QLatin1String("group")).toObject().value(QLatin1String("string")).toInt();
            const auto group = std::find_if(ratios::groups().begin(), ratios::groups().end(),
                                            [&](const ratios::GroupInfo& g) { return g.group == r.group; });
            QCOMPARE(heading, group->nameEntry);
            groupIndex = std::max(groupIndex, heading);
        }
        QCOMPARE(groupIndex, 130);
    }

    void ratiosReportPrintsEveryRatio() {
        const QJsonArray rows = tableRows(readJson(shippedLayout(Kind::Ratios)), QStringLiteral("quartiles"));
        for (const ratios::Ratio& r : ratios::all()) {
            const QJsonObject row = rowNamed(rows, r.nameEntry);
            QVERIFY2(!row.isEmpty(), qPrintable(QString::fromLatin1(r.quartileStem)));
            QCOMPARE(row.value(QLatin1String("q")).toString(), QLatin1String(r.quartileStem));
            QCOMPARE(row.value(QLatin1String("fmt")).toString(), r.percentage ? QStringLiteral("num1") : QStringLiteral("ratio2"));
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
        const QStringList totals{QStringLiteral("Toa"), QStringLiteral("Ta"), QStringLiteral("Tliab"), QStringLiteral("Equity1"),
                                 QStringLiteral("TotLiabShareEq")};
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
            QCOMPARE(row.value(QLatin1String("ind")).toString().toLower(), QString::fromLatin1(v.industryColumn).toLower());
            if (Kind(kind) == Kind::Comparison) {
                QCOMPARE(row.value(QLatin1String("item")).toString(), QLatin1String(v.lineItem));
                QCOMPARE(row.value(QLatin1String("var")).toString(), QLatin1String(v.column));
            }
            const QString style = row.value(QLatin1String("style")).toString();
            QCOMPARE(style == QLatin1String("subtotal") || style == QLatin1String("total"), totals.contains(QLatin1String(v.lineItem)));
        }
    }

    void refusesLayoutsItCannotFollow_data() {
        QTest::addColumn<QString>("from"); // text of the shipped comparison layout to replace
        QTest::addColumn<QString>("to");
        QTest::addColumn<QString>("message");
        QTest::newRow("not JSON") << "\"report\": \"Comparison\"," << "\"report\": \"Comparison\"" << "not valid JSON";
        QTest::newRow("layout of another report") << "\"report\": \"Comparison\"" << "\"report\": \"Ratios\"" << "Ratios";
        QTest::newRow("unknown block") << "{\"type\": \"fields\"" << "{\"type\": \"field\"" << "unknown block type 'field'";
        QTest::newRow("unknown column") << "Rpt_Comparison.MyFirmName" << "Rpt_Comparison.MyFirm" << "MyFirm";
        QTest::newRow("unknown table") << "{\"table\": \"Rpt_Comparison\"" << "{\"table\": \"Rpt_Elsewhere\"" << "Rpt_Elsewhere";
        QTest::newRow("unknown row style") << "\"style\": \"subtotal\"" << "\"style\": \"sub-total\"" << "sub-total";
        QTest::newRow("unknown chart") << "\"chart\": \"quartileGauge\"" << "\"chart\": \"pie\"" << "pie";
        QTest::newRow("parameter without value") << "Rpt_Comparison.${firm}" << "Rpt_Comparison.${firms}" << "${firms}";
        QTest::newRow("bar scaled by an unknown column") << "\"scale\": \"bar\"" << "\"scale\": \"bars\"" << "'bars'";
        QTest::newRow("bad colour") << "\"accent\": \"#1f3b57\"" << "\"accent\": \"ocean\"" << "ocean";
        QTest::newRow("bad alignment") << "\"align\": \"right\"" << "\"align\": \"east\"" << "east";
        QTest::newRow("column groups do not add up") << "\"columns\": [\n       {\"id\": \"name\", \"width\": 36"
                                                     << "\"columnGroups\": [{\"span\": 2}],\n     \"columns\": [\n       {\"id\": \"name\", \"width\": 36"
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
        QVERIFY(buildDocument(Kind::BalanceSheet, cn, shippedLayout(Kind::BalanceSheet))->toPlainText().contains(QLatin1String("n/a")));
        reportfixture::prepare(cn, QStringLiteral("E"));
    }
};

QTEST_MAIN(TestReportLayouts)
#include "test_report_layouts.moc"
