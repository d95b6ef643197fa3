// The member screens against a real server: registration refusing bad input
// with the exact text and writing nothing, the card's edit-conflict refusal,
// and the list's drop-downs, columns and masking.
#include <QHeaderView>
#include <QTableView>
#include <QTableWidget>
#include <fstream>

#include "members/member_record.h"
#include "ui/members/member_screen_fixture.h"
#include "ui/members/member_screens.h"

namespace qx::ui {
namespace {

using test_members::Recording;
using MemberScreensTest = test_members::MemberScreenTest;

TEST_F(MemberScreensTest, RegistrationRefusesBadInputWithItsTextAndWritesNothing) {
    Recording ui;
    NewMemberScreen screen(*db, session, ui);
    screen.show();
    TypeCmsMember(screen.form(), "O'Brien 홍");
    const long long before = Members();
    auto refused = [&](const std::string& text) {
        ui.shown.clear();
        ui.titles.clear();
        QTest::mouseClick(Button(screen, "저장"), Qt::LeftButton);
        ASSERT_EQ(ui.shown.size(), 1u) << text;
        EXPECT_EQ(ui.shown[0], text);
        EXPECT_EQ(ui.titles[0], "확인");
        EXPECT_EQ(Members(), before) << text;
    };

    screen.form()->line("account_jumin")->setText("1234567");
    refused("예금주번호는 [생년월일] 6자리 또는 [사업자번호] 만 사용가능합니다.");
    // The name is checked before anything else.
    screen.form()->line("username")->clear();
    refused("고객명은 필수 입력 사항입니다.");
    screen.form()->line("username")->setText("O'Brien 홍");
    screen.form()->line("account_jumin")->setText("800101");
    screen.form()->initialBox()->setText("1,000원");
    refused("초기미수금이 잘못 되었습니다.");
    screen.form()->initialBox()->clear();
    Choose(screen.form()->combo("bank_code"), "007");
    screen.form()->line("account_no")->setText("712345678901");
    refused("입력하신 계좌는 거래은행을 [수협중앙회]로 등록하셔야 합니다.");
    Choose(screen.form()->combo("bank_code"), "004");
    screen.form()->line("account_no")->setText("12345678901");

    // Card member: the holder mobile must have 10 to 12 digits.
    Choose(screen.form()->combo("settle_accounts"), "5");
    screen.form()->line("account_no")->setText("4123456789012345");
    screen.form()->line("account_jumin")->setText("2912");
    screen.form()->line("certificate_number")->setText("010123456");
    refused("카드주휴대폰 자릿수 오류입니다.");
    screen.form()->line("certificate_number")->setText("0101234567890");
    refused("카드주휴대폰 자릿수 오류입니다.");

    Choose(screen.form()->combo("settle_accounts"), "1");
    screen.form()->line("account_no")->setText("12345678901");
    screen.form()->line("account_jumin")->setText("800101");
    screen.form()->line("certificate_number")->clear();
    ui.shown.clear();
    const long long id = screen.save();
    ASSERT_GT(id, 0) << (ui.shown.empty() ? "" : ui.shown[0]);
    EXPECT_EQ(ui.shown, std::vector<std::string>{"정상 저장하였습니다. "});
    EXPECT_EQ(Members(), before + 1);
    EXPECT_EQ(Column(id, "username"), "O'Brien 홍");
    EXPECT_EQ(Column(id, "account_jumin"), "800101");
}

TEST_F(MemberScreensTest, CardRefusesAChangeWhenAnotherDeskChangedTheState) {
    MemberInput in;
    for (const auto& [c, v] : std::map<std::string, std::string>{
             {"username", "카드회원"}, {"payday", "10"}, {"inday", "15"}, {"settle_accounts", "2"}})
        in.set(c, v);
    Recording quiet;
    const auto id = CreateMember(*db, session, quiet, in);
    ASSERT_TRUE(id);

    Recording ui;
    MemberCardScreen card(*db, session, ui);
    card.show();
    ASSERT_TRUE(card.open(*id));
    EXPECT_EQ(card.form()->line("username")->text(), QString("카드회원"));
    // Another desk puts the member on hold meanwhile.
    db->ExecuteSql("update " + schema + ".member_user set remove='3' where member_inx=?", {*id});
    card.form()->line("username")->setText("바뀐이름");
    QTest::mouseClick(Button(card, "저장"), Qt::LeftButton);
    EXPECT_EQ(ui.shown, std::vector<std::string>{
                            "본사 또는 지사에서 편집중인 회원의 CMS상태를 변경하였습니다. "
                            "재조회후 변경하십시오."});
    EXPECT_EQ(Column(*id, "username"), "카드회원");
    EXPECT_EQ(Column(*id, "remove"), "3");

    // After opening it again the change goes through.
    ASSERT_TRUE(card.open(*id));
    card.form()->line("username")->setText("바뀐이름");
    ui.shown.clear();
    EXPECT_TRUE(card.save());
    EXPECT_EQ(ui.shown, std::vector<std::string>{"정상 저장하였습니다. "});
    EXPECT_EQ(Column(*id, "username"), "바뀐이름");
    EXPECT_EQ(Column(*id, "remove"), "3");
}

TEST_F(MemberScreensTest, ListDropDownsColumnsAndMaskingFollowTheData) {
    const long long branch = inst.inx * 10 + 1;
    auto insert = [&](const std::string& name, const std::string& manager, const char* info1,
                      long long br, const std::string& settle, const std::string& holder) {
        db->ExecuteSql(
            "insert into " + schema +
                ".member_user (username, client_manager, client_info1, branch_inx, "
                "settle_accounts, account_jumin, payday) values (?,?,?,?,?,?,5)",
            {name, manager, info1 ? SqlParam(info1) : SqlParam::Null(), br, settle, holder});
        return db->lastInsertId();
    };
    const long long a = insert("갑", "박담당", "서울", 0, "1", "800101");
    insert("을", "", nullptr, 0, "1", "8001011234567");
    insert("병", "지사담당", "부산", branch, "1", "800101");
    std::ofstream(folder / "Login.ini") << "[V1]\nVIEW=1/13/36/999\n";
    session.fixing_columns = 3;

    Recording ui;
    MemberListScreen list(*db, session, ui);
    list.show();
    auto items = [](QComboBox* c) {
        std::vector<std::string> out;
        for (int i = 0; i < c->count(); ++i) out.push_back(S(c->itemText(i)));
        return out;
    };
    EXPECT_EQ(items(list.filter("client_manager")),
              (std::vector<std::string>{"전체", "없음", "박담당", "지사담당"}));
    EXPECT_EQ(items(list.filter("client_info1")),
              (std::vector<std::string>{"전체", "없음", "부산", "서울"}));

    auto* grid = list.table();
    QStringList headers;
    for (int c = 0; c < grid->columnCount(); ++c) headers << grid->horizontalHeaderItem(c)->text();
    EXPECT_EQ(headers, QStringList({"납부자번호", "고객명", "상호", "미수금", "예금주번호"}));
    auto* frozen = list.findChild<QTableView*>("frozenColumns");
    ASSERT_TRUE(frozen);
    EXPECT_FALSE(frozen->isColumnHidden(2));
    EXPECT_TRUE(frozen->isColumnHidden(3));
    ASSERT_EQ(grid->rowCount(), 3);
    EXPECT_EQ(S(grid->item(0, 0)->text()),
              std::string(10 - std::to_string(a).size(), '0') + std::to_string(a));
    // A holder number longer than ten characters is masked unless permitted.
    EXPECT_EQ(S(grid->item(1, 4)->text()), "800101*******");
    EXPECT_EQ(S(grid->item(0, 4)->text()), "800101");
    db->ExecuteSql("update quorisdex.admin_company set xls_acnt_permit='1' where inx=?",
                   {inst.inx});
    MemberListScreen permitted(*db, session, ui);
    EXPECT_EQ(S(permitted.table()->item(1, 4)->text()), "8001011234567");
    db->ExecuteSql("update quorisdex.admin_company set xls_acnt_permit='0' where inx=?",
                   {inst.inx});

    // The member-change entry opens the card on the list's current row.
    EXPECT_EQ(ChooseMenuScreen(session, 20, 2, list.state()).message,
              "변경할 회원을 선택 하십시요.");
    ASSERT_TRUE(list.selectMember(a));
    EXPECT_EQ(list.state().rows, 3);
    const MenuChoice card = ChooseMenuScreen(session, 20, 2, list.state());
    EXPECT_EQ(card.screen, "frmDoc22");
    EXPECT_EQ(card.member, a);
    EXPECT_FALSE(list.selectMember(a + 1000));

    // "없음" finds the members without a manager.
    list.filter("client_manager")->setCurrentIndex(1);
    list.search();
    ASSERT_EQ(grid->rowCount(), 1);
    EXPECT_EQ(S(grid->item(0, 1)->text()), "을");

    // A branch user sees only the branch's members and values.
    SessionContext br = session;
    br.brinx = branch;
    MemberListScreen branchList(*db, br, ui);
    EXPECT_EQ(items(branchList.filter("client_manager")),
              (std::vector<std::string>{"전체", "지사담당"}));
    ASSERT_EQ(branchList.table()->rowCount(), 1);
    EXPECT_EQ(S(branchList.table()->item(0, 1)->text()), "병");
}

}  // namespace
}  // namespace qx::ui
