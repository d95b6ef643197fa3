#include <gtest/gtest.h>

#include "admin/provisioning.h"
#include "db/schema_check.h"
#include "db/sql_script.h"
#include "session/institution_info.h"
#include "support/institution_fixture.h"
#include "support/scripted_interaction.h"

namespace qx {
namespace {

using test::ScriptedInteraction;

class InstitutionInfoTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        db_ = test::ConnectTestDatabase().release();
        inst_ = new test::TestInstitution(test::CreateTestInstitution(*db_));
        other_ = new test::TestInstitution(test::CreateTestInstitution(*db_));
        brinx_ = inst_->inx * 10 + 1;
        aginx_ = inst_->inx * 10 + 1;
        CreateBranch(
            *db_, {inst_->inx, brinx_, 0, "b" + std::to_string(inst_->inx), "b1234", "서울지사"});
        CreateBranch(*db_, {inst_->inx, brinx_ + 1, 0, "c" + std::to_string(inst_->inx), "b1234",
                            "부산지사"});
        CreateBranch(*db_, {other_->inx, other_->inx * 10 + 1, 0, "b" + std::to_string(other_->inx),
                            "b1234", "다른기관지사"});
        CreateAgency(*db_, {inst_->inx, brinx_, aginx_, "a" + std::to_string(inst_->inx), "a1234",
                            "강남대리점"});
        CreateAgency(*db_, {inst_->inx, brinx_, aginx_ + 1, "d" + std::to_string(inst_->inx),
                            "a1234", "서초대리점"});
    }
    static void TearDownTestSuite() {
        delete inst_;
        delete other_;
        delete db_;
    }

    // A complete, valid set of details.
    static Details Valid() {
        Details d;
        for (const auto& f : DetailFields()) d[f.column] = "";
        d["company"] = "한빛상사";
        d["zipcode"] = "06236";
        d["company_phone"] = "02-555-1234";
        d["master_email"] = "ceo@hanbit.co.kr";
        d["admin_name"] = "김담당";
        d["admin_phone"] = "010-1234-5678";
        d["admin_email"] = "tax@hanbit.co.kr";
        return d;
    }

    std::string HeadOfficeRow() {
        auto rs =
            db_->OpenRecordset("select * from quorisdex.admin_company where inx=?", {inst_->inx});
        std::string all;
        for (const auto& v : rs.values.at(0)) all += v + "|";
        return all;
    }

    AccountKey HeadOffice() { return {AccountKind::kHeadOffice, inst_->inx}; }

    // Gives the institution known details and returns them as loaded.
    AccountInfo Prepared(const Details& details) {
        ScriptedInteraction ui;
        EXPECT_EQ(SaveAccountInfo(*db_, HeadOffice(), LoadAccountInfo(*db_, HeadOffice()), details,
                                  2, ui),
                  SaveOutcome::kSaved);
        return LoadAccountInfo(*db_, HeadOffice());
    }

    // The operator's institution schema, without touching its admin row.
    void EnsureOperatorSchema() {
        if (!SchemaExists(*db_, kOperatorInstitution)) {
            RunSqlFile(*db_, "institution.sql",
                       {{"{schema}", InstitutionSchema(kOperatorInstitution)}});
        }
    }

    static Database* db_;
    static test::TestInstitution* inst_;
    static test::TestInstitution* other_;
    static long long brinx_, aginx_;
};

Database* InstitutionInfoTest::db_ = nullptr;
test::TestInstitution* InstitutionInfoTest::inst_ = nullptr;
test::TestInstitution* InstitutionInfoTest::other_ = nullptr;
long long InstitutionInfoTest::brinx_ = 0;
long long InstitutionInfoTest::aginx_ = 0;

TEST_F(InstitutionInfoTest, OwnAccountFollowsTheRole) {
    const auto head = OwnAccount(test::SessionFor(*inst_));
    EXPECT_EQ(head.kind, AccountKind::kHeadOffice);
    EXPECT_EQ(head.number, inst_->inx);
    const auto branch = OwnAccount(test::SessionFor(*inst_, brinx_));
    EXPECT_EQ(branch.kind, AccountKind::kBranch);
    EXPECT_EQ(branch.number, brinx_);
    const auto agency = OwnAccount(test::SessionFor(*inst_, brinx_, aginx_));
    EXPECT_EQ(agency.kind, AccountKind::kAgency);
    EXPECT_EQ(agency.number, aginx_);
}

TEST_F(InstitutionInfoTest, LoadsIdPasswordAndDetails) {
    Prepared(Valid());
    const AccountInfo info = LoadAccountInfo(*db_, HeadOffice());
    EXPECT_EQ(info.id, inst_->id);
    EXPECT_EQ(info.password, inst_->password);
    EXPECT_EQ(info.org_code, inst_->org_code);
    EXPECT_EQ(info.details.at("company"), "한빛상사");
    EXPECT_EQ(info.details.size(), DetailFields().size());
    EXPECT_THROW(LoadAccountInfo(*db_, {AccountKind::kBranch, 999999999}), std::invalid_argument);
}

TEST_F(InstitutionInfoTest, BadDetailsAreRefusedWithTheirMessageAndNothingIsWritten) {
    const AccountInfo before = Prepared(Valid());
    const std::string row = HeadOfficeRow();
    const std::pair<std::string, std::string> cases[][2] = {
        {{"zipcode", "06-23a"}, {"", "우편번호는 숫자와 '-' 만 사용가능합니다."}},
        {{"company_phone", "02 555 1234"}, {"", "대표전화번호는 숫자와 '-' 만 사용가능합니다."}},
        {{"company_fax", "fax"}, {"", "대표팩스번호는 숫자와 '-' 만 사용가능합니다."}},
        {{"master_phone", "010-l234"}, {"", "대표휴대전화는 숫자와 '-' 만 사용가능합니다."}},
        {{"accept_zipcode", "우편"}, {"", "우편물수령지 우편번호는 숫자와 '-' 만 사용가능합니다."}},
        {{"master_email", "ceo.hanbit.co.kr"}, {"", "잘못된 이메일 형식 입니다."}},
        {{"master_email", "a@b"}, {"", "잘못된 이메일 형식 입니다."}},
        {{"admin_phone", "010-1234-567O"}, {"", "담당자휴대전화는 숫자와 - 만 사용가능합니다."}},
        {{"admin_email", "tax@@hanbit.kr"}, {"", "잘못된 이메일 형식 입니다."}},
        {{"company", std::string(65, 'x')}, {"", "상호은(는) 64자까지 입력할 수 있습니다."}},
        {{"address", std::string(101, 'x')}, {"", "주소은(는) 100자까지 입력할 수 있습니다."}},
    };
    for (const auto& c : cases) {
        Details d = Valid();
        d[c[0].first] = c[0].second;
        ScriptedInteraction ui;
        EXPECT_EQ(SaveAccountInfo(*db_, HeadOffice(), before, d, 1, ui), SaveOutcome::kRefused)
            << c[0].first;
        ASSERT_EQ(ui.shown.size(), 1u) << c[0].first;
        EXPECT_EQ(ui.shown[0].text, c[1].second);
        EXPECT_EQ(ui.shown[0].title, "확인");
        EXPECT_FALSE(ui.shown[0].question);
        EXPECT_EQ(HeadOfficeRow(), row) << c[0].first;
    }
}

TEST_F(InstitutionInfoTest, HangulCountsAsOneCharacterAgainstTheColumnLength) {
    const AccountInfo before = Prepared(Valid());
    Details d = Valid();
    std::string name;
    for (int i = 0; i < 64; ++i) name += "가";
    d["company"] = name;
    ScriptedInteraction ui;
    EXPECT_EQ(SaveAccountInfo(*db_, HeadOffice(), before, d, 1, ui), SaveOutcome::kSaved);
    EXPECT_EQ(LoadAccountInfo(*db_, HeadOffice()).details.at("company"), name);
}

TEST_F(InstitutionInfoTest, AnEmailWithHangulIsWrittenOnlyWhenTheUserGoesOn) {
    const AccountInfo before = Prepared(Valid());
    const std::string row = HeadOfficeRow();
    Details d = Valid();
    d["master_email"] = "대표@hanbit.co.kr";
    ScriptedInteraction declined;
    EXPECT_EQ(SaveAccountInfo(*db_, HeadOffice(), before, d, 1, declined), SaveOutcome::kRefused);
    ASSERT_EQ(declined.shown.size(), 1u);
    EXPECT_TRUE(declined.shown[0].question);
    EXPECT_EQ(HeadOfficeRow(), row);

    ScriptedInteraction accepted;
    accepted.defaultAnswer = true;
    EXPECT_EQ(SaveAccountInfo(*db_, HeadOffice(), before, d, 1, accepted), SaveOutcome::kSaved);
    EXPECT_EQ(LoadAccountInfo(*db_, HeadOffice()).details.at("master_email"), "대표@hanbit.co.kr");
}

TEST_F(InstitutionInfoTest, AnEmptyContactEmailAsksBeforeWriting) {
    const AccountInfo before = Prepared(Valid());
    const std::string row = HeadOfficeRow();
    Details d = Valid();
    d["admin_email"] = "";
    ScriptedInteraction no;
    EXPECT_EQ(SaveAccountInfo(*db_, HeadOffice(), before, d, 2, no), SaveOutcome::kRefused);
    ASSERT_EQ(no.shown.size(), 1u);
    EXPECT_EQ(no.shown[0].text,
              "담당자 이메일 미입력시 세금계산서가 발행되지 않습니다.\n변경을 진행하시겠습니까?");
    EXPECT_TRUE(no.shown[0].question);
    EXPECT_EQ(HeadOfficeRow(), row);

    ScriptedInteraction yes;
    yes.answers = {true};
    EXPECT_EQ(SaveAccountInfo(*db_, HeadOffice(), before, d, 2, yes), SaveOutcome::kSaved);
    EXPECT_EQ(LoadAccountInfo(*db_, HeadOffice()).details.at("admin_email"), "");
}

TEST_F(InstitutionInfoTest, ApostrophesAreStoredAsTyped) {
    const AccountInfo before = Prepared(Valid());
    Details d = Valid();
    d["company"] = "O'Brien 상사";
    d["address"] = "'; drop table quorisdex.admin_company; --";
    d["master_name"] = "\\' or 1=1";
    ScriptedInteraction ui;
    EXPECT_EQ(SaveAccountInfo(*db_, HeadOffice(), before, d, 2, ui), SaveOutcome::kSaved);
    const auto after = LoadAccountInfo(*db_, HeadOffice());
    EXPECT_EQ(after.details.at("company"), "O'Brien 상사");
    EXPECT_EQ(after.details.at("address"), "'; drop table quorisdex.admin_company; --");
    EXPECT_EQ(after.details.at("master_name"), "\\' or 1=1");
    // The other institution is untouched by the update.
    EXPECT_NE(LoadAccountInfo(*db_, {AccountKind::kHeadOffice, other_->inx}).details.at("company"),
              "O'Brien 상사");
}

TEST_F(InstitutionInfoTest, ContactChangeIsNotedAtTheOperatorsMemberRow) {
    EnsureOperatorSchema();
    const std::string op = InstitutionSchema(kOperatorInstitution);
    const auto older = test::InsertMember(*db_, kOperatorInstitution, {.username = "옛 행"});
    db_->ExecuteSql("update " + op + ".member_user set client_info6=? where member_inx=?",
                    {inst_->org_code, older});
    const auto member = test::InsertMember(*db_, kOperatorInstitution, {.username = "기관"});
    db_->ExecuteSql("update " + op + ".member_user set client_info6=? where member_inx=?",
                    {inst_->org_code, member});
    const AccountInfo before = Prepared(Valid());
    const long long notes = db_->scalarInt("select count(*) from " + op + ".iltable");

    Details d = Valid();
    d["admin_name"] = "박새담당";
    d["admin_email"] = "newtax.person@hanbit-corp.co.kr";
    test::PinServerClock(*db_, "2026-03-05 14:07:00");
    ScriptedInteraction ui;
    EXPECT_EQ(SaveAccountInfo(*db_, HeadOffice(), before, d, 1, ui), SaveOutcome::kSaved);
    test::UnpinServerClock(*db_);

    ASSERT_EQ(ui.texts(), (std::vector<std::string>{ContactChangeMessage(1)}));
    EXPECT_NE(ContactChangeMessage(1).find("담당자가 변경된 경우"), std::string::npos);
    EXPECT_NE(ContactChangeMessage(1).find("금융결제원"), std::string::npos);
    EXPECT_EQ(ContactChangeMessage(2).find("금융결제원"), std::string::npos);
    EXPECT_NE(ContactChangeMessage(2).find("쿼리스TPS(0000-0000)로 연락주시기 바랍니다."),
              std::string::npos);

    EXPECT_EQ(db_->scalarInt("select count(*) from " + op + ".iltable"), notes + 1);
    auto rs = db_->OpenRecordset("select * from " + op + ".iltable order by ilkey desc limit 1");
    EXPECT_EQ(rs[0]["ildate"], "2026-03-05 14:07");
    EXPECT_EQ(rs[0]["ilstat"], "3");
    EXPECT_EQ(rs[0]["ilcombo"], "담당자정보변경");
    EXPECT_EQ(rs[0]["ilsang"],
              " 담당자명 : [김담당]->[박새담당]  이메일 : [tax@hanbit.co.kr]->"
              "[newtax.person@hanbit-corp.co.kr] ");
    EXPECT_EQ(rs[0].asInt("illinkinx"), member);
    auto m = db_->OpenRecordset(
        "select private_tel, user_email from " + op + ".member_user where member_inx=?", {member});
    EXPECT_EQ(m[0][0], "010-1234-5678");
    // Cut to the operator's column rather than failing the whole save.
    EXPECT_EQ(m[0][1], std::string("newtax.person@hanbit-corp.co.kr").substr(0, 30));
    EXPECT_EQ(LoadAccountInfo(*db_, HeadOffice()).details.at("admin_name"), "박새담당");
}

TEST_F(InstitutionInfoTest, NoOperatorMemberMeansNoNote) {
    EnsureOperatorSchema();
    const std::string op = InstitutionSchema(kOperatorInstitution);
    const long long notes = db_->scalarInt("select count(*) from " + op + ".iltable");
    Details before = Valid(), after = Valid();
    after["admin_phone"] = "010-9999-0000";
    EXPECT_FALSE(NoteContactChange(*db_, "0000000000", before, after));
    EXPECT_FALSE(NoteContactChange(*db_, "", before, after));
    EXPECT_EQ(db_->scalarInt("select count(*) from " + op + ".iltable"), notes);
}

TEST_F(InstitutionInfoTest, AMissingOperatorSchemaDoesNotStopTheSave) {
    db_->ExecuteSql("drop database if exists " + InstitutionSchema(kOperatorInstitution));
    const AccountInfo before = Prepared(Valid());
    Details d = Valid();
    d["admin_phone"] = "010-2222-3333";
    ScriptedInteraction ui;
    EXPECT_EQ(SaveAccountInfo(*db_, HeadOffice(), before, d, 2, ui), SaveOutcome::kSaved);
    EXPECT_EQ(ui.texts(), (std::vector<std::string>{ContactChangeMessage(2)}));
    EXPECT_EQ(LoadAccountInfo(*db_, HeadOffice()).details.at("admin_phone"), "010-2222-3333");
}

TEST_F(InstitutionInfoTest, BranchSaveAsksFirstAndWritesItsOwnRowOnly) {
    const AccountKey branch{AccountKind::kBranch, brinx_};
    const AccountInfo before = LoadAccountInfo(*db_, branch);
    EXPECT_EQ(before.details.at("company"), "서울지사");
    Details d = Valid();
    d["company"] = "서울'지사";
    d["admin_name"] = "지사담당";
    ScriptedInteraction no;
    no.answers = {false};
    EXPECT_EQ(SaveAccountInfo(*db_, branch, before, d, 1, no), SaveOutcome::kCancelled);
    EXPECT_EQ(no.texts(), (std::vector<std::string>{"변경하시겠습니까?"}));
    EXPECT_EQ(LoadAccountInfo(*db_, branch).details.at("company"), "서울지사");

    ScriptedInteraction yes;
    yes.answers = {true};
    EXPECT_EQ(SaveAccountInfo(*db_, branch, before, d, 1, yes), SaveOutcome::kSaved);
    // No person-in-charge notice for a branch.
    EXPECT_EQ(yes.texts(), (std::vector<std::string>{"변경하시겠습니까?"}));
    EXPECT_EQ(LoadAccountInfo(*db_, branch).details.at("company"), "서울'지사");
    EXPECT_EQ(LoadAccountInfo(*db_, {AccountKind::kBranch, brinx_ + 1}).details.at("company"),
              "부산지사");

    const AccountKey agency{AccountKind::kAgency, aginx_};
    Details bad = Valid();
    bad["company_fax"] = "02-123-45x6";
    ScriptedInteraction refused;
    EXPECT_EQ(SaveAccountInfo(*db_, agency, LoadAccountInfo(*db_, agency), bad, 1, refused),
              SaveOutcome::kRefused);
    EXPECT_EQ(refused.texts(),
              (std::vector<std::string>{"대표팩스번호는 숫자와 '-' 만 사용가능합니다."}));
    EXPECT_EQ(LoadAccountInfo(*db_, agency).details.at("company"), "강남대리점");
}

TEST_F(InstitutionInfoTest, HeadOfficePasswordIsStoredAsMd5AndAsTyped) {
    ScriptedInteraction ui;
    ui.defaultAnswer = true;
    std::string asked;
    EXPECT_EQ(ChangeAccountPassword(*db_, HeadOffice(), "NewPass99", ui,
                                    [&](const std::string& expected) {
                                        asked = expected;
                                        return true;
                                    }),
              SaveOutcome::kSaved);
    EXPECT_EQ(asked, "NewPass99");
    auto rs = db_->OpenRecordset(
        "select pw, pw_org, md5('NewPass99') from quorisdex.admin_company where inx=?",
        {inst_->inx});
    EXPECT_EQ(rs[0][0], rs[0][2]);
    EXPECT_EQ(rs[0][1], "NewPass99");
}

TEST_F(InstitutionInfoTest, BranchAndAgencyPasswordsAreStoredAsTypedOnly) {
    ScriptedInteraction ui;
    ui.defaultAnswer = true;
    auto again = [](const std::string&) { return true; };
    EXPECT_EQ(ChangeAccountPassword(*db_, {AccountKind::kBranch, brinx_}, "branch7", ui, again),
              SaveOutcome::kSaved);
    EXPECT_EQ(db_->scalar("select pw from quorisdex.company_branch where brinx=?", {brinx_}),
              "branch7");
    EXPECT_EQ(ChangeAccountPassword(*db_, {AccountKind::kAgency, aginx_}, "agency8", ui, again),
              SaveOutcome::kSaved);
    EXPECT_EQ(db_->scalar("select pw from quorisdex.company_agency where aginx=?", {aginx_}),
              "agency8");
    EXPECT_EQ(db_->scalar("select pw from quorisdex.company_agency where aginx=?", {aginx_ + 1}),
              "a1234");
    // Blanks at the ends are dropped as the login drops them; one inside is refused.
    EXPECT_EQ(ChangeAccountPassword(*db_, {AccountKind::kAgency, aginx_}, " agency9 ", ui, again),
              SaveOutcome::kSaved);
    EXPECT_EQ(db_->scalar("select pw from quorisdex.company_agency where aginx=?", {aginx_}),
              "agency9");
}

TEST_F(InstitutionInfoTest, BadOrUnconfirmedPasswordsChangeNothing) {
    const AccountKey branch{AccountKind::kBranch, brinx_ + 1};
    const std::string stored =
        db_->scalar("select pw from quorisdex.company_branch where brinx=?", {brinx_ + 1});
    auto never = [](const std::string&) -> bool {
        ADD_FAILURE() << "asked again for a refused password";
        return true;
    };
    struct Case {
        std::string password;
        std::vector<std::string> texts;
    };
    const Case cases[] = {
        {"", {"변경하시겠습니까?", "비밀번호를 입력하십시오."}},
        {"pass word", {"변경하시겠습니까?", "비밀번호는 숫자,영문자만 사용 가능합니다."}},
        {"pass'1", {"변경하시겠습니까?", "비밀번호는 숫자,영문자만 사용 가능합니다."}},
        {"비밀번호1", {"변경하시겠습니까?", "비밀번호는 숫자,영문자만 사용 가능합니다."}},
        {std::string(65, 'a'),
         {"변경하시겠습니까?", "비밀번호은(는) 64자까지 입력할 수 있습니다."}},
    };
    for (const auto& c : cases) {
        ScriptedInteraction ui;
        ui.defaultAnswer = true;
        EXPECT_EQ(ChangeAccountPassword(*db_, branch, c.password, ui, never),
                  SaveOutcome::kRefused);
        EXPECT_EQ(ui.texts(), c.texts) << c.password;
    }
    ScriptedInteraction mismatch;
    mismatch.defaultAnswer = true;
    EXPECT_EQ(ChangeAccountPassword(*db_, branch, "abc123", mismatch,
                                    [](const std::string&) { return false; }),
              SaveOutcome::kCancelled);
    EXPECT_EQ(mismatch.texts(),
              (std::vector<std::string>{"변경하시겠습니까?", "비밀번호 변경을 취소 하였습니다."}));
    ScriptedInteraction declined;
    EXPECT_EQ(ChangeAccountPassword(*db_, branch, "abc123", declined, never),
              SaveOutcome::kCancelled);
    EXPECT_EQ(db_->scalar("select pw from quorisdex.company_branch where brinx=?", {brinx_ + 1}),
              stored);
}

TEST_F(InstitutionInfoTest, OrganisationListsFollowTheRole) {
    auto codes = [](const Recordset& rs) {
        std::vector<long long> out;
        for (std::size_t i = 0; i < rs.size(); ++i) out.push_back(rs[i].asInt(std::size_t{0}));
        return out;
    };
    using V = std::vector<long long>;
    const auto head = test::SessionFor(*inst_);
    const Recordset branches = LoadBranchList(*db_, head);
    EXPECT_EQ(codes(branches), (V{brinx_, brinx_ + 1}));
    ASSERT_EQ(branches.columns.size(), 8u);
    EXPECT_EQ(branches.columns[0], "관리코드");
    EXPECT_EQ(branches.columns[7], "팩스");
    EXPECT_EQ(codes(LoadAgencyList(*db_, head, brinx_)), (V{aginx_, aginx_ + 1}));
    EXPECT_EQ(codes(LoadAgencyList(*db_, head, brinx_ + 1)), V{});

    const auto branch = test::SessionFor(*inst_, brinx_);
    EXPECT_EQ(codes(LoadBranchList(*db_, branch)), (V{brinx_}));
    EXPECT_EQ(codes(LoadAgencyList(*db_, branch, brinx_)), (V{aginx_, aginx_ + 1}));
    const auto otherBranch = test::SessionFor(*inst_, brinx_ + 1);
    EXPECT_EQ(codes(LoadAgencyList(*db_, otherBranch, brinx_)), V{});

    const auto agency = test::SessionFor(*inst_, brinx_, aginx_);
    EXPECT_EQ(codes(LoadBranchList(*db_, agency)), (V{brinx_}));
    EXPECT_EQ(codes(LoadAgencyList(*db_, agency, brinx_)), (V{aginx_}));
}

}  // namespace
}  // namespace qx
