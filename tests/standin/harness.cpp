#include "harness.h"

#include "app/loop.h"
#include "clipboard_standin.h"
#include "convert/convert.h"
#include "data/scale.h"
#include "draw/value_lines.h"
#include "input/edit.h"
#include "input/pointer.h"

#include <cmath>
#include <csignal>
#include <optional>
#include <sstream>

namespace {

// What a run that ended on the binary row at the largest value, its cursor
// hidden, leaves in the records the program's own set-up puts back. Every
// test starts from this rather than from whatever the test before it left,
// so a reset missing from that set-up fails in any order of the tests.
void leaveAnEarlierRunBehind() {
    decimalText = "4294967295";
    hexText = "FFFFFFFF";
    binaryText = std::string(32, '1');
    editText = binaryText;
    cursorOffset = 320;
    blinkCounter = 75;
    InputMode = 3;
    fieldRowY = geometry::rowYOf[3];
    keypadKeyCount = 2;
    windowScale = 3;
    // Escape held and the exit button pressed in the last samples, and an
    // Escape fetched: a run that began from these would end in its first pass.
    keyboardState = {};
    keyboardState.__key_down__internal__[ALLEGRO_KEY_ESCAPE / 32] |= 1U
                                                                     << (ALLEGRO_KEY_ESCAPE % 32);
    mouseState = {};
    mouseState.x = 420;
    mouseState.y = 45;
    mouseState.buttons = 1;
    mousePrevX = 420;
    mousePrevY = 45;
    mousePrevButtons = 1;
    hoverTarget = 4;
    eventRecord = {};
    eventRecord.type = ALLEGRO_EVENT_KEY_CHAR;
    eventRecord.keyboard.unichar = 27;
    typedChar = 27;
    endSignal = SIGHUP; // noted as the run ended
}

// Whatever the test process was started with (a background job ignores
// SIGINT), every run starts with the signals that end it at their defaults.
void defaultEndSignals() {
    for (const int signal : endSignals) {
        (void)std::signal(signal, SIG_DFL);
    }
}

} // namespace

void ProgramTest::SetUp() {
    defaultEndSignals();
    standin::reset();
    standin::resetClipboard();
    standin::resetProgramRecords();
    leaveAnEarlierRunBehind();
    shown.clear();
    standin::options().onFlip = [this](int pass) {
        shown[pass] = {InputMode, hoverTarget, typedChar, fieldRowY, keypadKeyCount, editText};
    };
}

int runPasses(int passes) {
    standin::setLength(passes);
    return runProgram();
}

ALLEGRO_COLOR paletteColor(const geometry::Colour &colour) {
    return {colour.red / 255.0F, colour.green / 255.0F, colour.blue / 255.0F, 1.0F};
}

bool sameColor(const ALLEGRO_COLOR &a, const ALLEGRO_COLOR &b) {
    return a.r == b.r && a.g == b.g && a.b == b.b && a.a == b.a;
}

std::string colorName(const ALLEGRO_COLOR &color) {
    for (const geometry::Colour &entry : geometry::palette) {
        if (sameColor(color, paletteColor(entry))) {
            return entry.name;
        }
    }
    return "unlisted";
}

namespace {

std::string number(float value) {
    std::ostringstream out;
    out.precision(9);
    out << value;
    return out.str();
}

// Built by appending: g++ 12 at -O2 takes `"(" + std::string` for an
// overlapping copy and warns (-Wrestrict) where there is none.
std::string box(float x1, float y1, float x2, float y2) {
    std::string out = "(";
    out += number(x1) + "," + number(y1) + ")-(" + number(x2) + "," + number(y2) + ")";
    return out;
}

std::string alignName(int flags) {
    const char *const names[] = {"left", "centre", "right"};
    return flags >= 0 && flags <= 2 ? names[flags] : "align" + std::to_string(flags);
}

std::string text(const std::string &font, const std::string &color, float x, float y,
                 const std::string &align, const std::string &format, const std::string &caption) {
    return "text " + font + " " + color + " (" + number(x) + "," + number(y) + ") " + align + " " +
           format + " '" + caption + "'";
}

} // namespace

std::string describe(const standin::Call &call) {
    const std::vector<float> &a = call.args;
    const std::string color = colorName(call.color);
    if (call.name == "al_draw_filled_rectangle") {
        return "fill " + box(a.at(0), a.at(1), a.at(2), a.at(3)) + " " + color;
    }
    if (call.name == "al_draw_rectangle") {
        return "outline " + box(a.at(0), a.at(1), a.at(2), a.at(3)) + " " + color + " " +
               number(a.at(4));
    }
    if (call.name == "al_draw_textf") {
        return text(standin::fontName(call.font), color, a.at(0), a.at(1), alignName(call.flags),
                    call.format, call.text);
    }
    return call.name == "al_clear_to_color" ? "clear " + color : call.name;
}

std::vector<std::string> rowsOf(int pass) {
    std::vector<std::string> rows;
    for (const standin::Call &call : standin::drawCalls(pass)) {
        rows.push_back(describe(call));
    }
    return rows;
}

std::string fillRow(int x1, int y1, int x2, int y2, const std::string &color) {
    return "fill " + box(x1, y1, x2, y2) + " " + color;
}

std::string fillRow(const geometry::Rect &rect, const std::string &color) {
    return fillRow(rect.x1, rect.y1, rect.x2, rect.y2, color);
}

std::string outlineRow(int x1, int y1, int x2, int y2, const std::string &color, int thickness) {
    return "outline " + box(x1, y1, x2, y2) + " " + color + " " + std::to_string(thickness);
}

std::string outlineRow(const geometry::Rect &rect, const std::string &color, int thickness) {
    return outlineRow(rect.x1, rect.y1, rect.x2, rect.y2, color, thickness);
}

std::string textRow(const std::string &font, const std::string &color, int x, int y,
                    const std::string &align, const std::string &caption,
                    const std::string &format) {
    return text(font, color, x, y, align, format, caption);
}

std::string textRow(const std::string &font, const std::string &color, geometry::Spot spot,
                    const std::string &align, const std::string &caption,
                    const std::string &format) {
    return text(font, color, spot.x, spot.y, align, format, caption);
}

std::string cursorRow(const std::string &font, int x, int y) {
    return textRow(font, "teal", x, y, "left", "_", "_");
}

std::vector<std::string> cursorRows(int pass) {
    std::vector<std::string> rows;
    for (const standin::Call &call : standin::callsNamed("al_draw_textf", pass)) {
        if (call.format != "%s") {
            rows.push_back(describe(call));
        }
    }
    return rows;
}

std::string shownText(int pass, int row) {
    const auto x = static_cast<float>(windowPixel(geometry::textX, windowScale));
    const auto y = static_cast<float>(windowPixel(geometry::textY(row), windowScale));
    for (const standin::Call &call : standin::callsNamed("al_draw_textf", pass)) {
        if (call.args.at(0) == x && call.args.at(1) == y && call.format == "%s") {
            return call.text;
        }
    }
    return "<none>";
}

const DesktopScale desktopScales[5] = {
    {nullptr, 1}, {"120", 1.25}, {"144", 1.5}, {"192", 2}, {"288", 3}};

void setDesktopScale(const DesktopScale &desktop) {
    standin::setDpiSetting(desktop.dpi == nullptr ? std::nullopt
                                                  : std::optional<std::string>(desktop.dpi));
}

// Layout pixel u covers window pixels round(u * scale) up to, not
// including, round((u + 1) * scale).
int windowPixel(int coordinate, double scale, bool last) {
    if (last) {
        return static_cast<int>(std::lround((coordinate + 1) * scale)) - 1;
    }
    return static_cast<int>(std::lround(coordinate * scale));
}

void chooseMode(int mode) {
    if (mode != 1) {
        standin::holdKey(1, mode == 2 ? ALLEGRO_KEY_DOWN : ALLEGRO_KEY_UP);
    }
}

void typeAt(int pass, int character) {
    standin::pass(pass).events.push_back(standin::keyCharEvent(character));
}

void typeText(int firstPass, const std::string &text) {
    for (const char character : text) {
        typeAt(firstPass++, static_cast<unsigned char>(character));
    }
}

void pressAt(int pass, int target, int buttons) {
    const geometry::Spot spot =
        target >= key(0) ? geometry::Spot{geometry::keyX(target - key(0)), geometry::keyY}
        : target == back ? geometry::buttonSpot(geometry::backButton)
                         : geometry::rowSpot(target);
    standin::pointer(pass, spot.x, spot.y, buttons);
}

void press(int pass, int x, int y, int buttons, int held) {
    standin::pointer(pass, x, y, buttons);
    for (int sample = 0; sample < held; ++sample) {
        standin::pointer(pass + 1, x, y, buttons);
    }
}
