// Banks that merged into others: the clearing house may still name the old
// bank, and members may still carry its code.
#pragma once

#include <string>
#include <string_view>

namespace qx {

// The 7-character code of the bank that took over `code` ("0060000" ->
// "0040000"); any other code comes back unchanged. Used both for the code a
// bank-received registration carries and for the member's stored code, so
// that the two compare alike.
std::string SucceedingBankCode(std::string_view code);

}  // namespace qx
