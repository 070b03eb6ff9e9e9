#pragma once
// The real platform of the desktop program: Qt message boxes (with French buttons
// while the language is French), detached processes, the default printer, file
// dialogs and an immediate end.

#include "platform/Platform.h"

class QTranslator;

class QtPlatform final : public Platform {
public:
    QtPlatform();
    ~QtPlatform() override;
    MsgResult msgBox(const QString& text, MsgButtons buttons, MsgIcon icon, const QString& title) override;
    [[noreturn]] void endProgram(int exitCode) override;
    bool startDetached(const QString& program, const QStringList& arguments) override;
    // The system's default printer; none when the system has no printer.
    std::optional<QString> printerTarget() override;
    bool printDocument(const QString& documentName,
                       const std::function<void(QPagedPaintDevice&)>& paint) override;
    // The desktop's file dialog, over the active window.
    std::optional<QString> chooseFile(FileChoice kind, const QString& caption, const QString& startPath,
                                      const QString& filter) override;
    // The wait cursor over every window of the program.
    void showBusy(bool busy) override;

private:
    void followLanguage();
    QTranslator* french_ = nullptr;
    bool frenchInstalled_ = false;
};
