#include "platform/user_settings.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>

#include "platform/profile_ini.h"

namespace qx {
namespace {

namespace fs = std::filesystem;

class UserSettingsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("qx_settings_" +
                std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }
    fs::path dir_;
};

// Sets an environment variable for the life of the object.
class ScopedEnv {
  public:
    ScopedEnv(const char* name, const char* value) : name_(name) {
        if (const char* old = getenv(name)) old_ = old;
        value ? setenv(name, value, 1) : unsetenv(name);
    }
    ~ScopedEnv() { old_ ? setenv(name_, old_->c_str(), 1) : unsetenv(name_); }

  private:
    const char* name_;
    std::optional<std::string> old_;
};

TEST_F(UserSettingsTest, MissingKeysGiveTheFallbackAndStoredValuesComeBack) {
    UserSettings settings((dir_ / "quorisdex" / "settings.ini").string());
    EXPECT_EQ(settings.get(kSettingsSection, kBoardKey, kBoardKeyDefault), "0");
    ASSERT_TRUE(settings.set(kSavedIdSection, kSavedIdKey, "126A0B3C"));
    ASSERT_TRUE(settings.set(kSavedIdSection, kSavedPasswordKey, ""));
    ASSERT_TRUE(settings.set(kSettingsSection, kBoardKey, "1532"));
    ASSERT_TRUE(settings.set(kSettingsSection, kBoardKey, "1533"));

    UserSettings again(settings.path());
    EXPECT_EQ(again.get("saveid", "id"), "126A0B3C");
    EXPECT_EQ(again.get("saveid", "pwd", "fallback"), "");  // stored empty is not missing
    EXPECT_EQ(again.get("settings", "BOARDKEY", "0"), "1533");

    EXPECT_EQ(ReadWholeFile(settings.path()).value_or(""),
              "[saveid]\nid=126A0B3C\npwd=\n[Settings]\nboardkey=1533\n");
}

TEST_F(UserSettingsTest, KeepsKoreanAsUtf8AndRefusesLineBreaks) {
    UserSettings settings((dir_ / "settings.ini").string());
    ASSERT_TRUE(settings.set("Settings", "title", "쿼리스"));
    EXPECT_EQ(settings.get("Settings", "title"), "쿼리스");
    EXPECT_FALSE(settings.set("Settings", "title", "a\nb"));
    EXPECT_EQ(settings.get("Settings", "title"), "쿼리스");
}

TEST_F(UserSettingsTest, UnwritablePlaceFailsWithoutThrowing) {
    fs::create_directories(dir_);
    std::ofstream(dir_ / "file") << "x";
    UserSettings settings((dir_ / "file" / "settings.ini").string());
    EXPECT_FALSE(settings.set("Settings", "boardkey", "1"));
    EXPECT_EQ(settings.get("Settings", "boardkey", "0"), "0");
}

TEST_F(UserSettingsTest, CurrentUserFileFollowsXdgConfigHome) {
    {
        ScopedEnv xdg("XDG_CONFIG_HOME", dir_.c_str());
        EXPECT_EQ(UserSettings::forCurrentUser().path(),
                  (dir_ / "quorisdex" / "settings.ini").string());
    }
    {
        ScopedEnv xdg("XDG_CONFIG_HOME", "relative/ignored");
        ScopedEnv home("HOME", dir_.c_str());
        EXPECT_EQ(UserSettings::forCurrentUser().path(),
                  (dir_ / ".config" / "quorisdex" / "settings.ini").string());
    }
}

}  // namespace
}  // namespace qx
