// A comparison asked for from the firm values screen with a hostile firm name: the
// report shows the name as text, wherever it stands (its heading, its document title,
// its page header), and the page written for a browser has it escaped, never as markup.

#include "screens/firm/FirmScreenFixture.h"

#include "report/render/ReportRenderer.h"
#include "screens/report/frmReportViewer.h"
#include "support/HostileInput.h"

#include <QAction>
#include <QPushButton>
#include <QTextDocument>

class TestHostileComparisonReport : public QObject {
    Q_OBJECT

    std::unique_ptr<FirmScreenFixture> f;

    frmMyValues& screen() { return f->screen(); }

    void typeValue(const char* box, const QString& digits) {
        f->enter(box);
        f->typeKeys(digits);
        f->press(Qt::Key_Return);
    }

private slots:
    void initTestCase() {
        f = std::make_unique<FirmScreenFixture>();
        f->open();
    }
    void cleanupTestCase() { f.reset(); }

    // The long text is left out: a name box holds only its beginning, which the firm
    // screen's own test covers; the report would only repeat it.
    void nameShownAsText_data() { hostile::addTextRows(false); }
    void nameShownAsText() {
        QFETCH(QString, text);
        f->platform.messages.clear();
        const hostile::Witness witness(modMain::gcnMyData, f->dbs.referencePath(), f->platform);
        screen().txtFirmName->setFocus(Qt::MouseFocusReason);
        screen().txtFirmName->selectAll();
        screen().txtFirmName->insert(text);
        typeValue("txtCash", QStringLiteral("1000"));
        typeValue("txtShareC", QStringLiteral("1000"));
        typeValue("txtOperatingRevenue", QStringLiteral("5000"));
        typeValue("txtProfitAfterTax", QStringLiteral("250"));

        screen().mnuReport->trigger();
        QVERIFY2(f->platform.messages.isEmpty(), qPrintable(f->platform.lastMessage()));
        frmReportViewer* viewer = f->registry.existing<frmReportViewer>();
        QVERIFY(viewer && viewer->isVisible());
        QTextDocument* doc = viewer->document();
        QVERIFY(doc);

        // As text: the document's words hold the name, and so does its title.
        QVERIFY(doc->toPlainText().contains(text));
        QVERIFY(doc->metaInformation(QTextDocument::DocumentTitle).endsWith(text));

        // Escaped in the page: the name's markup characters appear as entities.
        const QString html = reportrender::toHtml(*doc);
        const QString escaped = text.toHtmlEscaped();
        QVERIFY(html.contains(QStringLiteral("<title>")));
        const qsizetype titleStart = html.indexOf(QStringLiteral("<title>")) + 7;
        const QString title =
            html.mid(titleStart, html.indexOf(QStringLiteral("</title>"), titleStart) - titleStart);
        QVERIFY2(title.endsWith(escaped), qPrintable(title));
        QVERIFY(html.contains(escaped));
        if (text.contains(u'<')) {
            QVERIFY(!html.contains(QStringLiteral("<script>")));
            QVERIFY(!html.contains(QStringLiteral("<b>Bold")));
        }

        QTest::mouseClick(viewer->btnBack, Qt::LeftButton);
        witness.verify();
    }
};

QTEST_MAIN(TestHostileComparisonReport)
#include "test_hostile_comparison_report.moc"
