// The report screen: report kinds, titles in both languages, no report without data,
// the back button and the resize rule.

#include "data/ProgramFiles.h"
#include "firm/FirmStatement.h"
#include "screens/common/ScreenRegistry.h"
#include "screens/report/frmReportViewer.h"
#include "state/modMain.h"
#include "support/RecordingPlatform.h"
#include "support/TestDatabases.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPrintPreviewWidget>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QtTest>

using namespace modMain;

class TestReportViewer : public QObject {
    Q_OBJECT

    std::unique_ptr<TestDatabases> dbs;
    std::unique_ptr<RecordingPlatform> platform;
    ScreenRegistry& registry = ScreenRegistry::instance();

    QString industryWithData(int year) {
        RecordsetPtr rs =
            GetRS(gcnData,
                  QStringLiteral("select NAICS from %1 where NumberOfFirms is not null order by NAICS")
                      .arg(catalogue::datasetTableName(3, QStringLiteral("ON"), year)),
                  QStringLiteral("read"));
        return rs->field(0).toString();
    }

    QStringList firm(int year, const QString& naics) {
        FirmStatement f;
        f.firmName = QStringLiteral("Tremblay & Fils");
        f.year = QString::number(year);
        f.naics = naics;
        firmrules::resetValues(f.values);
        f.value("Cash") = QStringLiteral("1000");
        f.value("ShareC") = QStringLiteral("1000");
        f.value("OperatingRevenue") = QStringLiteral("5000");
        f.value("ProfitAfterTax") = QStringLiteral("250");
        firmrules::calculateSubTotals(f.values);
        return firmrules::comparisonValues(f, QStringLiteral("Some industry"));
    }

    frmReportViewer& display(const QString& kind, const QString& language, int year = 2011,
                             QStringList values = {}) {
        frmReportViewer& viewer = registry.get<frmReportViewer>();
        const QString naics = industryWithData(year);
        if (kind.startsWith(QLatin1String("com"), Qt::CaseInsensitive) && values.isEmpty())
            values = firm(year, naics);
        viewer.DisplayCrystalReport(gcnData, gcnMyData, kind, 3, QStringLiteral("ON"),
                                    static_cast<int16_t>(year), naics, language, values);
        return viewer;
    }

private slots:
    void init() {
        dbs = std::make_unique<TestDatabases>();
        platform = std::make_unique<RecordingPlatform>();
        registry.setModalBlocking(false);
        dbs->open();
    }
    void cleanup() {
        registry.clear();
        platform.reset();
        dbs.reset();
    }

    // A layout file missing or damaged costs the user the report, not the program: a
    // message in the report's language names the file and what to do.
    void damagedLayoutFileIsNamed_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("language");
        QTest::addColumn<QByteArray>("content"); // empty: no file
        QTest::addColumn<QString>("what");
        QTest::newRow("comparison missing") << "com"
                                            << "E" << QByteArray() << "is missing";
        QTest::newRow("ratios not JSON, French") << "rat"
                                                 << "F" << QByteArray("{\"title\": ") << "JSON valide";
        QTest::newRow("balance sheet an array") << "bal"
                                                << "E" << QByteArray("[]") << "holds no report layout";
    }
    void damagedLayoutFileIsNamed() {
        QFETCH(QString, kind);
        QFETCH(QString, language);
        QFETCH(QByteArray, content);
        QFETCH(QString, what);
        QTemporaryDir resources;
        QVERIFY(QDir(resources.path()).mkpath(QStringLiteral("reports")));
        const QString file = kind == QLatin1String("com")   ? QStringLiteral("rpt_Comparison.json")
                             : kind == QLatin1String("rat") ? QStringLiteral("rpt_Ratios.json")
                                                            : QStringLiteral("rpt_BalanceSheet.json");
        const QString path = resources.filePath(QStringLiteral("reports/") + file);
        if (!content.isEmpty()) {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(content);
        }
        programfiles::setResourceDirectory(resources.path());
        frmReportViewer& viewer = display(kind, language);
        programfiles::setResourceDirectory(QStringLiteral(VENTROLUX_TEST_BIN_DIR));

        QVERIFY(!viewer.isVisible());
        QCOMPARE(platform->endedWith, -1);
        QCOMPARE(platform->messages.size(), 1);
        const ShownMessage& m = platform->messages[0];
        QCOMPARE(m.icon, MsgIcon::Exclamation);
        QVERIFY2(m.text.contains(path) && m.text.contains(what), qPrintable(m.text));
        const QString advice = language == QLatin1String("F") ? QString::fromUtf8("Réinstallez Ventrolux")
                                                              : QStringLiteral("Reinstall Ventrolux");
        QVERIFY2(m.text.contains(advice), qPrintable(m.text));
    }

    void invalidReportType_data() {
        QTest::addColumn<QString>("kind");
        QTest::newRow("empty") << "";
        QTest::newRow("other") << "summary";
    }
    void invalidReportType() {
        QFETCH(QString, kind);
        frmReportViewer& viewer = display(kind, QStringLiteral("E"));
        QCOMPARE(platform->lastMessage(), QStringLiteral("Invalid Report Type: ") + kind);
        QCOMPARE(platform->messages.last().title, QStringLiteral("Ventrolux"));
        QVERIFY(!viewer.isVisible());
    }

    void titlesByKindAndLanguage_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("title");
        QTest::newRow("ratios") << "rat"
                                << "E"
                                << "ZEBRO Ratios Report";
        QTest::newRow("ratios French") << "rat"
                                       << "F"
                                       << "DORVA Rapport de Ratios";
        QTest::newRow("balance sheet") << "bal"
                                       << "E"
                                       << "ZEBRO Balance Sheet Report";
        QTest::newRow("balance sheet, lower-case f") << "BAL"
                                                     << "f"
                                                     << "DORVA Rapport de bilan";
        QTest::newRow("comparison, by its first three letters") << "COMPARE"
                                                                << "E"
                                                                << "ZEBRO Comparison Report";
        QTest::newRow("comparison French") << "com"
                                           << "F"
                                           << "DORVA Rapport de Comparaison";
    }
    void titlesByKindAndLanguage() {
        QFETCH(QString, kind);
        QFETCH(QString, language);
        QFETCH(QString, title);
        frmReportViewer& viewer = display(kind, language);
        QVERIFY2(platform->messages.isEmpty(), qPrintable(platform->lastMessage()));
        QCOMPARE(viewer.windowTitle(), title);
        QVERIFY(viewer.isVisible());
        QVERIFY(viewer.isModal());
        QCOMPARE(registry.active(), &viewer);
        QVERIFY(viewer.document());
        QVERIFY(viewer.document()->pageCount() >= 1);
        QCOMPARE(viewer.btnBack->toolTip(), Txt(352));
    }

    void noDataShowsNothing() {
        // The sample Nova Scotia data hold an industry without 2010 figures.
        RecordsetPtr rs =
            GetRS(gcnData,
                  QStringLiteral(
                      "select b.NAICS from ZEBRO_Vol3_NS_2010_Final_Ratios b where b.NumberOfFirms is null"),
                  QStringLiteral("read"));
        QVERIFY(!rs->eof());
        const QString naics = rs->field(0).toString();
        frmReportViewer& viewer = registry.get<frmReportViewer>();
        viewer.DisplayCrystalReport(gcnData, gcnMyData, QStringLiteral("com"), 3, QStringLiteral("NS"), 2010,
                                    naics, QStringLiteral("E"), firm(2010, naics));
        QCOMPARE(platform->lastMessage(), QStringLiteral("This industry has no data for 2010"));
        QCOMPARE(viewer.windowTitle(), QStringLiteral("ZEBRO Comparison Report"));
        QVERIFY(!viewer.isVisible());
    }

    void backButtonLeavesAndUnloads() {
        gintLanguage = 1;
        frmReportViewer& viewer = display(QStringLiteral("rat"), QStringLiteral("F"));
        QCOMPARE(viewer.btnBack->toolTip(), QStringLiteral("Retourner"));
        QPointer<frmReportViewer> guard(&viewer);
        QTest::mouseClick(viewer.btnBack, Qt::LeftButton);
        QVERIFY(!registry.existing<frmReportViewer>());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(guard.isNull());
    }

    void resizeRule() {
        frmReportViewer& viewer = display(QStringLiteral("bal"), QStringLiteral("E"));
        viewer.resize(1000, 760);
        QCoreApplication::processEvents();
        const int clientWidth = viewer.centralWidget()->width();
        QCOMPARE(viewer.CRViewer1->width(), clientWidth - 200 / 15);
        QCOMPARE(viewer.btnBack->x() + viewer.btnBack->width(),
                 viewer.CRViewer1->x() + viewer.CRViewer1->width());
        const QSize before = viewer.CRViewer1->size();
        viewer.setWindowState(Qt::WindowMinimized);
        QVERIFY(viewer.isMinimized());
        viewer.resize(600, 500);
        QCoreApplication::processEvents();
        QCOMPARE(viewer.CRViewer1->size(), before);
        viewer.setWindowState(Qt::WindowNoState);
        QCoreApplication::processEvents();
        QCOMPARE(viewer.CRViewer1->width(), viewer.centralWidget()->width() - 200 / 15);
    }

    void exportWritesAPdfWithTheFirm() {
        frmReportViewer& viewer = display(QStringLiteral("com"), QStringLiteral("E"));
        QTemporaryDir dir;
        const QString pdf = dir.path() + QStringLiteral("/report.pdf");
        viewer.exportPdf(pdf);
        QProcess text;
        text.start(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
        QVERIFY(text.waitForFinished(60000));
        QVERIFY(QString::fromUtf8(text.readAllStandardOutput()).contains(QStringLiteral("Tremblay & Fils")));
    }

    // Export to PDF asks for the file through the chooser; a place that cannot be written
    // is told, and the report stays on the screen.
    void exportToPdfThroughTheChooser() {
        frmReportViewer& viewer = display(QStringLiteral("com"), QStringLiteral("F"));
        QTemporaryDir dir;
        platform->chosenFiles.enqueue(dir.path() + QStringLiteral("/report"));
        platform->chosenFiles.enqueue(dir.path() + QStringLiteral("/no/such/folder/report.pdf"));
        viewer.actExportPdf->trigger();
        QCOMPARE(platform->fileChoosers.size(), 1);
        QCOMPARE(platform->fileChoosers[0].kind, FileChoice::Save);
        QCOMPARE(platform->fileChoosers[0].caption, QStringLiteral("Exporter en PDF"));
        QVERIFY(QFileInfo(dir.path() + QStringLiteral("/report.pdf")).size() > 0);
        QVERIFY(platform->messages.isEmpty());

        viewer.actExportPdf->trigger();
        QCOMPARE(platform->endedWith, -1);
        QCOMPARE(platform->messages.size(), 1);
        QVERIFY2(platform->messages[0].text.startsWith(QString::fromUtf8("Le PDF n'a pas pu être écrit.")) &&
                     platform->messages[0].text.contains(QStringLiteral("no/such/folder")),
                 qPrintable(platform->messages[0].text));
        QVERIFY(viewer.isVisible());
    }
};

QTEST_MAIN(TestReportViewer)
#include "test_report_viewer.moc"
