// What the transmission screen tests share: the institution's session with
// its own drive in a temporary folder, the real transmission library loaded
// at run time and a simulated clearing house beside it.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "center.h"
#include "cms/transmission/kftc_library.h"
#include "core/session_context.h"
#include "db/database.h"
#include "support/screen_test.h"

namespace qx::test {

class KftcCenterTest : public ScreenTest {
  protected:
    // `tag` names the temporary folder, one per test.
    void SetUpCenter(const std::string& tag) {
        namespace fs = std::filesystem;
        session = SessionFor(inst_);
        schema = InstitutionSchema(inst_.inx);
        db_->setLogSchema(schema);
        root = fs::temp_directory_path() /
               ("qx-" + tag + "-ui-" + inst_.id + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root);
        session.SystemDrive = MadeFolder(root / "drive").string() + "/";
        setenv("CMSCOMM_CENTER", (root / "center").c_str(), 1);
        db_->ExecuteSql("update quorisdex.admin_company set add_info6='pw12' where inx=?",
                        {inst_.inx});
        ASSERT_TRUE(lib.load(QUORISDEX_CMSCOMM_LIB)) << lib.loadError();
        center = std::make_unique<center::Center>((root / "center").string());
    }
    void TearDown() override { std::filesystem::remove_all(root); }

    // `folder`, made when it is missing.
    static const std::filesystem::path& MadeFolder(const std::filesystem::path& folder) {
        std::filesystem::create_directories(folder);
        return folder;
    }

    SessionContext session;
    std::string schema;
    std::filesystem::path root;
    KftcLibrary lib;
    std::unique_ptr<center::Center> center;
};

}  // namespace qx::test
