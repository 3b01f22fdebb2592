// The active value box, the three value texts and the blinking cursor, read
// back from the drawing calls of whole passes.
#include "harness.h"

#include <algorithm>
#include <cmath>
#include <set>
#include <string>
#include <vector>

namespace {

using namespace geometry;

constexpr int down = ALLEGRO_KEY_DOWN;
constexpr int up = ALLEGRO_KEY_UP;
const char *const fontOf[4] = {"", "large", "large", "medium"}; // by InputMode

std::vector<std::string> lastRows(int pass, std::size_t count) {
    const std::vector<std::string> rows = rowsOf(pass);
    return {rows.end() - static_cast<std::ptrdiff_t>(count), rows.end()};
}

std::string valueRow(int row, const std::string &text) {
    return textRow(fontOf[row], "ink", textX, textY(row), "left", text);
}

// The first cursor of each pass in first..last, "none" where none was drawn.
std::vector<std::string> cursorsFrom(int first, int last) {
    std::vector<std::string> seen;
    for (int pass = first; pass <= last; ++pass) {
        const std::vector<std::string> drawn = cursorRows(pass);
        seen.push_back(drawn.empty() ? "none" : drawn.front());
    }
    return seen;
}

using ValueLinesTest = ProgramTest;
using CursorTest = ProgramTest;

} // namespace

// Box of the active row only, then the three texts, then the cursor last of
// all. On a change of field the cursor comes to the new row and font at the
// offset of the old text, and a pass later to the end of the new one.
TEST_F(ValueLinesTest, ActiveBoxThenThreeTextsThenCursor) {
    const struct {
        int mode;
        int arrow;    // from hexadecimal
        int measured; // width of the field's text "10", "0A" or "1010" in its font
    } cases[] = {{1, up, 22}, {2, 0, 22}, {3, down, 40}};
    for (const auto &c : cases) {
        SCOPED_TRACE("mode " + std::to_string(c.mode));
        SetUp();
        chooseMode(2);
        typeText(1, "0A");
        if (c.arrow != 0) {
            standin::holdKey(3, c.arrow);
        }
        runPasses(4);
        for (int pass = 3; pass <= 4; ++pass) {
            const int offset = pass == 3 ? 22 : c.measured;
            const std::vector<std::string> want = {
                fillRow(activeFill(c.mode), "fieldFill"), valueRow(1, "10"), valueRow(2, "0A"),
                valueRow(3, "1010"), cursorRow(fontOf[c.mode], textX + offset, cursorY(c.mode))};
            EXPECT_EQ(lastRows(pass, 5), want) << "pass " << pass;
            const std::vector<std::string> all = rowsOf(pass);
            EXPECT_EQ(std::count_if(all.begin(), all.end(),
                                    [](const std::string &row) {
                                        return row.find("fieldFill") != std::string::npos;
                                    }),
                      1);
        }
    }
}

// Texts are never cut to their boxes, the box keeps its width, and without
// a cursor the texts close the pass's drawing.
TEST_F(ValueLinesTest, LongTextsDrawnInFull) {
    standin::options().charWidth = {{14, 8}, {18, 20}, {20, 40}};
    typeText(1, "4294967295");
    runPasses(11);
    EXPECT_EQ(lastRows(11, 4), (std::vector<std::string>{
                                   fillRow(activeFill(1), "fieldFill"), valueRow(1, "4294967295"),
                                   valueRow(2, "FFFFFFFF"), valueRow(3, ones32)}));
    EXPECT_TRUE(cursorRows(11).empty()); // 400 pixels of text leave no room for it
}

// The counter runs 0..100, one step a pass, and the cursor shows at 0..49;
// field changes and typing leave the phase alone.
TEST_F(CursorTest, BlinksOnCountedPasses) {
    std::set<int> want;
    for (const auto &[first, last] : {std::pair{1, 49}, {101, 150}, {202, 210}}) {
        for (int pass = first; pass <= last; ++pass) {
            want.insert(pass);
        }
    }
    for (bool busy : {false, true}) {
        SCOPED_TRACE(busy ? "with input" : "idle");
        SetUp();
        if (busy) {
            for (int pass : {30, 60, 120, 201}) {
                standin::holdKey(pass, down);
            }
            for (int pass : {10, 49, 70, 101, 150}) {
                typeAt(pass, '1');
            }
        }
        runPasses(210);
        std::set<int> seen;
        for (int pass = 1; pass <= 210; ++pass) {
            const std::vector<std::string> cursors = cursorRows(pass);
            ASSERT_LE(cursors.size(), 1U) << "pass " << pass;
            if (!cursors.empty()) {
                seen.insert(pass);
            }
        }
        EXPECT_EQ(seen, want);
    }
}

// The cursor stands where the text ended one pass earlier, in the row and
// font of the active field.
TEST_F(CursorTest, FollowsTypedTextOnePassLate) {
    const struct {
        int mode;
        const char *text;
        int width;
    } cases[] = {{1, "12", 11}, {2, "aF", 11}, {3, "101", 10}};
    for (const auto &c : cases) {
        SCOPED_TRACE("mode " + std::to_string(c.mode));
        SetUp();
        chooseMode(c.mode);
        typeText(1, c.text);
        const int n = static_cast<int>(std::string(c.text).size());
        typeAt(n + 2, 8);
        runPasses(n + 3);
        std::vector<std::string> want;
        for (int pass = 1; pass <= n + 3; ++pass) {
            const int characters = pass <= n + 2 ? std::min(pass - 1, n) : n - 1;
            want.push_back(
                cursorRow(fontOf[c.mode], textX + characters * c.width, cursorY(c.mode)));
        }
        EXPECT_EQ(cursorsFrom(1, n + 3), want);
    }
}

// The cursor hides while the measured width reaches the box width of the
// active field (150, or 333 in binary) and comes back once the text is
// narrower. Thirty-two binary digits (320 pixels) fit the binary box but not
// the decimal one, where the first pass after the change hides the cursor.
TEST_F(CursorTest, HiddenFromTheBoxWidth) {
    // On a scaled desktop the font measures the digit that many times wider
    // (rounded), and the box is that many times wider too.
    const struct {
        int mode, fontSize, width;
        bool shown;
        int desktop = 0; // index into desktopScales
    } cases[] = {
        // clang-format off
        {1, 20, rowWidthOf[1], false},    {1, 20, rowWidthOf[1] - 1, true},
        {2, 20, rowWidthOf[2], false},    {2, 20, rowWidthOf[2] - 1, true},
        {3, 18, rowWidthOf[3], false},    {3, 18, rowWidthOf[3] - 1, true},
        {3, 18, 200, true},
        {1, 20, rowWidthOf[1], false, 3}, {1, 20, rowWidthOf[1] - 1, true, 3},
        {3, 18, rowWidthOf[3], false, 3}, {3, 18, rowWidthOf[3] - 1, true, 3},
        {1, 20, rowWidthOf[1], false, 2}, {1, 20, rowWidthOf[1] - 1, true, 2},
        {2, 20, rowWidthOf[2], false, 1}, {2, 20, rowWidthOf[2] - 1, true, 1},
        {3, 18, rowWidthOf[3], false, 4}, {3, 18, rowWidthOf[3] - 1, true, 4},
        // clang-format on
    };
    for (const auto &c : cases) {
        const DesktopScale &desktop = desktopScales[c.desktop];
        SCOPED_TRACE("mode " + std::to_string(c.mode) + ", width " + std::to_string(c.width) +
                     ", scale " + std::to_string(desktop.scale));
        SetUp();
        setDesktopScale(desktop);
        standin::options().charWidth[c.fontSize] = c.width;
        chooseMode(c.mode);
        typeAt(1, '1');
        typeAt(3, 8);
        runPasses(4);
        const int left = windowPixel(textX, desktop.scale);
        const int top = windowPixel(cursorY(c.mode), desktop.scale);
        const int width = static_cast<int>(std::lround(c.width * desktop.scale));
        const std::string wide = cursorRow(fontOf[c.mode], left + width, top);
        const std::string none = "none";
        EXPECT_EQ(cursorsFrom(2, 4),
                  (std::vector<std::string>{c.shown ? wide : none, c.shown ? wide : none,
                                            cursorRow(fontOf[c.mode], left, top)}));
        EXPECT_EQ(shownText(2, c.mode), "1");
    }

    SetUp();
    chooseMode(3);
    typeText(1, ones32);
    standin::holdKey(34, down);
    runPasses(35);
    // After thirty-two binary digits ten pixels wide, then ten decimal ones eleven wide.
    EXPECT_EQ(cursorsFrom(33, 35),
              (std::vector<std::string>{cursorRow("medium", textX + 320, cursorY(3)), "none",
                                        cursorRow("large", textX + 110, cursorY(1))}));
    EXPECT_EQ(shownText(34, 1), "4294967295");
}

// A typed decimal "0" is shown empty at once, but the cursor is measured on
// the text as edited: one digit to the right for a pass, then back.
TEST_F(CursorTest, MeasuredOnTheEditedText) {
    typeAt(1, '0');
    runPasses(3);
    EXPECT_EQ(shownText(1, 1), "");
    const std::vector<standin::Call> measured = standin::callsNamed("al_get_text_width", 1);
    ASSERT_EQ(measured.size(), 1U);
    EXPECT_EQ(measured[0].text, "0");
    EXPECT_EQ(standin::fontName(measured[0].font), "large");
    EXPECT_EQ(cursorsFrom(1, 3),
              (std::vector<std::string>{cursorRow("large", textX, cursorY(1)),
                                        cursorRow("large", textX + 11, cursorY(1)),
                                        cursorRow("large", textX, cursorY(1))}));
}
