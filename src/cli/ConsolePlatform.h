#pragma once
// The platform of the command-line tool: the core's message boxes are lines on standard
// error, a question is answered No, and the end of the program returns to the caller
// as an exception instead of ending the process.

#include "platform/Platform.h"

#include <QTextStream>

namespace cli {

class ConsolePlatform final : public Platform {
public:
    explicit ConsolePlatform(QTextStream& err);
    ~ConsolePlatform() override;
    ConsolePlatform(const ConsolePlatform&) = delete;
    ConsolePlatform& operator=(const ConsolePlatform&) = delete;

    MsgResult msgBox(const QString& text, MsgButtons buttons, MsgIcon icon, const QString& title) override;
    [[noreturn]] void endProgram(int exitCode) override;
    bool startDetached(const QString& program, const QStringList& arguments) override;
    bool isCommandLine() const override { return true; }

    // What endProgram throws.
    struct Ended {
        int exitCode;
    };

private:
    QTextStream& err_;
    Platform* previous_ = nullptr;
};

} // namespace cli
