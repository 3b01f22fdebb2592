#include "clipboard_standin.h"

#include "input/clipboard.h"
#include "input/desktop.h"
#include "input/display_loss.h"
#include "standin.h"

#include <map>

namespace standin {
namespace {

struct ClipboardState {
    std::optional<std::string> text;
    std::map<int, std::optional<std::string>> byPass;
    std::optional<std::string> dpiSetting;
    std::vector<ClipboardCall> calls;
};

ClipboardState clipboard;

ClipboardCall &logCall(const char *name) {
    ClipboardCall call;
    call.pass = passesBegun();
    call.name = name;
    call.callsBefore = calls().size();
    clipboard.calls.push_back(call);
    return clipboard.calls.back();
}

} // namespace

void resetClipboard() {
    clipboard = ClipboardState();
}

void setClipboardText(std::optional<std::string> text) {
    clipboard.text = std::move(text);
}

void setClipboardText(int pass, std::optional<std::string> text) {
    clipboard.byPass[pass] = std::move(text);
}

void setDpiSetting(std::optional<std::string> setting) {
    clipboard.dpiSetting = std::move(setting);
}

const std::vector<ClipboardCall> &clipboardCalls() {
    return clipboard.calls;
}

std::vector<ClipboardCall> clipboardCallsNamed(const std::string &name, int pass) {
    std::vector<ClipboardCall> found;
    for (const ClipboardCall &call : clipboard.calls) {
        if (call.name == name && (pass < 0 || call.pass == pass)) {
            found.push_back(call);
        }
    }
    return found;
}

} // namespace standin

void copyToClipboard(const std::string &text) {
    standin::logCall("copy").text = text;
}

bool pasteFromClipboard(std::string &text) {
    standin::ClipboardCall &call = standin::logCall("paste");
    const auto scripted = standin::clipboard.byPass.find(call.pass);
    const std::optional<std::string> &given =
        scripted != standin::clipboard.byPass.end() ? scripted->second : standin::clipboard.text;
    if (!given) {
        return false;
    }
    text = *given;
    call.text = *given;
    call.pasted = true;
    return true;
}

void ringBell() {
    standin::logCall("bell");
}

void serveClipboard() {
    standin::logCall("serve");
}

void handOverClipboard() {
    standin::logCall("handOver");
}

void endOnDisplayLoss() {
    standin::logCall("displayWatch");
}

bool readDpiSetting(std::string &setting) {
    if (!standin::clipboard.dpiSetting) {
        return false;
    }
    setting = *standin::clipboard.dpiSetting;
    return true;
}
