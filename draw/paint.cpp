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

// What al_draw_rectangle lights at scale 1, as the box whose edges those
// pixels fill. Its stroke is centred on each edge, `thickness` wide; an odd
// stroke's sides fall on pixel centres, and the renderer settles that tie
// to the left in x and downwards in y. So the stroke of a column edge x
// lights the `thickness` columns from x - (thickness + 1) / 2, that of a
// row edge y the rows from y - thickness / 2, corners included: thickness 1
// lights columns x1 - 1 and x2 - 1 and rows y1 and y2, thickness 2 columns
// x1 - 1, x1, x2 - 1, x2 and rows y1 - 1, y1, y2 - 1, y2 (measured under
// Xvfb with Allegro 5.2.8 for thicknesses 1 to 4). At another scale the
// library's stroke would straddle the scaled edges, over neighbouring
// layout pixels' spans and short of these pixels', so these are filled.
Box strokeOuter(const Box &box, int thickness) {
    const int left = (thickness + 1) / 2;
    const int up = thickness / 2;
    return {box.x1 - left, box.y1 - up, box.x2 - left + thickness, box.y2 - up + thickness};
}

} // namespace

void fillBox(const Box &box, ALLEGRO_COLOR color) {
    al_draw_filled_rectangle(at(box.x1), at(box.y1), at(box.x2), at(box.y2), color);
}

// Four strips: the top and bottom rows whole, then the columns between.
void outlineBox(const Box &box, ALLEGRO_COLOR color, int thickness) {
    const int width = std::max(1, thickness);
    if (windowScale == 1) {
        al_draw_rectangle(at(box.x1), at(box.y1), at(box.x2), at(box.y2), color,
                          static_cast<float>(width));
        return;
    }
    const Box outer = strokeOuter(box, width);
    const Box inner = {outer.x1 + width, outer.y1 + width, outer.x2 - width, outer.y2 - width};
    fillBox({outer.x1, outer.y1, outer.x2, inner.y1}, color);
    fillBox({outer.x1, inner.y2, outer.x2, outer.y2}, color);
    fillBox({outer.x1, inner.y1, inner.x1, inner.y2}, color);
    fillBox({inner.x2, inner.y1, outer.x2, inner.y2}, color);
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
