#pragma once
// Ctrl+C (SIGINT) or a stop request (SIGTERM) during a long command: noted by the signal
// handler and acted on by the command at its next safe point, so that it removes what it
// had begun (temporary files, its scratch folder) instead of being cut off mid-file.

namespace cli {

// Thrown at a safe point after a signal was noted; the command line ends with 128 + signal,
// as a shell reports a program the signal ended.
struct Interrupted {
    int signal;
};

// Catches SIGINT and SIGTERM while it lives; the handlers that were there come back after.
class InterruptWatch {
public:
    InterruptWatch();
    ~InterruptWatch();
    InterruptWatch(const InterruptWatch&) = delete;
    InterruptWatch& operator=(const InterruptWatch&) = delete;

    // The signal noted, 0 when none; safe to ask from any thread.
    static int signal();
    // Throws Interrupted when a signal was noted.
    static void stopIfInterrupted();
};

} // namespace cli
