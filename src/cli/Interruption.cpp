#include "cli/Interruption.h"

#include <atomic>
#include <csignal>

namespace cli {

namespace {

// Lock-free, so that the handler may set it.
std::atomic<int> gSignal{0};
static_assert(std::atomic<int>::is_always_lock_free);

struct sigaction gPreviousInt {};
struct sigaction gPreviousTerm {};

void note(int signal) {
    gSignal.store(signal);
}

} // namespace

InterruptWatch::InterruptWatch() {
    gSignal.store(0);
    struct sigaction action {};
    action.sa_handler = note;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART; // reads and writes under way go on; the command stops after them
    sigaction(SIGINT, &action, &gPreviousInt);
    sigaction(SIGTERM, &action, &gPreviousTerm);
}

InterruptWatch::~InterruptWatch() {
    sigaction(SIGINT, &gPreviousInt, nullptr);
    sigaction(SIGTERM, &gPreviousTerm, nullptr);
}

int InterruptWatch::signal() {
    return gSignal.load();
}

void InterruptWatch::stopIfInterrupted() {
    if (const int s = gSignal.load()) throw Interrupted{s};
}

} // namespace cli
