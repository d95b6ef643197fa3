// The way out for a written file, as TOLVEX_abled chooses it.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "cms/transmission/open_transmission.h"
#include "db/database.h"
#include "support/institution_fixture.h"
#include "support/scripted_interaction.h"
#include "support/test_database.h"

namespace qx {
namespace {

namespace fs = std::filesystem;

class OpenTransmissionTest : public ::testing::Test {
  protected:
    void SetUp() override {
        db = test::ConnectTestDatabase();
        inst = test::SharedInstitution(*db, 1);
        session = test::SessionFor(inst);
        root = fs::temp_directory_path() / ("qx-send-" + std::to_string(inst.inx));
        fs::create_directories(root / "app");
        session.AppPath = (root / "app").string() + "/";
        session.tolvex_folder = (root / "Program Files (x86)" / "TolvexV2").string();
        launch.openKftcScreen = [this]() { ++kftcScreens; };
        launch.startProgram = [this](const std::string& program, const std::string& folder) {
            started.push_back(program + "@" + folder);
            return true;
        };
        launch.openWithDesktop = [this](const std::string& target) {
            opened.push_back(target);
            return true;
        };
    }
    void TearDown() override { fs::remove_all(root); }
    void Switch(const std::string& tolvex, const std::string& addInfo6 = "ab12") {
        db->ExecuteSql("update quorisdex.admin_company set TOLVEX_abled=?, add_info6=? where inx=?",
                       {tolvex, addInfo6, inst.inx});
    }
    TransmissionPath Open() { return OpenTransmission(*db, session, ui, launch); }

    std::unique_ptr<Database> db;
    test::TestInstitution inst;
    SessionContext session;
    test::ScriptedInteraction ui;
    TransmissionLaunchers launch;
    fs::path root;
    int kftcScreens = 0;
    std::vector<std::string> started, opened;
};

TEST_F(OpenTransmissionTest, LibraryScreenOnlyWhenTheLibraryIsThere) {
    Switch("1", "  x9  ");
    EXPECT_EQ(Open(), TransmissionPath::Missing);
    EXPECT_EQ(ui.texts(), std::vector<std::string>{kKftcLibraryMissingText});
    EXPECT_EQ(session.TOLVEX_abled, "1");
    EXPECT_EQ(session.add_in_code, "x9      ");
    std::ofstream(root / "app" / kKftcLibraryFile) << "lib";
    EXPECT_EQ(Open(), TransmissionPath::KftcScreen);
    EXPECT_EQ(kftcScreens, 1);
}

TEST_F(OpenTransmissionTest, CompanionProgramFallsBackFromProgramFilesX86) {
    Switch("0");
    EXPECT_EQ(Open(), TransmissionPath::Missing);
    EXPECT_EQ(ui.texts(), std::vector<std::string>{kCompanionMissingText});
    const fs::path real = root / "Program Files" / "TolvexV2";
    fs::create_directories(real);
    std::ofstream(real / kCompanionProgramFile) << "exe";
    EXPECT_EQ(Open(), TransmissionPath::CompanionProgram);
    ASSERT_EQ(started.size(), 1u);
    EXPECT_EQ(started[0], (real / kCompanionProgramFile).string() + "@" + real.string());
}

TEST_F(OpenTransmissionTest, WebFileManagerAndOtherPaths) {
    Switch("2");
    session.service_site = "http://127.0.0.1:1";
    EXPECT_EQ(Open(), TransmissionPath::WebFileManager);
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_NE(opened[0].find("temp_quorapi205.html"), std::string::npos);
    Switch("7");
    EXPECT_EQ(Open(), TransmissionPath::None);
    session.cmsrunprg = 2;
    Switch("1");
    EXPECT_EQ(Open(), TransmissionPath::None);
    EXPECT_EQ(kftcScreens, 0);
}

}  // namespace
}  // namespace qx
