// A report is laid out once, for the device it goes to: building it lays nothing out,
// writing HTML lays nothing out, and writing a PDF lays it out once at the PDF's
// resolution. The layout's calls for the size of each chart show every pass it makes.

#include "ReportFixture.h"
#include "report/render/Charts.h"
#include "report/render/ReportRenderer.h"

#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextObjectInterface>
#include <QtTest>

using namespace reportrender;

namespace {

QString layout(Kind kind) {
    return QStringLiteral(VENTROLUX_TEST_BIN_DIR "/reports/") + layoutFileName(kind);
}

// Stands in for the chart handler and counts what the layout asks of it.
class CountingHandler : public QObject, public QTextObjectInterface {
    Q_OBJECT
    Q_INTERFACES(QTextObjectInterface)
public:
    QList<int> sizedAt;       // the position of each chart the layout sized
    QList<qreal> resolutions; // the resolution it was laid out for, each time
    QSizeF intrinsicSize(QTextDocument* doc, int posInDocument, const QTextFormat&) override {
        sizedAt << posInDocument;
        const QPaintDevice* device = doc->documentLayout()->paintDevice();
        resolutions << (device ? device->logicalDpiY() : 0);
        return QSizeF(40, 10);
    }
    void drawObject(QPainter*, const QRectF&, QTextDocument*, int, const QTextFormat&) override {}
};

bool hasLayoutObject(const QTextDocument& doc) {
    return doc.findChild<QAbstractTextDocumentLayout*>(QString(), Qt::FindDirectChildrenOnly) != nullptr;
}

// Puts the counter in place of the chart handler, in the layout there is and in any to come.
void count(QTextDocument& doc, CountingHandler& counter) {
    QObject::connect(&doc, &QTextDocument::documentLayoutChanged, &counter, [&doc, &counter] {
        if (hasLayoutObject(doc)) doc.documentLayout()->registerHandler(kChartObjectType, &counter);
    });
    if (hasLayoutObject(doc)) doc.documentLayout()->registerHandler(kChartObjectType, &counter);
}

int firstChart(QTextDocument& doc) {
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
        for (auto it = b.begin(); !it.atEnd(); ++it)
            if (it.fragment().charFormat().objectType() == kChartObjectType) return it.fragment().position();
    return -1;
}

} // namespace

class TestReportLayoutPasses : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    Connection cn;

private slots:
    void initTestCase() {
        Q_INIT_RESOURCE(core); // the core library is static: the program registers its resources
        QVERIFY(dir.isValid());
        cn = reportfixture::openUserDatabase(dir.path() + QStringLiteral("/myData.db"));
        reportfixture::prepare(cn, QStringLiteral("F"));
    }
    void cleanupTestCase() { DisconnectFromDB(cn); }

    void buildingAndHtmlLayNothingOut() {
        const auto doc = buildDocument(Kind::Comparison, cn, layout(Kind::Comparison));
        QVERIFY(!hasLayoutObject(*doc));
        CountingHandler counter;
        count(*doc, counter);
        const QString html = toHtml(*doc);
        QVERIFY(html.contains(QLatin1String("data:image/svg+xml")));
        QVERIFY(counter.sizedAt.isEmpty());
        QVERIFY(!hasLayoutObject(*doc));
    }

    // The PDF's one pass sizes each chart as often as a single layout of the same pages does.
    void pdfIsLaidOutOnce() {
        const auto doc = buildDocument(Kind::Comparison, cn, layout(Kind::Comparison));
        CountingHandler counter;
        count(*doc, counter);
        writePdf(*doc, dir.path() + QStringLiteral("/once.pdf"));
        QVERIFY(!counter.sizedAt.isEmpty());
        // Laid out for the PDF's 1200 dots per inch only, never for the screen.
        for (qreal dpi : counter.resolutions)
            QCOMPARE(dpi, 1200.0);
        // Given back as it came: without a layout.
        QVERIFY(!hasLayoutObject(*doc));

        // One pass and one drawing of each page, by hand, over the same document on a writer
        // of the same resolution (drawing asks for the charts' sizes too).
        const auto reference = buildDocument(Kind::Comparison, cn, layout(Kind::Comparison));
        CountingHandler once;
        count(*reference, once);
        QPdfWriter writer(dir.path() + QStringLiteral("/reference.pdf"));
        writer.setResolution(1200);
        QPainter painter(&writer);
        reference->setLayoutEnabled(false);
        reference->documentLayout()->setPaintDevice(&writer);
        reference->setDocumentMargin(0);
        const QSizeF page(writer.width() * 0.85, writer.height() * 0.8);
        reference->setPageSize(page);
        reference->setLayoutEnabled(true);
        const int pages = reference->pageCount();
        QVERIFY(pages > 1);
        for (int p = 0; p < pages; ++p) {
            if (p > 0) writer.newPage();
            painter.save();
            painter.translate(0, -p * page.height());
            QAbstractTextDocumentLayout::PaintContext context;
            context.clip = QRectF(QPointF(0, p * page.height()), page);
            painter.setClipRect(context.clip);
            reference->documentLayout()->draw(&painter, context);
            painter.restore();
        }
        painter.end();
        const int first = firstChart(*doc);
        QVERIFY(first > 0);
        QCOMPARE(counter.sizedAt.count(first), once.sizedAt.count(first));
    }

    // A document someone laid out for the screen gets its screen layout back after printing.
    void screenLayoutIsGivenBack() {
        const auto doc = buildDocument(Kind::Ratios, cn, layout(Kind::Ratios));
        const QSizeF screen = doc->size();
        QVERIFY(hasLayoutObject(*doc));
        writePdf(*doc, dir.path() + QStringLiteral("/screen.pdf"));
        QVERIFY(hasLayoutObject(*doc));
        QCOMPARE(doc->size(), screen);
    }
};

QTEST_MAIN(TestReportLayoutPasses)
#include "test_report_layout_passes.moc"
