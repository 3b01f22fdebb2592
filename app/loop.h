// The main procedure: set-up, the polling loop and shutdown.
//
// There is one thread and no timer. Every pass takes at most one queued
// event, samples the keyboard and the pointer, redraws the whole window from
// a clear, shows it once and rests; nothing ever waits on the queue.
#pragma once

#include "data/state.h"

#include <allegro5/allegro.h>

// Keyboard and window events, never the mouse; made once at set-up.
extern ALLEGRO_EVENT_QUEUE *eventQueue;

int runProgram(); // the whole run; returns the exit status
bool runPass();   // one pass of the loop; false when the loop is to be left
