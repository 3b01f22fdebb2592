#include "silent_library.h"

#include <allegro5/allegro_font.h>
#include <allegro5/allegro_primitives.h>
#include <allegro5/allegro_ttf.h>

#include <array>
#include <cstddef>
#include <cstring>

namespace {

constexpr std::size_t queueSize = 64;

silent::PassHook passHook = nullptr;
int passNumber = 0;

std::array<ALLEGRO_EVENT, queueSize> queue;
std::size_t queueHead = 0; // next event to fetch
std::size_t queueTail = 0; // where the next queued event goes

int keyDown = 0;
ALLEGRO_MOUSE_STATE pointer;

// Handles need only be distinct and not null; a font's handle tells its size.
std::array<char, 8> handles;
std::array<int, 3> fontSizes;
int fontsLoaded = 0;

void queueEvent(ALLEGRO_EVENT_TYPE type, int character) {
    ALLEGRO_EVENT &event = queue[queueTail % queueSize];
    std::memset(&event, 0, sizeof event);
    event.type = type;
    event.keyboard.unichar = character;
    queueTail += 1;
}

// Advance of one character at the three sizes, close to the real font's digits.
int charWidth(int size) {
    return size == 14 ? 8 : size == 18 ? 10 : 11;
}

} // namespace

namespace silent {

void setPassHook(PassHook hook) {
    passHook = hook;
}

void queueCharacter(int character) {
    queueEvent(ALLEGRO_EVENT_KEY_CHAR, character);
    queueEvent(ALLEGRO_EVENT_KEY_UP, 0);
}

void setKeyDown(int keycode) {
    keyDown = keycode;
}

void setPointer(int x, int y, int buttons) {
    pointer.x = x;
    pointer.y = y;
    pointer.buttons = buttons;
}

} // namespace silent

// ---- The library, as far as the program uses it ----

// A new run starts here: passes count from 1 again and nothing is queued.
bool al_install_system(int, int (*)(void (*)(void))) {
    passNumber = 0;
    queueHead = queueTail = 0;
    fontsLoaded = 0;
    return true;
}

bool al_install_mouse() {
    return true;
}

bool al_install_keyboard() {
    return true;
}

bool al_init_font_addon() {
    return true;
}

bool al_init_ttf_addon() {
    return true;
}

bool al_init_primitives_addon() {
    return true;
}

ALLEGRO_FONT *al_load_ttf_font(const char *, int size, int) {
    const int index = fontsLoaded++ % 3;
    fontSizes[static_cast<std::size_t>(index)] = size;
    return reinterpret_cast<ALLEGRO_FONT *>(&handles[static_cast<std::size_t>(4 + index)]);
}

ALLEGRO_COLOR al_map_rgb(unsigned char r, unsigned char g, unsigned char b) {
    return {r / 255.0F, g / 255.0F, b / 255.0F, 1.0F};
}

// One screen of the commonest size: room for the window at any scale up to 2.
int al_get_num_video_adapters() {
    return 1;
}

bool al_get_monitor_info(int, ALLEGRO_MONITOR_INFO *info) {
    *info = {0, 0, 1920, 1080};
    return true;
}

ALLEGRO_DISPLAY *al_create_display(int, int) {
    return reinterpret_cast<ALLEGRO_DISPLAY *>(&handles[0]);
}

void al_set_window_title(ALLEGRO_DISPLAY *, const char *) {}

ALLEGRO_EVENT_QUEUE *al_create_event_queue() {
    return reinterpret_cast<ALLEGRO_EVENT_QUEUE *>(&handles[1]);
}

ALLEGRO_EVENT_SOURCE *al_get_keyboard_event_source() {
    return reinterpret_cast<ALLEGRO_EVENT_SOURCE *>(&handles[2]);
}

ALLEGRO_EVENT_SOURCE *al_get_display_event_source(ALLEGRO_DISPLAY *) {
    return reinterpret_cast<ALLEGRO_EVENT_SOURCE *>(&handles[3]);
}

void al_register_event_source(ALLEGRO_EVENT_QUEUE *, ALLEGRO_EVENT_SOURCE *) {}

// The loop tests Escape first thing in a pass: that is where a pass begins.
bool al_key_down(const ALLEGRO_KEYBOARD_STATE *keys, int keycode) {
    if (keycode == ALLEGRO_KEY_ESCAPE) {
        passNumber += 1;
        return passHook == nullptr || !passHook(passNumber);
    }
    const unsigned word = keys->__key_down__internal__[keycode / 32];
    return (word & (1U << (keycode % 32))) != 0;
}

void al_get_keyboard_state(ALLEGRO_KEYBOARD_STATE *keys) {
    std::memset(keys, 0, sizeof *keys);
    if (keyDown > 0) {
        keys->__key_down__internal__[keyDown / 32] |= 1U << (keyDown % 32);
    }
}

bool al_get_next_event(ALLEGRO_EVENT_QUEUE *, ALLEGRO_EVENT *event) {
    if (queueHead == queueTail) {
        return false;
    }
    *event = queue[queueHead % queueSize];
    queueHead += 1;
    return true;
}

void al_get_mouse_state(ALLEGRO_MOUSE_STATE *mouse) {
    *mouse = pointer;
    pointer.buttons = 0; // released by the next poll, as a quick click is
}

void al_rest(double) {}

void al_flip_display() {}

void al_clear_to_color(ALLEGRO_COLOR) {}

void al_draw_filled_rectangle(float, float, float, float, ALLEGRO_COLOR) {}

void al_draw_rectangle(float, float, float, float, ALLEGRO_COLOR, float) {}

void al_draw_textf(const ALLEGRO_FONT *, ALLEGRO_COLOR, float, float, int, const char *, ...) {}

// Counts code points, as a font does.
int al_get_text_width(const ALLEGRO_FONT *font, const char *text) {
    const auto index =
        static_cast<std::size_t>(reinterpret_cast<const char *>(font) - &handles[4]) % 3;
    int characters = 0;
    for (const char *p = text; *p != '\0'; ++p) {
        if ((static_cast<unsigned char>(*p) & 0xC0U) != 0x80U) {
            ++characters;
        }
    }
    return characters * charWidth(fontSizes[index]);
}
