// Turns the active field's text into one value and writes that value in the
// other two notations. Every value shown lies in 0..4294967295.
#pragma once

#include <cstdint>
#include <string>

extern std::string decimalText; // the three field texts, as shown
extern std::string hexText;
extern std::string binaryText;
extern std::uint64_t currentValue; // the value last read from a decimal text

// Reads editText in the notation of `mode` (1 decimal, 2 hexadecimal,
// 3 binary) and fills the texts of the two other notations.
void convertEditText(int mode);

std::uint64_t parseHex(const std::string &text);    // digits 0-9 and A-F
std::uint64_t parseBinary(const std::string &text); // every "1" counts, anything else is 0
std::string formatByDivision(std::uint64_t value, unsigned base); // 16 or 2; 0 gives ""
std::string formatDecimal(std::uint64_t value);                   // 0 gives "0"

// A decimal text of exactly "0" is shown empty.
void applyZeroRule();
