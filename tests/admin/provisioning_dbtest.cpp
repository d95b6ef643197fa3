// Provisioning refuses account ids and passwords that could never log in or
// would name folders outside their roots.
#include <gtest/gtest.h>

#include <stdexcept>

#include "admin/provisioning.h"
#include "db/database.h"
#include "platform/text_checks.h"
#include "support/test_database.h"

namespace qx {
namespace {

class ProvisioningTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        db_ = test::ConnectTestDatabase().release();
        inst_ = test::CreateTestInstitution(*db_);
    }
    static void TearDownTestSuite() {
        delete db_;
        db_ = nullptr;
    }
    static long long NextBranch() {
        return db_->scalarInt(
            "select greatest(coalesce(max(brinx),0),900)+1 from quorisdex.company_branch");
    }
    static inline Database* db_ = nullptr;
    static inline test::TestInstitution inst_;
};

TEST_F(ProvisioningTest, IdsThatCannotNameAFolderOrLogInAreRefused) {
    const std::string suffix = std::to_string(inst_.inx);
    const std::string bad[] = {
        "../esc" + suffix,
        "a/b" + suffix,
        "a\\b" + suffix,
        "..",
        "x..y" + suffix,
        "tab\t" + suffix,
        "new\n" + suffix,
        " lead" + suffix,
        "trail" + suffix + " ",
        "smile😀" + suffix,
        "",
        "   ",
    };
    for (const auto& id : bad) {
        SCOPED_TRACE(id);
        BranchRequest b{inst_.inx, NextBranch(), 0, id, "b1234", "지사"};
        EXPECT_THROW(CreateBranch(*db_, b), std::invalid_argument);
        EXPECT_EQ(db_->scalarInt("select count(*) from quorisdex.company_branch where brinx=?",
                                 {b.brinx}),
                  0);
    }
    // The message names what is wrong.
    try {
        CreateBranch(*db_, {inst_.inx, NextBranch(), 0, "smile😀", "b1234", "지사"});
    } catch (const std::invalid_argument& e) {
        EXPECT_EQ(e.what(), UnstorableTextMessage("로그인 아이디"));
    }
}

TEST_F(ProvisioningTest, PasswordsAndNamesTheDatabaseCannotHoldAreRefused) {
    struct Case {
        std::string password, company;
    } cases[] = {
        {" pw1", "지사"}, {"pw1 ", "지사"}, {"pw😀", "지사"}, {"pw\x01", "지사"}, {"pw1", "상호😀"}};
    int n = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.password + "/" + c.company);
        BranchRequest b{
            inst_.inx,  NextBranch(),
            0,          "pwcase" + std::to_string(n++) + "x" + std::to_string(inst_.inx),
            c.password, c.company};
        EXPECT_THROW(CreateBranch(*db_, b), std::invalid_argument);
    }
    // A Korean id and name are fine.
    const std::string id = "지사" + std::to_string(inst_.inx);
    const long long brinx = NextBranch();
    CreateBranch(*db_, {inst_.inx, brinx, 0, id, "b1234", "서울지사"});
    EXPECT_EQ(db_->scalar("select id from quorisdex.company_branch where brinx=?", {brinx}), id);
}

}  // namespace
}  // namespace qx
