// The folder that stands in for the Windows system drive: QUORISDEX_DRIVE,
// else the user's home. Always ends with '/'.
#pragma once

#include <string>

namespace qx {

std::string GetSystemDrive();
// The program folder given on the command line or in QUORISDEX_APP_PATH, else
// the current folder; always ends with '/'.
std::string ResolveAppPath(const std::string& given);
// Makes the program folder the current folder, so that relative paths
// (a relative FILEBACK, for one) lie under it; false when it cannot be entered.
bool EnterProgramFolder(const std::string& appPath);
// `path` as it stands when absolute, else under `base`; empty stays empty.
std::string UnderFolder(const std::string& base, const std::string& path);
// Joins folder parts with '/', tolerating trailing separators.
std::string JoinPath(const std::string& a, const std::string& b);

}  // namespace qx
