#include "convert/convert.h"

#include "app/palette.h"
#include "input/edit.h"

#include <locale>
#include <sstream>

std::string decimalText;
std::string hexText;
std::string binaryText;
std::uint64_t currentValue = 0;

namespace {

constexpr std::uint64_t largestValue = 4294967295U;

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
    hexText = formatByDivision(currentValue, 16);
    binaryText = formatByDivision(currentValue, 2);
}

void convertHex() {
    const std::uint64_t value = parseHex(editText);
    decimalText = formatDecimal(value);
    binaryText = formatByDivision(value, 2);
}

void convertBinary() {
    const std::uint64_t value = parseBinary(editText);
    decimalText = formatDecimal(value);
    hexText = formatByDivision(value, 16);
}

} // namespace

void convertEditText(int mode) {
    switch (mode) {
    case 1:
        convertDecimal();
        break;
    case 2:
        convertHex();
        break;
    default:
        convertBinary();
        break;
    }
}

// Read from the most significant digit on; the text's last digit weighs 1.
std::uint64_t parseHex(const std::string &text) {
    std::uint64_t value = 0;
    for (const char character : text) {
        const int code = static_cast<unsigned char>(character);
        const int digit = code <= '9' ? code - '0' : code - 'A' + 10;
        value = value * 16 + static_cast<std::uint64_t>(digit);
    }
    return value;
}

std::uint64_t parseBinary(const std::string &text) {
    std::uint64_t value = 0;
    for (const char character : text) {
        value = value * 2 + (character == '1' ? 1 : 0);
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

void applyZeroRule() {
    if (decimalText == "0") {
        decimalText.clear();
    }
}
