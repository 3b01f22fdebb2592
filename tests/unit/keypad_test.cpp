#include "harness.h"

#include <string>
#include <vector>

namespace {

using namespace geometry;

constexpr std::size_t frameRows = 61; // the frame's calls open every pass
const int keyCount[] = {0, 10, 16, 2};

// Shadow, face, outline, bevel and caption of a raised key.
std::vector<std::string> raisedKey(int key, const std::string &caption) {
    return {fillRow(keyShadow(key), "background"), fillRow(keyFace(key), "greyTeal"),
            outlineRow(keyFace(key), "deepTeal"), outlineRow(keyBevel(key), "highlight"),
            textRow("small", "ink", keyCaption(key), "left", caption)};
}

// The lit face inside the bevel, the caption one pixel lower.
std::vector<std::string> litKey(int key, const std::string &caption) {
    return {fillRow(keyLit(key), "highlight"),
            textRow("small", "ink", keyLitCaption(key), "left", caption)};
}

// The active value box, the first call of the value lines.
const std::string valueBox[] = {"", fillRow(activeFill(1), "fieldFill"),
                                fillRow(activeFill(2), "fieldFill"),
                                fillRow(activeFill(3), "fieldFill")};

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
        if (call.args.at(1) == static_cast<float>(keyCaption(0).y) &&
            colorName(call.color) == "ink") {
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
        int lastKey;            // the last raised key
        std::vector<int> codes; // hoverTarget with the pointer over keys 0..F in turn
    } cases[] = {
        {1, "0123456789", 9, {10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 0, 0, 0, 0, 0, 0}},
        {2,
         "0123456789ABCDEF",
         15,
         {10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25}},
        {3, "01", 1, {10, 11, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
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
        EXPECT_EQ(rows[frameRows - 1], textRow("small", "background", keyCaption(15), "left", "F"));
        EXPECT_EQ(slice(rows, frameRows, 5), raisedKey(0, "0"));
        EXPECT_EQ(slice(rows, keypadEnd - 5, 5),
                  raisedKey(c.lastKey, std::string(1, c.captions[keyCount[c.mode] - 1])));
        EXPECT_EQ(rows[keypadEnd], valueBox[c.mode]) << "nothing lit in the first pass";
        EXPECT_EQ(highlightRows(2, c.mode), litKey(0, "0"));
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
        fillRow(buttonLit(exitButton), "highlight"),
        textRow("small", "ink", buttonLitCaption(exitButton), "centre", "WYJD\xC5\xB9")};
    const std::vector<std::string> backLit = {
        fillRow(buttonLit(backButton), "highlight"),
        textRow("small", "ink", buttonLitCaption(backButton), "centre", "COFNIJ")};
    const Spot exitSpot = buttonSpot(exitButton);
    const Spot backSpot = buttonSpot(backButton);
    const struct {
        int mode;
        Spot at;
        int buttons;
        std::vector<std::string> rows; // none: nothing lit
    } cases[] = {
        // clang-format off
        {1, keySpot(9), 0, litKey(9, "9")},   {2, keySpot(10), 0, litKey(10, "A")},
        {2, keySpot(15), 0, litKey(15, "F")}, {3, keySpot(1), 0, litKey(1, "1")},
        {1, exitSpot, 0, exitLit},            {2, backSpot, 0, backLit},
        // rows and an empty place below the panel
        {1, rowSpot(1), 0, {}}, {1, rowSpot(2), 0, {}}, {3, rowSpot(3), 0, {}},
        {1, {250, 175}, 0, {}},
        // any button held
        {1, keySpot(0), 1, {}}, {1, keySpot(0), 2, {}}, {1, keySpot(0), 3, {}},
        {1, exitSpot, 2, {}},   {1, backSpot, 3, {}},   {1, backSpot, 1, {}},
        // clang-format on
    };
    for (const auto &c : cases) {
        SCOPED_TRACE("mode " + std::to_string(c.mode) + " (" + std::to_string(c.at.x) + "," +
                     std::to_string(c.at.y) + ") buttons " + std::to_string(c.buttons));
        SetUp();
        chooseMode(c.mode);
        standin::pointer(1, c.at.x, c.at.y, c.buttons);
        EXPECT_EQ(runPasses(2), 0);
        EXPECT_EQ(highlightRows(2, c.mode), c.rows);
    }
}

// The active field is settled before the keypad is drawn, by a row click or an arrow.
TEST_F(KeypadTest, NewKeysInTheSwitchingPass) {
    const struct {
        int row;      // a click on this row in pass 1, acting in pass 2; 0 for none
        int arrowKey; // held in pass 2 otherwise
        int mode;
        const char *captions;
    } cases[] = {
        {2, 0, 2, "0123456789ABCDEF"},
        {3, 0, 3, "01"},
        {0, ALLEGRO_KEY_DOWN, 2, "0123456789ABCDEF"},
        {0, ALLEGRO_KEY_UP, 3, "01"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE("row " + std::to_string(c.row) + " key " + std::to_string(c.arrowKey));
        SetUp();
        if (c.row != 0) {
            standin::click(1, rowSpot(c.row).x, rowSpot(c.row).y);
        } else {
            standin::holdKey(2, c.arrowKey);
        }
        EXPECT_EQ(runPasses(2), 0);
        EXPECT_EQ(raisedCaptions(1), "0123456789");
        EXPECT_EQ(shown[2].mode, c.mode);
        EXPECT_EQ(raisedCaptions(2), c.captions);
    }
}
