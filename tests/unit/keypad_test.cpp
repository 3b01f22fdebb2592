#include "harness.h"

#include <string>
#include <vector>

namespace {

constexpr std::size_t frameRows = 61; // the frame's calls open every pass
const int keyCount[] = {0, 10, 16, 2};

// Shadow, face, outline, bevel and caption of the raised key whose left edge is x.
std::vector<std::string> raisedKey(int x, const std::string &caption) {
    return {fillRow(x + 1, 126, x + 22, 148, "background"),
            fillRow(x, 125, x + 21, 146, "greyTeal"), outlineRow(x, 125, x + 21, 146, "deepTeal"),
            outlineRow(x + 1, 126, x + 20, 145, "highlight"),
            textRow("small", "ink", x + 3, 125, "left", caption)};
}

// The lit face inside the bevel, the caption one pixel lower.
std::vector<std::string> litKey(int x, const std::string &caption) {
    return {fillRow(x, 126, x + 19, 145, "highlight"),
            textRow("small", "ink", x + 3, 126, "left", caption)};
}

// The active value box, the first call of the value lines.
const std::string valueBox[] = {"", fillRow(130, 35, 279, 56, "fieldFill"),
                                fillRow(130, 63, 279, 84, "fieldFill"),
                                fillRow(130, 91, 462, 112, "fieldFill")};

std::vector<std::string> slice(const std::vector<std::string> &rows, std::size_t first,
                               std::size_t count) {
    return {rows.begin() + static_cast<long>(first),
            rows.begin() + static_cast<long>(first + count)};
}

// Captions of the raised keys in drawing order: the dim ones are in the
// background colour, the lit ones a pixel lower.
std::string raisedCaptions(int pass) {
    std::string captions;
    for (const standin::Call &call : standin::callsNamed("al_draw_textf", pass)) {
        if (call.args.at(1) == 125.0F && colorName(call.color) == "ink") {
            captions += call.text;
        }
    }
    return captions;
}

// What is drawn between the raised keys and the value box.
std::vector<std::string> highlightRows(int pass, int mode) {
    const std::vector<std::string> rows = rowsOf(pass);
    std::vector<std::string> between;
    for (std::size_t i = frameRows + 5 * keyCount[mode]; i < rows.size(); ++i) {
        if (rows[i] == valueBox[mode]) {
            break;
        }
        between.push_back(rows[i]);
    }
    return between;
}

using KeypadTest = ProgramTest;

} // namespace

// Only the active keys are raised, after the frame's last dim key, and
// tested against the pointer; a key under the pointer is lit between them
// and the value lines.
TEST_F(KeypadTest, RaisesAndTestsOnlyTheActiveKeys) {
    const struct {
        int mode;
        const char *captions;
        int lastKeyX;           // left edge of the last raised key
        std::vector<int> codes; // hoverTarget with the pointer over keys 0..F in turn
    } cases[] = {
        {1, "0123456789", 279, {10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 0, 0, 0, 0, 0, 0}},
        {2,
         "0123456789ABCDEF",
         441,
         {10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25}},
        {3, "01", 63, {10, 11, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE("mode " + std::to_string(c.mode));
        SetUp();
        chooseMode(c.mode);
        for (int key = 0; key < 16; ++key) {
            standin::pointer(key + 1, keyX(key), keyY);
        }
        EXPECT_EQ(runPasses(17), 0);
        EXPECT_EQ(raisedCaptions(1), c.captions);
        const std::vector<std::string> rows = rowsOf(1);
        const std::size_t keypadEnd = frameRows + 5 * keyCount[c.mode];
        ASSERT_GT(rows.size(), keypadEnd);
        EXPECT_EQ(rows[frameRows - 1], textRow("small", "background", 444, 125, "left", "F"));
        EXPECT_EQ(slice(rows, frameRows, 5), raisedKey(36, "0"));
        EXPECT_EQ(slice(rows, keypadEnd - 5, 5),
                  raisedKey(c.lastKeyX, std::string(1, c.captions[keyCount[c.mode] - 1])));
        EXPECT_EQ(rows[keypadEnd], valueBox[c.mode]) << "nothing lit in the first pass";
        EXPECT_EQ(highlightRows(2, c.mode), litKey(36, "0"));
        std::vector<int> codes;
        for (int pass = 2; pass <= 17; ++pass) {
            codes.push_back(shown[pass].hover);
            EXPECT_EQ(highlightRows(pass, c.mode).size(), shown[pass].hover == 0 ? 0U : 2U)
                << "pass " << pass;
        }
        EXPECT_EQ(codes, c.codes);
    }
}

// A key or button under the pointer is lit only while no button is held;
// the field rows never are.
TEST_F(KeypadTest, LightsOnlyWithNoButtonHeld) {
    const std::vector<std::string> exitLit = {
        fillRow(390, 36, 461, 54, "highlight"),
        textRow("small", "ink", 426, 38, "centre", "WYJD\xC5\xB9")};
    const std::vector<std::string> backLit = {fillRow(390, 64, 461, 82, "highlight"),
                                              textRow("small", "ink", 426, 66, "centre", "COFNIJ")};
    const struct {
        int mode, x, y, buttons;
        std::vector<std::string> rows; // none: nothing lit
    } cases[] = {
        // clang-format off
        {1, keyX(9), keyY, 0, litKey(279, "9")},  {2, keyX(10), keyY, 0, litKey(306, "A")},
        {2, keyX(15), keyY, 0, litKey(441, "F")}, {3, keyX(1), keyY, 0, litKey(63, "1")},
        {1, 420, 45, 0, exitLit},                 {2, 420, 70, 0, backLit},
        // rows and empty places
        {1, 200, 45, 0, {}}, {1, 200, 70, 0, {}}, {3, 300, 100, 0, {}}, {1, 250, 175, 0, {}},
        // any button held
        {1, keyX(0), keyY, 1, {}}, {1, keyX(0), keyY, 2, {}}, {1, keyX(0), keyY, 3, {}},
        {1, 420, 45, 2, {}},       {1, 420, 70, 3, {}},       {1, 420, 70, 1, {}},
        // clang-format on
    };
    for (const auto &c : cases) {
        SCOPED_TRACE("mode " + std::to_string(c.mode) + " (" + std::to_string(c.x) + "," +
                     std::to_string(c.y) + ") buttons " + std::to_string(c.buttons));
        SetUp();
        chooseMode(c.mode);
        standin::pointer(1, c.x, c.y, c.buttons);
        EXPECT_EQ(runPasses(2), 0);
        EXPECT_EQ(highlightRows(2, c.mode), c.rows);
    }
}

// The active field is settled before the keypad is drawn, by a row click or an arrow.
TEST_F(KeypadTest, NewKeysInTheSwitchingPass) {
    const struct {
        int rowY;     // a click on this row in pass 1, acting in pass 2; 0 for none
        int arrowKey; // held in pass 2 otherwise
        int mode;
        const char *captions;
    } cases[] = {
        {70, 0, 2, "0123456789ABCDEF"},
        {100, 0, 3, "01"},
        {0, ALLEGRO_KEY_DOWN, 2, "0123456789ABCDEF"},
        {0, ALLEGRO_KEY_UP, 3, "01"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE("row " + std::to_string(c.rowY) + " key " + std::to_string(c.arrowKey));
        SetUp();
        if (c.rowY != 0) {
            standin::click(1, 200, c.rowY);
        } else {
            standin::holdKey(2, c.arrowKey);
        }
        EXPECT_EQ(runPasses(2), 0);
        EXPECT_EQ(raisedCaptions(1), "0123456789");
        EXPECT_EQ(shown[2].mode, c.mode);
        EXPECT_EQ(raisedCaptions(2), c.captions);
    }
}
