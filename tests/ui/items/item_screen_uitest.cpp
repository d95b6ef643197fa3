// frmDoc13 and the item pickers as a person uses them: the fields, the grid
// with its "할부총액/기간" column, soft delete and the quantity rules.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>

#include "db/database.h"
#include "members/items.h"
#include "support/screen_test.h"
#include "ui/items/item_screen.h"
#include "ui/items/select_item_dialog.h"

namespace qx::ui {
namespace {

class ItemScreenTest : public test::ScreenTest {
  protected:
    void SetUp() override {
        db_->ExecuteSql("delete from " + Table());
        session_ = test::SessionFor(inst_);
    }
    static std::string Table() { return InstitutionSchema(inst_.inx) + ".item"; }
    long long Rows() { return db_->scalarInt("select count(*) from " + Table()); }

    static void Fill(QWidget& s, const QString& name, const QString& pay, int divide = 0,
                     const QString& agreement = {}, const QString& tax = {}) {
        Find<QLineEdit>(s, "name")->setText(name);
        Find<QLineEdit>(s, "pay")->setText(pay);
        Find<QLineEdit>(s, "tax")->setText(tax);
        Find<QComboBox>(s, "divide")->setCurrentIndex(divide);
        Find<QLineEdit>(s, "agreement")->setText(agreement);
    }
    static void Click(QWidget& s, const char* button) { Find<QPushButton>(s, button)->click(); }
    static QTableWidget* Grid(QWidget& s) { return Find<QTableWidget>(s, "itemTable"); }
    static int RowOf(QWidget& s, const QString& name) {
        for (int r = 0; r < Grid(s)->rowCount(); ++r)
            if (Grid(s)->item(r, 1)->text() == name) return r;
        return -1;
    }

    SessionContext session_;
};

TEST_F(ItemScreenTest, PriceOf999IsRefusedAnd1000Accepted) {
    ItemScreen screen(*db_, session_, ui_);
    Fill(screen, QStringLiteral("정수기 렌탈"), "999");
    Click(screen, "addButton");
    ASSERT_EQ(ui_.texts(), std::vector<std::string>{kItemPriceTooLowText});
    EXPECT_EQ(ui_.shown[0].title, "확인");
    EXPECT_EQ(Rows(), 0);
    EXPECT_EQ(Grid(screen)->rowCount(), 0);
    EXPECT_EQ(Find<QLineEdit>(screen, "name")->text(), QStringLiteral("정수기 렌탈"));

    Find<QLineEdit>(screen, "pay")->setText("1000");
    Find<QLineEdit>(screen, "tax")->setText("99");
    Click(screen, "addButton");
    EXPECT_EQ(ui_.shown.back().text, kItemTaxTooLowText);
    Find<QLineEdit>(screen, "tax")->setText("100");
    Click(screen, "addButton");
    EXPECT_EQ(ui_.shown.size(), 2u);
    ASSERT_EQ(Grid(screen)->rowCount(), 1);
    EXPECT_EQ(Grid(screen)->item(0, 3)->text(), "1,000");
    EXPECT_EQ(Grid(screen)->item(0, 5)->text(), "1,100");
}

TEST_F(ItemScreenTest, InstalmentAndPeriodColumnAndChecks) {
    ItemScreen screen(*db_, session_, ui_);
    Fill(screen, QStringLiteral("할부상품"), "5000", 2, "99");
    Click(screen, "addButton");
    EXPECT_EQ(ui_.shown.back().text, kItemInstalmentTooLowText);
    Fill(screen, QStringLiteral("할부상품"), "5000", 2, "120000");
    Click(screen, "addButton");
    Fill(screen, QStringLiteral("기간상품"), "5000", 3, "0");
    Click(screen, "addButton");
    EXPECT_EQ(ui_.shown.back().text, kItemPeriodTooLowText);
    Fill(screen, QStringLiteral("기간상품"), "5000", 3, "12");
    Click(screen, "addButton");
    // A monthly item ignores what is left in the field and stores 0.
    Fill(screen, QStringLiteral("월상품"), "5000", 0, "77");
    Click(screen, "addButton");
    EXPECT_EQ(ui_.shown.size(), 2u);

    auto column = [&](const char* name) {
        const int row = RowOf(screen, QString::fromUtf8(name));
        EXPECT_GE(row, 0) << name;
        return row < 0 ? QString() : Grid(screen)->item(row, 7)->text();
    };
    EXPECT_EQ(column("할부상품"), "120,000");
    EXPECT_EQ(column("기간상품"), QStringLiteral("12 개월"));
    EXPECT_EQ(column("월상품"), "");
    EXPECT_EQ(db_->scalar("select item_agreement from " + Table() + " where item_name='월상품'"),
              "0");
    // Newest first.
    EXPECT_EQ(Grid(screen)->item(0, 1)->text(), QStringLiteral("월상품"));
}

TEST_F(ItemScreenTest, FiltersChangeAndSoftDelete) {
    ItemScreen screen(*db_, session_, ui_);
    Fill(screen, QStringLiteral("생수"), "3000", 0, {}, "300");
    Click(screen, "addButton");
    Fill(screen, QStringLiteral("커피"), "4000");
    Click(screen, "addButton");
    ASSERT_EQ(Grid(screen)->rowCount(), 2);

    Find<QLineEdit>(screen, "findPriceWithTax")->setText("3300");
    Click(screen, "searchButton");
    ASSERT_EQ(Grid(screen)->rowCount(), 1);
    EXPECT_EQ(Grid(screen)->item(0, 1)->text(), QStringLiteral("생수"));
    Find<QLineEdit>(screen, "findPriceWithTax")->setText("삼천");
    Click(screen, "searchButton");
    EXPECT_EQ(Grid(screen)->rowCount(), 0);
    Find<QLineEdit>(screen, "findPriceWithTax")->clear();
    Click(screen, "searchButton");

    // Nothing chosen: nothing changes.
    Grid(screen)->setCurrentCell(-1, -1);
    Click(screen, "changeButton");
    EXPECT_EQ(ui_.shown.back().text, "품목을 선택하십시오.");

    Grid(screen)->setCurrentCell(RowOf(screen, QStringLiteral("커피")), 0);
    EXPECT_EQ(Find<QLineEdit>(screen, "pay")->text(), "4000");
    Find<QLineEdit>(screen, "pay")->setText("4500");
    Click(screen, "changeButton");
    EXPECT_EQ(db_->scalar("select item_pay from " + Table() + " where item_name='커피'"), "4500");

    Grid(screen)->setCurrentCell(RowOf(screen, QStringLiteral("커피")), 0);
    ui_.answers = {false, true};
    Click(screen, "deleteButton");
    EXPECT_EQ(ui_.shown.back().text, "품목 [커피] 을 삭제 하시겠습니까?");
    EXPECT_GE(RowOf(screen, QStringLiteral("커피")), 0);
    Click(screen, "deleteButton");
    EXPECT_EQ(RowOf(screen, QStringLiteral("커피")), -1);
    EXPECT_EQ(db_->scalar("select remove_item from " + Table() + " where item_name='커피'"), "Y");
    EXPECT_EQ(Rows(), 2);
}

TEST_F(ItemScreenTest, PickerOffersActiveItemsAndChecksTheQuantity) {
    {
        ItemScreen screen(*db_, session_, ui_);
        Fill(screen, QStringLiteral("남는품목"), "2000");
        Click(screen, "addButton");
        Fill(screen, QStringLiteral("지운품목"), "2000");
        Click(screen, "addButton");
        Grid(screen)->setCurrentCell(RowOf(screen, QStringLiteral("지운품목")), 0);
        ui_.answers = {true};
        Click(screen, "deleteButton");
    }
    SelectItemDialog picker(*db_, session_, ui_);
    auto* grid = Find<QTableWidget>(picker, "itemTable");
    ASSERT_EQ(grid->rowCount(), 1);
    EXPECT_EQ(grid->item(0, 1)->text(), QStringLiteral("남는품목"));

    ui_.shown.clear();
    auto* quantity = Find<QLineEdit>(picker, "quantity");
    quantity->setText(QStringLiteral("두개"));
    picker.accept();
    quantity->setText("0");
    picker.accept();
    EXPECT_EQ(ui_.texts(), (std::vector<std::string>{kQuantityInvalidText, kQuantityTooLowText}));
    EXPECT_FALSE(picker.chosen().has_value());
    quantity->setText("3");
    picker.accept();
    ASSERT_TRUE(picker.chosen().has_value());
    EXPECT_EQ(picker.chosen()->quantity, 3);
    EXPECT_EQ(picker.chosen()->item.name, "남는품목");

    // The change variant asks before it hands the item back.
    SelectItemDialog change(*db_, session_, ui_, nullptr, SelectItemDialog::Variant::kChange);
    change.preset(picker.chosen()->item.item_inx, 2);
    ui_.answers = {false};
    change.accept();
    EXPECT_EQ(ui_.shown.back().text, kQuantityChangeQuestionText);
    EXPECT_FALSE(change.chosen().has_value());
    ui_.answers = {true};
    change.accept();
    ASSERT_TRUE(change.chosen().has_value());
    EXPECT_EQ(change.chosen()->quantity, 2);
}

}  // namespace
}  // namespace qx::ui
