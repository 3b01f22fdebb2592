#include "harness.h"

#include <initializer_list>
#include <string>
#include <vector>

namespace {

using namespace geometry;

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

struct Probe {
    int mode, x, y, code;
};

// The six probes of an area, in the decimal field (see below).
std::vector<Probe> cornersOf(const Area &area, int code) {
    const Spot middle = middleOf(area);
    return {{1, area.left, area.top, code},   {1, area.right, area.bottom, code},
            {1, area.left - 1, middle.y, 0},  {1, middle.x, area.top - 1, 0},
            {1, area.right + 1, middle.y, 0}, {1, middle.x, area.bottom + 1, 0}};
}

std::vector<Probe> joined(std::initializer_list<std::vector<Probe>> parts) {
    std::vector<Probe> all;
    for (const std::vector<Probe> &part : parts) {
        all.insert(all.end(), part.begin(), part.end());
    }
    return all;
}

using PointerTest = ProgramTest;

} // namespace

// Each region by its corners: in at the top left and bottom right, out one
// pixel past each edge, halfway along it. The code of a pass comes from the
// sample before it.
TEST_F(PointerTest, RegionsGiveTheCodeOfThePreviousSample) {
    const Area binaryRow = rowHit(3);
    const Area lastKey = keyHit(15);
    static_assert(keyHit(3).right < rowHitLeft);
    const std::vector<Probe> points = joined({
        // decimal, hexadecimal and binary rows
        cornersOf(rowHit(1), 1),
        cornersOf(rowHit(2), 2),
        cornersOf(binaryRow, 3),
        // the binary row also lies under the buttons
        {{1, buttonSpot(exitButton).x, rowSpot(3).y, 3}},
        // rows answer whichever field is active
        {{3, rowSpot(1).x, rowSpot(1).y, 1}, {2, binaryRow.left, binaryRow.top, 3}},
        // the exit and back buttons, key 0
        cornersOf(buttonHit(exitButton), 4),
        cornersOf(buttonHit(backButton), 5),
        cornersOf(keyHit(0), 10),
        // key 3 lies left of the rows' x limit and is tested all the same
        {{1, keyHit(3).right, keyY, 13}},
        // key 9's right edge; F only on the hexadecimal keypad
        {{1, keyHit(9).right, keyY, 19},
         {1, keyHit(9).right + 1, keyY, 0},
         {2, lastKey.left, lastKey.top, 25},
         {2, lastKey.right, lastKey.bottom, 25},
         {2, lastKey.right + 1, keyY, 0},
         {2, lastKey.left - 1, keyY, 0}},
        // nowhere
        {{1, -5, -5, 0}, {1, 600, 40, 0}, {1, 420, 300, 0}, {1, 300, 120, 0}, {1, 300, 45, 0}},
    });
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
    const Spot places[] = {
        keySpot(7), buttonSpot(exitButton), buttonSpot(backButton), rowSpot(2), rowSpot(3), {0, 0}};
    for (const Spot &place : places) {
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
        Spot at;             // first seen in pass 2
        Spot moved;          // still down there in pass 3
        int hover, released; // codes of passes 3 and 4
        const char *decimal; // shown in passes 3 and 4
        int mode;
    } cases[] = {
        {"key", "", keySpot(7), keySpot(3), 17, 13, "7", 1},
        {"backToKey", "9", buttonSpot(backButton), keySpot(2), 5, 12, "", 1},
        {"hexRowToLeftOfRows", "", rowSpot(2), {overLabelsX, rowSpot(2).y}, 2, 0, "", 2},
        {"binaryRowToBack", "", rowSpot(3), buttonSpot(backButton), 3, 5, "", 3},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        typeText(1, c.typed);
        standin::pointer(2, c.at.x, c.at.y, 1);
        standin::pointer(3, c.moved.x, c.moved.y, 1);
        standin::pointer(3, c.moved.x, c.moved.y, 1);
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
        int buttons;
        Spot at;
        const char *decimal; // decimal text after the acting pass
        int mode;            // active field after it
    } cases[] = {
        {1, keySpot(7), "7", 1},
        {2, keySpot(7), "", 1},
        {3, keySpot(7), "", 1},
        {1, rowSpot(2), "", 2},
        {2, rowSpot(2), "", 1},
        {3, rowSpot(2), "", 1},
        {2, buttonSpot(exitButton), "", 1},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE("buttons " + std::to_string(c.buttons) + " at " + std::to_string(c.at.x));
        SetUp();
        press(2, c.at.x, c.at.y, c.buttons, 2);
        standin::pointer(3, c.at.x, c.at.y, 2); // the secondary outlasts the rest
        EXPECT_EQ(runPasses(4), 0);
        EXPECT_EQ(highlightFills(3), 0);
        EXPECT_EQ(mouseQueries(3), 4);
        for (int pass : {3, 4}) {
            EXPECT_EQ(shownText(pass, 1), c.decimal) << "pass " << pass;
            EXPECT_EQ(shown[pass].mode, c.mode) << "pass " << pass;
        }
    }
}
