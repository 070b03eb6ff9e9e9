// The three reports end to end, in English and in French: built from the shipped layouts
// and report tables as a preparation leaves them, written as PDF (read back with
// pdftotext) and as HTML.

#include "PdfText.h"
#include "ReportFixture.h"
#include "firm/LineItems.h"
#include "report/render/Charts.h"
#include "report/render/ReportRenderer.h"

#include <QFile>
#include <QPdfWriter>
#include <QProcess>
#include <QRegularExpression>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QtTest>

using namespace reportrender;

namespace {

QString layout(Kind kind) {
    return QStringLiteral(VENTROLUX_TEST_BIN_DIR "/reports/") + layoutFileName(kind);
}

int chartCharacters(QTextDocument& doc) {
    int n = 0;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
        for (auto it = b.begin(); !it.atEnd(); ++it)
            if (it.fragment().charFormat().objectType() == kChartObjectType) n += it.fragment().length();
    return n;
}

} // namespace

class TestReportRender : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    Connection cn;

    void addRows() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("language");
        QTest::addColumn<QStringList>("texts"); // found anywhere in the PDF
        QTest::addColumn<QStringList>("lines"); // "label|figure|figure…": on the label's line
        QTest::newRow("comparison, English")
            << int(Kind::Comparison) << "E"
            << QStringList{QStringLiteral("O'Brien Ltd."),
                           QStringLiteral("Men's clothing stores"),
                           QStringLiteral("448110"),
                           QStringLiteral("Volume 3: Enterprises with revenue of $30,000 to less than $5 "
                                          "million \u2013 Nova Scotia"),
                           QStringLiteral("Comparison of an enterprise with its industry"),
                           QStringLiteral("Reference year"),
                           QStringLiteral("Profitability (percentages)"),
                           QStringLiteral("Efficiency (ratios)"),
                           QStringLiteral("Liquidity/Solvency (ratios)"),
                           QStringLiteral("Net profit margin"),
                           QStringLiteral("Interest coverage"),
                           QStringLiteral("Better than 50% / worse than 25%"),
                           QStringLiteral("Better than 0% / worse than 75%"),
                           QStringLiteral("Better than 75% / worse than 0%"),
                           QStringLiteral("Firms reporting profits and losses"),
                           QStringLiteral("Balance sheet structure"),
                           QStringLiteral("Liabilities and shareholders' equity"),
                           QStringLiteral("synthetic sample data"),
                           QStringLiteral("1,284"),
                           QStringLiteral("What the comparison says"),
                           QStringLiteral("Page 1 / 4"),
                           QStringLiteral("Page 4 / 4")}
            << QStringList{QStringLiteral("Net profit margin|4.8%|3.1%"),
                           QStringLiteral("Return on equity|\u22123.5%|11.5%"),
                           QStringLiteral("Interest coverage|1,523.75|4.20"),
                           QStringLiteral("Receivable turnover|41.27|35.60"),
                           QStringLiteral("Reference year|2011"),
                           QStringLiteral("Operating profit|78.4|21.6"),
                           QStringLiteral("Inventory|30.5|38.7|\u22128.2"),
                           QStringLiteral("Retained earnings|35.9|24.1|+11.8"),
                           QStringLiteral("Total assets|100.0|100.0|0.0"),
                           QStringLiteral("Current liabilities|33.0|40.6|\u22127.6")};
        QTest::newRow("comparison, French")
            << int(Kind::Comparison) << "F"
            << QStringList{QStringLiteral("O'Brien Ltd."),
                           QStringLiteral("Magasins de vêtements pour"),
                           QStringLiteral("SCIAN"),
                           QStringLiteral("Comparaison d'une entreprise avec son industrie"),
                           QStringLiteral("Rentabilité (pourcentages)"),
                           QStringLiteral("Liquidité/solvabilité (ratios)"),
                           QStringLiteral("Marge bénéficiaire nette"),
                           QStringLiteral("Couverture de l'intérêt"),
                           QStringLiteral("Meilleure que 50 % / moins bonne que 25 %"),
                           QStringLiteral("Meilleure que 0 % / moins bonne que 75 %"),
                           QStringLiteral("Passifs et capitaux propres"),
                           QStringLiteral("données d'exemple synthétiques"),
                           QStringLiteral("Nouvelle-Écosse"),
                           QStringLiteral("1 284"),
                           QStringLiteral("Ce que dit la comparaison"),
                           QStringLiteral("Page 4 / 4")}
            << QStringList{QStringLiteral("Marge bénéficiaire nette|4,8 %|3,1 %"),
                           QStringLiteral("Couverture de l'intérêt|1 523,75|4,20"),
                           QStringLiteral("Stocks|30,5|38,7|\u22128,2"),
                           QStringLiteral("Bénéfices non répartis|35,9|24,1|+11,8")};
        QTest::newRow("ratios, English")
            << int(Kind::Ratios) << "E"
            << QStringList{QStringLiteral("Industry financial ratios"),
                           QStringLiteral("Men's clothing stores"),
                           QStringLiteral("448110"),
                           QStringLiteral("2009"),
                           QStringLiteral("Volume 3: Enterprises with revenue of $30,000 to less than $5 "
                                          "million \u2013 Nova Scotia"),
                           QStringLiteral("Financial performance indicators for Canadian business"),
                           QStringLiteral("Reference years: 2011, 2010, 2009"),
                           QStringLiteral("No data for this year"),
                           QStringLiteral("Quartile boundaries of the industry's enterprises"),
                           QStringLiteral("Receivable turnover"),
                           QStringLiteral("Debt to equity"),
                           QStringLiteral("Firms reporting profits and losses (%)"),
                           QStringLiteral("Page 1 / 1")}
            << QStringList{QStringLiteral("2011|2010"),
                           QStringLiteral("Number of firms|1,284|1,190|n/a"),
                           QStringLiteral("Net profit margin|0.9|3.1|7.4|0.9|3.0|7.1|n/a|n/a|n/a"),
                           QStringLiteral("Inventory turnover|2.10|3.40|4.90|n/a|3.26|4.70|n/a"),
                           QStringLiteral("Interest coverage|1.50|4.20|1,234.50|1.44|4.03|1,185.12|n/a"),
                           QStringLiteral("Net profit|71.9|28.1|70.3|29.7|n/a|n/a")};
        QTest::newRow("ratios, French")
            << int(Kind::Ratios) << "F"
            << QStringList{QStringLiteral("Ratios financiers de l'industrie"),
                           QStringLiteral("Magasins de vêtements pour"),
                           QStringLiteral("Aucune donnée pour cette année"),
                           QStringLiteral("Rotation des stocks"),
                           QStringLiteral("Années de référence : 2011, 2010, 2009"),
                           QStringLiteral("Page 1 / 1")}
            << QStringList{QStringLiteral("Nombre d'entreprises|1 284|1 190|n.d."),
                           QStringLiteral("Marge bénéficiaire nette|0,9|3,1|7,4|n.d."),
                           QStringLiteral("Couverture de l'intérêt|1,50|4,20|1 234,50|1 185,12|n.d.")};
        QTest::newRow("balance sheet, English")
            << int(Kind::BalanceSheet) << "E"
            << QStringList{QStringLiteral("Industry balance sheet (% of total assets)"),
                           QStringLiteral("Men's clothing stores"),
                           QStringLiteral("Reference years: 2011, 2010, 2009"),
                           QStringLiteral("No data for this year"),
                           QStringLiteral("Assets"),
                           QStringLiteral("Liabilities and shareholders' equity"),
                           QStringLiteral("Page 1 / 1")}
            << QStringList{QStringLiteral("Number of firms|1,284|1,190|n/a"),
                           QStringLiteral("Cash and deposits|9.8|10.0|n/a"),
                           QStringLiteral("Inventory|38.7|39.5|n/a"),
                           QStringLiteral("Total assets|100.0|100.0|n/a"),
                           QStringLiteral("Retained earnings|24.1|24.6|n/a"),
                           QStringLiteral("Current liabilities|40.6|41.4|n/a")};
        QTest::newRow("balance sheet, French")
            << int(Kind::BalanceSheet) << "F"
            << QStringList{QStringLiteral("Bilan de l'industrie (% de l'actif total)"),
                           QStringLiteral("Aucune donnée"), // wraps in its column
                           QStringLiteral("Passifs et capitaux propres"),
                           QStringLiteral("Encaisse et dépôts")}
            << QStringList{QStringLiteral("Nombre d'entreprises|1 284|1 190|n.d."),
                           QStringLiteral("Encaisse et dépôts|9,8|10,0|n.d."),
                           QStringLiteral("Total, actifs|100,0|100,0|n.d.")};
    }

private slots:
    void initTestCase() {
        Q_INIT_RESOURCE(core); // the core library is static: the program registers its resources
        QVERIFY(dir.isValid());
        const QString db = dir.path() + QStringLiteral("/myData.db");
        cn = reportfixture::openUserDatabase(db);
        QVERIFY2(!QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty(),
                 "pdftotext (poppler-utils) is installed");
    }
    void cleanupTestCase() { DisconnectFromDB(cn); }

    void pdfShowsTheReport_data() { addRows(); }
    void pdfShowsTheReport() {
        QFETCH(int, kind);
        QFETCH(QString, language);
        QFETCH(QStringList, texts);
        QFETCH(QStringList, lines);
        reportfixture::prepare(cn, language);
        const auto doc = buildDocument(Kind(kind), cn, layout(Kind(kind)));
        const QString pdf = dir.path() + QStringLiteral("/%1-%2.pdf").arg(kind).arg(language);
        writePdf(*doc, pdf);
        const QString text = pdftext::read(pdf);
        QVERIFY2(!text.isEmpty(), "pdftotext read the PDF");
        for (const QString& t : texts)
            QVERIFY2(text.contains(t), qPrintable(QStringLiteral("missing: ") + t));
        // The figures stand in this order on the label's line, each a word of its own.
        for (const QString& check : lines)
            QVERIFY2(pdftext::checkLine(text, check).isEmpty(), qPrintable(pdftext::checkLine(text, check)));
        // The other language's words stay out.
        const QString foreign =
            language == QLatin1String("E") ? QStringLiteral("Entreprise") : QStringLiteral("Industry");
        QVERIFY(!text.contains(foreign));
    }

    // The French separators are non-breaking spaces, so that a figure never breaks across lines.
    void frenchFiguresKeepTogether() {
        reportfixture::prepare(cn, QStringLiteral("F"));
        const auto doc = buildDocument(Kind::Comparison, cn, layout(Kind::Comparison));
        const QString plain = doc->toRawText();
        const QString nbsp(QChar(0x00a0));
        QVERIFY(plain.contains(QStringLiteral("1") + nbsp + QStringLiteral("523,75")));
        QVERIFY(plain.contains(QStringLiteral("4,8") + nbsp + QStringLiteral("%")));
        QVERIFY(!plain.contains(QStringLiteral("4,8 %")));
    }

    // The charts carry the figures of their rows: the gauges the Better/Worse positions, the
    // bars the differences, all bars on the scale of the largest difference.
    void chartsFollowTheFigures() {
        reportfixture::prepare(cn, QStringLiteral("E"));
        const auto doc = buildDocument(Kind::Comparison, cn, layout(Kind::Comparison));
        QList<int> quarters;
        QList<double> values;
        QList<double> scales;
        for (QTextBlock b = doc->begin(); b.isValid(); b = b.next())
            for (auto it = b.begin(); !it.atEnd(); ++it) {
                const std::optional<Chart> c = chartFromFormat(it.fragment().charFormat());
                if (!c) continue;
                if (c->kind == ChartKind::QuartileGauge) quarters << c->quarter;
                if (c->kind == ChartKind::DivergingBar) {
                    values << c->value.value_or(-999);
                    scales << c->scale;
                }
                if (c->kind == ChartKind::DivergingAxis) scales << c->scale;
            }
        QList<int> expectedQuarters;
        for (const ratios::Ratio& r : ratios::all())
            for (const reportfixture::RatioFigures& f : reportfixture::ratioFigures())
                if (QLatin1String(f.stem) == QLatin1String(r.quartileStem))
                    expectedQuarters << int(f.better / 25);
        QCOMPARE(quarters, expectedQuarters);
        QVERIFY(quarters.contains(0) && quarters.contains(3));
        // Bars follow the statement's order: each total after its parts.
        QList<double> expectedValues;
        for (const lineitems::LineItem& li : lineitems::all())
            for (const reportfixture::ItemFigures& f : reportfixture::itemFigures())
                if (QLatin1String(f.item) == QLatin1String(li.column))
                    expectedValues << reportfixture::roundTo1(f.firm - f.share);
        QCOMPARE(values, expectedValues);
        QCOMPARE(scales.size(), 26);
        for (double s : scales)
            QCOMPARE(s, 11.8);
    }

    void pageSizes_data() {
        QTest::addColumn<int>("size");
        QTest::addColumn<int>("kind");
        QTest::newRow("letter, comparison") << int(QPageSize::Letter) << int(Kind::Comparison);
        QTest::newRow("A4, comparison") << int(QPageSize::A4) << int(Kind::Comparison);
        QTest::newRow("A4, ratios") << int(QPageSize::A4) << int(Kind::Ratios);
        QTest::newRow("legal, balance sheet") << int(QPageSize::Legal) << int(Kind::BalanceSheet);
    }
    void pageSizes() {
        QFETCH(int, size);
        QFETCH(int, kind);
        reportfixture::prepare(cn, QStringLiteral("E"));
        const auto doc = buildDocument(Kind(kind), cn, layout(Kind(kind)));
        const QSizeF screenSize = doc->size();
        const QString pdf = dir.path() + QStringLiteral("/size-%1-%2.pdf").arg(size).arg(kind);
        writePdf(*doc, pdf, QPageSize(QPageSize::PageSizeId(size)));
        const QString text = pdftext::read(pdf);
        QVERIFY(text.contains(QStringLiteral("Page 1 / ")));
        // Every page carries its number; no page is empty.
        const QStringList pages = text.split(u'\f', Qt::SkipEmptyParts);
        for (int i = 0; i < pages.size(); ++i) {
            if (pages[i].trimmed().isEmpty()) continue;
            QVERIFY2(pages[i].contains(QStringLiteral("Page %1 / ").arg(i + 1)),
                     qPrintable(pages[i].left(200)));
            QVERIFY(pages[i].split(u'\n', Qt::SkipEmptyParts).size() > 5);
        }
        // Printing gives the document back to the screen as it was.
        QCOMPARE(doc->size(), screenSize);
        // The page is the one asked for.
        QProcess info;
        info.start(QStringLiteral("pdfinfo"), {pdf});
        QVERIFY(info.waitForFinished(30000));
        const QString out = QString::fromUtf8(info.readAllStandardOutput());
        const QSizeF points = QPageSize(QPageSize::PageSizeId(size)).size(QPageSize::Point);
        QVERIFY2(
            out.contains(
                QStringLiteral("%1 x %2 pts").arg(qRound(points.width())).arg(qRound(points.height()))) ||
                out.contains(QStringLiteral("%1 x %2 pts").arg(points.width()).arg(points.height())),
            qPrintable(out));
    }

    void printPaginates() {
        reportfixture::prepare(cn, QStringLiteral("E"));
        const auto doc = buildDocument(Kind::Comparison, cn, layout(Kind::Comparison));
        const QString pdf = dir.path() + QStringLiteral("/printed.pdf");
        QPdfWriter writer(pdf);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        // The reading, the ratios, the balance sheet and the statement, each from a new page.
        QCOMPARE(print(*doc, writer), 4);
    }

    void htmlIsSelfContained_data() { addRows(); }
    void htmlIsSelfContained() {
        QFETCH(int, kind);
        QFETCH(QString, language);
        reportfixture::prepare(cn, language);
        const auto doc = buildDocument(Kind(kind), cn, layout(Kind(kind)));
        const int charts = chartCharacters(*doc);
        // The comparison's gauges, axis and bars; the ratios report's marks of the medians' way.
        QCOMPARE(charts, Kind(kind) == Kind::Comparison ? 15 + 1 + 25 : Kind(kind) == Kind::Ratios ? 15 : 0);
        const QString html = toHtml(*doc);
        QVERIFY(html.contains(language == QLatin1String("F") ? QLatin1String("lang=\"fr-CA\"")
                                                             : QLatin1String("lang=\"en-CA\"")));
        QVERIFY(html.contains(QLatin1String("Brien Ltd.")) || Kind(kind) != Kind::Comparison);
        QVERIFY(html.contains(language == QLatin1String("F") ? QStringLiteral("synthétiques")
                                                             : QStringLiteral("synthetic sample data")));
        QVERIFY(!html.contains(QChar::ObjectReplacementCharacter));
        QVERIFY(!html.contains(QLatin1String("src=\"http")) && !html.contains(QLatin1String("src=\"file")));
        // Each chart is an SVG image inside the page.
        static const QRegularExpression image(
            QStringLiteral("src=\"data:image/svg\\+xml;base64,([A-Za-z0-9+/=]+)\""));
        int images = 0;
        for (auto it = image.globalMatch(html); it.hasNext(); ++images) {
            const QByteArray svg = QByteArray::fromBase64(it.next().captured(1).toLatin1());
            QVERIFY(QSvgRenderer(svg).isValid());
        }
        QCOMPARE(images, charts);
        // Writing the HTML leaves the document as it was.
        QCOMPARE(chartCharacters(*doc), charts);
        QVERIFY(!doc->toHtml().contains(QLatin1String("data:image")));
    }
};

QTEST_MAIN(TestReportRender)
#include "test_report_render.moc"
