#pragma once
// How a command of ventrolux-cli says no: thrown from the command's body and turned into
// its message and exit status where the command line is run.

#include <QString>

namespace cli {

// A usage error found after parsing (exit 2): the message, then the synopsis.
struct UsageError {
    QString message;
};

// The program's checks refuse the request (exit 1): the message alone.
struct Refused {
    QString message;
};

} // namespace cli
