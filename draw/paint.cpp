#include "draw/paint.h"

#include <allegro5/allegro_primitives.h>

namespace {

float at(int coordinate) {
    return static_cast<float>(coordinate);
}

} // namespace

void fillBox(const Box &box, ALLEGRO_COLOR color) {
    al_draw_filled_rectangle(at(box.x1), at(box.y1), at(box.x2), at(box.y2), color);
}

void outlineBox(const Box &box, ALLEGRO_COLOR color, int thickness) {
    al_draw_rectangle(at(box.x1), at(box.y1), at(box.x2), at(box.y2), color, at(thickness));
}

// Through "%s", so a text is never read as a format.
void drawText(const ALLEGRO_FONT *font, ALLEGRO_COLOR color, int x, int y, int align,
              const std::string &text) {
    al_draw_textf(font, color, at(x), at(y), align, "%s", text.c_str());
}
