#include "screens/report/frmReportViewer.h"

#include "report/render/LayoutFileCheck.h"

#include "data/ProgramFiles.h"
#include "industry/NaicsLists.h"
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
#include <QScreen>
#include <QTextDocument>
#include <QToolBar>
#include <algorithm>

namespace {

// What the user last chose for the report window, kept for the run.
struct ViewerChoice {
    QSize size;
    QPrintPreviewWidget::ZoomMode zoomMode = QPrintPreviewWidget::FitToWidth;
    qreal zoomFactor = 1.0;
};
ViewerChoice& lastChoice() {
    static ViewerChoice choice;
    return choice;
}

bool prepare(reportrender::Kind kind, Connection& DataConn, Connection& WriteConn,
             const QString& ReportToDisplay, int16_t Volume, const QString& Province, int16_t Year,
             const QString& NAICS, const QString& Language, const QStringList& aComparisonValues) {
    switch (kind) {
    case reportrender::Kind::Ratios:
        return fncPrepareRatiosReport(DataConn, WriteConn, ReportToDisplay, Volume, Province, Year, NAICS,
                                      Language);
    case reportrender::Kind::BalanceSheet:
        return fncPrepareBalanceSheetReport(DataConn, WriteConn, ReportToDisplay, Volume, Province, Year,
                                            NAICS, Language);
    case reportrender::Kind::Comparison:
        return fncPrepareComparisonReport(DataConn, WriteConn, ReportToDisplay, Volume, Province, Year, NAICS,
                                          Language, aComparisonValues);
    case reportrender::Kind::Trend: // asked for through DisplayTrendReport, never by a kind letter
        break;
    }
    return false;
}

QString languageLetter(bool french) {
    return french ? QStringLiteral("F") : QStringLiteral("E");
}

} // namespace

frmReportViewer::frmReportViewer() {
    setObjectName(QStringLiteral("frmReportViewer"));
    setWindowTitle(QStringLiteral("Report Viewer"));
    auto* central = new QWidget;
    setCentralWidget(central);

    makeBackButton();
    btnBack->setParent(central);
    btnBack->move(px(10320), px(120));
    // Escape leaves the report as Back does.
    auto* leave = new QAction(this);
    leave->setShortcut(QKeySequence(Qt::Key_Escape));
    leave->setShortcutContext(Qt::WindowShortcut);
    addAction(leave);
    onEvent(leave, &QAction::triggered, this, [this] { btnBack_Click(); });

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

    onEvent(actZoomIn, &QAction::triggered, CRViewer1, [this] { CRViewer1->zoomIn(); });
    onEvent(actZoomOut, &QAction::triggered, CRViewer1, [this] { CRViewer1->zoomOut(); });
    onEvent(actFitWidth, &QAction::triggered, CRViewer1, [this] { CRViewer1->fitToWidth(); });
    onEvent(actPrint, &QAction::triggered, this, [this] { printDialog(); });
    onEvent(actExportPdf, &QAction::triggered, this, [this] { exportDialog(); });
    resize(px(11265), px(9000));
}

frmReportViewer::~frmReportViewer() = default;

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
    const ::Language language = language::ofRequest(Language);
    if (const std::optional<QString> problem = reportrender::layoutFileProblem(layout, language)) {
        MsgBox(*problem, MsgButtons::OK, MsgIcon::Exclamation);
        return;
    }
    // The same request in another language, for a language switch while the report is shown.
    Connection* data = &DataConn;
    Connection* write = &WriteConn;
    const reportrender::Kind render = chosen->render;
    build_ = [=](const QString& inLanguage) -> std::unique_ptr<QTextDocument> {
        QStringList values = aComparisonValues;
        // The firm's industry under its title in the language of the report.
        if (values.size() > 3 && inLanguage != Language)
            if (const auto industry =
                    naicslists::byCode(*data, modMain::gstrDataTable, modMain::gstrNAICSTable, NAICS,
                                       language::ofRequest(inLanguage)))
                values[3] = industry->title.trimmed();
        if (!prepare(render, *data, *write, ReportToDisplay, Volume, Province, Year, NAICS, inLanguage,
                     values))
            return nullptr;
        return reportrender::buildDocument(render, *write, layout);
    };
    titles_[0] = QString::fromUtf8(chosen->english);
    titles_[1] = QString::fromUtf8(chosen->french);

    french_ = language == ::Language::F;
    setWindowTitle(titles_[0]);
    if (french_) setWindowTitle(titles_[1]);
    document_ = build_(Language);
    if (!document_) return;
    showDocument();
}

void frmReportViewer::DisplayTrendReport(Connection& DataConn, Connection& WriteConn, Connection& records,
                                         int16_t Volume, const QString& Province, const QString& NAICS,
                                         const QString& Language, const QString& firmName) {
    const ::Language language = language::ofRequest(Language);
    french_ = language == ::Language::F;
    const firmtrend::Outcome outcome =
        firmtrend::prepare(DataConn, WriteConn, records, Volume, Province, NAICS, language, firmName);
    if (!outcome.trend) {
        MsgBox(outcome.refusal, MsgButtons::OK, MsgIcon::Exclamation);
        return;
    }
    Connection* data = &DataConn;
    Connection* write = &WriteConn;
    Connection* firms = &records;
    const QString layout = reportrender::defaultLayoutPath(reportrender::Kind::Trend);
    build_ = [=](const QString& inLanguage) -> std::unique_ptr<QTextDocument> {
        const firmtrend::Outcome again = firmtrend::prepare(*data, *write, *firms, Volume, Province, NAICS,
                                                            language::ofRequest(inLanguage), firmName);
        if (!again.trend) return nullptr;
        return reportrender::buildTrendDocument(*again.trend, language::ofRequest(inLanguage), layout);
    };
    for (int l : {0, 1})
        titles_[l] = QStringLiteral("Ventrolux — ") +
                     readingtexts::trendLabel(QStringLiteral("Title_Report"), language::fromFlag(l));
    setWindowTitle(titles_[french_ ? 1 : 0]);
    document_ = reportrender::buildTrendDocument(*outcome.trend, language, layout);
    showDocument();
}

void frmReportViewer::subLoadCaptions() {
    Screen::subLoadCaptions();
    actZoomIn->setText(french_ ? QStringLiteral("Zoom avant") : QStringLiteral("Zoom in"));
    actZoomOut->setText(french_ ? QStringLiteral("Zoom arrière") : QStringLiteral("Zoom out"));
    actFitWidth->setText(french_ ? QStringLiteral("Pleine largeur") : QStringLiteral("Fit width"));
    actPrint->setText(french_ ? QStringLiteral("Imprimer…") : QStringLiteral("Print…"));
    actExportPdf->setText(french_ ? QStringLiteral("Exporter en PDF…") : QStringLiteral("Export to PDF…"));
}

void frmReportViewer::followLanguage() {
    if (!build_ || !document_) return;
    std::unique_ptr<QTextDocument> again = build_(languageLetter(modMain::IsFrench()));
    // A report that cannot be made again stays in its language, whole.
    if (!again) return;
    document_ = std::move(again);
    french_ = modMain::IsFrench();
    setWindowTitle(titles_[french_ ? 1 : 0]);
    subLoadCaptions();
    CRViewer1->updatePreview();
}

void frmReportViewer::showDocument() {
    subLoadCaptions();
    const ViewerChoice& choice = lastChoice();
    if (choice.zoomMode == QPrintPreviewWidget::CustomZoom)
        CRViewer1->setZoomFactor(choice.zoomFactor);
    else
        CRViewer1->setZoomMode(choice.zoomMode);
    CRViewer1->updatePreview();

    // Over the window that asked for it.
    ScreenRegistry& registry = ScreenRegistry::instance();
    registry.showModal(*this, registry.active());
}

void frmReportViewer::showEvent(QShowEvent* event) {
    placeOverCaller();
    Screen::showEvent(event);
}

void frmReportViewer::placeOverCaller() {
    const QWidget* caller = parentWidget();
    const QScreen* onScreen = caller && caller->screen() ? caller->screen() : screen();
    if (!onScreen) return;
    const QRect avail = onScreen->availableGeometry();
    const QSize wanted = lastChoice().size.isValid() ? lastChoice().size : QSize(px(11265), px(9000));
    // Room for the window manager's frame inside the screen.
    const QSize room = avail.size() - QSize(16, 40);
    const QSize size = wanted.boundedTo(room);
    resize(size);
    const QRect around = caller && caller->isVisible() ? caller->frameGeometry() : avail;
    const QPoint centred = around.center() - QPoint(size.width() / 2, size.height() / 2);
    const int maxX = std::max(avail.left(), avail.left() + room.width() - size.width());
    const int maxY = std::max(avail.top(), avail.top() + room.height() - size.height());
    move(std::clamp(centred.x(), avail.left(), maxX), std::clamp(centred.y(), avail.top(), maxY));
}

void frmReportViewer::rememberChoice() {
    ViewerChoice& choice = lastChoice();
    if (!isMinimized() && !isMaximized()) choice.size = size();
    choice.zoomMode = CRViewer1->zoomMode();
    choice.zoomFactor = CRViewer1->zoomFactor();
}

bool frmReportViewer::Form_QueryUnload() {
    rememberChoice();
    return true;
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
    // A place the user may not write to costs this export, not the program and the report.
    const auto tell = [this](const QString& why) {
        MsgBox((french_ ? QStringLiteral("Le PDF n'a pas pu être écrit.\n\n")
                        : QStringLiteral("The PDF could not be written.\n\n")) +
                   why,
               MsgButtons::OK, MsgIcon::Exclamation);
    };
    try {
        exportPdf(path);
    } catch (const RecoverableFailure& e) {
        tell(e.description());
    } catch (const FatalError& e) {
        tell(e.description());
    }
}

void frmReportViewer::btnBack_Click() {
    rememberChoice();
    ScreenRegistry& registry = ScreenRegistry::instance();
    registry.hide(*this);
    registry.unload(*this);
    // The industry selection screen, which stayed open behind the report, comes back
    // in its normal window state (not minimized).
    if (frmSearch* search = registry.existing<frmSearch>()) search->restoreNormalState();
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
