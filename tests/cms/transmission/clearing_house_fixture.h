// What the tests against the simulated clearing house share: the shared
// institution with its clearing-house password, a session whose drive is a
// fresh folder of the test's own, and the clearing house's folder beside it.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "db/database.h"
#include "support/institution_fixture.h"
#include "support/test_database.h"

namespace qx::test {

class ClearingHouseTest : public ::testing::Test {
  protected:
    // The folder is "<prefix><institution>-<test name>" under the temporary directory.
    void OpenClearingHouse(const std::string& prefix) {
        db = ConnectTestDatabase();
        inst = SharedInstitution(*db, 1);
        db->setLogSchema(InstitutionSchema(inst.inx));
        session = SessionFor(inst);
        root = std::filesystem::temp_directory_path() /
               (prefix + std::to_string(inst.inx) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(root);
        std::filesystem::create_directories(root / "drive");
        // The exchange folders follow the session's drive, never the current folder.
        session.SystemDrive = (root / "drive").string() + "/";
        setenv("CMSCOMM_CENTER", (root / "center").c_str(), 1);
        db->ExecuteSql("update quorisdex.admin_company set add_info6='pw12' where inx=?",
                       {inst.inx});
    }
    std::string schema() const { return InstitutionSchema(inst.inx); }

    std::unique_ptr<Database> db;
    TestInstitution inst;
    SessionContext session;
    std::filesystem::path root;
};

}  // namespace qx::test
