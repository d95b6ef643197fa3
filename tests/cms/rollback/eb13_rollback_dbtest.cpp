// Taking back EB13 files against a real server: members get their state from
// before the file even after later changes, the rows and the relay run go,
// the local copy is removed, and an applied file is left alone.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "cms/rollback/eb13_rollback.h"
#include "cms/rollback/maintenance_password.h"
#include "cms/rollback/rollback_fixture.h"
#include "cms/workspace/cms_folders.h"
#include "cms/workspace/cms_record.h"
#include "support/institution_fixture.h"

namespace qx {
namespace {

namespace fs = std::filesystem;

class Eb13RollbackTest : public test::RollbackTest {
  protected:
    Eb13RollbackTest() : RollbackTest("qx-rollback-") {}

    long long Member(const std::string& cmsStatus, const std::string& remove = "1",
                     const std::string& certificate = "I") {
        test::MemberRow m;
        m.cms_status = cmsStatus;
        m.remove = remove;
        const long long id = test::InsertMember(*db, inst.inx, m);
        db->ExecuteSql(
            "update " + schema + ".member_user set certificate_status=? where member_inx=?",
            {certificate, id});
        return id;
    }
    // EB13 of yymmdd with (member, old state) rows, its disk file and relay run.
    void Eb13(const std::string& yymmdd, const std::vector<std::pair<long long, std::string>>& rows,
              const std::string& stat = "0") {
        const std::string name = "EB13" + yymmdd;
        db->ExecuteSql(
            "insert into " + schema +
                ".ea13 (makedate, filename, create_cnt, total_cnt, pross_stat) values "
                "(unix_timestamp(), ?, ?, ?, ?)",
            {name, static_cast<long long>(rows.size()), static_cast<long long>(rows.size()), stat});
        long long serial = 0;
        for (const auto& [member, old] : rows) {
            db->ExecuteSql("insert into " + schema +
                               ".file_ea13 (seq_num, reg_date, reg_kind, user_no, oldcms_status) "
                               "values (?,?,'1',?,?)",
                           {++serial, yymmdd, member, old});
        }
        const fs::path disk =
            fs::path(MakeExchangeFolder(session, "EB13")) / ("EB13" + yymmdd.substr(2));
        std::ofstream(disk, std::ios::binary) << RecordBuilder(120)
                                                     .text("H", 1)
                                                     .number(0, 8)
                                                     .text(session.org_code, 10)
                                                     .text("EB13" + yymmdd.substr(2), 8)
                                                     .text(yymmdd, 6)
                                                     .finish();
        if (session.cmsrunprg == 1) {
            db->ExecuteSql(
                "insert into kftc.filerun (filename, cominx, orgcode, stat, err_code) "
                "values (?,?,?,5,'E1')",
                {name, inst.inx, session.org_code});
        } else {
            db->ExecuteSql(
                "insert into sdsi.filerun (filename, id, stat, sdsiver) values (?,?,6,'v2')",
                {name.substr(2), session.org_code});
        }
    }
    std::string Of(long long member, const std::string& column) {
        return db->scalar(
            "select " + column + " from " + schema + ".member_user where member_inx=?", {member});
    }
    long long Count(const std::string& table, const std::string& where = "1",
                    const SqlParams& p = {}) {
        return db->scalarInt("select count(*) from " + table + " where " + where, p);
    }
    fs::path Disk(const std::string& mmdd) {
        return fs::path(ExchangeFolder(session, "EB13")) / ("EB13" + mmdd);
    }
};

TEST_F(Eb13RollbackTest, ClearingHousePathRestoresMembersAndMovesTheRun) {
    Open(1);
    const long long a = Member("1"), b = Member("12", "2");
    Eb13("261204", {{a, "0"}, {b, "11"}});
    Eb13("261207", {{Member("1"), "0"}});
    // A later change does not stop the member going back to its recorded state.
    db->ExecuteSql("update " + schema + ".member_user set cms_status='3' where member_inx=?", {a});

    const auto candidates = ListEb13RollbackCandidates(*db, session);
    ASSERT_EQ(candidates.size(), 2u);
    EXPECT_EQ(candidates[0].state, "eb14파일 적용전");

    EXPECT_EQ(RollbackEb13Files(*db, session, ui, {"EB13261204"}), 1);

    EXPECT_EQ(Of(a, "cms_status"), "0");
    EXPECT_EQ(Of(b, "cms_status"), "11");
    EXPECT_EQ(Of(a, "certificate_status"), "I");  // only the relay path clears it
    EXPECT_EQ(Count(schema + ".ea13", "filename='EB13261204'"), 0);
    EXPECT_EQ(Count(schema + ".file_ea13", "reg_date='261204'"), 0);
    EXPECT_EQ(Count(schema + ".file_ea13", "reg_date='261207'"), 1);
    EXPECT_EQ(Count("kftc.filerun", "filename='EB13261204' and orgcode=?", {session.org_code}), 0);
    EXPECT_EQ(Count("kftc.filerun_rollback",
                    "filename='EB13261204' and orgcode=? and stat=5 and err_code='E1' and "
                    "stat_txt='공파일전송 전'",
                    {session.org_code}),
              1);
    EXPECT_FALSE(fs::exists(Disk("1204")));
    EXPECT_TRUE(fs::exists(Disk("1207")));
    EXPECT_EQ(Count(schema + ".pross_log", "prostxt='EB13261204 파일롤백'"), 1);
}

TEST_F(Eb13RollbackTest, RelayPathMovesTheSdsiRunAndClearsCertificatesOfActiveMembers) {
    Open(2);
    const long long active = Member("1", "1", "I"), cancelled = Member("12", "2", "Y");
    Eb13("261204", {{active, "0"}, {cancelled, "11"}});
    EXPECT_EQ(RollbackEb13Files(*db, session, ui, {"EB13261204"}), 1);
    EXPECT_EQ(Of(active, "certificate_status"), "0");
    EXPECT_EQ(Of(cancelled, "certificate_status"), "Y");
    EXPECT_EQ(Count("sdsi.filerun", "filename='13261204' and id=?", {session.org_code}), 0);
    EXPECT_EQ(
        Count(
            "sdsi.filerun_rollback",
            "filename='13261204' and id=? and stat=6 and sdsiver='v2' and stat_txt='공파일전송 전'",
            {session.org_code}),
        1);
}

TEST_F(Eb13RollbackTest, OnlyFilesWithoutAnAppliedResultAreTakenBack) {
    Open(1);
    const long long applied = Member("3"), stuck = Member("1");
    Eb13("261204", {{applied, "0"}}, "1");
    Eb13("261205", {{stuck, "0"}}, "9");  // its result file was refused
    const auto candidates = ListEb13RollbackCandidates(*db, session);
    ASSERT_EQ(candidates.size(), 1u);
    EXPECT_EQ(candidates[0].filename, "EB13261205");

    EXPECT_EQ(RollbackEb13Files(*db, session, ui, {"EB13261204", "EB13261205", "x'; drop"}), 1);
    EXPECT_EQ(Of(applied, "cms_status"), "3");
    EXPECT_EQ(Count(schema + ".ea13", "filename='EB13261204'"), 1);
    EXPECT_EQ(Count(schema + ".file_ea13", "reg_date='261204'"), 1);
    EXPECT_TRUE(fs::exists(Disk("1204")));
    EXPECT_EQ(Of(stuck, "cms_status"), "0");
    EXPECT_EQ(ui.shown.size(), 2u);

    ui.shown.clear();
    EXPECT_EQ(RollbackEb13Files(*db, session, ui, {}), 0);
    EXPECT_EQ(ui.texts(), std::vector<std::string>{kNothingTickedText});
}

TEST(MaintenancePasswordTest, OnlyTheExactTextOpens) {
    EXPECT_TRUE(IsMaintenancePassword("vornadesk"));
    for (const char* wrong :
         {"", "Vornadesk", "vornadesk ", " vornadesk", "vornades", "vornadeskk"})
        EXPECT_FALSE(IsMaintenancePassword(wrong)) << wrong;
}

}  // namespace
}  // namespace qx
