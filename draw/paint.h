// The three drawing calls every picture is made of, with integer window
// coordinates as the tables give them.
#pragma once

#include <allegro5/allegro.h>
#include <allegro5/allegro_font.h>

#include <string>

struct Box {
    int x1, y1, x2, y2;
};

void fillBox(const Box &box, ALLEGRO_COLOR color);
void outlineBox(const Box &box, ALLEGRO_COLOR color, int thickness);
// `align` is ALLEGRO_ALIGN_LEFT, _CENTRE or _RIGHT; y is the top of the line.
void drawText(const ALLEGRO_FONT *font, ALLEGRO_COLOR color, int x, int y, int align,
              const std::string &text);
