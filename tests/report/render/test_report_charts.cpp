// The charts of the reports: where the quartile gauge puts the enterprise, how the
// diverging bars are drawn and scaled, and that the same drawing reaches a document
// format, a bitmap and an SVG image.

#include "report/render/Charts.h"
#include "report/render/DocumentBuilder.h"
#include "report/render/ReadableReport.h"

#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>
#include <QtTest>

using namespace reportrender;

namespace {

// Whether two colours are the same within antialiasing noise.
bool near(QColor a, QColor b) {
    return std::abs(a.red() - b.red()) < 12 && std::abs(a.green() - b.green()) < 12 &&
           std::abs(a.blue() - b.blue()) < 12;
}

QImage paint(const Chart& chart, QSize size) {
    QImage image(size, QImage::Format_ARGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    drawChart(p, QRectF(QPointF(0, 0), size), chart);
    return image;
}

} // namespace

class TestReportCharts : public QObject {
    Q_OBJECT

private slots:
    void quarterOfTheEnterprise_data() {
        QTest::addColumn<QVariant>("better");
        QTest::addColumn<QVariant>("worse");
        QTest::addColumn<int>("quarter");
        QTest::newRow("weakest quarter") << QVariant(0.0) << QVariant(75.0) << 0;
        QTest::newRow("second quarter") << QVariant(25.0) << QVariant(50.0) << 1;
        QTest::newRow("third quarter") << QVariant(50.0) << QVariant(25.0) << 2;
        QTest::newRow("strongest quarter") << QVariant(75.0) << QVariant(0.0) << 3;
        QTest::newRow("better decides") << QVariant(50.0) << QVariant(50.0) << 2;
        QTest::newRow("only worse known") << QVariant() << QVariant(75.0) << 0;
        QTest::newRow("only worse known, strong") << QVariant() << QVariant(0.0) << 3;
        QTest::newRow("out of range") << QVariant(100.0) << QVariant() << 3;
        QTest::newRow("unknown") << QVariant() << QVariant() << -1;
    }
    void quarterOfTheEnterprise() {
        QFETCH(QVariant, better);
        QFETCH(QVariant, worse);
        QFETCH(int, quarter);
        const auto opt = [](const QVariant& v) {
            return v.isValid() ? std::optional<double>(v.toDouble()) : std::nullopt;
        };
        QCOMPARE(quarterFromPosition(opt(better), opt(worse)), quarter);
    }

    void gaugeMarksTheQuarter_data() {
        QTest::addColumn<int>("quarter");
        for (int q = -1; q < 4; ++q)
            QTest::newRow(qPrintable(QStringLiteral("quarter %1").arg(q))) << q;
    }
    void gaugeMarksTheQuarter() {
        QFETCH(int, quarter);
        Chart c;
        c.kind = ChartKind::QuartileGauge;
        c.quarter = quarter;
        const QSize size(400, 40);
        const QImage image = paint(c, size);
        const QRectF area(QPointF(0, 0), size);
        for (int q = 0; q < 4; ++q) {
            // A point in the quarter away from the marker at its centre.
            const QRectF seg = gaugeSegment(area, q);
            const QColor got =
                image.pixelColor(QPoint(int(seg.left() + seg.width() * 0.15), int(seg.center().y())));
            const QColor expected = q == quarter ? c.style.highlight : c.style.quarters[size_t(q)];
            QVERIFY2(near(got, expected),
                     qPrintable(QStringLiteral("quarter %1 is %2").arg(q).arg(got.name())));
        }
        // The marker sits in the middle of the enterprise's quarter only.
        if (quarter >= 0) {
            const QPointF centre = gaugeSegment(area, quarter).center();
            QVERIFY(near(image.pixelColor(centre.toPoint()), c.style.marker));
        }
    }

    void gaugeQuartersAreInOrder() {
        const QRectF area(0, 0, 200, 20);
        for (int q = 1; q < 4; ++q) {
            QVERIFY(gaugeSegment(area, q).left() > gaugeSegment(area, q - 1).right());
            QCOMPARE(gaugeSegment(area, q).width(), gaugeSegment(area, 0).width());
        }
        QCOMPARE(gaugeSegment(area, 0).left(), 0.0);
        QVERIFY(qAbs(gaugeSegment(area, 3).right() - 200.0) < 1e-9);
    }

    void barGrowsFromTheCentre_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<double>("scale");
        QTest::addColumn<double>("left"); // of a 200-wide area; -1: no bar
        QTest::addColumn<double>("width");
        const double half = 100 * 0.96;
        QTest::newRow("positive, full") << 11.8 << 11.8 << 100.0 << half;
        QTest::newRow("positive, half") << 5.9 << 11.8 << 100.0 << half / 2;
        QTest::newRow("negative, full") << -11.8 << 11.8 << 100.0 - half << half;
        QTest::newRow("negative, quarter") << -2.95 << 11.8 << 100.0 - half / 4 << half / 4;
        QTest::newRow("beyond the scale") << 30.0 << 11.8 << 100.0 << half;
        QTest::newRow("zero") << 0.0 << 11.8 << -1.0 << 0.0;
        QTest::newRow("no scale") << 3.0 << 0.0 << -1.0 << 0.0;
    }
    void barGrowsFromTheCentre() {
        QFETCH(double, value);
        QFETCH(double, scale);
        QFETCH(double, left);
        QFETCH(double, width);
        const QRectF bar = divergingBar(QRectF(0, 0, 200, 20), value, scale);
        if (left < 0) {
            QVERIFY(bar.isEmpty());
            return;
        }
        QVERIFY(qAbs(bar.left() - left) < 1e-6);
        QVERIFY(qAbs(bar.width() - width) < 1e-6);
        QVERIFY(bar.top() > 0 && bar.bottom() < 20);
    }

    void barColoursTellTheSign_data() {
        QTest::addColumn<double>("value");
        QTest::newRow("positive") << 6.0;
        QTest::newRow("negative") << -6.0;
    }
    void barColoursTellTheSign() {
        QFETCH(double, value);
        Chart c;
        c.kind = ChartKind::DivergingBar;
        c.value = value;
        c.scale = 8;
        const QImage image = paint(c, QSize(400, 40));
        const QColor right = image.pixelColor(250, 20);
        const QColor left = image.pixelColor(150, 20);
        QVERIFY(near(value > 0 ? right : left, value > 0 ? c.style.positive : c.style.negative));
        QVERIFY(near(value > 0 ? left : right, Qt::white));
        QVERIFY(near(image.pixelColor(200, 2), c.style.axis) || near(image.pixelColor(199, 2), c.style.axis));
    }

    void formatKeepsTheChart() {
        Chart c;
        c.kind = ChartKind::DivergingAxis;
        c.width = 12.5;
        c.height = 1.6;
        c.fontFamily = QStringLiteral("DejaVu Sans");
        c.fontPointSize = 7.5;
        c.scale = 11.8;
        c.labels = QStringList{QStringLiteral("-11,8"), QStringLiteral("0,0"), QStringLiteral("+11,8")};
        c.style.positive = QColor(1, 2, 3);
        const QTextCharFormat f = chartFormat(c);
        QCOMPARE(f.objectType(), kChartObjectType);
        const std::optional<Chart> back = chartFromFormat(f);
        QVERIFY(back);
        QCOMPARE(back->kind, c.kind);
        QCOMPARE(back->width, c.width);
        QCOMPARE(back->height, c.height);
        QCOMPARE(back->fontPointSize, c.fontPointSize);
        QCOMPARE(back->scale, c.scale);
        QCOMPARE(back->labels, c.labels);
        QCOMPARE(back->style.positive, QColor(1, 2, 3));
        QVERIFY(!back->value);

        c.kind = ChartKind::DivergingBar;
        c.value = -2.5;
        QCOMPARE(chartFromFormat(chartFormat(c))->value, std::optional<double>(-2.5));
        QVERIFY(!chartFromFormat(QTextCharFormat()));
    }

    void sizeFollowsTheDevice() {
        Chart c;
        c.width = 10;
        c.height = 1;
        QImage screen(10, 10, QImage::Format_ARGB32);
        QImage paper(10, 10, QImage::Format_ARGB32);
        paper.setDotsPerMeterX(qRound(600 / 0.0254));
        paper.setDotsPerMeterY(qRound(600 / 0.0254));
        screen.setDotsPerMeterX(qRound(96 / 0.0254));
        screen.setDotsPerMeterY(qRound(96 / 0.0254));
        const QSizeF small = chartSize(c, &screen);
        const QSizeF large = chartSize(c, &paper);
        QVERIFY(small.width() > small.height() * 9);
        QVERIFY(qAbs(large.width() / small.width() - 600.0 / 96.0) < 0.3);
    }

    void svgDrawsTheSameGauge() {
        Chart c;
        c.kind = ChartKind::QuartileGauge;
        c.quarter = 1;
        const QByteArray svg = chartSvg(c, QSizeF(200, 20));
        QVERIFY(svg.contains("<svg"));
        QSvgRenderer renderer(svg);
        QVERIFY(renderer.isValid());
        QImage image(200, 20, QImage::Format_ARGB32);
        image.fill(Qt::white);
        QPainter p(&image);
        renderer.render(&p, QRectF(0, 0, 200, 20));
        p.end();
        const QRectF area(0, 0, 200, 20);
        const QRectF second = gaugeSegment(area, 1);
        const QRectF fourth = gaugeSegment(area, 3);
        QVERIFY(near(image.pixelColor(QPoint(int(second.left() + 4), 10)), c.style.highlight));
        QVERIFY(!near(image.pixelColor(QPoint(int(fourth.left() + 4), 10)), c.style.highlight));
    }

    void documentDrawsCharts_data() {
        QTest::addColumn<bool>("handlerFirst");
        QTest::newRow("handler before the content") << true;
        QTest::newRow("handler after the content") << false;
    }
    void documentDrawsCharts() {
        QFETCH(bool, handlerFirst);
        QTextDocument doc;
        if (handlerFirst) registerChartHandler(doc);
        Chart c;
        c.kind = ChartKind::QuartileGauge;
        c.quarter = 3;
        c.width = 20;
        QTextCursor cursor(&doc);
        cursor.insertText(QString(QChar::ObjectReplacementCharacter), chartFormat(c));
        cursor.insertText(QStringLiteral("end"));
        (void)doc.size(); // laid out before the handler is there, when it comes last
        registerChartHandler(doc);
        registerChartHandler(doc); // twice is harmless
        QVERIFY(doc.idealWidth() > chartSize(c, nullptr).width());
        QImage image(doc.size().toSize(), QImage::Format_ARGB32);
        image.fill(Qt::white);
        QPainter p(&image);
        doc.drawContents(&p);
        p.end();
        QVERIFY(image.width() > chartSize(c, nullptr).width());
        int highlighted = 0;
        for (int x = 0; x < image.width(); ++x)
            for (int y = 0; y < image.height(); ++y)
                highlighted += near(image.pixelColor(x, y), c.style.highlight);
        QVERIFY2(highlighted > 50, "the gauge is drawn in the document");
    }

    // The report as text: each chart is its words, in the report's language and in
    // brackets, in a column made wide enough to read them; the other columns share the rest.
    void readableCopySaysTheCharts_data() {
        QTest::addColumn<QString>("letter");
        QTest::addColumn<QString>("said");
        QTest::newRow("English") << "E"
                                 << "[second quarter, better than 25%, worse than 50%]";
        QTest::newRow("French") << "F"
                                << "[deuxième quart, meilleur que 25\u00a0%, moins bon que 50\u00a0%]";
    }
    void readableCopySaysTheCharts() {
        QFETCH(QString, letter);
        QFETCH(QString, said);
        QTextDocument doc;
        doc.setProperty(docprop::Language, letter);
        QTextTableFormat format;
        format.setColumnWidthConstraints({QTextLength(QTextLength::PercentageLength, 60),
                                          QTextLength(QTextLength::PercentageLength, 35),
                                          QTextLength(QTextLength::PercentageLength, 5)});
        QTextCursor cursor(&doc);
        QTextTable* table = cursor.insertTable(2, 3, format);
        table->cellAt(1, 0).firstCursorPosition().insertText(QStringLiteral("Net profit margin"));
        Chart c;
        c.quarter = 1;
        table->cellAt(1, 2).firstCursorPosition().insertText(QString(QChar::ObjectReplacementCharacter),
                                                             chartFormat(c));

        const std::unique_ptr<QTextDocument> copy = readableCopy(doc);
        const QString text = copy->toRawText(); // the no-break spaces kept
        QVERIFY2(text.contains(said), qPrintable(text));
        QVERIFY(!text.contains(QChar::ObjectReplacementCharacter));
        QCOMPARE(copy->property(docprop::Language).toString(), letter);
        const QTextTable* copied = copy->rootFrame()->childFrames().isEmpty()
                                       ? nullptr
                                       : qobject_cast<QTextTable*>(copy->rootFrame()->childFrames().first());
        QVERIFY(copied);
        const QList<QTextLength> widths = copied->format().columnWidthConstraints();
        QCOMPARE(widths.size(), 3);
        QVERIFY(widths[2].rawValue() > 15);
        QVERIFY(widths[0].rawValue() > widths[1].rawValue());
        QCOMPARE(qRound(widths[0].rawValue() + widths[1].rawValue() + widths[2].rawValue()), 100);
        // The document shown and printed keeps its chart.
        QVERIFY(doc.toPlainText().contains(QChar::ObjectReplacementCharacter));
    }

    // Attached before any layout, the handler is in every layout's first pass; a dropped
    // layout leaves none behind, and the next one draws the charts again.
    void attachedHandlerServesEveryLayout() {
        QTextDocument doc;
        Chart c;
        c.kind = ChartKind::QuartileGauge;
        c.width = 20;
        QTextCursor cursor(&doc);
        cursor.insertText(QString(QChar::ObjectReplacementCharacter), chartFormat(c));
        attachChartHandler(doc);
        QVERIFY(!hasLayout(doc));
        const qreal chartWidth = chartSize(c, nullptr).width();
        QVERIFY(doc.idealWidth() > chartWidth);
        QVERIFY(hasLayout(doc));
        releaseLayout(doc);
        QVERIFY(!hasLayout(doc));
        QVERIFY(doc.idealWidth() > chartWidth);
        attachChartHandler(doc); // twice is harmless
        releaseLayout(doc);
        releaseLayout(doc); // and so is dropping no layout
        QVERIFY(!hasLayout(doc));
    }
};

QTEST_MAIN(TestReportCharts)
#include "test_report_charts.moc"
