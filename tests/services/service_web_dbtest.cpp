// The service web server stand-in, run as its own program against the test
// database, and the client calls that depend on it.
#include <gtest/gtest.h>

#include <chrono>
#include <regex>
#include <thread>

#include "core/session_context.h"
#include "platform/http.h"
#include "services/web_stand_in.h"
#include "session/login.h"
#include "session/service_web.h"
#include "support/test_database.h"

namespace qx {
namespace {

class ServiceWebTest : public ::testing::Test {
  protected:
    // Making an institution's schema takes seconds: the tests share one.
    static void SetUpTestSuite() {
        auto db = test::ConnectTestDatabase();
        institution_ = test::CreateTestInstitution(*db);
    }

    void SetUp() override {
        db_ = test::ConnectTestDatabase();
        web_ = std::make_unique<test::WebStandIn>(test::TestDatabaseConfig());
        ASSERT_GT(web_->port(), 0) << "quorisdex-web did not start";
    }

    std::string notice(const std::string& subject, const std::string& content) {
        db_->ExecuteSql(
            "insert into quorisdex_old.quorboard1 (subject, content, signdate) values "
            "(?, ?, unix_timestamp('2026-02-07 10:00:00'))",
            {subject, content});
        return std::to_string(db_->lastInsertId());
    }

    // The request log line is written just after the answer went out.
    std::string awaitLog(const std::string& part) const {
        for (int i = 0; i < 100; ++i) {
            const std::string log = web_->requestLog();
            if (log.find(part) != std::string::npos) return log;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return web_->requestLog();
    }

    static test::TestInstitution institution_;
    std::unique_ptr<Database> db_;
    std::unique_ptr<test::WebStandIn> web_;
};

test::TestInstitution ServiceWebTest::institution_;

TEST_F(ServiceWebTest, IpCheckAnswersTheCallersAddress) {
    EXPECT_EQ(HttpGetText(IpCheckUrl(web_->webHost())), "127.0.0.1");
    // The request arrived with exactly one stamp of twelve digits.
    const std::string log = awaitLog("ipcheck.php");
    EXPECT_TRUE(std::regex_search(
        log, std::regex(R"(GET /zelmor/cs_load/ipcheck\.php\?ipchk=ravellon&real=\d{12} 200)")))
        << log;
    EXPECT_EQ(log.find("&real=", log.find("&real=") + 1), std::string::npos);
}

TEST_F(ServiceWebTest, UnknownPathsAre404) {
    const HttpResult r = HttpRequest(web_->webHost() + "/zelmor/cs_load/nothing.php?a=1");
    EXPECT_EQ(r.status, 404);
    EXPECT_EQ(HttpGetText(web_->webHost() + "/etc/passwd?x=1"), "");
    EXPECT_EQ(HttpRequest(web_->webHost() + "/zelmor/board/board.php?act=admin_company").status,
              404);
}

TEST_F(ServiceWebTest, NoticePageShowsTheNotice) {
    const std::string no = notice("<b>설 연휴</b> 안내", "<p>2월 16일부터 쉽니다.</p>");
    const std::string page = HttpGetText(NoticePageUrl(web_->webHost(), no));
    EXPECT_NE(page.find("<b>설 연휴</b> 안내"), std::string::npos) << page;
    EXPECT_NE(page.find("<p>2월 16일부터 쉽니다.</p>"), std::string::npos);
    EXPECT_NE(page.find("2026-02-07"), std::string::npos);

    const std::string board = HttpGetText(BoardPageUrl(web_->webHost(), "quorboard1"));
    EXPECT_NE(board.find("?act=quorboard1&amp;no=" + no), std::string::npos) << board;
    // A board that was never set up is an empty board, not an error.
    const HttpResult faq = HttpRequest(BoardPageUrl(web_->webHost(), "quorboard5"));
    EXPECT_EQ(faq.status, 200) << faq.body;
}

TEST_F(ServiceWebTest, QueryTextIsNeverRunAsSql) {
    notice("첫 공지", "내용");
    const long long before = db_->scalarInt("select count(*) from quorisdex_old.quorboard1");
    for (const std::string no :
         {"1 or 1=1", "0 union select 1,2,3", "1; delete from quorisdex_old.quorboard1", "",
          "99999999999999999999"}) {
        EXPECT_EQ(HttpRequest(NoticePageUrl(web_->webHost(), no)).status, 404) << no;
    }
    EXPECT_EQ(HttpRequest(web_->webHost() + "/zelmor/board/board.php?act=" +
                          UrlEncode("quorboard1 where 1=0; drop table quorisdex_old.quorboard1"))
                  .status,
              404);
    EXPECT_EQ(HttpRequest(web_->webHost() + std::string(kKftcFileManagerPath) +
                          "?cominx=" + UrlEncode("1 or 1=1"))
                  .status,
              404);
    EXPECT_EQ(db_->scalarInt("select count(*) from quorisdex_old.quorboard1"), before);
}

TEST_F(ServiceWebTest, KftcFileManagerNamesTheInstitution) {
    const auto& inst = institution_;
    const std::string page = HttpGetText(web_->webHost() + std::string(kKftcFileManagerPath) +
                                         "?cominx=" + std::to_string(inst.inx));
    EXPECT_NE(page.find("시험기관" + std::to_string(inst.inx)), std::string::npos) << page;
    EXPECT_NE(page.find(inst.org_code), std::string::npos);
}

TEST_F(ServiceWebTest, LoginRecordsTheAddressOnceAndUpdatesItLater) {
    const auto& inst = institution_;
    const std::string inx = std::to_string(inst.inx);
    db_->ExecuteSql("delete from quorisdex.saveip where login_db=?", {inx});
    auto rows = [&] {
        return db_->OpenRecordset(
            "select sip_inx, login_ip, login_begin_time, login_last_time, status from "
            "quorisdex.saveip where login_db=? and login_id=?",
            {inx, inst.id});
    };

    test::PinServerClock(*db_, "2026-02-07 09:00:00");
    SessionContext first;
    ASSERT_EQ(ValidateLogin(*db_, first, inst.id, inst.password, ServiceIpLookup(web_->webHost())),
              kLoginAccepted);
    EXPECT_EQ(first.client_ip, "127.0.0.1");
    auto one = rows();
    ASSERT_EQ(one.size(), 1u);
    EXPECT_EQ(one[0]["login_ip"], "127.0.0.1");
    EXPECT_EQ(one[0]["status"], "6");

    test::PinServerClock(*db_, "2026-02-07 11:30:00");
    SessionContext second;
    ASSERT_EQ(ValidateLogin(*db_, second, inst.id, inst.password, ServiceIpLookup(web_->webHost())),
              kLoginAccepted);
    auto again = rows();
    ASSERT_EQ(again.size(), 1u);
    EXPECT_EQ(again[0]["sip_inx"], one[0]["sip_inx"]);
    EXPECT_EQ(again[0]["login_begin_time"], one[0]["login_begin_time"]);
    EXPECT_EQ(again[0].asInt("login_last_time") - one[0].asInt("login_last_time"), 9000);
    test::UnpinServerClock(*db_);
}

TEST_F(ServiceWebTest, PageInsteadOfAddressOrNoServerRecordsNothing) {
    const auto& inst = institution_;
    const auto count = [&] {
        return db_->scalarInt("select count(*) from quorisdex.saveip where login_db=?",
                              {std::to_string(inst.inx)});
    };
    const long long before = count();
    const std::string page = BoardPageUrl(web_->webHost(), "quorboard1");
    SessionContext s;
    ASSERT_EQ(ValidateLogin(*db_, s, inst.id, inst.password, [&] { return HttpGetText(page); }),
              kLoginAccepted);
    EXPECT_EQ(s.client_ip, "");
    SessionContext offline;
    ASSERT_EQ(ValidateLogin(*db_, offline, inst.id, inst.password, ServiceIpLookup("")),
              kLoginAccepted);
    EXPECT_EQ(count(), before);
}

}  // namespace
}  // namespace qx
