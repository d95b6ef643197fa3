// Queueing messages in the messaging database, the messaging agent that
// delivers them (in the test process and as two processes at once), the
// sending history, the sender settings and the members of a result file.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "core/session_context.h"
#include "db/database.h"
#include "members/member_record.h"
#include "messaging/messaging_db.h"
#include "messaging/sms_file_members.h"
#include "messaging/sms_history.h"
#include "messaging/sms_send.h"
#include "messaging/sms_settings.h"
#include "platform/profile_ini.h"
#include "support/institution_fixture.h"
#include "support/scripted_interaction.h"
#include "support/test_database.h"

namespace qx {
namespace {

namespace fs = std::filesystem;

constexpr const char* kSendTime = "2026-12-07 10:30:00";
constexpr const char* kStamp = "261207103000";

std::vector<SmsRecipient> Recipients(int count, const std::string& mobile = "010-1234-5678") {
    std::vector<SmsRecipient> rows;
    for (int i = 1; i <= count; ++i) {
        SmsRecipient r;
        r.payer = std::to_string(i);
        r.mobile = mobile;
        r.values = {"회원" + std::to_string(i), "10000", std::to_string(i * 1000), "25"};
        rows.push_back(r);
    }
    return rows;
}

// Fails the test run part-way, as a lost connection or a killed desk would.
class FailingAt : public test::ScriptedInteraction {
  public:
    explicit FailingAt(long long row) : row_(row) {}
    void progress(const std::string& text, long long done, long long total) override {
        ScriptedInteraction::progress(text, done, total);
        if (done == row_) throw std::runtime_error("interrupted");
    }

  private:
    long long row_;
};

class SmsSendTest : public ::testing::Test {
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
        inst = inst_;
        session = test::SessionFor(inst);
        session.company = "시험기관";
        sender.SendPhone = "02-1234-5678";
        sender.SendName = "한빛";
        root = fs::temp_directory_path() / ("qx-sms-" + std::to_string(inst.inx));
        fs::remove_all(root);
        fs::create_directories(root);
        ini = std::make_unique<ProfileIni>((root / "Login.ini").string());
        messaging = std::make_unique<MessagingDb>(test::TestDatabaseConfig());
        ASSERT_TRUE(messaging->ConnectMessagingDb(ui));
        test::PinServerClock(messaging->db(), kSendTime);
        Clear();
    }
    void TearDown() override { fs::remove_all(root); }

    // Nothing of this institution left from an earlier test.
    void Clear() {
        Database& m = messaging->db();
        m.ExecuteSql("delete from bizclient.BIZ_MSG where CINFO=?", {session.inx});
        m.ExecuteSql("delete from bizclient.BIZ_SEND where CINFO=?", {session.inx});
        const auto logs = m.OpenRecordset(
            "select TABLE_NAME from information_schema.TABLES where TABLE_SCHEMA='bizclient' and "
            "TABLE_NAME like 'BIZ\\_LOG\\_2%'");
        for (std::size_t i = 0; i < logs.size(); ++i)
            m.ExecuteSql("delete from bizclient.`" + logs[i][0] + "` where CINFO=?", {session.inx});
    }
    // The messaging agent as a process, until the queue is empty; its exit status.
    int Deliver(const std::string& rules = "") {
        return std::system(
            (AgentCommand() + (rules.empty() ? "" : " --rules '" + rules + "'") + " >/dev/null")
                .c_str());
    }
    std::string AgentCommand() {
        const fs::path app = root / "agent";
        if (!fs::exists(app / "Login.ini")) {
            const DbConfig c = test::TestDatabaseConfig();
            fs::create_directories(app);
            std::ofstream(app / "Login.ini")
                << "[SYSTEM]\r\nDBCONNIP=" << c.host << ":" << c.port << "\r\nDBCONNUSER=" << c.user
                << "\r\nDBCONNPW=" << c.password << "\r\n";
        }
        return std::string(QUORISDEX_MESSAGING_AGENT_EXE) + " --app-path '" + app.string() +
               "' --until-empty --interval 0.1";
    }
    long long Queued() {
        return messaging->db().scalarInt("select count(*) from bizclient.BIZ_MSG where CINFO=?",
                                         {session.inx});
    }
    long long Logged(const std::string& month = "202612") {
        return messaging->db().scalarInt(
            "select count(*) from bizclient.BIZ_LOG_" + month + " where CINFO=?", {session.inx});
    }
    SmsSendOutcome Send(std::vector<SmsRecipient>& rows, const std::string& message,
                        Interaction& with, SmsKind kind = SmsKind::Sms,
                        const std::string& title = "") {
        ApplyMessage(rows, message, kind, session, sender, with);
        SmsSendRequest request;
        request.kind = kind;
        request.message = message;
        request.title = title;
        return SendMessages(*messaging, session, sender, *ini, request, rows, progress, with);
    }

    static inline Database* db_ = nullptr;
    static inline test::TestInstitution inst_;
    Database* db = nullptr;
    test::TestInstitution inst;
    SessionContext session;
    SmsSender sender;
    fs::path root;
    std::unique_ptr<ProfileIni> ini;
    std::unique_ptr<MessagingDb> messaging;
    SmsSendProgress progress;
    test::ScriptedInteraction ui;
};

TEST_F(SmsSendTest, TwoHundredFiftyMessagesTakeThreeStatements) {
    auto rows = Recipients(250);
    const auto out = Send(rows, "[@C] [@U]님 미수금 [@P0]원", ui);
    EXPECT_EQ(out.batches, (std::vector<long long>{100, 100, 50}));
    EXPECT_EQ(out.total, 250);
    EXPECT_EQ(out.sent, 250);
    EXPECT_EQ(Queued(), 250);
    EXPECT_EQ(ui.shown.back().text, "250건 중 250 건을 전송 하였습니다.");
    ASSERT_EQ(ui.progressed.size(), 250u);
    EXPECT_EQ(ui.progressed.back(), std::make_pair(250LL, 250LL));

    // CMIDs: the send stamp, the institution, 00001 to 00250 in row order.
    const auto rs = messaging->db().OpenRecordset(
        "select CMID, MSG_TYPE, DEST_PHONE, DEST_NAME, SEND_PHONE, SEND_NAME, MSG_BODY, SUBJECT, "
        "SEND_TIME from bizclient.BIZ_MSG where CINFO=? order by CMID",
        {session.inx});
    ASSERT_EQ(rs.size(), 250u);
    EXPECT_EQ(rs[0]["CMID"], std::string(kStamp) + session.inx + "00001");
    EXPECT_EQ(rs[249]["CMID"], std::string(kStamp) + session.inx + "00250");
    EXPECT_EQ(rs[0]["MSG_TYPE"], "0");
    EXPECT_EQ(rs[0]["DEST_PHONE"], "01012345678");
    EXPECT_EQ(rs[0]["SEND_PHONE"], "0212345678");
    EXPECT_EQ(rs[0]["SEND_NAME"], "한빛");
    EXPECT_EQ(rs[0]["DEST_NAME"], "회원1");
    EXPECT_EQ(rs[0]["MSG_BODY"], "한빛 회원1님 미수금 1,000원");
    EXPECT_EQ(rs[249]["MSG_BODY"], "한빛 회원250님 미수금 250,000원");
    EXPECT_EQ(rs[0]["SUBJECT"], "");
    EXPECT_EQ(rs[0]["SEND_TIME"], kSendTime);
}

TEST_F(SmsSendTest, UnusableNumbersAndEmptyMessagesAreSkippedAndCounted) {
    auto rows = Recipients(8);
    rows[0].mobile = "0101234567?";
    rows[1].mobile = "010123456789";  // 12 digits
    rows[2].mobile = "070-1234-5678";
    rows[3].mobile = "02-123-4567";
    rows[4].mobile = "";
    rows[5].mobile = "011-123-4567";  // 10 digits: sent
    rows[7].marked = false;           // not counted at all
    const auto out = Send(rows, "[@U]", ui);
    rows[6].message.clear();  // after personalising: no text for this one
    progress = {};
    Clear();
    ui.shown.clear();
    SmsSendRequest request;
    request.message = "[@U]";
    const auto again = SendMessages(*messaging, session, sender, *ini, request, rows, progress, ui);
    EXPECT_EQ(out.total, 7);
    EXPECT_EQ(out.skipped, 5);
    EXPECT_EQ(again.total, 7);
    EXPECT_EQ(again.skipped, 6);
    EXPECT_EQ(again.sent, 1);
    EXPECT_EQ(Queued(), 1);
    EXPECT_EQ(ui.shown.back().text, "7건 중 1 건을 전송 하였습니다.");
    EXPECT_EQ(messaging->db().scalar("select DEST_PHONE from bizclient.BIZ_MSG where CINFO=?",
                                     {session.inx}),
              "0111234567");

    // Nobody reachable: the window's closing text, nothing queued.
    Clear();
    progress = {};
    ui.shown.clear();
    for (auto& r : rows) r.mobile = "02-000-0000";
    const auto none = Send(rows, "[@U]", ui);
    EXPECT_EQ(none.sent, 0);
    EXPECT_EQ(ui.shown.back().text, "전송 대상이 없습니다.");
    EXPECT_EQ(Queued(), 0);
}

TEST_F(SmsSendTest, BadInputStopsWithItsMessageAndQueuesNothing) {
    struct Case {
        std::string name;
        std::function<void(std::vector<SmsRecipient>&, SmsSendRequest&, SmsSender&)> change;
        std::vector<bool> answers;
        std::string message;
    } cases[] = {
        {"no rows", [](auto& rows, auto&, auto&) { rows.clear(); }, {}, kNoTargetsText},
        {"none marked",
         [](auto& rows, auto&, auto&) {
             for (auto& r : rows) r.marked = false;
         },
         {},
         kNoTargetsText},
        {"empty message",
         [](auto&, auto& req, auto&) { req.message = "  "; },
         {},
         kEmptyMessageText},
        {"empty message of a file",
         [](auto&, auto& req, auto&) {
             req.message = "";
             req.emptyMessageText = kEmptyFileMessageText;
         },
         {},
         kEmptyFileMessageText},
        {"sender not a number",
         [](auto&, auto&, auto& from) { from.SendPhone = "02-12a-5678"; },
         {},
         kBadSenderNumberText},
        {"no sender number",
         [](auto&, auto&, auto& from) { from.SendPhone = " - "; },
         {},
         kBadSenderNumberText},
        {"LMS title over 64 bytes",
         [](auto&, auto& req, auto&) {
             req.kind = SmsKind::Lms;
             req.title.clear();
             for (int i = 0; i < 33; ++i) req.title += "가";
         },
         {},
         "LMS 제목의 길이가 제한 길이 보다 깁니다.\r\n※ 제한 길이 : 64Byte (한글 31자, 영문 "
         "64자)"},
        {"LMS without title, declined",
         [](auto&, auto& req, auto&) {
             req.kind = SmsKind::Lms;
             req.title = "";
         },
         {false},
         ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto rows = Recipients(3);
        SmsSender from = sender;
        SmsSendRequest request;
        request.message = "[@U]님";
        ApplyMessage(rows, request.message, SmsKind::Sms, session, from, ui);
        c.change(rows, request, from);
        test::ScriptedInteraction asked;
        for (bool a : c.answers) asked.answers.push_back(a);
        SmsSendProgress p;
        const auto out = SendMessages(*messaging, session, from, *ini, request, rows, p, asked);
        EXPECT_FALSE(out.started);
        EXPECT_EQ(out.sent, 0);
        ASSERT_FALSE(asked.shown.empty());
        if (!c.message.empty()) {
            EXPECT_EQ(asked.shown.back().text, c.message);
        }
        EXPECT_EQ(Queued(), 0);
        EXPECT_TRUE(p.sendKey.empty());
    }
}

TEST_F(SmsSendTest, LmsRowsCarryTheTitleAndTheSavedSubject) {
    auto rows = Recipients(2);
    const std::string text = std::string(100, 'a') + "\r\n[@U]님 안내";
    test::ScriptedInteraction asked;
    asked.answers = {true};  // empty title: use the default
    const auto out = Send(rows, text, asked, SmsKind::Lms, "");
    EXPECT_EQ(out.sent, 2);
    const auto rs = messaging->db().OpenRecordset(
        "select MSG_TYPE, SUBJECT, MSG_BODY from bizclient.BIZ_MSG where CINFO=? order by CMID",
        {session.inx});
    ASSERT_EQ(rs.size(), 2u);
    EXPECT_EQ(rs[0]["MSG_TYPE"], "5");
    EXPECT_EQ(rs[0]["SUBJECT"], "[안내] 한빛");
    EXPECT_EQ(rs[0]["MSG_BODY"], std::string(100, 'a') + "\n회원1님 안내");  // CR LF became LF
    EXPECT_EQ(ini->read("SMS", kLmsSubjectKey), "[안내] 한빛");
}

TEST_F(SmsSendTest, HostileTextIsQueuedExactlyAsTyped) {
    auto rows = Recipients(1);
    rows[0].values.name = "O'Brien \\ '); drop table x; --";
    sender.SendName = "한빛's \\N";
    const std::string message = "'); delete from bizclient.BIZ_MSG; -- [@U] \\' %_";
    Send(rows, message, ui);
    const auto rs = messaging->db().OpenRecordset(
        "select DEST_NAME, SEND_NAME, MSG_BODY from bizclient.BIZ_MSG where CINFO=?",
        {session.inx});
    ASSERT_EQ(rs.size(), 1u);
    EXPECT_EQ(rs[0]["DEST_NAME"], rows[0].values.name);
    EXPECT_EQ(rs[0]["SEND_NAME"], "한빛's \\N");
    EXPECT_EQ(rs[0]["MSG_BODY"],
              "'); delete from bizclient.BIZ_MSG; -- " + rows[0].values.name + " \\' %_");
}

TEST_F(SmsSendTest, AnInterruptedSendRepeatedNeverQueuesAMessageTwice) {
    auto rows = Recipients(250);
    FailingAt failing(150);
    EXPECT_THROW(Send(rows, "[@U]님", failing), std::runtime_error);
    EXPECT_EQ(Queued(), 100);  // the first statement only

    // Repeated with the same rows: continues after message 100.
    const auto out = Send(rows, "[@U]님", ui);
    EXPECT_EQ(out.batches, (std::vector<long long>{100, 50}));
    EXPECT_EQ(out.sent, 250);
    EXPECT_EQ(Queued(), 250);
    EXPECT_EQ(
        messaging->db().scalarInt(
            "select count(distinct CMID) from bizclient.BIZ_MSG where CINFO=?", {session.inx}),
        250);

    // Repeated once more after the agent delivered them: nothing new.
    ASSERT_EQ(Deliver(), 0);
    const auto again = Send(rows, "[@U]님", ui);
    EXPECT_TRUE(again.batches.empty());
    EXPECT_EQ(again.sent, 250);
    EXPECT_EQ(Queued(), 0);
    EXPECT_EQ(Logged(), 250);

    // Another message is another send, under a key of its own.
    const std::string first = progress.sendKey;
    Send(rows, "[@U]님 다른 안내", ui);
    EXPECT_NE(progress.sendKey, first);
    EXPECT_EQ(Queued(), 250);
}

TEST_F(SmsSendTest, TwoDesksSendingInTheSameSecondGetTheirOwnIds) {
    auto rows = Recipients(3);
    Send(rows, "첫째 [@U]", ui);
    MessagingDb other(test::TestDatabaseConfig());
    ASSERT_TRUE(other.ConnectMessagingDb(ui));
    test::PinServerClock(other.db(), kSendTime);
    SmsSendProgress otherProgress;
    SmsSendRequest request;
    request.message = "둘째 [@U]";
    ApplyMessage(rows, request.message, SmsKind::Sms, session, sender, ui);
    const auto out = SendMessages(other, session, sender, *ini, request, rows, otherProgress, ui);
    EXPECT_EQ(out.sent, 3);
    EXPECT_EQ(Queued(), 6);
    EXPECT_NE(otherProgress.stamp, progress.stamp);
    EXPECT_EQ(otherProgress.stamp, "261207103001");
}

TEST_F(SmsSendTest, AgentDeliversIntoTheMonthsLogOnceWithItsRules) {
    auto rows = Recipients(4);
    rows[1].mobile = "010-4410-0000";
    Send(rows, "[@U]", ui);
    auto lms = Recipients(1);
    lms[0].values.name = "엘엠에스";
    Send(lms, std::string(95, 'L') + "[@U]", ui, SmsKind::Lms, "제목");
    // A message queued in the next month goes to that month's table.
    test::PinServerClock(messaging->db(), "2027-01-02 09:00:00");
    auto later = Recipients(1);
    Send(later, "새해 [@U]", ui);

    const fs::path rules = root / "rules.txt";
    std::ofstream(rules) << "status 01044100000 4410\n";
    ASSERT_EQ(Deliver(rules.string()), 0);
    EXPECT_EQ(Queued(), 0);
    EXPECT_EQ(Logged("202612"), 5);
    EXPECT_EQ(Logged("202701"), 1);
    auto status = [&](const std::string& name) {
        return messaging->db().scalar(
            "select CALL_STATUS from bizclient.BIZ_LOG_202612 where CINFO=? and DEST_NAME=?",
            {session.inx, name});
    };
    EXPECT_EQ(status("회원1"), "4100");
    EXPECT_EQ(status("회원2"), "4410");
    EXPECT_EQ(status("엘엠에스"), "6600");
    // A second run finds nothing and changes nothing.
    ASSERT_EQ(Deliver(rules.string()), 0);
    EXPECT_EQ(Logged("202612"), 5);

    // The history reads both months, newest first, with the result texts.
    SmsHistoryQuery q;
    q.from = "2026-12-01";
    q.to = "2027-01-31";
    auto h = LoadSmsHistory(*messaging, session, q, ui);
    ASSERT_TRUE(h);
    ASSERT_EQ(h->size(), 6u);
    EXPECT_EQ((*h)[0]["내용"], "새해 회원1");
    EXPECT_EQ(h->columns, (std::vector<std::string>{"발송일", "처리결과", "발송번호", "수신번호",
                                                    "수신자명", "내용"}));
    struct Filter {
        std::string result, kind, field, text;
        std::size_t rows;
    } filters[] = {
        {"전송완료", "", "", "", 5},
        {"4410", "", "", "", 1},
        {"결과대기", "", "", "", 0},
        {"기타에러", "", "", "", 0},
        {"", "LMS", "", "", 1},
        {"", "SMS", "", "", 5},
        {"", "", "DEST_NAME", "엘엠", 1},
        {"", "", "MSG_BODY", "%", 0},
        {"", "", "DEST_PHONE", "4410", 1},
    };
    for (const auto& f : filters) {
        q.result = f.result;
        q.kind = f.kind;
        q.searchField = f.field;
        q.searchText = f.text;
        auto got = LoadSmsHistory(*messaging, session, q, ui);
        ASSERT_TRUE(got);
        EXPECT_EQ(got->size(), f.rows) << f.result << f.kind << f.field << f.text;
    }
    // The LMS body's line feeds are shown as "_"; 오류번호 for 4410.
    q = {};
    q.from = "2026-12-01";
    q.to = "2026-12-31";
    q.result = "4410";
    EXPECT_EQ((*LoadSmsHistory(*messaging, session, q, ui))[0]["처리결과"], "오류번호");

    // A search field without text asks for it.
    q.searchField = "DEST_NAME";
    test::ScriptedInteraction asked;
    EXPECT_FALSE(LoadSmsHistory(*messaging, session, q, asked));
    EXPECT_EQ(asked.shown.at(0).text, kSearchTextMissingText);
}

TEST_F(SmsSendTest, HistoryReadsOnlyTheMonthsThatHaveATable) {
    Database& m = messaging->db();
    m.ExecuteSql(
        "CREATE TABLE IF NOT EXISTS bizclient.BIZ_LOG_209001 LIKE bizclient.BIZ_LOG_TEMPLATE");
    m.ExecuteSql(
        "CREATE TABLE IF NOT EXISTS bizclient.BIZ_LOG_209003 LIKE bizclient.BIZ_LOG_TEMPLATE");
    m.ExecuteSql("DROP TABLE IF EXISTS bizclient.BIZ_LOG_209002");
    for (const char* month : {"209001", "209003"}) {
        m.ExecuteSql(std::string("delete from bizclient.BIZ_LOG_") + month);
        m.ExecuteSql(
            std::string("insert into bizclient.BIZ_LOG_") + month +
                " (CMID, SEND_TIME, CALL_STATUS, DEST_NAME, MSG_BODY, CINFO) values "
                "(?, ?, '', '가', 'a\nb', ?)",
            {std::string("x") + month,
             std::string(month).substr(0, 4) + "-" + std::string(month).substr(4) + "-15 12:00:00",
             session.inx});
    }
    SmsHistoryQuery q;
    q.from = "2090-01-01";
    q.to = "2090-03-31";
    auto h = LoadSmsHistory(*messaging, session, q, ui);
    ASSERT_TRUE(h);
    ASSERT_EQ(h->size(), 2u);
    EXPECT_EQ((*h)[0]["발송일"], "2090-03-15 12:00:00");
    EXPECT_EQ((*h)[0]["처리결과"], "결과대기");
    EXPECT_EQ((*h)[0]["내용"], "a_b");
    // The other institution's rows stay out.
    SessionContext other = session;
    other.inx = "1";
    EXPECT_EQ(LoadSmsHistory(*messaging, other, q, ui)->size(), 0u);
    for (const char* t : {"BIZ_LOG_209001", "BIZ_LOG_209003"})
        m.ExecuteSql(std::string("DROP TABLE bizclient.") + t);
}

TEST_F(SmsSendTest, TwoAgentProcessesDeliverEveryRowExactlyOnce) {
    auto rows = Recipients(400);
    Send(rows, "[@U] 동시", ui);
    ASSERT_EQ(Queued(), 400);
    const std::string agent = AgentCommand();
    // An agent killed in the middle of its work leaves its pass undone, never half done.
    const std::string killed =
        "sh -c \"" + agent + " >/dev/null & pid=\\$!; sleep 0.05; kill -9 \\$pid; wait\"";
    EXPECT_NE(std::system(killed.c_str()), -1);
    const std::string both = "sh -c \"" + agent + " >'" + (root / "a.log").string() + "' & " +
                             agent + " >'" + (root / "b.log").string() + "' & wait\"";
    ASSERT_EQ(std::system(both.c_str()), 0);
    // Each ran until the queue was empty.
    EXPECT_EQ(Queued(), 0);
    EXPECT_EQ(Logged(), 400);
    EXPECT_EQ(messaging->db().scalarInt(
                  "select count(distinct CMID) from bizclient.BIZ_LOG_202612 where CINFO=?",
                  {session.inx}),
              400);
}

TEST_F(SmsSendTest, UnreachableMessagingDatabaseSaysSo) {
    DbConfig c = test::TestDatabaseConfig();
    c.port = 1;  // nothing listens there
    MessagingDb nowhere(c);
    test::ScriptedInteraction asked;
    EXPECT_FALSE(nowhere.ConnectMessagingDb(asked));
    ASSERT_EQ(asked.shown.size(), 1u);
    EXPECT_EQ(asked.shown[0].text.rfind("데이타베이스 연결 오류\r\n오류 정보 : ", 0), 0u);
    EXPECT_GT(asked.shown[0].text.size(),
              std::string("데이타베이스 연결 오류\r\n오류 정보 : ").size());
}

TEST_F(SmsSendTest, SenderSettingsAndTemplatesPerLevel) {
    db->ExecuteSql(
        "update quorisdex.admin_company set sendphone=' 02-111-2222 ', sendname=' 본사 ' "
        "where inx=?",
        {inst.inx});
    const long long brinx =
        db->scalarInt("select coalesce(max(brinx),0)+1 from quorisdex.company_branch");
    db->ExecuteSql(
        "insert into quorisdex.company_branch (brinx, perinx, id, pw, usetag, company, "
        "sendphone, sendname) values (?,?,?,'x','Y','지사','031-333-4444','지사명')",
        {brinx, inst.inx, "smsb" + std::to_string(brinx)});
    ini->write("SMS", "MSG1", "[$u]님 [$c] 안내");
    ini->write("SMS", "MSG2", "");
    SessionContext head = test::SessionFor(inst);
    const SmsSettings settings = LoadSmsSettings(*db, head, *ini);
    const auto& templates = settings.templates;
    EXPECT_EQ(settings.sender.SendPhone, "02-111-2222");
    EXPECT_EQ(settings.sender.SendName, "본사");
    EXPECT_EQ(templates[0], DefaultSmsTemplates()[0]);
    EXPECT_EQ(templates[1], "[@U]님 [@C] 안내");
    EXPECT_EQ(templates[2], DefaultSmsTemplates()[2]);
    EXPECT_EQ(ini->read("SMS", "MSG0"), DefaultSmsTemplates()[0]);  // written when missing
    EXPECT_EQ(ini->read("SMS", "MSG2"), DefaultSmsTemplates()[2]);

    SessionContext branch = test::SessionFor(inst, brinx);
    SmsSender branchSender = LoadSmsSettings(*db, branch, *ini).sender;
    EXPECT_EQ(branchSender.SendPhone, "031-333-4444");
    EXPECT_EQ(branchSender.SendName, "지사명");

    // Saving writes the user's own level only; a number with letters is refused.
    test::ScriptedInteraction asked;
    EXPECT_FALSE(SaveSenderSettings(*db, branch, branchSender, "031-33a-4444", "x", asked));
    EXPECT_EQ(asked.shown.at(0).text, kBadSenderNumberText);
    EXPECT_EQ(branchSender.SendPhone, "031-333-4444");
    EXPECT_TRUE(SaveSenderSettings(*db, branch, branchSender, "031-999-0000", "새지사", asked));
    EXPECT_EQ(LoadSmsSettings(*db, head, *ini).sender.SendPhone, "02-111-2222");
    const SmsSender saved = LoadSmsSettings(*db, branch, *ini).sender;
    EXPECT_EQ(saved.SendPhone, "031-999-0000");
    EXPECT_EQ(saved.SendName, "새지사");
    db->ExecuteSql("delete from quorisdex.company_branch where brinx=?", {brinx});
}

TEST_F(SmsSendTest, MemberListRowsBecomeRecipients) {
    const std::string schema = InstitutionSchema(inst.inx);
    test::MemberRow m;
    m.username = "목록회원";
    m.pay_nonpayment = 7000;
    m.pay_monthdefault = 30000;
    const long long id = test::InsertMember(*db, inst.inx, m);
    db->ExecuteSql("update " + schema +
                       ".member_user set private_tel='010-9999-0001', inday=5 where member_inx=?",
                   {id});
    MemberFilter f;
    f.username = "목록회원";
    const auto rows = RecipientsFromMemberList(ListMembers(*db, session, f));
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_TRUE(rows[0].marked);
    EXPECT_EQ(rows[0].payer.size(), 10u);
    EXPECT_EQ(std::stoll(rows[0].payer), id);
    EXPECT_EQ(rows[0].mobile, "010-9999-0001");
    EXPECT_EQ(rows[0].values.name, "목록회원");
    EXPECT_EQ(rows[0].values.scheduled, "30000");
    EXPECT_EQ(rows[0].values.outstanding, "7000");
    EXPECT_EQ(rows[0].values.transferDay, "5");
}

TEST_F(SmsSendTest, MembersOfAResultFile) {
    const std::string schema = InstitutionSchema(inst.inx);
    auto member = [&](const std::string& name, const std::string& tel) {
        test::MemberRow m;
        m.username = name;
        m.pay_nonpayment = 5000;
        m.pay_monthdefault = 20000;
        const long long id = test::InsertMember(*db, inst.inx, m);
        db->ExecuteSql(
            "update " + schema + ".member_user set private_tel=?, inday=25 where member_inx=?",
            {tel, id});
        return id;
    };
    const long long a = member("가", "010-1111-2222"), b = member("나", "010-3333-4444"),
                    c = member("다", "010-5555-6666"), none = member("라", "없음");
    auto line = [&](long long user, long long amount, const std::string& result, long long div) {
        db->ExecuteSql("insert into " + schema +
                           ".file_ea21 (reg_date, user_no, amount, result, div_amount) values "
                           "('991207',?,?,?,?)",
                       {user, amount, result, div});
    };
    line(a, 10000, "", 0);
    line(a, 3000, "", 0);  // two lines of one member: one row
    line(b, 8000, "P", 5000);
    line(c, 7000, "N", 0);
    line(none, 9000, "", 0);
    struct Case {
        const char* column;
        std::vector<std::pair<std::string, std::string>> rows;  // name, amount
    } cases[] = {
        {kWithdrawnColumn, {{"가", "13000"}, {"나", "5000"}}},
        {kFailedColumn, {{"나", "3000"}, {"다", "7000"}}},
        {kBilledColumn, {{"가", "13000"}, {"나", "8000"}, {"다", "7000"}}},
    };
    for (const auto& cs : cases) {
        SmsFileQuery q;
        q.kind = SmsFileKind::Eb21;
        q.regDate = "991207";
        q.amountColumn = cs.column;
        const auto rows = LoadFileRecipients(*db, session, q);
        ASSERT_EQ(rows.size(), cs.rows.size()) << cs.column;
        for (std::size_t i = 0; i < rows.size(); ++i) {
            EXPECT_EQ(rows[i].values.name, cs.rows[i].first);
            EXPECT_EQ(rows[i].values.scheduled, cs.rows[i].second);
            EXPECT_EQ(rows[i].values.outstanding, "5000");
            EXPECT_EQ(rows[i].values.transferDay, "25");
        }
        EXPECT_EQ(FileRecipientsText(rows), "총 " + std::to_string(rows.size()) + " 건 중 " +
                                                std::to_string(rows.size()) + " 건 선택됨");
    }
    db->ExecuteSql("insert into " + schema +
                       ".file_ea13 (reg_date, reg_kind, user_no) values ('991207','1',?),"
                       "('991207','3',?)",
                   {a, b});
    SmsFileQuery q;
    q.regDate = "991207";
    auto fresh = LoadFileRecipients(*db, session, q);
    ASSERT_EQ(fresh.size(), 1u);
    EXPECT_EQ(fresh[0].values.name, "가");
    EXPECT_EQ(fresh[0].values.scheduled, "20000");
    q.cancelled = true;
    auto cancelled = LoadFileRecipients(*db, session, q);
    ASSERT_EQ(cancelled.size(), 1u);
    EXPECT_EQ(cancelled[0].values.name, "나");
    q.regDate = "000101";
    EXPECT_EQ(FileRecipientsText(LoadFileRecipients(*db, session, q)),
              "조회 대상이 없거나 조회된 회원 중 핸드폰이 등록된 회원이 없습니다.");
}

}  // namespace
}  // namespace qx
