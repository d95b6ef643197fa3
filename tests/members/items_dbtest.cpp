// The item catalogue: add, change, list filters and soft delete.
#include <gtest/gtest.h>

#include "core/session_context.h"
#include "db/database.h"
#include "members/items.h"
#include "support/scripted_interaction.h"
#include "support/test_database.h"

namespace qx {
namespace {

class ItemsTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        db_ = test::ConnectTestDatabase().release();
        inst_ = test::CreateTestInstitution(*db_);
    }
    static void TearDownTestSuite() {
        delete db_;
        db_ = nullptr;
    }
    void SetUp() override {
        db = db_;
        db->ExecuteSql("delete from " + InstitutionSchema(inst_.inx) + ".item");
        session = SessionContext{};
        session.institution_number = inst_.inx;
    }
    long long Rows() {
        return db->scalarInt("select count(*) from " + InstitutionSchema(inst_.inx) + ".item");
    }
    ItemInput Input(const std::string& name, const std::string& pay, const std::string& tax = "") {
        ItemInput in;
        in.name = name;
        in.pay = pay;
        in.tax = tax;
        return in;
    }

    static Database* db_;
    static test::TestInstitution inst_;
    Database* db = nullptr;
    SessionContext session;
    test::ScriptedInteraction ui;
};

Database* ItemsTest::db_ = nullptr;
test::TestInstitution ItemsTest::inst_;

TEST_F(ItemsTest, PriceBelowThousandWritesNothing) {
    EXPECT_FALSE(AddItem(*db, session, ui, Input("우유", "999")));
    ASSERT_EQ(ui.shown.size(), 1u);
    EXPECT_EQ(ui.shown[0].text, kItemPriceTooLowText);
    EXPECT_EQ(ui.shown[0].title, "확인");
    EXPECT_FALSE(AddItem(*db, session, ui, Input("우유", "1000", "abc")));
    EXPECT_EQ(ui.shown.back().text, kItemTaxInvalidText);
    EXPECT_EQ(Rows(), 0);

    const auto id = AddItem(*db, session, ui, Input("우유", "1000"));
    ASSERT_TRUE(id);
    const auto row = FindItem(*db, session, *id);
    ASSERT_TRUE(row);
    EXPECT_EQ(row->pay, 1000);
    EXPECT_EQ(row->tax, 0);
    EXPECT_EQ(row->agreement, 0);
    EXPECT_FALSE(row->removed);
}

TEST_F(ItemsTest, InstalmentAndPeriodColumns) {
    auto in = Input("정수기", "30,000", "3000");
    in.account_divide = kInstalment;
    in.agreement = "360000";
    in.stan = "소형";
    in.memo = "36개월";
    in.settle_accounts = "5";
    in.p_tax = "3";
    in.saleday = 5;
    in.collday = 25;
    const auto a = AddItem(*db, session, ui, in);
    ASSERT_TRUE(a);
    auto p = Input("관리비", "10000");
    p.account_divide = kPeriod;
    p.agreement = "12";
    const auto b = AddItem(*db, session, ui, p);
    ASSERT_TRUE(b);

    const auto items = ListItems(*db, session);
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0].item_inx, *b);  // newest first
    EXPECT_EQ(items[0].agreementColumn(), "12 개월");
    EXPECT_EQ(items[1].agreementColumn(), "360000");
    EXPECT_EQ(items[1].priceWithTax(), 33000);
    EXPECT_EQ(items[1].settle_accounts, "5");
    EXPECT_EQ(items[1].p_tax, "3");
    EXPECT_EQ(items[1].saleday, 5);
    EXPECT_EQ(items[1].collday, 25);
    EXPECT_EQ(items[1].stan, "소형");
}

TEST_F(ItemsTest, Filters) {
    const auto a = *AddItem(*db, session, ui, Input("O'Brien 우유", "1000", "100"));
    const auto b = *AddItem(*db, session, ui, Input("두유", "1100"));
    auto ids = [&](const ItemFilter& f) {
        std::vector<long long> out;
        for (const auto& r : ListItems(*db, session, f)) out.push_back(r.item_inx);
        return out;
    };
    EXPECT_EQ(ids({.name = "'Brien"}), (std::vector<long long>{a}));
    EXPECT_EQ(ids({.name = "유"}), (std::vector<long long>{b, a}));
    EXPECT_EQ(ids({.pay = "1100"}), (std::vector<long long>{b}));
    EXPECT_EQ(ids({.priceWithTax = "1100"}), (std::vector<long long>{b, a}));
    EXPECT_EQ(ids({.itemNumber = std::to_string(a)}), (std::vector<long long>{a}));
    EXPECT_TRUE(ids({.itemNumber = "1 or 1=1"}).empty());
    EXPECT_TRUE(ids({.name = "%' or '1'='1"}).empty());
}

TEST_F(ItemsTest, ChangeChecksAndWrites) {
    const auto id = *AddItem(*db, session, ui, Input("우유", "1000"));
    EXPECT_FALSE(ChangeItem(*db, session, ui, id, Input("", "2000")));
    EXPECT_EQ(ui.shown.back().text, kItemNameRequiredText);
    EXPECT_EQ(FindItem(*db, session, id)->name, "우유");
    auto in = Input("흰우유", "2000", "200");
    in.account_divide = kAdHoc;
    in.agreement = "77";
    EXPECT_TRUE(ChangeItem(*db, session, ui, id, in));
    const auto row = FindItem(*db, session, id);
    EXPECT_EQ(row->name, "흰우유");
    EXPECT_EQ(row->pay, 2000);
    EXPECT_EQ(row->tax, 200);
    EXPECT_EQ(row->agreement, 0);
    EXPECT_EQ(row->account_divide, kAdHoc);
}

TEST_F(ItemsTest, DeleteKeepsTheRow) {
    const auto id = *AddItem(*db, session, ui, Input("우유", "1000"));
    ui.answers = {false};
    EXPECT_FALSE(DeleteItem(*db, session, ui, id));
    EXPECT_EQ(ui.shown.back().text, "품목 [우유] 을 삭제 하시겠습니까?");
    EXPECT_EQ(ListItems(*db, session).size(), 1u);
    ui.answers = {true};
    EXPECT_TRUE(DeleteItem(*db, session, ui, id));
    EXPECT_TRUE(ListItems(*db, session).empty());
    EXPECT_EQ(Rows(), 1);
    EXPECT_TRUE(FindItem(*db, session, id)->removed);
    EXPECT_THROW(ChangeItem(*db, session, ui, id, Input("우유", "1000")), std::invalid_argument);
}

TEST(ItemQuantityTest, Rules) {
    test::ScriptedInteraction ui;
    EXPECT_FALSE(CheckQuantity("a", ui));
    EXPECT_EQ(ui.shown.back().text, kQuantityInvalidText);
    EXPECT_FALSE(CheckQuantity("0", ui));
    EXPECT_EQ(ui.shown.back().text, kQuantityTooLowText);
    EXPECT_EQ(CheckQuantity("3", ui), 3);
}

}  // namespace
}  // namespace qx
