#include "help/HelpWindow.h"

#include "text/StringTable.h"

#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QShortcut>
#include <QStatusBar>
#include <QStyle>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QToolBar>

using namespace Qt::StringLiterals;

namespace help {

namespace {

QIcon themedIcon(const char* themeName, QStyle::StandardPixmap fallback) {
    const QIcon themed = QIcon::fromTheme(QString::fromLatin1(themeName));
    return themed.isNull() ? QApplication::style()->standardIcon(fallback) : themed;
}

} // namespace

HelpWindow::HelpWindow(QWidget* parent, Language language)
    : QMainWindow(parent), m_given(language), m_language(language) {
    resize(900, 700);
    m_browser = new QTextBrowser(this);
    m_browser->setObjectName(u"helpBrowser"_s);
    m_browser->setOpenExternalLinks(true);
    setCentralWidget(m_browser);
    buildActions();

    connect(m_browser, &QTextBrowser::sourceChanged, this, &HelpWindow::onSourceChanged);
    connect(m_browser, &QTextBrowser::backwardAvailable, this,
            [this](bool available) { m_back->setEnabled(available && !m_showingError); });
    connect(m_browser, &QTextBrowser::forwardAvailable, this,
            [this](bool available) { m_forward->setEnabled(available && !m_showingError); });
    connect(m_browser, qOverload<const QUrl&>(&QTextBrowser::highlighted), this, [this](const QUrl& link) {
        if (link.isEmpty())
            statusBar()->clearMessage();
        else
            statusBar()->showMessage(link.toDisplayString());
    });

    applyLanguage(m_given);
    setWindowTitle(errorTitle(m_given));
}

void HelpWindow::buildActions() {
    QToolBar* bar = addToolBar(u"navigation"_s);
    m_toolBar = bar;
    bar->setObjectName(u"helpToolBar"_s);
    bar->setMovable(false);
    bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);

    m_back = bar->addAction(themedIcon("go-previous", QStyle::SP_ArrowBack), {}, m_browser,
                            &QTextBrowser::backward);
    m_back->setObjectName(u"back"_s);
    m_back->setShortcut(QKeySequence::Back);
    m_back->setEnabled(false);

    m_forward =
        bar->addAction(themedIcon("go-next", QStyle::SP_ArrowForward), {}, m_browser, &QTextBrowser::forward);
    m_forward->setObjectName(u"forward"_s);
    m_forward->setShortcut(QKeySequence::Forward);
    m_forward->setEnabled(false);

    m_home = bar->addAction(themedIcon("go-home", QStyle::SP_DirHomeIcon), {}, this, &HelpWindow::goHome);
    m_home->setObjectName(u"home"_s);
    m_home->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Home));

    bar->addSeparator();
    m_print = bar->addAction(themedIcon("document-print", QStyle::SP_FileIcon), {}, this,
                             &HelpWindow::printDocument);
    m_print->setObjectName(u"print"_s);
    m_print->setShortcut(QKeySequence::Print);

    bar->addSeparator();
    m_zoomOut = bar->addAction(u"A\u2212"_s, m_browser, [this] { m_browser->zoomOut(1); });
    m_zoomOut->setObjectName(u"zoomOut"_s);
    m_zoomOut->setShortcut(QKeySequence::ZoomOut);
    m_zoomIn = bar->addAction(u"A+"_s, m_browser, [this] { m_browser->zoomIn(1); });
    m_zoomIn->setObjectName(u"zoomIn"_s);
    m_zoomIn->setShortcut(QKeySequence::ZoomIn);

    bar->addSeparator();
    m_findLabel = new QLabel(bar);
    m_findLabel->setContentsMargins(6, 0, 4, 0);
    bar->addWidget(m_findLabel);
    m_findField = new QLineEdit(bar);
    m_findField->setObjectName(u"findField"_s);
    m_findField->setClearButtonEnabled(true);
    m_findField->setMaximumWidth(260);
    m_findLabel->setBuddy(m_findField);
    bar->addWidget(m_findField);
    connect(m_findField, &QLineEdit::returnPressed, this, &HelpWindow::findNext);
    connect(m_findField, &QLineEdit::textEdited, this, [this] {
        m_findField->setPalette(QPalette());
        statusBar()->clearMessage();
    });
    auto* leaveFind = new QShortcut(QKeySequence(Qt::Key_Escape), m_findField);
    leaveFind->setContext(Qt::WidgetShortcut);
    connect(leaveFind, &QShortcut::activated, m_browser, qOverload<>(&QWidget::setFocus));

    m_findAction = new QAction(this);
    m_findAction->setShortcut(QKeySequence::Find);
    connect(m_findAction, &QAction::triggered, this, [this] {
        m_findField->setFocus(Qt::ShortcutFocusReason);
        m_findField->selectAll();
    });
    addAction(m_findAction);

    auto* next = new QAction(this);
    next->setShortcut(QKeySequence::FindNext);
    connect(next, &QAction::triggered, this, &HelpWindow::findNext);
    addAction(next);
    auto* previous = new QAction(this);
    previous->setShortcut(QKeySequence::FindPrevious);
    connect(previous, &QAction::triggered, this, &HelpWindow::findPrevious);
    addAction(previous);

    auto* closeWindow = new QAction(this);
    closeWindow->setShortcut(QKeySequence::Close);
    connect(closeWindow, &QAction::triggered, this, &QWidget::close);
    addAction(closeWindow);
}

void HelpWindow::applyLanguage(Language language) {
    m_language = language;
    const auto text = [language](const char* key) { return strings::text(key, language); };
    m_back->setText(text("helpviewer.back"));
    m_forward->setText(text("helpviewer.forward"));
    m_home->setText(text("helpviewer.home"));
    m_print->setText(text("helpviewer.print"));
    // The zoom buttons show "A+" and "A−": a screen reader says their tool tips.
    m_zoomIn->setToolTip(text("helpviewer.zoomIn"));
    m_zoomOut->setToolTip(text("helpviewer.zoomOut"));
    for (QAction* zoom : {m_zoomIn, m_zoomOut})
        if (QWidget* button = m_toolBar->widgetForAction(zoom)) button->setAccessibleName(zoom->toolTip());
    m_findLabel->setText(text("helpviewer.find"));
    m_findField->setPlaceholderText(text("helpviewer.findPlaceholder"));
    m_browser->setAccessibleName(text("helpviewer.page"));
    const QLocale locale = language::locale(language);
    QLocale::setDefault(locale);
    setLocale(locale);
}

bool HelpWindow::open(const HelpRequest& request) {
    const HelpFile file = loadHelpFile(request.file);
    if (!file.ok()) {
        m_showingError = true;
        m_homeUrl.clear();
        m_browser->clearHistory();
        m_browser->setHtml(errorPage(file, m_given));
        m_back->setEnabled(false);
        m_forward->setEnabled(false);
        m_home->setEnabled(false);
        m_print->setEnabled(false);
        applyLanguage(m_given);
        setWindowTitle(errorTitle(m_given));
        return false;
    }

    m_showingError = false;
    m_home->setEnabled(true);
    m_print->setEnabled(true);
    m_homeUrl = QUrl::fromLocalFile(file.path);
    m_browser->setSource(m_homeUrl);
    // Home and a fresh start both mean the top of the page; a topic the page does not
    // have leaves it there.
    if (request.topic) {
        const QString anchor = anchorForTopic(*request.topic);
        if (anchorPosition(m_browser->document(), anchor) >= 0) m_browser->scrollToAnchor(anchor);
    }
    return true;
}

void HelpWindow::onSourceChanged(const QUrl& url) {
    if (m_showingError) return;
    const QString title = m_browser->documentTitle().simplified();
    setWindowTitle(title.isEmpty() ? QFileInfo(url.path()).fileName() : title);
    // Following a link to the other language's page switches the labels with it.
    if (url.isLocalFile()) {
        const QString declared = loadHelpFile(url.toLocalFile()).language;
        applyLanguage(declared == u"fr"_s ? Language::F : declared == u"en"_s ? Language::E : m_given);
    }
}

void HelpWindow::goHome() {
    if (m_showingError || m_homeUrl.isEmpty()) return;
    m_browser->setSource(m_homeUrl);
}

void HelpWindow::printDocument() {
    if (m_showingError) return;
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(windowTitle());
    QPrintDialog dialog(&printer, this);
    dialog.setWindowTitle(strings::text("helpviewer.printTitle", m_language));
    if (m_browser->textCursor().hasSelection()) dialog.setOption(QAbstractPrintDialog::PrintSelection);
    if (dialog.exec() != QDialog::Accepted) return;
    m_browser->print(&printer);
}

void HelpWindow::findNext() {
    find(false);
}
void HelpWindow::findPrevious() {
    find(true);
}

void HelpWindow::find(bool backward) {
    const QString text = m_findField->text();
    if (text.isEmpty()) {
        m_findField->setFocus(Qt::ShortcutFocusReason);
        return;
    }
    const QTextDocument::FindFlags flags =
        backward ? QTextDocument::FindBackward : QTextDocument::FindFlags();
    bool found = m_browser->find(text, flags);
    if (!found) {
        // Past the last match, start over from the other end of the page.
        QTextCursor cursor = m_browser->textCursor();
        cursor.movePosition(backward ? QTextCursor::End : QTextCursor::Start);
        m_browser->setTextCursor(cursor);
        found = m_browser->find(text, flags);
    }
    QPalette palette;
    if (found) {
        statusBar()->clearMessage();
    } else {
        palette.setColor(QPalette::Base, QColor(0xf8, 0xd7, 0xd7));
        statusBar()->showMessage(strings::text("helpviewer.notFound", m_language).arg(text), 5000);
    }
    m_findField->setPalette(palette);
}

int HelpWindow::anchorPosition(const QTextDocument* document, const QString& name) {
    if (!document || name.isEmpty()) return -1;
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        if (block.charFormat().anchorNames().contains(name)) return block.position();
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (fragment.isValid() && fragment.charFormat().anchorNames().contains(name))
                return fragment.position();
        }
    }
    return -1;
}

} // namespace help
