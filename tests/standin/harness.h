// What every test of the program through the stand-in starts from: a fresh
// script, and the program's records zero-filled as in a new process.
#pragma once

#include "standin.h"

#include <gtest/gtest.h>

// Runs the real main procedure over a script of `passes` passes and returns
// its exit status.
int runPasses(int passes);

// The colour a palette entry maps to, for comparing recorded calls.
ALLEGRO_COLOR paletteColor(unsigned char red, unsigned char green, unsigned char blue);
bool sameColor(const ALLEGRO_COLOR &a, const ALLEGRO_COLOR &b);

class ProgramTest : public ::testing::Test {
  protected:
    void SetUp() override;
};

// The value text drawn for field row `row` (1 decimal, 2 hexadecimal,
// 3 binary) in pass `pass`; "<none>" when the pass drew none there.
std::string shownText(int pass, int row);
