#pragma once
// The help viewer's window: a browser for the help pages with Back, Forward, Home,
// Print, a find field and zoom. Its labels follow the language the page declares.

#include "help/HelpContent.h"

#include <QMainWindow>
#include <QUrl>

class QAction;
class QLabel;
class QLineEdit;
class QTextBrowser;
class QTextDocument;

namespace help {

class HelpWindow : public QMainWindow {
    Q_OBJECT

public:
    explicit HelpWindow(QWidget* parent = nullptr);

    // Shows the requested file, scrolled to its topic when the file has that anchor
    // (from the top otherwise). A file that cannot be shown is replaced by a
    // bilingual explanation and false is returned.
    bool open(const HelpRequest& request);

    QTextBrowser* browser() const { return m_browser; }
    bool showingError() const { return m_showingError; }
    QString language() const { return m_language; }

    // Where an anchor begins in a document; -1 when the document has no such anchor.
    static int anchorPosition(const QTextDocument* document, const QString& name);

public slots:
    void goHome();
    void printDocument();
    void findNext();
    void findPrevious();

private:
    void buildActions();
    void applyLanguage(const QString& language);
    void onSourceChanged(const QUrl& url);
    void find(bool backward);

    QTextBrowser* m_browser = nullptr;
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
    QString m_language;
    bool m_showingError = false;
};

} // namespace help
