#include "app/signals.h"

#include "data/state.h"

#include <csignal>
#include <cstddef>

namespace {

constexpr int endSignals[] = {SIGTERM, SIGHUP, SIGINT};
constexpr int signalledStatusBase = 128; // the shell's status for a process a signal ended

struct sigaction previousActions[std::size(endSignals)]; // what each did before the run

} // namespace

// Only the flag: whatever the loop is doing when the signal comes, it goes
// on to the end of its pass. The first signal counts; the other two are held
// back while it is noted.
extern "C" {
static void noteEndSignal(int signal) {
    if (endSignal == 0) {
        endSignal = signal;
    }
}
}

void catchEndSignals() {
    endSignal = 0;
    struct sigaction catching {};
    catching.sa_handler = noteEndSignal;
    catching.sa_flags = SA_RESTART; // the library's threads read and write on, undisturbed
    sigemptyset(&catching.sa_mask);
    for (const int signal : endSignals) {
        sigaddset(&catching.sa_mask, signal);
    }
    for (std::size_t i = 0; i < std::size(endSignals); ++i) {
        sigaction(endSignals[i], nullptr, &previousActions[i]);
        if (previousActions[i].sa_handler != SIG_IGN) {
            sigaction(endSignals[i], &catching, nullptr);
        }
    }
}

// The actions go back first, so that a signal during what is left of the
// exit ends it as the sender asked, and is not merely noted.
int endAsSignalled(int status) {
    for (std::size_t i = 0; i < std::size(endSignals); ++i) {
        sigaction(endSignals[i], &previousActions[i], nullptr);
    }
    const int signal = endSignal;
    if (signal == 0) {
        return status;
    }
    (void)std::signal(signal, SIG_DFL);
    (void)std::raise(signal);
    return signalledStatusBase + signal;
}
