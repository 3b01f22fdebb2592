// The pointer, polled once a pass and never queued.
//
// Every pointer test of a pass uses the sample taken one pass earlier: a
// press is first seen in pass N, acts in pass N + 1 and, because that pass
// then waits for the release, is never seen down again. So each press acts
// exactly once, at the place where it was first seen.
#pragma once

#include "data/state.h"

// A click: the primary button alone in the sample this pass tests. Every
// pointer action (a row, a key, a button) acts only on one.
inline bool primaryClicked() {
    return mousePrevButtons == 1;
}

void resetPointer();   // no sample yet, nothing under the pointer, as a new run starts
void samplePointer();  // new sample; rows and buttons under the old one
void hitTestKeys();    // the active keypad's keys under the old sample
void waitForRelease(); // holds the loop while a seen press is down and no signal ends the run
