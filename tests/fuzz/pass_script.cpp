#include "pass_script.h"

#include <allegro5/allegro.h>

#include <climits>
#include <cstring>

namespace {

// Bounds that keep one input to a few milliseconds and always let it end.
constexpr std::size_t passLimit = 40;
constexpr std::size_t eventLimit = 1500;
constexpr std::size_t samplesPerPassLimit = 16;
constexpr int trailingPasses = 2; // left for queued events after the script

// Byte layout, one operation after another (the operation is the byte
// modulo the count of operations):
//   0 next pass
//   1 c        type c: key down, character, key up
//   2 c        a bare character event, as a held key repeats
//   3 n c      a burst of 2 + n % 64 bare character events
//   4 x x y y b  a pointer sample at (x, y) with button mask b
//   5 s b      a pointer sample at a named spot s with button mask b
//   6 k        keys held in the pass's keyboard sample
//   7 t        a window event
//   8 k        a key press or release without a character
enum Operation {
    nextPass,
    typeCharacter,
    bareCharacter,
    characterBurst,
    pointerAt,
    pointerAtSpot,
    holdKeys,
    windowEvent,
    keyWithoutCharacter,
    operationCount
};

// Characters a person can hardly type: above one byte, negative, the
// garbage a window event leaves, letters shifted past 255.
constexpr int unusualCharacters[] = {
    255,  256,      '0' + 256, '1' + 256, 'a' + 256,     'F' + 256,  0x10000 + '5', 0x179,
    0xC5, 0x10FFFF, 127,       128,       32745,         0x5a5a5a5a, INT_MAX,       INT_MIN,
    -1,   -8,       -27,       -48,       INT_MIN + '0', -256 + '9', 0x7FFFFF00};

struct Spot {
    int x, y;
};

// Places a person clicks: the rows, the buttons, every key, the edges of
// each region and points outside the window.
constexpr Spot spots[] = {
    {200, 45},  {200, 73},  {300, 100}, {425, 46},   {425, 74},  {46, 135},  {73, 135},  {100, 135},
    {127, 135}, {154, 135}, {181, 135}, {208, 135},  {235, 135}, {262, 135}, {289, 135}, {316, 135},
    {343, 135}, {370, 135}, {397, 135}, {424, 135},  {451, 135}, {141, 36},  {289, 56},  {472, 112},
    {473, 100}, {389, 65},  {461, 83},  {37, 126},   {56, 145},  {57, 135},  {0, 0},     {-1, -1},
    {495, 189}, {496, 190}, {600, 300}, {-5000, 40}, {200, 5000}};

constexpr ALLEGRO_EVENT_TYPE windowEventTypes[] = {
    ALLEGRO_EVENT_DISPLAY_CLOSE,  ALLEGRO_EVENT_DISPLAY_SWITCH_IN, ALLEGRO_EVENT_DISPLAY_SWITCH_OUT,
    ALLEGRO_EVENT_DISPLAY_EXPOSE, ALLEGRO_EVENT_DISPLAY_RESIZE,    ALLEGRO_EVENT_DISPLAY_LOST,
    ALLEGRO_EVENT_DISPLAY_FOUND};

constexpr int otherKeys[] = {ALLEGRO_KEY_A,         ALLEGRO_KEY_LSHIFT, ALLEGRO_KEY_ENTER,
                             ALLEGRO_KEY_BACKSPACE, ALLEGRO_KEY_LEFT,   ALLEGRO_KEY_RIGHT};

template <typename T, std::size_t N> const T &pick(const T (&table)[N], unsigned index) {
    return table[index % N];
}

// Reads from the front; past the end every byte is 0.
struct ByteReader {
    const std::uint8_t *data;
    std::size_t left;

    bool empty() const { return left == 0; }
    std::uint8_t byte() {
        if (left == 0) {
            return 0;
        }
        --left;
        return *data++;
    }
    int word16() {
        const unsigned low = byte();
        const unsigned high = byte();
        return static_cast<std::int16_t>(static_cast<std::uint16_t>(low | high << 8));
    }
    int word32() {
        std::uint32_t value = 0;
        for (int shift = 0; shift < 32; shift += 8) {
            value |= static_cast<std::uint32_t>(byte()) << shift;
        }
        int result = 0;
        std::memcpy(&result, &value, sizeof result);
        return result;
    }
};

// Bytes below 128 are themselves; 255 is followed by any 32-bit code.
int readCharacter(ByteReader &in) {
    const std::uint8_t code = in.byte();
    if (code < 0x80) {
        return code;
    }
    if (code == 0xFF) {
        return in.word32();
    }
    return pick(unusualCharacters, code - 0x80U);
}

// A 16-bit coordinate; its lowest value is followed by any 32-bit one.
int readCoordinate(ByteReader &in) {
    const int value = in.word16();
    return value == INT16_MIN ? in.word32() : value;
}

// Masks up to 254 as they are; 255 is followed by any 32-bit mask.
int readButtons(ByteReader &in) {
    const std::uint8_t mask = in.byte();
    return mask == 0xFF ? in.word32() : mask;
}

std::vector<int> readHeldKeys(ByteReader &in) {
    const std::uint8_t held = in.byte();
    if (held == 0xEE) {
        return {ALLEGRO_KEY_ESCAPE};
    }
    std::vector<int> keys;
    if ((held & 1U) != 0) {
        keys.push_back(ALLEGRO_KEY_DOWN);
    }
    if ((held & 2U) != 0) {
        keys.push_back(ALLEGRO_KEY_UP);
    }
    if ((held & 4U) != 0) {
        keys.push_back(pick(otherKeys, held >> 3U));
    }
    return keys;
}

void addSample(standin::PassScript &pass, standin::MouseSample sample) {
    if (pass.mouse.size() < samplesPerPassLimit) {
        pass.mouse.push_back(sample);
    }
}

} // namespace

FuzzScript decodeScript(const std::uint8_t *data, std::size_t size) {
    FuzzScript script;
    script.passes.resize(1);
    std::size_t events = 0;
    ByteReader in{data, size};
    while (!in.empty()) {
        standin::PassScript &pass = script.passes.back();
        auto addEvent = [&](const ALLEGRO_EVENT &event) {
            if (events < eventLimit) {
                pass.events.push_back(event);
                ++events;
            }
        };
        switch (in.byte() % operationCount) {
        case nextPass:
            if (script.passes.size() == passLimit) {
                in.left = 0;
            } else {
                script.passes.emplace_back();
            }
            break;
        case typeCharacter: {
            const int character = readCharacter(in);
            addEvent(standin::keyDownEvent());
            addEvent(standin::keyCharEvent(character));
            addEvent(standin::keyUpEvent());
            break;
        }
        case bareCharacter:
            addEvent(standin::keyCharEvent(readCharacter(in)));
            break;
        case characterBurst: {
            const int count = 2 + in.byte() % 64;
            const int character = readCharacter(in);
            for (int i = 0; i < count; ++i) {
                addEvent(standin::keyCharEvent(character));
            }
            break;
        }
        case pointerAt: {
            const int x = readCoordinate(in);
            const int y = readCoordinate(in);
            addSample(pass, {x, y, readButtons(in)});
            break;
        }
        case pointerAtSpot: {
            const Spot &spot = pick(spots, in.byte());
            addSample(pass, {spot.x, spot.y, readButtons(in)});
            break;
        }
        case holdKeys:
            for (int key : readHeldKeys(in)) {
                pass.keysDown.push_back(key);
            }
            break;
        case windowEvent:
            addEvent(standin::windowEvent(pick(windowEventTypes, in.byte())));
            break;
        default: {
            const std::uint8_t key = in.byte();
            const int keycode = pick(otherKeys, key >> 1U);
            addEvent((key & 1U) != 0 ? standin::keyUpEvent(keycode)
                                     : standin::keyDownEvent(keycode));
            break;
        }
        }
    }
    script.length = static_cast<int>(script.passes.size()) + trailingPasses;
    return script;
}

void loadScript(const FuzzScript &script) {
    for (std::size_t i = 0; i < script.passes.size(); ++i) {
        standin::pass(static_cast<int>(i) + 1) = script.passes[i];
    }
    standin::setLength(script.length);
}
