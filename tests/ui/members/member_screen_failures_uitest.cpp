// Failures at the member screens' boundary: a failed statement shows its
// message and ends the program through the event loop instead of escaping
// it; text the database cannot store never crashes the registration. And
// the member list's frozen columns and name box after a filtered search.
#include <QHeaderView>
#include <QTableView>
#include <QTableWidget>

#include "members/member_record.h"
#include "ui/members/member_screen_fixture.h"
#include "ui/members/member_screens.h"

namespace qx::ui {
namespace {

using test_members::CmsInput;
using test_members::Recording;
using test_members::RunInEventLoop;
using MemberScreenFailureTest = test_members::MemberScreenTest;

constexpr const char* kFailedStatementStart = "데이타베이스 연결에 실패 하였습니다.";

TEST_F(MemberScreenFailureTest, AFailedStatementOnAnyMemberScreenIsShownAndEndsTheProgram) {
    Recording quiet;
    const auto id = CreateMember(*db, session, quiet, CmsInput("있는회원"));
    ASSERT_TRUE(id);
    Recording ui;
    MemberListScreen list(*db, session, ui);
    NewMemberScreen fresh(*db, session, ui);
    MemberCardScreen card(*db, session, ui);
    ASSERT_TRUE(card.open(*id));
    TypeCmsMember(fresh.form(), "새회원");
    const auto real = session.institution_number;
    // The institution's tables are gone from under the open screens.
    const std::vector<std::pair<const char*, std::function<void()>>> actions = {
        {"list 조회", [&] { Click(list, "조회"); }},
        {"new 저장", [&] { Click(fresh, "저장"); }},
        {"card 저장", [&] { Click(card, "저장"); }},
        {"card 조회",
         [&] {
             auto* number = card.findChild<QLineEdit*>("member_inx");
             number->setText(QString::number(*id));
             QTest::keyClick(number, Qt::Key_Return);
         }},
    };
    for (const auto& [name, action] : actions) {
        ui.shown.clear();
        session.institution_number = 999999999;
        const int code = RunInEventLoop(action);
        session.institution_number = real;
        EXPECT_EQ(code, 1) << name;
        ASSERT_EQ(ui.shown.size(), 1u) << name;
        EXPECT_EQ(ui.shown[0].rfind(kFailedStatementStart, 0), 0u) << name << ": " << ui.shown[0];
        EXPECT_NE(ui.shown[0].find("프로그램을 종료 합니다."), std::string::npos) << name;
    }
    // The loop that ended was the program's: a click afterwards runs normally.
    ui.shown.clear();
    EXPECT_EQ(RunInEventLoop([&] { Click(card, "저장"); }), 0);
    EXPECT_EQ(ui.shown, std::vector<std::string>{kSavedText});
}

TEST_F(MemberScreenFailureTest, ANameTheDatabaseCannotStoreGetsAMessageAndNoMember) {
    const long long before = Members();
    for (const QString& name : {QString::fromUtf8("홍😀"), QString::fromUtf8("😀")}) {
        Recording ui;
        NewMemberScreen screen(*db, session, ui);
        screen.show();
        TypeCmsMember(screen.form(), "홍길동");
        Type(screen.form()->line("username"), name);
        // Refused by a check or failed as a statement: either way a message,
        // never a crash, and nothing stored.
        const int code = RunInEventLoop([&] { Click(screen, "저장"); });
        EXPECT_TRUE(code == 0 || code == 1) << code;
        EXPECT_FALSE(ui.shown.empty()) << S(name);
        EXPECT_EQ(std::count(ui.shown.begin(), ui.shown.end(), std::string(kSavedText)), 0);
        EXPECT_EQ(Members(), before) << S(name);
    }
}

TEST_F(MemberScreenFailureTest, FrozenColumnsStayOverTheirColumnsAfterAFilteredSearch) {
    db->ExecuteSql("insert into " + schema +
                   ".member_user (username, settle_accounts, payday) "
                   "select concat('회원', seq), '1', 5 from seq_1_to_150");
    db->ExecuteSql("insert into " + schema +
                   ".member_user (username, settle_accounts, payday) values ('찾는회원','1',5)");
    session.fixing_columns = 2;
    Recording ui;
    MemberListScreen list(*db, session, ui);
    list.resize(900, 500);
    list.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&list));
    auto* grid = list.table();
    auto* frozen = list.findChild<QTableView*>("frozenColumns");
    ASSERT_TRUE(frozen);
    auto* name = list.findChild<QLineEdit*>("username");
    ASSERT_TRUE(name);

    auto expectInPlace = [&](const char* when, int rows) {
        QTest::qWait(50);
        ASSERT_EQ(grid->rowCount(), rows) << when;
        const QRect view = grid->viewport()->geometry();
        EXPECT_EQ(frozen->geometry().left(), view.left()) << when;
        EXPECT_EQ(frozen->geometry().bottom(), view.bottom()) << when;
        EXPECT_EQ(frozen->geometry().width(), grid->columnWidth(0) + grid->columnWidth(1)) << when;
        for (int c = 0; c < grid->columnCount(); ++c)
            EXPECT_EQ(frozen->isColumnHidden(c), c >= 2) << when << " column " << c;
        EXPECT_GE(name->width(), kNameBoxMinimumWidth) << when;
    };
    expectInPlace("all members", 151);
    Type(name, "찾는");
    QTest::keyClick(name, Qt::Key_Return);
    expectInPlace("one member", 1);
    Type(name, "");
    Click(list, "조회");
    expectInPlace("all again", 151);
}

}  // namespace
}  // namespace qx::ui
