#pragma once
// The report screen: prepares one of the three reports in the user database and shows
// it, paginated, with zoom, printing and export to PDF; or, switched with F9, as text a
// screen reader reads (its charts told in words), in the same place.

#include "data/DBTools.h"
#include "screens/common/Screen.h"
#include "text/Language.h"

#include <QStringList>
#include <functional>
#include <memory>

class QPrintPreviewWidget;
class QPushButton;
class QTextEdit;
class QTextDocument;
class QToolBar;
class QAction;
class QMenu;

class frmReportViewer : public Screen {
    Q_OBJECT
public:
    frmReportViewer();
    ~frmReportViewer() override;

    bool Form_QueryUnload() override;
    // The menus' and toolbar's texts, the Back button's tool tip and what a screen reader
    // says of the report, in the report's language.
    void subLoadCaptions() override;
    // The pages, or the text when the user reads the report as text.
    QWidget* firstFocus() const override;
    // The report made again in the new language, with its captions.
    void followLanguage() override;

    // Prepares the report of the kind ("com", "rat", "bal", by its first three letters)
    // and shows it modal; returns when the user goes back.
    void DisplayCrystalReport(Connection& DataConn, Connection& WriteConn, const QString& ReportToDisplay,
                              int16_t Volume, const QString& Province, int16_t Year, const QString& NAICS,
                              const QString& Language, const QStringList& aComparisonValues);

    // Prepares the trend report of the firm saved under firmName (its years read from
    // records) against the industry and shows it modal; a firm with fewer than two saved
    // years is refused with a message and nothing is shown.
    void DisplayTrendReport(Connection& DataConn, Connection& WriteConn, Connection& records, int16_t Volume,
                            const QString& Province, const QString& NAICS, const QString& Language,
                            const QString& firmName);

    void btnBack_Click() override;
    void exportPdf(const QString& path);
    void printTo(class QPrinter* printer);

    // Shows the report as text (true) or as its pages (false), and keeps the choice for the run.
    void showAsText(bool asText);

    QPrintPreviewWidget* CRViewer1;
    QTextEdit* txtReport; // the report as text, in CRViewer1's place
    QToolBar* tbViewer;
    QMenu* mnuFile;
    QMenu* mnuView;
    QAction* actZoomIn;
    QAction* actZoomOut;
    QAction* actFitWidth;
    QAction* actPrint;
    QAction* actExportPdf;
    QAction* actAsText;

    QTextDocument* document() const { return document_.get(); }

protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void placeControls();
    void showDocument();
    // Centred over the screen that asked for the report, at the size last chosen in the run.
    void placeOverCaller();
    // Keeps the size and zoom for the next report of the run.
    void rememberChoice();
    void printDialog();
    void exportDialog();

    // The document shown, printed and exported, and its copy read as text.
    void setDocument(std::unique_ptr<QTextDocument> document);

    std::unique_ptr<QTextDocument> document_;
    std::unique_ptr<QTextDocument> readable_;
    // Prepares and builds the report shown, in the language of its letter ("E" or "F");
    // nothing when the preparation refuses.
    std::function<std::unique_ptr<QTextDocument>(const QString&)> build_;
    // The window title in a language.
    std::function<QString(Language)> title_;
    Language language_ = Language::E; // the report's
};
