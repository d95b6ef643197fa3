#include <gtest/gtest.h>

#include <set>
#include <stdexcept>

#include "db/work_tables.h"
#include "support/institution_fixture.h"

namespace qx {
namespace {

class WorkTableTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        db_ = test::ConnectTestDatabase().release();
        inst_ = &test::SharedInstitution(*db_);
    }
    static void TearDownTestSuite() { delete db_; }

    bool Exists(const std::string& qualified) {
        const auto dot = qualified.find('.');
        return db_->scalarInt(
                   "select count(*) from information_schema.tables where table_schema=? and "
                   "table_name=?",
                   {qualified.substr(0, dot), qualified.substr(dot + 1)}) > 0;
    }
    std::set<std::string> Columns(const std::string& qualified) {
        const auto dot = qualified.find('.');
        auto rs = db_->OpenRecordset(
            "select column_name from information_schema.columns where table_schema=? and "
            "table_name=?",
            {qualified.substr(0, dot), qualified.substr(dot + 1)});
        std::set<std::string> out;
        for (std::size_t i = 0; i < rs.size(); ++i) out.insert(rs[i][0]);
        return out;
    }

    static Database* db_;
    static const test::TestInstitution* inst_;
};

Database* WorkTableTest::db_ = nullptr;
const test::TestInstitution* WorkTableTest::inst_ = nullptr;

TEST_F(WorkTableTest, MemberCopiesHoldEveryMemberAndAreDroppedByTheirKey) {
    const SessionContext s = test::SessionFor(*inst_);
    const auto a = test::InsertMember(*db_, inst_->inx, {.username = "O'Brien"});
    const auto b = test::InsertMember(*db_, inst_->inx, {.pay_nonpayment = 1234});
    const WorkTable t = CreateWorkTable(*db_, s, kWorkMemberCopy);
    EXPECT_EQ(t.name, "quorisdex.back_" + std::to_string(t.key));
    EXPECT_EQ(
        db_->scalar("select back_loginid from quorisdex.back_table where back_inx=?", {t.key}),
        s.LoginId);
    EXPECT_EQ(db_->scalar("select username from " + t.name + " where member_inx=?", {a}),
              "O'Brien");
    EXPECT_EQ(db_->scalarInt("select pay_nonpayment from " + t.name + " where member_inx=?", {b}),
              1234);
    EXPECT_EQ(db_->scalarInt("select count(*) from " + t.name),
              db_->scalarInt("select count(*) from " + s.schema() + ".member_user"));
    EXPECT_EQ(Columns(t.name), Columns(s.schema() + ".member_user"));
    DropWorkTable(*db_, t.key);
    EXPECT_FALSE(Exists(t.name));
    DropWorkTable(*db_, t.key);  // already gone: no failure

    // The money backup: every member, only what a withdrawal result changes.
    db_->ExecuteSql("update " + s.schema() +
                        ".member_user set total_payment=77, cms_status='8', cms_error='잔액부족' "
                        "where member_inx=?",
                    {b});
    const WorkTable money = CreateWorkTable(*db_, s, kWorkMemberMoney);
    EXPECT_EQ(money.name, "quorisdex.back_" + std::to_string(money.key));
    EXPECT_EQ(Columns(money.name),
              (std::set<std::string>{"member_inx", "pay_nonpayment", "total_payment",
                                     "pay_prossagreement", "cms_status", "cms_error"}));
    EXPECT_EQ(db_->scalarInt("select count(*) from " + money.name),
              db_->scalarInt("select count(*) from " + s.schema() + ".member_user"));
    EXPECT_EQ(db_->scalar("select concat_ws('|',pay_nonpayment,total_payment,cms_status,cms_error) "
                          "from " +
                              money.name + " where member_inx=?",
                          {b}),
              "1234|77|8|잔액부족");
    DropWorkTable(*db_, money.key);
    EXPECT_FALSE(Exists(money.name));
}

TEST_F(WorkTableTest, ScratchLayoutsOfTheBatchKinds) {
    const SessionContext s = test::SessionFor(*inst_);
    const WorkTable items = CreateWorkTable(*db_, s, kWorkMemberItems);
    db_->ExecuteSql("insert into " + items.name + " (member_inx, ui_name) values (7, '품목')");
    EXPECT_EQ(db_->scalar("select ui_pay from " + items.name), "1000");
    EXPECT_EQ(db_->scalarInt("select member_inx from " + items.name), 7);

    const WorkTable rows = CreateWorkTable(*db_, s, kWorkBatchRows);
    for (const char* c : {"member_inx", "ext_key", "pay_text", "pmserror", "sortlimits", "ui_name",
                          "ui_stan", "ui_cnt", "ui_pay"}) {
        EXPECT_TRUE(Columns(rows.name).count(c)) << c;
    }
    db_->ExecuteSql("insert into " + rows.name + " (member_inx, pay_text) values ('12a', '1,000')");
    EXPECT_EQ(db_->scalar("select pay_text from " + rows.name), "1,000");

    const WorkTable info = CreateWorkTable(*db_, s, kWorkMemberInfo);
    EXPECT_EQ(Columns(info.name),
              (std::set<std::string>{"member_inx", "client_info1", "client_info2", "client_info3",
                                     "client_info4", "client_info5", "client_info6"}));
    EXPECT_EQ(db_->scalar("select table_collation from information_schema.tables where "
                          "table_schema='quorisdex' and table_name=?",
                          {info.name.substr(10)}),
              "utf8mb3_unicode_ci");
    for (const auto& t : {items, rows, info}) DropWorkTable(*db_, t.key);
}

TEST_F(WorkTableTest, TwoSessionsNeverShareAScratchName) {
    auto other = test::ConnectTestDatabase();
    const SessionContext s = test::SessionFor(*inst_);
    std::set<std::string> names;
    std::vector<long long> keys;
    for (int i = 0; i < 3; ++i) {
        for (Database* db : {db_, other.get()}) {
            const WorkTable t = CreateWorkTable(*db, s, kWorkMemberItems);
            EXPECT_TRUE(names.insert(t.name).second) << t.name;
            keys.push_back(t.key);
        }
    }
    for (const auto& name : names) EXPECT_TRUE(Exists(name));
    for (long long key : keys) DropWorkTable(*db_, key);
}

TEST_F(WorkTableTest, InstitutionWorkTablesAreCreatedAndRunTablesEmptied) {
    const SessionContext s = test::SessionFor(*inst_);
    const std::string schema = s.schema();
    db_->ExecuteSql("insert into " + schema + ".file_ea13_run (seq_num, result) values (1, 'N')");
    db_->ExecuteSql("insert into " + schema + ".newpay (userinx) values (1)");
    db_->ExecuteSql("insert into " + schema + ".txtadd (bcm_runkey) values (5)");
    db_->ExecuteSql("drop table " + schema + ".file_ea21_run");
    db_->ExecuteSql("drop table " + schema + ".giftsubbill");
    db_->ExecuteSql("drop table " + schema + ".cmsinx_list");

    EXPECT_EQ(CreateWorkTable(*db_, s, kWorkEb14Results).name, schema + ".file_ea13_run");
    EXPECT_EQ(db_->scalarInt("select count(*) from " + schema + ".file_ea13_run"), 0);
    EXPECT_EQ(CreateWorkTable(*db_, s, kWorkEb22Results).name, schema + ".file_ea21_run");
    EXPECT_TRUE(Columns(schema + ".file_ea21_run").count("div_amount"));
    EXPECT_EQ(CreateWorkTable(*db_, s, kWorkBatchSales).name, schema + ".newpay");
    EXPECT_EQ(db_->scalarInt("select count(*) from " + schema + ".newpay"), 0);
    EXPECT_TRUE(Exists(schema + ".newpay2"));
    EXPECT_EQ(CreateWorkTable(*db_, s, kWorkDonationReceipts).name, schema + ".giftbill");
    EXPECT_TRUE(Exists(schema + ".giftsubbill"));
    // Run histories are kept.
    EXPECT_EQ(CreateWorkTable(*db_, s, kWorkTextBatch).name, schema + ".txtadd");
    EXPECT_EQ(db_->scalarInt("select count(*) from " + schema + ".txtadd"), 1);
    const WorkTable payer = CreateWorkTable(*db_, s, kWorkPayerNumbers);
    EXPECT_EQ(payer.name, schema + ".cmsinx_list");
    EXPECT_EQ(payer.key, 0);
    EXPECT_EQ(Columns(payer.name), (std::set<std::string>{"cl_inx", "cl_meminx", "cl_cmsinx"}));
    EnsurePayerNumberTable(*db_, inst_->inx);  // present: left alone
}

TEST_F(WorkTableTest, KindsWithoutATableAreRefusedWithoutANumberBeingTaken) {
    const SessionContext s = test::SessionFor(*inst_);
    const long long before = db_->scalarInt("select count(*) from quorisdex.back_table");
    for (int kind : {0, 6, 7, 14, -1}) {
        EXPECT_THROW(CreateWorkTable(*db_, s, kind), std::invalid_argument) << kind;
    }
    EXPECT_EQ(db_->scalarInt("select count(*) from quorisdex.back_table"), before);
    DropWorkTable(*db_, 0);
}

}  // namespace
}  // namespace qx
