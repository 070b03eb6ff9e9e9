#include "screens/report/frmReportViewer.h"

#include "report/render/LayoutFileCheck.h"

#include "data/ProgramFiles.h"
#include "industry/NaicsLists.h"
#include "platform/Platform.h"
#include "report/FirmTrend.h"
#include "report/ReadingTexts.h"
#include "report/ReportPreparation.h"
#include "report/render/ReadableReport.h"
#include "report/render/ReportRenderer.h"
#include "screens/common/Handlers.h"
#include "screens/common/ScreenRegistry.h"
#include "screens/common/Widgets.h"
#include "screens/industry/frmSearch.h"
#include "state/modMain.h"
#include "text/StringTable.h"

#include <QAction>
#include <QGraphicsView>
#include <QIcon>
#include <QMenu>
#include <QMenuBar>
#include <QPrintDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPushButton>
#include <QResizeEvent>
#include <QScreen>
#include <QTextDocument>
#include <QTextEdit>
#include <QToolBar>
#include <algorithm>

namespace {

// What the user last chose for the report window, kept for the run.
struct ViewerChoice {
    QSize size;
    QPrintPreviewWidget::ZoomMode zoomMode = QPrintPreviewWidget::FitToWidth;
    qreal zoomFactor = 1.0;
    bool asText = false; // the report read as text rather than seen as pages
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
    leaveOnEscape([this] { btnBack_Click(); });

    tbViewer = new QToolBar(central);
    tbViewer->setObjectName(QStringLiteral("tbViewer"));
    actZoomIn = tbViewer->addAction(QString());
    actZoomOut = tbViewer->addAction(QString());
    actFitWidth = tbViewer->addAction(QString());
    tbViewer->addSeparator();
    actPrint = tbViewer->addAction(QString());
    actExportPdf = tbViewer->addAction(QString());
    actAsText = new QAction(this);
    actAsText->setCheckable(true);
    // Every command of the toolbar is in the menus too, each with its key.
    const std::pair<QAction*, QKeySequence> keys[] = {
        {actZoomIn, QKeySequence::ZoomIn},
        {actZoomOut, QKeySequence::ZoomOut},
        {actFitWidth, QKeySequence(Qt::CTRL | Qt::Key_0)},
        {actPrint, QKeySequence::Print},
        {actExportPdf, QKeySequence(Qt::CTRL | Qt::Key_E)},
        {actAsText, QKeySequence(Qt::Key_F9)},
    };
    for (const auto& [action, key] : keys) {
        action->setShortcut(key);
        action->setShortcutContext(Qt::WindowShortcut);
    }
    mnuFile = makeMenu(menuBar(), QStringLiteral("mnuFile"));
    mnuFile->addActions({actPrint, actExportPdf});
    mnuView = makeMenu(menuBar(), QStringLiteral("mnuView"));
    mnuView->addActions({actZoomIn, actZoomOut, actFitWidth});
    mnuView->addSeparator();
    mnuView->addAction(actAsText);

    CRViewer1 = new QPrintPreviewWidget(central);
    CRViewer1->setObjectName(QStringLiteral("CRViewer1"));
    CRViewer1->setGeometry(px(105), px(735), px(10935), px(7575));
    onEvent(CRViewer1, &QPrintPreviewWidget::paintRequested, this,
            [this](QPrinter* printer) { printTo(printer); });
    // Read-only text with a caret, which a screen reader follows line by line.
    txtReport = new QTextEdit(central);
    txtReport->setObjectName(QStringLiteral("txtReport"));
    txtReport->setReadOnly(true);
    txtReport->setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse);
    txtReport->hide();

    onEvent(actZoomIn, &QAction::triggered, CRViewer1, [this] { CRViewer1->zoomIn(); });
    onEvent(actZoomOut, &QAction::triggered, CRViewer1, [this] { CRViewer1->zoomOut(); });
    onEvent(actFitWidth, &QAction::triggered, CRViewer1, [this] { CRViewer1->fitToWidth(); });
    onEvent(actPrint, &QAction::triggered, this, [this] { printDialog(); });
    onEvent(actExportPdf, &QAction::triggered, this, [this] { exportDialog(); });
    onEvent(actAsText, &QAction::toggled, this, [this](bool on) { showAsText(on); });
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
        const char* title; // the window's
    };
    static const Kind kinds[] = {
        {"rat", reportrender::Kind::Ratios, "report.title.ratios"},
        {"bal", reportrender::Kind::BalanceSheet, "report.title.balanceSheet"},
        {"com", reportrender::Kind::Comparison, "report.title.comparison"},
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
    build_ = [=](const QString& letter) -> std::unique_ptr<QTextDocument> {
        QStringList values = aComparisonValues;
        // The firm's industry under its title in the language of the report.
        if (values.size() > 3 && letter != Language)
            if (const auto industry =
                    naicslists::byCode(*data, modMain::gstrDataTable, modMain::gstrNAICSTable, NAICS,
                                       language::ofRequest(letter)))
                values[3] = industry->title.trimmed();
        if (!prepare(render, *data, *write, ReportToDisplay, Volume, Province, Year, NAICS, letter, values))
            return nullptr;
        return reportrender::buildDocument(render, *write, layout);
    };
    const char* titleKey = chosen->title;
    title_ = [titleKey](::Language l) { return strings::text(titleKey, l); };

    language_ = language;
    setWindowTitle(title_(language_));
    std::unique_ptr<QTextDocument> document = build_(Language);
    if (!document) return;
    setDocument(std::move(document));
    showDocument();
}

void frmReportViewer::DisplayTrendReport(Connection& DataConn, Connection& WriteConn, Connection& records,
                                         int16_t Volume, const QString& Province, const QString& NAICS,
                                         const QString& Language, const QString& firmName) {
    language_ = language::ofRequest(Language);
    const firmtrend::Outcome outcome =
        firmtrend::prepare(DataConn, WriteConn, records, Volume, Province, NAICS, language_, firmName);
    if (!outcome.trend) {
        MsgBox(outcome.refusal, MsgButtons::OK, MsgIcon::Exclamation);
        return;
    }
    Connection* data = &DataConn;
    Connection* write = &WriteConn;
    Connection* firms = &records;
    const QString layout = reportrender::defaultLayoutPath(reportrender::Kind::Trend);
    build_ = [=](const QString& letter) -> std::unique_ptr<QTextDocument> {
        const firmtrend::Outcome again = firmtrend::prepare(*data, *write, *firms, Volume, Province, NAICS,
                                                            language::ofRequest(letter), firmName);
        if (!again.trend) return nullptr;
        return reportrender::buildTrendDocument(*again.trend, language::ofRequest(letter), layout);
    };
    title_ = [](::Language l) {
        return QStringLiteral("Ventrolux — ") + readingtexts::trendLabel(QStringLiteral("Title_Report"), l);
    };
    setWindowTitle(title_(language_));
    setDocument(reportrender::buildTrendDocument(*outcome.trend, language_, layout));
    showDocument();
}

void frmReportViewer::subLoadCaptions() {
    Screen::subLoadCaptions();
    // In the report's language, which stays when a report cannot be made again in another.
    const auto text = [this](const char* key) { return strings::text(key, language_); };
    mnuFile->setTitle(strings::text(496, language_));
    mnuView->setTitle(strings::text(460, language_));
    actZoomIn->setText(text("report.zoomIn"));
    actZoomOut->setText(text("report.zoomOut"));
    actFitWidth->setText(text("report.fitWidth"));
    actPrint->setText(text("report.print"));
    actExportPdf->setText(text("report.exportPdf"));
    actAsText->setText(text("report.asText"));
    CRViewer1->setAccessibleName(text("report.pages.name"));
    CRViewer1->setAccessibleDescription(text("report.pages.description"));
    // The pages are drawn in a view inside the preview, which takes the focus.
    for (QWidget* pages : CRViewer1->findChildren<QWidget*>()) {
        pages->setAccessibleName(text("report.pages.name"));
        pages->setAccessibleDescription(text("report.pages.description"));
    }
    txtReport->setAccessibleName(windowTitle());
    txtReport->setAccessibleDescription(text("report.text.description"));
}

void frmReportViewer::followLanguage() {
    if (!build_ || !document_) return;
    std::unique_ptr<QTextDocument> again = build_(language::letter(modMain::language()));
    // A report that cannot be made again stays in its language, whole.
    if (!again) return;
    setDocument(std::move(again));
    language_ = modMain::language();
    setWindowTitle(title_(language_));
    subLoadCaptions();
    CRViewer1->updatePreview();
}

void frmReportViewer::setDocument(std::unique_ptr<QTextDocument> document) {
    document_ = std::move(document);
    std::unique_ptr<QTextDocument> readable = reportrender::readableCopy(*document_);
    // The text view lets go of the copy it shows before that copy is deleted.
    txtReport->setDocument(readable.get());
    readable_ = std::move(readable);
}

void frmReportViewer::showAsText(bool asText) {
    lastChoice().asText = asText;
    if (actAsText->isChecked() != asText) actAsText->setChecked(asText);
    const bool hadFocus = CRViewer1->isAncestorOf(focusWidget()) || txtReport->hasFocus();
    CRViewer1->setVisible(!asText);
    txtReport->setVisible(asText);
    // The zoom is the pages'.
    for (QAction* zoom : {actZoomIn, actZoomOut, actFitWidth})
        zoom->setEnabled(!asText);
    if (hadFocus || isActiveWindow()) firstFocus()->setFocus(Qt::OtherFocusReason);
}

QWidget* frmReportViewer::firstFocus() const {
    if (txtReport->isVisibleTo(this)) return txtReport;
    QGraphicsView* pages = CRViewer1->findChild<QGraphicsView*>();
    return pages ? static_cast<QWidget*>(pages) : CRViewer1;
}

void frmReportViewer::showDocument() {
    subLoadCaptions();
    const ViewerChoice& choice = lastChoice();
    showAsText(choice.asText);
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
    const std::optional<QString> chosen =
        ChooseFile(FileChoice::Save, strings::text("report.exportPdf.title", language_), QString(),
                   QStringLiteral("PDF (*.pdf)"));
    if (!chosen) return;
    const QString path = chosen->endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive)
                             ? *chosen
                             : *chosen + QStringLiteral(".pdf");
    // A place the user may not write to costs this export, not the program and the report.
    const auto tell = [this](const QString& why) {
        MsgBox(strings::text("report.exportPdf.failed", language_).arg(why), MsgButtons::OK,
               MsgIcon::Exclamation);
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
    txtReport->setGeometry(CRViewer1->geometry());
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
