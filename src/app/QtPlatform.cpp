#include "app/QtPlatform.h"

#include "state/modMain.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QPointer>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QScopeGuard>
#include <QTranslator>
#include <cstdio>
#include <cstdlib>

QtPlatform::QtPlatform() : french_(new QTranslator) {
    if (!french_->load(QStringLiteral("qtbase_fr"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete french_;
        french_ = nullptr;
    }
}

QtPlatform::~QtPlatform() {
    if (french_ && frenchInstalled_) QCoreApplication::removeTranslator(french_);
    delete french_;
}

void QtPlatform::followLanguage() {
    if (!french_) return;
    const bool wantFrench = modMain::IsFrench();
    if (wantFrench == frenchInstalled_) return;
    if (wantFrench)
        QCoreApplication::installTranslator(french_);
    else
        QCoreApplication::removeTranslator(french_);
    frenchInstalled_ = wantFrench;
}

MsgResult QtPlatform::msgBox(const QString& text, MsgButtons buttons, MsgIcon icon, const QString& title) {
    followLanguage();
    // The window the box covers gets the focus back when it closes: without a window
    // manager to do it, its menu shortcuts would stop until the user clicked it.
    QPointer<QWidget> covered = QApplication::activeWindow();
    const auto giveBackFocus = qScopeGuard([&covered] {
        if (covered && covered->isVisible()) covered->activateWindow();
    });
    QMessageBox box(covered);
    box.setWindowTitle(title);
    box.setText(text);
    switch (icon) {
    case MsgIcon::None:
        box.setIcon(QMessageBox::NoIcon);
        break;
    case MsgIcon::Information:
        box.setIcon(QMessageBox::Information);
        break;
    case MsgIcon::Question:
        box.setIcon(QMessageBox::Question);
        break;
    case MsgIcon::Exclamation:
        box.setIcon(QMessageBox::Warning);
        break;
    case MsgIcon::Critical:
        box.setIcon(QMessageBox::Critical);
        break;
    }
    switch (buttons) {
    case MsgButtons::OK:
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case MsgButtons::OKCancel:
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        break;
    case MsgButtons::YesNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        // A Yes/No question ends, deletes or clears: Enter pressed by habit must not do it.
        box.setDefaultButton(QMessageBox::No);
        break;
    case MsgButtons::YesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        break;
    }
    switch (box.exec()) {
    case QMessageBox::Ok:
        return MsgResult::OK;
    case QMessageBox::Yes:
        return MsgResult::Yes;
    case QMessageBox::No:
        return MsgResult::No;
    default:
        // Escape or the window's close box: OK for a box with only OK, otherwise Cancel or No.
        if (buttons == MsgButtons::OK) return MsgResult::OK;
        if (buttons == MsgButtons::YesNo) return MsgResult::No;
        return MsgResult::Cancel;
    }
}

void QtPlatform::endProgram(int exitCode) {
    // Every write that belongs together is committed or rolled back by its own
    // transaction, so ending here never leaves half-written data behind. An end the user
    // asked for is a clean end: the next start need not read the user database whole.
    if (exitCode == 0) modMain::subCloseDatabases();
    std::fflush(nullptr);
    std::_Exit(exitCode);
}

bool QtPlatform::startDetached(const QString& program, const QStringList& arguments) {
    if (!QFileInfo(program).isExecutable()) return false;
    return QProcess::startDetached(program, arguments);
}

std::optional<QString> QtPlatform::printerTarget() {
    const QPrinterInfo printer = QPrinterInfo::defaultPrinter();
    if (printer.isNull()) return std::nullopt;
    return printer.printerName();
}

bool QtPlatform::printDocument(const QString& documentName,
                               const std::function<void(QPagedPaintDevice&)>& paint) {
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull()) return false;
    QPrinter printer(info, QPrinter::HighResolution);
    printer.setDocName(documentName);
    paint(printer);
    return printer.printerState() != QPrinter::Error;
}

std::optional<QString> QtPlatform::chooseFile(FileChoice kind, const QString& caption,
                                              const QString& startPath, const QString& filter) {
    followLanguage();
    QPointer<QWidget> covered = QApplication::activeWindow();
    const auto giveBackFocus = qScopeGuard([&covered] {
        if (covered && covered->isVisible()) covered->activateWindow();
    });
    const QString path = kind == FileChoice::Open
                             ? QFileDialog::getOpenFileName(covered, caption, startPath, filter)
                             : QFileDialog::getSaveFileName(covered, caption, startPath, filter);
    if (path.isEmpty()) return std::nullopt;
    return path;
}

void QtPlatform::showBusy(bool busy) {
    // The window system gets the new cursor at once, even while the program waits
    // without returning to its event loop.
    if (busy)
        QApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    else
        QApplication::restoreOverrideCursor();
}
