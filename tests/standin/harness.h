// What every test of the program through the stand-in starts from: a fresh
// script, the program's records zero-filled as in a new process but for
// those its set-up resets, which hold what an earlier run left, and the
// shorthands the tests share for scripting passes and reading drawing back.
#pragma once

#include "geometry.h"
#include "standin.h"

#include <gtest/gtest.h>

#include <csignal>
#include <map>
#include <string>
#include <vector>

// Runs the real main procedure over a script of `passes` passes and returns
// its exit status.
int runPasses(int passes);

// ---- Colours (geometry::palette) ----

// The colour a palette entry maps to, for comparing recorded calls.
ALLEGRO_COLOR paletteColor(const geometry::Colour &colour);
bool sameColor(const ALLEGRO_COLOR &a, const ALLEGRO_COLOR &b);
std::string colorName(const ALLEGRO_COLOR &color); // "unlisted" when not in the palette

// ---- Drawing calls as rows ----
//
// One drawing call as a line, so that drawing compares as a list of lines and
// a mismatch names the row. A coordinate off the integer grid shows its
// fraction and so fails the row.

std::string describe(const standin::Call &call);
std::vector<std::string> rowsOf(int pass); // every drawing call of the pass
std::string fillRow(int x1, int y1, int x2, int y2, const std::string &color);
std::string fillRow(const geometry::Rect &rect, const std::string &color);
std::string outlineRow(int x1, int y1, int x2, int y2, const std::string &color, int thickness = 1);
std::string outlineRow(const geometry::Rect &rect, const std::string &color, int thickness = 1);
// `font` is "small", "medium" or "large"; `align` "left", "centre" or "right".
std::string textRow(const std::string &font, const std::string &color, int x, int y,
                    const std::string &align, const std::string &text,
                    const std::string &format = "%s");
std::string textRow(const std::string &font, const std::string &color, geometry::Spot spot,
                    const std::string &align, const std::string &text,
                    const std::string &format = "%s");
std::string cursorRow(const std::string &font, int x, int y);
std::vector<std::string> cursorRows(int pass); // the text cursors drawn in the pass

// The value text drawn for field row `row` (1 decimal, 2 hexadecimal,
// 3 binary) in pass `pass`, at the scale of the run; "<none>" when the pass
// drew none there.
std::string shownText(int pass, int row);

// ---- Scripting ----

// The largest value in binary, as typed or as shown.
inline constexpr char ones32[] = "11111111111111111111111111111111";
static_assert(sizeof(ones32) == 32 + 1);

// What a press is over, numbered as the hover codes are: rows 1 to 3, the
// back button 5, keypad key k as key(k); 0 is nothing.
inline constexpr int back = 5;
constexpr int key(int k) {
    return 10 + k;
}
// A press seen in `pass` over `target`, at its middle; it acts in the pass after.
void pressAt(int pass, int target, int buttons = 1);

// Hexadecimal by Down, binary by Up, held in pass 1; decimal needs nothing.
void chooseMode(int mode);
// A lone character event queued for `pass`: applied in that pass.
void typeAt(int pass, int character);
void typeText(int firstPass, const std::string &text); // one character a pass
// A press first sampled in `pass` and still down in `held` samples of the
// next pass: its first sample there, then the polls of the wait for release.
void press(int pass, int x, int y, int buttons, int held);

// ---- The signals that end a run ----

// SIGTERM, SIGHUP and SIGINT, as the program catches them.
inline constexpr int endSignals[] = {SIGTERM, SIGHUP, SIGINT};

// ---- The desktop's scale ----

struct DesktopScale {
    const char *dpi; // the Xft.dpi setting; nullptr for none
    double scale;
};
// No setting, then 120, 144, 192 and 288 dpi: 1, 1.25, 1.5, 2 and 3.
extern const DesktopScale desktopScales[5];
void setDesktopScale(const DesktopScale &desktop);
// The first (or last) window pixel of layout pixel `coordinate` at `scale`,
// worked out here rather than taken from the program.
int windowPixel(int coordinate, double scale, bool last = false);

// Program-wide variables as each frame is shown.
struct Shown {
    int mode = 0;  // InputMode
    int hover = 0; // hoverTarget
    int typed = 0; // typedChar
    int rowY = 0;  // fieldRowY
    int keys = 0;  // keypadKeyCount
    std::string edit;
};

class ProgramTest : public ::testing::Test {
  protected:
    void SetUp() override;
    std::map<int, Shown> shown; // by pass; filled unless a test takes onFlip over
};
