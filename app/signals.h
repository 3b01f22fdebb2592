// The signals that end a program from outside: SIGTERM when the desktop
// session ends, SIGHUP when its terminal closes, SIGINT for Ctrl+C there.
// Each ends the run as Escape does, at the end of the pass it came in, so
// that a copied number still goes to the clipboard manager and the texts
// are released; then the process ends by that same signal, so that whoever
// sent it sees that it did (a shell shows 128 + its number).
#pragma once

// Once start-up is done: until then a signal ends the process at once, with
// no window left. A signal ignored when the program started (nohup, a
// background job of a script) stays ignored.
void catchEndSignals();
// After the shutdown: gives each signal back what it did before and, if one
// came, ends the process by it with its default action. Otherwise, and
// should that signal not end it, returns the status to exit with.
int endAsSignalled(int status);
