// The pointer, polled once a pass and never queued.
//
// Every pointer test of a pass uses the sample taken one pass earlier: a
// press is first seen in pass N, acts in pass N + 1 and, because that pass
// then waits for the release, is never seen down again. So each press acts
// exactly once, at the place where it was first seen.
#pragma once

#include <allegro5/allegro.h>

extern ALLEGRO_MOUSE_STATE mouseState; // the newest sample, in window pixels
extern int mousePrevX;                 // the sample of the previous pass, which every
extern int mousePrevY;                 // test of this pass uses, in the layout's pixels
extern int mousePrevButtons;           // bit 0 primary, bit 1 secondary, ...

// What the pointer is over: 0 nothing, a field row by its InputMode, a
// button, or a keypad key. A button's code also indexes its caption in
// labelTable; codes 6 to 9 never occur.
extern int hoverTarget;
inline constexpr int targetExitButton = 4;
inline constexpr int targetBackButton = 5;
inline constexpr int targetFirstKey = 10; // key k is targetFirstKey + k

void samplePointer();          // new sample; rows and buttons under the old one
void hitTestKey(int keyIndex); // keypad key keyIndex under the old sample
void waitForRelease();         // holds the loop while a seen press is still down
