// Bank-code rules: display names after bank mergers and the NH code of an
// NH account number.
#pragma once

#include <string>
#include <string_view>

namespace qx {

inline constexpr const char* kNhCentral = "11";  // 농협중앙회
inline constexpr const char* kNhLocal = "12";    // 농협단위조합
inline constexpr const char* kNhUnknown = "처리불가";

// Name of the bank that took over `code` (for example "국민(004)" for 006);
// any other code comes back unchanged.
std::string MergedBankName(std::string_view code);

// "11" or "12" by the shape of the account number, or "처리불가". Blanks
// around the number are ignored; any other non-digit makes it "처리불가".
std::string NhAccountKind(std::string_view account);

}  // namespace qx
