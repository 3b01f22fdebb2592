#include "data/tables.h"

const std::string labelTable[7] = {"", "Decymalne", "Hexadec.", "Binarne", "WYJDŹ", "COFNIJ", ""};

const std::string digitTable[17] = {"0", "1", "2", "3", "4", "5", "6", "7", "8",
                                    "9", "A", "B", "C", "D", "E", "F", ""};
