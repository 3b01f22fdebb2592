#include "percentile.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

double percentile(std::vector<double> &samples, double fraction) {
    std::sort(samples.begin(), samples.end());
    const auto last = static_cast<double>(samples.size() - 1);
    return samples[static_cast<std::size_t>(std::lround(fraction * last))];
}
