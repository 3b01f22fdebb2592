#include "harness.h"

#include <string>
#include <vector>

namespace {

using namespace geometry;

// The exit caption as its six UTF-8 bytes; the last letter is U+0179.
const std::string exitCaption = "\x57\x59\x4A\x44\xC5\xB9";

std::vector<std::string> expectedFrame() {
    std::vector<std::string> rows = {
        "clear background",
        fillRow(panelShadow, "deepTeal"),
        fillRow(panelFace, "teal"),
        outlineRow(panelFace, "ink", 2),
        outlineRow(panelBevel, "background", 2),
        textRow("large", "deepTeal", titleSpot, "centre", ""),
        textRow("small", "ink", creditSpot, "right", ""),
        textRow("medium", "background", labelShadowSpot(1), "right", "Decymalne"),
        textRow("medium", "accent", labelSpot(1), "right", "Decymalne"),
        fillRow(rowBox(1), "midTeal"),
        outlineRow(rowBox(1), "deepTeal"),
        textRow("medium", "background", labelShadowSpot(2), "right", "Hexadec."),
        textRow("medium", "accent", labelSpot(2), "right", "Hexadec."),
        fillRow(rowBox(2), "midTeal"),
        outlineRow(rowBox(2), "deepTeal"),
        textRow("medium", "background", labelShadowSpot(3), "right", "Binarne"),
        textRow("medium", "accent", labelSpot(3), "right", "Binarne"),
        fillRow(rowBox(3), "midTeal"),
        outlineRow(rowBox(3), "deepTeal"),
        fillRow(buttonShadow(exitButton), "background"),
        fillRow(buttonFace(exitButton), "greyTeal"),
        outlineRow(buttonFace(exitButton), "deepTeal"),
        outlineRow(buttonBevel(exitButton), "highlight"),
        textRow("small", "deepTeal", buttonCaption(exitButton), "centre", exitCaption),
        fillRow(buttonShadow(backButton), "background"),
        fillRow(buttonFace(backButton), "greyTeal"),
        outlineRow(buttonFace(backButton), "deepTeal"),
        outlineRow(buttonBevel(backButton), "highlight"),
        textRow("small", "deepTeal", buttonCaption(backButton), "centre", "COFNIJ"),
    };
    // The sixteen dim keys: each outlined, its caption at its top left.
    const std::string captions = "0123456789ABCDEF";
    for (int key = 0; key < 16; ++key) {
        rows.push_back(outlineRow(keyFace(key), "background"));
        rows.push_back(textRow("small", "background", keyCaption(key), "left",
                               std::string(1, captions[static_cast<std::size_t>(key)])));
    }
    return rows;
}

using FrameTest = ProgramTest;

// Whatever the field, pointer or keyboard does, each pass opens with the
// same frame; the keypad, highlight and value lines come after it.
TEST_F(FrameTest, EveryPassOpensWithTheWholeFrameInOrder) {
    const Spot exitSpot = buttonSpot(exitButton);
    const Spot binarySpot = rowSpot(3);
    standin::holdKey(2, ALLEGRO_KEY_DOWN);       // hexadecimal
    standin::pointer(2, exitSpot.x, exitSpot.y); // over the exit button
    standin::click(3, keyX(7), keyY);            // a key, acting in pass 4
    standin::typeKey(4, '7');                    // applied in pass 5
    standin::holdKey(5, ALLEGRO_KEY_UP);         // back to decimal, held on
    standin::holdKey(6, ALLEGRO_KEY_UP);
    standin::click(6, binarySpot.x, binarySpot.y); // the binary row
    standin::pointer(7, keyX(0), keyY);            // over key 0
    EXPECT_EQ(runPasses(8), 0);
    const std::vector<std::string> frame = expectedFrame();
    ASSERT_EQ(frame.size(), 61U);
    for (int pass = 1; pass <= 8; ++pass) {
        std::vector<std::string> rows = rowsOf(pass);
        ASSERT_GT(rows.size(), frame.size()) << "pass " << pass;
        rows.resize(frame.size());
        EXPECT_EQ(rows, frame) << "pass " << pass;
    }
}

} // namespace
