#include "platform/user_settings.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "platform/profile_ini.h"

namespace qx {
namespace {

std::filesystem::path ConfigHome() {
    // Only an absolute XDG_CONFIG_HOME counts; a relative one is to be ignored.
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && xdg[0] == '/') return xdg;
    const char* home = std::getenv("HOME");
    if (!home || !*home) {
        const passwd* pw = getpwuid(getuid());
        home = pw && pw->pw_dir ? pw->pw_dir : ".";
    }
    return std::filesystem::path(home) / ".config";
}

}  // namespace

UserSettings UserSettings::forCurrentUser() {
    return UserSettings((ConfigHome() / "quorisdex" / "settings.ini").string());
}

std::string UserSettings::get(const std::string& section, const std::string& key,
                              const std::string& fallback) const {
    const auto bytes = ReadWholeFile(path_);
    if (!bytes) return fallback;
    return IniText(*bytes).get(section, key).value_or(fallback);
}

bool UserSettings::set(const std::string& section, const std::string& key,
                       const std::string& value) {
    if (!IniText::IsWritable(section, key, value)) return false;
    std::error_code ec;
    const std::filesystem::path parent = std::filesystem::path(path_).parent_path();
    if (!parent.empty()) std::filesystem::create_directories(parent, ec);
    if (ec) return false;
    std::string existing;
    if (std::filesystem::exists(path_, ec)) {
        auto bytes = ReadWholeFile(path_);
        if (!bytes) return false;
        existing = std::move(*bytes);
    }
    IniText text(existing, "\n");
    text.set(section, key, value);
    return WriteFileAtomically(path_, text.bytes());
}

}  // namespace qx
