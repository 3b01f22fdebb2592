// A stand-in for the Allegro functions the program calls that does next to
// nothing and never allocates, so that what a measurement of the program's own
// code sees is that code: no drawing, no recording, no rests.
//
// A run is steered from one hook, called at each pass's Escape-key test with
// the number of the pass about to begin (1 for the first). The hook queues
// that pass's events and sets its keys; returning false ends the loop there.
#pragma once

#include <allegro5/allegro.h>

namespace silent {

using PassHook = bool (*)(int pass);

void setPassHook(PassHook hook);
void queueCharacter(int character); // key character then key up, as a typed key arrives
void setKeyDown(int keycode);       // the only key in the next samples; 0 for none
void setPointer(int x, int y, int buttons);

} // namespace silent
