#pragma once
// The command-line tool: the same core as the desktop program, no windows. Messages
// go to standard error; results to standard output.

#include <QStringList>
#include <QTextStream>

namespace cli {

inline constexpr int ExitOk = 0;
inline constexpr int ExitRefused = 1; // the program's own checks said no, or a failure
inline constexpr int ExitUsage = 2;

// Runs one command line (without the program name); returns the exit status.
int run(const QStringList& arguments, QTextStream& out, QTextStream& err);

} // namespace cli
