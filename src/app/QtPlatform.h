#pragma once
// The real platform of the desktop program: Qt message boxes (with French buttons
// while the language is French), detached processes and an immediate end.

#include "platform/Platform.h"

class QTranslator;

class QtPlatform final : public Platform {
public:
    QtPlatform();
    ~QtPlatform() override;
    MsgResult msgBox(const QString& text, MsgButtons buttons, MsgIcon icon, const QString& title) override;
    [[noreturn]] void endProgram(int exitCode) override;
    bool startDetached(const QString& program, const QStringList& arguments) override;

private:
    void followLanguage();
    QTranslator* french_ = nullptr;
    bool frenchInstalled_ = false;
};
