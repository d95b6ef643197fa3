// Whole numbers typed by a user: codes, prices, months and quantities.
#pragma once

#include <optional>
#include <string_view>

namespace qx {

// The value of a text made only of the digits 0-9 (blanks around it and
// thousands commas are allowed); nullopt for anything else, for an empty
// text and for values above `limit`, so that an absurd entry is refused
// rather than wrapped.
std::optional<long long> ParseWholeNumber(std::string_view text, long long limit = 2147483647LL);

}  // namespace qx
