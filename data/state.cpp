#include "data/state.h"

ALLEGRO_EVENT eventRecord;
int InputMode = 1;
int typedChar = 0;
int fieldRowY = 0;
int keypadKeyCount = 10;

std::string editText;
std::string decimalText;
std::string hexText;
std::string binaryText;
std::uint64_t currentValue = 0;
