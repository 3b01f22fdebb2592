// The three drawing calls every picture is made of, with integer window
// coordinates as the tables give them.
#pragma once

#include <allegro5/allegro.h>
#include <allegro5/allegro_font.h>

#include <string>

struct Box {
    int x1, y1, x2, y2;
};

// Left edge of keypad key `key` (0..15), dim or raised: one row, 27 apart.
constexpr int keyLeft(int key) {
    return 36 + 27 * key;
}
// Top edge of button 0 (exit) or 1 (back), beside the first two field rows.
constexpr int buttonTop(int button) {
    return 36 + 28 * button;
}

void fillBox(const Box &box, ALLEGRO_COLOR color);
void outlineBox(const Box &box, ALLEGRO_COLOR color, int thickness);
// `align` is ALLEGRO_ALIGN_LEFT, _CENTRE or _RIGHT; y is the top of the line.
void drawText(const ALLEGRO_FONT *font, ALLEGRO_COLOR color, int x, int y, int align,
              const std::string &text);
