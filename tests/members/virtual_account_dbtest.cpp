// Virtual accounts taken from and returned to the shared pool.
#include <gtest/gtest.h>

#include "core/session_context.h"
#include "db/code_lists.h"
#include "db/database.h"
#include "db/server_clock.h"
#include "members/member_record.h"
#include "members/virtual_account.h"
#include "support/institution_fixture.h"
#include "support/scripted_interaction.h"
#include "support/test_database.h"

namespace qx {
namespace {

class MemberVirtualAccountTest : public test::FreshInstitutionTest {
  protected:
    void SetUp() override {
        OpenInstitution();
        ReadServerDate(*db, session);
        db->ExecuteSql("insert into " + schema +
                       ".member_user (username, payday, inday) values ('가상회원', 10, 10)");
        member = db->lastInsertId();
    }

    long long member = 0;
};

TEST_F(MemberVirtualAccountTest, AssignsTheLowestFreeAccountAndCancelsIt) {
    // The pool is shared by every institution: start from none of these numbers.
    db->ExecuteSql(
        "delete from kib.virinfo where vir_bank='신한' and vir_account between "
        "'56000000001' and '56000000003'");
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

TEST_F(MemberVirtualAccountTest, OneAccountPerMemberAndNoDeletionWhileOneIsHeld) {
    db->ExecuteSql("delete from kib.virinfo where vir_account in ('57000000001','57000000002')");
    ASSERT_EQ(AddFreeVirtualAccounts(*db, schema, "농협", 57000000001LL, 1), 1);
    ASSERT_EQ(AddFreeVirtualAccounts(*db, schema, "신한", 57000000002LL, 1), 1);
    test::ScriptedInteraction yes;
    yes.defaultAnswer = true;
    ASSERT_TRUE(AssignVirtualAccount(*db, session, yes, member, "농협"));
    // A second account at another bank would overwrite the member's columns
    // and leave the first held by nobody who can end it.
    test::ScriptedInteraction second;
    second.defaultAnswer = true;
    EXPECT_FALSE(AssignVirtualAccount(*db, session, second, member, "신한"));
    EXPECT_EQ(second.texts(), std::vector<std::string>{kVirtualHeldText});
    EXPECT_EQ(db->scalarInt("select user_key from kib.virinfo where vir_account='57000000002'"), 0);

    // An account held in the pool without the member's columns (left by an
    // older program) still stops the deletion, and the cancellation ends it.
    db->ExecuteSql(
        "update " + schema + ".member_user set virtual_bank='', virtual_no='' where member_inx=?",
        {member});
    test::ScriptedInteraction del;
    del.defaultAnswer = true;
    EXPECT_FALSE(DeleteMember(*db, session, del, member));
    EXPECT_EQ(del.texts(), std::vector<std::string>{"가상계좌 해지후 삭제 가능합니다."});
    EXPECT_TRUE(CancelVirtualAccount(*db, session, yes, member));
    EXPECT_NE(db->scalar("select userend_date from kib.virinfo where vir_account='57000000001'"),
              "");
    test::ScriptedInteraction del2;
    del2.defaultAnswer = true;
    EXPECT_TRUE(DeleteMember(*db, session, del2, member));
}

// Registration of a CMS member that passes every check.
TEST_F(MemberVirtualAccountTest, RegistrationTakesTheLowestFreeAccountWhenSetToAutomatic) {
    session.virtual_account_switch = false;  // "신규등록시 자동등록"
    ASSERT_TRUE(AssignsVirtualAccountOnRegistration(session));
    const auto members = [&] {
        return db->scalarInt("select count(*) from " + schema + ".member_user");
    };
    const long long before = members();

    // No free account at the chosen bank: refused, nothing written.
    MemberInput in = test::ValidCmsMemberInput("자동가상");
    in.virtual_bank = "우리";
    test::ScriptedInteraction none;
    EXPECT_FALSE(CreateMember(*db, session, none, in));
    EXPECT_EQ(none.texts(), std::vector<std::string>{"사용가능한 [우리] 계좌가 없습니다."});
    EXPECT_EQ(members(), before);
    EXPECT_EQ(FirstBankWithFreeVirtualAccount(*db, session), "");

    const long long base = 57000000000LL + inst.inx * 10;
    ASSERT_EQ(AddFreeVirtualAccounts(*db, schema, "우리", base + 2, 2), 2);
    ASSERT_EQ(AddFreeVirtualAccounts(*db, schema, "우리", base + 1, 1), 1);
    EXPECT_EQ(FirstBankWithFreeVirtualAccount(*db, session), "우리");
    test::ScriptedInteraction ui;
    const auto id = CreateMember(*db, session, ui, in);
    ASSERT_TRUE(id);
    // No question: the setting already says yes.
    EXPECT_EQ(ui.texts(), std::vector<std::string>{"정상 저장하였습니다. "});
    const auto row = db->OpenRecordset("select virtual_bank, virtual_no, virtual_code from " +
                                           schema + ".member_user where member_inx=?",
                                       {*id});
    EXPECT_EQ(row[0]["virtual_bank"], "우리");
    EXPECT_EQ(row[0]["virtual_no"], std::to_string(base + 1));
    EXPECT_FALSE(row[0]["virtual_code"].empty());
    const auto pool = db->OpenRecordset(
        "select user_key, user_name, user_date from kib.virinfo where vir_account=?",
        {std::to_string(base + 1)});
    EXPECT_EQ(pool[0].asInt("user_key"), *id);
    EXPECT_EQ(pool[0]["user_name"], "자동가상");
    EXPECT_EQ(pool[0]["user_date"].size(), 12u);

    // Without a chosen bank the member gets none.
    test::ScriptedInteraction plain;
    const auto other = CreateMember(*db, session, plain, test::ValidCmsMemberInput("가상없음"));
    ASSERT_TRUE(other);
    EXPECT_EQ(db->scalar("select virtual_no from " + schema + ".member_user where member_inx=?",
                         {*other}),
              "");
    EXPECT_EQ(db->scalarInt("select count(*) from kib.virinfo where user_dbname=? and "
                            "user_key=0",
                            {schema}),
              2);
}

TEST_F(MemberVirtualAccountTest, RegistrationLeavesAssignmentToTheCardWhenSetToManual) {
    session.virtual_account_switch = true;  // "관리자 지정 등록"
    EXPECT_FALSE(AssignsVirtualAccountOnRegistration(session));
    const long long base = 58000000000LL + inst.inx * 10;
    ASSERT_EQ(AddFreeVirtualAccounts(*db, schema, "농협", base, 1), 1);
    MemberInput in = test::ValidCmsMemberInput("수동가상");
    in.virtual_bank = "농협";
    test::ScriptedInteraction ui;
    const long long before = db->scalarInt("select count(*) from " + schema + ".member_user");
    EXPECT_THROW(CreateMember(*db, session, ui, in), std::invalid_argument);
    EXPECT_EQ(db->scalarInt("select count(*) from " + schema + ".member_user"), before);
    EXPECT_EQ(db->scalarInt("select user_key from kib.virinfo where vir_account=?",
                            {std::to_string(base)}),
              0);
    in.virtual_bank = "국민";
    session.virtual_account_switch = false;
    EXPECT_THROW(CreateMember(*db, session, ui, in), std::invalid_argument);
}

}  // namespace
}  // namespace qx
