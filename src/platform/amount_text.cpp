#include "platform/amount_text.h"

namespace qx {

std::string FormatAmount(long long amount) {
    return FormatAmount(std::to_string(amount));
}

std::string FormatAmount(const std::string& value) {
    const std::size_t start = !value.empty() && value[0] == '-' ? 1 : 0;
    if (value.size() <= start) return value;
    for (std::size_t i = start; i < value.size(); ++i)
        if (value[i] < '0' || value[i] > '9') return value;  // not a whole number: as stored
    std::string out = value.substr(0, start);
    const std::size_t digits = value.size() - start;
    for (std::size_t i = 0; i < digits; ++i) {
        if (i > 0 && (digits - i) % 3 == 0) out += ',';
        out += value[start + i];
    }
    return out;
}

}  // namespace qx
