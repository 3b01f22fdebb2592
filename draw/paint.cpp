#include "draw/paint.h"

#include "data/scale.h"

#include <allegro5/allegro_primitives.h>

#include <algorithm>

// Every coordinate reaches the library here, from the layout's pixels to
// the window's: shapes grow with the scale, and text is drawn from fonts
// already loaded at the scaled sizes, so nothing is stretched.
namespace {

float at(int coordinate) {
    return static_cast<float>(scaled(coordinate));
}

// An outline at least a pixel wide, however a fraction rounds.
float thick(int thickness) {
    return static_cast<float>(std::max(1, scaled(thickness)));
}

} // namespace

void fillBox(const Box &box, ALLEGRO_COLOR color) {
    al_draw_filled_rectangle(at(box.x1), at(box.y1), at(box.x2), at(box.y2), color);
}

void outlineBox(const Box &box, ALLEGRO_COLOR color, int thickness) {
    al_draw_rectangle(at(box.x1), at(box.y1), at(box.x2), at(box.y2), color, thick(thickness));
}

void drawRaisedFace(const Box &face, const Box &bevel) {
    fillBox(dropShadow(face), colorBackground);
    fillBox(face, colorGreyTeal);
    outlineBox(face, colorDeepTeal, 1);
    outlineBox(bevel, colorHighlight, 1);
}

// Through "%s", so a text is never read as a format.
void drawText(const ALLEGRO_FONT *font, ALLEGRO_COLOR color, int x, int y, int align,
              const std::string &text) {
    al_draw_textf(font, color, at(x), at(y), align, "%s", text.c_str());
}

// The mark is the whole format: it holds no conversion.
void drawCursorMark(const ALLEGRO_FONT *font, ALLEGRO_COLOR color, int x, int y, int offset,
                    int limit) {
    if (offset >= scaled(limit)) {
        return;
    }
    al_draw_textf(font, color, static_cast<float>(scaled(x) + offset), at(y), ALLEGRO_ALIGN_LEFT,
                  cursorMark);
}
