// What the desktop tells X programs through the X server's resources, read
// on the connection that copy and paste use (input/clipboard.h). The binary
// links the X11 implementation, the tests a scripted one.
#pragma once

#include <string>

// The text of the resource Xft.dpi, the desktop's scale as 96 times the
// factor; false when the desktop sets none or there is no X server to ask.
// It comes with the connection, so reading it waits for nothing more.
bool readDpiSetting(std::string &setting);
