#pragma once
// The report screen: prepares one of the three reports in the user database and shows
// it, paginated, with zoom, printing and export to PDF.

#include "data/DBTools.h"
#include "screens/common/Screen.h"

#include <QStringList>
#include <functional>
#include <memory>

class QPrintPreviewWidget;
class QPushButton;
class QTextDocument;
class QToolBar;
class QAction;

class frmReportViewer : public Screen {
    Q_OBJECT
public:
    frmReportViewer();
    ~frmReportViewer() override;

    bool Form_QueryUnload() override;
    // The toolbar's texts and the Back button's tool tip, in the report's language.
    void subLoadCaptions() override;
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

    QPrintPreviewWidget* CRViewer1;
    QToolBar* tbViewer;
    QAction* actZoomIn;
    QAction* actZoomOut;
    QAction* actFitWidth;
    QAction* actPrint;
    QAction* actExportPdf;

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

    std::unique_ptr<QTextDocument> document_;
    // Prepares and builds the report shown, in the language of its letter ("E" or "F");
    // nothing when the preparation refuses.
    std::function<std::unique_ptr<QTextDocument>(const QString&)> build_;
    QString titles_[2]; // the window title in English and in French
    bool french_ = false;
};
