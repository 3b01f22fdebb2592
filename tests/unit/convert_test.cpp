#include "harness.h"

#include "convert/convert.h"
#include "input/edit.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <cstdint>
#include <locale>
#include <random>
#include <string>
#include <vector>

namespace {

const std::string topBit = std::string("1").append(31, '0');

using RowTexts = std::array<std::string, 3>; // decimal, hexadecimal, binary text

std::string *fieldText(int mode) {
    return mode == 1 ? &decimalText : mode == 2 ? &hexText : &binaryText;
}

// A commit as the editing step makes it, then the conversion and the zero
// rule. The two other texts start stale, as a conversion must overwrite them.
RowTexts commit(int mode, const std::string &text) {
    for (int m = 1; m <= 3; ++m) {
        *fieldText(m) = m == mode ? text : "STALE";
    }
    editText = text;
    convertEditText(mode);
    applyZeroRule();
    EXPECT_EQ(editText, text) << "the conversion must leave editText alone";
    return {decimalText, hexText, binaryText};
}

// The independent reference: the standard library's own conversion.
std::string reference(std::uint64_t value, int base) {
    char buffer[72];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, base);
    std::string text(buffer, result.ptr);
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

// Digit grouping with a comma, as some users' locales have.
struct GroupingPunct : std::numpunct<char> {
    char do_thousands_sep() const override { return ','; }
    std::string do_grouping() const override { return "\3"; }
};

class ConvertTest : public ::testing::Test {
  protected:
    void SetUp() override {
        for (int m = 1; m <= 3; ++m) {
            fieldText(m)->clear();
        }
        editText.clear();
    }
    void TearDown() override { std::locale::global(std::locale::classic()); }
};

} // namespace

// Empty and zero texts, leading zeros, the largest value, the clamp above it,
// and the zero rule, which blanks a decimal text of zeros alone.
TEST_F(ConvertTest, EdgesShowTheSameNumberInAllFields) {
    const struct {
        int mode;
        std::string edit;
        RowTexts shown;
    } cases[] = {
        // clang-format off
        {1, "", {"", "", ""}},                     {1, "0", {"", "", ""}},
        {1, "0000000000", {"", "", ""}},           {1, "255", {"255", "FF", "11111111"}},
        {1, "007", {"007", "7", "111"}},           {1, "00", {"", "", ""}},
        {1, "0005", {"0005", "5", "101"}},         {1, "0000000001", {"0000000001", "1", "1"}},
        {1, "4294967295", {"4294967295", "FFFFFFFF", ones32}},
        {1, "4294967296", {"4294967295", "FFFFFFFF", ones32}},
        {1, "9999999999", {"4294967295", "FFFFFFFF", ones32}},
        {2, "FF", {"255", "FF", "11111111"}},      {2, "00A", {"10", "00A", "1010"}},
        {2, "0", {"", "0", ""}},                   {2, "00", {"", "00", ""}},
        {2, "FFFFFFFF", {"4294967295", "FFFFFFFF", ones32}},
        {2, "", {"", "", ""}},                     {3, "101", {"5", "5", "101"}},
        {3, "0001", {"1", "1", "0001"}},           {3, "0", {"", "", "0"}},
        {3, topBit, {"2147483648", "80000000", topBit}},
        {3, ones32, {"4294967295", "FFFFFFFF", ones32}},
        {3, "", {"", "", ""}},
        // clang-format on
    };
    for (const auto &c : cases) {
        EXPECT_EQ(commit(c.mode, c.edit), c.shown) << "mode " << c.mode << " '" << c.edit << "'";
    }
}

// Decimal text must be read and written without the user's digit grouping.
TEST_F(ConvertTest, DecimalTextIgnoresTheGlobalLocale) {
    std::locale::global(std::locale(std::locale::classic(), new GroupingPunct));
    EXPECT_EQ(formatDecimal(4294967295U), "4294967295");
    EXPECT_EQ(commit(2, "FFFFFFFF"), (RowTexts{"4294967295", "FFFFFFFF", ones32}));
    EXPECT_EQ(commit(1, "1234567"), (RowTexts{"1234567", "12D687", "100101101011010000111"}));
}

// Text in one notation, plain and padded with leading zeros to the field's
// full length: the two others equal the reference, the active text stays as
// typed (but for a decimal text of zeros alone).
TEST_F(ConvertTest, SweepMatchesTheReference) {
    std::vector<std::uint64_t> values = {0, 1, 4294967295U};
    for (int k = 1; k < 32; ++k) {
        const std::uint64_t power = std::uint64_t{1} << k;
        values.insert(values.end(), {power - 1, power, power + 1});
    }
    std::mt19937 random(20240611U);
    for (int i = 0; i < 3000; ++i) {
        values.push_back(random());
    }
    const int bases[4] = {0, 10, 16, 2};
    const std::size_t lengths[4] = {0, 10, 8, 32};
    for (int mode = 1; mode <= 3; ++mode) {
        for (const bool padded : {false, true}) {
            for (const std::uint64_t value : values) {
                std::string typed = reference(value, bases[mode]);
                if (padded) {
                    typed.insert(0, lengths[mode] - typed.size(), '0');
                }
                RowTexts want;
                for (int m = 1; m <= 3; ++m) {
                    want[m - 1] = m == mode ? typed : value == 0 ? "" : reference(value, bases[m]);
                }
                if (want[0].find_first_not_of('0') == std::string::npos) {
                    want[0].clear();
                }
                ASSERT_EQ(commit(mode, typed), want) << value << (padded ? " padded" : "");
            }
        }
    }
}

// Every ten-digit decimal text beyond 32 bits shows the largest value and
// sets it as the value; a later conversion starts afresh from its own text.
TEST_F(ConvertTest, ClampAboveThirtyTwoBits) {
    std::vector<std::uint64_t> values = {4294967296U, 4294967297U, 5000000000U, 8589934592U,
                                         9999999999U};
    std::mt19937_64 random(7U);
    for (int i = 0; i < 500; ++i) {
        values.push_back(4294967296U + random() % (9999999999U - 4294967296U + 1));
    }
    for (const std::uint64_t value : values) {
        ASSERT_EQ(commit(1, std::to_string(value)), (RowTexts{"4294967295", "FFFFFFFF", ones32}))
            << value;
        bool clamped = false;
        ASSERT_EQ(readValue(1, std::to_string(value), clamped), 4294967295U) << value;
        ASSERT_TRUE(clamped) << value;
    }
    EXPECT_EQ(commit(1, ""), (RowTexts{"", "", ""}));
    bool clamped = true;
    EXPECT_EQ(readValue(1, "", clamped), 0U);
    EXPECT_FALSE(clamped);
    EXPECT_EQ(commit(1, "429496729"),
              (RowTexts{"429496729", "19999999", "11001100110011001100110011001"}));
}
