#pragma once
// The help viewer's window: a browser for the help pages with Back, Forward, Home,
// Print, a find field and zoom. Its labels follow the language the page declares (the
// language it was given while no page that declares one is shown). The page is named for
// a screen reader, which reads its headings and links.

#include "help/HelpContent.h"

#include <QMainWindow>
#include <QUrl>

class QAction;
class QLabel;
class QLineEdit;
class QTextBrowser;
class QTextDocument;
class QToolBar;

namespace help {

class HelpWindow : public QMainWindow {
    Q_OBJECT

public:
    explicit HelpWindow(QWidget* parent = nullptr, Language language = Language::E);

    // Shows the requested file, scrolled to its topic when the file has that anchor
    // (from the top otherwise). A file that cannot be shown is replaced by an
    // explanation in the window's language and false is returned.
    bool open(const HelpRequest& request);

    QTextBrowser* browser() const { return m_browser; }
    bool showingError() const { return m_showingError; }
    Language language() const { return m_language; }

    // Where an anchor begins in a document; -1 when the document has no such anchor.
    static int anchorPosition(const QTextDocument* document, const QString& name);

public slots:
    void goHome();
    void printDocument();
    void findNext();
    void findPrevious();

private:
    void buildActions();
    void applyLanguage(Language language);
    void onSourceChanged(const QUrl& url);
    void find(bool backward);

    QTextBrowser* m_browser = nullptr;
    QToolBar* m_toolBar = nullptr;
    QLineEdit* m_findField = nullptr;
    QLabel* m_findLabel = nullptr;
    QAction* m_back = nullptr;
    QAction* m_forward = nullptr;
    QAction* m_home = nullptr;
    QAction* m_print = nullptr;
    QAction* m_findAction = nullptr;
    QAction* m_zoomIn = nullptr;
    QAction* m_zoomOut = nullptr;
    QUrl m_homeUrl;
    Language m_given;    // for pages that declare no language, and for the error page
    Language m_language; // of the labels
    bool m_showingError = false;
};

} // namespace help
