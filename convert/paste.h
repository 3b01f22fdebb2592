// Reading a pasted text as one number: the notation markers, digit-group
// separators and refusals that the README lists under "Copy and paste".
#pragma once

#include <cstdint>
#include <string>

struct PastedNumber {
    std::uint64_t value = 0; // always within 0..4294967295
    int notation = 0;        // decimalMode, hexMode or binaryMode
    std::string digits;      // as written, without markers and separators; letters upper case
};

// Reads `text` as one unsigned number; digits without a marker are read in
// the notation of `mode`. False when the rules refuse the text, and then
// `number` is left as it was.
bool readPastedNumber(const std::string &text, int mode, PastedNumber &number);

// The text a paste of `pasted` puts in the row of `mode`; false when the
// rules refuse it, and then `text` is left as it was.
bool readPastedText(const std::string &pasted, int mode, std::string &text);
