#include "app/arguments.h"

#include "convert/convert.h"
#include "convert/paste.h"
#include "data/layout.h"
#include "data/tables.h"

#include <algorithm>
#include <cstdint>
#include <ostream>
#include <span>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr std::string_view helpOption = "--help";
constexpr std::string_view versionOption = "--version";
constexpr std::string_view endOfOptions = "--"; // every word after it is a number
constexpr int failedStatus = 1; // a number refused, or output that never reached its file
constexpr int usageStatus = 2;  // a command line the program does not take

using Words = std::span<const std::string_view>;

constexpr std::string_view rowIndent = "  "; // of the help's tables and examples

struct HelpRow {
    std::string_view left;  // a key, a mouse action or an option
    std::string_view right; // what it does; a line break goes on in the same column
    int button = 0;         // a button whose caption, quoted, ends the left side
};

// The README's table of input, in its order.
constexpr HelpRow keyRows[] = {
    {"strzałka w dół / w górę", "następny / poprzedni wiersz, w kółko"},
    {"kliknięcie wiersza", "uaktywnia ten wiersz"},
    {"0-9", "dopisuje cyfrę (wiersz dziesiętny\ni szesnastkowy)"},
    {"a-f, A-F", "dopisuje cyfrę szesnastkową, pokazaną\nwielką literą (wiersz szesnastkowy)"},
    {"0, 1", "dopisuje bit (wiersz dwójkowy)"},
    {"kliknięcie wypukłego klawisza", "dopisuje jego cyfrę"},
    {"Backspace, kliknięcie ", "usuwa ostatnią cyfrę", targetBackButton},
    {"Escape, kliknięcie ", "kończy program", targetExitButton},
    {"Ctrl+C", "kopiuje tekst aktywnego wiersza do schowka\n(pusty wiersz kopiuje 0)"},
    {"Ctrl+Shift+C", "kopiuje go ze znacznikiem systemu (0x, 0b)"},
    {"Ctrl+V", "wkleja liczbę ze schowka do aktywnego\nwiersza; odrzuconą zgłasza dzwonkiem"},
};

constexpr HelpRow optionRows[] = {
    {helpOption, "wypisuje tę pomoc i kończy"},
    {versionOption, "wypisuje nazwę i wersję programu i kończy"},
    {endOfOptions, "kończy opcje: każde dalsze słowo to liczba"},
};

// Command lines the help shows, as the shell hands them over; what they
// print is worked out by the program itself as the help is printed.
constexpr std::string_view firstExample[] = {"48879", "0x1F", "1 000 000"};
constexpr std::string_view secondExample[] = {endOfOptions, "-1"};
constexpr Words examples[] = {firstExample, secondExample};

// By notation: its digit, as a refusal names it.
constexpr std::string_view digitNames[] = {"", "dziesiętną", "szesnastkową", "dwójkową"};

// Unicode's well-formed UTF-8: a lead byte in first..last begins a
// character of `length` bytes whose second lies in low..high.
struct Utf8Lead {
    unsigned char first, last, length, low, high;
};
constexpr Utf8Lead utf8Leads[] = {
    {0xC2, 0xDF, 2, 0x80, 0xBF}, {0xE0, 0xE0, 3, 0xA0, 0xBF}, {0xE1, 0xEC, 3, 0x80, 0xBF},
    {0xED, 0xED, 3, 0x80, 0x9F}, {0xEE, 0xEF, 3, 0x80, 0xBF}, {0xF0, 0xF0, 4, 0x90, 0xBF},
    {0xF1, 0xF3, 4, 0x80, 0xBF}, {0xF4, 0xF4, 4, 0x80, 0x8F},
};

// The bytes of the character starting at `at`; 0 when they are no UTF-8.
std::size_t utf8Length(std::string_view text, std::size_t at) {
    const auto lead = static_cast<unsigned char>(text[at]);
    if (lead < 0x80) {
        return 1;
    }
    for (const Utf8Lead &range : utf8Leads) {
        if (lead < range.first || lead > range.last) {
            continue;
        }
        if (text.size() - at < range.length) {
            return 0;
        }
        const auto second = static_cast<unsigned char>(text[at + 1]);
        bool whole = second >= range.low && second <= range.high;
        for (std::size_t next = 2; next < range.length; ++next) {
            whole = whole && (static_cast<unsigned char>(text[at + next]) & 0xC0U) == 0x80U;
        }
        return whole ? range.length : 0;
    }
    return 0;
}

// A word as a message quotes it, on one line and readable: control
// characters and bytes that are no UTF-8 in C escapes.
std::string shown(std::string_view word) {
    constexpr char hexDigits[] = "0123456789ABCDEF";
    std::string text;
    std::size_t at = 0;
    while (at < word.size()) {
        const auto byte = static_cast<unsigned char>(word[at]);
        const std::size_t length = utf8Length(word, at);
        if (length > 1 || (length == 1 && byte >= 0x20 && byte != 0x7F)) {
            text += word.substr(at, length);
            at += length;
            continue;
        }
        switch (byte) {
        case '\t':
            text += "\\t";
            break;
        case '\n':
            text += "\\n";
            break;
        case '\r':
            text += "\\r";
            break;
        default:
            text += {'\\', 'x', hexDigits[byte >> 4U], hexDigits[byte & 0xFU]};
        }
        ++at;
    }
    return text;
}

// Letters, not bytes: the Polish ones take two bytes of UTF-8 each.
std::size_t lettersIn(std::string_view text) {
    std::size_t letters = 0;
    for (const char byte : text) {
        letters += (static_cast<unsigned char>(byte) & 0xC0U) != 0x80U ? 1 : 0;
    }
    return letters;
}

std::string leftSide(const HelpRow &row) {
    std::string left(row.left);
    if (row.button != 0) {
        left += "„" + labelTable[row.button] + "”";
    }
    return left;
}

std::size_t widestKey(std::span<const HelpRow> rows) {
    std::size_t widest = 0;
    for (const HelpRow &row : rows) {
        widest = std::max(widest, lettersIn(leftSide(row)));
    }
    return widest;
}

// What each row does starts `column` letters in, keys and options alike,
// and so does each further line of it.
void printRows(std::ostream &out, std::span<const HelpRow> rows, std::size_t column) {
    for (const HelpRow &row : rows) {
        const std::string left = leftSide(row);
        out << rowIndent << left << std::string(column - lettersIn(left), ' ');
        for (const char character : row.right) {
            out << character;
            if (character == '\n') {
                out << std::string(rowIndent.size() + column, ' ');
            }
        }
        out << '\n';
    }
}

// The one line that says why `word` is no number.
void nameRefusal(std::ostream &err, std::string_view word, const PasteVerdict &verdict) {
    err << programName << ": „" << shown(word) << "”: ";
    switch (verdict.reason) {
    case PasteReason::strayCharacter:
        err << "znak „"
            << shown(
                   word.substr(verdict.at, std::max(utf8Length(word, verdict.at), std::size_t{1})))
            << "” nie jest cyfrą " << digitNames[verdict.notation] << " ani separatorem";
        break;
    case PasteReason::misplacedSeparator:
        err << "separator nie na miejscu (tylko pojedynczo między cyframi, "
               "w liczbie dziesiętnej co trzy cyfry)";
        break;
    case PasteReason::aboveLargest:
        err << "liczba większa niż " << largestValue;
        break;
    case PasteReason::noDigits:
        err << "brak cyfr";
        break;
    case PasteReason::accepted:
        break;
    }
    err << '\n';
}

// The value in each notation as Ctrl+Shift+C copies it, tab-separated.
void printConversion(std::ostream &out, std::uint64_t value) {
    for (int notation = decimalMode; notation <= binaryMode; ++notation) {
        out << (notation == decimalMode ? "" : "\t") << notationTable[notation].marker
            << writtenIn(notation, value);
    }
    out << '\n';
}

// Each word read as a paste into the decimal row; the first "--" is none.
int convertNumbers(Words words, std::ostream &out, std::ostream &err) {
    int status = 0;
    bool optionsEnded = false;
    for (const std::string_view word : words) {
        if (!optionsEnded && word == endOfOptions) {
            optionsEnded = true;
            continue;
        }
        PastedNumber number;
        const PasteVerdict verdict = readPastedNumber(std::string(word), decimalMode, number);
        if (verdict.reason == PasteReason::accepted) {
            printConversion(out, number.value);
        } else {
            nameRefusal(err, word, verdict);
            status = failedStatus;
        }
    }
    return status;
}

// Shell quotes around a word that holds a space.
void printExample(std::ostream &out, Words words) {
    out << rowIndent << "$ " << programName;
    for (const std::string_view word : words) {
        const bool quoted = word.find(' ') != std::string_view::npos;
        out << ' ' << (quoted ? "'" : "") << word << (quoted ? "'" : "");
    }
    std::ostringstream answer;
    convertNumbers(words, answer, answer);
    std::istringstream lines(answer.str());
    for (std::string line; std::getline(lines, line);) {
        out << '\n' << rowIndent << line;
    }
    out << '\n';
}

void printHelp(std::ostream &out) {
    const std::size_t column = std::max(widestKey(keyRows), widestKey(optionRows)) + 2;
    out << "Użycie: " << programName << " [" << helpOption << " | " << versionOption << "]\n"
        << "        " << programName << " [" << endOfOptions << "] LICZBA...\n\n"
        << "Przelicza na bieżąco liczbę od 0 do " << largestValue << " między systemem\n"
        << "dziesiętnym, szesnastkowym i dwójkowym. Bez argumentów otwiera okno.\n\n"
        << "Podane liczby przelicza w terminalu, bez okna: każdą w jednym wierszu,\n"
        << "dziesiętnie, szesnastkowo i dwójkowo, rozdzielone tabulatorem. Czyta je\n"
        << "jak wklejone do wiersza dziesiętnego: ze znacznikiem 0x, 0b, h lub bez,\n"
        << "z cyframi w grupach rozdzielonych spacją, _, ' lub przecinkiem\n"
        << "(w liczbie dziesiętnej po trzy cyfry). Liczbę, której nie przyjmuje,\n"
        << "opisuje na standardowym wyjściu błędów, a pozostałe i tak przelicza.\n\n"
        << "Klawisze i mysz w oknie:\n";
    printRows(out, keyRows, column);
    out << "\nOpcje:\n";
    printRows(out, optionRows, column);
    out << "\nPrzykłady:\n";
    for (const Words example : examples) {
        printExample(out, example);
    }
    out << "\nStan wyjścia: 0, gdy wszystko się udało; " << failedStatus
        << ", gdy liczba została odrzucona,\n"
        << "zapis się nie powiódł, okno się nie otworzyło albo utraciło ekran\n"
        << "graficzny; " << usageStatus
        << " przy błędnym wywołaniu; 128+n, gdy zakończył je sygnał n\n"
        << "(SIGTERM, SIGHUP, SIGINT: jak Escape, skopiowana liczba trafia do\n"
        << "menedżera schowka).\n";
}

// The word that makes the command line one the program does not take: an
// option with anything after it, or a word before "--" that looks like an
// option. nullptr when there is none.
const std::string_view *strayWord(Words words) {
    if (words[0] == helpOption || words[0] == versionOption) {
        return words.size() > 1 ? &words[1] : nullptr;
    }
    for (const std::string_view &word : words) {
        if (word == endOfOptions) {
            break;
        }
        if (word.starts_with('-')) {
            return &word;
        }
    }
    return nullptr;
}

int answerWords(Words words, const char *version, std::ostream &out, std::ostream &err) {
    if (words[0] == versionOption) {
        out << programName << ' ' << version << '\n';
        return 0;
    }
    if (words[0] == helpOption) {
        printHelp(out);
        return 0;
    }
    return convertNumbers(words, out, err);
}

} // namespace

int answerArguments(int argc, const char *const argv[], const char *version, std::ostream &out,
                    std::ostream &err) {
    const std::vector<std::string_view> words(argv + std::min(argc, 1), argv + argc);
    if (words.empty() || (words.size() == 1 && words[0] == endOfOptions)) {
        return openWindow;
    }
    if (const std::string_view *stray = strayWord(words)) {
        err << programName << ": nieoczekiwany argument „" << shown(*stray)
            << "”; spróbuj: " << programName << ' ' << helpOption << '\n';
        return usageStatus;
    }
    const int status = answerWords(words, version, out, err);
    // As in GNU programs, output lost on a full disk or a closed stdout is
    // an error, not a run that printed.
    if (!out.flush()) {
        err << programName << ": błąd zapisu na standardowe wyjście\n";
        return failedStatus;
    }
    return status;
}
