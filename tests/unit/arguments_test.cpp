// The command line, answered before the library is touched.
#include "app/arguments.h"
#include "harness.h"
#include "standin.h"

#include <gtest/gtest.h>

#include <ostream>
#include <sstream>
#include <streambuf>
#include <string>
#include <vector>

namespace {

struct ArgumentCase {
    const char *name;
    std::vector<const char *> arguments; // after the program's name
    int status;
    std::string out; // the whole of standard output
    std::string err; // the whole of standard error
};

void PrintTo(const ArgumentCase &c, std::ostream *os) {
    *os << c.name;
}

// Runs the command line with `arguments` after the program's name.
int answer(const std::vector<const char *> &arguments, std::ostream &out, std::ostream &err) {
    std::vector<const char *> argv = {"ravuriradoz"};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    argv.push_back(nullptr); // as the system ends argv
    return answerArguments(static_cast<int>(argv.size()) - 1, argv.data(), "9.8.7", out, err);
}

// The one line that names a stray argument, with the hint.
std::string stray(const std::string &argument) {
    return "ravuriradoz: nieoczekiwany argument „" + argument + "”; spróbuj: ravuriradoz --help\n";
}

// One converted number's line, as Ctrl+Shift+C copies each notation.
std::string line(const std::string &decimal, const std::string &hex, const std::string &binary) {
    return decimal + "\t" + hex + "\t" + binary + "\n";
}

// The line that names a refused number and the rule that refused it; a
// number in a message is shown with its control characters escaped.
std::string refused(const std::string &shown, const std::string &why) {
    return "ravuriradoz: „" + shown + "”: " + why + "\n";
}
std::string strayCharacter(const std::string &shown, const std::string &character,
                           const std::string &digit = "dziesiętną") {
    return refused(shown, "znak „" + character + "” nie jest cyfrą " + digit + " ani separatorem");
}
std::string misplaced(const std::string &shown) {
    return refused(shown, "separator nie na miejscu (tylko pojedynczo między cyframi, "
                          "w liczbie dziesiętnej co trzy cyfry)");
}
std::string above(const std::string &shown) {
    return refused(shown, "liczba większa niż 4294967295");
}
std::string noDigits(const std::string &shown) {
    return refused(shown, "brak cyfr");
}

const std::string is255 = line("255", "0xFF", "0b11111111");
const std::string isMax = line("4294967295", "0xFFFFFFFF", std::string("0b") + ones32);
const std::string isZero = line("0", "0x0", "0b0");

// The help as a person reads it, whole: moving any column, line or word
// shows here.
const std::string wholeHelp =
    "Użycie: ravuriradoz [--help | --version]\n"
    "        ravuriradoz [--] LICZBA...\n"
    "\n"
    "Przelicza na bieżąco liczbę od 0 do 4294967295 między systemem\n"
    "dziesiętnym, szesnastkowym i dwójkowym. Bez argumentów otwiera okno.\n"
    "\n"
    "Podane liczby przelicza w terminalu, bez okna: każdą w jednym wierszu,\n"
    "dziesiętnie, szesnastkowo i dwójkowo, rozdzielone tabulatorem. Czyta je\n"
    "jak wklejone do wiersza dziesiętnego: ze znacznikiem 0x, 0b, h lub bez,\n"
    "z cyframi w grupach rozdzielonych spacją, _, ' lub przecinkiem\n"
    "(w liczbie dziesiętnej po trzy cyfry). Liczbę, której nie przyjmuje,\n"
    "opisuje na standardowym wyjściu błędów, a pozostałe i tak przelicza.\n"
    "\n"
    "Klawisze i mysz w oknie:\n"
    "  strzałka w dół / w górę         następny / poprzedni wiersz, w kółko\n"
    "  kliknięcie wiersza              uaktywnia ten wiersz\n"
    "  0-9                             dopisuje cyfrę (wiersz dziesiętny\n"
    "                                  i szesnastkowy)\n"
    "  a-f, A-F                        dopisuje cyfrę szesnastkową, pokazaną\n"
    "                                  wielką literą (wiersz szesnastkowy)\n"
    "  0, 1                            dopisuje bit (wiersz dwójkowy)\n"
    "  kliknięcie wypukłego klawisza   dopisuje jego cyfrę\n"
    "  Backspace, kliknięcie „COFNIJ”  usuwa ostatnią cyfrę\n"
    "  Escape, kliknięcie „WYJDŹ”      kończy program\n"
    "  Ctrl+C                          kopiuje tekst aktywnego wiersza do schowka\n"
    "                                  (pusty wiersz kopiuje 0)\n"
    "  Ctrl+Shift+C                    kopiuje go ze znacznikiem systemu (0x, 0b)\n"
    "  Ctrl+V                          wkleja liczbę ze schowka do aktywnego\n"
    "                                  wiersza; odrzuconą zgłasza dzwonkiem\n"
    "\n"
    "Opcje:\n"
    "  --help                          wypisuje tę pomoc i kończy\n"
    "  --version                       wypisuje nazwę i wersję programu i kończy\n"
    "  --                              kończy opcje: każde dalsze słowo to liczba\n"
    "\n"
    "Przykłady:\n"
    "  $ ravuriradoz 48879 0x1F '1 000 000'\n"
    "  48879\t0xBEEF\t0b1011111011101111\n"
    "  31\t0x1F\t0b11111\n"
    "  1000000\t0xF4240\t0b11110100001001000000\n"
    "  $ ravuriradoz -- -1\n"
    "  ravuriradoz: „-1”: znak „-” nie jest cyfrą dziesiętną ani separatorem\n"
    "\n"
    "Stan wyjścia: 0, gdy wszystko się udało; 1, gdy liczba została odrzucona,\n"
    "zapis się nie powiódł, okno się nie otworzyło albo utraciło ekran\n"
    "graficzny; 2 przy błędnym wywołaniu; 128+n, gdy zakończył je sygnał n\n"
    "(SIGTERM, SIGHUP, SIGINT: jak Escape, skopiowana liczba trafia do\n"
    "menedżera schowka).\n";

class ArgumentsTest : public ::testing::TestWithParam<ArgumentCase> {};

TEST_P(ArgumentsTest, AnswersWithThisStatusAndText) {
    const ArgumentCase &c = GetParam();
    std::ostringstream out;
    std::ostringstream err;
    standin::reset();
    EXPECT_EQ(answer(c.arguments, out, err), c.status);
    EXPECT_EQ(out.str(), c.out);
    EXPECT_EQ(err.str(), c.err);
    EXPECT_TRUE(standin::calls().empty()) << "the library was called";
}

// An option stands alone, and anything before "--" that begins with "-" is
// one; every other word is a number, read as a paste into the decimal row.
const ArgumentCase argumentCases[] = {
    {"None", {}, openWindow, "", ""},
    {"Version", {"--version"}, 0, "ravuriradoz 9.8.7\n", ""},
    {"Help", {"--help"}, 0, wholeHelp, ""},
    {"Unknown", {"--verbose"}, 2, "", stray("--verbose")},
    {"ShortHelp", {"-h"}, 2, "", stray("-h")},
    {"HelpInCapitals", {"--HELP"}, 2, "", stray("--HELP")},
    {"HelpPrefix", {"--hel"}, 2, "", stray("--hel")},
    {"Empty", {""}, 1, "", noDigits("")},
    {"FileName", {"liczby.txt"}, 1, "", strayCharacter("liczby.txt", "l")},
    {"UnknownBeforeHelp", {"-x", "--help"}, 2, "", stray("-x")},
    {"AfterHelp", {"--help", "x"}, 2, "", stray("x")},
    {"AfterVersion", {"--version", "--version"}, 2, "", stray("--version")},
    {"HelpAfterVersion", {"--version", "--help"}, 2, "", stray("--help")},
    {"StrayOptionOnOneLine", {"-\n"}, 2, "", stray("-\\n")},
    // The README's paste table, read with the decimal row active.
    {"PasteSpaceAndCommaGroups", {"4 294 967 295", "4,294,967,295"}, 0, isMax + isMax, ""},
    {"PasteHexMarkerAndSuffix", {"0xFF", "FFh", "ffH"}, 0, is255 + is255 + is255, ""},
    {"PasteBinaryMarker", {"0b0000_1010"}, 0, line("10", "0xA", "0b1010"), ""},
    {"PasteHexGroupsNeedAMarker",
     {"DEAD'BEEF", "0xdead_beef"},
     1,
     line("3735928559", "0xDEADBEEF", "0b11011110101011011011111011101111"),
     strayCharacter("DEAD'BEEF", "D")},
    {"PasteSuffixBeatsBinaryMarker", {"0B1Fh"}, 0, line("2847", "0xB1F", "0b101100011111"), ""},
    {"PasteLongHex", {"0x0000_0000_FFFF_FFFF"}, 0, isMax, ""},
    {"PasteZeros", {"0", "000", "0 000"}, 0, isZero + isZero + isZero, ""},
    {"PasteRefused",
     {"--", "12 34", "1,5", "-1", "4294967296", "0x"},
     1,
     "",
     misplaced("12 34") + misplaced("1,5") + strayCharacter("-1", "-") + above("4294967296") +
         noDigits("0x")},
    // A refused number among good ones: each named once, the rest converted in order.
    {"RefusedAmongGood",
     {"7", "12a", "0x10", "", "65535"},
     1,
     line("7", "0x7", "0b111") + line("16", "0x10", "0b10000") +
         line("65535", "0xFFFF", std::string("0b") + (ones32 + 16)),
     strayCharacter("12a", "a") + noDigits("")},
    // Each rule's refusal, the stray character named as the notation reads it.
    {"MarkersAndBlanksAlone",
     {" \t", "h", "0b", "0x_"},
     1,
     "",
     noDigits(" \\t") + noDigits("h") + noDigits("0b") + misplaced("0x_")},
    {"StrayInTheMarkedNotation",
     {"0x1G", "0b12", "0x1Fh"},
     1,
     "",
     strayCharacter("0x1G", "G", "szesnastkową") + strayCharacter("0b12", "2", "dwójkową") +
         strayCharacter("0x1Fh", "x", "szesnastkową")},
    {"StrayCharactersShown",
     {"1\t2",
      "1\xA0"
      "234",
      "1é", "2\x7F"},
     1,
     "",
     strayCharacter("1\\t2", "\\t") + strayCharacter("1\\xA0234", "\\xA0") +
         strayCharacter("1é", "é") + strayCharacter("2\\x7F", "\\x7F")},
    // Only whole, well-formed UTF-8 is shown as it is: not a character cut
    // short, nor one written too long, nor half of a UTF-16 pair, nor one
    // past U+10FFFF.
    {"UnicodeShownOnlyWhenWellFormed",
     {"\xC3", "\xE0\x80\xB1", "\xED\xA0\x80", "\xF0\x9F\x98\x80", "\xF4\x90\x80\x80"},
     1,
     "",
     strayCharacter("\\xC3", "\\xC3") + strayCharacter(R"(\xE0\x80\xB1)", "\\xE0") +
         strayCharacter(R"(\xED\xA0\x80)", "\\xED") +
         strayCharacter("\xF0\x9F\x98\x80", "\xF0\x9F\x98\x80") +
         strayCharacter(R"(\xF4\x90\x80\x80)", "\\xF4")},
    {"FormBeforeSize",
     {"99999999999.5", "99999999999,999", "0x100000000"},
     1,
     "",
     strayCharacter("99999999999.5", ".") + misplaced("99999999999,999") + above("0x100000000")},
    // "--" ends the options once; alone it is as no arguments at all.
    {"EndOfOptionsAlone", {"--"}, openWindow, "", ""},
    {"NegativeAfterEnd", {"--", "-1"}, 1, "", strayCharacter("-1", "-")},
    {"NegativeIsAnOption", {"-1"}, 2, "", stray("-1")},
    {"OptionAfterNumber", {"5", "-1"}, 2, "", stray("-1")},
    {"HelpAfterNumber", {"5", "--help"}, 2, "", stray("--help")},
    {"NumberAfterVersion", {"--version", "5"}, 2, "", stray("5")},
    {"EndAfterHelp", {"--help", "--"}, 2, "", stray("--")},
    {"DashAlone", {"-"}, 2, "", stray("-")},
    {"NumberAfterEnd", {"--", "5"}, 0, line("5", "0x5", "0b101"), ""},
    {"EndAfterNumbers",
     {"5", "--", "--help", "--"},
     1,
     line("5", "0x5", "0b101"),
     strayCharacter("--help", "-") + strayCharacter("--", "-")},
};
INSTANTIATE_TEST_SUITE_P(Cases, ArgumentsTest, ::testing::ValuesIn(argumentCases),
                         [](const auto &info) { return std::string(info.param.name); });

// Lines and refusals come out in the order of the numbers given.
TEST(ArgumentsOrderTest, RefusalsStandBetweenTheLinesInOrder) {
    std::ostringstream both;
    EXPECT_EQ(answer({"1", "x", "2", "1e3"}, both, both), 1);
    EXPECT_EQ(both.str(), line("1", "0x1", "0b1") + strayCharacter("x", "x") +
                              line("2", "0x2", "0b10") + strayCharacter("1e3", "e"));
}

// Letters, not bytes.
std::size_t lettersIn(const std::string &text) {
    std::size_t letters = 0;
    for (const char byte : text) {
        letters += (static_cast<unsigned char>(byte) & 0xC0U) != 0x80U ? 1 : 0;
    }
    return letters;
}

// Every line of the two tables, and each line a description goes on in,
// has its description start in one column; no line is wider than a
// terminal of 80.
TEST(HelpTest, DescriptionsShareOneColumnWithinEightyLetters) {
    std::ostringstream out;
    std::ostringstream err;
    ASSERT_EQ(answer({"--help"}, out, err), 0);
    std::istringstream help(out.str());
    std::size_t column = 0;
    std::size_t tableLines = 0;
    bool inTable = false;
    for (std::string text; std::getline(help, text);) {
        EXPECT_LE(lettersIn(text), 80U) << text;
        if (text == "Klawisze i mysz w oknie:" || text == "Opcje:") {
            inTable = true;
            continue;
        }
        inTable = inTable && !text.empty();
        if (!inTable) {
            continue;
        }
        const std::size_t gap = text.find("  ", 2);
        const std::size_t start = text.find_first_not_of(' ', gap);
        ASSERT_NE(start, std::string::npos) << text;
        column = column == 0 ? lettersIn(text.substr(0, start)) : column;
        EXPECT_EQ(lettersIn(text.substr(0, start)), column) << text;
        ++tableLines;
    }
    EXPECT_EQ(tableLines, 11U + 4U + 3U); // keys, their lines going on, options
}

// A stream buffer for a file that takes no bytes: at once, as a closed
// stdout does, or only when flushed, as a full disk behind a buffer does.
class RefusingBuffer : public std::streambuf {
  public:
    explicit RefusingBuffer(bool atFlush) : atFlush(atFlush) {}

  protected:
    int_type overflow(int_type character) override {
        held = true;
        return atFlush ? traits_type::not_eof(character) : traits_type::eof();
    }
    int sync() override { return atFlush && held ? -1 : 0; }

  private:
    bool atFlush;
    bool held = false;
};

const std::string writeError = "ravuriradoz: błąd zapisu na standardowe wyjście\n";

class WriteFailureTest : public ::testing::TestWithParam<ArgumentCase> {};

// Output lost is reported once, after whatever was refused, with status 1;
// a usage error, which writes no output, keeps its 2.
TEST_P(WriteFailureTest, ReportsTheLostOutput) {
    const ArgumentCase &c = GetParam();
    for (const bool atFlush : {false, true}) {
        SCOPED_TRACE(atFlush ? "fails when flushed" : "fails at once");
        RefusingBuffer buffer(atFlush);
        std::ostream out(&buffer);
        std::ostringstream err;
        EXPECT_EQ(answer(c.arguments, out, err), c.status);
        EXPECT_EQ(err.str(), c.err);
    }
}

const ArgumentCase writeFailureCases[] = {
    {"Version", {"--version"}, 1, "", writeError},
    {"Help", {"--help"}, 1, "", writeError},
    {"Conversion", {"48879"}, 1, "", writeError},
    {"RefusedThenConverted", {"x", "5"}, 1, "", strayCharacter("x", "x") + writeError},
    {"RefusedOnly", {"x"}, 1, "", strayCharacter("x", "x")},
    {"UsageError", {"-x", "5"}, 2, "", stray("-x")},
};
INSTANTIATE_TEST_SUITE_P(Cases, WriteFailureTest, ::testing::ValuesIn(writeFailureCases),
                         [](const auto &info) { return std::string(info.param.name); });

} // namespace
