// The constant tables of texts and notations. They exist before main
// begins and never change; reading them needs nothing of the library.
#pragma once

#include <cstddef>
#include <string>

// What the program calls itself in its messages and its version line.
inline constexpr char programName[] = "ravuriradoz";

// 1..3 name the fields (by InputMode), 4 and 5 the buttons (by hoverTarget),
// 6 is the heading; 0 and 6 are empty.
extern const std::string labelTable[7];
// The character of each digit value 0..15; entry 16 is empty and unused.
extern const std::string digitTable[17];

// The notations, as InputMode counts them; they index the notation and
// field tables and labelTable.
inline constexpr int decimalMode = 1;
inline constexpr int hexMode = 2;
inline constexpr int binaryMode = 3;

// What a notation is: everything the rows, editing, the keypad, copying and
// the paste reader know of it. Its digits are the first `base` of
// digitTable, typed in either case, and so are its keypad's keys.
struct Notation {
    unsigned base;
    std::size_t digitLimit; // longest text its row keeps
    const char *marker;     // what a program's source writes before the digits
};

// Indexed by InputMode; entry 0 belongs to no notation.
inline constexpr Notation notationTable[4] = {
    {0, 0, ""},
    {10, 10, ""},
    {16, 8, "0x"},
    {2, 32, "0b"},
};
