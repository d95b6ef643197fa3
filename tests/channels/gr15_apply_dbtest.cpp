// Applying GR15 statements against a real server: matching by customer
// number, one collection per member, the rows kept unbooked, the file
// guards (twice, two desks at once) and refused files leaving nothing.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <thread>

#include "channels/giro/gr15_apply.h"
#include "channels/giro/gr15_report.h"
#include "ledger/ledger_checks.h"
#include "members/member_rules.h"
#include "support/gr15_generator.h"
#include "support/institution_fixture.h"
#include "support/scripted_interaction.h"

namespace qx {
namespace {

using test::Gr15Line;

constexpr const char* kGiro = "1234567";
constexpr const char* kDate = "261207";

Gr15Line Pay(const std::string& giroNo, long long amount, char proc = ' ') {
    Gr15Line l;
    l.giroNo = giroNo;
    l.amount = amount;
    l.fee = 100;
    l.processingKind = proc;
    return l;
}

class Gr15ApplyTest : public test::FreshInstitutionTest {
  protected:
    void SetUp() override {
        OpenInstitution();
        session.giro_account = kGiro;
        test::PinServerClock(*db, "2026-12-07 15:00:00");
        ui.defaultAnswer = true;
        folder = (std::filesystem::temp_directory_path() / ("gr15-" + std::to_string(inst.inx)))
                     .string();
    }
    void TearDown() override { std::filesystem::remove_all(folder); }

    long long giroMember(const std::string& number, long long nonpayment,
                         const std::string& remove = "1", const std::string& settle = "3",
                         const std::string& divide = "1") {
        test::MemberRow r;
        r.settle_accounts = settle;
        r.remove = remove;
        r.pay_nonpayment = nonpayment;
        r.account_divide = divide;
        if (divide == "3") {
            r.pay_agreement = 100000;
            r.pay_prossagreement = 20000;
        }
        const long long m = test::InsertMember(*db, inst.inx, r);
        db->ExecuteSql("update " + schema + ".member_user set account_name=? where member_inx=?",
                       {number, m});
        return m;
    }
    std::string write(const std::vector<Gr15Line>& lines, const std::string& date = kDate) {
        return test::WriteGr15File(folder, date, test::Gr15FileBytes(kGiro, date, lines));
    }
    long long count(const std::string& table, const std::string& where = "1=1") {
        return db->scalarInt("select count(*) from " + schema + "." + table + " where " + where);
    }
    long long value(const std::string& column, long long m) {
        return db->scalarInt(
            "select " + column + " from " + schema + ".member_user where member_inx=?", {m});
    }

    test::ScriptedInteraction ui;
    std::string folder;
};

TEST_F(Gr15ApplyTest, MatchedMembersGetOneCollectionOfTheirSumAndTheRestStaysUnbooked) {
    const long long twice = giroMember("12345", 30000);
    const long long instalment = giroMember("777", 50000, "1", "3", "3");
    const long long deleted = giroMember("555", 9000, "4");
    const long long notGiro = giroMember("888", 9000, "1", "1");
    const long long longNumber = giroMember("1234567890123456789", 0);
    // A neighbour of the long number that a floating-point match would confuse with it.
    const long long neighbour = giroMember("1234567890123456788", 0);
    const std::string path =
        write({Pay("0000012345", 10000), Pay("12345", 5000), Pay("0000012345", 4000, 'R'),
               Pay("0000012345", 6000, 'A'), Pay("0000000777", 7000), Pay("0000000555", 3000),
               Pay("0000000888", 2000), Pay("0000000999", 1000), Pay("1234567890123456789", 8000),
               Pay("0000000000", 500)});

    const auto file = OpenGr15File(*db, session, ui, path);
    ASSERT_TRUE(file.has_value());
    EXPECT_EQ(ui.shown.back().text, "10 건이 조회 되었습니다.");
    const Gr15ApplyResult r = ApplyGr15File(*db, session, ui, *file);
    ASSERT_TRUE(r.applied);
    EXPECT_EQ(ui.shown.at(1).text, "GR15261207 을 적용 하시겠습니까?");
    EXPECT_TRUE(ui.shown.at(1).question);
    EXPECT_EQ(ui.shown.back().text, kGr15AppliedDoneText);
    EXPECT_EQ(r.stored, 10);
    EXPECT_EQ(r.members, 3);
    EXPECT_EQ(r.booked, 15000 + 7000 + 8000);
    EXPECT_EQ(r.unmatched, 4);

    // One row of the sum, with the outstanding amount after it.
    const Recordset rows = db->OpenRecordset(
        "select input_pay, pros_nonpayment, paystat, settle_code, settle_title, signdate, memo, "
        "item_name, item_cnt from " +
            schema + ".pay_pross where userlink_inx=?",
        {twice});
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].asInt("input_pay"), 15000);
    EXPECT_EQ(rows[0].asInt("pros_nonpayment"), 15000);
    EXPECT_EQ(rows[0]["paystat"], "1");
    EXPECT_EQ(rows[0]["settle_code"], "3");
    EXPECT_EQ(rows[0]["settle_title"], "OCR지로");
    EXPECT_EQ(rows[0]["signdate"], "26-12-07");
    EXPECT_EQ(rows[0]["memo"], "[GR15261207] OCR지로 수금처리");
    EXPECT_EQ(rows[0]["item_name"], "OCR지로수납");
    test::ExpectTotalsAgree(*db, schema, twice, 30000);
    test::ExpectTotalsAgree(*db, schema, instalment, 50000);
    test::ExpectTotalsAgree(*db, schema, longNumber, 0);
    EXPECT_EQ(value("pay_prossagreement", instalment), 27000);
    EXPECT_EQ(db->scalarInt("select pay_prossag from " + schema + ".pay_pross where userlink_inx=?",
                            {instalment}),
              27000);
    for (long long untouched : {deleted, notGiro, neighbour}) {
        EXPECT_EQ(count("pay_pross", "userlink_inx=" + std::to_string(untouched)), 0);
        EXPECT_EQ(value("total_payment", untouched), 0);
    }
    EXPECT_EQ(value("pay_nonpayment", deleted), 9000);

    // Every row kept, each with its outcome.
    const Recordset stored = db->OpenRecordset(
        "select giro_no, amount, su_stat, su_err, lnk_inx, su_title, su_commi from " + schema +
        ".file_gr15 where filename='GR15261207' order by seq_num");
    ASSERT_EQ(stored.size(), 10u);
    const struct {
        const char* stat;
        const char* err;
        long long member;
    } expected[] = {{"", "", twice},
                    {"", "", twice},
                    {"R", "", twice},
                    {"A", "", twice},
                    {"", "", instalment},
                    {"X", kGr15UnmatchedText, 0},
                    {"X", kGr15UnmatchedText, 0},
                    {"X", kGr15UnmatchedText, 0},
                    {"", "", longNumber},
                    {"X", kGr15UnmatchedText, 0}};
    for (std::size_t i = 0; i < stored.size(); ++i) {
        EXPECT_EQ(stored[i]["su_stat"], expected[i].stat) << i;
        EXPECT_EQ(stored[i]["su_err"], expected[i].err) << i;
        EXPECT_EQ(stored[i].asInt("lnk_inx"), expected[i].member) << i;
    }
    EXPECT_EQ(stored[0]["su_title"], "정상분");
    EXPECT_EQ(stored[0].asInt("su_commi"), 100);

    const Recordset applied = db->OpenRecordset(
        "select a_cnt, a_money, a_commi, a_fmoney, "
        "total_money from " +
        schema + ".gr15 where filename='GR15261207'");
    ASSERT_EQ(applied.size(), 1u);
    EXPECT_EQ(applied[0].asInt("a_cnt"), 10);
    EXPECT_EQ(applied[0].asInt("a_money"), 46500);
    EXPECT_EQ(applied[0].asInt("a_commi"), 1000);
    EXPECT_EQ(count("pross_log", "prosnum=7 and prostxt='GR15261207 파일처리 완료'"), 1);

    // The report: the file in its period and its unbooked rows.
    const auto files = ListGr15Files(*db, session, {2026, 12, 1}, {2026, 12, 7});
    ASSERT_EQ(files.size(), 1u);
    EXPECT_EQ(files[0][0], "GR15261207");
    EXPECT_EQ(files[0][1], "26-12-07");
    EXPECT_EQ(files[0][3], "46,500");
    EXPECT_TRUE(ListGr15Files(*db, session, {2026, 12, 8}, {2026, 12, 31}).empty());
    const Gr15Detail d = Gr15FileDetail(*db, session, "GR15261207");
    EXPECT_EQ(d.title, "[GR15261207] 파일 상세 내역");
    ASSERT_EQ(d.rows.size(), 10u);
    EXPECT_EQ(d.unbookedCount, 4);
    EXPECT_EQ(d.unbookedAmount, 6500);
    EXPECT_EQ(d.unbookedText, "처리불능 (6,500원)");
    EXPECT_EQ(d.rows[0][4], TenDigits(twice));
    EXPECT_EQ(d.rows[5][10], kGr15UnmatchedText);
    EXPECT_EQ(d.rows[2][9], "Reject분");
}

TEST_F(Gr15ApplyTest, AFileIsAppliedOnceEvenFromAScreenOpenedBefore) {
    const long long m = giroMember("4242", 10000);
    const std::string path = write({Pay("0000004242", 10000)});
    const auto first = OpenGr15File(*db, session, ui, path);
    const auto stale = OpenGr15File(*db, session, ui, path);
    ASSERT_TRUE(first && stale);
    ASSERT_TRUE(ApplyGr15File(*db, session, ui, *first).applied);

    ui.shown.clear();
    EXPECT_FALSE(OpenGr15File(*db, session, ui, path).has_value());
    EXPECT_EQ(ui.texts(), std::vector<std::string>{kGr15AppliedText});
    ui.shown.clear();
    EXPECT_FALSE(ApplyGr15File(*db, session, ui, *stale).applied);
    EXPECT_EQ(ui.shown.back().text, kGr15AppliedText);
    EXPECT_EQ(count("file_gr15"), 1);
    EXPECT_EQ(count("pay_pross"), 1);
    test::ExpectTotalsAgree(*db, schema, m, 10000);
}

TEST_F(Gr15ApplyTest, TwoDesksApplyingTheSameFileBookItOnce) {
    std::vector<long long> members;
    std::vector<std::string> numbers;
    for (int i = 0; i < 50; ++i) {
        numbers.push_back(std::to_string(9000 + i));
        members.push_back(giroMember(numbers.back(), 0));
    }
    const std::string path = write(test::Gr15Payments(numbers, 2000));
    auto desk = [&](Gr15ApplyResult& out, std::vector<std::string>& texts) {
        auto conn = test::ConnectTestDatabase();
        conn->setLogSchema(schema);
        test::ScriptedInteraction deskUi;
        deskUi.defaultAnswer = true;
        const auto file = OpenGr15File(*conn, session, deskUi, path);
        if (file) out = ApplyGr15File(*conn, session, deskUi, *file);
        texts = deskUi.texts();
    };
    Gr15ApplyResult a, b;
    std::vector<std::string> ta, tb;
    std::thread one([&] { desk(a, ta); });
    std::thread two([&] { desk(b, tb); });
    one.join();
    two.join();
    EXPECT_NE(a.applied, b.applied);
    const auto& loser = a.applied ? tb : ta;
    ASSERT_FALSE(loser.empty());
    EXPECT_EQ(loser.back(), kGr15AppliedText);
    EXPECT_EQ(count("gr15"), 1);
    EXPECT_EQ(count("file_gr15"), 2000);
    EXPECT_EQ(count("pay_pross"), 50);
    for (long long m : members) test::ExpectTotalsAgree(*db, schema, m, 0);
}

TEST_F(Gr15ApplyTest, RefusedOrDeclinedFilesLeaveNothing) {
    const long long m = giroMember("31", 5000);
    const std::string good = test::Gr15FileBytes(kGiro, kDate, {Pay("31", 5000)});
    const struct {
        const char* what;
        std::string name;
        std::string bytes;
        std::string expected;
    } cases[] = {
        {"not a GR15 name", "EB22261207", good, kGr15NameText},
        {"hostile name", "GR15261207';drop", good, kGr15NameText},
        {"CR LF between records", "GR15261207",
         good.substr(0, 120) + "\r\n" + good.substr(120, 120) + "\r\n" + good.substr(240),
         kGr15UnknownRecordText},
        {"another institution", "GR15261207",
         test::Gr15FileBytes("7654321", kDate, {Pay("31", 5000)}), kGr15OtherInstitutionText},
        {"date differs from the name", "GR15261208", good, kGr15OtherDateText},
        {"no data records", "GR15261207", test::Gr15FileBytes(kGiro, kDate, {}), kGr15NoDataText},
        {"non-numeric amount", "GR15261207", good.substr(0, 120 + 71) + "x" + good.substr(120 + 72),
         "파일오류 (DR, 수금액)"},
    };
    for (const auto& c : cases) {
        std::filesystem::create_directories(folder);
        const std::string path = folder + "/" + c.name;
        {
            std::ofstream out(path, std::ios::binary | std::ios::trunc);
            out << c.bytes;
        }
        ui.shown.clear();
        EXPECT_FALSE(OpenGr15File(*db, session, ui, path).has_value()) << c.what;
        EXPECT_EQ(ui.texts(), std::vector<std::string>{c.expected}) << c.what;
        std::filesystem::remove(path);
    }
    // The user says no.
    ui.defaultAnswer = false;
    const auto file = OpenGr15File(*db, session, ui, write({Pay("31", 5000)}));
    ASSERT_TRUE(file);
    EXPECT_FALSE(ApplyGr15File(*db, session, ui, *file).applied);
    EXPECT_EQ(count("gr15"), 0);
    EXPECT_EQ(count("file_gr15"), 0);
    EXPECT_EQ(count("pay_pross"), 0);
    EXPECT_EQ(value("pay_nonpayment", m), 5000);
}

}  // namespace
}  // namespace qx
