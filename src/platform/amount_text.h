// Amounts of won as the screens show them: thousands separated, no decimals
// ("#,0").
#pragma once

#include <string>

namespace qx {

std::string FormatAmount(long long amount);
// A whole number as text ("-1234567") formatted the same; any other text as it is.
std::string FormatAmount(const std::string& value);

}  // namespace qx
