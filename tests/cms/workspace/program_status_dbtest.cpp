// The test/live marker of each login id and what the first live login does
// with the files made while testing.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "cms/workspace/cms_folders.h"
#include "cms/workspace/cms_record.h"
#include "cms/workspace/file_names.h"
#include "cms/workspace/program_status.h"
#include "core/session_context.h"
#include "db/database.h"
#include "platform/profile_ini.h"
#include "session/login.h"
#include "session/post_login.h"
#include "support/scripted_interaction.h"
#include "support/test_database.h"

namespace qx {
namespace {

namespace fs = std::filesystem;

class ProgramStatusTest : public ::testing::Test {
  protected:
    void SetUp() override {
        db = test::ConnectTestDatabase();
        testing = test::CreateTestInstitution(*db);
        live = test::CreateTestInstitution(*db);
        SetState(testing, "0");
        SetState(live, "1");
        root = fs::temp_directory_path() / ("qx-prgstat-" + std::to_string(testing.inx));
        fs::remove_all(root);
        fs::create_directories(root / "app");
        ini = std::make_unique<ProfileIni>((root / "app" / "Login.ini").string());
    }
    void TearDown() override { fs::remove_all(root); }

    void SetState(const test::TestInstitution& inst, const std::string& stat) {
        db->ExecuteSql("update quorisdex.admin_company set stat_company=? where inx=?",
                       {stat, inst.inx});
    }
    // Logs in from the one program folder as a person would.
    SessionContext LogIn(const test::TestInstitution& inst) {
        SessionContext s;
        s.SystemDrive = (root / "drive").string() + "/";
        s.fileback_folder = s.SystemDrive + "quorisdex/fileback";
        s.LoginId = inst.id;
        EXPECT_EQ(ValidateLogin(*db, s, inst.id, inst.password, nullptr), kLoginAccepted);
        EXPECT_TRUE(InitSessionAfterLogin(*db, s, *ini, ui, nullptr));
        return s;
    }
    std::string Put(const SessionContext& s, const std::string& kind, const CivilDate& d,
                    const std::string& bytes = "") {
        const std::string path = MakeExchangeFolder(s, kind) + "/" + DiskFileName(kind, d);
        std::ofstream(path, std::ios::binary)
            << (bytes.empty() ? HeaderRecord(kind, s.org_code, d) : bytes);
        return path;
    }
    void Row(const test::TestInstitution& inst, const std::string& table,
             const std::string& filename, const std::string& prossStat) {
        db->ExecuteSql("insert into " + InstitutionSchema(inst.inx) + "." + table +
                           " (makedate, filename, pross_stat) values (0, ?, ?)",
                       {filename, prossStat});
    }
    std::string Archived(const SessionContext& s, const std::string& kind,
                         const std::string& name) const {
        return s.fileback_folder + "/" + s.LoginId + "/" + kind + "/2026/" + name;
    }

    std::unique_ptr<Database> db;
    test::TestInstitution testing, live;
    fs::path root;
    std::unique_ptr<ProfileIni> ini;
    test::ScriptedInteraction ui;
};

TEST_F(ProgramStatusTest, ATestLoginDoesNotTouchAnotherIdsUnsentFiles) {
    const SessionContext l = LogIn(live);
    Row(live, "ea13", "EB13261204", "0");
    Row(live, "ea21", "EB21261204", "0");
    const std::string eb13 = Put(l, "EB13", {2026, 12, 4});
    const std::string eb22 = Put(l, "EB22", {2026, 12, 4});

    const SessionContext t = LogIn(testing);
    EXPECT_EQ(ini->read(kProgramStatusSection, ProgramStatusKey(t), ""), kProgramStatusTest);
    LogIn(live);
    EXPECT_TRUE(fs::exists(eb13)) << "the live institution's unsent EB13";
    EXPECT_TRUE(fs::exists(eb22)) << "the live institution's unapplied EB22";
    EXPECT_EQ(ini->read(kProgramStatusSection, ProgramStatusKey(l), ""), kProgramStatusLive);
    EXPECT_EQ(ini->read(kProgramStatusSection, ProgramStatusKey(t), ""), kProgramStatusTest);
}

TEST_F(ProgramStatusTest, GoingLiveDeletesFinishedFilesAndArchivesOpenOnes) {
    const SessionContext t = LogIn(testing);
    const CivilDate dec3{2026, 12, 3}, dec4{2026, 12, 4}, dec5{2026, 12, 5};
    Row(testing, "ea13", "EB13261203", "1");  // answered and applied
    Row(testing, "ea13", "EB13261204", "0");  // not yet sent
    Row(testing, "ea13", "EB13261205", "9");  // being applied
    Row(testing, "ea21", "EB21261204", "1");
    const std::string done13 = Put(t, "EB13", dec3);
    const std::string done14 = Put(t, "EB14", dec3);
    const std::string open13 = Put(t, "EB13", dec4);
    const std::string applying14 = Put(t, "EB14", dec5);
    const std::string noRow21 = Put(t, "EB21", {2026, 12, 8});
    const std::string done22 = Put(t, "EB22", dec4);
    const std::string undated = Put(t, "EB13", {2026, 12, 9}, "not a cms file");

    SetState(testing, "1");
    const SessionContext first = LogIn(testing);
    for (const auto& gone : {done13, done14, done22, noRow21}) {
        EXPECT_FALSE(fs::exists(gone)) << gone;
    }
    EXPECT_FALSE(fs::exists(open13));
    EXPECT_TRUE(fs::exists(Archived(first, "EB13", "EB131204")));
    EXPECT_FALSE(fs::exists(applying14));
    EXPECT_TRUE(fs::exists(Archived(first, "EB14", "EB141205")));
    EXPECT_TRUE(fs::exists(undated)) << "a file that names no day is not deleted";
    EXPECT_EQ(ini->read(kProgramStatusSection, ProgramStatusKey(first), ""), kProgramStatusLive);

    // Only the first live login clears the folders.
    Row(testing, "ea13", "EB13261210", "1");
    const std::string later = Put(first, "EB13", {2026, 12, 10});
    LogIn(testing);
    EXPECT_TRUE(fs::exists(later));
}

}  // namespace
}  // namespace qx
