// What the program reads before anyone logs in.
#include "session/startup.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "core/session_context.h"
#include "db/payer_number.h"
#include "db/sql_script.h"
#include "platform/profile_ini.h"
#include "platform/system_drive.h"
#include "session/login.h"

namespace qx {
namespace {

namespace fs = std::filesystem;

TEST(LaunchCredentials, CodeThenIdSlashPassword) {
    auto lc = ParseLaunchCredentials("05550123987demo/demo1234");
    EXPECT_TRUE(lc.launched);
    EXPECT_EQ(lc.id, "demo");
    EXPECT_EQ(lc.password, "demo1234");

    lc = ParseLaunchCredentials("05550123987demo");
    EXPECT_TRUE(lc.launched);
    EXPECT_EQ(lc.id, "demo");
    EXPECT_EQ(lc.password, "") << "no '/' gives an empty password";

    EXPECT_FALSE(ParseLaunchCredentials("0555012398demo/x").launched);
    EXPECT_FALSE(ParseLaunchCredentials("").launched);
}

TEST(LoginHelpers, AddressAnswerKeepsOnlyOneWellFormedAddress) {
    const std::string longest6 = "ffff:ffff:ffff:ffff:ffff:ffff:255.255.255.255";  // 45
    struct Case {
        std::string answer, recorded;
    } cases[] = {
        {" 203.0.113.5\r\n", "203.0.113.5"},
        {"2001:db8::1", "2001:db8::1"},
        {longest6, longest6},
        {"<html>error</html>", ""},
        {"error", ""},
        {"", ""},
        {"203.0.113.5, 198.51.100.7", ""},        // a list of addresses
        {"203.0.113.5\n198.51.100.7", ""},        // one a line
        {"203.0.113.5\xff\xfe", ""},              // stray bytes
        {std::string("203.0.113.5\0x", 13), ""},  // a NUL inside
        {"203.0.113.256", ""},
        {"1.2.3", ""},
        {longest6 + "1", ""},  // longer than the column
        {std::string(300, '1'), ""},
    };
    for (const auto& c : cases) EXPECT_EQ(CleanIpAnswer(c.answer), c.recorded) << c.answer;
}

TEST(LoginHelpers, PayerNumberLength) {
    EXPECT_EQ(PayerNumberLength("N-10"), 10);
    EXPECT_EQ(PayerNumberLength("C-12"), 12);
    EXPECT_EQ(PayerNumberLength("C-AB"), 10);
    EXPECT_EQ(PayerNumberLength("C12"), 10);
    EXPECT_EQ(PadPayerNumber("42", 10), "0000000042");
    EXPECT_EQ(PadPayerNumber("123456789012", 10), "3456789012");
}

class DesktopSettingsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        root = fs::temp_directory_path() / ("qx-desktop-" + std::to_string(::getpid()));
        fs::remove_all(root);
        fs::create_directories(root);
        s.SystemDrive = root.string() + "/";
    }
    void TearDown() override { fs::remove_all(root); }
    fs::path root;
    SessionContext s;
};

TEST_F(DesktopSettingsTest, DefaultsCreateTheBackupFolders) {
    ProfileIni ini((root / "Login.ini").string());
    ReadDesktopSettings(s, ini);
    EXPECT_EQ(s.fileback_folder, s.SystemDrive + "quorisdex/fileback");
    EXPECT_TRUE(fs::is_directory(root / "quorisdex" / "fileback"));
    EXPECT_TRUE(fs::is_directory(root / "quorisdex" / "excel"));
    EXPECT_EQ(s.fixing_columns, 2);
    // TOLVEXOPEN, AUTOLOGIN, OPENFILEMAIN, ALLPAYMAIN, MONTHVIEW, DEVIDEPAY
    EXPECT_EQ(s.prgstat[0], 1);
    EXPECT_EQ(s.prgstat[1], 0);
    EXPECT_EQ(s.prgstat[2], 0);
    EXPECT_EQ(s.prgstat[3], 1);
    EXPECT_EQ(s.prgstat[4], 1);
    EXPECT_EQ(s.prgstat[5], 1);
}

TEST_F(DesktopSettingsTest, MovedBackupFolderAndEmptyKeys) {
    std::ofstream((root / "Login.ini").string())
        << "[FILEFOLDER]\r\nFILEBACK=" << (root / "elsewhere").string()
        << "\r\nEXCEL=\r\n[PRGSTAT]\r\nFIXINGCOL=4\r\nTOLVEXOPEN=no\r\nOPENFILEMAIN=yes\r\n"
           "MONTHVIEW=\r\n";
    ProfileIni ini((root / "Login.ini").string());
    ReadDesktopSettings(s, ini);
    EXPECT_FALSE(fs::exists(root / "quorisdex")) << "defaults not created when moved";
    EXPECT_EQ(s.excel_folder, s.SystemDrive + "quorisdex/excel") << "empty key = default";
    EXPECT_EQ(s.fixing_columns, 4);
    EXPECT_EQ(s.prgstat[0], 0);
    EXPECT_EQ(s.prgstat[2], 1);
    EXPECT_EQ(s.prgstat[4], 1) << "empty MONTHVIEW falls back to YES";
}

TEST_F(DesktopSettingsTest, RelativeFoldersLieUnderTheProgramFolder) {
    const fs::path app = root / "app";
    fs::create_directories(app);
    s.AppPath = app.string() + "/";
    std::ofstream((app / "Login.ini").string())
        << "[FILEFOLDER]\r\nFILEBACK=back\r\nEXCEL=" << (root / "xl").string() << "\r\n";
    ProfileIni ini((app / "Login.ini").string());
    ReadDesktopSettings(s, ini);
    EXPECT_EQ(s.fileback_folder, s.AppPath + "back");
    EXPECT_EQ(s.excel_folder, (root / "xl").string()) << "an absolute folder stays";

    const fs::path before = fs::current_path();
    ASSERT_TRUE(EnterProgramFolder(s.AppPath));
    EXPECT_EQ(fs::current_path(), app);
    EXPECT_FALSE(EnterProgramFolder((root / "missing").string()));
    fs::current_path(before);
}

TEST(SqlScript, SplitsAtLineEndSemicolonsOutsideQuotes) {
    auto parts = SplitSqlScript(
        "-- comment; not a statement\n"
        "CREATE TABLE a (x varchar(3) default ';');\n"
        "INSERT INTO a VALUES ('one;\n"
        "two;'), ('it''s');\n"
        "\n"
        "SELECT 1;");
    ASSERT_EQ(parts.size(), 3u);
    EXPECT_EQ(parts[0], "CREATE TABLE a (x varchar(3) default ';')");
    EXPECT_EQ(parts[1], "INSERT INTO a VALUES ('one;\ntwo;'), ('it''s')");
    EXPECT_EQ(parts[2], "SELECT 1");
}

}  // namespace
}  // namespace qx
