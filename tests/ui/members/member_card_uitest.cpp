// The new-member screen and the member card driven by keyboard and mouse:
// the bank is stored as the seven-digit code and found among the EB13
// targets, a card saved unchanged changes nothing, the account-change dialog
// refuses unchanged data and never runs on Enter, the card always shows the
// member it will change, a second 저장 never registers twice, and Tab
// follows the form.
#include <QLabel>
#include <QTableWidget>
#include <algorithm>
#include <cstdlib>

#include "cms/eb13/eb13_targets.h"
#include "members/member_record.h"
#include "members/member_rules.h"
#include "ui/members/member_screen_fixture.h"
#include "ui/members/member_screens.h"

namespace qx::ui {
namespace {

using test_members::Recording;
using MemberCardTest = test_members::MemberScreenTest;
using test_members::CmsInput;

constexpr const char* kUnchangedAccountText =
    "기존정보와 변경내역이 동일합니다. (은행,계좌번호,예금주번호) ";

TEST_F(MemberCardTest, MemberRegisteredOnTheScreenIsAnEb13TargetWithItsSevenDigitBank) {
    Recording ui;
    NewMemberScreen screen(*db, session, ui);
    screen.show();
    TypeCmsMember(screen.form(), "화면등록");
    // Nothing can be typed into the bank box: only the list's banks exist.
    EXPECT_FALSE(screen.form()->combo("bank_code")->isEditable());
    Click(screen, "저장");
    ASSERT_EQ(ui.shown, std::vector<std::string>{kSavedText});
    const long long id = db->scalarInt("select member_inx from " + schema +
                                       ".member_user where username='화면등록'");
    EXPECT_EQ(Column(id, "bank_code"), "0040000");

    const auto targets = SearchEb13Targets(*db, session);
    const auto it = std::find_if(targets.begin(), targets.end(),
                                 [&](const Eb13Target& t) { return t.member_inx == id; });
    ASSERT_NE(it, targets.end());
    EXPECT_TRUE(it->isNew());
    EXPECT_EQ(it->bank_code, "0040000");
    EXPECT_EQ(Column(id, "cms_status"), "0");
    EXPECT_EQ(Column(id, "cms_error"), "");
}

TEST_F(MemberCardTest, CardSavedUnchangedChangesNothingAndANewBankGetsSevenDigits) {
    Recording quiet;
    MemberInput in = CmsInput("지점회원");
    in.set("bank_code", "0041234");  // a branch part from a bank-received registration
    const auto id = CreateMember(*db, session, quiet, in);
    ASSERT_TRUE(id);
    db->ExecuteSql("update " + schema +
                       ".member_user set cms_status='3', cms_agree_status='3' where member_inx=?",
                   {*id});
    const long long logged = LogLines("%중요정보변경%");

    Recording ui;
    MemberCardScreen card(*db, session, ui);
    card.show();
    ASSERT_TRUE(card.open(*id));
    EXPECT_EQ(card.form()->combo("bank_code")->currentData().toString(), "004");
    Click(card, "저장");
    EXPECT_EQ(ui.shown, std::vector<std::string>{kSavedText});
    EXPECT_EQ(Column(*id, "bank_code"), "0041234");
    EXPECT_EQ(Column(*id, "cms_agree_status"), "3");
    EXPECT_EQ(LogLines("%중요정보변경%"), logged);

    // Another bank is a change: stored with an empty branch part and logged.
    ui.shown.clear();
    ChooseByKeys(card.form()->combo("bank_code"), "088");
    Click(card, "저장");
    ASSERT_EQ(ui.shown.size(), 2u);
    EXPECT_EQ(ui.shown[0].rfind("계좌정보가 변경되어", 0), 0u) << ui.shown[0];
    EXPECT_EQ(ui.shown[1], kSavedText);
    EXPECT_EQ(Column(*id, "bank_code"), "0880000");
    EXPECT_EQ(Column(*id, "cms_agree_status"), "0");
    EXPECT_EQ(LogLines("%거래은행(0041234>0880000)%"), 1);
}

TEST_F(MemberCardTest, PhoneMembersChooseACarrierFromTheList) {
    Recording ui;
    NewMemberScreen screen(*db, session, ui);
    screen.show();
    auto* f = screen.form();
    Type(f->line("username"), "전화회원");
    ChooseByKeys(f->combo("payday"), "10");
    ChooseByKeys(f->combo("inday"), "15");
    ChooseByKeys(f->combo("settle_accounts"), "4");
    auto* bank = f->combo("bank_code");
    QStringList carriers;
    for (int i = 0; i < bank->count(); ++i) carriers << bank->itemData(i).toString();
    EXPECT_EQ(carriers, QStringList({"", "00", "11", "16", "19"}));
    Type(f->line("account_no"), "01012345678");
    Type(f->line("account_name"), "명의자");
    Type(f->line("account_jumin"), "8001011234567");
    Click(screen, "저장");
    EXPECT_EQ(ui.shown,
              std::vector<std::string>{"전화결제인경우 결제통신사는 반드시 선택해야 합니다."});
    ui.shown.clear();
    ChooseByKeys(bank, "16");
    Click(screen, "저장");
    ASSERT_EQ(ui.shown, std::vector<std::string>{kSavedText});
    EXPECT_EQ(
        db->scalar("select bank_code from " + schema + ".member_user where username='전화회원'"),
        "16");
}

TEST_F(MemberCardTest, AccountChangeDialogRefusesUnchangedDataAndEnterNeverRunsTheChange) {
    Recording quiet;
    const auto id = CreateMember(*db, session, quiet, CmsInput("등록회원"));
    ASSERT_TRUE(id);
    db->ExecuteSql("update " + schema + ".member_user set cms_status='3' where member_inx=?",
                   {*id});
    const auto member = LoadMember(*db, session, *id);
    ASSERT_TRUE(member);
    EXPECT_EQ(member->get("bank_code"), "0040000");
    const long long before = Members();

    Recording ui;
    AccountChangeDialog dialog(*db, session, ui, *member);
    dialog.show();
    auto* change = Button(dialog, "변경");
    ASSERT_TRUE(change);
    EXPECT_FALSE(change->isDefault());
    EXPECT_FALSE(change->autoDefault());
    // Enter in a field, with nothing or something changed, never runs 변경.
    auto* account = dialog.findChild<QLineEdit*>("account_no");
    ASSERT_TRUE(account);
    for (const QString& typed : {QString("12345678901"), QString("98765432109")}) {
        Type(account, typed);
        QTest::keyClick(account, Qt::Key_Return);
        EXPECT_EQ(Members(), before) << typed.toStdString();
        EXPECT_EQ(dialog.created(), 0);
    }
    EXPECT_TRUE(ui.shown.empty());

    dialog.show();
    Type(account, "12345678901");
    Click(dialog, "변경");
    EXPECT_EQ(ui.shown, std::vector<std::string>{kUnchangedAccountText});
    EXPECT_EQ(Members(), before);
    EXPECT_EQ(Column(*id, "cms_status"), "3");

    // A real change goes through and keeps the seven-digit code.
    ui.shown.clear();
    Type(account, "98765432109");
    Click(dialog, "변경");
    ASSERT_GT(dialog.created(), 0) << (ui.shown.empty() ? "" : ui.shown[0]);
    EXPECT_EQ(Column(dialog.created(), "bank_code"), "0040000");
    EXPECT_EQ(Column(dialog.created(), "account_no"), "98765432109");
    EXPECT_EQ(Column(*id, "cms_status"), "15");
}

TEST_F(MemberCardTest, CardShowsOnlyTheMemberItWillChange) {
    Recording quiet;
    const auto a = CreateMember(*db, session, quiet, CmsInput("첫회원"));
    const auto b = CreateMember(*db, session, quiet, CmsInput("둘회원"));
    ASSERT_TRUE(a && b);
    Recording ui;
    MemberCardScreen card(*db, session, ui);
    card.show();
    ASSERT_TRUE(card.open(*a));
    auto* number = card.findChild<QLineEdit*>("member_inx");
    ASSERT_TRUE(number);

    // A number that names no member empties the card: 저장 cannot reach 첫회원.
    for (const QString& typed : {QString::number(*b + 1000), QString("abc"), QString("0")}) {
        ASSERT_TRUE(card.open(*a));
        ui.shown.clear();
        Type(number, typed);
        QTest::keyClick(number, Qt::Key_Return);
        EXPECT_EQ(ui.shown, std::vector<std::string>{kMemberNotFoundText}) << typed.toStdString();
        EXPECT_EQ(card.memberInx(), 0);
        EXPECT_TRUE(card.form()->line("username")->text().isEmpty());
        EXPECT_FALSE(card.form()->isEnabled());
    }

    // Every action on the empty card says so and changes nothing.
    const long long membersBefore = Members();
    for (const char* action : {"저장", "삭제", "은행해지", "계좌/카드변경"}) {
        ui.shown.clear();
        Click(card, QString::fromUtf8(action));
        EXPECT_EQ(ui.shown, std::vector<std::string>{kNoMemberOnCardText}) << action;
    }
    EXPECT_EQ(Column(*a, "username"), "첫회원");
    EXPECT_EQ(Column(*a, "remove"), "1");
    EXPECT_EQ(Members(), membersBefore);

    // After 삭제 the card lets the member go.
    ASSERT_TRUE(card.open(*a));
    ui.answers = {true};
    Click(card, "삭제");
    EXPECT_EQ(Column(*a, "remove"), "4");
    EXPECT_EQ(card.memberInx(), 0);
    EXPECT_TRUE(card.form()->line("username")->text().isEmpty());
    ui.shown.clear();
    Click(card, "저장");
    EXPECT_EQ(ui.shown, std::vector<std::string>{kNoMemberOnCardText});

    // 은행해지 asks first; no leaves the member as it is.
    ASSERT_TRUE(card.open(*b));
    ui.shown.clear();
    ui.answers = {false};
    Click(card, "은행해지");
    EXPECT_EQ(ui.shown, std::vector<std::string>{kBankCancelQuestionText});
    EXPECT_EQ(Column(*b, "remove"), "1");
    EXPECT_EQ(Column(*b, "cms_status"), "0");
    ui.shown.clear();
    ui.answers = {true};
    Click(card, "은행해지");
    EXPECT_EQ(ui.shown, (std::vector<std::string>{kBankCancelQuestionText, kBankCancelDoneText}));
    EXPECT_EQ(Column(*b, "remove"), "2");
    EXPECT_EQ(Column(*b, "cms_status"), "13");
    EXPECT_EQ(card.form()->combo("remove")->currentData().toString(), "2");
}

TEST_F(MemberCardTest, SavingTwiceRegistersTheInputOnce) {
    Recording ui;
    NewMemberScreen screen(*db, session, ui);
    screen.show();
    TypeCmsMember(screen.form(), "두번저장");
    const long long before = Members();
    Click(screen, "저장");
    Click(screen, "저장");
    EXPECT_EQ(Members(), before + 1);
    ASSERT_EQ(ui.shown.size(), 2u);
    EXPECT_EQ(ui.shown[0], kSavedText);
    EXPECT_EQ(ui.shown[1], "고객명은 필수 입력 사항입니다.");
    const long long id = db->scalarInt("select member_inx from " + schema +
                                       ".member_user where username='두번저장'");
    auto* registered = screen.findChild<QLabel*>("registered");
    ASSERT_TRUE(registered);
    EXPECT_TRUE(registered->text().endsWith(Q(TenDigits(id)))) << S(registered->text());
    // The form starts over with a new member's values.
    EXPECT_TRUE(screen.form()->line("username")->text().isEmpty());
    EXPECT_EQ(screen.form()->combo("bank_code")->currentData().toString(), "");
    EXPECT_EQ(screen.form()->combo("remove")->currentData().toString(), "1");
}

// Tab from the first field visits the form's fields row by row, left to
// right, the drop-downs among them.
constexpr int kSameRow = 8;  // pixels: fields of one row differ only in height

void ExpectTabFollowsTheForm(QWidget& screen, MemberForm* form, const char* name) {
    QApplication::setActiveWindow(&screen);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&screen)) << name;
    form->firstField()->setFocus();
    std::vector<QWidget*> visited{QApplication::focusWidget()};
    for (int i = 0; i < 80; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QWidget* w = QApplication::focusWidget();
        if (!w || !form->isAncestorOf(w) || w == visited.front()) break;
        visited.push_back(w);
    }
    std::vector<std::string> combos;
    QPoint last(-1, -1);
    for (QWidget* w : visited) {
        if (!form->isAncestorOf(w) || qobject_cast<QTableWidget*>(w)) continue;
        if (auto* c = qobject_cast<QComboBox*>(w)) combos.push_back(S(c->objectName()));
        const QPoint at = w->mapTo(form, QPoint(0, 0));
        const bool later = at.y() > last.y() + kSameRow ||
                           (std::abs(at.y() - last.y()) <= kSameRow && at.x() > last.x());
        EXPECT_TRUE(later) << name << ": " << S(w->objectName())
                           << " comes before the field left of or above it";
        last = at;
    }
    for (const char* c : {"settle_accounts", "bank_code", "payday", "inday", "remove"})
        EXPECT_NE(std::find(combos.begin(), combos.end(), c), combos.end()) << name << ": " << c;
}

TEST_F(MemberCardTest, TabFollowsTheFormIncludingTheDropDowns) {
    Recording ui;
    {
        NewMemberScreen screen(*db, session, ui);
        screen.resize(1100, 900);
        screen.show();
        ExpectTabFollowsTheForm(screen, screen.form(), "frmDoc21");
    }
    const auto id = CreateMember(*db, session, ui, CmsInput("탭회원"));
    ASSERT_TRUE(id);
    MemberCardScreen card(*db, session, ui);
    card.resize(1100, 900);
    card.show();
    ASSERT_TRUE(card.open(*id));
    ExpectTabFollowsTheForm(card, card.form(), "frmDoc22");
}

}  // namespace
}  // namespace qx::ui
