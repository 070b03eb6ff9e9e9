#include "cli/ConsolePlatform.h"

namespace cli {

ConsolePlatform::ConsolePlatform(QTextStream& err) : err_(err) {
    previous_ = setPlatform(this);
}

ConsolePlatform::~ConsolePlatform() {
    setPlatform(previous_);
}

MsgResult ConsolePlatform::msgBox(const QString& text, MsgButtons buttons, MsgIcon, const QString&) {
    err_ << text << Qt::endl;
    return buttons == MsgButtons::YesNo || buttons == MsgButtons::YesNoCancel ? MsgResult::No : MsgResult::OK;
}

void ConsolePlatform::endProgram(int exitCode) {
    throw Ended{exitCode};
}

// No help viewer is started from a console.
bool ConsolePlatform::startDetached(const QString&, const QStringList&) {
    return false;
}

} // namespace cli
