// The figures of a set of timed passes, read off as every bench reads them
// (percentile.h), whichever launches the passes came from.
//
// Usage: pass_figures < PASSES
// Reads lines "<name words> <µs> <heap allocations>", and prints for each
// name, in the order first seen:
//   <name words> <median µs> <99th percentile µs> <mean heap allocations>
// The allocations' mean, not their median: passes with and without the
// blinking cursor differ by a few, and a median falls on either side by
// chance.
#include "percentile.h"

#include <cstdio>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct Passes {
    std::string name;
    std::vector<double> micros;
    double allocations = 0;
};

} // namespace

int main() {
    std::vector<Passes> sets;
    std::string line;
    while (std::getline(std::cin, line)) {
        std::istringstream words(line);
        std::vector<std::string> fields;
        for (std::string word; words >> word;) {
            fields.push_back(word);
        }
        if (fields.size() < 3) {
            (void)std::fprintf(stderr, "pass_figures: not a pass: %s\n", line.c_str());
            return 1;
        }
        std::string name = fields[0];
        for (std::size_t i = 1; i + 2 < fields.size(); ++i) {
            name += ' ' + fields[i];
        }
        Passes *set = nullptr;
        for (Passes &known : sets) {
            set = known.name == name ? &known : set;
        }
        if (set == nullptr) {
            set = &sets.emplace_back();
            set->name = name;
        }
        set->micros.push_back(std::stod(fields[fields.size() - 2]));
        set->allocations += std::stod(fields.back());
    }
    for (Passes &set : sets) {
        const double count = static_cast<double>(set.micros.size());
        std::printf("%s %.0f %.0f %.1f\n", set.name.c_str(), percentile(set.micros, 0.5),
                    percentile(set.micros, 0.99), set.allocations / count);
    }
    return 0;
}
