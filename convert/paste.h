// Reading a pasted text as one number: the notation markers, digit-group
// separators and refusals that the README lists under "Copy and paste".
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

struct PastedNumber {
    std::uint64_t value = 0; // always within 0..4294967295
    int notation = 0;        // decimalMode, hexMode or binaryMode
    std::string digits;      // as written, without markers and separators; letters upper case
};

// Which rule refuses a text, if any. A text breaks the rules of its form
// first, as a person reads it from the left, and only a well-formed text
// can be too large: "4294967296.5" has a stray character.
enum class PasteReason {
    accepted,
    strayCharacter,     // no digit or separator of the notation, or no valid UTF-8
    misplacedSeparator, // first, last, beside another, or decimal groups not in thousands
    aboveLargest,       // a value above 4294967295
    noDigits,           // nothing but blanks, or a marker alone
};

struct PasteVerdict {
    PasteReason reason = PasteReason::accepted;
    int notation = 0;   // the notation the digits were read in; 0 for none
    std::size_t at = 0; // with strayCharacter: where that character starts in the text
};

// Reads `text` as one unsigned number; digits without a marker are read in
// the notation of `mode`. When the rules refuse the text, the verdict says
// why and `number` is left as it was.
PasteVerdict readPastedNumber(const std::string &text, int mode, PastedNumber &number);

// The text a paste of `pasted` puts in the row of `mode`; false when the
// rules refuse it, and then `text` is left as it was.
bool readPastedText(const std::string &pasted, int mode, std::string &text);
