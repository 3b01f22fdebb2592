// The main procedure's variables that the subsystems share.
//
// They belong to the loop, which sets them up and runs for as long as they
// live, but every subsystem reads or writes some of them in its step of a
// pass. They are declared here, below everything, so that input/, convert/
// and draw/ can reach them without including the loop that calls them.
#pragma once

#include <allegro5/allegro.h>

#include <cstdint>
#include <string>

// InputMode's values, which also index the field table and labelTable.
inline constexpr int decimalMode = 1;
inline constexpr int hexMode = 2;
inline constexpr int binaryMode = 3;

extern int InputMode;             // the active field: decimalMode, hexMode or binaryMode
extern ALLEGRO_EVENT eventRecord; // where every fetch copies its event
extern int typedChar;             // character of this pass's event; 0 when none arrived
extern int fieldRowY;             // top of the active row, set with the field every pass
extern int keypadKeyCount;        // keys of the active keypad, set with the field every pass

extern std::string editText;    // working copy of the active field's text, reloaded every pass
extern std::string decimalText; // the three field texts, as shown
extern std::string hexText;
extern std::string binaryText;
extern std::uint64_t currentValue; // the value last read from a decimal text
