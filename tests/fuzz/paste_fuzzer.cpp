// The paste fuzzer's entry: each input is one clipboard text, read in every
// mode by the program's reader and by the reference reader, which must agree.

#include "paste_reference.h"

#include "convert/paste.h"

#include <charconv>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

constexpr std::uint64_t largestValue = 4294967295U;
constexpr std::string_view markers[] = {"", "", "0x", "0b"}; // by notation

// Printed in C escapes, so that the text can be pasted back into a test.
void printEscaped(const std::string &text) {
    for (const char character : text) {
        const auto code = static_cast<unsigned char>(character);
        if (code >= 0x20 && code < 0x7F && character != '\\' && character != '"') {
            (void)std::fputc(character, stderr);
        } else {
            (void)std::fprintf(stderr, "\\x%02X", code);
        }
    }
}

[[noreturn]] void fail(const char *what, const std::string &text, int mode) {
    (void)std::fprintf(stderr, "paste fuzzer: %s; mode %d, text \"", what, mode);
    printEscaped(text);
    (void)std::fprintf(stderr, "\"\n");
    std::abort();
}

bool sameNumber(const PastedNumber &left, const PastedNumber &right) {
    return left.value == right.value && left.notation == right.notation &&
           left.digits == right.digits;
}

// The value written in its own notation without leading zeros, in groups
// the reader must take: thousands in decimal, fours elsewhere.
std::string groupedText(std::uint64_t value, int notation) {
    constexpr int bases[] = {0, 10, 16, 2};
    constexpr std::string_view separators[] = {"", ",", "_", "\u202F"};
    char written[40] = {};
    const auto result =
        std::to_chars(std::begin(written), std::end(written), value, bases[notation]);
    const std::string_view plain(written, static_cast<std::size_t>(result.ptr - written));
    const std::size_t groupSize = notation == 1 ? 3 : 4;
    std::string text(markers[notation]);
    for (std::size_t index = 0; index < plain.size(); ++index) {
        if (index > 0 && (plain.size() - index) % groupSize == 0) {
            text += separators[notation];
        }
        text += plain[index];
    }
    return text;
}

// Written again with a marker, the digits must read back as they are;
// written without leading zeros and grouped, the value must.
void checkRereads(const PastedNumber &number, const std::string &text, int mode) {
    const std::string marked = std::string(markers[number.notation]) + number.digits;
    PastedNumber again;
    if (readPastedNumber(marked, 1, again).reason != PasteReason::accepted ||
        !sameNumber(again, number)) {
        fail("the digits with their marker read differently", text, mode);
    }
    if (readPastedNumber(groupedText(number.value, number.notation), 1, again).reason !=
            PasteReason::accepted ||
        again.value != number.value || again.notation != number.notation) {
        fail("the grouped value read differently", text, mode);
    }
}

void checkMode(const std::string &text, int mode) {
    const PastedNumber untouched{7, 9, "untouched"};
    PastedNumber number = untouched;
    const PasteVerdict verdict = readPastedNumber(text, mode, number);
    const bool accepted = verdict.reason == PasteReason::accepted;
    const ReferenceNumber expected = referenceRead(text, mode);
    if (accepted != expected.accepted) {
        fail(accepted ? "accepted what the reference refuses"
                      : "refused what the reference accepts",
             text, mode);
    }
    if (!accepted) {
        if (!sameNumber(number, untouched)) {
            fail("a refusal changed the number", text, mode);
        }
        // The command line names the character found there.
        if (verdict.reason == PasteReason::strayCharacter && verdict.at >= text.size()) {
            fail("a stray character was placed outside the text", text, mode);
        }
        return;
    }
    if (number.value > largestValue) {
        fail("accepted a value above 4294967295", text, mode);
    }
    if (number.value != expected.value || number.notation != expected.notation ||
        number.digits != expected.digits) {
        fail("value, notation or digits differ from the reference", text, mode);
    }
    checkRereads(number, text, mode);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    const std::string text(reinterpret_cast<const char *>(data), size);
    for (int mode = 1; mode <= 3; ++mode) {
        checkMode(text, mode);
    }
    return 0;
}
