// Stand-in for the per-user registry values the companion programs read:
// one ini file under the user's config folder, a section per key path.
#pragma once

#include <string>

namespace qx {

std::string RegistryFilePath();
std::string RegistryRead(const std::string& keyPath, const std::string& name);
bool RegistryWrite(const std::string& keyPath, const std::string& name, const std::string& value);

}  // namespace qx
