// The desktop clipboard (the CLIPBOARD selection), on a connection of its
// own. The library's paste answers one paste late on X11 and its copy cannot
// hand over to a clipboard manager, so the program talks to the X server
// itself. The binary links the X11 implementation, the tests a scripted one.
#pragma once

#include <string>

// Offers `text` to other programs until another program takes the clipboard.
void copyToClipboard(const std::string &text);
// The clipboard's text; false when there is none to be had in time: no
// owner, no answer within 0.3 s, more than 4 kB, or no text.
bool pasteFromClipboard(std::string &text);
// Rings the desktop's bell at its own volume, as X programs answer input
// they refuse: a refused paste changes nothing in the window, so without a
// sound it would look as if Ctrl+V had not been pressed.
void ringBell();
// Answers other programs' requests for the copied text; never waits, and
// does nothing while nothing was copied.
void serveClipboard();
// At exit: hands the copied text to a clipboard manager, if one runs, so
// that it outlives the program.
void handOverClipboard();
