#include "screens/report/frmReportViewer.h"

#include "report/render/LayoutFileCheck.h"

#include "data/ProgramFiles.h"
#include "platform/Platform.h"
#include "report/FirmTrend.h"
#include "report/ReadingTexts.h"
#include "report/ReportPreparation.h"
#include "report/render/ReportRenderer.h"
#include "screens/common/Handlers.h"
#include "screens/common/ScreenRegistry.h"
#include "screens/common/Widgets.h"
#include "screens/industry/frmSearch.h"
#include "state/modMain.h"

#include <QAction>
#include <QIcon>
#include <QPrintDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPushButton>
#include <QResizeEvent>
#include <QTextDocument>
#include <QToolBar>

namespace {
// Twips of the design, at the screen's 15 twips to the pixel.
constexpr int px(int twips) {
    return twips / 15;
}
} // namespace

frmReportViewer::frmReportViewer() {
    setObjectName(QStringLiteral("frmReportViewer"));
    setWindowTitle(QStringLiteral("Report Viewer"));
    auto* central = new QWidget;
    setCentralWidget(central);

    btnBack = makeButton(QStringLiteral("btnBack"));
    btnBack->setParent(central);
    btnBack->setIcon(QIcon(QStringLiteral(":/ventrolux/images/back.svg")));
    btnBack->setIconSize(QSize(24, 24));
    btnBack->setMinimumWidth(0);
    btnBack->setGeometry(px(10320), px(120), px(735), px(495));

    tbViewer = new QToolBar(central);
    tbViewer->setObjectName(QStringLiteral("tbViewer"));
    actZoomIn = tbViewer->addAction(QString());
    actZoomOut = tbViewer->addAction(QString());
    actFitWidth = tbViewer->addAction(QString());
    tbViewer->addSeparator();
    actPrint = tbViewer->addAction(QString());
    actExportPdf = tbViewer->addAction(QString());
    actZoomIn->setShortcut(QKeySequence::ZoomIn);
    actZoomOut->setShortcut(QKeySequence::ZoomOut);
    actPrint->setShortcut(QKeySequence::Print);

    CRViewer1 = new QPrintPreviewWidget(central);
    CRViewer1->setObjectName(QStringLiteral("CRViewer1"));
    CRViewer1->setGeometry(px(105), px(735), px(10935), px(7575));
    onEvent(CRViewer1, &QPrintPreviewWidget::paintRequested, this,
            [this](QPrinter* printer) { printTo(printer); });

    onEvent(btnBack, &QPushButton::clicked, this, [this] { btnBack_Click(); });
    onEvent(actZoomIn, &QAction::triggered, CRViewer1, [this] { CRViewer1->zoomIn(); });
    onEvent(actZoomOut, &QAction::triggered, CRViewer1, [this] { CRViewer1->zoomOut(); });
    onEvent(actFitWidth, &QAction::triggered, CRViewer1, [this] { CRViewer1->fitToWidth(); });
    onEvent(actPrint, &QAction::triggered, this, [this] { printDialog(); });
    onEvent(actExportPdf, &QAction::triggered, this, [this] { exportDialog(); });
    resize(px(11265), px(9000));
}

frmReportViewer::~frmReportViewer() = default;

void frmReportViewer::Form_Activate() {
    btnBack->setToolTip(modMain::Txt(352));
}

void frmReportViewer::DisplayCrystalReport(Connection& DataConn, Connection& WriteConn,
                                           const QString& ReportToDisplay, int16_t Volume,
                                           const QString& Province, int16_t Year, const QString& NAICS,
                                           const QString& Language, const QStringList& aComparisonValues) {
    const QString kind = ReportToDisplay.left(3).toLower();
    struct Kind {
        const char* code;
        reportrender::Kind render;
        const char* english;
        const char* french;
    };
    static const Kind kinds[] = {
        {"rat", reportrender::Kind::Ratios, "ZEBRO Ratios Report", "DORVA Rapport de Ratios"},
        {"bal", reportrender::Kind::BalanceSheet, "ZEBRO Balance Sheet Report", "DORVA Rapport de bilan"},
        {"com", reportrender::Kind::Comparison, "ZEBRO Comparison Report", "DORVA Rapport de Comparaison"},
    };
    const Kind* chosen = nullptr;
    for (const Kind& k : kinds)
        if (kind == QLatin1String(k.code)) chosen = &k;
    if (!chosen) {
        MsgBox(QStringLiteral("Invalid Report Type: ") + ReportToDisplay);
        return;
    }

    const QString layout = reportrender::defaultLayoutPath(chosen->render);
    // A layout file that cannot be read costs the user this report, not the program.
    const int language = Language.left(1).toUpper() == QLatin1String("F") ? 1 : 0;
    if (const std::optional<QString> problem = reportrender::layoutFileProblem(layout, language)) {
        MsgBox(*problem, MsgButtons::OK, MsgIcon::Exclamation);
        return;
    }
    bool prepared = false;
    switch (chosen->render) {
    case reportrender::Kind::Ratios:
        prepared = fncPrepareRatiosReport(DataConn, WriteConn, ReportToDisplay, Volume, Province, Year, NAICS,
                                          Language);
        break;
    case reportrender::Kind::BalanceSheet:
        prepared = fncPrepareBalanceSheetReport(DataConn, WriteConn, ReportToDisplay, Volume, Province, Year,
                                                NAICS, Language);
        break;
    case reportrender::Kind::Comparison:
        prepared = fncPrepareComparisonReport(DataConn, WriteConn, ReportToDisplay, Volume, Province, Year,
                                              NAICS, Language, aComparisonValues);
        break;
    case reportrender::Kind::Trend: // asked for through DisplayTrendReport, never by a kind letter
        break;
    }

    french_ = Language.left(1).toUpper() == QLatin1String("F");
    setWindowTitle(QString::fromUtf8(chosen->english));
    if (french_) setWindowTitle(QString::fromUtf8(chosen->french));
    if (!prepared) return;

    document_ = reportrender::buildDocument(chosen->render, WriteConn, layout);
    showDocument();
}

void frmReportViewer::DisplayTrendReport(Connection& DataConn, Connection& WriteConn, Connection& records,
                                         int16_t Volume, const QString& Province, const QString& NAICS,
                                         const QString& Language, const QString& firmName) {
    french_ = Language.left(1).toUpper() == QLatin1String("F");
    const int language = french_ ? 1 : 0;
    const firmtrend::Outcome outcome =
        firmtrend::prepare(DataConn, WriteConn, records, Volume, Province, NAICS, Language, firmName);
    if (!outcome.trend) {
        MsgBox(outcome.refusal, MsgButtons::OK, MsgIcon::Exclamation);
        return;
    }
    setWindowTitle(QStringLiteral("Ventrolux — ") +
                   readingtexts::trendLabel(QStringLiteral("Title_Report"), language));
    document_ = reportrender::buildTrendDocument(*outcome.trend, language,
                                                 reportrender::defaultLayoutPath(reportrender::Kind::Trend));
    showDocument();
}

void frmReportViewer::showDocument() {
    actZoomIn->setText(french_ ? QStringLiteral("Zoom avant") : QStringLiteral("Zoom in"));
    actZoomOut->setText(french_ ? QStringLiteral("Zoom arrière") : QStringLiteral("Zoom out"));
    actFitWidth->setText(french_ ? QStringLiteral("Pleine largeur") : QStringLiteral("Fit width"));
    actPrint->setText(french_ ? QStringLiteral("Imprimer…") : QStringLiteral("Print…"));
    actExportPdf->setText(french_ ? QStringLiteral("Exporter en PDF…") : QStringLiteral("Export to PDF…"));
    CRViewer1->updatePreview();

    ScreenRegistry& registry = ScreenRegistry::instance();
    registry.showModal(*this, nullptr);
}

void frmReportViewer::printTo(QPrinter* printer) {
    if (document_ && printer) reportrender::print(*document_, *printer);
}

void frmReportViewer::exportPdf(const QString& path) {
    if (document_) reportrender::writePdf(*document_, path);
}

void frmReportViewer::printDialog() {
    QPrinter printer(QPrinter::HighResolution);
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() == QDialog::Accepted) printTo(&printer);
}

void frmReportViewer::exportDialog() {
    const std::optional<QString> chosen = ChooseFile(
        FileChoice::Save, french_ ? QStringLiteral("Exporter en PDF") : QStringLiteral("Export to PDF"),
        QString(), QStringLiteral("PDF (*.pdf)"));
    if (!chosen) return;
    const QString path = chosen->endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive)
                             ? *chosen
                             : *chosen + QStringLiteral(".pdf");
    try {
        exportPdf(path);
    } catch (const FatalError& e) {
        // A place the user may not write to costs this export, not the program and the report.
        MsgBox((french_ ? QStringLiteral("Le PDF n'a pas pu être écrit.\n\n")
                        : QStringLiteral("The PDF could not be written.\n\n")) +
                   e.description(),
               MsgButtons::OK, MsgIcon::Exclamation);
    }
}

void frmReportViewer::btnBack_Click() {
    ScreenRegistry& registry = ScreenRegistry::instance();
    registry.hide(*this);
    registry.unload(*this);
    // The industry selection screen, which stayed open behind the report, comes back
    // in its normal window state (not minimized).
    if (frmSearch* search = registry.existing<frmSearch>())
        search->setWindowState(search->windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized));
}

void frmReportViewer::placeControls() {
    if (isMinimized()) return;
    // The viewer takes the window less its margins; the back button lines up with its right edge.
    const QSize client = centralWidget() ? centralWidget()->size() : size();
    const int width = std::max(100, client.width() - px(200));
    const int height = std::max(100, client.height() - px(1200) + px(735) - px(120));
    CRViewer1->setGeometry(px(105), px(735), width, height);
    btnBack->move(CRViewer1->x() + CRViewer1->width() - btnBack->width(), btnBack->y());
    tbViewer->setGeometry(px(105), px(120), std::max(0, btnBack->x() - px(105) - 8), px(495));
}

void frmReportViewer::resizeEvent(QResizeEvent* event) {
    Screen::resizeEvent(event);
    placeControls();
}

void frmReportViewer::changeEvent(QEvent* event) {
    Screen::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange) placeControls();
}
