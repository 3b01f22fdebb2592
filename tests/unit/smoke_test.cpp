#include "harness.h"

using SmokeTest = ProgramTest;

// The whole road of a typed character: queued key events, one pass to take
// the key's press, the next to apply its character, all three rows drawn.
TEST_F(SmokeTest, TypedDigitsReachAllThreeFields) {
    standin::typeKey(1, '2');
    standin::typeKey(3, '5');
    standin::typeKey(5, '5');
    EXPECT_EQ(runPasses(8), 0);
    EXPECT_EQ(shownText(8, 1), "255");
    EXPECT_EQ(shownText(8, 2), "FF");
    EXPECT_EQ(shownText(8, 3), "11111111");
    EXPECT_EQ(standin::passesBegun(), 9);
}
