#include "convert/paste.h"

#include "convert/convert.h"
#include "data/tables.h"

#include <iterator>
#include <string_view>

namespace {

constexpr std::string_view edgeBlanks = " \t\r\n";

// The comma comes last so that the other notations can stop before it.
constexpr std::string_view separators[] = {" ", "\u00A0", "\u202F", "_", "'", ","};
constexpr std::size_t separatorsOutsideDecimal = std::size(separators) - 1;

struct Body {
    std::string_view text;
    int notation = 0;
};

// Still a view into `text` when nothing is left, so that offsets hold.
std::string_view trimBlanks(std::string_view text) {
    const std::size_t first = text.find_first_not_of(edgeBlanks);
    if (first == std::string_view::npos) {
        return text.substr(text.size());
    }
    return text.substr(first, text.find_last_not_of(edgeBlanks) - first + 1);
}

char lowered(char character) {
    return character >= 'A' && character <= 'Z' ? static_cast<char>(character - 'A' + 'a')
                                                : character;
}

// A notation's marker in either case: 0x and 0X, 0b and 0B.
bool startsWithMarker(std::string_view text, std::string_view marker) {
    if (marker.empty() || text.size() < marker.size()) {
        return false;
    }
    for (std::size_t at = 0; at < marker.size(); ++at) {
        if (lowered(text[at]) != lowered(marker[at])) {
            return false;
        }
    }
    return true;
}

// A final h beats a prefix, so "0B1Fh" is hexadecimal and not binary. A
// mode that names no notation leaves the body in notation 0, whose base 0
// makes every character stray.
Body findBody(std::string_view text, int mode) {
    if (text.ends_with('h') || text.ends_with('H')) {
        return {text.substr(0, text.size() - 1), hexMode};
    }
    for (int notation = decimalMode; notation <= binaryMode; ++notation) {
        const std::string_view marker = notationTable[notation].marker;
        if (startsWithMarker(text, marker)) {
            return {text.substr(marker.size()), notation};
        }
    }
    return {text, mode >= decimalMode && mode <= binaryMode ? mode : 0};
}

std::size_t separatorLength(std::string_view rest, int notation) {
    const std::size_t count =
        notation == decimalMode ? std::size(separators) : separatorsOutsideDecimal;
    for (std::size_t index = 0; index < count; ++index) {
        if (rest.starts_with(separators[index])) {
            return separators[index].size();
        }
    }
    return 0;
}

// An empty group is a separator first, last or beside another one. Decimal
// groups are thousands, so "12 34" is two numbers and "1,5" a fraction.
bool groupFits(std::size_t length, bool first, int notation) {
    if (length == 0) {
        return false;
    }
    return notation != decimalMode || (first ? length <= 3 : length == 3);
}

// Every byte the body holds is a digit of its notation or part of a whole
// separator; the only bytes above 127 so taken are the two no-break
// spaces' exact sequences, so no text that is invalid UTF-8 gets through.
// A value past the largest is still read to the end, for a fault of form
// that would refuse it anyway; `at` ends on the first stray byte.
PasteReason readBody(const Body &body, std::uint64_t &value, std::size_t &at) {
    const std::uint64_t base = notationTable[body.notation].base;
    std::size_t groupLength = 0;
    bool grouped = false;
    bool above = false;
    at = 0;
    while (at < body.text.size()) {
        const std::uint64_t digit = digitValue(body.text[at]);
        if (digit < base) {
            if (!above) {
                value = value * base + digit; // below 2^32 * 16, far from wrapping
                above = value > largestValue;
            }
            ++groupLength;
            ++at;
            continue;
        }
        const std::size_t length = separatorLength(body.text.substr(at), body.notation);
        if (length == 0) {
            return PasteReason::strayCharacter;
        }
        if (!groupFits(groupLength, !grouped, body.notation)) {
            return PasteReason::misplacedSeparator;
        }
        grouped = true;
        groupLength = 0;
        at += length;
    }
    if (!grouped && groupLength == 0) {
        return PasteReason::noDigits;
    }
    if (grouped && !groupFits(groupLength, false, body.notation)) {
        return PasteReason::misplacedSeparator;
    }
    return above ? PasteReason::aboveLargest : PasteReason::accepted;
}

// Run on a body already read, whose only bytes from 0-9, a-f and A-F are its digits.
void copyDigits(std::string_view body, std::string &digits) {
    digits.clear();
    for (const char character : body) {
        const std::uint64_t digit = digitValue(character);
        if (digit != notADigit) {
            digits += digitTable[digit];
        }
    }
}

} // namespace

PasteVerdict readPastedNumber(const std::string &text, int mode, PastedNumber &number) {
    const Body body = findBody(trimBlanks(text), mode);
    std::uint64_t value = 0;
    std::size_t at = 0;
    const PasteReason reason = readBody(body, value, at);
    // The body is a view into `text`, so its offset is where the stray one is.
    const auto bodyStart = static_cast<std::size_t>(body.text.data() - text.data());
    if (reason != PasteReason::accepted) {
        return {reason, body.notation, bodyStart + at};
    }
    number.value = value;
    number.notation = body.notation;
    copyDigits(body.text, number.digits);
    return {reason, body.notation, 0};
}

// Digits as written when they are the row's own and fit it, so that a paste
// reads as a person would have typed it; otherwise the value as the row
// writes it.
bool readPastedText(const std::string &pasted, int mode, std::string &text) {
    PastedNumber number;
    if (readPastedNumber(pasted, mode, number).reason != PasteReason::accepted) {
        return false;
    }
    const bool keepDigits =
        number.notation == mode && number.digits.size() <= notationTable[mode].digitLimit;
    text = keepDigits ? number.digits : writtenIn(mode, number.value);
    return true;
}
