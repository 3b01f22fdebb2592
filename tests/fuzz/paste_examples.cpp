// Known answers, checked as the paste fuzzer starts: two readers that agree
// can still share a misreading of the rules, a table of examples cannot.

#include "paste_reference.h"

#include "convert/paste.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

struct Example {
    std::string_view text;
    int mode;
    bool accepted;
    std::uint64_t value;
    int notation;
    std::string_view digits;
};

constexpr Example examples[] = {
    {"255", 1, true, 255, 1, "255"},
    {"  255\n", 1, true, 255, 1, "255"},
    {"4 294 967 295", 1, true, 4294967295U, 1, "4294967295"},
    {"4\u00A0294\u00A0967\u00A0295", 1, true, 4294967295U, 1, "4294967295"},
    {"4\u202F294\u202F967\u202F295", 1, true, 4294967295U, 1, "4294967295"},
    {"1,234", 1, true, 1234, 1, "1234"},
    {"1_000", 1, true, 1000, 1, "1000"},
    {"0xFF", 1, true, 255, 2, "FF"},
    {"0XfF", 3, true, 255, 2, "FF"},
    {"FFh", 1, true, 255, 2, "FF"},
    {"ffH", 3, true, 255, 2, "FF"},
    {"0B1Fh", 3, true, 2847, 2, "0B1F"},
    {"0b1010", 1, true, 10, 3, "1010"},
    {"0B1_0_1", 2, true, 5, 3, "101"},
    {"0b0000_1010", 1, true, 10, 3, "00001010"},
    {"DEAD'BEEF", 2, true, 3735928559U, 2, "DEADBEEF"},
    {"0xdead_beef", 1, true, 3735928559U, 2, "DEADBEEF"},
    {"12 34", 2, true, 0x1234, 2, "1234"},
    {"1010 1010", 3, true, 170, 3, "10101010"},
    {"0x0000_0000_FFFF_FFFF", 1, true, 4294967295U, 2, "00000000FFFFFFFF"},
    {"0x00000000000000FF", 1, true, 255, 2, "00000000000000FF"},
    {"", 1, false, 0, 0, ""},
    {"   ", 2, false, 0, 0, ""},
    {"-1", 1, false, 0, 0, ""},
    {"+1", 1, false, 0, 0, ""},
    {"1.5", 1, false, 0, 0, ""},
    {"1,5", 1, false, 0, 0, ""},
    {"1,23,456", 1, false, 0, 0, ""},
    {"12 34", 1, false, 0, 0, ""},
    {"12  34", 2, false, 0, 0, ""},
    {"12\t34", 2, false, 0, 0, ""},
    {"1 \u00A0", 1, false, 0, 0, ""},
    {"_12", 2, false, 0, 0, ""},
    {"12_", 2, false, 0, 0, ""},
    {"0x", 1, false, 0, 0, ""},
    {"0b", 2, false, 0, 0, ""},
    {"h", 2, false, 0, 0, ""},
    {"0xh", 2, false, 0, 0, ""},
    {"0x1Fh", 2, false, 0, 0, ""},
    {"0x_FF", 2, false, 0, 0, ""},
    {"0xFF h", 2, false, 0, 0, ""},
    {"ff", 1, false, 0, 0, ""},
    {"2", 3, false, 0, 0, ""},
    {"4294967296", 1, false, 0, 0, ""},
    {"0x100000000", 1, false, 0, 0, ""},
    {"1 0x2", 2, false, 0, 0, ""},
    {"\u0661\u0662\u0663", 1, false, 0, 0, ""},
    {"\xC3", 1, false, 0, 0, ""},
    {"\xC0\xB1", 1, false, 0, 0, ""},
};

bool programReadsAsTold(const Example &example) {
    PastedNumber number;
    const bool accepted = readPastedNumber(std::string(example.text), example.mode, number);
    return accepted == example.accepted &&
           (!accepted || (number.value == example.value && number.notation == example.notation &&
                          number.digits == example.digits));
}

bool referenceReadsAsTold(const Example &example) {
    const ReferenceNumber number = referenceRead(std::string(example.text), example.mode);
    return number.accepted == example.accepted &&
           (!number.accepted ||
            (number.value == example.value && number.notation == example.notation &&
             number.digits == example.digits));
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int * /*argc*/, char *** /*argv*/) {
    bool allRight = true;
    for (const Example &example : examples) {
        const bool program = programReadsAsTold(example);
        const bool reference = referenceReadsAsTold(example);
        if (!program || !reference) {
            (void)std::fprintf(stderr, "paste example \"%.*s\" in mode %d: %s reads it wrongly\n",
                               static_cast<int>(example.text.size()), example.text.data(),
                               example.mode, program ? "the reference" : "the program");
            allRight = false;
        }
    }
    if (!allRight) {
        std::abort();
    }
    return 0;
}
