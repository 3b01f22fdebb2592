#include "convert/convert.h"

#include "data/tables.h"

#include <locale>
#include <sstream>

namespace {

// The decimal text through a string stream, which reads leading zeros as
// nothing; an empty text, which it cannot read, is 0.
std::uint64_t readDecimal(const std::string &text) {
    std::uint64_t value = 0;
    if (!text.empty()) {
        std::stringstream stream(text);
        stream.imbue(std::locale::classic());
        stream >> value;
    }
    return value;
}

} // namespace

std::uint64_t readValue(int mode, const std::string &text, bool &clamped) {
    clamped = false;
    switch (mode) {
    case decimalMode: {
        const std::uint64_t value = readDecimal(text);
        clamped = value > largestValue;
        return clamped ? largestValue : value;
    }
    case hexMode:
        return parseHex(text);
    default:
        return parseBinary(text);
    }
}

std::string shownValue(int mode, std::uint64_t value) {
    if (mode == decimalMode) {
        return formatDecimal(value);
    }
    return formatByDivision(value, notationTable[mode].base);
}

std::string writtenIn(int mode, std::uint64_t value) {
    const std::string text = shownValue(mode, value);
    return text.empty() ? "0" : text;
}

// Zero is the empty row, however its digits came: typed, pasted as "000"
// or "0 000", or left when Backspace takes the 5 from a pasted "0005".
bool zeroRuleBlanks(const std::string &text) {
    return !text.empty() && text.find_first_not_of('0') == std::string::npos;
}

std::uint64_t digitValue(char character) {
    if (character >= '0' && character <= '9') {
        return static_cast<std::uint64_t>(character - '0');
    }
    if (character >= 'a' && character <= 'f') {
        return static_cast<std::uint64_t>(character - 'a') + 10;
    }
    if (character >= 'A' && character <= 'F') {
        return static_cast<std::uint64_t>(character - 'A') + 10;
    }
    return notADigit;
}

// Read from the most significant digit on; the text's last digit weighs 1.
std::uint64_t parseHex(const std::string &text) {
    std::uint64_t value = 0;
    for (const char character : text) {
        value = value * notationTable[hexMode].base + digitValue(character);
    }
    return value;
}

std::uint64_t parseBinary(const std::string &text) {
    std::uint64_t value = 0;
    for (const char character : text) {
        value = value * notationTable[binaryMode].base + (character == '1' ? 1 : 0);
    }
    return value;
}

std::string formatByDivision(std::uint64_t value, unsigned base) {
    std::string text;
    while (value != 0) {
        text.insert(0, digitTable[value % base]);
        value /= base;
    }
    return text;
}

std::string formatDecimal(std::uint64_t value) {
    std::stringstream stream;
    stream.imbue(std::locale::classic()); // no digit grouping, whatever the user's locale
    stream << value;
    return stream.str();
}
