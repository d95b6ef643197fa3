// Statement routines, the process log, payer numbers and holidays against
// the real server.
#include <gtest/gtest.h>

#include "core/session_context.h"
#include "db/code_lists.h"
#include "db/database.h"
#include "db/holidays.h"
#include "db/payer_number.h"
#include "db/server_clock.h"
#include "db/sql_quote.h"
#include "support/test_database.h"

namespace qx {
namespace {

class DatabaseTest : public ::testing::Test {
  protected:
    void SetUp() override {
        db = test::ConnectTestDatabase();
        inst = test::CreateTestInstitution(*db);
        db->setLogSchema(InstitutionSchema(inst.inx));
    }
    std::string LastLog(int code) {
        return db->scalar("select prostxt from " + InstitutionSchema(inst.inx) +
                              ".pross_log where prosnum=? order by 1 desc limit 1",
                          {code});
    }
    std::unique_ptr<Database> db;
    test::TestInstitution inst;
};

TEST_F(DatabaseTest, ProcessLogReplacesApostrophes) {
    db->WriteProcessLog("O'Brien 회원 '삭제'", 3);
    EXPECT_EQ(LastLog(3), "O^Brien 회원 ^삭제^");
}

TEST_F(DatabaseTest, KoreanAndHostileTextRoundTrips) {
    const std::string t = InstitutionSchema(inst.inx) + ".member_user";
    for (const char* name : {"홍길동", "O'Brien", "'; drop table x; --", "역슬래시\\끝"}) {
        db->ExecuteSql("insert into " + t + " (username) values (?)", {name});
        EXPECT_EQ(
            db->scalar("select username from " + t + " where member_inx=?", {db->lastInsertId()}),
            name);
    }
    // The one escaping routine for statements that must be built as text.
    const std::string hostile = "a'b\\c'); delete from x; --";
    EXPECT_EQ(db->scalar("select " + SqlQuote(hostile)), hostile);
}

TEST_F(DatabaseTest, FailedStatementIsLoggedAndReported) {
    try {
        db->ExecuteSql("update " + InstitutionSchema(inst.inx) + ".no_such_table set a=1");
        FAIL() << "expected a failure";
    } catch (const DatabaseError& e) {
        EXPECT_EQ(e.nativeCode(), 1146);
        EXPECT_EQ(e.userMessage().rfind(
                      "데이타베이스 연결에 실패 하였습니다.(인터넷연결 상태를 확인하여 주십시오.)\n"
                      "> 오류 정보 : [1146]",
                      0),
                  0u);
        EXPECT_NE(e.userMessage().find("\n\n프로그램을 종료 합니다."), std::string::npos);
    }
    const std::string logged = LastLog(0);
    EXPECT_EQ(logged.rfind("[1146]", 0), 0u) << logged;
    EXPECT_NE(logged.find("no_such_table"), std::string::npos);
}

// When the failure's own log line cannot be written, the line is skipped and
// the statement's failure is what the user sees (no endless retry of the log).
TEST_F(DatabaseTest, UnwritableLogStillReportsTheOriginalFailure) {
    const std::string schema = InstitutionSchema(inst.inx);
    struct Case {
        const char* name;
        std::string breakLog, mendLog;
    };
    const Case cases[] = {
        {"no pross_log table", "rename table " + schema + ".pross_log to " + schema + ".pross_gone",
         "rename table " + schema + ".pross_gone to " + schema + ".pross_log"},
        {"read-only session", "set session transaction read only",
         "set session transaction read write"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        db->ExecuteSql(c.breakLog);
        try {
            db->OpenRecordset("select * from " + schema + ".no_such_table");
            ADD_FAILURE() << "expected a failure";
        } catch (const DatabaseError& e) {
            EXPECT_EQ(e.nativeCode(), 1146);
            EXPECT_NE(e.userMessage().find("no_such_table"), std::string::npos);
        }
        // The connection stays usable, and the next log line is written again.
        db->ExecuteSql(c.mendLog);
        db->WriteProcessLog("다시 기록", 3);
        EXPECT_EQ(LastLog(3), "다시 기록");
    }
}

TEST_F(DatabaseTest, FailureInsideATransactionLeavesNothingButTheLog) {
    const std::string t = InstitutionSchema(inst.inx) + ".member_user";
    const long long before = db->scalarInt("select count(*) from " + t);
    EXPECT_THROW(
        {
            Database::Transaction tx(*db);
            db->ExecuteSql("insert into " + t + " (username) values ('반쪽')");
            db->ExecuteSql("insert into " + t + " (no_such_column) values (1)");
            tx.commit();
        },
        DatabaseError);
    EXPECT_EQ(db->scalarInt("select count(*) from " + t), before);
    EXPECT_EQ(LastLog(0).rfind("[1054]", 0), 0u);
}

TEST_F(DatabaseTest, ServerDateAndMonthsFollowThePinnedClock) {
    SessionContext s;
    test::PinServerClock(*db, "2026-03-31 23:59:58");
    EXPECT_EQ(ReadServerDate(*db, s), "26-03-31");
    EXPECT_EQ(s.server_datetime, "26-03-31 23:59:58");
    EXPECT_EQ(s.month_current, "26-03");
    EXPECT_EQ(s.month_previous, "26-02");
    EXPECT_EQ(s.month_before_previous, "26-01");
    test::PinServerClock(*db, "2027-01-15 08:00:00");
    ReadServerDate(*db, s);
    EXPECT_EQ(s.month_previous, "26-12");
    test::UnpinServerClock(*db);
}

TEST_F(DatabaseTest, HolidaysComeFromTheTableAndTheWeekend) {
    EXPECT_TRUE(IsHoliday(*db, {2026, 9, 25}));   // Chuseok, a Friday
    EXPECT_FALSE(IsHoliday(*db, {2026, 9, 23}));  // Wednesday
    EXPECT_TRUE(IsHoliday(*db, {2027, 1, 2}));    // Saturday, not in the table
    EXPECT_TRUE(IsHoliday(*db, {2026, 10, 5}));   // substitute for National Foundation Day
    // Friday 2026-09-23 + 1 business day skips Chuseok and the weekend.
    EXPECT_EQ(AddBusinessDays({2026, 9, 23}, 1, DatabaseHolidays(*db)), (CivilDate{2026, 9, 28}));
}

TEST_F(DatabaseTest, PayerNumbersPadOrTranslate) {
    SessionContext s;
    s.institution_number = inst.inx;
    s.cmsinx_style = "N-10";
    s.payer_number_length = 10;
    EXPECT_EQ(TranslatePayerNumber(*db, s, "123", PayerNumberMode::Make), "0000000123");

    s.cmsinx_style = "C-12";
    s.payer_number_length = 12;
    db->ExecuteSql("insert into " + s.schema() +
                   ".cmsinx_list (cl_meminx, cl_cmsinx) values ('123','A00000000077')");
    EXPECT_EQ(TranslatePayerNumber(*db, s, "123", PayerNumberMode::Make), "A00000000077");
    EXPECT_EQ(TranslatePayerNumber(*db, s, "A00000000077", PayerNumberMode::Apply), "123");
    EXPECT_EQ(TranslatePayerNumber(*db, s, "456", PayerNumberMode::Make), "000000000456");
}

TEST_F(DatabaseTest, CodeListsAreOrderedByCode) {
    auto banks = LoadSharedCodeList(*db, "bank");
    ASSERT_GT(banks.size(), 10u);
    for (std::size_t i = 1; i < banks.size(); ++i) EXPECT_LE(banks[i - 1].data, banks[i].data);
    auto methods = LoadInstitutionCodeList(*db, inst.inx, "settleacnt");
    ASSERT_GE(methods.size(), 5u);
    EXPECT_EQ(methods[0].data, "1");
    EXPECT_TRUE(LoadSharedCodeList(*db, "no-such-list").empty());
}

}  // namespace
}  // namespace qx
