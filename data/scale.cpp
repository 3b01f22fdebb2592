#include "data/scale.h"

#include "data/palette.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

double windowScale = 1;

namespace {

constexpr const char *blanks = " \t";

bool isDigit(char character) {
    return character >= '0' && character <= '9';
}

} // namespace

// Digits, an optional point and fraction, blanks around: what a settings
// panel writes. Anything else is text of some other program's, not a scale.
double scaleForDpi(const std::string &setting) {
    const std::size_t first = setting.find_first_not_of(blanks);
    const std::size_t last = setting.find_last_not_of(blanks);
    if (first == std::string::npos) {
        return 1;
    }
    double dpi = 0;
    double fractionWeight = 0; // 0 before the point
    bool anyDigit = false;
    for (std::size_t at = first; at <= last; ++at) {
        const char character = setting[at];
        if (character == '.' && fractionWeight == 0) {
            fractionWeight = 1;
        } else if (isDigit(character)) {
            anyDigit = true;
            if (fractionWeight == 0) {
                dpi = dpi * 10 + (character - '0');
            } else {
                fractionWeight /= 10;
                dpi += (character - '0') * fractionWeight;
            }
        } else {
            return 1;
        }
    }
    if (!anyDigit || !std::isfinite(dpi) || dpi < 1) {
        return 1;
    }
    return std::max(1.0, dpi / referenceDpi);
}

double scaleThatFits(double wanted, int width, int height) {
    const double widest = static_cast<double>(width) / windowWidth;
    const double tallest = static_cast<double>(height) / windowHeight;
    return std::max(1.0, std::min({wanted, widest, tallest}));
}

int scaledAtScale(int coordinate) {
    return static_cast<int>(std::lround(coordinate * windowScale));
}

// Division gives the layout pixel within one either way; the two steps
// settle it against the rounding that drawing uses.
int unscaledAtScale(int pixel) {
    int unit = static_cast<int>(std::floor(pixel / windowScale));
    while (scaled(unit + 1) <= pixel) {
        ++unit;
    }
    while (scaled(unit) > pixel) {
        --unit;
    }
    return unit;
}
