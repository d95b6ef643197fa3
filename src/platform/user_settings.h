// The per-user settings store: the last login id and password (scrambled)
// and the newest acknowledged notice. On Linux a UTF-8 file of [section]
// key=value lines at $XDG_CONFIG_HOME/quorisdex/settings.ini (by default
// ~/.config/quorisdex/settings.ini).
#pragma once

#include <string>

namespace qx {

inline constexpr const char* kSavedIdSection = "saveid";
inline constexpr const char* kSavedIdKey = "id";
inline constexpr const char* kSavedPasswordKey = "pwd";
inline constexpr const char* kSettingsSection = "Settings";
inline constexpr const char* kBoardKey = "boardkey";
inline constexpr const char* kBoardKeyDefault = "0";

class UserSettings {
  public:
    explicit UserSettings(std::string path) : path_(std::move(path)) {}
    static UserSettings forCurrentUser();
    const std::string& path() const { return path_; }

    // The stored value (which may be empty), or `fallback` when the key is
    // not stored at all.
    std::string get(const std::string& section, const std::string& key,
                    const std::string& fallback = "") const;
    // Creates the folder and file as needed; false when they cannot be
    // written or the text cannot be stored on one line.
    bool set(const std::string& section, const std::string& key, const std::string& value);

  private:
    std::string path_;
};

}  // namespace qx
