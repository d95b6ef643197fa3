// Applying received EB14 files against a real server: the claim, the staging
// of refusals, the members' states and counts written by the result script,
// two desks at once, and malformed files that leave nothing applied.
#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <thread>

#include "cms/eb14/eb13_results.h"
#include "cms/eb14/eb14_apply.h"
#include "cms/eb14/eb14_file.h"
#include "cms/result_apply_fixture.h"
#include "cms/workspace/cms_folders.h"
#include "services/web_stand_in.h"
#include "support/institution_fixture.h"

namespace qx {
namespace {

namespace fs = std::filesystem;

struct Row {
    long long serial;
    std::string kind;  // "1" new, "3" cancellation
    long long member;
    std::string oldStatus;
};

class Eb14ApplyTest : public test::ResultApplyTest {
  protected:
    Eb14ApplyTest() : ResultApplyTest("EB14", "file_ea13_run") {}

    long long Member(const std::string& cmsStatus, const std::string& remove = "1") {
        test::MemberRow m;
        m.cms_status = cmsStatus;
        m.remove = remove;
        return test::InsertMember(*db, inst.inx, m);
    }
    void Eb13(const std::string& yymmdd, const std::vector<Row>& rows,
              const std::string& stat = "0") {
        db->ExecuteSql("insert into " + schema +
                           ".ea13 (makedate, filename, total_cnt, pross_stat) values "
                           "(unix_timestamp(), ?, ?, ?)",
                       {"EB13" + yymmdd, static_cast<long long>(rows.size()), stat});
        for (const Row& r : rows) {
            db->ExecuteSql("insert into " + schema +
                               ".file_ea13 (seq_num, reg_date, reg_kind, user_no, oldcms_status) "
                               "values (?,?,?,?,?)",
                           {r.serial, yymmdd, r.kind, r.member, r.oldStatus});
        }
    }
    void DropEb14(const std::string& yymmdd, const std::vector<test::Eb14Line>& lines) {
        const std::string name = "EB14" + yymmdd.substr(2);
        test::WriteBytes(ResultPath(session, yymmdd.substr(2)),
                         test::Eb14Bytes(name, yymmdd, lines));
    }
    std::string Status(long long member) {
        return db->scalar("select cms_status from " + schema + ".member_user where member_inx=?",
                          {member});
    }
    std::string Error(long long member) {
        return db->scalar("select cms_error from " + schema + ".member_user where member_inx=?",
                          {member});
    }
    std::string Ea13(const std::string& column, const std::string& yymmdd = "261204") {
        return db->scalar("select " + column + " from " + schema + ".ea13 where filename=?",
                          {"EB13" + yymmdd});
    }
    Eb14ResultRequest InProcess() {
        return Recorded([this](long long inx, const std::string& yymmdd) {
            return ApplyEb13Results(*db, inx, yymmdd);
        });
    }
};

TEST_F(Eb14ApplyTest, MembersMoveToTheirResultStatesAndTheCountsAreFilled) {
    const long long newOk = Member("1"), newNo = Member("1"), newUnknown = Member("1");
    const long long cancelOk = Member("12", "2"), cancelNo = Member("12", "2");
    Eb13("261204", {{1, "1", newOk, "0"},
                    {2, "1", newNo, "0"},
                    {3, "3", cancelOk, "11"},
                    {4, "3", cancelNo, "11"},
                    {5, "1", newUnknown, "2"}});
    DropEb14(
        "261204",
        {{1, "Y", "0000"}, {2, "N", "0013"}, {3, " ", ""}, {4, "N", "0014"}, {5, "N", "Q999"}});

    const Eb14RunResult run = ApplyEb14Files(*db, session, ui, InProcess());

    EXPECT_EQ(run.succeeded, 1);
    EXPECT_EQ(run.failed, 0);
    struct Expect {
        long long member;
        std::string status, error;
    };
    for (const Expect& e : std::vector<Expect>{{newOk, "3", ""},
                                               {newNo, "2", "계좌번호 오류(해당계좌 없음)"},
                                               {cancelOk, "13", ""},
                                               {cancelNo, "14", "해지된 계좌"},
                                               {newUnknown, "2", kUnknownResultCodeText}}) {
        EXPECT_EQ(Status(e.member), e.status) << e.member;
        EXPECT_EQ(Error(e.member), e.error) << e.member;
    }
    EXPECT_EQ(Ea13("pross_stat"), "1");
    EXPECT_EQ(Ea13("createok_cnt"), "1");
    EXPECT_EQ(Ea13("deleteok_cnt"), "1");
    EXPECT_EQ(Ea13("false_cnt"), "3");
    EXPECT_EQ(Count("file_ea13", "result='N'"), 3);
    EXPECT_EQ(Count("file_ea13", "seq_num=2 and result='N' and result_code='0013'"), 1);
    EXPECT_EQ(Count("file_ea13", "result='' and result_code=''"), 2);
    EXPECT_EQ(Count("file_ea13_run"), 0);  // consumed by the script
    ExpectOneFileApplied("261204", 3, Eb14SummaryText(1, 0));
}

TEST_F(Eb14ApplyTest, TwoHundredFiftyRefusalsAreAllStagedAndApplied) {
    std::vector<Row> rows;
    std::vector<test::Eb14Line> lines;
    for (long long i = 1; i <= 260; ++i) {
        rows.push_back({i, "1", Member("1"), "0"});
        lines.push_back({i, i <= 250 ? "N" : "Y", i <= 250 ? "0011" : "0000"});
    }
    Eb13("261204", rows);
    DropEb14("261204", lines);
    const auto run = ApplyEb14Files(*db, session, ui, InProcess());
    EXPECT_EQ(run.succeeded, 1);
    EXPECT_EQ(stagedAtCall, std::vector<long long>{250});
    EXPECT_EQ(Count("file_ea13", "result='N'"), 250);
    EXPECT_EQ(Ea13("false_cnt"), "250");
    EXPECT_EQ(Ea13("createok_cnt"), "10");
    EXPECT_EQ(Count("member_user", "cms_status='2'"), 250);
}

TEST_F(Eb14ApplyTest, AFileWithoutRefusalsStagesNothingAndStillCallsTheServer) {
    const long long m = Member("1");
    Eb13("261204", {{1, "1", m, "0"}});
    DropEb14("261204", {{1, "Y", "0000"}});
    // Rows an interrupted earlier run left behind must not reach this file.
    db->ExecuteSql("insert into " + schema + ".file_ea13_run values (1,'N','0013')");
    const auto run = ApplyEb14Files(*db, session, ui, InProcess());
    EXPECT_EQ(run.succeeded, 1);
    EXPECT_EQ(calls.size(), 1u);
    EXPECT_EQ(stagedAtCall, std::vector<long long>{0});
    EXPECT_EQ(Status(m), "3");
}

TEST_F(Eb14ApplyTest, MalformedFilesAreDeletedAndLeaveTheirEb13Claimed) {
    struct Case {
        const char* what;
        std::string bytes;
        std::string message;
    };
    const std::vector<Case> cases = {
        {"header names EB140105",
         test::Eb14Header("EB140105", "261204") + test::Eb14Record({1, "N", "0013"}) +
             test::Eb14Trailer("EB140105"),
         kEb14OtherNameText},
        {"record type Z",
         test::Eb14Header("EB141204", "261204") + test::Eb14Record({1, "N", "0013"}) +
             test::Eb14Record({2, "Y", ""}, "Z") + test::Eb14Trailer("EB141204"),
         kEb14BadRecordText},
    };
    for (const Case& c : cases) {
        db->ExecuteSql("delete from " + schema + ".ea13");
        db->ExecuteSql("delete from " + schema + ".file_ea13");
        ui.shown.clear();
        calls.clear();
        const long long m = Member("1");
        Eb13("261204", {{1, "1", m, "0"}, {2, "1", Member("1"), "0"}});
        const fs::path path = ResultPath(session, "1204");
        test::WriteBytes(path, c.bytes);

        const auto run = ApplyEb14Files(*db, session, ui, InProcess());

        EXPECT_EQ(run.failed, 1) << c.what;
        EXPECT_TRUE(calls.empty()) << c.what;
        ASSERT_GE(ui.shown.size(), 2u) << c.what;
        EXPECT_EQ(ui.shown[0].text, c.message) << c.what;
        EXPECT_EQ(ui.shown[0].title, "[" + path.string() + "] 처리불가") << c.what;
        EXPECT_EQ(ui.shown[1].text, Eb14SummaryText(0, 1)) << c.what;
        EXPECT_FALSE(fs::exists(path)) << c.what;
        EXPECT_EQ(Ea13("pross_stat"), "9") << c.what;
        EXPECT_EQ(Count("file_ea13_run"), 0) << c.what;
        EXPECT_EQ(Count("file_ea13", "result='N'"), 0) << c.what;
        EXPECT_EQ(Status(m), "1") << c.what;
    }
    EXPECT_EQ(LogLines("EB141204 파일처리 실패"), 2);
}

TEST_F(Eb14ApplyTest, AFileWithoutAReadableHeaderDateIsRefusedBeforeAnyClaim) {
    const long long m = Member("1");
    Eb13("261204", {{1, "1", m, "0"}});
    const fs::path path = ResultPath(session, "1204");
    test::WriteBytes(path, test::Eb14Header("EB141204", "26AB04") +
                               test::Eb14Record({1, "N", "0013"}) + test::Eb14Trailer("EB141204"));
    const auto run = ApplyEb14Files(*db, session, ui, InProcess());
    EXPECT_EQ(run.failed, 1);
    EXPECT_TRUE(calls.empty());
    ASSERT_FALSE(ui.shown.empty());
    EXPECT_EQ(ui.shown[0].text, kEb14BadRecordText);
    EXPECT_FALSE(fs::exists(path));
    EXPECT_EQ(Ea13("pross_stat"), "0");  // never claimed: a good result can still be applied
    EXPECT_EQ(Status(m), "1");
}

TEST_F(Eb14ApplyTest, ForeignFilesAreDeletedWhenTheFolderIsTidied) {
    ExpectForeignFilesDeleted(
        [this] { return ApplyEb14Files(*db, session, ui, InProcess()).noFiles; }, kNoEb14FilesText);
}

TEST_F(Eb14ApplyTest, AResultWhoseEb13IsNotWaitingStopsTheRun) {
    // Another desk is applying 1203; 1204 sorts after it and is not reached.
    const long long m = Member("1");
    Eb13("261203", {{1, "1", Member("1"), "0"}}, "9");
    Eb13("261204", {{1, "1", m, "0"}});
    DropEb14("261203", {{1, "Y", "0000"}});
    DropEb14("261204", {{1, "Y", "0000"}});
    const auto run = ApplyEb14Files(*db, session, ui, InProcess());
    EXPECT_TRUE(run.stopped);
    EXPECT_TRUE(calls.empty());
    ASSERT_EQ(ui.shown.size(), 1u);
    EXPECT_EQ(ui.shown[0].text, Eb14BusyText("261203"));
    EXPECT_EQ(ui.shown[0].title, Eb14BusyTitle("261203"));
    EXPECT_EQ(Ea13("pross_stat"), "0");
    EXPECT_EQ(Status(m), "1");
    EXPECT_TRUE(fs::exists(ResultPath(session, "1203")));
    EXPECT_TRUE(fs::exists(ResultPath(session, "1204")));
}

TEST_F(Eb14ApplyTest, AResultOfAnEb13NoLongerOpenLeavesTheFolderUnapplied) {
    // No EB13 of 1130 waits (never made, rolled back or applied): archived, not applied.
    DropEb14("261130", {{1, "N", "0013"}});
    const auto run = ApplyEb14Files(*db, session, ui, InProcess());
    EXPECT_TRUE(run.noFiles);
    EXPECT_TRUE(calls.empty());
    EXPECT_FALSE(fs::exists(ResultPath(session, "1130")));
    EXPECT_EQ(Count("file_ea13_run"), 0);
}

TEST_F(Eb14ApplyTest, AServerReplyIsAFailureShownAndTheFileStaysClaimed) {
    const long long m = Member("1");
    Eb13("261204", {{1, "1", m, "0"}});
    DropEb14("261204", {{1, "N", "0013"}});
    const auto run = ApplyEb14Files(*db, session, ui, [](long long, long long, const std::string&) {
        return std::string("DB 오류");
    });
    EXPECT_EQ(run.failed, 1);
    EXPECT_EQ(ui.shown.at(0).text, "DB 오류");
    EXPECT_EQ(ui.shown.back().text, Eb14SummaryText(0, 1));
    EXPECT_EQ(LogLines("EB141204 파일처리 실패 : DB 오류"), 1);
    EXPECT_EQ(Ea13("pross_stat"), "9");
    EXPECT_EQ(Status(m), "1");
}

TEST_F(Eb14ApplyTest, OfTwoDesksApplyingOneFileExactlyOneApplies) {
    std::vector<Row> rows;
    std::vector<test::Eb14Line> lines;
    for (long long i = 1; i <= 40; ++i) {
        rows.push_back({i, "1", Member("1"), "0"});
        lines.push_back({i, i % 2 ? "N" : "Y", "0013"});
    }
    Eb13("261204", rows);
    std::atomic<int> applied{0}, refused{0}, serverCalls{0};
    auto desk = [&](const std::string& folder) {
        auto conn = test::ConnectTestDatabase();
        conn->setLogSchema(schema);
        SessionContext s = session;
        s.SystemDrive = (root / folder).string() + "/";
        test::WriteBytes(ResultPath(s, "1204"), test::Eb14Bytes("EB141204", "261204", lines));
        test::ScriptedInteraction deskUi;
        const auto run =
            ApplyEb14Files(*conn, s, deskUi, [&](long long inx, long long, const std::string& d) {
                ++serverCalls;
                return ApplyEb13Results(*conn, inx, d);
            });
        applied += run.succeeded;
        if (run.stopped && deskUi.shown.at(0).text == Eb14BusyText("261204")) ++refused;
    };
    std::thread a(desk, "desk1"), b(desk, "desk2");
    a.join();
    b.join();
    EXPECT_EQ(applied.load(), 1);
    EXPECT_EQ(refused.load(), 1);
    EXPECT_EQ(serverCalls.load(), 1);
    EXPECT_EQ(Count("member_user", "cms_status='2'"), 20);
    EXPECT_EQ(Count("member_user", "cms_status='3'"), 20);
    EXPECT_EQ(Ea13("false_cnt"), "20");
}

TEST_F(Eb14ApplyTest, TwoDesksApplyingTwoFilesKeepTheirRefusalsApart) {
    struct DeskFile {
        std::string yymmdd, folder;
        long long refusals;
    };
    const std::vector<DeskFile> desks = {{"261204", "desk1", 30}, {"261207", "desk2", 20}};
    std::vector<std::vector<test::Eb14Line>> lines(desks.size());
    for (std::size_t d = 0; d < desks.size(); ++d) {
        std::vector<Row> rows;
        for (long long i = 1; i <= 60; ++i) {
            rows.push_back({i, "1", Member("1"), "0"});
            lines[d].push_back({i, i <= desks[d].refusals ? "N" : "Y", "0013"});
        }
        Eb13(desks[d].yymmdd, rows);
    }
    std::atomic<int> applied{0};
    auto desk = [&](std::size_t d) {
        auto conn = test::ConnectTestDatabase();
        conn->setLogSchema(schema);
        SessionContext s = session;
        s.SystemDrive = (root / desks[d].folder).string() + "/";
        const std::string yymmdd = desks[d].yymmdd;
        test::WriteBytes(ResultPath(s, yymmdd.substr(2)),
                         test::Eb14Bytes("EB14" + yymmdd.substr(2), yymmdd, lines[d]));
        test::ScriptedInteraction deskUi;
        applied +=
            ApplyEb14Files(*conn, s, deskUi, [&](long long inx, long long, const std::string& day) {
                return ApplyEb13Results(*conn, inx, day);
            }).succeeded;
    };
    std::thread a(desk, 0), b(desk, 1);
    a.join();
    b.join();
    EXPECT_EQ(applied.load(), 2);
    EXPECT_EQ(Ea13("false_cnt", "261204"), "30");
    EXPECT_EQ(Ea13("false_cnt", "261207"), "20");
    EXPECT_EQ(Count("member_user", "cms_status='2'"), 50);
}

TEST_F(Eb14ApplyTest, TheResultScriptAppliesAFileOnceAndRefusesStrangers) {
    const long long m = Member("1"), c = Member("12", "2");
    Eb13("261204", {{1, "1", m, "0"}, {2, "3", c, "11"}}, "9");
    // Not claimed: nothing happens.
    Eb13("261205", {}, "0");
    EXPECT_NE(ApplyEb13Results(*db, inst.inx, "261205"), "");
    EXPECT_EQ(Ea13("pross_stat", "261205"), "0");
    // A refusal of a serial the file does not hold: refused, nothing changed.
    db->ExecuteSql("insert into " + schema + ".file_ea13_run values (9,'N','0013')");
    EXPECT_NE(ApplyEb13Results(*db, inst.inx, "261204"), "");
    EXPECT_EQ(Ea13("pross_stat"), "9");
    EXPECT_EQ(Status(m), "1");
    db->ExecuteSql("delete from " + schema + ".file_ea13_run");

    db->ExecuteSql("insert into " + schema + ".file_ea13_run values (1,'N','0013')");
    EXPECT_EQ(ApplyEb13Results(*db, inst.inx, "261204"), "");
    EXPECT_EQ(Status(m), "2");
    EXPECT_EQ(Status(c), "13");
    // Later changes survive a second request, which answers an error.
    db->ExecuteSql("update " + schema + ".member_user set cms_status='0' where member_inx=?", {m});
    db->ExecuteSql("insert into " + schema + ".file_ea13_run values (2,'N','0014')");
    EXPECT_NE(ApplyEb13Results(*db, inst.inx, "261204"), "");
    EXPECT_EQ(Status(m), "0");
    EXPECT_EQ(Status(c), "13");
    EXPECT_EQ(Ea13("false_cnt"), "1");
    for (const char* bad : {"", "26120", "2612041", "26120x", "' or 1"})
        EXPECT_EQ(ApplyEb13Results(*db, inst.inx, bad), "잘못된 파일일자") << bad;
}

TEST_F(Eb14ApplyTest, AppliedThroughTheServiceWebServerOnLoopback) {
    test::WebStandIn web(test::TestDatabaseConfig());
    ASSERT_GT(web.port(), 0);
    const long long m = Member("1"), n = Member("1");
    Eb13("261204", {{1, "1", m, "0"}, {2, "1", n, "0"}});
    DropEb14("261204", {{1, "N", "0015"}, {2, "Y", "0000"}});
    const auto run = ApplyEb14Files(*db, session, ui, ServiceWebResultRequest(web.webHost()));
    EXPECT_EQ(run.succeeded, 1) << ::testing::PrintToString(ui.texts());
    EXPECT_EQ(Status(m), "2");
    EXPECT_EQ(Error(m), "예금주 실명번호 불일치");
    EXPECT_EQ(Status(n), "3");
    const std::string log = web.requestLog();
    EXPECT_NE(log.find("loginuserid=tps_" + std::to_string(inst.inx)), std::string::npos) << log;
    EXPECT_NE(log.find("fileday=261204"), std::string::npos) << log;
    // A second request for the applied file changes nothing and answers why.
    const std::string again = ServiceWebResultRequest(web.webHost())(inst.inx, 0, "261204");
    EXPECT_NE(again, "");
    EXPECT_EQ(Status(m), "2");
}

TEST_F(Eb14ApplyTest, WithoutAnAnswerTheRequestReportsFailure) {
    EXPECT_NE(ServiceWebResultRequest("http://127.0.0.1:1")(inst.inx, 0, "261204"), "");
    EXPECT_NE(ServiceWebResultRequest("")(inst.inx, 0, "261204"), "");
}

}  // namespace
}  // namespace qx
