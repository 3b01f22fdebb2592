#include "harness.h"

#include <string>

namespace {

int mouseQueries(int pass) {
    return static_cast<int>(standin::callsNamed("al_get_mouse_state", pass).size());
}

// Hover highlights are the only fills in the highlight colour.
int highlightFills(int pass) {
    int found = 0;
    for (const standin::Call &call : standin::callsNamed("al_draw_filled_rectangle", pass)) {
        found += colorName(call.color) == "highlight" ? 1 : 0;
    }
    return found;
}

using PointerTest = ProgramTest;

} // namespace

// Each region by its corners: in at the top left and bottom right, out one
// pixel past each edge. The code of a pass comes from the sample before it.
TEST_F(PointerTest, RegionsGiveTheCodeOfThePreviousSample) {
    const struct {
        int mode, x, y, code;
    } points[] = {
        // clang-format off
        // decimal row: x 141..289, y 36..56
        {1, 141, 36, 1}, {1, 289, 56, 1}, {1, 140, 40, 0}, {1, 141, 35, 0}, {1, 290, 40, 0},
        {1, 141, 57, 0},
        // hexadecimal row: y 64..84
        {1, 141, 64, 2}, {1, 289, 84, 2}, {1, 140, 70, 0}, {1, 141, 63, 0}, {1, 290, 70, 0},
        {1, 141, 85, 0},
        // binary row: x 141..472, y 92..112, also under the buttons
        {1, 141, 92, 3}, {1, 472, 112, 3}, {1, 140, 100, 0}, {1, 141, 91, 0}, {1, 473, 100, 0},
        {1, 141, 113, 0}, {1, 420, 100, 3},
        // rows answer whichever field is active
        {3, 200, 45, 1}, {2, 141, 92, 3},
        // exit button: x 389..461, y 37..55
        {1, 389, 37, 4}, {1, 461, 55, 4}, {1, 388, 40, 0}, {1, 420, 36, 0}, {1, 462, 40, 0},
        {1, 420, 56, 0},
        // back button: y 65..83
        {1, 389, 65, 5}, {1, 461, 83, 5}, {1, 388, 70, 0}, {1, 420, 64, 0}, {1, 462, 70, 0},
        {1, 420, 84, 0},
        // key 0: x 37..56, y 126..145
        {1, 37, 126, 10}, {1, 56, 145, 10}, {1, 36, 135, 0}, {1, 46, 125, 0}, {1, 57, 135, 0},
        {1, 46, 146, 0},
        // key 3 lies left of the rows' x limit and is tested all the same
        {1, 137, 135, 13},
        // key 9's right edge; F (x 442..461) only on the hexadecimal keypad
        {1, 299, 135, 19}, {1, 300, 135, 0}, {2, 442, 126, 25}, {2, 461, 145, 25},
        {2, 462, 135, 0}, {2, 441, 135, 0},
        // nowhere
        {1, -5, -5, 0}, {1, 600, 40, 0}, {1, 420, 300, 0}, {1, 300, 120, 0}, {1, 300, 45, 0},
        // clang-format on
    };
    for (const auto &p : points) {
        SCOPED_TRACE("mode " + std::to_string(p.mode) + " (" + std::to_string(p.x) + "," +
                     std::to_string(p.y) + ")");
        // On a scaled desktop a layout pixel is a block of window pixels:
        // its first and its last pixel both give the code, so regions meet
        // with neither a gap nor an overlap.
        for (const DesktopScale &desktop : desktopScales) {
            for (const bool lastPixel : {false, true}) {
                const int x = windowPixel(p.x, desktop.scale, lastPixel);
                const int y = windowPixel(p.y, desktop.scale, lastPixel);
                SCOPED_TRACE(std::to_string(desktop.scale) + " at (" + std::to_string(x) + "," +
                             std::to_string(y) + ")");
                SetUp();
                setDesktopScale(desktop);
                chooseMode(p.mode);
                standin::pointer(1, x, y);
                EXPECT_EQ(runPasses(2), 0);
                EXPECT_EQ(shown[2].mode, p.mode);
                EXPECT_EQ(shown[1].hover, 0);
                EXPECT_EQ(shown[2].hover, p.code);
            }
        }
    }
}

// The sample before the first pass is all zero, so a press there acts nowhere.
TEST_F(PointerTest, FirstPassSeesNoClick) {
    const struct {
        int x, y;
    } places[] = {{keyX(7), keyY}, {420, 45}, {420, 70}, {200, 70}, {200, 100}, {0, 0}};
    for (const auto &place : places) {
        SCOPED_TRACE(std::to_string(place.x) + "," + std::to_string(place.y));
        SetUp();
        standin::pointer(1, place.x, place.y, 1);
        EXPECT_EQ(runPasses(1), 0);
        EXPECT_EQ(standin::passesBegun(), 2) << "the loop went on to its Escape test";
        EXPECT_EQ(shown[1].hover, 0);
        EXPECT_EQ(shown[1].mode, 1);
        EXPECT_EQ(shownText(1, 1), "");
        EXPECT_EQ(mouseQueries(1), 1) << "no wait for a press not yet seen";
    }
}

TEST_F(PointerTest, HeldPressActsInOnePassOnly) {
    press(2, keyX(7), keyY, 1, 3);
    EXPECT_EQ(runPasses(5), 0);
    const std::string texts[] = {"", "", "7", "7", "7"};
    const int queries[] = {1, 1, 4, 1, 1};
    const int lit[] = {0, 0, 0, 1, 1};
    for (int pass = 1; pass <= 5; ++pass) {
        EXPECT_EQ(shownText(pass, 1), texts[pass - 1]) << "pass " << pass;
        EXPECT_EQ(mouseQueries(pass), queries[pass - 1]) << "pass " << pass;
        EXPECT_EQ(highlightFills(pass), lit[pass - 1]) << "pass " << pass;
    }
    EXPECT_EQ(shown[3].hover, 17);
}

// Rows and buttons as well as keys, and moved to where x <= 140 sees no row.
TEST_F(PointerTest, MovedPressActsWhereFirstSeen) {
    const struct {
        const char *name;
        const char *typed;   // into the decimal field from pass 1, before the press
        int x, y;            // first seen in pass 2
        int movedX, movedY;  // still down there in pass 3
        int hover, released; // codes of passes 3 and 4
        const char *decimal; // shown in passes 3 and 4
        int mode;
    } cases[] = {
        {"key", "", keyX(7), keyY, keyX(3), keyY, 17, 13, "7", 1},
        {"backToKey", "9", 420, 74, keyX(2), keyY, 5, 12, "", 1},
        {"hexRowToLeftOfRows", "", 200, 74, 100, 74, 2, 0, "", 2},
        {"binaryRowToBack", "", 200, 100, 420, 74, 3, 5, "", 3},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        typeText(1, c.typed);
        standin::pointer(2, c.x, c.y, 1);
        standin::pointer(3, c.movedX, c.movedY, 1);
        standin::pointer(3, c.movedX, c.movedY, 1);
        EXPECT_EQ(runPasses(4), 0);
        EXPECT_EQ(shown[3].hover, c.hover);
        EXPECT_EQ(shownText(3, 1), c.decimal);
        EXPECT_EQ(shown[3].mode, c.mode);
        EXPECT_EQ(shown[4].hover, c.released) << "released where the pointer stood";
        EXPECT_EQ(shownText(4, 1), c.decimal);
        EXPECT_EQ(shown[4].mode, c.mode);
    }
}

TEST_F(PointerTest, PressSampledOnceStillActsWithoutAPoll) {
    standin::pointer(2, keyX(7), keyY, 1);
    standin::pointer(3, keyX(7), keyY, 0);
    EXPECT_EQ(runPasses(4), 0);
    EXPECT_EQ(shownText(3, 1), "7");
    EXPECT_EQ(shownText(4, 1), "7");
    EXPECT_EQ(mouseQueries(3), 1);
}

// Only the primary button alone clicks; any held button hides the highlight
// and is waited for until every button is up.
TEST_F(PointerTest, OnlyPrimaryAloneActsAndAllButtonsAreWaitedFor) {
    const struct {
        int buttons, x, y;
        const char *decimal; // decimal text after the acting pass
        int mode;            // active field after it
    } cases[] = {
        {1, keyX(7), keyY, "7", 1}, {2, keyX(7), keyY, "", 1}, {3, keyX(7), keyY, "", 1},
        {1, 200, 70, "", 2},        {2, 200, 70, "", 1},       {3, 200, 70, "", 1},
        {2, 420, 45, "", 1},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE("buttons " + std::to_string(c.buttons) + " at " + std::to_string(c.x));
        SetUp();
        press(2, c.x, c.y, c.buttons, 2);
        standin::pointer(3, c.x, c.y, 2); // the secondary outlasts the rest
        EXPECT_EQ(runPasses(4), 0);
        EXPECT_EQ(highlightFills(3), 0);
        EXPECT_EQ(mouseQueries(3), 4);
        for (int pass : {3, 4}) {
            EXPECT_EQ(shownText(pass, 1), c.decimal) << "pass " << pass;
            EXPECT_EQ(shown[pass].mode, c.mode) << "pass " << pass;
        }
    }
}
