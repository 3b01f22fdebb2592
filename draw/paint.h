// The drawing calls every picture is made of, with integer coordinates in
// the layout's pixels as the tables give them; the desktop's scale is
// applied here and nowhere else in the drawing.
#pragma once

#include "data/layout.h"

#include <allegro5/allegro.h>
#include <allegro5/allegro_font.h>

#include <string>

inline constexpr const char *cursorMark = "_";

void fillBox(const Box &box, ALLEGRO_COLOR color);
// `thickness` in layout pixels. At a scale other than 1 the outline is
// drawn as fills of the pixels it lights at 1, each over its layout pixel's
// span, as fills and the pointer take them.
void outlineBox(const Box &box, ALLEGRO_COLOR color, int thickness);
// A key's or a button's face, raised: its drop shadow, the face with its
// outline, and the lighter bevel just inside it.
void drawRaisedFace(const Box &face, const Box &bevel);
// `align` is ALLEGRO_ALIGN_LEFT, _CENTRE or _RIGHT; y is the top of the line.
void drawText(const ALLEGRO_FONT *font, ALLEGRO_COLOR color, int x, int y, int align,
              const std::string &text);
// The text cursor, `offset` pixels right of (x, y): the offset is a width
// measured with `font`, so already in the window's pixels. Not drawn once
// that offset reaches `limit` pixels of the layout.
void drawCursorMark(const ALLEGRO_FONT *font, ALLEGRO_COLOR color, int x, int y, int offset,
                    int limit);
