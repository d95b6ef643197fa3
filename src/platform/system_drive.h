// The folder that stands in for the Windows system drive: QUORISDEX_DRIVE,
// else the user's home. Always ends with '/'.
#pragma once

#include <string>

namespace qx {

std::string GetSystemDrive();
// The program folder given on the command line or in QUORISDEX_APP_PATH, else
// the current folder; always ends with '/'.
std::string ResolveAppPath(const std::string& given);
// Joins folder parts with '/', tolerating trailing separators.
std::string JoinPath(const std::string& a, const std::string& b);

}  // namespace qx
