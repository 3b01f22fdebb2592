// A scripted stand-in for the Allegro functions the program calls, and for
// the two heap controls and the raise() it takes from the C library.
//
// The program's own code is linked against these definitions instead of the
// real library. A test writes a script of passes (the events waiting when a
// pass begins, the keys down in its keyboard sample, its pointer samples),
// runs the real main procedure, and reads back every library call with its
// arguments. Rests are added to a clock; nothing sleeps.
//
// A pass begins with the loop's Escape-key test, so calls are numbered by
// the pass they belong to; set-up calls belong to pass 0.
#pragma once

#include <allegro5/allegro.h>
#include <allegro5/allegro_font.h>

#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace standin {

struct MouseSample {
    int x = 0;
    int y = 0;
    int buttons = 0;
};

struct PassScript {
    std::vector<ALLEGRO_EVENT> events; // queued when the pass begins, after any left over
    std::vector<int> keysDown;         // in the pass's keyboard sample
    // The first sample answers the pass's first pointer query; later ones
    // answer the polls of the wait for release. A pass without samples sees
    // the pointer as it was left; a poll after the last sample sees the
    // buttons released where the pointer stands.
    std::vector<MouseSample> mouse;
};

struct Call {
    int pass = 0;
    std::string name;        // the library function, e.g. "al_draw_filled_rectangle"
    std::vector<float> args; // numbers in argument order (coordinates, sizes, thickness)
    ALLEGRO_COLOR color{};   // the colour argument, if any
    const ALLEGRO_FONT *font = nullptr;
    int flags = 0;      // alignment of text, flags of a font load
    std::string format; // al_draw_textf's format
    std::string text;   // formatted text, file name, window title
};

// A signal from outside, at a chosen point of a pass: as the program makes
// its `nth` call named `call` in pass `pass`, the stand-in sends `signal` to
// its own process, so that the program's handler has run when the call
// returns. `signal` 0 sends none.
struct SignalAt {
    int signal = 0;
    int pass = 0;
    std::string call;
    int nth = 1;
};

struct Options {
    bool systemFails = false;
    bool mouseFails = false;
    bool keyboardFails = false;
    bool fontFails = false;
    bool displayFails = false;
    // Start-up functions that fail, by name: those with a flag above, and the
    // three add-on initialisers, which have none.
    std::set<std::string> failingCalls;
    // One font size whose load fails while the others load; 0 for none.
    int failingFontSize = 0;
    // Advance of one character in pixels, by font size; close to the real
    // font's digits at these sizes. A font loaded at a scaled size advances
    // by its layout size's width times the scale, rounded.
    std::map<int, int> charWidth = {{14, 8}, {18, 10}, {20, 11}};
    // The monitors the library reports, by adapter; a monitor whose
    // x1 is INT_MAX is one the library cannot measure.
    std::vector<ALLEGRO_MONITOR_INFO> monitors = {{0, 0, 1920, 1080}};
    // Called as each frame is shown, with the pass number: the moment to look
    // at the program's variables as the pass left them.
    std::function<void(int)> onFlip;
    SignalAt signalAt;
    // The program's raise() is recorded ("raise", the signal) and returns,
    // so that a test reads the run to its end; called first with the signal,
    // this is where a death test delivers it, as the real raise() would.
    std::function<void(int)> onRaise;
};

// Forgets the script, the calls, the clock and the options.
void reset();
// Zero-fills the program's own records, as a new process starts them, so
// that every run of the main procedure begins from the same place.
void resetProgramRecords();
Options &options();

// The script of pass `pass` (1 for the first), made on first use.
PassScript &pass(int pass);
// The loop ends at the start of the pass after `passes`: the stand-in holds
// Escape in the keyboard sample of pass `passes`.
void setLength(int passes);

// Events as the X11 driver makes them.
ALLEGRO_EVENT keyDownEvent(int keycode = 0);
ALLEGRO_EVENT keyCharEvent(int character, int keycode = 0, unsigned modifiers = 0);
ALLEGRO_EVENT keyUpEvent(int keycode = 0);
// A window event whose record holds garbage where a key event's character
// would be, as a close request or a focus change does. 32745 was read there
// from a real close request; any other value may lie there as well.
ALLEGRO_EVENT windowEvent(ALLEGRO_EVENT_TYPE type = ALLEGRO_EVENT_DISPLAY_CLOSE,
                          int garbage = 32745);

// Shorthands for a pass's script.
void typeKey(int pass, int character); // key down, character, key up
void holdKey(int pass, int keycode);
void pointer(int pass, int x, int y, int buttons = 0);
// A click as a person makes it: pressed where the pass samples, released at
// once. It acts in the pass after `pass`.
void click(int pass, int x, int y);

const std::vector<Call> &calls();
std::vector<Call> callsNamed(const std::string &name, int pass = -1); // -1: every pass
// Clears, fills, outlines and texts of one pass, in order.
std::vector<Call> drawCalls(int pass);
int passesBegun();               // Escape-key tests made by the loop
double restTotal(int pass = -1); // seconds of rest asked for
int fontSize(const ALLEGRO_FONT *font);
// "small", "medium" or "large" by size, at the program's scale.
std::string fontName(const ALLEGRO_FONT *font);

} // namespace standin
