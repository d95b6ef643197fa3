#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "core/session_context.h"
#include "platform/profile_ini.h"
#include "session/update_check.h"
#include "support/scripted_interaction.h"
#include "support/test_database.h"

namespace qx {
namespace {

namespace fs = std::filesystem;

TEST(InstallKftcModules, FetchesChangedModulesAndRunsChangedInstallersOnly) {
    auto db = test::ConnectTestDatabase();
    const auto inst = test::CreateTestInstitution(*db);
    const fs::path root = fs::temp_directory_path() / "qx_kftc_modules";
    fs::remove_all(root);
    const fs::path upgrade = root / "server" / "html" / "upgrade";
    fs::create_directories(upgrade);
    fs::create_directories(root / "app");
    std::ofstream(upgrade / "quorisdex.ini")
        << "[SYSTEM]\r\nKFTCCMSDLL=2026020100\r\nKFTCNPBANKPACK=2009072710\r\n"
           "KFTCYESSIGNINSTALL=2026020100\r\nKFTCCMSCOMMSETUP=2018022218\r\n";
    std::ofstream(upgrade / "CMSCommDLL.dll") << "dll v2";
    std::ofstream(upgrade / "yessign7Install.exe") << "installer v2";
    const ProfileIni ini((root / "app" / "Login.ini").string());
    ini.write("SYSTEM", "FTPCONNIP", "file://" + (root / "server").string());

    SessionContext session;
    session.AppPath = (root / "app").string() + "/";
    session.inx = std::to_string(inst.inx);
    test::ScriptedInteraction ui;
    UpdateDisplay display;
    std::vector<std::string> ran;
    const auto run = [&](const std::string& path) {
        ran.push_back(path);
        return true;
    };

    // Not enabled for the library: nothing happens.
    InstallKftcModules(*db, session, ini, ui, display, run);
    EXPECT_FALSE(fs::exists(root / "app" / "CMSCommDLL.dll"));
    EXPECT_TRUE(ran.empty());

    db->ExecuteSql("update quorisdex.admin_company set TOLVEX_abled='1' where inx=?", {inst.inx});
    InstallKftcModules(*db, session, ini, ui, display, run);
    EXPECT_TRUE(fs::exists(root / "app" / "CMSCommDLL.dll"));
    EXPECT_EQ(ran, (std::vector<std::string>{session.AppPath + "yessign7Install.exe"}));
    EXPECT_EQ(
        ui.texts(),
        (std::vector<std::string>{"금결원 보안파일(yessign7Install.exe) 설치를 진행합니다."}));
    EXPECT_EQ(ini.read("SYSTEM", "KFTCCMSDLL", ""), "2026020100");
    EXPECT_EQ(ini.read("SYSTEM", "KFTCYESSIGNINSTALL", ""), "2026020100");
    EXPECT_FALSE(fs::exists(root / "app" / "quorisdex.ini"));

    // Stamps recorded: a second run fetches and runs nothing.
    ran.clear();
    InstallKftcModules(*db, session, ini, ui, display, run);
    EXPECT_TRUE(ran.empty());
    fs::remove_all(root);
}

}  // namespace
}  // namespace qx
