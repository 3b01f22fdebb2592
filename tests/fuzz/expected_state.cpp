#include "expected_state.h"

#include "geometry.h"

#include "app/loop.h"
#include "draw/value_lines.h"
#include "input/edit.h"
#include "input/pointer.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <string>

namespace {

constexpr std::uint64_t largestValue = 4294967295U;
constexpr int drainFetchLimit = 62;
constexpr int escapeCharacter = 27;
constexpr int backspaceCharacter = 8;

struct Notation {
    const char *name;
    int base;
    std::size_t limit;
    int keyCount;
    int fontSize; // of the field's text, which the stand-in measures
};

// Indexed by the active field; entry 0 is none. Where the rows, buttons and
// keys are comes from the tests' geometry.
constexpr Notation notations[4] = {
    {"none", 0, 0, 0, 0},
    {"decimal", 10, 10, 10, 20},
    {"hexadecimal", 16, 8, 16, 20},
    {"binary", 2, 32, 2, 18},
};

struct Expected {
    const FuzzScript *script = nullptr;
    int pass = 0;
    bool ended = false;
    std::deque<ALLEGRO_EVENT> queue;
    standin::MouseSample pointer; // the newest sample
    int mode = 1;
    int downSamples = 0; // samples in a row with the arrow held
    int upSamples = 0;
    std::string texts[4]; // by field, as shown
};

Expected expected;
const standin::PassScript emptyPass;

[[noreturn]] void fail(int pass, const char *what, const std::string &wanted,
                       const std::string &shown) {
    std::fprintf(stderr, "pass %d: %s: expected \"%s\", found \"%s\"\n", pass, what, wanted.c_str(),
                 shown.c_str());
    std::abort();
}

void expectSame(int pass, const char *what, const std::string &wanted, const std::string &shown) {
    if (wanted != shown) {
        fail(pass, what, wanted, shown);
    }
}

void expectSame(int pass, const char *what, long long wanted, long long shown) {
    if (wanted != shown) {
        fail(pass, what, std::to_string(wanted), std::to_string(shown));
    }
}

bool isDigitOf(char c, int base) {
    switch (base) {
    case 2:
        return c == '0' || c == '1';
    case 10:
        return c >= '0' && c <= '9';
    default:
        return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F');
    }
}

std::uint64_t valueOf(const std::string &text, int base) {
    std::uint64_t value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value, base);
    return value;
}

// A computed field: no leading zeros, capital letters, and nothing at all
// for zero (a decimal "0" is blanked as well).
std::string shownAs(std::uint64_t value, int base) {
    if (value == 0) {
        return "";
    }
    char buffer[72];
    const char *end = std::to_chars(buffer, buffer + sizeof buffer, value, base).ptr;
    std::string text(static_cast<const char *>(buffer), end);
    for (char &c : text) {
        if (c >= 'a' && c <= 'f') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return text;
}

// A decimal text of zeros alone is shown as the empty row.
bool onlyZeros(const std::string &text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c == '0'; });
}

const standin::PassScript &scriptOf(int pass) {
    const auto &passes = expected.script->passes;
    const auto index = static_cast<std::size_t>(pass - 1);
    return index < passes.size() ? passes[index] : emptyPass;
}

bool isKeyboardEvent(ALLEGRO_EVENT_TYPE type) {
    return type == ALLEGRO_EVENT_KEY_DOWN || type == ALLEGRO_EVENT_KEY_CHAR ||
           type == ALLEGRO_EVENT_KEY_UP;
}

// The character of the next queued event: none for an empty queue or a
// window event.
int fetch(bool &escapeTyped) {
    if (expected.queue.empty()) {
        return 0;
    }
    const ALLEGRO_EVENT event = expected.queue.front();
    expected.queue.pop_front();
    if (!isKeyboardEvent(event.type)) {
        return 0;
    }
    if (event.keyboard.unichar == escapeCharacter) {
        escapeTyped = true;
    }
    return event.keyboard.unichar;
}

// The row, button or active key under (x, y); 0 for anything else.
int targetAt(int x, int y, int keyCount) {
    using namespace geometry;
    int target = 0;
    for (int row = 1; row <= 3; ++row) {
        target = holds(rowHit(row), x, y) ? row : target;
    }
    target = holds(buttonHit(exitButton), x, y) ? 4 : target;
    target = holds(buttonHit(backButton), x, y) ? 5 : target;
    for (int key = 0; key < keyCount; ++key) {
        target = holds(keyHit(key), x, y) ? 10 + key : target;
    }
    return target;
}

// Applies one pass's click and typed character to the active field's text,
// in the order the keypad and the keyboard take turns.
std::string editedText(std::string text, int mode, int typed, bool clicked, int target) {
    static const char keyCharacters[] = "0123456789ABCDEF";
    const auto append = [&text](int c) { text += static_cast<char>(c); };
    if (clicked && target >= 10 && target <= 19) {
        append(keyCharacters[target - 10]);
    }
    const int lastDigit = mode == 3 ? '1' : '9';
    if (typed >= '0' && typed <= lastDigit) {
        append(typed);
    }
    if (mode == 2) {
        if (clicked && target >= 20 && target <= 25) {
            append(keyCharacters[target - 10]);
        }
        if (typed >= 'A' && typed <= 'F') {
            append(typed);
        }
        if (typed >= 'a' && typed <= 'f') {
            append(typed - 'a' + 'A');
        }
    }
    if (clicked && target == 5 && !text.empty()) {
        text.pop_back();
    }
    if (typed == backspaceCharacter && !text.empty()) {
        text.pop_back();
    }
    if (text.size() > notations[mode].limit) {
        text.resize(notations[mode].limit);
    }
    return text;
}

// Commits `text` to the active field and recomputes the two others.
void commit(const std::string &text, int mode) {
    std::uint64_t value = valueOf(text, notations[mode].base);
    for (int field = 1; field <= 3; ++field) {
        expected.texts[field].clear();
    }
    expected.texts[mode] = text;
    if (value > largestValue) {
        value = largestValue;
        expected.texts[1] = "4294967295";
    }
    for (int field = 1; field <= 3; ++field) {
        if (field != mode) {
            expected.texts[field] = shownAs(value, notations[field].base);
        }
    }
}

// Checks that hold whatever the script: each field in its notation and
// limit, no decimal text of zeros alone, and after a commit the two
// computed fields naming the active field's value.
void checkFieldRules(int pass) {
    const std::string *shown[4] = {nullptr, &decimalText, &hexText, &binaryText};
    if (InputMode < 1 || InputMode > 3) {
        fail(pass, "active field", "1, 2 or 3", std::to_string(InputMode));
    }
    for (int field = 1; field <= 3; ++field) {
        const Notation &notation = notations[field];
        const std::string &text = *shown[field];
        if (text.size() > notation.limit) {
            fail(pass, notation.name, "at most " + std::to_string(notation.limit) + " digits",
                 text);
        }
        for (char c : text) {
            if (!isDigitOf(c, notation.base)) {
                fail(pass, notation.name, "digits only", text);
            }
        }
    }
    if (onlyZeros(decimalText)) {
        fail(pass, "decimal", "blank for zero", decimalText);
    }
    if (typedChar <= 7 && mousePrevButtons != 1) {
        return;
    }
    const std::string &active = *shown[InputMode];
    std::uint64_t value = valueOf(active, notations[InputMode].base);
    if (value > largestValue) {
        fail(pass, "active field", "at most 4294967295", active);
    }
    for (int field = 1; field <= 3; ++field) {
        if (field != InputMode) {
            expectSame(pass, notations[field].name, shownAs(value, notations[field].base),
                       *shown[field]);
        }
    }
}

// The pass's rest after the frame: the wait for the buttons to come up and
// the drain of the key events behind the one taken.
void finishPass(const standin::PassScript &script, const standin::MouseSample &previous, int typed,
                bool &escapeTyped) {
    if (previous.buttons > 0) {
        for (std::size_t poll = 1; expected.pointer.buttons != 0; ++poll) {
            expected.pointer =
                poll < script.mouse.size()
                    ? script.mouse[poll]
                    : standin::MouseSample{expected.pointer.x, expected.pointer.y, 0};
        }
    }
    if (typed > 0) {
        typed = fetch(escapeTyped);
        for (int fetches = 1; typed != 0 && fetches < drainFetchLimit; ++fetches) {
            typed = fetch(escapeTyped);
        }
    }
}

} // namespace

void expectRun(const FuzzScript &script) {
    expected = Expected();
    expected.script = &script;
}

void checkShownFrame(int pass) {
    if (expected.ended) {
        fail(pass, "frame", "no frame after the run's end", "a frame");
    }
    expectSame(pass, "frame number", expected.pass + 1, pass);
    expected.pass = pass;
    const standin::PassScript &script = scriptOf(pass);
    for (const ALLEGRO_EVENT &event : script.events) {
        expected.queue.push_back(event);
    }

    bool escapeTyped = false;
    const int typed = fetch(escapeTyped);
    const auto held = [&script](int key) {
        return std::find(script.keysDown.begin(), script.keysDown.end(), key) !=
               script.keysDown.end();
    };
    const bool escapeHeld = held(ALLEGRO_KEY_ESCAPE) || pass == expected.script->length;
    // A press steps once; held, an arrow steps again from its 45th sample on.
    const auto steps = [&held](int key, int &samples) {
        samples = held(key) ? samples + 1 : 0;
        return samples == 1 || samples >= 45 ? 1 : 0;
    };
    expected.mode += steps(ALLEGRO_KEY_DOWN, expected.downSamples);
    expected.mode -= steps(ALLEGRO_KEY_UP, expected.upSamples);
    expected.mode = expected.mode > 3 ? 1 : expected.mode < 1 ? 3 : expected.mode;

    const standin::MouseSample previous = expected.pointer;
    if (!script.mouse.empty()) {
        expected.pointer = script.mouse.front();
    }
    const bool clicked = previous.buttons == 1;
    int target = targetAt(previous.x, previous.y, 0);
    if (clicked && target >= 1 && target <= 3) {
        expected.mode = target;
    }
    const int mode = expected.mode;
    target = targetAt(previous.x, previous.y, notations[mode].keyCount);

    std::string edited = expected.texts[mode];
    if (typed > 7 || clicked) {
        edited = editedText(edited, mode, typed, clicked, target);
        commit(edited, mode);
    }
    if (onlyZeros(expected.texts[1])) {
        expected.texts[1].clear();
    }

    checkFieldRules(pass);
    expectSame(pass, "typed character", typed, typedChar);
    expectSame(pass, "previous pointer x", previous.x, mousePrevX);
    expectSame(pass, "previous pointer y", previous.y, mousePrevY);
    expectSame(pass, "previous buttons", previous.buttons, mousePrevButtons);
    expectSame(pass, "pointer sample x", expected.pointer.x, mouseState.x);
    expectSame(pass, "pointer sample y", expected.pointer.y, mouseState.y);
    expectSame(pass, "pointer sample buttons", expected.pointer.buttons, mouseState.buttons);
    expectSame(pass, "active field", mode, InputMode);
    expectSame(pass, "pointer target", target, hoverTarget);
    expectSame(pass, "row y", geometry::rowYOf[mode], fieldRowY);
    expectSame(pass, "keypad keys", notations[mode].keyCount, keypadKeyCount);
    expectSame(pass, "edited text", edited, editText);
    expectSame(pass, "decimal", expected.texts[1], decimalText);
    expectSame(pass, "hexadecimal", expected.texts[2], hexText);
    expectSame(pass, "binary", expected.texts[3], binaryText);
    const int advance = standin::options().charWidth.at(notations[mode].fontSize);
    expectSame(pass, "cursor offset", static_cast<long long>(edited.size()) * advance,
               cursorOffset);
    if (blinkCounter < 0 || blinkCounter > 100) {
        fail(pass, "blink counter", "0..100", std::to_string(blinkCounter));
    }

    finishPass(script, previous, typed, escapeTyped);
    expected.ended = escapeTyped || escapeHeld || (target == 4 && clicked);
}

void checkRunEnded(int status) {
    if (expected.pass == 0) {
        fail(0, "frames checked", "every frame, through standin::options().onFlip",
             "none: the stand-in never called it");
    }
    expectSame(expected.pass, "exit status", 0, status);
    if (!expected.ended) {
        fail(expected.pass, "run", "more passes", "the end");
    }
}
