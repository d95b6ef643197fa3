// Blanks, tabs and line ends removed from both ends, as fields read from
// files and the database are compared.
#pragma once

#include <string>
#include <string_view>

namespace qx {

inline std::string Trim(std::string_view s) {
    const auto b = s.find_first_not_of(" \t\r\n");
    if (b == std::string_view::npos) return {};
    const auto e = s.find_last_not_of(" \t\r\n");
    return std::string(s.substr(b, e - b + 1));
}

}  // namespace qx
