// Member registration, change, re-issue, deletion and the list against a real
// server: the checks in their order with their texts, the rows written, and
// the role restriction.
#include <gtest/gtest.h>

#include "admin/provisioning.h"
#include "core/session_context.h"
#include "db/code_lists.h"
#include "db/database.h"
#include "db/server_clock.h"
#include "members/branch_fixture.h"
#include "members/member_record.h"
#include "members/member_rules.h"
#include "support/institution_fixture.h"
#include "support/scripted_interaction.h"
#include "support/test_database.h"

namespace qx {
namespace {

class MemberRecordTest : public test::FreshInstitutionTest {
  protected:
    void SetUp() override {
        OpenInstitution();
        test::PinServerClock(*db, "2026-12-07 10:00:00");
        session = Session(0, 0);
    }
    void TearDown() override { test::UnpinServerClock(*db); }

    SessionContext Session(long long brinx, long long aginx) {
        SessionContext s;
        s.institution_number = inst.inx;
        s.inx = std::to_string(inst.inx);
        s.brinx = brinx;
        s.aginx = aginx;
        s.LoginId = inst.id;
        s.month_max = 3;
        ReadServerDate(*db, s);
        BuildCodeCaseSql(*db, s);
        return s;
    }

    // A CMS member that passes every check.
    static MemberInput ValidCms() { return test::ValidCmsMemberInput(); }
    static MemberInput ValidCard() {
        MemberInput in = ValidCms();
        in.set("settle_accounts", "5");
        in.set("bank_code", "");
        in.set("account_no", "4123456789012345");
        in.set("account_jumin", "2912");
        in.set("certificate_number", "01012345678");
        return in;
    }

    long long Count(const std::string& table, const std::string& where = "1=1") {
        return db->scalarInt("select count(*) from " + schema + "." + table + " where " + where);
    }
    std::string Column(long long member, const std::string& column) {
        return db->scalar(
            "select " + column + " from " + schema + ".member_user where member_inx=?", {member});
    }
    long long Insert(const std::string& extra_cols, const SqlParams& values) {
        std::string marks;
        for (std::size_t i = 0; i < values.size(); ++i) marks += i ? ",?" : "?";
        db->ExecuteSql(
            "insert into " + schema + ".member_user (" + extra_cols + ") values (" + marks + ")",
            values);
        return db->lastInsertId();
    }

    // A branch (and, with `agency`, an agency under it) of this institution.
    long long NewBranch() { return test::NewTestBranch(*db, inst); }
    long long NewAgency(long long brinx) { return test::NewTestAgency(*db, inst, brinx); }

    // Runs a create that must be refused with exactly `text`, writing nothing.
    void ExpectRefused(MemberInput in, const std::string& text) {
        test::ScriptedInteraction ui;
        ui.defaultAnswer = true;
        const long long before = Count("member_user");
        EXPECT_FALSE(CreateMember(*db, session, ui, std::move(in)).has_value()) << text;
        ASSERT_FALSE(ui.shown.empty()) << text;
        EXPECT_EQ(ui.shown.back().text, text);
        EXPECT_EQ(ui.shown.back().title, "확인");
        EXPECT_EQ(Count("member_user"), before) << text;
    }
};

TEST_F(MemberRecordTest, ChecksRefuseInTheirOrderWithTheirTexts) {
    auto with = [](MemberInput in, std::initializer_list<std::pair<const char*, const char*>> kv) {
        for (const auto& [k, v] : kv) in.set(k, v);
        return in;
    };
    // The first failing check wins: no name and a bad e-mail shows the name.
    ExpectRefused(with(ValidCms(), {{"username", " "}, {"user_email", "x"}}),
                  "고객명은 필수 입력 사항입니다.");
    MemberInput initial = ValidCms();
    initial.initial_nonpayment = "1만";
    ExpectRefused(initial, "초기미수금이 잘못 되었습니다.");
    MemberInput instalment = with(ValidCms(), {{"account_divide", "3"}});
    instalment.instalment_total = "12,000원";
    ExpectRefused(instalment, "할부매출액/기간이 잘못 되었습니다.");
    ExpectRefused(with(ValidCms(), {{"pay_monthdefault", "abc"}}), "매출예정액이 잘못 되었습니다.");
    ExpectRefused(with(ValidCms(), {{"pay_monthdefault", "-1"}}),
                  "0원 이하 금액은 등록할 수 없습니다.\n매출예정액이 잘못 되었습니다.");
    ExpectRefused(with(ValidCms(), {{"payday", ""}, {"inday", ""}}), "매출예정일을 입력 하십시오.");
    ExpectRefused(with(ValidCms(), {{"inday", "0"}}), "이체예정일을 입력 하십시오.");
    ExpectRefused(with(ValidCms(), {{"user_email", "a@b"}}), "잘못된 이메일 형식 입니다.");
    ExpectRefused(with(ValidCms(), {{"account_no", "123-456"}, {"jumin", "x"}}),
                  "계좌번호는 숫자만 사용가능합니다.");
    ExpectRefused(with(ValidCms(), {{"jumin", "800101-1x"}}),
                  "주민/법인번호는 숫자와 '-' 만 사용가능합니다.");
    ExpectRefused(with(ValidCms(), {{"company_number", "123_45"}}),
                  "사업자번호는 숫자와 '-' 만 사용가능합니다.");
    ExpectRefused(with(ValidCms(), {{"account_jumin", "80010a"}}),
                  "예금주번호는 숫자만 사용가능합니다.");
    ExpectRefused(with(ValidCms(), {{"account_jumin", "8001011"}}),
                  "예금주번호는 [생년월일] 6자리 또는 [사업자번호] 만 사용가능합니다.");
    ExpectRefused(with(ValidCard(), {{"account_no", "4123-4567"}}),
                  "신용카드번호는 숫자만 사용가능합니다.");
    ExpectRefused(with(ValidCard(), {{"account_jumin", "29a2"}}),
                  "유효년월은 숫자만 사용가능합니다.");
    ExpectRefused(with(ValidCard(), {{"account_jumin", "2913"}}),
                  "유효년월은 년월(YYMM) 순서로 입력해야 합니다.");

    session.prgstat[kItemsUnused] = 0;  // the institution uses items
    MemberInput small = with(ValidCms(), {{"account_divide", "3"}});
    small.instalment_total = "999";
    small.instalment_months = "10";
    small.items = std::vector<MemberItem>{{"상품", "", 999, 1}};
    ExpectRefused(small, "수납구분이 할부매출인경우 할부매출금액은 1000원 이상이어야 합니다.");
    MemberInput two = small;
    two.instalment_total = "120000";
    two.items->push_back({"상품2", "", 1000, 1});
    ExpectRefused(two, "수납구분이 할부매출인경우 품목은 하나만 선택가능합니다.");
    MemberInput noMonths = small;
    noMonths.instalment_total = "120000";
    noMonths.instalment_months = "";
    ExpectRefused(noMonths, "할부매출 기간(개월수)을 입력 하십시요.");
    MemberInput period = with(ValidCms(), {{"account_divide", "4"}, {"start_date", "2026-12"}});
    period.period_months = "999";
    ExpectRefused(period, "1개월 이상 999개월 미만의 값만 입력할 수 있습니다.");

    ExpectRefused(with(ValidCms(), {{"settle_accounts", "3"}, {"account_name", "12a"}}),
                  "잘못된 OCR지로 고객조회번호 입니다.");
    ExpectRefused(with(ValidCms(), {{"settle_accounts", "4"}, {"bank_code", ""}}),
                  "전화결제인경우 결제통신사는 반드시 선택해야 합니다.");
    ExpectRefused(
        with(ValidCms(), {{"settle_accounts", "4"}, {"bank_code", "11"}, {"account_name", ""}}),
        "전화결제인경우 명의자 성명은 필수 입력 사항입니다.");
    ExpectRefused(with(ValidCard(), {{"certificate_number", ""}}),
                  "신용카드결제인경우 카드주휴대폰은 필수 입력 사항입니다.");
    ExpectRefused(with(ValidCard(), {{"certificate_number", "010123456a"}}),
                  "카드주휴대폰은 숫자만 사용가능합니다.");
    ExpectRefused(with(ValidCard(), {{"certificate_number", "010123456"}}),
                  "카드주휴대폰 자릿수 오류입니다.");
    ExpectRefused(with(ValidCard(), {{"certificate_number", "0101234567890"}}),
                  "카드주휴대폰 자릿수 오류입니다.");
    ExpectRefused(with(ValidCard(), {{"p_tax", "3"}}),
                  "영수처리방식이 영수증인 경우 이메일은 필수 입력 사항입니다.");
    ExpectRefused(with(ValidCard(), {{"p_tax", "3"}, {"user_email", "a@b.kr"}}),
                  "카드결제시 영수처리방식이 영수증인 경우\n영수증상품명은 필수 입력 사항입니다.");
    // 15 Hangul and one letter: 31 bytes in CP949.
    ExpectRefused(with(ValidCard(), {{"p_tax", "3"},
                                     {"user_email", "a@b.kr"},
                                     {"cash_receipt_info", "가나다라마바사아자차카타파하가A"}}),
                  "영수증상품명은 최대 30Byte(영문 30자리, 한글 15자리) 까지\n입력할 수 있습니다.\n"
                  "영수증상품명 자릿수 오류입니다.");

    ExpectRefused(with(ValidCms(), {{"bank_code", ""}}),
                  "CMS출금인경우 거래은행은 반드시 선택해야 합니다.");
    ExpectRefused(with(ValidCms(), {{"account_no", ""}}),
                  "CMS출금인경우 계좌번호는 필수 입력 사항입니다.");
    ExpectRefused(with(ValidCms(), {{"bank_code", "0060000"}}),
                  "이용가능 은행(은행대표코드) : 국민(004)\n은행대표코드로 등록해주시기 바랍니다.");
    ExpectRefused(
        with(ValidCms(), {{"bank_code", "0110000"}, {"account_no", "1234567890126"}}),
        "입력한 계좌번호가 농협(은행,중앙회)계좌구분체계에 맞지 않아 확인에 실패하였습니다.");
    ExpectRefused(with(ValidCms(), {{"bank_code", "0070000"}, {"account_no", "701234567890"}}),
                  "입력하신 계좌는 거래은행을 [수협중앙회]로 등록하셔야 합니다.");
    ExpectRefused(with(ValidCms(), {{"account_jumin", ""}}),
                  "CMS출금인경우 예금주번호는 필수 입력 사항입니다.");
    ExpectRefused(with(ValidCms(), {{"certificate_kind", "1"}}),
                  "CMS결제시 계좌주휴대폰은 필수 입력 사항입니다.");
    ExpectRefused(
        with(ValidCms(), {{"p_tax", "7"}, {"cash_receipt_info", "12345678901234567"}}),
        "영수발행정보 자릿수 오류입니다.\n현금영수증 일괄발행시\n영수발행정보가 잘못된 경우 "
        "미발행될 수 있으며\n발행 실패한 경우 직접 발행해야합니다.");
    ExpectRefused(with(ValidCms(), {{"p_tax", "7"}}),
                  "영수처리방식이 현금영수증인 경우 영수발행정보는 필수 입력 사항입니다.");
}

TEST_F(MemberRecordTest, BoundaryValuesAreAccepted) {
    auto accepted = [&](MemberInput in) {
        test::ScriptedInteraction ui;
        ui.defaultAnswer = true;
        const auto id = CreateMember(*db, session, ui, std::move(in));
        EXPECT_TRUE(id.has_value()) << (ui.shown.empty() ? "" : ui.shown.back().text);
        return ui;
    };
    MemberInput business = ValidCms();
    business.set("account_jumin", "1234567890");
    auto ui = accepted(business);
    ASSERT_EQ(ui.shown.size(), 2u);  // the business-number note, then saved
    EXPECT_EQ(ui.shown[0].text,
              "예금주번호가 사업자 번호인 경우\n영수처리방식을 현금영수증으로 선택하지 "
              "않아도\n현금영수증 "
              "일괄발행시\n사업자번호로 자동발행됩니다.");
    EXPECT_EQ(ui.shown[1].text, "정상 저장하였습니다. ");
    for (const char* mobile : {"0101234567", "010123456789"}) {
        MemberInput card = ValidCard();
        card.set("certificate_number", mobile);
        accepted(card);
    }
    MemberInput product = ValidCard();
    product.set("p_tax", "3");
    product.set("user_email", "a@b.kr");
    product.set("cash_receipt_info", "가나다라마바사아자차카타파하가");  // 30 bytes
    accepted(product);
    MemberInput cash = ValidCms();
    cash.set("p_tax", "7");
    cash.set("certificate_kind", "1");
    cash.set("certificate_number", "01099998888");
    auto cashUi = accepted(cash);
    EXPECT_EQ(cashUi.shown[0].text,
              "현금영수증 발행시 필요한 영수발행정보란에\n휴대폰을 덮어쓰기 하시겠습니까?");
    EXPECT_EQ(db->scalar("select cash_receipt_info from " + schema +
                         ".member_user where certificate_number='01099998888'"),
              "01099998888");
    MemberInput suhyup = ValidCms();
    suhyup.set("bank_code", "0300000");
    suhyup.set("account_no", "701234567890");
    accepted(suhyup);
}

TEST_F(MemberRecordTest, RegistrationStoresTheRowItemsAndTextAsTyped) {
    MemberInput in = ValidCms();
    in.set("username", "O'Brien");
    in.set("client_company", "'; drop table x; --");
    in.set("comment", "메모 \"따옴표\" '작은'");
    in.initial_nonpayment = "5000";
    in.items = std::vector<MemberItem>{{"관리비", "월", 5000, 2}};
    test::ScriptedInteraction ui;
    const auto id = CreateMember(*db, session, ui, in);
    ASSERT_TRUE(id);
    EXPECT_EQ(ui.texts(), std::vector<std::string>{"정상 저장하였습니다. "});
    EXPECT_EQ(Column(*id, "username"), "O'Brien");
    EXPECT_EQ(Column(*id, "client_company"), "'; drop table x; --");
    EXPECT_EQ(Column(*id, "comment"), "메모 \"따옴표\" '작은'");
    EXPECT_EQ(Column(*id, "remove"), "1");
    EXPECT_EQ(Column(*id, "cms_status"), "0");
    EXPECT_EQ(Column(*id, "month_max"), "3");
    EXPECT_EQ(Column(*id, "pay_nonpayment"), "5000");
    EXPECT_NE(Column(*id, "signdate"), "0");
    auto rs = db->OpenRecordset("select ui_name, ui_pay, ui_cnt, ui_payment, ui_stan from " +
                                    schema + ".user_item where ui_perinx=?",
                                {*id});
    ASSERT_EQ(rs.size(), 1u);
    EXPECT_EQ(rs[0]["ui_name"], "관리비");
    EXPECT_EQ(rs[0]["ui_payment"], "10000");
    const auto rows = ListMembers(*db, session, {});
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].payer_number.size(), 10u);
    EXPECT_EQ(rows[0].get("bank_name"), "국민");
    EXPECT_EQ(rows[0].get("cms_status_text"), "신규");
}

TEST_F(MemberRecordTest, ReissueMovesLedgerItemsAndNotesToTheNewNumber) {
    const std::string longCompany = "가나다라마바사아자차카타파하가나다라마바사아자차카타파하";
    db->ExecuteSql("insert into " + schema +
                       ".member_user (member_inx, username, client_company, remove, cms_status, "
                       "payday, inday, "
                       "pay_monthdefault, settle_accounts, bank_code, account_no, account_jumin, "
                       "account_name, "
                       "certificate_kind) values (100,'김해지',?, "
                       "'2','13',10,15,20000,'1','0040000','12345678901',"
                       "'800101','김해지','4')",
                   {longCompany});
    db->ExecuteSql("insert into " + schema +
                   ".member_user (member_inx, username, remove) values (9000000122,'x','4')");
    db->ExecuteSql("insert into " + schema +
                   ".pay_pross (userlink_inx, input_pay, paystat, signdate) values "
                   "(100, 20000, '0', '26-11-10'), (100, 20000, '1', '26-11-15')");
    db->ExecuteSql("insert into " + schema +
                   ".user_item (ui_perinx, ui_name, ui_pay, ui_cnt, ui_payment) "
                   "values (100,'관리비',20000,1,20000)");
    db->ExecuteSql("insert into " + schema +
                   ".iltable (illinkinx, ilcombo, ilsang) values (100,'메모','예전')");

    const auto card = LoadMember(*db, session, 100);
    ASSERT_TRUE(card);
    MemberInput in;
    in.set("remove", "1");
    test::ScriptedInteraction ui;
    ui.answers = {true};
    const ChangeResult r = ChangeMember(*db, session, ui, 100, OpenedStateOf(*card), in);
    ASSERT_TRUE(r.saved) << (ui.shown.empty() ? "" : ui.shown.back().text);
    EXPECT_EQ(r.member_inx, 9000000123LL);
    EXPECT_EQ(ui.texts(),
              (std::vector<std::string>{"해지고객을 정상으로 변경시 새 납부자번호가 발급됩니다.",
                                        "회원상태를 변경 하시겠습니까?", "정상 저장하였습니다. "}));
    EXPECT_EQ(Column(100, "remove"), "4");
    const std::string company = Column(100, "client_company");
    EXPECT_TRUE(company.ends_with("(100->9000000123 변경)")) << company;
    EXPECT_EQ(db->scalarInt("select char_length(client_company) from " + schema +
                            ".member_user where member_inx=100"),
              32);
    EXPECT_EQ(Column(100, "account_name"), "회원상태변경-김해지");
    EXPECT_EQ(Column(9000000123LL, "remove"), "1");
    EXPECT_EQ(Column(9000000123LL, "cms_status"), "0");
    EXPECT_EQ(Column(9000000123LL, "client_company"), longCompany);
    EXPECT_EQ(Count("pay_pross", "userlink_inx=9000000123"), 2);
    EXPECT_EQ(Count("pay_pross", "userlink_inx=100"), 0);
    EXPECT_EQ(Count("user_item", "ui_perinx=9000000123"), 1);
    EXPECT_EQ(Count("iltable", "illinkinx=100"), 0);
    EXPECT_EQ(
        Count("iltable",
              "illinkinx=9000000123 and ilcombo='회원상태변경' and ilstat='3' and ilsang="
              "'납부자번호 : [0000000100]->[9000000123], 회원상태 : [해지]->[정상] 으로 변경'"),
        1);
    EXPECT_EQ(
        Count("pross_log", "prosnum=3 and prostxt=' (0000000100) 회원상태변경 (2>1) [9000000123]'"),
        1);
    // The old row is deleted, so it is never listed.
    EXPECT_FALSE(LoadMember(*db, session, 100));
}

TEST_F(MemberRecordTest, ChangeIsRefusedWhenAnotherUserChangedTheState) {
    test::ScriptedInteraction ui;
    const auto id = CreateMember(*db, session, ui, ValidCms());
    ASSERT_TRUE(id);
    const auto card = LoadMember(*db, session, *id);
    db->ExecuteSql("update " + schema + ".member_user set cms_status='1' where member_inx=?",
                   {*id});
    MemberInput in;
    in.set("username", "바뀐이름");
    test::ScriptedInteraction ui2;
    EXPECT_FALSE(ChangeMember(*db, session, ui2, *id, OpenedStateOf(*card), in).saved);
    EXPECT_EQ(
        ui2.texts(),
        std::vector<std::string>{
            "본사 또는 지사에서 편집중인 회원의 CMS상태를 변경하였습니다. 재조회후 변경하십시오."});
    EXPECT_EQ(Column(*id, "username"), "홍길동");
}

TEST_F(MemberRecordTest, CancellingMapsTheCmsStateAndWritesHistory) {
    test::ScriptedInteraction ui;
    const auto fresh = CreateMember(*db, session, ui, ValidCms());
    const auto registered = CreateMember(*db, session, ui, ValidCms());
    db->ExecuteSql("update " + schema + ".member_user set cms_status='3' where member_inx=?",
                   {*registered});
    // The login clears the authentication method where it is not offered;
    // such a member can still be changed.
    db->ExecuteSql("update " + schema + ".member_user set certificate_kind=''");
    for (auto [id, expected] : {std::pair{*fresh, "13"}, std::pair{*registered, "11"}}) {
        const auto card = LoadMember(*db, session, id);
        MemberInput in;
        in.set("remove", "2");
        in.set("inday", "20");
        test::ScriptedInteraction u;
        ASSERT_TRUE(ChangeMember(*db, session, u, id, OpenedStateOf(*card), in).saved);
        EXPECT_EQ(Column(id, "remove"), "2");
        EXPECT_EQ(Column(id, "cms_status"), expected);
        EXPECT_EQ(
            Count("iltable", "illinkinx=" + std::to_string(id) +
                                 " and ilsang='[정상]->[해지] 변경' and ilcombo='회원상태변경'"),
            1);
        const std::string payer =
            std::string(10 - std::to_string(id).size(), '0') + std::to_string(id);
        EXPECT_EQ(Count("pross_log", "prostxt=' (" + payer + ") 회원상태(1>2), '"), 1);
        EXPECT_EQ(Count("pross_log", "prostxt=' (" + payer + ") 중요정보변경 이체예정일(15>20), '"),
                  1);
    }
}

TEST_F(MemberRecordTest, BranchUserNeitherSeesNorChangesAnotherBranchsMember) {
    test::ScriptedInteraction ui;
    const long long b1 = NewBranch(), b2 = NewBranch();
    MemberInput mine = ValidCms();
    mine.set("branch_inx", std::to_string(b1));
    MemberInput theirs = ValidCms();
    theirs.set("branch_inx", std::to_string(b2));
    theirs.set("client_manager", "김담당");
    const auto a = CreateMember(*db, session, ui, mine);
    const auto b = CreateMember(*db, session, ui, theirs);
    const SessionContext branch = Session(b1, 0);
    const auto rows = ListMembers(*db, branch, {});
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].member_inx, *a);
    EXPECT_FALSE(LoadMember(*db, branch, *b));
    EXPECT_EQ(DistinctFilterValues(*db, branch, "client_manager"),
              std::vector<std::string>{"없음"});
    SessionContext writer = branch;
    MemberInput in;
    in.set("username", "침입");
    test::ScriptedInteraction u;
    EXPECT_FALSE(ChangeMember(*db, writer, u, *b, {"1", "0"}, in).saved);
    EXPECT_FALSE(DeleteMember(*db, branch, u, *b));
    EXPECT_FALSE(BankCancelMember(*db, branch, u, *b));
    EXPECT_EQ(Column(*b, "username"), "홍길동");
    EXPECT_EQ(Column(*b, "remove"), "1");
    // A branch user's new member belongs to its branch whatever was typed.
    MemberInput typed = ValidCms();
    typed.set("branch_inx", std::to_string(b2));
    const auto c = CreateMember(*db, branch, u, typed);
    EXPECT_EQ(Column(*c, "branch_inx"), std::to_string(b1));
}

TEST_F(MemberRecordTest, DeleteAndBankCancel) {
    test::ScriptedInteraction ui;
    const auto id = CreateMember(*db, session, ui, ValidCms());
    db->ExecuteSql("update " + schema + ".member_user set virtual_no='123' where member_inx=?",
                   {*id});
    test::ScriptedInteraction u1;
    EXPECT_FALSE(DeleteMember(*db, session, u1, *id));
    EXPECT_EQ(u1.texts(), std::vector<std::string>{"가상계좌 해지후 삭제 가능합니다."});
    db->ExecuteSql("update " + schema + ".member_user set virtual_no='' where member_inx=?", {*id});
    test::ScriptedInteraction u2;
    EXPECT_FALSE(DeleteMember(*db, session, u2, *id));
    EXPECT_EQ(Column(*id, "remove"), "1");
    test::ScriptedInteraction u3;
    u3.answers = {true};
    EXPECT_TRUE(DeleteMember(*db, session, u3, *id));
    EXPECT_EQ(u3.texts(),
              std::vector<std::string>{"삭제된 회원은 복구 하실 수 없습니다. 삭제하시겠습니까?"});
    EXPECT_EQ(Column(*id, "remove"), "4");
    const std::string payer =
        std::string(10 - std::to_string(*id).size(), '0') + std::to_string(*id);
    EXPECT_EQ(Count("pross_log", "prostxt=' (" + payer + ") 회원삭제(1>4)'"), 1);

    const auto other = CreateMember(*db, session, ui, ValidCms());
    EXPECT_TRUE(BankCancelMember(*db, session, ui, *other));
    EXPECT_EQ(Column(*other, "remove"), "2");
    EXPECT_EQ(Column(*other, "cms_status"), "13");
    EXPECT_EQ(Column(*other, "cms_error"), "[26-12-07] 은행해지");
    const std::string otherPayer =
        std::string(10 - std::to_string(*other).size(), '0') + std::to_string(*other);
    EXPECT_EQ(Count("pross_log", "prostxt=' (" + otherPayer + ") 은행해지 처리'"), 1);
}

TEST_F(MemberRecordTest, AccountChangeReissuesUnderANewNumber) {
    test::ScriptedInteraction ui;
    const auto id = CreateMember(*db, session, ui, ValidCms());
    db->ExecuteSql(
        "update " + schema + ".member_user set cms_status='3', comment='비고' where member_inx=?",
        {*id});
    db->ExecuteSql(
        "insert into " + schema + ".pay_pross (userlink_inx, input_pay) values (?, 1000)", {*id});
    const auto card = LoadMember(*db, session, *id);
    ChannelChange same{"0040000", "12345678901", "800101", "홍길동"};
    test::ScriptedInteraction u1;
    EXPECT_FALSE(ChangeMemberChannel(*db, session, u1, *id, OpenedStateOf(*card), same));
    EXPECT_EQ(u1.texts(), std::vector<std::string>{
                              "기존정보와 변경내역이 동일합니다. (은행,계좌번호,예금주번호) "});
    ChannelChange suhyup{"0070000", "701234567890", "800101", "홍길동"};
    test::ScriptedInteraction u2;
    EXPECT_FALSE(ChangeMemberChannel(*db, session, u2, *id, OpenedStateOf(*card), suhyup));
    EXPECT_EQ(u2.texts(), std::vector<std::string>{
                              "입력하신 계좌는 거래은행을 [수협중앙회]로 등록하셔야 합니다."});
    ChannelChange next{"0040000", "98765432101", "800101", "홍길동"};
    test::ScriptedInteraction u3;
    const auto created = ChangeMemberChannel(*db, session, u3, *id, OpenedStateOf(*card), next);
    ASSERT_TRUE(created);
    EXPECT_EQ(Column(*id, "remove"), "4");
    EXPECT_EQ(Column(*id, "cms_status"), "15");
    EXPECT_EQ(Column(*id, "comment"), "3->15 CMS상태변경-비고");
    EXPECT_EQ(Column(*id, "account_name"), "계좌변경-홍길동");
    EXPECT_EQ(Column(*created, "account_no"), "98765432101");
    EXPECT_EQ(Column(*created, "cms_status"), "0");
    EXPECT_EQ(Count("pay_pross", "userlink_inx=" + std::to_string(*created)), 1);
    EXPECT_EQ(
        Count("iltable", "illinkinx=" + std::to_string(*created) + " and ilcombo='CMS계좌변경'"),
        1);
}

TEST_F(MemberRecordTest, ListFiltersAndDropDowns) {
    test::ScriptedInteraction ui;
    MemberInput a = ValidCms();
    a.set("client_info1", "서울");
    a.set("client_manager", "박담당");
    MemberInput b = ValidCms();
    b.set("payday", "25");
    b.initial_nonpayment = "3000";
    CreateMember(*db, session, ui, a);
    CreateMember(*db, session, ui, b);
    MemberFilter f;
    SetMemberFilter(f, "client_info1", "없음");
    EXPECT_EQ(ListMembers(*db, session, f).size(), 1u);
    MemberFilter g;
    SetMemberFilter(g, "pay_nonpayment", "Y");
    ASSERT_EQ(ListMembers(*db, session, g).size(), 1u);
    EXPECT_EQ(ListMembers(*db, session, g)[0].get("payday"), "25");
    EXPECT_EQ(DistinctFilterValues(*db, session, "client_manager"),
              (std::vector<std::string>{"없음", "박담당"}));
    EXPECT_EQ(DistinctFilterValues(*db, session, "payday"), (std::vector<std::string>{"10", "25"}));
    EXPECT_THROW(SetMemberFilter(f, "password", "x"), std::invalid_argument);
    EXPECT_THROW(DistinctFilterValues(*db, session, "username; drop"), std::invalid_argument);
}

TEST_F(MemberRecordTest, HolderNumbersAreMaskedUnlessTheInstitutionPermits) {
    // A phone-payment member keeps a 13-digit resident number in account_jumin.
    const long long phone =
        Insert("username, settle_accounts, account_jumin", {"전화회원", "4", "8001011234567"});
    const long long cms =
        Insert("username, settle_accounts, account_jumin", {"계좌회원", "1", "1234567890"});
    auto holder = [&](long long who, bool full) {
        for (const auto& r : ListMembers(*db, session, {}, full))
            if (r.member_inx == who) return r.get("account_jumin");
        return std::string("(not listed)");
    };
    EXPECT_EQ(holder(phone, false), "800101*******");
    EXPECT_EQ(holder(cms, false), "1234567890");
    EXPECT_EQ(holder(phone, true), "8001011234567");

    auto permit = [&](const char* v) {
        db->ExecuteSql("update quorisdex.admin_company set xls_acnt_permit=? where inx=?",
                       {v, inst.inx});
    };
    permit("0");
    EXPECT_FALSE(MayShowFullHolderNumbers(*db, session));
    SessionContext launched = session;
    launched.launched_with_credentials = true;
    EXPECT_TRUE(MayShowFullHolderNumbers(*db, launched));
    permit("1");
    EXPECT_TRUE(MayShowFullHolderNumbers(*db, session));
    permit("0");
}

TEST_F(MemberRecordTest, PaidUpInstalmentMemberGetsTheNoticeOrIsCancelled) {
    // An instalment member whose 120,000 won are all collected, saved again.
    auto paidUp = [&](const std::string& cms) {
        const long long m = Insert(
            "username, settle_accounts, account_divide, pay_agreement, pay_prossagreement, "
            "pay_monthdefault, pay_nonpayment, payday, inday, cms_status, bank_code, account_no, "
            "account_jumin, account_name, certificate_kind",
            {"할부회원", "1", "3", "120000", "120000", "10000", "0", "10", "15", cms, "0040000",
             "12345678901", "800101", "할부회원", "4"});
        return m;
    };
    auto save = [&](long long m, const std::string& total, test::ScriptedInteraction& ui) {
        const auto record = LoadMember(*db, session, m);
        MemberInput in;
        for (const auto& c : EditableMemberColumns()) in.set(c, record->get(c));
        in.instalment_total = total;
        in.instalment_months = "12";
        in.items = std::vector<MemberItem>{{"할부상품", "", 10000, 1}};
        return ChangeMember(*db, session, ui, m, OpenedStateOf(*record), in);
    };
    const std::string notice =
        "현재 회원은 할부금을 완납한 상태이며 더이상 매출 발생되지 않습니다.\n"
        "- 이어서 출금을 원하시는 경우 [고객카드]>[매출구분]의 값을 [월매출]로 수정하시기 "
        "바랍니다.\n"
        "- 출금을 원하지 않는 경우 회원상태를 해지로 변경하시기 바랍니다.";

    session.installment_chk_use = "N";
    const long long kept = paidUp("3");
    test::ScriptedInteraction n;
    ASSERT_TRUE(save(kept, "120000", n).saved);
    ASSERT_EQ(n.shown.size(), 2u);
    EXPECT_EQ(n.shown[0].text, "정상 저장하였습니다. ");
    EXPECT_EQ(n.shown[1].text, notice);
    EXPECT_EQ(n.shown[1].title, "할부완납 안내");
    EXPECT_EQ(Column(kept, "remove"), "1");
    EXPECT_EQ(Column(kept, "cms_status"), "3");

    // Still owing: no notice.
    test::ScriptedInteraction owing;
    ASSERT_TRUE(save(kept, "150000", owing).saved);
    EXPECT_EQ(owing.texts(), std::vector<std::string>{"정상 저장하였습니다. "});

    session.installment_chk_use = "Y";
    const long long cancelled = paidUp("3");
    test::ScriptedInteraction y;
    ASSERT_TRUE(save(cancelled, "120000", y).saved);
    ASSERT_EQ(y.shown.size(), 2u);
    EXPECT_EQ(y.shown[1].text,
              "현재 회원은 할부금을 완납한 상태이므로 회원상태를 해지로 변경합니다.");
    EXPECT_EQ(y.shown[1].title, "할부완납 안내");
    EXPECT_EQ(Column(cancelled, "remove"), "2");
    EXPECT_EQ(Column(cancelled, "cms_status"), "11");
    EXPECT_EQ(Count("pross_log", "prosnum=3 and prostxt like '%(" + TenDigits(cancelled) +
                                     ") 할부금120,000원 납부완료. 해지회원으로 변경%'"),
              1);
    // The member still owing stays as it is.
    EXPECT_EQ(Column(kept, "remove"), "1");
}

}  // namespace
}  // namespace qx
