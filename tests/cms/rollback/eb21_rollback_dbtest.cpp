// Taking back EB21 files against a real server: members get their state from
// before the file, the requests and the relay run go, both local copies are
// removed, files claimed or applied are left alone, and of two desks taking
// back the same file one does it.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <future>

#include "cms/rollback/eb21_rollback.h"
#include "cms/rollback/rollback_fixture.h"
#include "cms/workspace/cms_folders.h"
#include "cms/workspace/cms_record.h"
#include "support/institution_fixture.h"

namespace qx {
namespace {

namespace fs = std::filesystem;

class Eb21RollbackTest : public test::RollbackTest {
  protected:
    Eb21RollbackTest() : RollbackTest("qx-eb21-rollback-") {}

    long long Member(const std::string& cmsStatus) {
        test::MemberRow m;
        m.cms_status = cmsStatus;
        return test::InsertMember(*db, inst.inx, m);
    }
    // A local file of `kind` whose header carries `headerDate` (at byte 28 in
    // an EB file, at 27 in an EA file).
    void Disk(const std::string& kind, const std::string& yymmdd, const std::string& headerDate) {
        const fs::path path =
            fs::path(MakeExchangeFolder(session, kind)) / (kind + yymmdd.substr(2));
        const int nameLength = kind.rfind("EA", 0) == 0 ? 7 : 8;
        std::ofstream(path, std::ios::binary) << RecordBuilder(150)
                                                     .text("H", 1)
                                                     .number(0, 8)
                                                     .text(session.org_code, 10)
                                                     .text(kind + yymmdd.substr(2), nameLength)
                                                     .text(headerDate, 6)
                                                     .finish();
    }
    // EB21 of yymmdd with (member, old state) rows, both disk copies and a relay run.
    void Eb21(const std::string& yymmdd, const std::vector<std::pair<long long, std::string>>& rows,
              const std::string& stat = "0") {
        const std::string name = "EB21" + yymmdd;
        db->ExecuteSql("insert into " + schema +
                           ".ea21 (makedate, filename, total_cnt, total_money, pross_stat) values "
                           "(unix_timestamp()+?, ?, ?, ?, ?)",
                       {++made, name, static_cast<long long>(rows.size()),
                        static_cast<long long>(rows.size()) * 1000, stat});
        long long serial = 0;
        for (const auto& [member, old] : rows) {
            db->ExecuteSql("insert into " + schema +
                               ".file_ea21 (seq_num, reg_date, amount, user_no, oldcms_status) "
                               "values (?,?,1000,?,?)",
                           {++serial, yymmdd, member, old});
        }
        db->ExecuteSql("update " + schema + ".member_user m join " + schema +
                           ".file_ea21 f on f.user_no=m.member_inx set m.cms_status='6' where "
                           "f.reg_date=?",
                       {yymmdd});
        Disk("EB21", yymmdd, yymmdd);
        Disk("EA21", yymmdd, yymmdd);
        db->ExecuteSql("insert into sdsi.filerun (filename, id, stat, sdsiver) values (?,?,5,'v2')",
                       {name.substr(2), session.org_code});
    }
    std::string Status(long long member) {
        return db->scalar("select cms_status from " + schema + ".member_user where member_inx=?",
                          {member});
    }
    long long Count(const std::string& table, const std::string& where, const SqlParams& p = {}) {
        return db->scalarInt("select count(*) from " + table + " where " + where, p);
    }
    bool OnDisk(const std::string& kind, const std::string& mmdd) {
        return fs::exists(fs::path(ExchangeFolder(session, kind)) / (kind + mmdd));
    }
    long long made = 0;  // later files are newer
};

TEST_F(Eb21RollbackTest, RelayPathRestoresMembersDeletesRowsBothFilesAndMovesTheRun) {
    Open(2);
    const long long a = Member("3"), b = Member("7"), c = Member("8");
    // b has two requests in the file (two sale items).
    Eb21("261204", {{a, "3"}, {b, "7"}, {b, "7"}});
    Eb21("261207", {{c, "8"}});
    // A later change does not stop the member going back to its recorded state.
    db->ExecuteSql("update " + schema + ".member_user set cms_status='8' where member_inx=?", {a});

    const auto candidates = ListEb21RollbackCandidates(*db, session);
    ASSERT_EQ(candidates.size(), 2u);
    EXPECT_EQ(candidates[1].filename, "EB21261204");
    EXPECT_EQ(candidates[1].totalCount, 3);
    EXPECT_EQ(candidates[1].totalMoney, 3000);
    EXPECT_EQ(candidates[1].state, "eb22파일 적용전");

    EXPECT_EQ(RollbackEb21Files(*db, session, ui, {"EB21261204"}), 1);
    EXPECT_TRUE(ui.shown.empty());
    EXPECT_EQ(Status(a), "3");
    EXPECT_EQ(Status(b), "7");
    EXPECT_EQ(Status(c), "6");  // the other file's member stays requested
    EXPECT_EQ(Count(schema + ".ea21", "filename='EB21261204'"), 0);
    EXPECT_EQ(Count(schema + ".file_ea21", "reg_date='261204'"), 0);
    EXPECT_EQ(Count(schema + ".file_ea21", "reg_date='261207'"), 1);
    EXPECT_EQ(Count("sdsi.filerun", "filename='21261204' and id=?", {session.org_code}), 0);
    EXPECT_EQ(Count("sdsi.filerun_rollback",
                    "filename='21261204' and id=? and stat=5 and sdsiver='v2' and "
                    "stat_txt='공파일전송 전'",
                    {session.org_code}),
              1);
    EXPECT_EQ(Count("sdsi.filerun", "filename='21261207' and id=?", {session.org_code}), 1);
    EXPECT_FALSE(OnDisk("EB21", "1204"));
    EXPECT_FALSE(OnDisk("EA21", "1204"));
    EXPECT_TRUE(OnDisk("EB21", "1207"));
    EXPECT_TRUE(OnDisk("EA21", "1207"));
    EXPECT_EQ(Count(schema + ".pross_log", "prostxt='EB21261204 파일롤백'"), 1);
}

TEST_F(Eb21RollbackTest, ClearingHousePathLeavesTheRelayTablesAndForeignFilesAlone) {
    Open(1);
    const long long a = Member("3");
    Eb21("261204", {{a, "3"}});
    // A local EB21 of the same MMDD from another year is not this file.
    Disk("EB21", "261204", "251204");
    EXPECT_EQ(RollbackEb21Files(*db, session, ui, {"EB21261204"}), 1);
    EXPECT_EQ(Status(a), "3");
    EXPECT_EQ(Count("sdsi.filerun", "filename='21261204' and id=?", {session.org_code}), 1);
    EXPECT_EQ(Count("sdsi.filerun_rollback", "filename='21261204' and id=?", {session.org_code}),
              0);
    EXPECT_TRUE(OnDisk("EB21", "1204"));
    EXPECT_FALSE(OnDisk("EA21", "1204"));
}

TEST_F(Eb21RollbackTest, ClaimedAppliedUnknownAndHostileNamesAreRefused) {
    Open(1);
    const long long applied = Member("7"), claimed = Member("6"), open = Member("6");
    Eb21("261203", {{applied, "3"}}, "1");
    Eb21("261204", {{claimed, "3"}}, "9");
    Eb21("261205", {{open, "3"}});
    db->ExecuteSql("update " + schema + ".member_user set cms_status='7' where member_inx=?",
                   {applied});
    const auto candidates = ListEb21RollbackCandidates(*db, session);
    ASSERT_EQ(candidates.size(), 1u);
    EXPECT_EQ(candidates[0].filename, "EB21261205");

    EXPECT_EQ(RollbackEb21Files(*db, session, ui,
                                {"EB21261203", "EB21261204", "EB21261299", "EB13261205",
                                 "EB21' or '1'='1", "EB21261205"}),
              1);
    EXPECT_EQ(ui.texts(),
              (std::vector<std::string>{
                  "[EB21261203] 결과가 적용되었거나 없는 파일이므로 롤백할 수 없습니다.",
                  "[EB21261204] 결과가 적용되었거나 없는 파일이므로 롤백할 수 없습니다.",
                  "[EB21261299] 결과가 적용되었거나 없는 파일이므로 롤백할 수 없습니다.",
                  "[EB13261205] 롤백할 수 없는 파일명입니다.",
                  "[EB21' or '1'='1] 롤백할 수 없는 파일명입니다."}));
    EXPECT_EQ(Status(applied), "7");
    EXPECT_EQ(Status(claimed), "6");
    EXPECT_EQ(Status(open), "3");
    EXPECT_EQ(Count(schema + ".file_ea21", "reg_date in ('261203','261204')"), 2);
    EXPECT_TRUE(OnDisk("EB21", "1203"));
    EXPECT_TRUE(OnDisk("EB21", "1204"));

    ui.shown.clear();
    EXPECT_EQ(RollbackEb21Files(*db, session, ui, {}), 0);
    EXPECT_EQ(ui.texts(), std::vector<std::string>{kNothingTickedText});
}

TEST_F(Eb21RollbackTest, TwoDesksTakingBackOneFileOneDoesIt) {
    Open(2);
    std::vector<std::pair<long long, std::string>> rows;
    for (int i = 0; i < 200; ++i) rows.emplace_back(Member("3"), "3");
    Eb21("261204", rows);
    auto other = test::ConnectTestDatabase();
    other->setLogSchema(schema);
    test::ScriptedInteraction otherUi;
    auto second = std::async(std::launch::async, [&] {
        return RollbackEb21Files(*other, session, otherUi, {"EB21261204"});
    });
    const int first = RollbackEb21Files(*db, session, ui, {"EB21261204"});
    const int done = first + second.get();
    EXPECT_EQ(done, 1);
    EXPECT_EQ(ui.shown.size() + otherUi.shown.size(), 1u);
    EXPECT_EQ(Count("sdsi.filerun_rollback", "filename='21261204' and id=?", {session.org_code}),
              1);
    EXPECT_EQ(Count(schema + ".pross_log", "prostxt='EB21261204 파일롤백'"), 1);
    EXPECT_EQ(Count(schema + ".member_user", "cms_status<>'3'"), 0);
}

}  // namespace
}  // namespace qx
