// The command line, answered before the library is touched.
#include "app/arguments.h"
#include "standin.h"

#include <gtest/gtest.h>

#include <ostream>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct ArgumentCase {
    const char *name;
    std::vector<const char *> arguments; // after the program's name
    int status;
    const char *out; // the whole of standard output; nullptr: the help
    std::string err; // the whole of standard error
};

void PrintTo(const ArgumentCase &c, std::ostream *os) {
    *os << c.name;
}

// The one line that names a stray argument, with the hint.
std::string stray(const std::string &argument) {
    return "ravuriradoz: nieoczekiwany argument „" + argument + "”; spróbuj: ravuriradoz --help\n";
}

// The help's tables, each row as a key and what it does: the first line
// after each heading up to the blank line or the end.
std::vector<std::string> tableLines(const std::string &help, const std::string &heading) {
    std::vector<std::string> lines;
    std::istringstream text(help.substr(help.find(heading + "\n") + heading.size() + 1));
    for (std::string line; std::getline(text, line) && !line.empty();) {
        lines.push_back(line);
    }
    return lines;
}

// Where the second column of a table line starts, in letters.
std::size_t secondColumn(const std::string &line) {
    const std::size_t gap = line.find("  ", 2);
    const std::size_t start = line.find_first_not_of(' ', gap);
    std::size_t letters = 0;
    for (std::size_t i = 0; i < start; ++i) {
        letters += (static_cast<unsigned char>(line[i]) & 0xC0U) != 0x80U ? 1 : 0;
    }
    return letters;
}

class ArgumentsTest : public ::testing::TestWithParam<ArgumentCase> {};

TEST_P(ArgumentsTest, AnswersWithThisStatusAndText) {
    const ArgumentCase &c = GetParam();
    std::vector<const char *> argv = {"ravuriradoz"};
    argv.insert(argv.end(), c.arguments.begin(), c.arguments.end());
    argv.push_back(nullptr); // as the system ends argv
    std::ostringstream out;
    std::ostringstream err;
    standin::reset();
    const int status =
        answerArguments(static_cast<int>(argv.size()) - 1, argv.data(), "9.8.7", out, err);
    EXPECT_EQ(status, c.status);
    EXPECT_EQ(err.str(), c.err);
    EXPECT_TRUE(standin::calls().empty()) << "the library was called";
    if (c.out != nullptr) {
        EXPECT_EQ(out.str(), c.out);
        return;
    }
    const std::string help = out.str();
    EXPECT_EQ(help.rfind("Użycie: ravuriradoz [--help | --version]\n\n", 0), 0U) << help;
    // The keys' table, then the options', in one column.
    const std::vector<std::string> lefts = {"strzałka w dół / w górę",
                                            "0-9",
                                            "a-f, A-F",
                                            "Backspace",
                                            "Escape",
                                            "Ctrl+C",
                                            "Ctrl+Shift+C",
                                            "Ctrl+V",
                                            "--help",
                                            "--version"};
    std::vector<std::string> lines = tableLines(help, "Klawisze:");
    EXPECT_EQ(lines.size(), 8U) << help;
    const std::vector<std::string> options = tableLines(help, "Opcje:");
    lines.insert(lines.end(), options.begin(), options.end());
    ASSERT_EQ(lines.size(), lefts.size()) << help;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        EXPECT_EQ(lines[i].rfind("  " + lefts[i] + "  ", 0), 0U) << lines[i];
        EXPECT_EQ(secondColumn(lines[i]), secondColumn(lines[0])) << lines[i];
    }
}

// An option takes nothing after it; anything else is named, whatever follows.
const ArgumentCase argumentCases[] = {
    {"None", {}, openWindow, "", ""},
    {"Version", {"--version"}, 0, "ravuriradoz 9.8.7\n", ""},
    {"Help", {"--help"}, 0, nullptr, ""},
    {"Unknown", {"--verbose"}, 2, "", stray("--verbose")},
    {"ShortHelp", {"-h"}, 2, "", stray("-h")},
    {"HelpInCapitals", {"--HELP"}, 2, "", stray("--HELP")},
    {"HelpPrefix", {"--hel"}, 2, "", stray("--hel")},
    {"Empty", {""}, 2, "", stray("")},
    {"FileName", {"liczby.txt"}, 2, "", stray("liczby.txt")},
    {"UnknownBeforeHelp", {"-x", "--help"}, 2, "", stray("-x")},
    {"AfterHelp", {"--help", "x"}, 2, "", stray("x")},
    {"AfterVersion", {"--version", "--version"}, 2, "", stray("--version")},
    {"HelpAfterVersion", {"--version", "--help"}, 2, "", stray("--help")},
};
INSTANTIATE_TEST_SUITE_P(Cases, ArgumentsTest, ::testing::ValuesIn(argumentCases),
                         [](const auto &info) { return std::string(info.param.name); });

} // namespace
