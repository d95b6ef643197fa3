// The guards around a member's state and input against a real server: a
// cancelled member comes back only under a new number, period and instalment
// figures that would cancel or reprice a member are refused or kept, account
// changes only for registrations the bank holds, codes and owners only as the
// screens offer them, and text the table or a file cannot hold.
#include <gtest/gtest.h>

#include <stdexcept>

#include "admin/provisioning.h"
#include "core/session_context.h"
#include "db/code_lists.h"
#include "db/database.h"
#include "db/server_clock.h"
#include "members/auto_cancellation.h"
#include "members/branch_fixture.h"
#include "members/member_record.h"
#include "members/member_rules.h"
#include "platform/text_checks.h"
#include "session/login.h"
#include "support/institution_fixture.h"
#include "support/scripted_interaction.h"
#include "support/test_database.h"

namespace qx {
namespace {

class MemberGuardTest : public test::FreshInstitutionTest {
  protected:
    void SetUp() override {
        OpenInstitution();
        test::PinServerClock(*db, "2026-12-07 10:00:00");
        ReadServerDate(*db, session);
        BuildCodeCaseSql(*db, session);
    }
    void TearDown() override { test::UnpinServerClock(*db); }

    std::string Column(long long member, const std::string& column) {
        return db->scalar(
            "select " + column + " from " + schema + ".member_user where member_inx=?", {member});
    }
    long long Count(const std::string& table, const std::string& where) {
        return db->scalarInt("select count(*) from " + schema + "." + table + " where " + where);
    }
    long long NewMember(MemberInput in = test::ValidCmsMemberInput()) {
        test::ScriptedInteraction ui;
        ui.defaultAnswer = true;
        const auto id = CreateMember(*db, session, ui, std::move(in));
        EXPECT_TRUE(id) << (ui.shown.empty() ? "" : ui.shown.back().text);
        return id.value_or(0);
    }
    void SetState(long long member, const std::string& remove, const std::string& cms) {
        db->ExecuteSql(
            "update " + schema + ".member_user set remove=?, cms_status=? where member_inx=?",
            {remove, cms, member});
    }
    // Change with the given fields, answering yes to every question.
    ChangeResult Change(long long member, MemberInput in, test::ScriptedInteraction& ui) {
        const auto card = LoadMember(*db, session, member);
        EXPECT_TRUE(card);
        ui.defaultAnswer = true;
        return ChangeMember(*db, session, ui, member, OpenedStateOf(*card), std::move(in));
    }
    ChangeResult Change(long long member, const std::string& column, const std::string& value) {
        test::ScriptedInteraction ui;
        MemberInput in;
        in.set(column, value);
        return Change(member, std::move(in), ui);
    }
    long long NewBranch() { return test::NewTestBranch(*db, inst); }
    long long NewAgency(long long brinx) { return test::NewTestAgency(*db, inst, brinx); }
};

TEST_F(MemberGuardTest, CancelledMemberComesBackOnlyUnderANewPayerNumber) {
    // Cancelled, put on hold, then back to normal: the old number still owes
    // the bank its cancellation, so the way back is a re-issue.
    const long long m = NewMember();
    SetState(m, "1", "3");
    ASSERT_TRUE(Change(m, "remove", "2").saved);
    EXPECT_EQ(Column(m, "cms_status"), "11");
    ASSERT_TRUE(Change(m, "remove", "3").saved);
    EXPECT_EQ(Column(m, "cms_status"), "11");
    test::ScriptedInteraction ui;
    MemberInput back;
    back.set("remove", "1");
    const ChangeResult r = Change(m, back, ui);
    ASSERT_TRUE(r.saved);
    EXPECT_NE(r.member_inx, m);
    EXPECT_EQ(ui.texts().front(), "해지고객을 정상으로 변경시 새 납부자번호가 발급됩니다.");
    EXPECT_EQ(Column(m, "remove"), "4");
    EXPECT_EQ(Column(m, "cms_status"), "11");  // still in the next cancellation request
    EXPECT_EQ(Column(r.member_inx, "remove"), "1");
    EXPECT_EQ(Column(r.member_inx, "cms_status"), "0");

    // Every cancellation state on hold goes the same way; a registered member
    // on hold comes back under its own number.
    struct Case {
        const char* cms;
        bool reissued;
    };
    for (const Case c : {Case{"11", true}, Case{"12", true}, Case{"13", true}, Case{"3", false},
                         Case{"0", false}}) {
        const long long held = NewMember();
        SetState(held, "3", c.cms);
        const ChangeResult back1 = Change(held, "remove", "1");
        ASSERT_TRUE(back1.saved) << c.cms;
        EXPECT_EQ(back1.member_inx != held, c.reissued) << c.cms;
        EXPECT_EQ(Column(held, "remove"), c.reissued ? "4" : "1") << c.cms;
    }

    // Cancelling again a member the bank no longer holds keeps state 13: no
    // second cancellation is requested.
    const long long done = NewMember();
    SetState(done, "3", "13");
    ASSERT_TRUE(Change(done, "remove", "2").saved);
    EXPECT_EQ(Column(done, "cms_status"), "13");
}

TEST_F(MemberGuardTest, ReissueClearsTheAuthenticationColumns) {
    const long long m = NewMember();
    db->ExecuteSql("update " + schema +
                       ".member_user set remove='2', cms_status='13', certificate_kind='4', "
                       "certificate_number='01011112222', certificate_status='Y', "
                       "certificate_error='인증완료' where member_inx=?",
                   {m});
    const ChangeResult r = Change(m, "remove", "1");
    ASSERT_TRUE(r.saved);
    ASSERT_NE(r.member_inx, m);
    for (const char* column :
         {"certificate_kind", "certificate_number", "certificate_status", "certificate_error"}) {
        EXPECT_EQ(Column(r.member_inx, column), "") << column;
    }
    // An authentication method given: "1" and the entered mobile.
    const long long phone = NewMember();
    SetState(phone, "2", "13");
    test::ScriptedInteraction ui;
    MemberInput in;
    in.set("remove", "1");
    in.set("certificate_kind", "1");
    in.set("certificate_number", "01033334444");
    const ChangeResult r2 = Change(phone, in, ui);
    ASSERT_TRUE(r2.saved);
    EXPECT_EQ(Column(r2.member_inx, "certificate_kind"), "1");
    EXPECT_EQ(Column(r2.member_inx, "certificate_number"), "01033334444");
}

TEST_F(MemberGuardTest, BankCancellationOfACancelledMemberIsRefused) {
    const long long m = NewMember();
    SetState(m, "1", "3");
    test::ScriptedInteraction first, second;
    EXPECT_TRUE(BankCancelMember(*db, session, first, m));
    EXPECT_EQ(Column(m, "cms_status"), "13");
    EXPECT_FALSE(BankCancelMember(*db, session, second, m));
    EXPECT_EQ(second.texts(), std::vector<std::string>{"이미 해지된 회원입니다."});
    EXPECT_EQ(Count("pross_log", "prostxt like '%(" + TenDigits(m) + ") 은행해지 처리%'"), 1);
}

TEST_F(MemberGuardTest, PeriodMembersNeedAnEndThatIsAFutureMonth) {
    const std::string months = "1개월 이상 999개월 미만의 값만 입력할 수 있습니다.";
    // Becoming a period member without months is refused, with months taken.
    const long long m = NewMember();
    test::ScriptedInteraction noMonths;
    MemberInput kind4;
    kind4.set("account_divide", "4");
    EXPECT_FALSE(Change(m, kind4, noMonths).saved);
    EXPECT_EQ(noMonths.texts().back(), months);
    EXPECT_EQ(Column(m, "account_divide"), "1");

    struct Case {
        const char* start;
        const char* months;
        const char* refusal;  // nullptr: accepted
        const char* p_seday;
    };
    const Case cases[] = {
        {"2026-12", "877", nullptr, "99-12"},  // ends in December 2099
        {"2026-12", "878", kPeriodBeyondCenturyText, ""},
        {"2026-12", "900", kPeriodBeyondCenturyText, ""},
        {"2026-12", "1", nullptr, "26-12"},  // ends this month
        {"2026-11", "1", kPeriodAlreadyEndedText, ""},
        {"2020-01", "12", kPeriodAlreadyEndedText, ""},
    };
    for (const Case& c : cases) {
        const long long member = NewMember();
        test::ScriptedInteraction ui;
        MemberInput in;
        in.set("account_divide", "4");
        in.set("start_date", c.start);
        in.period_months = c.months;
        const bool saved = Change(member, in, ui).saved;
        EXPECT_EQ(saved, c.refusal == nullptr) << c.start << " " << c.months;
        if (c.refusal) {
            EXPECT_EQ(ui.texts().back(), c.refusal) << c.months;
            EXPECT_EQ(Column(member, "account_divide"), "1");
        } else {
            EXPECT_EQ(Column(member, "p_seday"), c.p_seday) << c.months;
        }
    }
    // A period member keeps its stored end when the months are not given.
    const long long period = NewMember();
    {
        test::ScriptedInteraction ui;
        MemberInput in;
        in.set("account_divide", "4");
        in.set("start_date", "2026-12");
        in.period_months = "12";
        ASSERT_TRUE(Change(period, in, ui).saved);
    }
    ASSERT_TRUE(Change(period, "comment", "메모").saved);
    EXPECT_EQ(Column(period, "p_seday"), "27-11");
}

TEST_F(MemberGuardTest, EndedPeriodMembersOfEveryBuiltInMethodAreCancelledAtLogin) {
    struct Case {
        const char* settle;
        bool cancelled;
    };
    std::vector<std::pair<long long, bool>> members;
    for (const Case c : {Case{"1", true}, Case{"2", true}, Case{"3", true}, Case{"5", true},
                         Case{"9", true}, Case{"10", false}, Case{"42", false}}) {
        test::MemberRow row;
        row.settle_accounts = c.settle;
        row.account_divide = "4";
        row.cms_status = "3";
        const long long m = test::InsertMember(*db, inst.inx, row);
        db->ExecuteSql("update " + schema + ".member_user set p_seday='26-11' where member_inx=?",
                       {m});
        members.emplace_back(m, c.cancelled);
    }
    CancelEndedPeriodMembers(*db, session, "26-12");
    for (const auto& [m, cancelled] : members) {
        EXPECT_EQ(Column(m, "remove"), cancelled ? "2" : "1")
            << "method " << Column(m, "settle_accounts");
    }
}

TEST_F(MemberGuardTest, InstalmentFiguresStayWhenSavedUnchanged) {
    // 255,000 won at 20,000 a month: the months shown are rebuilt as 12, and
    // 255,000 / 12 would make the amount 21,250.
    test::MemberRow row;
    row.account_divide = "3";
    row.pay_agreement = 255000;
    row.pay_monthdefault = 20000;
    const long long m = test::InsertMember(*db, inst.inx, row);
    db->ExecuteSql("update " + schema +
                       ".member_user set payday=10, inday=15, bank_code='0040000', "
                       "account_no='12345678901', account_jumin='800101', certificate_kind='4' "
                       "where member_inx=?",
                   {m});
    ASSERT_TRUE(Change(m, "comment", "메모").saved);  // the command line: one field
    EXPECT_EQ(Column(m, "pay_monthdefault"), "20000");
    {
        // The card: every field as shown, total and rebuilt months included.
        const auto card = LoadMember(*db, session, m);
        MemberInput in;
        for (const auto& c : EditableMemberColumns()) in.set(c, card->get(c));
        in.instalment_total = "255000";
        in.instalment_months = "12";
        test::ScriptedInteraction ui;
        ASSERT_TRUE(Change(m, in, ui).saved);
    }
    EXPECT_EQ(Column(m, "pay_monthdefault"), "20000");
    EXPECT_EQ(Count("pross_log", "prostxt like '%월납입액(%'"), 0);
    // A real change of the months reprices it.
    test::ScriptedInteraction ui;
    MemberInput in;
    in.instalment_total = "255000";
    in.instalment_months = "10";
    ASSERT_TRUE(Change(m, in, ui).saved);
    EXPECT_EQ(Column(m, "pay_monthdefault"), "25500");
}

TEST_F(MemberGuardTest, AccountChangeOnlyForRegistrationsTheBankHolds) {
    struct Case {
        const char* cms;
        bool allowed;
    };
    for (const Case c :
         {Case{"0", false}, Case{"1", false}, Case{"2", false}, Case{"11", false},
          Case{"13", false}, Case{"3", true}, Case{"6", true}, Case{"7", true}, Case{"8", true}}) {
        const long long m = NewMember();
        SetState(m, "1", c.cms);
        const auto card = LoadMember(*db, session, m);
        test::ScriptedInteraction ui;
        const auto created = ChangeMemberChannel(*db, session, ui, m, OpenedStateOf(*card),
                                                 {"0040000", "98765432101", "800101", "홍길동"});
        EXPECT_EQ(created.has_value(), c.allowed) << c.cms;
        if (!c.allowed) {
            EXPECT_EQ(ui.texts(), std::vector<std::string>{kChannelChangeUnregisteredText});
            EXPECT_EQ(Column(m, "remove"), "1") << c.cms;
            EXPECT_EQ(Column(m, "cms_status"), c.cms);
        }
    }
    // The bank code of the new account follows the same list.
    const long long m = NewMember();
    SetState(m, "1", "3");
    const auto card = LoadMember(*db, session, m);
    for (const char* bank : {"0040", "9990000", "00400a0"}) {
        test::ScriptedInteraction ui;
        EXPECT_FALSE(ChangeMemberChannel(*db, session, ui, m, OpenedStateOf(*card),
                                         {bank, "98765432101", "800101", "홍길동"}))
            << bank;
        EXPECT_EQ(ui.texts(), std::vector<std::string>{kBankCodeInvalidText}) << bank;
    }
}

// Values no screen offers, given as the command line gives them.
TEST_F(MemberGuardTest, CodesAndOwnersMustBeOnesTheScreensOffer) {
    db->ExecuteSql("update quorisdex.admin_company set cms_print='월회비,후원금' where inx=?",
                   {inst.inx});
    const long long b1 = NewBranch(), b2 = NewBranch();
    const long long a1 = NewAgency(b1);
    struct Case {
        std::vector<std::pair<const char*, std::string>> fields;
        const char* thrown;  // nullptr: accepted
    };
    const Case cases[] = {
        {{{"settle_accounts", "77"}}, "수금방식이 잘못되었습니다."},
        {{{"settle_accounts", "00"}}, "수금방식이 잘못되었습니다."},
        {{{"settle_accounts", "2"}}, nullptr},
        {{{"p_tax", "9"}}, "영수처리방식이 잘못되었습니다."},
        {{{"p_tax", "6"}}, nullptr},
        {{{"cms_printkey", "3"}}, "통장기장내역이 잘못되었습니다."},
        {{{"cms_printkey", "2"}}, nullptr},
        {{{"branch_inx", "99999"}}, "지사가 잘못되었습니다: 99999 (이 기관의 지사가 아닙니다.)"},
        {{{"branch_inx", std::to_string(b1)}, {"agency_inx", std::to_string(a1 + 1000)}},
         "해당 지사의 대리점이 아닙니다."},
        {{{"branch_inx", std::to_string(b2)}, {"agency_inx", std::to_string(a1)}},
         "해당 지사의 대리점이 아닙니다."},
        {{{"branch_inx", "0"}, {"agency_inx", std::to_string(a1)}},
         "해당 지사의 대리점이 아닙니다."},
        {{{"branch_inx", std::to_string(b1)}, {"agency_inx", std::to_string(a1)}}, nullptr},
    };
    for (const Case& c : cases) {
        MemberInput in = test::ValidCmsMemberInput();
        for (const auto& [k, v] : c.fields) in.set(k, v);
        const long long before = Count("member_user", "1=1");
        test::ScriptedInteraction ui;
        ui.defaultAnswer = true;
        if (c.thrown) {
            try {
                CreateMember(*db, session, ui, in);
                ADD_FAILURE() << c.fields.front().first << "=" << c.fields.front().second;
            } catch (const std::invalid_argument& e) {
                EXPECT_NE(std::string(e.what()).find(c.thrown), std::string::npos) << e.what();
            }
            EXPECT_EQ(Count("member_user", "1=1"), before);
        } else {
            EXPECT_TRUE(CreateMember(*db, session, ui, in))
                << c.fields.front().first << " " << (ui.shown.empty() ? "" : ui.texts().back());
        }
    }
    // On change the same lists apply to what is given.
    const long long m = NewMember();
    EXPECT_THROW(Change(m, "settle_accounts", "77"), std::invalid_argument);
    EXPECT_THROW(Change(m, "agency_inx", std::to_string(a1)), std::invalid_argument);
    EXPECT_EQ(Column(m, "agency_inx"), "0");
}

TEST_F(MemberGuardTest, ChannelCodesAndTextsTheFilesAndTablesCannotHoldAreRefused) {
    auto with = [](std::initializer_list<std::pair<const char*, const char*>> kv) {
        MemberInput in = test::ValidCmsMemberInput();
        for (const auto& [k, v] : kv) in.set(k, v);
        return in;
    };
    MemberInput negative = test::ValidCmsMemberInput();
    negative.initial_nonpayment = "-50,000";
    MemberInput zero = test::ValidCmsMemberInput();
    zero.initial_nonpayment = "0";
    MemberInput emojiItem = test::ValidCmsMemberInput();
    emojiItem.items = std::vector<MemberItem>{{"관리비😀", "", 1000, 1}};
    struct Case {
        MemberInput in;
        std::string refusal;  // empty: accepted
    };
    const Case cases[] = {
        // Bank codes: seven digits, bank part in the list.
        {with({{"bank_code", "999"}}), kBankCodeInvalidText},
        {with({{"bank_code", "ab"}}), kBankCodeInvalidText},
        {with({{"bank_code", "가나다"}}), kBankCodeInvalidText},
        {with({{"bank_code", "0040"}}), kBankCodeInvalidText},
        {with({{"bank_code", "9990000"}}), kBankCodeInvalidText},
        {with({{"bank_code", "00400000"}}), kBankCodeInvalidText},
        {with({{"bank_code", "0041234"}}), ""},
        {with({{"settle_accounts", "2"}, {"bank_code", "abc"}}), kBankCodeInvalidText},
        // Phone carriers.
        {with({{"settle_accounts", "4"}, {"bank_code", "99"}, {"account_no", "0101234"}}),
         kCarrierInvalidText},
        {with({{"settle_accounts", "4"}, {"bank_code", "19"}, {"account_no", "0101234"}}), ""},
        // Holder number of a phone member: 9 Hangul are 18 bytes of a 16-byte field.
        {with({{"settle_accounts", "4"},
               {"bank_code", "11"},
               {"account_no", "0101234"},
               {"account_jumin", "가나다라마바사아자"}}),
         "예금주번호은(는) 16자리(영문·숫자)까지 입력할 수 있습니다."},
        {with({{"account_no", "12345678901234567"}}),
         "계좌번호은(는) 16자리(영문·숫자)까지 입력할 수 있습니다."},
        {with({{"account_no", "1234567890123456"}}), ""},
        // Text: control characters and characters the table cannot store.
        {with({{"username", "홍\n길동"}}), ControlCharacterMessage("고객명")},
        {with({{"account_name", "홍\t길동"}}), ControlCharacterMessage("예금주명")},
        {with({{"comment", "첫줄\n둘째줄"}}), ""},
        {with({{"address", "서울😀"}}), UnstorableTextMessage("주소")},
        {with({{"client_info3", "\xF0\x9F\x98\x80"}}), UnstorableTextMessage("추가정보3")},
        {with({{"user_email", "a😀@b.kr"}}), UnstorableTextMessage("이메일")},
        {emojiItem, UnstorableTextMessage("품목")},
        // The initial outstanding amount.
        {negative, kNegativeInitialNonpaymentText},
        {zero, ""},
        // Cash-receipt numbers: 10 to 16 digits.
        {with({{"p_tax", "7"}, {"cash_receipt_info", "123456789"}}),
         "영수발행정보 자릿수 오류입니다."},
        {with({{"p_tax", "7"}, {"cash_receipt_info", "1234567890"}}), ""},
        {with({{"p_tax", "7"}, {"cash_receipt_info", "1234567890123456"}}), ""},
        {with({{"p_tax", "7"}, {"cash_receipt_info", "12345678901234567"}}),
         "영수발행정보 자릿수 오류입니다."},
    };
    for (const Case& c : cases) {
        const long long before = Count("member_user", "1=1");
        test::ScriptedInteraction ui;
        ui.defaultAnswer = true;
        const auto id = CreateMember(*db, session, ui, c.in);
        const std::string last = ui.shown.empty() ? "" : ui.texts().back();
        if (c.refusal.empty()) {
            EXPECT_TRUE(id) << last;
        } else {
            EXPECT_FALSE(id) << c.refusal;
            EXPECT_EQ(last.substr(0, c.refusal.size()), c.refusal);
            EXPECT_EQ(Count("member_user", "1=1"), before) << c.refusal;
        }
    }
    // A bank given by its 3-digit code alone is stored with the head branch,
    // as the files write it.
    const long long shortCode = NewMember(with({{"bank_code", "004"}}));
    EXPECT_EQ(Column(shortCode, "bank_code"), "0040000");
    // No ledger row and no negative total was written for the refused amount.
    EXPECT_EQ(Count("member_user", "pay_nonpayment<0"), 0);
}

TEST_F(MemberGuardTest, NameFilterMatchesPercentAndUnderscoreLiterally) {
    for (const char* name : {"100%할인", "100원", "a_b", "axb", "c!d", "c!!d"}) {
        test::MemberRow row;
        row.username = name;
        test::InsertMember(*db, inst.inx, row);
    }
    auto names = [&](const std::string& typed) {
        MemberFilter f;
        f.username = typed;
        std::vector<std::string> out;
        for (const auto& r : ListMembers(*db, session, f)) out.push_back(r.get("username"));
        return out;
    };
    EXPECT_EQ(names("100%"), std::vector<std::string>{"100%할인"});
    EXPECT_EQ(names("a_b"), std::vector<std::string>{"a_b"});
    EXPECT_EQ(names("c!d"), std::vector<std::string>{"c!d"});
    EXPECT_EQ(names("100"), (std::vector<std::string>{"100%할인", "100원"}));
}

// Position 15 of cms_set, read by the login, decides whether an instalment
// member must have exactly one item.
TEST_F(MemberGuardTest, ItemSwitchFollowsCmsSetThroughTheLogin) {
    struct Case {
        char position15;
        int items;
        bool accepted;
    };
    for (const Case c : {Case{'1', 2, false}, Case{'1', 0, false}, Case{'1', 1, true},
                         Case{'0', 2, true}, Case{'0', 0, true}}) {
        db->ExecuteSql("update quorisdex.admin_company set cms_set=? where inx=?",
                       {std::string("00000000000000") + c.position15, inst.inx});
        SessionContext s;
        ASSERT_EQ(ValidateLogin(*db, s, inst.id, inst.password, [] { return std::string(); }),
                  kLoginAccepted);
        ReadServerDate(*db, s);
        BuildCodeCaseSql(*db, s);
        EXPECT_EQ(s.prgstat[kItemsUnused], c.position15 == '1' ? 0 : 1);
        MemberInput in = test::ValidCmsMemberInput();
        in.set("account_divide", "3");
        in.instalment_total = "120000";
        in.instalment_months = "12";
        in.items = std::vector<MemberItem>(static_cast<std::size_t>(c.items),
                                           MemberItem{"상품", "", 10000, 1});
        test::ScriptedInteraction ui;
        ui.defaultAnswer = true;
        const auto id = CreateMember(*db, s, ui, in);
        EXPECT_EQ(id.has_value(), c.accepted) << c.position15 << " " << c.items;
        if (!c.accepted) {
            EXPECT_EQ(ui.texts().back(), "수납구분이 할부매출인경우 품목은 하나만 선택가능합니다.");
        }
    }
}

}  // namespace
}  // namespace qx
