#include "app/arguments.h"

#include "convert/convert.h"

#include <algorithm>
#include <ostream>
#include <span>
#include <string>
#include <string_view>

namespace {

constexpr std::string_view programName = "ravuriradoz";
constexpr std::string_view helpOption = "--help";
constexpr std::string_view versionOption = "--version";
constexpr int usageStatus = 2; // a command line the program does not take

struct HelpRow {
    std::string_view left;  // a key or an option
    std::string_view right; // what it does
};

constexpr HelpRow keyRows[] = {
    {"strzałka w dół / w górę", "następny / poprzedni wiersz"},
    {"0-9", "dopisuje cyfrę (w wierszu dwójkowym tylko 0 i 1)"},
    {"a-f, A-F", "dopisuje cyfrę szesnastkową"},
    {"Backspace", "usuwa ostatnią cyfrę"},
    {"Escape", "kończy program"},
    {"Ctrl+C", "kopiuje tekst aktywnego wiersza do schowka"},
    {"Ctrl+Shift+C", "kopiuje go ze znacznikiem systemu (0x, 0b)"},
    {"Ctrl+V", "wkleja liczbę ze schowka do aktywnego wiersza"},
};

constexpr HelpRow optionRows[] = {
    {helpOption, "wypisuje tę pomoc i kończy"},
    {versionOption, "wypisuje nazwę i wersję programu i kończy"},
};

// Letters, not bytes: the Polish ones take two bytes of UTF-8 each.
std::size_t lettersIn(std::string_view text) {
    std::size_t letters = 0;
    for (const char byte : text) {
        letters += (static_cast<unsigned char>(byte) & 0xC0U) != 0x80U ? 1 : 0;
    }
    return letters;
}

std::size_t widestKey(std::span<const HelpRow> rows) {
    std::size_t widest = 0;
    for (const HelpRow &row : rows) {
        widest = std::max(widest, lettersIn(row.left));
    }
    return widest;
}

// What each row does starts `column` letters in, keys and options alike.
void printRows(std::ostream &out, std::span<const HelpRow> rows, std::size_t column) {
    for (const HelpRow &row : rows) {
        out << "  " << row.left << std::string(column - lettersIn(row.left), ' ') << row.right
            << '\n';
    }
}

void printHelp(std::ostream &out) {
    const std::size_t column = std::max(widestKey(keyRows), widestKey(optionRows)) + 2;
    out << "Użycie: " << programName << " [" << helpOption << " | " << versionOption << "]\n\n"
        << "Przelicza na bieżąco liczbę od 0 do " << largestValue << " między systemem\n"
        << "dziesiętnym, szesnastkowym i dwójkowym. Bez argumentów otwiera okno.\n\n"
        << "Klawisze:\n";
    printRows(out, keyRows, column);
    out << "\nOpcje:\n";
    printRows(out, optionRows, column);
}

} // namespace

int answerArguments(int argc, const char *const argv[], const char *version, std::ostream &out,
                    std::ostream &err) {
    if (argc <= 1) {
        return openWindow;
    }
    const std::string_view first = argv[1];
    if (argc == 2 && first == versionOption) {
        out << programName << ' ' << version << '\n';
        return 0;
    }
    if (argc == 2 && first == helpOption) {
        printHelp(out);
        return 0;
    }
    // An option takes nothing after it, so the stray one is the first that
    // is not a known option, or the one after it.
    const bool known = first == helpOption || first == versionOption;
    err << programName << ": nieoczekiwany argument „" << argv[known ? 2 : 1]
        << "”; spróbuj: " << programName << ' ' << helpOption << '\n';
    return usageStatus;
}
