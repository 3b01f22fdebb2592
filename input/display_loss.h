// The X server going away under the program: a logout, a server that ends or
// crashes, a remote link that drops. Nothing is left to draw on or to hand
// the clipboard to, so the process ends at once, whatever it was doing and
// whichever of its X connections noticed first. The binary links the X11
// implementation, the tests a scripted one.
#pragma once

inline constexpr int lostDisplayStatus = 1; // as a start-up that finds no display

// From here on a lost display writes one line on standard error naming it
// and ends the process with lostDisplayStatus. Before the library opens its
// connection, so that no moment of the run is left to Xlib's own ending.
void endOnDisplayLoss();
