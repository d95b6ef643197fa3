// The CMS code (payer number in files) of members of an institution with its
// own payer numbering.
#include <gtest/gtest.h>

#include "core/session_context.h"
#include "db/database.h"
#include "db/payer_number.h"
#include "members/cms_code.h"
#include "members/member_record.h"
#include "support/institution_fixture.h"
#include "support/scripted_interaction.h"
#include "support/test_database.h"

namespace qx {
namespace {

class CmsCodeTest : public test::FreshInstitutionTest {
  protected:
    void SetUp() override {
        OpenInstitution();
        session.cmsinx_style = "N-12";
        session.payer_number_length = 12;
        test::MemberRow m;
        m.username = "코드회원";
        member = test::InsertMember(*db, inst.inx, m);
        m.username = "다른회원";
        other = test::InsertMember(*db, inst.inx, m);
    }

    long long Codes() { return db->scalarInt("select count(*) from " + schema + ".cmsinx_list"); }
    // Refused with exactly `text`, nothing stored.
    void ExpectRefused(const SessionContext& s, long long who, const std::string& code,
                       const std::string& text) {
        test::ScriptedInteraction ui;
        ui.defaultAnswer = true;
        const long long before = s.cmsinx_style == "N-10" ? 0 : Codes();
        EXPECT_FALSE(ChangeCmsCode(*db, s, ui, who, code)) << code;
        EXPECT_EQ(ui.texts(), std::vector<std::string>{text}) << code;
        if (s.cmsinx_style != "N-10") {
            EXPECT_EQ(Codes(), before) << code;
        }
    }

    long long member = 0, other = 0;
};

TEST_F(CmsCodeTest, RefusesWrongCodesAndKeepsOneCodePerMember) {
    SessionContext plain = session;
    plain.cmsinx_style = "N-10";
    plain.payer_number_length = 10;
    ExpectRefused(plain, member, "0000000001", kCmsCodeNotUsedText);

    ExpectRefused(session, member, "12345",
                  "신청한 납부자번호체계 자릿수(12 자리)와 맞지 않습니다.");
    ExpectRefused(session, member, "1234567890123", CmsCodeLengthText(12));
    // Six Hangul syllables are twelve bytes in CP949, but no file can carry them.
    ExpectRefused(session, member, "가나다라마바", kCmsCodeCharactersText);
    ExpectRefused(session, member, "12345 678901", kCmsCodeCharactersText);
    ExpectRefused(session, member, "", kCmsCodeCharactersText);

    test::ScriptedInteraction no;
    EXPECT_FALSE(ChangeCmsCode(*db, session, no, member, "A00000000001"));
    EXPECT_EQ(no.texts(),
              std::vector<std::string>{"CMS코드(파일내 납부자번호)를 변경 하시겠습니까?"});
    EXPECT_EQ(Codes(), 0);

    test::ScriptedInteraction yes;
    yes.defaultAnswer = true;
    ASSERT_TRUE(ChangeCmsCode(*db, session, yes, member, " A00000000001 "));
    EXPECT_EQ(yes.shown.back().text, "정상 저장하였습니다. ");
    EXPECT_EQ(LoadCmsCode(*db, session, member), "A00000000001");
    EXPECT_EQ(TranslatePayerNumber(*db, session, std::to_string(member), PayerNumberMode::Make),
              "A00000000001");
    EXPECT_EQ(TranslatePayerNumber(*db, session, "A00000000001", PayerNumberMode::Apply),
              std::to_string(member));

    // A second change replaces the code rather than adding a row.
    test::ScriptedInteraction again;
    again.defaultAnswer = true;
    ASSERT_TRUE(ChangeCmsCode(*db, session, again, member, "B00000000002"));
    EXPECT_EQ(Codes(), 1);
    EXPECT_EQ(LoadCmsCode(*db, session, member), "B00000000002");
    EXPECT_EQ(db->scalarInt("select count(*) from " + schema +
                            ".pross_log where prostxt like '%CMS코드(A00000000001>B00000000002)%'"),
              1);

    // Another member cannot take a code in use: its results would be booked here.
    ExpectRefused(session, other, "B00000000002", kCmsCodeTakenText);
    EXPECT_EQ(LoadCmsCode(*db, session, other), "");
}

TEST_F(CmsCodeTest, BranchUserCannotChangeAHeadOfficeMember) {
    SessionContext branch = session;
    branch.brinx = inst.inx * 10 + 1;
    ExpectRefused(branch, member, "A00000000001", kMemberNotFoundText);
}

}  // namespace
}  // namespace qx
