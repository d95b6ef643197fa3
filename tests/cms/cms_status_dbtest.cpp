// Housekeeping of the exchange folders and the three panels of the status
// screen, against the real database and a scratch system drive.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>

#include "cms/workspace/cms_folders.h"
#include "cms/workspace/cms_record.h"
#include "cms/workspace/cms_status.h"
#include "cms/workspace/file_names.h"
#include "cms/workspace/head_office_gate.h"
#include "cms/workspace/housekeeping.h"
#include "platform/profile_ini.h"
#include "support/institution_fixture.h"
#include "support/scripted_interaction.h"

namespace qx {
namespace {

namespace fs = std::filesystem;

constexpr const char* kUnreadable = "처리할 수 없는 형식의 파일입니다.";

// One institution per delivery path, made once: the tests clear its file
// tables and relay rows before each case.
const test::TestInstitution& Institution(Database& db, int cmsrunprg) {
    static std::map<int, test::TestInstitution> made;
    auto it = made.find(cmsrunprg);
    if (it == made.end()) {
        it = made.emplace(cmsrunprg, test::CreateTestInstitution(db, cmsrunprg)).first;
    }
    return it->second;
}

class CmsStatusTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { db_ = test::ConnectTestDatabase().release(); }
    static void TearDownTestSuite() {
        delete db_;
        db_ = nullptr;
    }

    void SetUp() override {
        const char* drive = std::getenv("QUORISDEX_DRIVE");
        const fs::path base = drive && *drive ? fs::path(drive) : fs::temp_directory_path();
        dir_ =
            base / ("qx-status-" +
                    std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        Use(1);
    }
    void TearDown() override {
        test::UnpinServerClock(*db_);
        db_->ExecuteSql("delete from quorisdex.holiday where holiname='status test'");
        fs::remove_all(dir_);
    }

    // Switches to the institution of a delivery path with empty file tables.
    void Use(int cmsrunprg) {
        inst_ = &Institution(*db_, cmsrunprg);
        session_ = test::SessionFor(*inst_);
        session_.cmsrunprg = cmsrunprg;
        session_.SystemDrive = dir_.string() + "/";
        session_.fileback_folder = (dir_ / "fileback").string();
        for (const char* table : {"ea13", "ea21", "ei13", "file_ea11"}) {
            db_->ExecuteSql("delete from " + InstitutionSchema(inst_->inx) + "." + table);
        }
        db_->ExecuteSql("delete from sdsi.filerun where id in (?, 'OTHER00000')",
                        {inst_->org_code});
    }

    std::string Schema() const { return InstitutionSchema(inst_->inx); }

    void Ea13(const std::string& filename, const std::string& prossStat,
              const std::string& sendStat = "0", int create = 3, int remove = 1,
              const std::string& made = "2026-12-04 10:00:00") {
        db_->ExecuteSql("insert into " + Schema() +
                            ".ea13 (makedate, filename, create_cnt, delete_cnt, total_cnt, "
                            "pross_stat, send_stat) values (unix_timestamp(?),?,?,?,?,?,?)",
                        {made, filename, create, remove, create + remove, prossStat, sendStat});
    }
    void Ea21(const std::string& filename, const std::string& prossStat,
              const std::string& sendStat = "0", long long count = 2, long long money = 1234567) {
        db_->ExecuteSql("insert into " + Schema() +
                            ".ea21 (makedate, filename, total_cnt, total_money, pross_stat, "
                            "send_stat) values (unix_timestamp('2026-12-04 10:00:00'),?,?,?,?,?)",
                        {filename, count, money, prossStat, sendStat});
    }
    void Relay(const std::string& name, int stat, const std::string& recvdate,
               const std::string& id = "") {
        db_->ExecuteSql(
            "insert into sdsi.filerun (filename, filediv, id, company, stat, senddate, recvdate, "
            "sdsiver) values (?, 'MEM', ?, '시험', ?, ?, ?, '140512')",
            {name, id.empty() ? inst_->org_code : id, stat, recvdate, recvdate});
    }
    void Holiday(const std::string& day) {
        db_->ExecuteSql(
            "insert ignore into quorisdex.holiday (inday, holiname) values (?, 'status test')",
            {day});
    }

    std::string Exchange(const std::string& kind, const std::string& name) {
        return (fs::path(MakeExchangeFolder(session_, kind)) / name).string();
    }
    // A sound file of the kind for the date: header, one record, trailer.
    std::string PutFile(const std::string& kind, const CivilDate& date,
                        const std::string& org = "") {
        const std::string code = org.empty() ? inst_->org_code : org;
        const int length = RecordLength(kind);
        std::string bytes = HeaderRecord(kind, code, date);
        bytes += RecordBuilder(length).text("R", 1).number(1, 8).text(code, 10).finish();
        bytes += TrailerRecord(kind, code, date, {{1, 8}, {1, 8}, {0, 8}, {0, 8}, {0, 8}});
        return Put(kind, DiskFileName(kind, date), bytes);
    }
    std::string Put(const std::string& kind, const std::string& name, const std::string& bytes) {
        const std::string path = Exchange(kind, name);
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }
    std::string Archived(const std::string& kind, const std::string& yyyy,
                         const std::string& name) const {
        return (dir_ / "fileback" / inst_->id / kind / yyyy / name).string();
    }

    static std::vector<std::string> Remarks(const StatusPanel& p) {
        std::vector<std::string> out;
        for (const auto& r : p.rows) out.push_back(r.back());
        return out;
    }

    static Database* db_;
    const test::TestInstitution* inst_ = nullptr;
    SessionContext session_;
    fs::path dir_;
    test::ScriptedInteraction ui_;
};

Database* CmsStatusTest::db_ = nullptr;

const CivilDate kDec4{2026, 12, 4};

TEST_F(CmsStatusTest, Eb13AndEb14AreDeletedOnlyWhenNoRequestIsOpen) {
    const CivilDate dec5{2026, 12, 5}, dec6{2026, 12, 6}, dec7{2026, 12, 7};
    // Applied, no row at all, still waiting, being applied.
    Ea13("EB13261204", "1");
    Ea13("EB13261206", "0");
    Ea13("EB13261207", "9");
    for (const CivilDate& d : {kDec4, dec5, dec6, dec7}) {
        PutFile("EB13", d);
        PutFile("EB14", d);
    }
    // An applied file of another date leaves this date's files alone.
    Ea13("EB13261203", "1");

    const StatusPanel panel = BuildEb13Panel(*db_, session_, ui_, kDec4);
    EXPECT_TRUE(ui_.shown.empty());
    EXPECT_FALSE(fs::exists(Exchange("EB13", "EB131204")));
    EXPECT_FALSE(fs::exists(Exchange("EB14", "EB141204")));
    EXPECT_FALSE(fs::exists(Exchange("EB13", "EB131205")));
    EXPECT_FALSE(fs::exists(Exchange("EB14", "EB141205")));
    EXPECT_FALSE(fs::exists(Archived("EB14", "2026", "EB141204")))
        << "the clean-up deletes, it does not archive";
    EXPECT_TRUE(fs::exists(Exchange("EB13", "EB131206")));
    EXPECT_TRUE(fs::exists(Exchange("EB14", "EB141206")));
    // A result whose application was interrupted is still needed where the
    // processing screen looks for it: neither deleted nor archived.
    EXPECT_TRUE(fs::exists(Exchange("EB13", "EB131207")));
    EXPECT_TRUE(fs::exists(Exchange("EB14", "EB141207")));
    EXPECT_FALSE(fs::exists(Archived("EB13", "2026", "EB131207")));
    EXPECT_FALSE(fs::exists(Archived("EB14", "2026", "EB141207")));
    for (const char* waiting : {"20261206", "20261207"}) {
        EXPECT_FALSE(CleanUpEb13(*db_, session_, waiting).acted) << waiting;
        EXPECT_FALSE(ArchiveEb13(*db_, session_, waiting).acted) << waiting;
    }
}

TEST_F(CmsStatusTest, BranchAndAgencyLoginsNeitherSeeNorTidyTheFiles) {
    Ea13("EB13261204", "1");
    const std::string eb13 = PutFile("EB13", kDec4);
    const std::string eb14 = PutFile("EB14", kDec4);
    Ea21("EB21261204", "1");
    const std::string eb22 = PutFile("EB22", kDec4);
    for (auto [brinx, aginx] : std::vector<std::pair<long long, long long>>{{1, 0}, {1, 1}}) {
        SessionContext branch = test::SessionFor(*inst_, brinx, aginx);
        branch.SystemDrive = session_.SystemDrive;
        branch.LoginId = inst_->id;  // the worst case: the head office's own folders
        branch.fileback_folder = session_.fileback_folder;
        ui_.shown.clear();
        const CmsStatus status = BuildCmsStatus(*db_, branch, ui_);
        EXPECT_TRUE(status.refused);
        EXPECT_EQ(ui_.texts(), std::vector<std::string>{kHeadOfficeOnlyFileText});
        EXPECT_TRUE(status.eb13.rows.empty());
        // The panels alone refuse as well, silently.
        EXPECT_TRUE(BuildEb13Panel(*db_, branch, ui_, kDec4).rows.empty());
        EXPECT_TRUE(BuildEb21Panel(*db_, branch, ui_, kDec4).rows.empty());
        EXPECT_TRUE(BuildEb11Panel(*db_, branch, ui_).rows.empty());
        for (const auto& path : {eb13, eb14, eb22}) EXPECT_TRUE(fs::exists(path)) << path;
    }
    EXPECT_FALSE(BuildCmsStatus(*db_, session_, ui_).refused);
    EXPECT_FALSE(fs::exists(eb13));
}

TEST_F(CmsStatusTest, FileOfTheSameDayOfAnotherYearIsNotTakenForThisYearsFile) {
    // This year's EB13 of the 4th is applied; last year's EB14 of the 4th
    // still lies in the exchange folder under the same name.
    Ea13("EB13261204", "1");
    Ea13("EB13251204", "0");
    PutFile("EB13", kDec4);
    const std::string lastYear = PutFile("EB14", {2025, 12, 4});
    const HousekeepingResult r = CleanUpEb13(*db_, session_, "20261204");
    EXPECT_TRUE(r.acted);
    EXPECT_FALSE(fs::exists(Exchange("EB13", "EB131204")));
    EXPECT_TRUE(fs::exists(lastYear));
    EXPECT_EQ(r.kept, std::vector<std::string>{lastYear});
    EXPECT_FALSE(ArchiveEb13(*db_, session_, "20251204").acted) << "last year's still waits";
}

TEST_F(CmsStatusTest, ArchiveMovesFilesIntoTheKindAndYearFolder) {
    Ea13("EB13261204", "1");
    const std::string eb13 = PutFile("EB13", kDec4);
    const std::string eb14 = PutFile("EB14", kDec4);
    const auto original = ReadWholeFile(eb14);
    ASSERT_TRUE(original);
    HousekeepingResult r = ArchiveEb13(*db_, session_, "20261204");
    EXPECT_TRUE(r.acted);
    EXPECT_TRUE(r.failed.empty());
    EXPECT_FALSE(fs::exists(eb13));
    EXPECT_FALSE(fs::exists(eb14));
    ASSERT_TRUE(fs::exists(Archived("EB13", "2026", "EB131204")));
    EXPECT_EQ(ReadWholeFile(Archived("EB14", "2026", "EB141204")), original);

    // Waiting for its result: nothing moves.
    Ea13("EB13261205", "0");
    const std::string waiting = PutFile("EB14", {2026, 12, 5});
    EXPECT_FALSE(ArchiveEb13(*db_, session_, "20261205").acted);
    EXPECT_TRUE(fs::exists(waiting));

    // EB21/EB22 only once applied.
    Ea21("EB21261204", "0");
    const std::string eb22 = PutFile("EB22", kDec4);
    EXPECT_FALSE(ArchiveEb21(*db_, session_, "20261204").acted);
    EXPECT_TRUE(fs::exists(eb22));
    db_->ExecuteSql("update " + Schema() + ".ea21 set pross_stat='1'");
    PutFile("EB21", kDec4);
    EXPECT_TRUE(ArchiveEb21(*db_, session_, "20261204").acted);
    EXPECT_TRUE(fs::exists(Archived("EB22", "2026", "EB221204")));
    EXPECT_TRUE(fs::exists(Archived("EB21", "2026", "EB211204")));
    EXPECT_FALSE(fs::exists(eb22));

    // EI13 once sent.
    db_->ExecuteSql("insert into " + Schema() + ".ei13 (filename, send_stat) values (?, '2')",
                    {"EI13261204"});
    Put("EI13", "EI131204", RecordBuilder(120).text("H", 1).blanks(16).text("261204", 6).finish());
    EXPECT_FALSE(ArchiveEi13(*db_, session_, "20261204").acted);
    db_->ExecuteSql("update " + Schema() + ".ei13 set send_stat='5'");
    EXPECT_TRUE(ArchiveEi13(*db_, session_, "20261204").acted);
    EXPECT_TRUE(fs::exists(Archived("EI13", "2026", "EI131204")));

    // EB11 once its records are stored; very old files without asking.
    PutFile("EB11", kDec4);
    EXPECT_FALSE(ArchiveEb11(*db_, session_, "20261204").acted);
    db_->ExecuteSql("insert into " + Schema() +
                    ".file_ea11 (reg_date, pross_stat) values "
                    "('20261204', '0')");
    EXPECT_TRUE(ArchiveEb11(*db_, session_, "20261204").acted);
    EXPECT_TRUE(fs::exists(Archived("EB11", "2026", "EB111204")));
    PutFile("EB11", {2004, 3, 2});
    EXPECT_TRUE(ArchiveEb11(*db_, session_, "20040302").acted);
    EXPECT_TRUE(fs::exists(Archived("EB11", "2004", "EB110302")));

    // EB12 while an EB11 record of the day still waits for its answer: kept.
    PutFile("EB12", kDec4);
    EXPECT_FALSE(ArchiveEb12(*db_, session_, "20261204").acted);
    db_->ExecuteSql("update " + Schema() + ".file_ea11 set pross_stat='1'");
    EXPECT_TRUE(ArchiveEb12(*db_, session_, "20261204").acted);
    EXPECT_TRUE(fs::exists(Archived("EB12", "2026", "EB121204")));

    // By code after a file was applied: kk + yyyy + MMDD.
    PutFile("EB22", {2027, 1, 5});
    EXPECT_TRUE(ArchiveByCode(session_, "2220270105").acted);
    EXPECT_TRUE(fs::exists(Archived("EB22", "2027", "EB220105")));
    EXPECT_FALSE(fs::exists(Exchange("EB22", "EB220105")));
    for (const char* bad : {"", "22", "222027010", "22abcd0105", "2220271305"}) {
        EXPECT_FALSE(ArchiveByCode(session_, bad).acted) << bad;
    }
}

TEST_F(CmsStatusTest, UndatedFilesAreNeverDeletedOrArchived) {
    // No row: a dated file would be deleted. A header without a date must not be.
    std::string bad = HeaderRecord("EB13", inst_->org_code, kDec4);
    bad.replace(27, 6, "2612X4");
    const std::string eb13 = Put("EB13", "EB131204", bad);
    const std::string eb14 = PutFile("EB14", kDec4);
    // A header naming another day than the file's own name.
    const std::string other = Put("EB13", "EB131208", HeaderRecord("EB13", inst_->org_code, kDec4));

    BuildEb13Panel(*db_, session_, ui_, kDec4);
    EXPECT_TRUE(fs::exists(eb13));
    EXPECT_TRUE(fs::exists(other));
    EXPECT_EQ(ui_.texts(), (std::vector<std::string>{kUnreadable, kUnreadable}));
    // The EB14 of the 4th is archived by its own (sound) header; its undated
    // partner name stays.
    EXPECT_FALSE(fs::exists(eb14));
    EXPECT_TRUE(fs::exists(Archived("EB14", "2026", "EB141204")));
    EXPECT_FALSE(fs::exists(Archived("EB13", "2026", "EB131204")));

    // The routines themselves refuse anything but a real date.
    for (const char* d : {"", "2026120", "2026-12-04", "20261232", "abcdefgh"}) {
        EXPECT_FALSE(CleanUpEb13(*db_, session_, d).acted) << d;
        EXPECT_FALSE(ArchiveEb13(*db_, session_, d).acted) << d;
        EXPECT_FALSE(ArchiveEb12(*db_, session_, d).acted) << d;
    }
    EXPECT_TRUE(fs::exists(eb13));
}

TEST_F(CmsStatusTest, Eb11PanelChecksEveryRecordAndNeverReadsPastTheEnd) {
    const std::string org = inst_->org_code;
    PutFile("EB11", {2026, 12, 1});  // sound
    // Foreign institution in a data record.
    {
        std::string f = HeaderRecord("EB11", org, {2026, 12, 2});
        f += RecordBuilder(120).text("R", 1).number(1, 8).text("1234567890", 10).finish();
        f += TrailerRecord("EB11", org, {2026, 12, 2}, {{1, 8}, {1, 8}, {0, 8}, {0, 8}, {0, 8}});
        Put("EB11", "EB111202", f);
    }
    // A record type that does not exist.
    {
        std::string f = HeaderRecord("EB11", org, {2026, 12, 3});
        f += RecordBuilder(120).text("X", 1).number(1, 8).text(org, 10).finish();
        f += TrailerRecord("EB11", org, {2026, 12, 3}, {{1, 8}, {1, 8}, {0, 8}, {0, 8}, {0, 8}});
        Put("EB11", "EB111203", f);
    }
    // Cut off inside the trailer.
    {
        std::string f = HeaderRecord("EB11", org, kDec4);
        f += RecordBuilder(120).text("R", 1).number(1, 8).text(org, 10).finish();
        f += TrailerRecord("EB11", org, kDec4, {{1, 8}, {1, 8}, {0, 8}, {0, 8}, {0, 8}})
                 .substr(0, 70);
        Put("EB11", "EB111204", f);
    }
    // Counts: 7 new, 2 cancelled, 1 cancelled at will; a non-numeric count shows 0.
    {
        std::string f = HeaderRecord("EB11", org, {2026, 12, 5});
        f += TrailerRecord("EB11", org, {2026, 12, 5}, {{10, 8}, {7, 8}, {0, 8}, {2, 8}, {1, 8}});
        Put("EB11", "EB111205", f);
        std::string g = HeaderRecord("EB11", org, {2026, 12, 6});
        std::string t =
            TrailerRecord("EB11", org, {2026, 12, 6}, {{1, 8}, {1, 8}, {0, 8}, {0, 8}, {0, 8}});
        t.replace(35, 8, "00A00001");
        Put("EB11", "EB111206", g + t);
    }
    // Already stored: archived before the panel is listed.
    db_->ExecuteSql("insert into " + Schema() + ".file_ea11 (reg_date) values ('20261207')");
    PutFile("EB11", {2026, 12, 7});

    const StatusPanel p = BuildEb11Panel(*db_, session_, ui_);
    EXPECT_TRUE(ui_.shown.empty());
    EXPECT_TRUE(p.highlighted);
    ASSERT_EQ(p.rows.size(), 6u);
    EXPECT_TRUE(fs::exists(Archived("EB11", "2026", "EB111207")));

    const std::string bad = "잘못된 승인의뢰(EB11)파일 입니다.(처리불가능)";
    const std::string foreign = "이용기관코드가 다른파일입니다.(처리불가능)";
    const std::string open = "파일 미처리 상태 입니다. 조속한 처리 바랍니다.";
    EXPECT_EQ(Remarks(p), (std::vector<std::string>{open, foreign, bad, bad, open, open}));
    EXPECT_EQ(p.rows[0][1], "EB111201");
    EXPECT_EQ(p.rows[0][2], "20261201");
    EXPECT_EQ((std::vector<std::string>(p.rows[0].begin() + 3, p.rows[0].end() - 1)),
              (std::vector<std::string>{"1", "0", "0"}));
    EXPECT_EQ((std::vector<std::string>(p.rows[4].begin() + 3, p.rows[4].end() - 1)),
              (std::vector<std::string>{"7", "2", "1"}));
    EXPECT_EQ(p.rows[5][3], "0");
    EXPECT_EQ(p.rows[3][3], "") << "a bad file is not counted";
    EXPECT_EQ(p.rows[0][0].size(), 19u) << "yyyy-mm-dd hh:mm:ss: " << p.rows[0][0];
    // Nothing of a bad file is removed.
    EXPECT_TRUE(fs::exists(Exchange("EB11", "EB111204")));

    ASSERT_EQ(p.columns.size(), 7u);
    const std::vector<int> widths{1800, 1400, 1000, 1000, 1000, 1000, 5400};
    const std::vector<int> aligns{4, 4, 4, 7, 7, 7, 1};
    std::string captions;
    for (std::size_t i = 0; i < p.columns.size(); ++i) {
        captions += (i ? "," : "") + p.columns[i].caption;
        EXPECT_EQ(p.columns[i].width, widths[i]);
        EXPECT_EQ(p.columns[i].alignment, aligns[i]);
    }
    EXPECT_EQ(captions, "생성일자,파일명,파일일자,신규,해지,임의해지,비고");

    // An empty folder: no rows, no highlight.
    for (const auto& e : fs::directory_iterator(MakeExchangeFolder(session_, "EB11"))) {
        fs::remove(e.path());
    }
    EXPECT_FALSE(BuildEb11Panel(*db_, session_, ui_).highlighted);
}

TEST_F(CmsStatusTest, KftcReceiptDatesSkipHolidaysAndAgeWarnings) {
    Holiday("2033-06-06");  // Monday
    // Sent (empty send_stat text) so that the advice column speaks.
    Ea13("EB13330603", "0", "5");                               // Friday -> Wednesday
    Ea21("EB21330603", "0", "5");                               // Friday -> Tuesday
    Ea13("EB13330613", "0", "5", 3, 1, "2026-12-04 09:00:00");  // receipt Wed 15th
    Ea13("EB13330614", "0", "5", 3, 1, "2026-12-04 08:00:00");  // receipt Thu 16th
    Ea13("EB13330617", "0", "0", 3, 1, "2026-12-04 07:00:00");  // not sent yet
    Ea13("EB13330616", "9", "5", 3, 1, "2026-12-04 11:00:00");  // being applied
    Ea13("EB13330610", "1", "5");                               // applied: not listed
    const CivilDate today{2033, 6, 20};

    const StatusPanel p = BuildEb13Panel(*db_, session_, ui_, today);
    ASSERT_EQ(p.rows.size(), 5u);
    // '0' before '9', newest first.
    EXPECT_EQ(p.rows[0][1], "EB13330603");
    EXPECT_EQ(p.rows[0][0], "2026-12-04 10:00:00");
    EXPECT_EQ(p.rows[0][2], "33-06-08");
    EXPECT_EQ(p.rows[0][3], "3");
    EXPECT_EQ(p.rows[0][4], "1");
    EXPECT_EQ(p.rows[0][5], "경고 : 금융결제원에서 파일이 삭제 될 수 있습니다.");
    EXPECT_EQ(p.rows[1][1], "EB13330613");
    EXPECT_EQ(p.rows[1][2], "33-06-15");
    EXPECT_EQ(p.rows[1][5], "경고 : 금융결제원에서 파일이 삭제 될 수 있습니다.") << "five days old";
    EXPECT_EQ(p.rows[2][1], "EB13330614");
    EXPECT_EQ(p.rows[2][2], "33-06-16");
    EXPECT_EQ(p.rows[2][5], "오후 2시 이후 파일을 수신하여 주십시오.") << "four days old";
    EXPECT_EQ(p.rows[3][5], "파일송신전");
    EXPECT_EQ(p.rows[4][1], "EB13330616");
    EXPECT_EQ(p.rows[4][5], "파일적용중");

    const StatusPanel w = BuildEb21Panel(*db_, session_, ui_, {2033, 6, 9});
    ASSERT_EQ(w.rows.size(), 1u);
    EXPECT_EQ(w.rows[0][2], "33-06-07");
    EXPECT_EQ(w.rows[0][3], "2");
    EXPECT_EQ(w.rows[0][4], "1,234,567");
    EXPECT_EQ(w.rows[0][5], "오전 10시 이후 파일을 수신하여 주십시오.");
    std::string captions;
    for (const auto& c : w.columns) captions += c.caption + ",";
    EXPECT_EQ(captions, "생성일자,파일명,수신예정일,청구건수,청구금액,비고,");
}

TEST_F(CmsStatusTest, ResultFileInTheExchangeFolderAsksForProcessing) {
    Ea13("EB13261204", "0", "5", 3, 1, "2026-12-04 10:00:00");
    Ea13("EB13261205", "0", "5", 3, 1, "2026-12-05 10:00:00");
    PutFile("EB14", kDec4);
    Ea21("EB21261204", "0", "0");
    PutFile("EB22", kDec4);
    const StatusPanel p = BuildEb13Panel(*db_, session_, ui_, {2026, 12, 7});
    ASSERT_EQ(p.rows.size(), 2u);
    const std::string open = "파일 미처리 상태 입니다. 조속한 처리 바랍니다.";
    EXPECT_EQ(p.rows[0][5], "오후 2시 이후 파일을 수신하여 주십시오.");
    EXPECT_EQ(p.rows[1][1], "EB13261204");
    EXPECT_EQ(p.rows[1][5], open);
    EXPECT_TRUE(fs::exists(Exchange("EB14", "EB141204"))) << "waiting result is kept";
    const StatusPanel w = BuildEb21Panel(*db_, session_, ui_, {2026, 12, 7});
    ASSERT_EQ(w.rows.size(), 1u);
    EXPECT_EQ(w.rows[0][5], open) << "overrides the send state text";
}

TEST_F(CmsStatusTest, RelayRowsShowTheRunStateOfTheirOwnInstitution) {
    Use(2);
    Ea13("EB13261201", "0", "0", 1, 0, "2026-12-01 10:00:00");
    Ea13("EB13261202", "0", "0", 1, 0, "2026-12-02 10:00:00");
    Ea13("EB13261203", "0", "0", 1, 0, "2026-12-03 10:00:00");
    Ea13("EB13261204", "0", "0", 1, 0, "2026-12-04 10:00:00");
    Ea13("EB13261130", "0", "5", 1, 0, "2026-11-30 10:00:00");
    Ea13("EB13261208", "1", "5");  // applied: not listed through the relay
    Relay("13261201", 5, "261202");
    Relay("13261202", 3, "26120212");
    Relay("13261130", 4, "261201");
    // Another institution's run of the same name is not ours.
    Relay("13261203", 11, "261204", "OTHER00000");
    Ea21("EB21261204", "0");
    Relay("21261204", 5, "261207");

    const StatusPanel p = BuildEb13Panel(*db_, session_, ui_, {2026, 12, 7});
    ASSERT_EQ(p.rows.size(), 5u);
    std::map<std::string, std::vector<std::string>> by;
    for (const auto& r : p.rows) by[r[1]] = r;
    EXPECT_EQ(by["EB13261204"][5], "파일송신전") << "no run yet";
    EXPECT_EQ(by["EB13261203"][5], "파일송신전") << "another institution's run";
    EXPECT_EQ(by["EB13261202"][5], "송신오류");
    EXPECT_EQ(by["EB13261201"][5], "12월02일 13시  수신예정 자동처리됩니다.");
    // Receipt dates one business day on: Monday the 30th -> Tuesday.
    EXPECT_EQ(by["EB13261130"][2], "26-12-01");
    EXPECT_EQ(by["EB13261204"][2], "26-12-07") << "Friday -> Monday";
    // Stat 4 has no text: the age decides.
    EXPECT_EQ(by["EB13261130"][5], "경고 : 쿼리스CMS(0000-0000)로 문의주시기 바랍니다.");
    Relay("13261204", 4, "261207");
    const StatusPanel q = BuildEb13Panel(*db_, session_, ui_, {2026, 12, 7});
    for (const auto& r : q.rows) by[r[1]] = r;
    EXPECT_EQ(by["EB13261204"][5], "자동 처리됩니다.");

    const StatusPanel w = BuildEb21Panel(*db_, session_, ui_, {2026, 12, 7});
    ASSERT_EQ(w.rows.size(), 1u);
    EXPECT_EQ(w.rows[0][5], "12월07일 13시 수신예정 자동처리됩니다.");
    EXPECT_EQ(w.rows[0][2], "26-12-07");
}

TEST_F(CmsStatusTest, OwnDeliveryPathShowsNoReceiptDateNorAdvice) {
    Use(3);
    Ea13("EB13261204", "0", "5");
    Ea13("EB13261203", "9", "5");  // only '0' rows outside the clearing-house path
    const StatusPanel p = BuildEb13Panel(*db_, session_, ui_, {2027, 1, 30});
    ASSERT_EQ(p.rows.size(), 1u);
    EXPECT_EQ(p.rows[0][2], "");
    EXPECT_EQ(p.rows[0][5], "");
}

TEST_F(CmsStatusTest, WholeStatusUsesTheServerDate) {
    Ea13("EB13261204", "0", "5");
    // The server says the 14th: the receipt of the 8th is six days old.
    test::PinServerClock(*db_, "2026-12-14 09:00:00");
    EXPECT_EQ(BuildCmsStatus(*db_, session_, ui_).eb13.rows.at(0)[5],
              "경고 : 금융결제원에서 파일이 삭제 될 수 있습니다.");
    test::PinServerClock(*db_, "2026-12-10 09:00:00");
    EXPECT_EQ(BuildCmsStatus(*db_, session_, ui_).eb13.rows.at(0)[5],
              "오후 2시 이후 파일을 수신하여 주십시오.");
}

}  // namespace
}  // namespace qx
