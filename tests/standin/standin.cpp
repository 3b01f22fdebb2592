#include "standin.h"

#include "app/loop.h"
#include "data/scale.h"
#include "input/pointer.h"

#include <allegro5/allegro_primitives.h>
#include <allegro5/allegro_ttf.h>

#include <algorithm>
#include <array>
#include <climits>
#include <cmath>
#include <csignal>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <deque>
#include <malloc.h>
#include <unistd.h>

namespace standin {
namespace {

struct State {
    Options options;
    std::map<int, PassScript> script;
    int length = 1000;
    int passNumber = 0;
    std::deque<ALLEGRO_EVENT> queue;
    std::vector<Call> calls;
    MouseSample pointer;
    int mouseQueriesThisPass = 0;
    int signalCallsSeen = 0; // calls that SignalAt names, in its pass
    std::vector<std::pair<const ALLEGRO_FONT *, int>> fonts;
};

State state;

bool named(const char *name) {
    return state.options.failingCalls.count(name) != 0;
}

// Opaque handles need only be distinct, non-null addresses.
std::array<char, 16> handleStorage;
std::array<std::array<char, 8>, 64> fontStorage;

template <typename T> T *handle(int index) {
    return reinterpret_cast<T *>(&handleStorage.at(static_cast<std::size_t>(index)));
}

// To the process, as a session or a terminal sends it; with one thread the
// handler runs before kill() returns.
void sendSignalIfDue(const char *name) {
    const SignalAt &at = state.options.signalAt;
    if (at.signal == 0 || at.pass != state.passNumber || at.call != name ||
        ++state.signalCallsSeen != at.nth) {
        return;
    }
    kill(getpid(), at.signal);
}

Call &record(const char *name) {
    Call call;
    call.pass = state.passNumber;
    call.name = name;
    state.calls.push_back(call);
    sendSignalIfDue(name);
    return state.calls.back();
}

void beginPass() {
    state.passNumber += 1;
    state.mouseQueriesThisPass = 0;
    auto found = state.script.find(state.passNumber);
    if (found != state.script.end()) {
        for (const ALLEGRO_EVENT &event : found->second.events) {
            state.queue.push_back(event);
        }
    }
    if (state.passNumber > state.length + 1) {
        std::fprintf(stderr, "stand-in: the loop ran past the end of its script\n");
        std::abort();
    }
}

MouseSample nextMouseSample() {
    const int query = state.mouseQueriesThisPass++;
    auto found = state.script.find(state.passNumber);
    const std::size_t index = static_cast<std::size_t>(query);
    if (found != state.script.end() && index < found->second.mouse.size()) {
        state.pointer = found->second.mouse[index];
    } else if (query > 0) {
        state.pointer.buttons = 0;
    }
    return state.pointer;
}

ALLEGRO_EVENT blankEvent(ALLEGRO_EVENT_TYPE type) {
    ALLEGRO_EVENT event;
    std::memset(&event, 0, sizeof event);
    event.type = type;
    return event;
}

} // namespace

void reset() {
    state = State();
}

void resetProgramRecords() {
    std::memset(&eventRecord, 0, sizeof eventRecord);
    std::memset(&keyboardState, 0, sizeof keyboardState);
    std::memset(&mouseState, 0, sizeof mouseState);
    mousePrevX = 0;
    mousePrevY = 0;
    mousePrevButtons = 0;
    hoverTarget = 0;
}
Options &options() {
    return state.options;
}
PassScript &pass(int number) {
    return state.script[number];
}
void setLength(int passes) {
    state.length = passes;
}

ALLEGRO_EVENT keyDownEvent(int keycode) {
    ALLEGRO_EVENT event = blankEvent(ALLEGRO_EVENT_KEY_DOWN);
    event.keyboard.keycode = keycode;
    return event;
}

ALLEGRO_EVENT keyCharEvent(int character, int keycode, unsigned modifiers) {
    ALLEGRO_EVENT event = blankEvent(ALLEGRO_EVENT_KEY_CHAR);
    event.keyboard.keycode = keycode;
    event.keyboard.unichar = character;
    event.keyboard.modifiers = modifiers;
    return event;
}

ALLEGRO_EVENT keyUpEvent(int keycode) {
    ALLEGRO_EVENT event = blankEvent(ALLEGRO_EVENT_KEY_UP);
    event.keyboard.keycode = keycode;
    return event;
}

ALLEGRO_EVENT windowEvent(ALLEGRO_EVENT_TYPE type, int garbage) {
    ALLEGRO_EVENT event;
    std::memset(&event, 0x5a, sizeof event);
    event.type = type;
    event.keyboard.unichar = garbage;
    return event;
}

void typeKey(int number, int character) {
    auto &events = pass(number).events;
    events.push_back(keyDownEvent());
    events.push_back(keyCharEvent(character));
    events.push_back(keyUpEvent());
}

void holdKey(int number, int keycode) {
    pass(number).keysDown.push_back(keycode);
}

void pointer(int number, int x, int y, int buttons) {
    pass(number).mouse.push_back({x, y, buttons});
}

void click(int number, int x, int y) {
    pointer(number, x, y, 1);
}

const std::vector<Call> &calls() {
    return state.calls;
}

std::vector<Call> callsNamed(const std::string &name, int number) {
    std::vector<Call> found;
    for (const Call &call : state.calls) {
        if (call.name == name && (number < 0 || call.pass == number)) {
            found.push_back(call);
        }
    }
    return found;
}

std::vector<Call> drawCalls(int number) {
    static const char *const drawing[] = {"al_clear_to_color", "al_draw_filled_rectangle",
                                          "al_draw_rectangle", "al_draw_textf"};
    std::vector<Call> found;
    for (const Call &call : state.calls) {
        const bool isDrawing = std::any_of(std::begin(drawing), std::end(drawing),
                                           [&](const char *name) { return call.name == name; });
        if (isDrawing && call.pass == number) {
            found.push_back(call);
        }
    }
    return found;
}

int passesBegun() {
    return state.passNumber;
}

double restTotal(int number) {
    double total = 0;
    for (const Call &call : callsNamed("al_rest", number)) {
        total += static_cast<double>(call.args.at(0));
    }
    return total;
}

int fontSize(const ALLEGRO_FONT *font) {
    for (const auto &[loaded, size] : state.fonts) {
        if (loaded == font) {
            return size;
        }
    }
    return 0;
}

namespace {

struct LayoutFont {
    const char *name;
    int size; // in the layout's pixels
};
constexpr LayoutFont layoutFonts[] = {{"small", 14}, {"medium", 18}, {"large", 20}};

const LayoutFont *layoutFontOf(const ALLEGRO_FONT *font) {
    const int size = fontSize(font);
    for (const LayoutFont &layout : layoutFonts) {
        if (std::lround(layout.size * windowScale) == size) {
            return &layout;
        }
    }
    return nullptr;
}

int characterWidth(const ALLEGRO_FONT *font) {
    if (windowScale == 1) {
        return state.options.charWidth[fontSize(font)];
    }
    const LayoutFont *layout = layoutFontOf(font);
    return layout == nullptr
               ? 0
               : static_cast<int>(std::lround(state.options.charWidth[layout->size] * windowScale));
}

} // namespace

std::string fontName(const ALLEGRO_FONT *font) {
    const LayoutFont *layout = layoutFontOf(font);
    return layout == nullptr ? "unknown" : layout->name;
}

} // namespace standin

using standin::record;
using standin::state;

// ---- The library, as far as the program uses it ----

bool al_install_system(int version, int (*atexitFunction)(void (*)(void))) {
    standin::Call &call = record("al_install_system");
    call.args = {static_cast<float>(version)};
    call.flags = version;
    call.text = atexitFunction == &atexit ? "atexit" : "other";
    return !(state.options.systemFails || standin::named("al_install_system"));
}

bool al_install_mouse() {
    record("al_install_mouse");
    return !(state.options.mouseFails || standin::named("al_install_mouse"));
}

bool al_install_keyboard() {
    record("al_install_keyboard");
    return !(state.options.keyboardFails || standin::named("al_install_keyboard"));
}

bool al_init_font_addon() {
    record("al_init_font_addon");
    return !standin::named("al_init_font_addon");
}

bool al_init_ttf_addon() {
    record("al_init_ttf_addon");
    return !standin::named("al_init_ttf_addon");
}

bool al_init_primitives_addon() {
    record("al_init_primitives_addon");
    return !standin::named("al_init_primitives_addon");
}

ALLEGRO_FONT *al_load_ttf_font(const char *filename, int size, int flags) {
    standin::Call &call = record("al_load_ttf_font");
    call.text = filename;
    call.args = {static_cast<float>(size)};
    call.flags = flags;
    if (state.options.fontFails || standin::named("al_load_ttf_font") ||
        size == state.options.failingFontSize) {
        return nullptr;
    }
    auto *font = reinterpret_cast<ALLEGRO_FONT *>(&standin::fontStorage.at(state.fonts.size()));
    state.fonts.emplace_back(font, size);
    call.font = font;
    return font;
}

ALLEGRO_COLOR al_map_rgb(unsigned char r, unsigned char g, unsigned char b) {
    standin::Call &call = record("al_map_rgb");
    call.args = {static_cast<float>(r), static_cast<float>(g), static_cast<float>(b)};
    call.color = {r / 255.0F, g / 255.0F, b / 255.0F, 1.0F};
    return call.color;
}

int al_get_num_video_adapters() {
    record("al_get_num_video_adapters");
    return static_cast<int>(state.options.monitors.size());
}

bool al_get_monitor_info(int adapter, ALLEGRO_MONITOR_INFO *info) {
    standin::Call &call = record("al_get_monitor_info");
    call.args = {static_cast<float>(adapter)};
    const auto index = static_cast<std::size_t>(adapter);
    if (adapter < 0 || index >= state.options.monitors.size() ||
        state.options.monitors[index].x1 == INT_MAX) {
        info->x1 = info->y1 = info->x2 = info->y2 = INT_MAX;
        return false;
    }
    *info = state.options.monitors[index];
    return true;
}

ALLEGRO_DISPLAY *al_create_display(int w, int h) {
    standin::Call &call = record("al_create_display");
    call.args = {static_cast<float>(w), static_cast<float>(h)};
    return state.options.displayFails || standin::named("al_create_display")
               ? nullptr
               : standin::handle<ALLEGRO_DISPLAY>(0);
}

void al_set_window_title(ALLEGRO_DISPLAY *display, const char *title) {
    standin::Call &call = record("al_set_window_title");
    call.text = title;
    call.args = {display == standin::handle<ALLEGRO_DISPLAY>(0) ? 1.0F : 0.0F};
}

ALLEGRO_EVENT_QUEUE *al_create_event_queue() {
    record("al_create_event_queue");
    return standin::handle<ALLEGRO_EVENT_QUEUE>(1);
}

ALLEGRO_EVENT_SOURCE *al_get_keyboard_event_source() {
    record("al_get_keyboard_event_source");
    return standin::handle<ALLEGRO_EVENT_SOURCE>(2);
}

ALLEGRO_EVENT_SOURCE *al_get_display_event_source(ALLEGRO_DISPLAY *display) {
    standin::Call &call = record("al_get_display_event_source");
    call.args = {display == standin::handle<ALLEGRO_DISPLAY>(0) ? 1.0F : 0.0F};
    return standin::handle<ALLEGRO_EVENT_SOURCE>(3);
}

void al_register_event_source(ALLEGRO_EVENT_QUEUE *, ALLEGRO_EVENT_SOURCE *source) {
    standin::Call &call = record("al_register_event_source");
    call.text = source == standin::handle<ALLEGRO_EVENT_SOURCE>(2)   ? "keyboard"
                : source == standin::handle<ALLEGRO_EVENT_SOURCE>(3) ? "display"
                                                                     : "other";
}

bool al_key_down(const ALLEGRO_KEYBOARD_STATE *keys, int keycode) {
    if (keycode == ALLEGRO_KEY_ESCAPE) {
        standin::beginPass();
    }
    standin::Call &call = record("al_key_down");
    call.args = {static_cast<float>(keycode)};
    const unsigned word = keys->__key_down__internal__[keycode / 32];
    return (word & (1U << (keycode % 32))) != 0;
}

void al_get_keyboard_state(ALLEGRO_KEYBOARD_STATE *keys) {
    record("al_get_keyboard_state");
    std::memset(keys, 0, sizeof *keys);
    std::vector<int> down;
    auto found = state.script.find(state.passNumber);
    if (found != state.script.end()) {
        down = found->second.keysDown;
    }
    if (state.passNumber == state.length) {
        down.push_back(ALLEGRO_KEY_ESCAPE);
    }
    for (int keycode : down) {
        keys->__key_down__internal__[keycode / 32] |= 1U << (keycode % 32);
    }
}

bool al_get_next_event(ALLEGRO_EVENT_QUEUE *, ALLEGRO_EVENT *event) {
    standin::Call &call = record("al_get_next_event");
    if (state.queue.empty()) {
        call.flags = 0;
        return false;
    }
    *event = state.queue.front();
    state.queue.pop_front();
    call.flags = 1;
    call.args = {static_cast<float>(event->type)};
    return true;
}

void al_get_mouse_state(ALLEGRO_MOUSE_STATE *mouse) {
    standin::Call &call = record("al_get_mouse_state");
    const standin::MouseSample sample = standin::nextMouseSample();
    std::memset(mouse, 0, sizeof *mouse);
    mouse->x = sample.x;
    mouse->y = sample.y;
    mouse->buttons = sample.buttons;
    call.args = {static_cast<float>(sample.x), static_cast<float>(sample.y),
                 static_cast<float>(sample.buttons)};
}

void al_rest(double seconds) {
    standin::Call &call = record("al_rest");
    call.args = {static_cast<float>(seconds)};
}

void al_flip_display() {
    record("al_flip_display");
    if (state.options.onFlip) {
        state.options.onFlip(state.passNumber);
    }
}

void al_clear_to_color(ALLEGRO_COLOR color) {
    record("al_clear_to_color").color = color;
}

void al_draw_filled_rectangle(float x1, float y1, float x2, float y2, ALLEGRO_COLOR color) {
    standin::Call &call = record("al_draw_filled_rectangle");
    call.args = {x1, y1, x2, y2};
    call.color = color;
}

void al_draw_rectangle(float x1, float y1, float x2, float y2, ALLEGRO_COLOR color,
                       float thickness) {
    standin::Call &call = record("al_draw_rectangle");
    call.args = {x1, y1, x2, y2, thickness};
    call.color = color;
}

void al_draw_textf(const ALLEGRO_FONT *font, ALLEGRO_COLOR color, float x, float y, int flags,
                   const char *format, ...) {
    standin::Call &call = record("al_draw_textf");
    call.font = font;
    call.color = color;
    call.args = {x, y};
    call.flags = flags;
    call.format = format;
    std::array<char, 512> buffer{};
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(buffer.data(), buffer.size(), format, arguments);
    va_end(arguments);
    call.text = buffer.data();
}

// Counts code points, as a font does.
int al_get_text_width(const ALLEGRO_FONT *font, const char *text) {
    standin::Call &call = record("al_get_text_width");
    call.font = font;
    call.text = text;
    int characters = 0;
    for (const char *p = text; *p != '\0'; ++p) {
        if ((static_cast<unsigned char>(*p) & 0xC0U) != 0x80U) {
            ++characters;
        }
    }
    const int width = characters * standin::characterWidth(font);
    call.args = {static_cast<float>(width)};
    return width;
}

// ---- The C library's heap controls and raise(), recorded rather than applied ----
//
// Tests see when the program asks for them; the test process's own heap is
// left as it is, under the sanitizers too, and lives on after a raise().

int mallopt(int param, int val) noexcept {
    standin::Call &call = record("mallopt");
    call.args = {static_cast<float>(param), static_cast<float>(val)};
    return 1;
}

int malloc_trim(size_t pad) noexcept {
    standin::Call &call = record("malloc_trim");
    call.args = {static_cast<float>(pad)};
    return 1;
}

int raise(int sig) noexcept {
    standin::Call &call = record("raise");
    call.args = {static_cast<float>(sig)};
    if (state.options.onRaise) {
        state.options.onRaise(sig);
    }
    return 0;
}
