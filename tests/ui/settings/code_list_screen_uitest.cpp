// frmDoc12 as a person uses it: adding, deleting and renaming through the
// screen's fields and buttons, with what the grid shows afterwards.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>

#include "db/database.h"
#include "members/code_list_maintenance.h"
#include "support/screen_test.h"
#include "ui/settings/code_list_screen.h"

namespace qx::ui {
namespace {

class CodeListScreenTest : public test::ScreenTest {
  protected:
    void SetUp() override {
        db_->ExecuteSql("delete from " + Table() + " where cboinx>26");
        db_->ExecuteSql("update " + Table() +
                        " set combotext=concat('추가정보', combodata) where combodivide='c_info'");
        db_->ExecuteSql("delete from " + InstitutionSchema(inst_.inx) + ".member_user");
        session_ = test::SessionFor(inst_);
        screen_ = std::make_unique<CodeListScreen>(*db_, session_, ui_);
    }

    static std::string Table() { return InstitutionSchema(inst_.inx) + ".comboload"; }
    long long Count(const std::string& list) {
        return db_->scalarInt("select count(*) from " + Table() + " where combodivide=?", {list});
    }
    template <class W>
    W* Find(const char* name) {
        return ScreenTest::Find<W>(*screen_, name);
    }
    QTableWidget* Grid() { return Find<QTableWidget>("codeTable"); }
    void Type(const QString& code, const QString& name) {
        Find<QLineEdit>("code")->setText(code);
        Find<QLineEdit>("name")->setText(name);
    }
    void Click(const char* button) { Find<QPushButton>(button)->click(); }
    int RowOf(const QString& text) {
        for (int r = 0; r < Grid()->rowCount(); ++r)
            if (Grid()->item(r, 1)->text() == text) return r;
        return -1;
    }
    std::string LastText() const { return ui_.shown.empty() ? "" : ui_.shown.back().text; }

    SessionContext session_;
    std::unique_ptr<CodeListScreen> screen_;
};

TEST_F(CodeListScreenTest, CollectionCodeBoundariesThroughTheFields) {
    const int before = Grid()->rowCount();
    EXPECT_EQ(before, Count("settleacnt"));
    Type("9", QStringLiteral("구방식"));
    Click("addButton");
    EXPECT_EQ(LastText(), kSettleCodeTooLowText);
    Type("100", QStringLiteral("신방식"));
    Click("addButton");
    EXPECT_EQ(LastText(), kSettleCodeTooHighText);
    // A refused entry keeps what was typed.
    EXPECT_EQ(Find<QLineEdit>("name")->text(), QStringLiteral("신방식"));
    EXPECT_EQ(Grid()->rowCount(), before);

    Type("10", QStringLiteral("계좌이체"));
    Click("addButton");
    Type("99", QStringLiteral("현장수납"));
    Click("addButton");
    EXPECT_EQ(Grid()->rowCount(), before + 2);
    EXPECT_GE(RowOf(QStringLiteral("현장수납")), 0);
    Type("10", QStringLiteral("다시"));
    Click("addButton");
    EXPECT_EQ(LastText(), kSettleCodeDuplicateText);
    EXPECT_EQ(Count("settleacnt"), before + 2);
}

TEST_F(CodeListScreenTest, AdditionIsRefusedOnceTheListShowsTwentyOneEntries) {
    for (long long code = 10; Count("settleacnt") < 20; ++code)
        db_->ExecuteSql("insert into " + Table() +
                            " (combodivide, combotext, combodata) values ('settleacnt',?,?)",
                        {"방식" + std::to_string(code), std::to_string(code)});
    screen_->findChild<QComboBox*>("codeList")->setCurrentIndex(1);
    screen_->findChild<QComboBox*>("codeList")->setCurrentIndex(0);
    ASSERT_EQ(Grid()->rowCount(), 20);
    Type("70", QStringLiteral("스무째"));
    Click("addButton");
    EXPECT_TRUE(ui_.shown.empty());
    ASSERT_EQ(Grid()->rowCount(), 21);
    Type("71", QStringLiteral("스물한째"));
    Click("addButton");
    EXPECT_EQ(LastText(), kCodeListFullText);
    EXPECT_EQ(Grid()->rowCount(), 21);
    EXPECT_EQ(Count("settleacnt"), 21);
}

TEST_F(CodeListScreenTest, DeleteAsksAndRefusesBuiltInAndUsedEntries) {
    Type("10", QStringLiteral("계좌이체"));
    Click("addButton");
    // Nothing chosen: the screen says so and deletes nothing.
    Grid()->setCurrentCell(-1, -1);
    Click("deleteButton");
    EXPECT_EQ(LastText(), "항목을 선택하십시오.");

    Grid()->setCurrentCell(RowOf(QStringLiteral("CMS출금")), 0);
    Click("deleteButton");
    EXPECT_EQ(LastText(), "CMS출금 항목은 삭제 할 수 없는 항목 입니다.");

    db_->ExecuteSql("insert into " + InstitutionSchema(inst_.inx) +
                    ".member_user (username, settle_accounts, remove) values ('회원','10','1')");
    Grid()->setCurrentCell(RowOf(QStringLiteral("계좌이체")), 0);
    Click("deleteButton");
    EXPECT_EQ(LastText(), "계좌이체 항목은 사용중입니다.(삭제불가).");

    db_->ExecuteSql("update " + InstitutionSchema(inst_.inx) + ".member_user set remove='4'");
    ui_.answers = {false, true};
    Click("deleteButton");
    EXPECT_EQ(ui_.shown.back().text, "계좌이체 항목을 삭제 하시겠습니까?");
    EXPECT_TRUE(ui_.shown.back().question);
    EXPECT_GE(RowOf(QStringLiteral("계좌이체")), 0);
    Click("deleteButton");
    EXPECT_EQ(RowOf(QStringLiteral("계좌이체")), -1);
    EXPECT_EQ(db_->scalarInt("select count(*) from " + Table() + " where combodata='10'"), 0);
}

TEST_F(CodeListScreenTest, ReceiptKindInUseThenFree) {
    screen_->findChild<QComboBox*>("codeList")->setCurrentIndex(1);
    EXPECT_EQ(Grid()->rowCount(), Count("tallysheet"));
    db_->ExecuteSql("insert into " + InstitutionSchema(inst_.inx) +
                    ".member_user (username, p_tax, remove) values ('회원','3','1')");
    const QString name = Grid()->item(3, 1)->text();
    ASSERT_EQ(Grid()->item(3, 0)->text(), "3");
    Grid()->setCurrentCell(3, 0);
    Click("deleteButton");
    EXPECT_EQ(LastText(), name.toStdString() + " 항목은 사용중입니다.(삭제불가).");
    db_->ExecuteSql("delete from " + InstitutionSchema(inst_.inx) + ".member_user");
    ui_.answers = {true};
    Click("deleteButton");
    EXPECT_EQ(RowOf(name), -1);
}

TEST_F(CodeListScreenTest, FreeFieldNamesAreRenamedWithoutPunctuation) {
    db_->ExecuteSql("update " + Table() +
                    " set combotext='(A)관리' where combodivide='c_info' and combodata='1'");
    auto* list = screen_->findChild<QComboBox*>("codeList");
    list->setCurrentIndex(2);
    ASSERT_EQ(Grid()->rowCount(), 6);
    EXPECT_FALSE(Find<QPushButton>("addButton")->isVisibleTo(screen_.get()));
    EXPECT_EQ(Grid()->item(0, 1)->text(), QStringLiteral("A관리"));
    EXPECT_EQ(Grid()->item(0, 0)->text(), QStringLiteral("추가정보1"));
    EXPECT_EQ(db_->scalar("select combotext from " + Table() +
                          " where combodivide='c_info' and combodata='1'"),
              "A관리");

    Grid()->setCurrentCell(1, 0);
    Find<QLineEdit>("name")->setText(QStringLiteral("고객-등급"));
    Click("renameButton");
    EXPECT_EQ(LastText(), kSpecialCharacterText);
    Find<QLineEdit>("name")->setText(QStringLiteral("Grade2등급"));
    ui_.answers = {true};
    Click("renameButton");
    EXPECT_EQ(ui_.shown.back().text, kApplyQuestionText);
    EXPECT_EQ(Grid()->item(1, 1)->text(), QStringLiteral("Grade2등급"));
    EXPECT_EQ(db_->scalar("select combotext from " + Table() +
                          " where combodivide='c_info' and combodata='2'"),
              "Grade2등급");

    // A branch user may look but not rename.
    session_ = test::SessionFor(inst_, 5);
    ui_.shown.clear();
    Grid()->setCurrentCell(2, 0);
    Find<QLineEdit>("name")->setText(QStringLiteral("지점이름"));
    Click("renameButton");
    EXPECT_EQ(LastText(), kFreeFieldHeadOfficeOnlyText);
    EXPECT_EQ(db_->scalar("select combotext from " + Table() +
                          " where combodivide='c_info' and combodata='3'"),
              "추가정보3");
}

}  // namespace
}  // namespace qx::ui
