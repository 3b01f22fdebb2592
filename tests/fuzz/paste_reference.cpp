#include "paste_reference.h"

#include <string_view>
#include <vector>

namespace {

using Groups = std::vector<std::u32string>;

// Counts the continuation bytes a lead byte announces; -1 for a byte that
// can lead nothing.
int continuationCount(unsigned char lead) {
    if (lead < 0x80) {
        return 0;
    }
    if (lead >= 0xC0 && lead < 0xE0) {
        return 1;
    }
    if (lead >= 0xE0 && lead < 0xF0) {
        return 2;
    }
    if (lead >= 0xF0 && lead < 0xF8) {
        return 3;
    }
    return -1;
}

// The smallest code point that needs each length; anything below it is overlong.
constexpr char32_t shortestForLength[] = {0, 0x80, 0x800, 0x10000};

bool decodeUtf8(const std::string &text, std::u32string &points) {
    std::size_t at = 0;
    while (at < text.size()) {
        const auto lead = static_cast<unsigned char>(text[at]);
        const int more = continuationCount(lead);
        if (more < 0 || text.size() - at <= static_cast<std::size_t>(more)) {
            return false;
        }
        char32_t point = more == 0 ? lead : lead & (0x3FU >> static_cast<unsigned>(more));
        for (int index = 1; index <= more; ++index) {
            const auto next =
                static_cast<unsigned char>(text[at + static_cast<std::size_t>(index)]);
            if ((next & 0xC0U) != 0x80U) {
                return false;
            }
            point = (point << 6U) | (next & 0x3FU);
        }
        const bool surrogate = point >= 0xD800 && point <= 0xDFFF;
        if (point < shortestForLength[more] || surrogate || point > 0x10FFFF) {
            return false;
        }
        points.push_back(point);
        at += static_cast<std::size_t>(more) + 1;
    }
    return true;
}

bool isBlank(char32_t point) {
    return point == U' ' || point == U'\t' || point == U'\r' || point == U'\n';
}

std::u32string trimmed(const std::u32string &points) {
    std::size_t begin = 0;
    std::size_t end = points.size();
    while (begin < end && isBlank(points[begin])) {
        ++begin;
    }
    while (end > begin && isBlank(points[end - 1])) {
        --end;
    }
    return points.substr(begin, end - begin);
}

// Picks the notation and cuts the marker off `points`; false when there is
// no marker and the mode names no notation.
bool takeMarker(std::u32string &points, int mode, int &notation) {
    const std::size_t size = points.size();
    if (size > 0 && (points[size - 1] == U'h' || points[size - 1] == U'H')) {
        points.pop_back();
        notation = 2;
        return true;
    }
    if (size >= 2 && points[0] == U'0') {
        const char32_t second = points[1];
        notation = (second == U'x' || second == U'X')   ? 2
                   : (second == U'b' || second == U'B') ? 3
                                                        : 0;
        if (notation != 0) {
            points.erase(0, 2);
            return true;
        }
    }
    notation = mode;
    return mode >= 1 && mode <= 3;
}

bool isSeparator(char32_t point, int notation) {
    constexpr std::u32string_view anywhere = U" \u00A0\u202F_'";
    return anywhere.find(point) != std::u32string_view::npos || (notation == 1 && point == U',');
}

Groups splitGroups(const std::u32string &body, int notation) {
    Groups groups(1);
    for (const char32_t point : body) {
        if (isSeparator(point, notation)) {
            groups.emplace_back();
        } else {
            groups.back().push_back(point);
        }
    }
    return groups;
}

bool groupsAreWellFormed(const Groups &groups, int notation) {
    constexpr std::u32string_view digitsOf[] = {U"", U"0123456789", U"0123456789abcdefABCDEF",
                                                U"01"};
    for (const std::u32string &group : groups) {
        if (group.empty() || group.find_first_not_of(digitsOf[notation]) != std::u32string::npos) {
            return false;
        }
    }
    if (notation != 1 || groups.size() == 1) {
        return true;
    }
    for (std::size_t index = 1; index < groups.size(); ++index) {
        if (groups[index].size() != 3) {
            return false;
        }
    }
    return groups[0].size() <= 3;
}

std::string upperDigits(const Groups &groups) {
    std::string digits;
    for (const std::u32string &group : groups) {
        for (const char32_t point : group) {
            const auto character = static_cast<char>(point);
            digits.push_back(character >= 'a' ? static_cast<char>(character - 'a' + 'A')
                                              : character);
        }
    }
    return digits;
}

// Compares digit strings rather than counting up, so no sum can wrap.
bool fitsInto32Bits(const std::string &significant, int notation) {
    constexpr std::string_view largest[] = {"", "4294967295", "FFFFFFFF",
                                            "11111111111111111111111111111111"};
    const std::string_view limit = largest[notation];
    return significant.size() < limit.size() ||
           (significant.size() == limit.size() && significant <= limit);
}

} // namespace

ReferenceNumber referenceRead(const std::string &text, int mode) {
    ReferenceNumber number;
    std::u32string points;
    if (!decodeUtf8(text, points)) {
        return number;
    }
    std::u32string body = trimmed(points);
    if (!takeMarker(body, mode, number.notation)) {
        return number;
    }
    const Groups groups = splitGroups(body, number.notation);
    if (!groupsAreWellFormed(groups, number.notation)) {
        return number;
    }
    number.digits = upperDigits(groups);
    const std::size_t firstSignificant = number.digits.find_first_not_of('0');
    const std::string significant =
        firstSignificant == std::string::npos ? "0" : number.digits.substr(firstSignificant);
    if (!fitsInto32Bits(significant, number.notation)) {
        return number;
    }
    constexpr int bases[] = {0, 10, 16, 2};
    number.value = std::stoull(significant, nullptr, bases[number.notation]);
    number.accepted = true;
    return number;
}
