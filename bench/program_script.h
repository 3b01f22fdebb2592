// Runs of the real main procedure over the silent library, shared by the
// timing and the allocation counts: which field is active, whether each
// pass brings a typed character, and how many passes go before the ones
// that count.
#pragma once

#include <string>

// The longest text each field keeps, by notation (1 decimal, 2 hexadecimal,
// 3 binary); entry 0 is unused.
extern const std::string longestText[4];
extern const char *const notationName[4];
// A character the field of each notation takes.
extern const int typedDigit[4];

struct PassPlan {
    int notation = 1;
    bool typing = false; // a character arrives in each counted pass
    // Passes before the counted ones: the arrow steps to the field, then
    // typing until its text is as long as it gets.
    int warmPasses = 40;
};

// Called at the start of each counted pass; false ends the run there.
using CountedPass = bool (*)(int countedPass);

// Runs the main procedure over `plan`, asking `counted` before every pass
// after the warm ones.
void runPlan(const PassPlan &plan, CountedPass counted);
