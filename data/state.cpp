#include "data/state.h"

// app/loop.cpp
ALLEGRO_KEYBOARD_STATE keyboardState;
ALLEGRO_EVENT eventRecord;
int typedChar = 0;
int InputMode = decimalMode;

// input/pointer.cpp
ALLEGRO_MOUSE_STATE mouseState;
int mousePrevX = 0;
int mousePrevY = 0;
int mousePrevButtons = 0;
int hoverTarget = 0;

// input/edit.cpp
int fieldRowY = 0;
int keypadKeyCount = 10;
std::string editText;
std::string decimalText;
std::string hexText;
std::string binaryText;

// draw/value_lines.cpp
int blinkCounter = 0;
int cursorOffset = 0;

// app/signals.cpp
volatile std::sig_atomic_t endSignal = 0;
