// The whole look of the window as constant data: size, title, colours and
// fonts. Colours and fonts are made at start-up; everything else exists
// before main begins and never changes.
#pragma once

#include "data/tables.h"

#include <allegro5/allegro.h>
#include <allegro5/allegro_font.h>

constexpr int windowWidth = 496;
constexpr int windowHeight = 190;
constexpr const char *windowTitle = "Ravuriradoz syst. liczbowych DHB";
constexpr const char *fontFileName = "arial.ttf";

extern ALLEGRO_COLOR colorInk;        // value texts, captions of lit keys, credit line
extern ALLEGRO_COLOR colorDeepTeal;   // panel shadow, box and button outlines
extern ALLEGRO_COLOR colorBackground; // the clear colour and everything dim
extern ALLEGRO_COLOR colorTeal;       // panel face, text cursor
extern ALLEGRO_COLOR colorMidTeal;    // empty field boxes
extern ALLEGRO_COLOR colorFieldFill;  // the active field's box
extern ALLEGRO_COLOR colorGreyTeal;   // faces of buttons and raised keys
extern ALLEGRO_COLOR colorHighlight;  // bevels and the hover highlight
extern ALLEGRO_COLOR colorAccent;     // field labels

extern ALLEGRO_FONT *fontSmall;  // 14: captions and credit line
extern ALLEGRO_FONT *fontMedium; // 18: labels and the binary field
extern ALLEGRO_FONT *fontLarge;  // 20: heading, decimal and hexadecimal fields

void loadFonts();  // the three sizes of arial.ttf, smallest first
void mapPalette(); // the nine colours, in table order
