#include <gtest/gtest.h>

#include <chrono>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "admin/provisioning.h"
#include "db/database.h"
#include "members/virtual_account.h"
#include "support/test_database.h"

namespace qx {
namespace {

// Two branches, the first with an agency: members must spread over all three.
void AddBranches(Database& db, long long inx) {
    for (int i = 1; i <= 2; ++i) {
        BranchRequest b;
        b.inx = inx;
        b.brinx = inx * 10 + i;
        b.id = "br" + std::to_string(b.brinx);
        b.password = "pw";
        b.company = "지사" + std::to_string(i);
        CreateBranch(db, b);
    }
    BranchRequest a;
    a.inx = inx;
    a.brinx = inx * 10 + 1;
    a.aginx = inx * 10 + 1;
    a.id = "ag" + std::to_string(a.aginx);
    a.password = "pw";
    a.company = "대리점1";
    CreateAgency(db, a);
}

// A fresh institution with branches for every test.
class DemoSeedTest : public ::testing::Test {
  protected:
    void SetUp() override {
        db_ = test::ConnectTestDatabase();
        inst_ = test::CreateTestInstitution(*db_);
        schema_ = InstitutionSchema(inst_.inx);
        AddBranches(*db_, inst_.inx);
    }

    long long Count(const std::string& table, const std::string& where = "1") {
        return db_->scalarInt("select count(*) from " + schema_ + "." + table + " where " + where);
    }
    long long Scalar(const std::string& sql) { return db_->scalarInt(sql); }
    // No row of `table` meets any of `conditions`.
    void ExpectNoRow(const std::string& table, const std::vector<std::string>& conditions) {
        for (const std::string& where : conditions) EXPECT_EQ(Count(table, where), 0) << where;
    }
    std::string T(const std::string& table) const { return schema_ + "." + table; }

    std::unique_ptr<Database> db_;
    test::TestInstitution inst_;
    std::string schema_;
};

// One institution seeded once, for the tests that only read what the seeding wrote.
class SeededDemoTest : public DemoSeedTest {
  protected:
    static void SetUpTestSuite() {
        auto db = test::ConnectTestDatabase();
        shared_ = test::CreateTestInstitution(*db);
        AddBranches(*db, shared_.inx);
        const auto started = std::chrono::steady_clock::now();
        added_ = SeedDemo(*db, shared_.inx);
        seconds_ =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    }
    void SetUp() override {
        db_ = test::ConnectTestDatabase();
        inst_ = shared_;
        schema_ = InstitutionSchema(inst_.inx);
    }

    static inline test::TestInstitution shared_;
    static inline long long added_ = 0;
    static inline double seconds_ = 0;
};

TEST_F(SeededDemoTest, AddsAbout300MembersQuicklyAndInOneGo) {
    EXPECT_EQ(added_, Count("member_user"));
    EXPECT_GE(added_, 250);
    EXPECT_LE(added_, 350);
    EXPECT_LT(seconds_, 5.0);
    // Fresh institution: payer numbers start at 1 and run without gaps.
    EXPECT_EQ(Scalar("select min(member_inx) from " + T("member_user")), 1);
    EXPECT_EQ(Scalar("select max(member_inx) from " + T("member_user")), added_);
}

TEST_F(SeededDemoTest, MemberTotalsAreExactlyTheSumsOfTheirLedgerRows) {
    EXPECT_GT(Count("pay_pross", "paystat='0'"), 500);
    EXPECT_GT(Count("pay_pross", "paystat='1'"), 300);
    EXPECT_GT(Count("member_user", "pay_nonpayment>0"), 20);
    EXPECT_GT(Count("member_user", "account_divide='3' and pay_prossagreement>0"), 5);

    const std::string sums =
        "(select userlink_inx, sum(if(paystat='0',input_pay,0)) s, "
        "sum(if(paystat='1',input_pay,0)) c from " +
        T("pay_pross") + " group by userlink_inx)";
    EXPECT_EQ(Scalar("select count(*) from " + T("member_user") + " m left join " + sums +
                     " p on p.userlink_inx=m.member_inx where "
                     "m.total_prosspay<>coalesce(p.s,0) or m.total_payment<>coalesce(p.c,0) or "
                     "m.pay_nonpayment<>coalesce(p.s,0)-coalesce(p.c,0) or "
                     "m.pay_prossagreement<>if(m.account_divide='3',coalesce(p.c,0),0)"),
              0);
    // Every row carries the outstanding amount (and instalment total) right after it.
    EXPECT_EQ(
        Scalar("select count(*) from (select p.pros_nonpayment, p.pay_prossag, "
               "sum(if(p.paystat='0',p.input_pay,-p.input_pay)) over (partition by "
               "p.userlink_inx order by p.pay_inx) run, "
               "sum(if(p.paystat='1' and m.account_divide='3',p.input_pay,0)) over (partition by "
               "p.userlink_inx order by p.pay_inx) runag from " +
               T("pay_pross") + " p join " + T("member_user") +
               " m on m.member_inx=p.userlink_inx) x where pros_nonpayment<>run or "
               "pay_prossag<>runag"),
        0);
    // The latest row of a member is also the latest by time, as the reconciliation reads it.
    EXPECT_EQ(Scalar("select count(*) from " + T("pay_pross") + " a join " + T("pay_pross") +
                     " b on a.userlink_inx=b.userlink_inx and a.pay_inx<b.pay_inx and "
                     "a.regdate>b.regdate"),
              0);
    EXPECT_EQ(Count("pay_pross", "input_pay<=0 or pros_nonpayment<0"), 0);
    EXPECT_EQ(Count("member_user", "account_divide='3' and pay_prossagreement>pay_agreement"), 0);
    EXPECT_EQ(Count("member_user",
                    "account_divide='3' and "
                    "pay_prossagreement+pay_nonpayment>pay_agreement"),
              0);
    EXPECT_EQ(Count("pay_pross", "userbrlink_inx<>(select branch_inx from " + T("member_user") +
                                     " where member_inx=userlink_inx)"),
              0);
}

TEST_F(SeededDemoTest, LedgerRowsLookLikeBatchSalesAndChannelCollections) {
    ExpectNoRow("pay_pross",
                {"signdate not between '26-09-01' and '26-11-30'",
                 "paystat='0' and memo<>concat(left(signdate,2),'년 ',"
                 "mid(signdate,4,2),'월 일괄매출')",
                 "paystat='1' and settle_title<>case settle_code when '1' then "
                 "'CMS' when '5' then '신용카드결제' when '3' then 'OCR지로' "
                 "else '대체수금' end",
                 "paystat='0' and settle_title<>(select combotext from " + T("comboload") +
                     " where combodivide='settleacnt' and combodata=settle_code)",
                 "settle_code<>(select settle_accounts from " + T("member_user") +
                     " where member_inx=userlink_inx)"});

    // Every sale came from a booked batch row of the same run, member and amount.
    EXPECT_EQ(Count("pay_pross", "paystat='0'"),
              Count("pay_pross", "paystat='0' and exists (select 1 from " + T("payadd") +
                                     " a where a.payadd_inx=addkey and a.add_runkey=addmuskey and "
                                     "a.add_usrnum=userlink_inx and a.add_monthdefault=input_pay "
                                     "and a.add_errcode='0')"));
    EXPECT_EQ(Count("payadd", "add_errcode='0'"), Count("pay_pross", "paystat='0'"));
    EXPECT_EQ(Count("payadd", "add_errcode='1' and add_err=''"), 0);
    // Members signed up ahead of their first billing month show as refused batch rows.
    EXPECT_GT(Count("payadd", "add_errcode='1' and add_err like '이체개시월 [%] 오류 / '"), 3);
    EXPECT_EQ(
        Count("payadd", "add_errcode='1' and concat('20',left(create_date,5))>=add_startdate"), 0);
    // Batch collections only for direct payers; the other channels book single rows.
    EXPECT_EQ(Count("pay_pross", "paystat='1' and settle_code='2'"),
              Count("pay_pross", "paystat='1' and settle_code='2' and exists (select 1 from " +
                                     T("paymus") +
                                     " a where a.payadd_inx=addkey and a.add_runkey=addmuskey "
                                     "and a.add_usrnum=userlink_inx and "
                                     "a.add_monthdefault=input_pay)"));
    EXPECT_EQ(Count("paymus"), Count("pay_pross", "paystat='1' and settle_code='2'"));
    EXPECT_EQ(Count("pay_pross", "paystat='1' and settle_code<>'2' and addmuskey<>0"), 0);
    // Run keys are shared by sales and collections: no key names two runs.
    EXPECT_EQ(Scalar("select count(*) from " + T("payadd") + " a join " + T("paymus") +
                     " b on a.add_runkey=b.add_runkey"),
              0);
    EXPECT_EQ(Scalar("select count(distinct add_runkey) from " + T("payadd")),
              Scalar("select count(distinct create_date) from " + T("payadd")));
    EXPECT_GT(Count("pross_log", "prosnum=8"), 3);
}

TEST_F(SeededDemoTest, CmsStatesAgreeWithMemberStates) {
    ExpectNoRow("member_user",
                {"remove not in ('1','2','3')",
                 "remove='1' and cms_status not in ('0','1','2','3','6','7','8')",
                 "remove='2' and cms_status not in ('11','12','13')",
                 "remove='3' and cms_status not in ('0','3','7','8')",
                 "cms_status in ('2','8') and cms_error=''",
                 "cms_status='2' and settle_accounts='1' and "
                 "(cms_error<>'은행코드오류' or length(bank_code)=7)",
                 "settle_accounts in ('2','3') and cms_status not in ('0','13')",
                 // Nobody waiting for a first registration has been billed or debited.
                 "settle_accounts in ('1','5') and cms_status in ('0','1','2') and "
                 "total_prosspay<>0",
                 "settle_accounts in ('1','5') and cms_status='3' and total_payment<>0"});

    const Recordset states = db_->OpenRecordset("select distinct cms_status from " +
                                                T("member_user") + " order by cms_status+0");
    std::set<std::string> seen;
    for (std::size_t i = 0; i < states.size(); ++i) seen.insert(states[i][0]);
    EXPECT_EQ(seen, (std::set<std::string>{"0", "1", "2", "3", "6", "7", "8", "11", "12", "13"}));

    EXPECT_EQ(Count("member_user", "settle_accounts not in ('1','2','3','5')"), 0);
    EXPECT_EQ(Count("member_user", "account_divide not in ('1','2','3','4')"), 0);
    for (const char* method : {"2", "3", "5"}) {
        EXPECT_GT(Count("member_user", std::string("settle_accounts='") + method + "'"), 5);
        EXPECT_LT(Count("member_user", std::string("settle_accounts='") + method + "'"),
                  Count("member_user", "settle_accounts='1'"));
    }
    for (const char* divide : {"2", "3", "4"}) {
        EXPECT_GT(Count("member_user", std::string("account_divide='") + divide + "'"), 5);
        EXPECT_LT(Count("member_user", std::string("account_divide='") + divide + "'"),
                  Count("member_user", "account_divide='1'"));
    }
    EXPECT_GT(Count("member_user", "remove='1'"), Count("member_user", "remove<>'1'"));
    EXPECT_GT(Count("member_user", "remove='2'"), 5);
    EXPECT_GT(Count("member_user", "remove='3'"), 3);

    // Agreement evidence: not applicable for members registered long ago, unset for new ones.
    EXPECT_EQ(Count("member_user",
                    "settle_accounts='1' and cms_status in ('3','6','7','8') and "
                    "cms_agree_status not in ('P','3')"),
              0);
    EXPECT_EQ(Count("member_user",
                    "settle_accounts='1' and cms_status='0' and "
                    "cms_agree_status<>'0'"),
              0);
    EXPECT_GT(Count("member_user", "cms_agree_status='P'"), 10);

    // A period member whose last month has passed is no longer active.
    EXPECT_EQ(Count("member_user",
                    "account_divide='4' and p_seday not regexp "
                    "'^[0-9]{2}-[0-9]{2}$'"),
              0);
    EXPECT_EQ(Count("member_user", "account_divide='4' and remove='1' and p_seday<'26-12'"), 0);
    EXPECT_GT(Count("member_user", "account_divide='4' and p_seday<'26-12'"), 0);
    EXPECT_GT(Count("member_user", "account_divide='4' and p_seday>='26-12'"),
              Count("member_user", "account_divide='4' and p_seday<'26-12'"));
    EXPECT_EQ(Count("member_user", "account_divide<>'4' and p_seday<>''"), 0);
}

TEST_F(SeededDemoTest, PaymentChannelFieldsFollowTheCollectionMethod) {
    const std::string banks =
        "(select combodata from quorisdex.comboload where combodivide='bank')";
    // No member may be seeded with any of these.
    ExpectNoRow("member_user",
                {
                    // Account debit: a known bank code, an account, a birth date or business
                    // number, a holder.
                    "settle_accounts='1' and cms_status<>'2' and "
                    "(bank_code not regexp '^[0-9]{7}$' or right(bank_code,4)<>'0000' "
                    "or left(bank_code,3) not in " +
                        banks + ")",
                    "settle_accounts='1' and (account_no not regexp "
                    "'^[0-9]{10,14}$' or account_jumin not regexp "
                    "'^([0-9]{6}|[0-9]{10})$' or account_name='')",
                    // Card: sixteen digits, an expiry, a mobile number starting 010 unless refused.
                    "settle_accounts='5' and (account_no not regexp '^[0-9]{16}$' "
                    "or account_jumin not regexp '^[0-9]{4}$' or "
                    "certificate_number not regexp '^0[17]0[0-9]{8}$')",
                    "settle_accounts='5' and cms_status<>'2' and "
                    "certificate_number not like '010%'",
                    // Giro: a twelve-digit customer number.
                    "settle_accounts='3' and account_name not regexp "
                    "'^[0-9]{12}$'",
                    "settle_accounts in ('2','3','5') and bank_code<>''",
                    "private_tel not regexp '^010-[0-9]{4}-[0-9]{4}$'",
                    "user_email<>'' and user_email not regexp "
                    "'^[a-z.0-9]+@[a-z]+[.][a-z.]+$'",
                    "start_date not regexp '^20[0-9]{2}-[0-9]{2}$'",
                    "signdate<unix_timestamp('2025-01-01') or "
                    "signdate>=unix_timestamp('2027-01-01')",
                    "payday not between 1 and 28 or inday<payday",
                });

    EXPECT_GT(Count("member_user", "settle_accounts='1' and length(account_jumin)=10"), 5);
    EXPECT_GT(Count("member_user", "settle_accounts='1' and length(account_jumin)=6"), 50);
    // Giro members can be booked from the institution's receipt statements.
    EXPECT_GT(Count("member_user", "settle_accounts='3' and remove='1'"), 5);
    EXPECT_EQ(
        db_->scalar("select giro_account from quorisdex.admin_company where inx=?", {inst_.inx}),
        kDemoGiroCode);
    // Withdrawal files show what they cost: a fee per withdrawal and per charged failure.
    EXPECT_EQ(db_->scalar("select concat(ok_commission,'/',no_commission) from "
                          "quorisdex.admin_company where inx=?",
                          {inst_.inx}),
              "150/300");
    EXPECT_GT(Count("member_user", "signdate<unix_timestamp('2026-01-01')"), 30);
}

TEST_F(SeededDemoTest, ExpectedAmountIsTheSumOfTheMembersItems) {
    EXPECT_GE(Count("item", "remove_item='N'"), 6);
    EXPECT_LE(Count("item", "remove_item='N'"), 12);
    EXPECT_EQ(Count("item", "item_pay<1000"), 0);
    EXPECT_EQ(Count("user_item", "ui_payment<>ui_pay*ui_cnt or ui_cnt<1"), 0);
    EXPECT_EQ(Count("user_item", "ui_name not in (select item_name from " + T("item") +
                                     " where remove_item='N')"),
              0);
    EXPECT_EQ(Count("member_user", "pay_monthdefault<>(select coalesce(sum(ui_payment),0) from " +
                                       T("user_item") + " where ui_perinx=member_inx)"),
              0);
    EXPECT_EQ(Count("member_user",
                    "pay_monthdefault not between 10000 and 150000 or pay_monthdefault%1000<>0"),
              0);
    EXPECT_EQ(Count("member_user", "account_divide='3' and (select count(*) from " +
                                       T("user_item") + " where ui_perinx=member_inx)<>1"),
              0);
    EXPECT_EQ(Count("member_user", "(account_divide='3')<>(pay_agreement>0)"), 0);
    EXPECT_GT(Count("member_user",
                    "(select count(*) from " + T("user_item") + " where ui_perinx=member_inx)>1"),
              10);
}

TEST_F(SeededDemoTest, KoreanTextIsStoredIntact) {
    // Three Hangul syllables, three bytes each in the server's character set.
    EXPECT_EQ(Count("member_user", "username not regexp '^[가-힣]{3}$' or length(username)<>9"), 0);
    EXPECT_GT(Scalar("select count(distinct username) from " + T("member_user")), 200);
    EXPECT_EQ(Count("member_user",
                    "address not regexp '^(서울특별시|부산광역시|대구광역시|"
                    "인천광역시|광주광역시|대전광역시|울산광역시|경기도) '"),
              0);
    EXPECT_EQ(Count("member_user", "zipcode not regexp '^[0-9]{5}$'"), 0);
    EXPECT_GT(Count("member_user", "client_company<>''"), 30);
    EXPECT_EQ(
        db_->scalarInt("select char_length(item_name) from " + T("item") + " where item_name=?",
                       {"정수기 렌탈"}),
        6);
    EXPECT_GT(Count("user_item", "ui_stan='초등 국어·수학 주1회'"), 0);
    EXPECT_EQ(Count("iltable",
                    "ilcombo='회원상태변경' and ilsang not like "
                    "'납부자번호 : [%], 회원상태 : [정상]->[%] 로 변경'"),
              0);
    EXPECT_EQ(Count("iltable", "ilcombo='회원상태변경'"), Count("member_user", "remove<>'1'"));
    EXPECT_EQ(Count("iltable", "ildate not regexp '^2026-[0-9]{2}-[0-9]{2} [0-9]{2}:[0-9]{2}$'"),
              0);
}

TEST_F(SeededDemoTest, MembersAreSpreadOverBranchesAndAgencies) {
    const long long b1 = inst_.inx * 10 + 1, b2 = inst_.inx * 10 + 2, ag = inst_.inx * 10 + 1;

    EXPECT_GT(Count("member_user", "branch_inx=0 and agency_inx=0"), 30);
    EXPECT_GT(Count("member_user", "branch_inx=" + std::to_string(b1) + " and agency_inx=0"), 10);
    EXPECT_GT(Count("member_user", "branch_inx=" + std::to_string(b2)), 10);
    EXPECT_GT(Count("member_user", "agency_inx=" + std::to_string(ag)), 10);
    // An agency's members belong to the agency's branch.
    EXPECT_EQ(Count("member_user", "agency_inx<>0 and branch_inx<>" + std::to_string(b1)), 0);
    EXPECT_EQ(Count("member_user",
                    "branch_inx not in (0," + std::to_string(b1) + "," + std::to_string(b2) + ")"),
              0);
}

TEST_F(DemoSeedTest, WithoutBranchesEveryMemberBelongsToTheHeadOffice) {
    const test::TestInstitution plain = test::CreateTestInstitution(*db_);
    EXPECT_GT(SeedDemo(*db_, plain.inx), 0);
    EXPECT_EQ(db_->scalarInt("select count(*) from " + InstitutionSchema(plain.inx) +
                             ".member_user where branch_inx<>0 or agency_inx<>0"),
              0);
}

TEST_F(DemoSeedTest, RefusesASecondSeedAndLeavesTheDataAlone) {
    SeedDemo(*db_, inst_.inx);
    const char* tables[] = {"member_user", "user_item", "item",    "pay_pross",
                            "payadd",      "paymus",    "iltable", "pross_log"};
    std::vector<long long> before;
    for (const char* t : tables) before.push_back(Count(t));
    const long long notices = Scalar("select count(*) from quorisdex_old.quorboard1");

    EXPECT_THROW(SeedDemo(*db_, inst_.inx), std::invalid_argument);

    for (std::size_t i = 0; i < before.size(); ++i) {
        EXPECT_EQ(Count(tables[i]), before[i]) << tables[i];
    }
    EXPECT_EQ(Scalar("select count(*) from quorisdex_old.quorboard1"), notices);
}

TEST_F(SeededDemoTest, RefusesAnUnknownInstitution) {
    const long long unknown =
        Scalar("select coalesce(max(inx),0)+100 from quorisdex.admin_company");
    try {
        SeedDemo(*db_, unknown);
        FAIL() << "an unknown institution was seeded";
    } catch (const std::invalid_argument& e) {
        EXPECT_NE(std::string(e.what()).find("등록되지 않은 기관번호"), std::string::npos);
    }
}

TEST_F(DemoSeedTest, RefusesAnInstitutionWithOneRealMember) {
    db_->ExecuteSql("insert into " + T("member_user") + " (username) values (?)", {"홍길동"});
    EXPECT_THROW(SeedDemo(*db_, inst_.inx), std::invalid_argument);
    EXPECT_EQ(Count("member_user"), 1);
    EXPECT_EQ(Count("item"), 0);
}

TEST_F(DemoSeedTest, NumbersContinueAboveTheReservedBankReceiptRow) {
    db_->ExecuteSql("insert into " + T("member_user") +
                    " (member_inx,remove,username) values (9000000000,4,'은행접수용키')");
    const long long added = SeedDemo(*db_, inst_.inx);
    EXPECT_EQ(Count("member_user", "member_inx>9000000000"), added);
    EXPECT_EQ(Count("pay_pross", "userlink_inx<=9000000000"), 0);
}

TEST_F(DemoSeedTest, AFailureHalfwayLeavesNothingBehind) {
    // Without the history table the seeding fails after members and ledger are written.
    db_->ExecuteSql("drop table " + T("iltable"));
    EXPECT_THROW(SeedDemo(*db_, inst_.inx), DatabaseError);
    EXPECT_EQ(Count("member_user"), 0);
    EXPECT_EQ(Count("pay_pross"), 0);
    EXPECT_EQ(Count("user_item"), 0);
    EXPECT_EQ(Count("item"), 0);
}

TEST_F(DemoSeedTest, TwoInstitutionsGetTheSameDemo) {
    const test::TestInstitution other = test::CreateTestInstitution(*db_);
    AddBranches(*db_, other.inx);
    SeedDemo(*db_, inst_.inx);
    SeedDemo(*db_, other.inx);
    auto fingerprint = [this](long long inx) {
        const std::string s = InstitutionSchema(inx);
        return db_->scalar(
            "select concat((select md5(group_concat(concat_ws('|',member_inx,username,address,"
            "account_no,cms_status,remove,pay_nonpayment,total_payment,signdate) order by "
            "member_inx separator '#')) from " +
            s +
            ".member_user), (select md5(group_concat(concat_ws('|',userlink_inx,input_pay,"
            "pros_nonpayment,signdate) order by pay_inx separator '#')) from " +
            s + ".pay_pross))");
    };
    EXPECT_EQ(fingerprint(inst_.inx), fingerprint(other.inx));
}

TEST_F(DemoSeedTest, NoticesAreAddedOnlyToAnAlmostEmptyBoard) {
    const long long before = Scalar("select count(*) from quorisdex_old.quorboard1");
    SeedDemo(*db_, inst_.inx);
    const long long after = Scalar("select count(*) from quorisdex_old.quorboard1");
    if (before < 3) {
        EXPECT_GE(after - before, 3);
        EXPECT_LE(after - before, 6);
        EXPECT_GT(Scalar("select count(*) from quorisdex_old.quorboard1 where subject like "
                         "'%<b>%' and content like '<p>%' and "
                         "signdate>unix_timestamp()-40*86400"),
                  0);
    } else {
        EXPECT_EQ(after, before);
    }
    const test::TestInstitution other = test::CreateTestInstitution(*db_);
    SeedDemo(*db_, other.inx);
    EXPECT_EQ(Scalar("select count(*) from quorisdex_old.quorboard1"), after);
}

TEST_F(SeededDemoTest, LeavesTwentyFreeVirtualAccountsAndAddsNoneTwice) {
    const std::string pool = "select count(*) from kib.virinfo where user_dbname='" + schema_ + "'";
    EXPECT_EQ(Scalar(pool + " and vir_bank='농협' and user_key=0 and end_date='' and "
                            "userend_date=''"),
              20);
    EXPECT_EQ(Scalar(pool), 20);
    EXPECT_EQ(Scalar("select count(distinct vir_account) from kib.virinfo where user_dbname='" +
                     schema_ + "'"),
              20);
    // The same numbers again, for this or another institution, add nothing.
    const std::string first =
        db_->scalar("select min(vir_account) from kib.virinfo where user_dbname=?", {schema_});
    EXPECT_EQ(AddFreeVirtualAccounts(*db_, schema_, "농협", std::stoll(first), 20), 0);
    EXPECT_EQ(AddFreeVirtualAccounts(*db_, "tps_0", "농협", std::stoll(first), 1), 0);
    EXPECT_EQ(Scalar(pool), 20);
}

TEST_F(DemoSeedTest, TwoDemoInstitutionsGetTheirOwnVirtualAccounts) {
    const test::TestInstitution other = test::CreateTestInstitution(*db_);
    SeedDemo(*db_, inst_.inx);
    SeedDemo(*db_, other.inx);
    for (const std::string& s : {schema_, InstitutionSchema(other.inx)}) {
        EXPECT_EQ(
            Scalar("select count(*) from kib.virinfo where user_key=0 and user_dbname='" + s + "'"),
            20)
            << s;
    }
}

}  // namespace
}  // namespace qx
