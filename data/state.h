// The state a pass shares, all of it declared here.
//
// Each step of a pass reads what an earlier step wrote: the keyboard's
// sample and the character fetched, the pointer's sample and what lies under
// it, the active field and its texts, the cursor. The loop keeps them for
// the whole run; they are declared here, at the bottom, so that every layer
// reaches them without including the step that writes them. Grouped by the
// file that writes them, each with who reads it. What one file alone uses
// is that file's own, and what is made once at start-up (colours, fonts,
// the window, the scale) stays with its table.
#pragma once

#include "data/tables.h"

#include <allegro5/allegro.h>

#include <csignal>
#include <string>

// ---- app/loop.cpp: the keyboard, once a pass ----
// This pass's sample; read by the loop alone (Escape, arrows).
extern ALLEGRO_KEYBOARD_STATE keyboardState;
// Where every fetch copies its event; read by editStep (Shift with Ctrl+C).
extern ALLEGRO_EVENT eventRecord;
// Character of this pass's event, 0 when none; read by editStep.
extern int typedChar;
// The active field: decimalMode, hexMode or binaryMode (tables.h). Stepped
// by the arrows in the loop and set by a row click in selectField; read by
// every step after them.
extern int InputMode;

// ---- input/pointer.cpp: the pointer, polled once a pass ----
// The newest sample, in window pixels; read by the pointer alone.
extern ALLEGRO_MOUSE_STATE mouseState;
extern int mousePrevX;       // the sample of the previous pass, in the layout's pixels, which
extern int mousePrevY;       // every pointer test of this pass uses
extern int mousePrevButtons; // its buttons (bit 0 primary): editing and the loop test a click,
                             // the highlight a button held
extern int hoverTarget;      // what that sample lies over (layout.h's codes): read by
                             // selectField, editStep, the highlight and the loop's exit test

// ---- input/edit.cpp: the active field and the texts ----
extern int fieldRowY;      // top of the active row, set with the field every pass; read by drawing
extern int keypadKeyCount; // keys of the active keypad, likewise; read by hit-testing and drawing
extern std::string editText;    // working copy of the active text, reloaded every pass; the
                                // cursor is measured on it
extern std::string decimalText; // the three rows' texts, as shown; read by drawing and copying
extern std::string hexText;
extern std::string binaryText;

// ---- draw/value_lines.cpp: the cursor ----
extern int blinkCounter; // 0..100, one step a pass; the cursor shows at 0..49
extern int cursorOffset; // width of editText as measured at the end of the last pass, in
                         // window pixels; where the cursor stands in this one

// ---- app/signals.cpp: a signal that ends the run ----
// SIGTERM, SIGHUP or SIGINT, the first that came since the loop began; 0
// while none did. Written by the signal handler alone; read by the loop's
// exit test and the wait for release, which it cuts short.
extern volatile std::sig_atomic_t endSignal;
