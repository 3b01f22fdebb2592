// Start-up of the library, its add-ons, the fonts, the palette and the window.
#pragma once

#include <allegro5/allegro.h>

extern ALLEGRO_DISPLAY *display; // the one window; never destroyed by the program

// Brings up everything the loop draws with. What cannot be brought up is
// named on standard error and ends the process with status 1, before
// anything is drawn.
void startUp();
