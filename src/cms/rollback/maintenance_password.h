// The maintenance password that opens the hidden rollback screens: a fixed
// text of nine lower-case letters held by the program.
#pragma once

#include <string>

namespace qx {

inline constexpr const char* kPasswordDialogTitle = "비밀번호 확인";
inline constexpr const char* kWrongMaintenancePasswordText =
    "암호가 잘못되었습니다. 다시 시도하십시오";

// Exact, case-sensitive comparison.
bool IsMaintenancePassword(const std::string& text);

}  // namespace qx
