// Reading a notation's text as one value, and writing a value in each
// notation: functions of their arguments alone, which never touch the
// rows. Every value shown lies in 0..4294967295.
#pragma once

#include <cstdint>
#include <string>

inline constexpr std::uint64_t largestValue = 4294967295U;

// The value of `text` in the notation of `mode`: decimalMode, hexMode or
// binaryMode. Ten decimal digits can say more than 32 bits hold: such a text
// reads as the largest value, and `clamped` says so.
std::uint64_t readValue(int mode, const std::string &text, bool &clamped);
// The value as a row shows it when another row was edited: no leading
// zeros, and 0 as "0" in decimal (which the zero rule then blanks) and as
// nothing in the other two.
std::string shownValue(int mode, std::uint64_t value);
// The value as a paste writes it into a row: 0 is "0" in every notation.
std::string writtenIn(int mode, std::uint64_t value);
// A decimal text of zeros alone is shown as an empty row.
bool zeroRuleBlanks(const std::string &text);

// 0..15 for 0-9, a-f and A-F; notADigit, above every base, for any other byte.
inline constexpr std::uint64_t notADigit = 16;
std::uint64_t digitValue(char character);
std::uint64_t parseHex(const std::string &text);    // digits 0-9 and A-F
std::uint64_t parseBinary(const std::string &text); // every "1" counts, anything else is 0
std::string formatByDivision(std::uint64_t value, unsigned base); // 16 or 2; 0 gives ""
std::string formatDecimal(std::uint64_t value);                   // 0 gives "0"
