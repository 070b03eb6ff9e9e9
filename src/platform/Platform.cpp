#include "platform/Platform.h"

#include <QTextStream>
#include <atomic>
#include <cstdio>
#include <cstdlib>

namespace {

class ConsolePlatform final : public Platform {
public:
    MsgResult msgBox(const QString& text, MsgButtons buttons, MsgIcon, const QString&) override {
        QTextStream(stderr) << text << Qt::endl;
        switch (buttons) {
        case MsgButtons::OK:
        case MsgButtons::OKCancel:
            return MsgResult::OK;
        case MsgButtons::YesNo:
        case MsgButtons::YesNoCancel:
            return MsgResult::No;
        }
        return MsgResult::OK;
    }
    [[noreturn]] void endProgram(int exitCode) override {
        std::fflush(nullptr);
        std::_Exit(exitCode);
    }
    bool startDetached(const QString&, const QStringList&) override { return false; }
    bool isCommandLine() const override { return true; }
};

ConsolePlatform gConsole;
Platform* gPlatform = nullptr;

} // namespace

Platform& platform() {
    return gPlatform ? *gPlatform : gConsole;
}

Platform* setPlatform(Platform* p) {
    Platform* previous = gPlatform;
    gPlatform = p;
    return previous;
}

QString applicationTitle() {
    return QStringLiteral("Ventrolux");
}

MsgResult MsgBox(const QString& text, MsgButtons buttons, MsgIcon icon, const QString& title) {
    return platform().msgBox(text, buttons, icon, title.isEmpty() ? applicationTitle() : title);
}

std::optional<QString> ChooseFile(FileChoice kind, const QString& caption, const QString& startPath,
                                  const QString& filter) {
    return platform().chooseFile(kind, caption, startPath, filter);
}

void EndProgram(int exitCode) {
    platform().endProgram(exitCode);
    std::abort(); // an endProgram that returned would break the promise that nothing runs after the end
}

namespace {
std::atomic<int> gBusyDepth{0};
}

BusyPointer::BusyPointer() {
    if (gBusyDepth++ == 0) platform().showBusy(true);
}

BusyPointer::~BusyPointer() {
    if (--gBusyDepth == 0) platform().showBusy(false);
}

FatalError::FatalError(int number, const QString& description)
    : std::runtime_error(description.toStdString()), number_(number), description_(description) {}

QString FatalError::report() const {
    return QStringLiteral("Run-time error %1: %2").arg(number_).arg(description_);
}

void ReportFatalError(const FatalError& e) {
    MsgBox(e.report(), MsgButtons::OK, MsgIcon::Critical);
    EndProgram(1);
}

void ShowRecoverableFailure(const RecoverableFailure& failure) {
    MsgBox(failure.description(), MsgButtons::OK, MsgIcon::Exclamation);
}

void runHandler(const std::function<void()>& handler) noexcept {
    try {
        try {
            handler();
        } catch (const RecoverableFailure& e) {
            ShowRecoverableFailure(e);
        } catch (const FatalError& e) {
            ReportFatalError(e);
        } catch (const std::exception& e) {
            ReportFatalError(FatalError(errnum::InternalError, QString::fromLocal8Bit(e.what())));
        }
    } catch (const ProgramEndRequest&) {
        // The platform has noted the end; nothing more of this handler may run.
    }
}
