#include "platform/registry.h"

#include <cstdlib>
#include <filesystem>

#include "platform/profile_ini.h"

namespace qx {

std::string RegistryFilePath() {
    std::string base;
    if (const char* x = std::getenv("XDG_CONFIG_HOME"); x && *x) {
        base = x;
    } else if (const char* h = std::getenv("HOME"); h && *h) {
        base = std::string(h) + "/.config";
    } else {
        base = "/tmp";
    }
    return base + "/quorisdex/registry.ini";
}

std::string RegistryRead(const std::string& keyPath, const std::string& name) {
    return ProfileIni(RegistryFilePath()).read(keyPath, name, "");
}

bool RegistryWrite(const std::string& keyPath, const std::string& name, const std::string& value) {
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(RegistryFilePath()).parent_path(),
                                        ec);
    return ProfileIni(RegistryFilePath()).write(keyPath, name, value);
}

}  // namespace qx
