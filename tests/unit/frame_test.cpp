#include "harness.h"

#include <string>
#include <vector>

namespace {

// The exit caption as its six UTF-8 bytes; the last letter is U+0179.
const std::string exitCaption = "\x57\x59\x4A\x44\xC5\xB9";

std::vector<std::string> expectedFrame() {
    std::vector<std::string> rows = {
        "clear background",
        fillRow(22, 22, 479, 163, "deepTeal"),
        fillRow(20, 20, 476, 160, "teal"),
        outlineRow(20, 20, 476, 160, "ink", 2),
        outlineRow(21, 21, 475, 159, "background", 2),
        textRow("large", "deepTeal", 248, 30, "centre", ""),
        textRow("small", "ink", 476, 165, "right", ""),
        textRow("medium", "background", 121, 36, "right", "Decymalne"),
        textRow("medium", "accent", 120, 35, "right", "Decymalne"),
        fillRow(130, 35, 280, 57, "midTeal"),
        outlineRow(130, 35, 280, 57, "deepTeal"),
        textRow("medium", "background", 121, 64, "right", "Hexadec."),
        textRow("medium", "accent", 120, 63, "right", "Hexadec."),
        fillRow(130, 63, 280, 85, "midTeal"),
        outlineRow(130, 63, 280, 85, "deepTeal"),
        textRow("medium", "background", 121, 92, "right", "Binarne"),
        textRow("medium", "accent", 120, 91, "right", "Binarne"),
        fillRow(130, 91, 463, 113, "midTeal"),
        outlineRow(130, 91, 463, 113, "deepTeal"),
        fillRow(391, 37, 464, 58, "background"),
        fillRow(390, 36, 463, 56, "greyTeal"),
        outlineRow(390, 36, 463, 56, "deepTeal"),
        outlineRow(392, 37, 462, 55, "highlight"),
        textRow("small", "deepTeal", 425, 37, "centre", exitCaption),
        fillRow(391, 65, 464, 86, "background"),
        fillRow(390, 64, 463, 84, "greyTeal"),
        outlineRow(390, 64, 463, 84, "deepTeal"),
        outlineRow(392, 65, 462, 83, "highlight"),
        textRow("small", "deepTeal", 425, 65, "centre", "COFNIJ"),
    };
    // The sixteen dim keys: the left edge of each and its caption.
    const struct {
        int x;
        const char *caption;
    } keys[] = {{36, "0"},  {63, "1"},  {90, "2"},  {117, "3"}, {144, "4"}, {171, "5"},
                {198, "6"}, {225, "7"}, {252, "8"}, {279, "9"}, {306, "A"}, {333, "B"},
                {360, "C"}, {387, "D"}, {414, "E"}, {441, "F"}};
    for (const auto &key : keys) {
        rows.push_back(outlineRow(key.x, 125, key.x + 21, 146, "background"));
        rows.push_back(textRow("small", "background", key.x + 3, 125, "left", key.caption));
    }
    return rows;
}

using FrameTest = ProgramTest;

// Whatever the field, pointer or keyboard does, each pass opens with the
// same frame; the keypad, highlight and value lines come after it.
TEST_F(FrameTest, EveryPassOpensWithTheWholeFrameInOrder) {
    standin::holdKey(2, ALLEGRO_KEY_DOWN); // hexadecimal
    standin::pointer(2, 420, 45);          // over the exit button
    standin::click(3, keyX(7), keyY);      // a key, acting in pass 4
    standin::typeKey(4, '7');              // applied in pass 5
    standin::holdKey(5, ALLEGRO_KEY_UP);   // back to decimal, then binary
    standin::holdKey(6, ALLEGRO_KEY_UP);
    standin::click(6, 200, 100);        // the binary row
    standin::pointer(7, keyX(0), keyY); // over key 0
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
