#include "members/whole_number.h"

namespace qx {

std::optional<long long> ParseWholeNumber(std::string_view text, long long limit) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    if (text.empty()) return std::nullopt;
    long long value = 0;
    bool anyDigit = false;
    for (char c : text) {
        if (c == ',') continue;
        if (c < '0' || c > '9') return std::nullopt;
        anyDigit = true;
        value = value * 10 + (c - '0');
        if (value > limit) return std::nullopt;
    }
    if (!anyDigit) return std::nullopt;
    return value;
}

}  // namespace qx
