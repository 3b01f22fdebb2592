// What the window must show after each pass of a script, worked out from the
// script alone with none of the program's code: the queue and the pointer as
// the stand-in plays them, the active field, the keypad target, the edited
// text and its conversions. Any difference from the program's variables, or
// any field outside its notation or limit, aborts the run with a message.
#pragma once

#include "pass_script.h"

// Starts the expectations of a fresh run of `script`.
void expectRun(const FuzzScript &script);
// Checks the program's variables as frame `pass` is shown (from onFlip).
void checkShownFrame(int pass);
// Checks that the run ended after the pass it should have, with status 0.
void checkRunEnded(int status);
