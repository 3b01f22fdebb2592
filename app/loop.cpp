#include "app/loop.h"

#include "app/heap.h"
#include "app/signals.h"
#include "app/startup.h"
#include "data/layout.h"
#include "draw/frame.h"
#include "draw/keypad.h"
#include "draw/value_lines.h"
#include "input/clipboard.h"
#include "input/edit.h"
#include "input/pointer.h"

#include <algorithm>
#include <string>

ALLEGRO_EVENT_QUEUE *eventQueue = nullptr;

namespace {

constexpr int escapeChar = 27;
constexpr int drainFetchLimit = 62; // fetches a drain may make, with a rest between two
constexpr double arrowRest = 0.1;   // after each step of an arrow
constexpr int arrowRepeatSample =
    45; // held this many samples, about half a second, an arrow repeats
constexpr double drainRest = 0.001;
constexpr double passRest = 0.01; // keeps an idle loop near 100 passes a second

bool escapeTyped = false; // a fetch of this pass brought the Escape character
int downSamples = 0;      // samples in a row that showed Down held; 0 while it is up
int upSamples = 0;        // the same for Up

bool isKeyboardEvent(ALLEGRO_EVENT_TYPE type) {
    return type == ALLEGRO_EVENT_KEY_DOWN || type == ALLEGRO_EVENT_KEY_CHAR ||
           type == ALLEGRO_EVENT_KEY_UP;
}

// The character of the next queued event. An empty queue gives 0 rather than
// the last character again, or a held key would type on every pass; a window
// event gives 0 because its record holds no character where one is read.
int fetchCharacter() {
    if (!al_get_next_event(eventQueue, &eventRecord) || !isKeyboardEvent(eventRecord.type)) {
        return 0;
    }
    if (eventRecord.keyboard.unichar == escapeChar) {
        escapeTyped = true; // the drain may fetch the key's release after it
    }
    return eventRecord.keyboard.unichar;
}

// Every step starts from what a new process holds: nothing sampled, no
// event, the decimal field empty, the cursor at the start.
void setUp() {
    eventQueue = al_create_event_queue();
    al_register_event_source(eventQueue, al_get_keyboard_event_source());
    al_register_event_source(eventQueue, al_get_display_event_source(display));
    keyboardState = {};
    eventRecord = {};
    typedChar = 0;
    downSamples = 0;
    upSamples = 0;
    resetPointer();
    resetFields();
    resetTextCursor();
}

// Whether the arrow `keycode` steps in this pass. The arrows are read from
// the key state, which a tap shows for a pass or several: an arrow steps on
// the first sample that shows it down and, held, again only from its 45th
// sample on, as keys repeat on a desktop. Counting samples, not time, keeps a
// pass a function of its input.
bool arrowSteps(int keycode, int &samples) {
    if (!al_key_down(&keyboardState, keycode)) {
        samples = 0;
        return false;
    }
    samples = std::min(samples + 1, arrowRepeatSample);
    return samples == 1 || samples == arrowRepeatSample;
}

// Each step rests, so that a held arrow cycles at a pace a person can follow.
void stepInputMode() {
    if (arrowSteps(ALLEGRO_KEY_DOWN, downSamples)) {
        InputMode += 1;
        al_rest(arrowRest);
    }
    if (arrowSteps(ALLEGRO_KEY_UP, upSamples)) {
        InputMode -= 1;
        al_rest(arrowRest);
    }
    if (InputMode > binaryMode) {
        InputMode = decimalMode;
    } else if (InputMode == 0) {
        InputMode = binaryMode;
    }
}

// Takes the rest of a burst of key events (the release after a character,
// for one) so the next pass starts on fresh input.
void drainKeyEvents() {
    if (typedChar <= 0) {
        return;
    }
    typedChar = fetchCharacter();
    for (int fetches = 1; typedChar != 0 && fetches < drainFetchLimit; ++fetches) {
        al_rest(drainRest);
        typedChar = fetchCharacter();
    }
}

} // namespace

// One pass; false when the loop is to be left. The input is read and
// applied first, then the window is drawn from the state it left, whole:
// - Escape is read from the last pass's keyboard sample, so a pass that
//   ends the run draws nothing;
// - one event, the keyboard and the pointer are sampled first, so that the
//   whole pass sees the same input;
// - the arrows step the field, then a row click may override them; the
//   field chosen fixes the keypad, so the keys are tested against the
//   pointer only then, and a new keypad is drawn and clicked in that pass;
// - editing takes the click on a key or button and the typed character,
//   and the zero rule the texts that editing left;
// - drawing reads what the steps above decided, and nothing it does feeds
//   back: the frame, the keypad and the highlight of the field and of what
//   lies under the pointer, then the value lines and the cursor, which is
//   measured on the text as edited and so stands after it one pass late;
// - the frame is shown before the wait for release, so a held button shows
//   the pressed picture; the drain, the clipboard and the rest close the pass;
// - a signal that ends the run is read only by the exit test, so the pass it
//   came in is finished and shown like any other.
bool runPass() {
    if (al_key_down(&keyboardState, ALLEGRO_KEY_ESCAPE)) {
        return false;
    }
    escapeTyped = false;
    const int fetched = fetchCharacter();
    al_get_keyboard_state(&keyboardState);
    samplePointer();
    typedChar = fetched;
    stepInputMode();
    selectField();
    hitTestKeys();
    editStep();
    applyZeroRule();
    drawFrame();
    drawKeypad();
    drawHoverHighlight();
    drawValueLines();
    drawTextCursor();
    al_flip_display();
    waitForRelease();
    drainKeyEvents();
    serveClipboard();
    al_rest(passRest);
    trimFrameHeap();
    const bool exitClicked = hoverTarget == targetExitButton && primaryClicked();
    return !(escapeTyped || exitClicked || endSignal != 0);
}

namespace {

// Hands the texts' storage back; the library's own resources go at exit.
void shutDown() {
    for (std::string *text : {&binaryText, &hexText, &decimalText, &editText}) {
        std::string().swap(*text);
    }
}

} // namespace

int runProgram() {
    startUp();
    setUp();
    catchEndSignals();
    while (runPass()) {
    }
    handOverClipboard();
    shutDown();
    return endAsSignalled(0);
}
