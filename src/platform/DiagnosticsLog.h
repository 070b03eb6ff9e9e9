#pragma once
// Qt's own diagnostics (and the records server's notices, passed on through Qt's log) are
// not messages of the program: they never reach standard error, where the command-line
// tool's user reads the program's messages. They go to the file that the environment
// variable VENTROLUX_DEBUG_LOG names, when it names one, and nowhere otherwise. A fatal
// one, which ends the program, is written to standard error as well.

inline constexpr char kDebugLogVariable[] = "VENTROLUX_DEBUG_LOG";

// Installs the handler of Qt's log for the whole process.
void installDiagnosticsLog();
