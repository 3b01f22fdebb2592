// The two constant text tables. They exist before main begins and never
// change; reading them needs nothing of the library.
#pragma once

#include <string>

// 1..3 name the fields (by InputMode), 4 and 5 the buttons (by hoverTarget),
// 6 is the heading; 0 and 6 are empty.
extern const std::string labelTable[7];
// The character of each digit value 0..15; entry 16 is empty and unused.
extern const std::string digitTable[17];
