#include "convert/convert.h"

#include "data/tables.h"

#include <locale>
#include <sstream>

namespace {

// Ten decimal digits can say more than 32 bits hold; such a text is shown as
// the largest value, and editing goes on from there in the next pass.
void convertDecimal() {
    currentValue = 0;
    if (!editText.empty()) {
        std::stringstream stream(editText);
        stream.imbue(std::locale::classic());
        stream >> currentValue;
    }
    if (currentValue > largestValue) {
        currentValue = largestValue;
        decimalText = formatDecimal(largestValue);
    }
    hexText = formatByDivision(currentValue, notationBase[hexMode]);
    binaryText = formatByDivision(currentValue, notationBase[binaryMode]);
}

void convertHex() {
    const std::uint64_t value = parseHex(editText);
    decimalText = formatDecimal(value);
    binaryText = formatByDivision(value, notationBase[binaryMode]);
}

void convertBinary() {
    const std::uint64_t value = parseBinary(editText);
    decimalText = formatDecimal(value);
    hexText = formatByDivision(value, notationBase[hexMode]);
}

} // namespace

void convertEditText(int mode) {
    switch (mode) {
    case decimalMode:
        convertDecimal();
        break;
    case hexMode:
        convertHex();
        break;
    default:
        convertBinary();
        break;
    }
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
        value = value * notationBase[hexMode] + digitValue(character);
    }
    return value;
}

std::uint64_t parseBinary(const std::string &text) {
    std::uint64_t value = 0;
    for (const char character : text) {
        value = value * notationBase[binaryMode] + (character == '1' ? 1 : 0);
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

// Zero is the empty row, however its digits came: typed, pasted as "000"
// or "0 000", or left when Backspace takes the 5 from a pasted "0005".
void applyZeroRule() {
    if (!decimalText.empty() && decimalText.find_first_not_of('0') == std::string::npos) {
        decimalText.clear();
    }
}
