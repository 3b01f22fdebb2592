// A scripted stand-in for the desktop clipboard of input/clipboard.h, and
// for the other X11 code the binary links (input/desktop.h,
// input/display_loss.h).
//
// A test says what each paste gets; copies, pastes, bells, serves,
// hand-overs and the watch for a lost display are logged apart from
// standin::calls(), so the tests that compare every library call of a pass
// see none of them. A copy does not reach later pastes: what a paste gets is
// only what the test scripted, so that a run without a script pastes
// nothing, as the fuzzer's model expects.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace standin {

struct ClipboardCall {
    int pass = 0;                // standin::passesBegun() when it was made
    std::string name;            // "copy", "paste", "bell", "serve", "handOver", "displayWatch"
    std::string text;            // copied text, or the text a paste got
    bool pasted = false;         // a paste that got a text
    std::size_t callsBefore = 0; // library calls recorded before it: its place among them
};

// Forgets the script and the log: nothing to paste.
void resetClipboard();
// What every paste gets from now on, std::nullopt for nothing to paste.
void setClipboardText(std::optional<std::string> text);
// What a paste made in `pass` gets, whatever the line above says.
void setClipboardText(int pass, std::optional<std::string> text);

// What the desktop's Xft.dpi resource reads, std::nullopt for no setting
// (the default).
void setDpiSetting(std::optional<std::string> setting);

const std::vector<ClipboardCall> &clipboardCalls();
std::vector<ClipboardCall> clipboardCallsNamed(const std::string &name, int pass = -1);

} // namespace standin
