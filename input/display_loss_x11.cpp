// Xlib tells of a broken connection through one handler for the whole
// process, called from whichever thread read the connection first: the
// library's event thread, the drawing of the main thread, or the clipboard.
// Its default prints a line of its own and calls exit(), whose clean-up then
// talks to the dead server while the library's threads go on: the process
// crashed, aborted or hung, and the clean-up's own failed requests dumped
// protocol errors. Here the first thread to see the loss writes the one line
// and ends the process with _exit(), which runs no clean-up and takes every
// thread with it.
#include "input/display_loss.h"

#include "data/tables.h"

#include <X11/Xlib.h>
#include <unistd.h>

#include <atomic>
#include <csignal>
#include <cstring>
#include <string_view>

namespace {

constexpr std::string_view lostDisplayText = "utracono połączenie z ekranem graficznym ";
constexpr std::string_view lostDisplayReason =
    " (serwer X zakończył pracę lub połączenie zostało zerwane)\n";
constexpr std::size_t displayNameLimit = 200; // longer names are cut; no DISPLAY is that long

std::atomic_flag lossReported = ATOMIC_FLAG_INIT;

void append(char *line, std::size_t &length, std::string_view text) {
    std::memcpy(line + length, text.data(), text.size());
    length += text.size();
}

// Nothing here takes a lock or allocates, since another thread may hold
// Xlib's or the heap's; one write, so that the line arrives whole.
[[noreturn]] void reportLoss(Display *display) {
    if (lossReported.test_and_set()) {
        for (;;) {
            pause(); // the thread that came first writes the line; its _exit ends this one
        }
    }
    const char *name = DisplayString(display);
    char line[sizeof programName + 2 + lostDisplayText.size() + displayNameLimit +
              lostDisplayReason.size()];
    std::size_t length = 0;
    append(line, length, programName);
    append(line, length, ": ");
    append(line, length, lostDisplayText);
    append(line, length, std::string_view(name, strnlen(name, displayNameLimit)));
    append(line, length, lostDisplayReason);
    // Should even this fail, nothing is left to try.
    [[maybe_unused]] const ssize_t written = write(STDERR_FILENO, line, length);
    _exit(lostDisplayStatus);
}

int endOnBrokenConnection(Display *display) {
    reportLoss(display);
}

} // namespace

// A write to a link that no longer takes it raises SIGPIPE, which would end
// the process silently; ignored, the write fails and Xlib reports the loss.
// The renderer's on-disk shader cache keeps a thread at the lowest priority,
// and the process ends only when that thread has run once more: on a
// machine whose cores are busy the end comes some hundreds of milliseconds
// after _exit(). The cache stays all the same, since without it every start
// compiles the shaders anew (under software GL the first frame came after
// 350 ms instead of 150 ms).
void endOnDisplayLoss() {
    (void)std::signal(SIGPIPE, SIG_IGN);
    XSetIOErrorHandler(endOnBrokenConnection);
}
