#include "data/palette.h"

#include "data/scale.h"

#include <allegro5/allegro_ttf.h>

ALLEGRO_COLOR colorInk;
ALLEGRO_COLOR colorDeepTeal;
ALLEGRO_COLOR colorBackground;
ALLEGRO_COLOR colorTeal;
ALLEGRO_COLOR colorMidTeal;
ALLEGRO_COLOR colorFieldFill;
ALLEGRO_COLOR colorGreyTeal;
ALLEGRO_COLOR colorHighlight;
ALLEGRO_COLOR colorAccent;

ALLEGRO_FONT *fontSmall = nullptr;
ALLEGRO_FONT *fontMedium = nullptr;
ALLEGRO_FONT *fontLarge = nullptr;

namespace {

struct PaletteEntry {
    ALLEGRO_COLOR *color;
    unsigned char red, green, blue;
};

const PaletteEntry paletteTable[] = {
    {&colorInk, 0, 50, 50},           {&colorDeepTeal, 0, 80, 80},
    {&colorBackground, 10, 100, 100}, {&colorTeal, 30, 130, 130},
    {&colorMidTeal, 60, 160, 160},    {&colorFieldFill, 100, 200, 200},
    {&colorGreyTeal, 140, 160, 160},  {&colorHighlight, 170, 190, 190},
    {&colorAccent, 80, 180, 180},
};

struct FontEntry {
    ALLEGRO_FONT **font;
    int size;
};

// Sizes in layout pixels. Each font is rasterised at its size on screen, so
// that text at a scale is as crisp as at 96 dpi rather than stretched.
const FontEntry fontTable[] = {{&fontSmall, 14}, {&fontMedium, 18}, {&fontLarge, 20}};

} // namespace

void loadFonts() {
    for (const FontEntry &entry : fontTable) {
        *entry.font = al_load_ttf_font(fontFileName, scaled(entry.size), 0);
    }
}

void mapPalette() {
    for (const PaletteEntry &entry : paletteTable) {
        *entry.color = al_map_rgb(entry.red, entry.green, entry.blue);
    }
}
