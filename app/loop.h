// The main procedure: set-up, the polling loop and shutdown.
//
// There is one thread and no timer. Every pass takes at most one queued
// event, samples the keyboard and the pointer, redraws the whole window from
// a clear, shows it once and rests; nothing ever waits on the queue.
#pragma once

#include "data/state.h"

#include <allegro5/allegro.h>

extern ALLEGRO_KEYBOARD_STATE keyboardState; // this pass's keyboard sample
extern ALLEGRO_EVENT_QUEUE *eventQueue;      // keyboard and window events, never the mouse

int runProgram(); // the whole run; returns the exit status
bool runPass();   // one pass of the loop; false when the loop is to be left
