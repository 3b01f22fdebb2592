// Turns the active field's text into one value and writes that value in the
// other two notations. Every value shown lies in 0..4294967295.
// The texts and the value are the loop's, in data/state.h.
#pragma once

#include "data/state.h"

#include <cstdint>
#include <string>

inline constexpr std::uint64_t largestValue = 4294967295U;
inline constexpr unsigned notationBase[4] = {0, 10, 16, 2}; // by InputMode

// Reads editText in the notation of `mode` (an InputMode) and fills the
// texts of the two other notations.
void convertEditText(int mode);

// 0..15 for 0-9, a-f and A-F; notADigit, above every base, for any other byte.
inline constexpr std::uint64_t notADigit = 16;
std::uint64_t digitValue(char character);
std::uint64_t parseHex(const std::string &text);    // digits 0-9 and A-F
std::uint64_t parseBinary(const std::string &text); // every "1" counts, anything else is 0
std::string formatByDivision(std::uint64_t value, unsigned base); // 16 or 2; 0 gives ""
std::string formatDecimal(std::uint64_t value);                   // 0 gives "0"

// A decimal text of zeros alone is shown empty.
void applyZeroRule();
