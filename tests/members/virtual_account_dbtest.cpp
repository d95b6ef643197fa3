// Virtual accounts taken from and returned to the shared pool.
#include <gtest/gtest.h>

#include "db/code_lists.h"
#include "db/database.h"
#include "db/server_clock.h"
#include "members/member_record.h"
#include "members/virtual_account.h"
#include "session/session_context.h"
#include "support/scripted_interaction.h"
#include "support/test_database.h"

namespace qx {
namespace {

class MemberVirtualAccountTest : public ::testing::Test {
  protected:
    void SetUp() override {
        db = test::ConnectTestDatabase();
        inst = test::CreateTestInstitution(*db);
        schema = InstitutionSchema(inst.inx);
        db->setLogSchema(schema);
        session.institution_number = inst.inx;
        session.inx = std::to_string(inst.inx);
        session.LoginId = inst.id;
        ReadServerDate(*db, session);
        db->ExecuteSql("insert into " + schema +
                       ".member_user (username, payday, inday) values ('가상회원', 10, 10)");
        member = db->lastInsertId();
    }

    std::unique_ptr<Database> db;
    test::TestInstitution inst;
    std::string schema;
    SessionContext session;
    long long member = 0;
};

TEST_F(MemberVirtualAccountTest, AssignsTheLowestFreeAccountAndCancelsIt) {
    test::ScriptedInteraction none;
    EXPECT_FALSE(AssignVirtualAccount(*db, session, none, member, "신한"));
    EXPECT_EQ(none.texts(), std::vector<std::string>{"사용가능한 [신한] 계좌가 없습니다."});

    ASSERT_EQ(AddFreeVirtualAccounts(*db, schema, "신한", 56000000002LL, 2), 2);
    ASSERT_EQ(AddFreeVirtualAccounts(*db, schema, "신한", 56000000001LL, 1), 1);
    test::ScriptedInteraction no;
    EXPECT_FALSE(AssignVirtualAccount(*db, session, no, member, "신한"));
    EXPECT_EQ(no.texts(), std::vector<std::string>{
                              "가상회원 고객의 가상계좌(56000000001) 를 등록하시겠습니까?"});
    test::ScriptedInteraction yes;
    yes.answers = {true};
    const auto number = AssignVirtualAccount(*db, session, yes, member, "신한");
    ASSERT_TRUE(number);
    EXPECT_EQ(*number, "56000000001");
    EXPECT_EQ(yes.shown.back().text, "정상적으로 등록 하였습니다.");
    EXPECT_EQ(db->scalarInt("select user_key from kib.virinfo where vir_account='56000000001'"),
              member);
    EXPECT_EQ(db->scalar("select virtual_no from " + schema + ".member_user where member_inx=?",
                         {member}),
              "56000000001");
    test::ScriptedInteraction again;
    again.answers = {true};
    EXPECT_FALSE(AssignVirtualAccount(*db, session, again, member, "신한"));
    EXPECT_EQ(again.texts(),
              std::vector<std::string>{"동일한 은행인 경우 추가등록 하실수 없습니다."});

    // Deleting waits for the account to be given back.
    test::ScriptedInteraction del;
    del.defaultAnswer = true;
    EXPECT_FALSE(DeleteMember(*db, session, del, member));
    EXPECT_EQ(del.texts(), std::vector<std::string>{"가상계좌 해지후 삭제 가능합니다."});

    EXPECT_TRUE(SetVirtualAccountOptions(*db, session, yes, member, "O'Brien 수취", true));
    EXPECT_EQ(db->scalar("select prt_recipient from kib.virinfo where vir_account='56000000001'"),
              "O'Brien 수취");

    test::ScriptedInteraction cancel;
    cancel.answers = {true};
    EXPECT_TRUE(CancelVirtualAccount(*db, session, cancel, member));
    EXPECT_EQ(cancel.texts(), std::vector<std::string>{"등록된 가상계좌를 해지 하시겠습니까?"});
    EXPECT_NE(db->scalar("select userend_date from kib.virinfo where vir_account='56000000001'"),
              "");
    EXPECT_EQ(db->scalar("select virtual_no from " + schema + ".member_user where member_inx=?",
                         {member}),
              "");
    EXPECT_THROW(AssignVirtualAccount(*db, session, yes, member, "국민"), std::invalid_argument);
}

}  // namespace
}  // namespace qx
