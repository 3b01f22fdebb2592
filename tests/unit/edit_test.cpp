// Field choice and editing, driven through whole passes of the real loop.
#include "clipboard_standin.h"
#include "harness.h"

#include <climits>
#include <ostream>
#include <string>
#include <vector>

namespace {

using geometry::rowYOf;

constexpr int noChar = INT_MIN; // nothing typed in the pass
constexpr int down = ALLEGRO_KEY_DOWN;
constexpr int up = ALLEGRO_KEY_UP;
constexpr int keysOf[4] = {0, 10, 16, 2};

// Makes `mode` active in pass 1 and types `text` into it, one character a
// pass from pass 1; returns the first pass left free.
int enterText(int mode, const std::string &text) {
    chooseMode(mode);
    typeText(1, text);
    return text.empty() ? 2 : static_cast<int>(text.size()) + 1;
}

struct EditCase {
    const char *name;
    int mode;            // field made active in pass 1
    const char *prep;    // typed into it, one character a pass
    int to;              // field the arrows move to in a pass of their own; 0 none
    int click;           // what the press acting in the checked pass is over; 0 none
    int typed;           // character fetched in the checked pass
    const char *want[3]; // decimal, hexadecimal and binary text shown in it
    int arrow = 0;       // arrow key held in the checked pass
    int buttons = 1;     // of the press
    int active = 0;      // InputMode after the pass; 0: the field edited before
    // When set: the active field's text after a '1' typed in the pass after.
    const char *next = nullptr;
};

void PrintTo(const EditCase &c, std::ostream *os) {
    *os << c.name;
}

class EditTest : public ProgramTest, public ::testing::WithParamInterface<EditCase> {};

TEST_P(EditTest, LeavesTheseTextsShown) {
    const EditCase &c = GetParam();
    int act = enterText(c.mode, c.prep);
    int edited = c.mode;
    if (c.to != 0) {
        standin::holdKey(act++, c.to == edited % 3 + 1 ? down : up);
        edited = c.to;
    }
    if (c.arrow != 0) {
        standin::holdKey(act, c.arrow);
    }
    if (c.click != 0) {
        pressAt(act - 1, c.click, c.buttons);
    }
    if (c.typed != noChar) {
        typeAt(act, c.typed);
    }
    if (c.next != nullptr) {
        typeAt(act + 1, '1');
    }
    ASSERT_EQ(runPasses(c.next != nullptr ? act + 1 : act), 0);
    const int active = c.active != 0 ? c.active : edited;
    EXPECT_EQ(shown[act].mode, active);
    EXPECT_EQ(shown[act].rowY, rowYOf[active]);
    EXPECT_EQ(shown[act].keys, keysOf[active]);
    for (int row = 1; row <= 3; ++row) {
        EXPECT_EQ(shownText(act, row), c.want[row - 1]) << "row " << row;
    }
    if (c.next != nullptr) {
        EXPECT_EQ(shownText(act + 1, active), c.next) << "the pass after";
    }
}

std::string caseName(const ::testing::TestParamInfo<EditCase> &info) {
    return info.param.name;
}

const char *const bin31 = "1000000000000000000000000000000";
const char *const topBit = "10000000000000000000000000000000";
const char *const bin32 = "10000000000000000000000000000001";
const char *const bin1234567890 = "1001001100101100000001011010010";
const char *const bin1234567895 = "1001001100101100000001011010111";
const char *const binABCDEF01 = "10101011110011011110111100000001";
const char *const binABCDEF02 = "10101011110011011110111100000010";

// The stale starts: binary "01" shows 1 in the other fields and hexadecimal
// "0A" shows 10 and 1010; a commit made in another field drops the leading
// zero. Characters that never open the gate leave the stale texts alone.
const EditCase cases[] = {
    {"DecDigit", 3, "01", 1, 0, '9', {"19", "13", "10011"}},
    {"DecTabCommits", 3, "01", 1, 0, 9, {"1", "1", "1"}},
    {"DecLetterCommits", 3, "01", 1, 0, 'a', {"1", "1", "1"}},
    {"DecAbove255Commits", 3, "01", 1, 0, 256 + '1', {"1", "1", "1"}},
    {"DecBackspaceEmptiesAll", 3, "01", 1, 0, 8, {"", "", ""}},
    {"HexDigit", 3, "01", 2, 0, '7', {"23", "17", "10111"}},
    {"HexLowerStoredUpper", 3, "01", 2, 0, 'b', {"27", "1B", "11011"}},
    {"HexLowerGCommits", 3, "01", 2, 0, 'g', {"1", "1", "1"}},
    {"BinOne", 2, "0A", 3, 0, '1', {"21", "15", "10101"}},
    {"BinTwoCommits", 2, "0A", 3, 0, '2', {"10", "A", "1010"}},
    {"BinBackspace", 2, "0A", 3, 0, 8, {"5", "5", "101"}},
    {"DecNulClosed", 3, "01", 1, 0, 0, {"1", "1", "01"}},
    {"DecSevenClosed", 3, "01", 1, 0, 7, {"1", "1", "01"}},
    {"HexNegativeClosed", 3, "01", 2, 0, -1, {"1", "1", "01"}},
    // A decimal "0" is shown empty, so the next digit starts afresh.
    {"DecDigitAfterZeroStartsFresh", 1, "0", 0, 0, '5', {"5", "5", "101"}},
    // ... and so is "00", from the key 0 and a typed 0 in one pass.
    {"DecZeroKeyAndTypedZero", 1, "", 0, key(0), '0', {"", "", ""}, 0, 1, 0, "1"},
    // In every field the order is digits (key, then typed), letters (key,
    // then typed), then removals (back button, then backspace).
    {"DecKey", 1, "", 0, key(9), noChar, {"9", "9", "1001"}},
    {"DecZeroKey", 1, "5", 0, key(0), noChar, {"50", "32", "110010"}},
    {"HexZeroKey", 2, "5", 0, key(0), noChar, {"80", "50", "1010000"}},
    {"HexLetterKey", 2, "", 0, key(12), noChar, {"12", "C", "1100"}},
    {"DimKeyCommitsOnly", 3, "01", 1, key(10), noChar, {"1", "1", "1"}},
    {"DecKeyThenTyped", 1, "", 0, key(3), '5', {"35", "23", "100011"}},
    {"BinKeyThenTyped", 3, "", 0, key(1), '0', {"2", "2", "10"}},
    {"HexDigitKeyBeforeTypedDigit", 2, "", 0, key(9), '5', {"149", "95", "10010101"}},
    {"HexTypedDigitBeforeLetterKey", 2, "", 0, key(10), '5', {"90", "5A", "1011010"}},
    {"HexLetterKeyBeforeTypedLower", 2, "", 0, key(14), 'b', {"235", "EB", "11101011"}},
    {"HexLetterKeyBeforeTypedUpper", 2, "", 0, key(15), 'D', {"253", "FD", "11111101"}},
    {"DecBack", 1, "12", 0, back, noChar, {"1", "1", "1"}},
    {"DecBackUndoesTyped", 1, "12", 0, back, '3', {"12", "C", "1100"}},
    {"HexBackUndoesTyped", 2, "AB", 0, back, 'c', {"171", "AB", "10101011"}},
    {"BinBackUndoesTyped", 3, "10", 0, back, '1', {"2", "2", "10"}},
    {"DecBackAndBackspace", 1, "123", 0, back, 8, {"1", "1", "1"}},
    {"DecKeyThenBackspace", 1, "12", 0, key(4), 8, {"12", "C", "1100"}},
    // Removing from an empty text still commits and empties the other two.
    {"BackspaceOnEmptyDec", 2, "00", 1, 0, 8, {"", "", ""}},
    {"BackOnEmptyDec", 2, "00", 1, back, noChar, {"", "", ""}},
    // ... and leaves the text empty, so the next digit is kept.
    {"BackspaceOnEmptyThenDigit", 2, "00", 1, 0, 8, {"", "", ""}, 0, 1, 0, "1"},
    {"BackOnEmptyThenDigit", 2, "00", 1, back, noChar, {"", "", ""}, 0, 1, 0, "1"},
    // Only a click on the back button removes; resting there does not.
    {"DecTypedWhileOnBack", 1, "12", 0, back, '3', {"123", "7B", "1111011"}, 0, 0},
    // At the limit the newest characters go; a key and a typed character
    // that both append are cut together.
    {"DecTyped", 1, "1234567890", 0, 0, '1', {"1234567890", "499602D2", bin1234567890}},
    {"HexTyped", 2, "ABCDEF01", 0, 0, 'a', {"2882400001", "ABCDEF01", binABCDEF01}},
    {"BinTyped", 3, bin32, 0, 0, '1', {"2147483649", "80000001", bin32}},
    {"DecKeyAndTyped", 1, "1234567890", 0, key(5), '6', {"1234567890", "499602D2", bin1234567890}},
    // With one place free the key's digit stays and the typed one goes.
    {"DecFreeKeyStays", 1, "123456789", 0, key(5), '6', {"1234567895", "499602D7", bin1234567895}},
    {"HexFreeTypedStays", 2, "ABCDEF0", 0, key(11), '2', {"2882400002", "ABCDEF02", binABCDEF02}},
    {"BinFreeKeyStays", 3, bin31, 0, key(0), '1', {"2147483648", "80000000", topBit}},
    // Row clicks win over the arrows of the same pass; a typed character goes
    // to the field that is active once both are done. Only a primary click counts.
    {"DecRowAloneRecomputes", 3, "01", 0, 1, noChar, {"1", "1", "1"}, 0, 1, 1},
    {"BinRowAloneRecomputes", 2, "0A", 0, 3, noChar, {"10", "A", "1010"}, 0, 1, 3},
    {"ActiveRowCommitsUnchanged", 2, "0A", 3, 3, noChar, {"10", "A", "1010"}},
    {"BinRowBeatsDown", 1, "5", 0, 3, '1', {"11", "B", "1011"}, down, 1, 3},
    {"DecRowBeatsUp", 1, "5", 0, 1, '7', {"57", "39", "111001"}, up, 1, 1},
    {"HexRowTakesTyped", 1, "5", 0, 2, 'b', {"91", "5B", "1011011"}, 0, 1, 2},
    {"DownTakesTyped", 1, "5", 0, 0, 'a', {"90", "5A", "1011010"}, down, 1, 2},
    {"UpTakesTyped", 1, "", 0, 0, '1', {"1", "1", "1"}, up, 1, 3},
    {"SecondaryOnRowIgnored", 3, "01", 0, 1, noChar, {"1", "1", "01"}, 0, 2, 3},
    {"SecondaryOnRowTypedOnly", 3, "01", 0, 1, '1', {"3", "3", "011"}, 0, 2, 3},
};
INSTANTIATE_TEST_SUITE_P(Cases, EditTest, ::testing::ValuesIn(cases), caseName);

using EditFlowTest = ProgramTest;

// Every character from -2 to 300, and a few far above, in every field: what
// each appends to a "1" already there. A refused character appends nothing
// and rings nothing; only Ctrl+V with nothing to paste rings.
TEST_F(EditFlowTest, AcceptsExactlyEachFieldsCharacters) {
    const std::string accepted[4] = {"", "0123456789", "0123456789ABCDEFabcdef", "01"};
    std::vector<int> characters = {0x10030, 0x10061, INT_MAX};
    for (int character = -2; character <= 300; ++character) {
        characters.push_back(character);
    }
    for (int mode = 1; mode <= 3; ++mode) {
        for (int character : characters) {
            SCOPED_TRACE("mode " + std::to_string(mode) + ", character " +
                         std::to_string(character));
            SetUp();
            enterText(mode, "1");
            typeAt(2, character);
            runPasses(2);
            std::string want = "1";
            if (character == 8) {
                want = "";
            } else if (character > 0 && character < 256 &&
                       accepted[mode].find(static_cast<char>(character)) != std::string::npos) {
                want += static_cast<char>(character >= 'a' ? character - 32 : character);
            }
            ASSERT_EQ(shownText(2, mode), want);
            ASSERT_EQ(standin::clipboardCallsNamed("bell").size(), character == 22 ? 1U : 0U);
        }
    }
}

// After a clamp the field holds "4294967295", and the next edit starts there.
TEST_F(EditFlowTest, ClampFeedsBackIntoEditing) {
    enterText(1, "4294967296");
    typeAt(12, 8);
    runPasses(12);
    EXPECT_EQ(shown[10].edit, "4294967296"); // measured as typed
    EXPECT_EQ(shownText(10, 1), "4294967295");
    EXPECT_EQ(shownText(10, 2), "FFFFFFFF");
    EXPECT_EQ(shownText(10, 3), ones32);
    EXPECT_EQ(shown[11].edit, "4294967295");
    EXPECT_EQ(shown[12].edit, "429496729");
    EXPECT_EQ(shownText(12, 1), "429496729");
    EXPECT_EQ(shownText(12, 2), "19999999");
    EXPECT_EQ(shownText(12, 3), "11001100110011001100110011001");
}

// The arrows step through the fields and wrap round, both held cancel out,
// and nothing is converted; editText, the row and the keypad follow the
// active field in every pass. Each press is a pass of its own, released in
// the pass after it.
TEST_F(EditFlowTest, ArrowsStepAndWrapAndTheFieldFollows) {
    enterText(2, "0A");
    const std::vector<int> arrows[] = {{down}, {down}, {down}, {up}, {up}, {up}, {down, up}};
    const int modes[] = {3, 1, 2, 1, 3, 2, 2};
    const char *texts[4] = {"", "10", "0A", "1010"};
    const auto pressPass = [](int i) { return 3 + 2 * i; };
    for (int i = 0; i < 7; ++i) {
        standin::pass(pressPass(i)).keysDown = arrows[i];
    }
    runPasses(pressPass(6));
    for (int i = 0; i < 7; ++i) {
        const Shown &seen = shown[pressPass(i)];
        const int m = modes[i];
        EXPECT_EQ(seen.mode, m) << i;
        EXPECT_EQ(seen.rowY, rowYOf[m]) << i;
        EXPECT_EQ(seen.keys, keysOf[m]) << i;
        EXPECT_EQ(seen.edit, texts[m]) << i;
        EXPECT_EQ(shownText(pressPass(i), 1), "10");
        EXPECT_EQ(shownText(pressPass(i), 2), "0A");
        EXPECT_EQ(shownText(pressPass(i), 3), "1010");
    }
}

} // namespace
