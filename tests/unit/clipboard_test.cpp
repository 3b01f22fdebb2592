// Copy and paste through whole passes of the real loop, with the clipboard
// scripted by the stand-in.
#include "clipboard_standin.h"
#include "convert/paste.h"
#include "harness.h"

#include <csignal>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace {

constexpr int copyChar = 3;
constexpr int pasteChar = 22;
const char *const bin32 = "10000000000000000000000000000001";
const char *const bin32Five = "00000000000000000000000000000101";

// Makes `mode` active and types `text` there from pass 1; then, with `to`,
// an arrow moves to field `to` in a pass of its own. Returns the next pass.
int prepare(int mode, const std::string &text, int to = 0) {
    chooseMode(mode);
    typeText(1, text);
    int next = text.empty() ? 2 : static_cast<int>(text.size()) + 1;
    if (to != 0) {
        standin::holdKey(next++, to == mode % 3 + 1 ? ALLEGRO_KEY_DOWN : ALLEGRO_KEY_UP);
    }
    return next;
}

std::vector<std::string> texts(int pass) {
    return {shownText(pass, 1), shownText(pass, 2), shownText(pass, 3)};
}

// The modifiers the X11 driver gives with character 3; Caps Lock adds its own.
constexpr unsigned ctrl = ALLEGRO_KEYMOD_CTRL;
constexpr unsigned ctrlShift = ALLEGRO_KEYMOD_CTRL | ALLEGRO_KEYMOD_SHIFT;

struct CopyCase {
    const char *name;
    int mode;
    const char *prep;
    int to; // field made active after typing; 0 stays
    const char *want;
    unsigned modifiers = 0;
};

void PrintTo(const CopyCase &c, std::ostream *os) {
    *os << c.name;
}

class CopyTest : public ProgramTest, public ::testing::WithParamInterface<CopyCase> {};

// The active row's text as shown is copied, and the pass draws and rests as
// one in which nothing was typed.
TEST_P(CopyTest, CopiesTheShownTextAndNothingElse) {
    const CopyCase &c = GetParam();
    const int act = prepare(c.mode, c.prep, c.to);
    standin::pass(act).events.push_back(standin::keyCharEvent(copyChar, 0, c.modifiers));
    ASSERT_EQ(runPasses(act + 1), 0);
    const std::vector<standin::ClipboardCall> copies = standin::clipboardCallsNamed("copy");
    ASSERT_EQ(copies.size(), 1U);
    EXPECT_EQ(copies[0].pass, act);
    EXPECT_EQ(copies[0].text, c.want);
    EXPECT_TRUE(standin::clipboardCallsNamed("paste").empty());
    EXPECT_TRUE(standin::clipboardCallsNamed("bell").empty());
    const std::vector<std::string> rows[2] = {rowsOf(act), rowsOf(act + 1)};
    const double rest = standin::restTotal(act);

    SetUp();
    prepare(c.mode, c.prep, c.to);
    ASSERT_EQ(runPasses(act + 1), 0);
    EXPECT_EQ(rows[0], rowsOf(act));
    EXPECT_EQ(rows[1], rowsOf(act + 1));
    EXPECT_EQ(rest, standin::restTotal(act));
}

// Pasted back into the row it came from, a copy shows the row as it was; an
// empty row comes back as its notation's zero, which the decimal row blanks.
TEST_P(CopyTest, PastedBackShowsTheSameText) {
    const CopyCase &c = GetParam();
    const int act = prepare(c.mode, c.prep, c.to);
    standin::pass(act).events.push_back(standin::keyCharEvent(copyChar, 0, c.modifiers));
    typeAt(act + 1, pasteChar);
    standin::setClipboardText(act + 1, c.want);
    ASSERT_EQ(runPasses(act + 1), 0);
    const int row = shown[act].mode;
    const std::string before = shownText(act, row);
    EXPECT_EQ(shownText(act + 1, row), before.empty() && row != 1 ? "0" : before);
}

const CopyCase copyCases[] = {
    {"DecTyped", 1, "255", 0, "255"},
    {"DecEmpty", 1, "", 0, "0"},
    {"DecZeroShownEmpty", 1, "0", 0, "0"},
    {"DecClamped", 1, "4294967296", 0, "4294967295"},
    {"HexLeadingZeros", 2, "00a", 0, "00A"},
    {"HexEmpty", 2, "", 0, "0"},
    {"BinLeadingZero", 3, "0101", 0, "0101"},
    {"BinEmpty", 3, "", 0, "0"},
    {"DecFromHex", 2, "00a", 1, "10"},
    {"HexFromDec", 1, "255", 2, "FF"},
    {"BinFromHex", 2, "00a", 3, "1010"},
    {"HexCtrl", 2, "00a", 0, "00A", ctrl},
    {"DecCode", 1, "255", 0, "255", ctrlShift},
    {"DecEmptyCode", 1, "", 0, "0", ctrlShift},
    {"HexCode", 2, "00a", 0, "0x00A", ctrlShift},
    {"HexEmptyCode", 2, "", 0, "0x0", ctrlShift},
    {"BinCode", 3, "0101", 0, "0b0101", ctrlShift},
    {"BinEmptyCode", 3, "", 0, "0b0", ctrlShift},
    {"HexCodeCapsLock", 2, "f", 0, "0xF", ctrlShift | ALLEGRO_KEYMOD_CAPSLOCK},
    {"BinCodeFromDec", 1, "5", 3, "0b101", ctrlShift},
};
INSTANTIATE_TEST_SUITE_P(Cases, CopyTest, ::testing::ValuesIn(copyCases),
                         [](const auto &info) { return std::string(info.param.name); });

// Each field starts active in pass 4 beside a stale text typed elsewhere
// (binary "01", hexadecimal "0A"), so a refused paste, which commits the
// field unchanged, shows as the stale text recomputed. No row that a paste
// is accepted in shows the same.
int staleStart(int mode) {
    return mode == 3 ? prepare(2, "0A", 3) : prepare(3, "01", mode);
}

const std::vector<std::string> decRefused = {"1", "1", "1"};
const std::vector<std::string> hexRefused = {"1", "1", "1"};
const std::vector<std::string> binRefused = {"10", "A", "1010"};
const std::vector<std::string> *const refusedIn[4] = {nullptr, &decRefused, &hexRefused,
                                                      &binRefused};

constexpr PasteReason accepted = PasteReason::accepted;
constexpr PasteReason strayCharacter = PasteReason::strayCharacter;
constexpr PasteReason misplacedSeparator = PasteReason::misplacedSeparator;
constexpr PasteReason aboveLargest = PasteReason::aboveLargest;
constexpr PasteReason noDigits = PasteReason::noDigits;

struct PasteCase {
    const char *name;
    int mode;
    const char *text; // nullptr: nothing to paste
    std::vector<std::string> want;
    PasteReason reason = accepted; // what the paste reader says of the text
};

void PrintTo(const PasteCase &c, std::ostream *os) {
    *os << c.name;
}

class PasteTest : public ProgramTest, public ::testing::WithParamInterface<PasteCase> {};

TEST_P(PasteTest, ShowsTheseTexts) {
    const PasteCase &c = GetParam();
    const int act = staleStart(c.mode);
    ASSERT_EQ(act, 4);
    typeAt(act, pasteChar);
    if (c.text != nullptr) {
        standin::setClipboardText(c.text);
    }
    ASSERT_EQ(runPasses(act), 0);
    EXPECT_EQ(texts(act), c.want);
    EXPECT_EQ(shown[act].mode, c.mode);
    const std::vector<standin::ClipboardCall> pastes = standin::clipboardCallsNamed("paste");
    ASSERT_EQ(pastes.size(), 1U);
    EXPECT_EQ(pastes[0].pass, act);
    // A refusal, and nothing else, rings once, in the pass of the paste.
    const std::size_t bells = c.want == *refusedIn[c.mode] ? 1 : 0;
    EXPECT_EQ(standin::clipboardCallsNamed("bell", act).size(), bells);
    EXPECT_EQ(standin::clipboardCallsNamed("bell").size(), bells);
    // The reader names the rule that refused the text: the one the command
    // line reports.
    if (c.text != nullptr) {
        PastedNumber number;
        EXPECT_EQ(readPastedNumber(c.text, c.mode, number).reason, c.reason);
    }
}
const std::vector<std::string> is255 = {"255", "FF", "11111111"};
const std::vector<std::string> is1234 = {"1234", "4D2", "10011010010"};
const std::vector<std::string> isMax = {"4294967295", "FFFFFFFF", ones32};
const std::vector<std::string> isZero = {"", "", ""};

const PasteCase pasteCases[] = {
    {"DecPlain", 1, "255", is255},
    {"DecSpaceAround", 1, " \t255\r\n", is255},
    {"DecLeadingZerosKept", 1, "007", {"007", "7", "111"}},
    {"DecCommaGroups", 1, "4,294,967,295", isMax},
    {"DecSpaceGroups", 1, "12 345", {"12345", "3039", "11000000111001"}},
    {"DecNoBreakSpace", 1,
     "1\xC2\xA0"
     "234",
     is1234},
    {"DecNarrowNoBreakSpace", 1,
     "1\xE2\x80\xAF"
     "234",
     is1234},
    {"DecFullFirstGroup", 1, "123,456", {"123456", "1E240", "11110001001000000"}},
    {"DecFullFirstGroupSpaces", 1, "999 999", {"999999", "F423F", "11110100001000111111"}},
    {"DecUnderscores", 1, "1_234_567", {"1234567", "12D687", "100101101011010000111"}},
    {"DecApostrophe", 1, "1'234", is1234},
    {"DecHexMarker", 1, "0x00FF", is255},
    {"DecHexSuffix", 1, "FFh", is255},
    {"DecBinaryMarker", 1, "0B101", {"5", "5", "101"}},
    {"DecFullLengthZerosKept", 1, "0000000042", {"0000000042", "2A", "101010"}},
    {"DecTooLongWrittenAnew", 1, "00000000042", {"42", "2A", "101010"}},
    {"DecZeroBlanked", 1, "0", isZero},
    {"DecHexZeroBlanked", 1, "0x0", isZero},
    {"DecZerosBlanked", 1, "000", isZero},
    {"DecGroupedZerosBlanked", 1, "0 000", isZero},
    {"DecCommaZerosBlanked", 1, "0,000", isZero},
    {"DecFullLengthZerosBlanked", 1, "0000000000", isZero},
    {"DecNothingToPaste", 1, nullptr, decRefused},
    {"DecEmpty", 1, "", decRefused, noDigits},
    {"DecBlank", 1, " \r\n", decRefused, noDigits},
    {"DecMinus", 1, "-5", decRefused, strayCharacter},
    {"DecPlus", 1, "+5", decRefused, strayCharacter},
    {"DecFraction", 1, "2.5", decRefused, strayCharacter},
    {"DecShortGroup", 1, "12 34", decRefused, misplacedSeparator},
    {"DecLongGroup", 1, "1,2345", decRefused, misplacedSeparator},
    {"DecLongFirstGroup", 1, "1234,567", decRefused, misplacedSeparator},
    {"DecDoubleSeparator", 1, "1,,234", decRefused, misplacedSeparator},
    {"DecSeparatorFirst", 1, "_123", decRefused, misplacedSeparator},
    {"DecSeparatorLast", 1, "123,", decRefused, misplacedSeparator},
    {"DecLetter", 1, "12a", decRefused, strayCharacter},
    {"DecTwoLines", 1, "1\n2", decRefused, strayCharacter},
    {"DecAboveMax", 1, "4294967296", decRefused, aboveLargest},
    {"DecHexAboveMax", 1, "0x100000000", decRefused, aboveLargest},
    // A fault of form is named before the size, wherever it stands.
    {"DecStrayPastTheLimit", 1, "99999999999.5", decRefused, strayCharacter},
    {"DecGroupPastTheLimit", 1, "99999999999,999", decRefused, misplacedSeparator},
    {"DecHexMarkerAlone", 1, "0x", decRefused, noDigits},
    {"DecSuffixAlone", 1, "h", decRefused, noDigits},
    {"DecBinaryMarkerAlone", 1, "0b", decRefused, noDigits},
    {"DecInvalidUtf8", 1,
     "1\xA0"
     "234",
     decRefused, strayCharacter},
    {"HexLower", 2, "ff", is255},
    {"HexMarkerZerosKept", 2, "0x00ff", {"255", "00FF", "11111111"}},
    {"HexSuffixZerosKept", 2, "00ffH", {"255", "00FF", "11111111"}},
    {"HexDigitsReadAsHex", 2, "255", {"597", "255", "1001010101"}},
    {"HexBinaryMarker", 2, "0b1010", {"10", "A", "1010"}},
    {"HexFullLengthZerosKept", 2, "0000FFFF", {"65535", "0000FFFF", "1111111111111111"}},
    {"HexTooLongWrittenAnew", 2, "0x0000000AB", {"171", "AB", "10101011"}},
    {"HexSpaceGroups", 2, "ab cd", {"43981", "ABCD", "1010101111001101"}},
    {"HexApostropheGroups", 2, "FF'FF", {"65535", "FFFF", "1111111111111111"}},
    {"HexMax", 2, "FFFF_FFFF", isMax},
    {"HexZeroShown", 2, "0x0", {"", "0", ""}},
    {"HexBinaryZeroWrittenAnew", 2, "0b0", {"", "0", ""}},
    {"HexAboveMax", 2, "1FFFFFFFF", hexRefused, aboveLargest},
    {"HexBadDigit", 2, "0xG", hexRefused, strayCharacter},
    {"HexComma", 2, "1,234", hexRefused, strayCharacter},
    {"HexSign", 2, "0x-1", hexRefused, strayCharacter},
    // The bytes between '9' and 'A' lie within '0'..'F' but are digits in no notation.
    {"HexColon", 2, "1:", hexRefused, strayCharacter},
    {"HexSemicolon", 2, "1;", hexRefused, strayCharacter},
    {"HexLessThan", 2, "1<", hexRefused, strayCharacter},
    {"HexEquals", 2, "1=", hexRefused, strayCharacter},
    {"HexGreaterThan", 2, "1>", hexRefused, strayCharacter},
    {"HexQuestionMark", 2, "1?", hexRefused, strayCharacter},
    {"HexAt", 2, "1@", hexRefused, strayCharacter},
    // After a zero digit the value stays 0, so only the reading of the byte
    // after it can refuse the text.
    {"HexColonAfterZero", 2, "0:", hexRefused, strayCharacter},
    {"DecBadHexDigitAfterZero", 1, "0x0g", decRefused, strayCharacter},
    {"HexBadDigitAfterZero", 2, "0x0g", hexRefused, strayCharacter},
    {"BinBadHexDigitAfterZero", 3, "0x0g", binRefused, strayCharacter},
    {"BinPlain", 3, "101", {"5", "5", "101"}},
    {"BinMarkerZerosKept", 3, "0b0101", {"5", "5", "0101"}},
    {"BinHexMarker", 3, "0xff", is255},
    {"BinHexSuffix", 3, "255h", {"597", "255", "1001010101"}},
    {"BinSpaceGroups", 3, "1111 0000", {"240", "F0", "11110000"}},
    {"BinApostropheGroups", 3, "1010'0101", {"165", "A5", "10100101"}},
    {"BinFull", 3, bin32, {"2147483649", "80000001", bin32}},
    {"BinFullLengthZerosKept", 3, bin32Five, {"5", "5", bin32Five}},
    {"BinTooLongWrittenAnew", 3, "0000000000000000000000000000000001", {"1", "1", "1"}},
    {"BinHexZeroWrittenAnew", 3, "0x0", {"", "", "0"}},
    {"BinDecimalDigit", 3, "2", binRefused, strayCharacter},
    {"BinDecimalDigitAfterZero", 3, "02", binRefused, strayCharacter},
    {"BinAboveMax", 3, "111111111111111111111111111111111", binRefused, aboveLargest},
    {"BinMarkerAlone", 3, "0b", binRefused, noDigits},
    {"BinNothingToPaste", 3, nullptr, binRefused},
};
INSTANTIATE_TEST_SUITE_P(Cases, PasteTest, ::testing::ValuesIn(pasteCases),
                         [](const auto &info) { return std::string(info.param.name); });

struct PasteClickCase {
    const char *name;
    int mode;  // active before the pass, and empty
    int click; // what the press acting in the paste's pass is over
    const char *text;
    std::vector<std::string> want;
    int active; // InputMode after the pass
};

void PrintTo(const PasteClickCase &c, std::ostream *os) {
    *os << c.name;
}

class PasteClickTest : public ProgramTest, public ::testing::WithParamInterface<PasteClickCase> {};

TEST_P(PasteClickTest, ShowsTheseTexts) {
    const PasteClickCase &c = GetParam();
    chooseMode(c.mode);
    pressAt(2, c.click);
    typeAt(3, pasteChar);
    standin::setClipboardText(3, c.text);
    ASSERT_EQ(runPasses(3), 0);
    EXPECT_EQ(texts(3), c.want);
    EXPECT_EQ(shown[3].mode, c.active);
}

const PasteClickCase pasteClickCases[] = {
    {"DecKeyAfterPaste", 1, key(3), "12", {"123", "7B", "1111011"}, 1},
    {"HexLetterKeyAfterPaste", 2, key(14), "0xA", {"174", "AE", "10101110"}, 2},
    {"KeyCutAtTheLimit", 1, key(5), "4294967295", isMax, 1},
    {"BackAfterPaste", 1, back, "1234", {"123", "7B", "1111011"}, 1},
    {"BackToZerosAfterPaste", 1, back, "0005", isZero, 1},
    {"ZeroKeyAfterPastedZeros", 1, key(0), "00", isZero, 1},
    {"KeyAfterRefusedPaste", 1, key(7), "x", {"7", "7", "111"}, 1},
    {"HexRowTakesPaste", 1, 2, "ff", is255, 2},
    {"BinRowTakesPaste", 1, 3, "101", {"5", "5", "101"}, 3},
};
INSTANTIATE_TEST_SUITE_P(Cases, PasteClickTest, ::testing::ValuesIn(pasteClickCases),
                         [](const auto &info) { return std::string(info.param.name); });

using ClipboardFlowTest = ProgramTest;

// Zeros that Backspace leaves of a pasted "0005" show as the empty row, and
// the next digit starts afresh rather than after them.
TEST_F(ClipboardFlowTest, BackspaceDownToZerosEmptiesTheRow) {
    typeAt(2, pasteChar);
    standin::setClipboardText(2, "0005");
    typeAt(3, 8);
    typeAt(4, '5');
    ASSERT_EQ(runPasses(4), 0);
    EXPECT_EQ(texts(2), (std::vector<std::string>{"0005", "5", "101"}));
    EXPECT_EQ(texts(3), isZero);
    EXPECT_EQ(texts(4), (std::vector<std::string>{"5", "5", "101"}));
}

// Every pass serves once, after its drain and just before its last rest,
// whatever it did; the hand-over comes once, after the last frame. The loop
// ends on a held Escape, a typed one, the exit button, and a SIGTERM that
// comes as the last frame is shown.
TEST_F(ClipboardFlowTest, ServesEveryPassAndHandsOverOnce) {
    for (int exit = 0; exit < 4; ++exit) {
        SCOPED_TRACE("exit " + std::to_string(exit));
        SetUp();
        standin::pass(2).events = {standin::keyDownEvent(), standin::keyCharEvent(copyChar),
                                   standin::keyUpEvent()};
        typeAt(3, pasteChar);
        standin::setClipboardText("42");
        pressAt(4, key(1));
        typeText(6, "12");
        int last = 8;
        if (exit == 1) {
            typeAt(last, 27);
        } else if (exit == 2) {
            const geometry::Spot exitSpot = geometry::buttonSpot(geometry::exitButton);
            standin::pointer(last - 1, exitSpot.x, exitSpot.y, 1);
        } else if (exit == 3) {
            standin::options().signalAt = {SIGTERM, last, "al_flip_display"};
        }
        ASSERT_EQ(runPasses(exit == 0 ? last : 20), exit == 3 ? 128 + SIGTERM : 0);
        const std::vector<standin::Call> &calls = standin::calls();
        const std::vector<standin::ClipboardCall> serves = standin::clipboardCallsNamed("serve");
        ASSERT_EQ(serves.size(), static_cast<std::size_t>(last));
        for (int pass = 1; pass <= last; ++pass) {
            const standin::ClipboardCall &serve = serves[pass - 1];
            ASSERT_EQ(serve.pass, pass);
            ASSERT_LT(serve.callsBefore, calls.size());
            EXPECT_EQ(calls[serve.callsBefore].name, "al_rest") << "pass " << pass;
            for (std::size_t i = serve.callsBefore + 1; i < calls.size(); ++i) {
                if (calls[i].pass == pass) {
                    EXPECT_NE(calls[i].name, "al_rest") << "pass " << pass;
                    EXPECT_NE(calls[i].name, "al_get_next_event") << "pass " << pass;
                }
            }
        }
        const std::vector<standin::ClipboardCall> handOvers =
            standin::clipboardCallsNamed("handOver");
        ASSERT_EQ(handOvers.size(), 1U);
        EXPECT_EQ(standin::clipboardCalls().back().name, "handOver");
        std::size_t lastFlip = 0;
        for (std::size_t i = 0; i < calls.size(); ++i) {
            lastFlip = calls[i].name == "al_flip_display" ? i : lastFlip;
        }
        EXPECT_GT(handOvers[0].callsBefore, lastFlip);
        EXPECT_EQ(standin::clipboardCallsNamed("copy").size(), 1U);
        EXPECT_EQ(standin::clipboardCallsNamed("paste").size(), 1U);
        EXPECT_TRUE(standin::clipboardCallsNamed("bell").empty());
        EXPECT_EQ(shownText(last, 1), "42112");
    }
}

} // namespace
