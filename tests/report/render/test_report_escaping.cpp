// Names from the data are text in every output, never markup: a firm or an industry named
// like an HTML fragment shows as that text in the HTML page (its title and its body) and
// in the PDF's document information, in each of the three reports.

#include "ReportFixture.h"
#include "report/render/ReportRenderer.h"

#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

using namespace reportrender;

namespace {

QString layout(Kind kind) {
    return QStringLiteral(VENTROLUX_TEST_BIN_DIR "/reports/") + layoutFileName(kind);
}

const QString kHostile = QStringLiteral("</title><script>alert(1)</script> & \"Co\" <b>bold</b> (a\\b)");

// The Title entry of the PDF's document information, as pdfinfo reads it.
QString pdfTitle(const QString& path) {
    QProcess p;
    p.start(QStringLiteral("pdfinfo"), {QStringLiteral("-enc"), QStringLiteral("UTF-8"), path});
    if (!p.waitForFinished(30000)) return QString();
    for (const QString& line : QString::fromUtf8(p.readAllStandardOutput()).split(u'\n'))
        if (line.startsWith(QLatin1String("Title:"))) return line.mid(6).trimmed();
    return QString();
}

} // namespace

class TestReportEscaping : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    Connection cn;

private slots:
    void initTestCase() {
        Q_INIT_RESOURCE(core); // the core library is static: the program registers its resources
        QVERIFY(dir.isValid());
        cn = reportfixture::openUserDatabase(dir.path() + QStringLiteral("/myData.db"));
        QVERIFY2(!QStandardPaths::findExecutable(QStringLiteral("pdfinfo")).isEmpty(),
                 "pdfinfo (poppler-utils) is installed");
    }
    void cleanupTestCase() { DisconnectFromDB(cn); }

    void hostileNamesStayText_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("sql");           // puts the hostile name into the report's tables
        QTest::addColumn<QString>("expectedTitle"); // the document's title, as a reader sees it
        QTest::newRow("comparison, firm name")
            << int(Kind::Comparison) << "E"
            << "UPDATE Rpt_Comparison SET MyFirmName = ?"
            << QStringLiteral("Comparison of an enterprise with its industry \u2014 ") + kHostile;
        QTest::newRow("comparison, industry, French")
            << int(Kind::Comparison) << "F"
            << "UPDATE Rpt_Comparison SET MyFirmName = ?, MyIndustry = ?"
            << QStringLiteral("Comparaison d'une entreprise avec son industrie \u2014 ") + kHostile;
        QTest::newRow("industry ratios") << int(Kind::Ratios) << "E"
                                         << "UPDATE Rpt_Data_CY SET IndustryDescription = ?"
                                         << QStringLiteral("Industry financial ratios \u2014 ") + kHostile;
        QTest::newRow("industry balance sheet")
            << int(Kind::BalanceSheet) << "F"
            << "UPDATE Rpt_Data_CY SET IndustryDescription = ?"
            << QStringLiteral("Bilan de l'industrie (% de l'actif total) \u2014 ") + kHostile;
    }
    void hostileNamesStayText() {
        QFETCH(int, kind);
        QFETCH(QString, language);
        QFETCH(QString, sql);
        QFETCH(QString, expectedTitle);
        reportfixture::prepare(cn, language);
        ExecCmdInDB(cn, sql, QVariantList(sql.count(u'?'), kHostile));
        const auto doc = buildDocument(Kind(kind), cn, layout(Kind(kind)));

        const QString html = toHtml(*doc);
        // No element the data could have opened: one title, no script, no bold.
        QCOMPARE(html.count(QStringLiteral("<title>")), 1);
        QCOMPARE(html.count(QStringLiteral("</title>")), 1);
        QVERIFY(!html.contains(QLatin1String("<script"), Qt::CaseInsensitive));
        QVERIFY(!html.contains(QLatin1String("<b>")));
        // The title holds the whole name, escaped.
        static const QRegularExpression titleElement(QStringLiteral("<title>(.*)</title>"));
        const QRegularExpressionMatch title = titleElement.match(html);
        QVERIFY(title.hasMatch());
        QCOMPARE(title.captured(1), expectedTitle.toHtmlEscaped());
        // The body shows it as text too.
        QVERIFY(html.indexOf(kHostile.toHtmlEscaped(), title.capturedEnd()) > 0);
        // The page is still one page: its end comes once, after the body.
        QCOMPARE(html.count(QStringLiteral("</body>")), 1);
        QCOMPARE(html.count(QStringLiteral("<html")), 1);

        // The PDF's document information holds the title as it is, brackets and backslash included.
        const QString pdf = dir.path() + QStringLiteral("/hostile-%1-%2.pdf").arg(kind).arg(language);
        writePdf(*doc, pdf);
        QCOMPARE(pdfTitle(pdf), expectedTitle);
    }

    // A stored text holding the character a document uses for a chart stays text.
    void storedObjectCharacterIsNoChart() {
        reportfixture::prepare(cn, QStringLiteral("E"));
        ExecCmdInDB(cn, QStringLiteral("UPDATE Rpt_Comparison SET MyFirmName = ?"),
                    {QStringLiteral("A") + QChar(QChar::ObjectReplacementCharacter) + QStringLiteral("B")});
        const auto doc = buildDocument(Kind::Comparison, cn, layout(Kind::Comparison));
        const QString html = toHtml(*doc);
        QCOMPARE(html.count(QStringLiteral("data:image/svg+xml")), 15 + 1 + 25);
        QVERIFY(
            html.contains(QStringLiteral("A") + QChar(QChar::ReplacementCharacter) + QStringLiteral("B")));
    }
};

QTEST_MAIN(TestReportEscaping)
#include "test_report_escaping.moc"
