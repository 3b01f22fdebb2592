// How every bench reads a figure off its timed samples.
#pragma once

#include <vector>

// The value at `fraction` of the samples (0.5 the median, 0.99 the 99th
// percentile), by nearest rank. Sorts the samples first.
double percentile(std::vector<double> &samples, double fraction);
