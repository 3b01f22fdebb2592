// The least the library takes to put a frame like the program's on screen,
// with none of the program's code: the floor under its launch time.
//
// Usage: library_floor bare|text
//   bare: the system, the primitives add-on, the window, a clear and two
//         filled rectangles, one flip.
//   text: also the keyboard and mouse, the font add-ons, one font and one
//         line of text, as any window with a caption needs.
// The rectangles paint what screen_probe looks for, so it sees this frame
// as a first frame.
#include <allegro5/allegro.h>
#include <allegro5/allegro_font.h>
#include <allegro5/allegro_primitives.h>
#include <allegro5/allegro_ttf.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

int main(int argc, char **argv) {
    const bool withText = argc > 1 && std::strcmp(argv[1], "text") == 0;
    if (!al_install_system(ALLEGRO_VERSION_INT, atexit) || !al_init_primitives_addon()) {
        return 1;
    }
    ALLEGRO_FONT *font = nullptr;
    if (withText) {
        al_install_mouse();
        al_install_keyboard();
        al_init_font_addon();
        al_init_ttf_addon();
        font = al_load_ttf_font("arial.ttf", 20, 0);
        if (font == nullptr) {
            std::fprintf(stderr, "library_floor: no arial.ttf here\n");
            return 1;
        }
    }
    if (al_create_display(496, 190) == nullptr) {
        return 1;
    }
    al_clear_to_color(al_map_rgb(10, 100, 100));
    al_draw_filled_rectangle(130, 35, 280, 56, al_map_rgb(100, 200, 200));
    al_draw_filled_rectangle(460, 20, 476, 160, al_map_rgb(30, 130, 130));
    if (font != nullptr) {
        al_draw_text(font, al_map_rgb(0, 50, 50), 133, 60, ALLEGRO_ALIGN_LEFT, "4294967295");
    }
    al_flip_display();
    al_rest(0.3); // the window stays up while the screen is watched
    return 0;
}
