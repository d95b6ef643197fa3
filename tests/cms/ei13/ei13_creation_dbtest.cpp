// Creating the day's EI13 against a real server: the blocks byte for byte,
// the files that are refused or duplicated and what happens to their
// members, the noon rule of relay delivery, the date guards, sending, and
// the chooser's checks when a file is attached.
#include <fmt/format.h>
#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <thread>

#include "cms/ei13/agreement_evidence.h"
#include "cms/ei13/ei13_creation.h"
#include "cms/rollback/ei13_rollback.h"
#include "cms/workspace/cms_folders.h"
#include "members/agreement_file.h"
#include "support/institution_fixture.h"
#include "support/scripted_interaction.h"

namespace qx {
namespace {

namespace fs = std::filesystem;

const CivilDate kDay{2026, 12, 4};

std::string Bytes(std::size_t n, char seed) {
    std::string out(n, '\0');
    for (std::size_t i = 0; i < n; ++i) out[i] = static_cast<char>(seed + i % 7);
    return out;
}

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), {});
}

class Ei13CreationTest : public test::FreshInstitutionTest {
  protected:
    void SetUp() override {
        OpenInstitution(1);
        root = fs::temp_directory_path() / ("qx-ei13-" + std::to_string(inst.inx));
        fs::remove_all(root);
        session.SystemDrive = (root / "desk").string() + "/";
        fs::create_directories(AgreementFolder(session));
    }
    void TearDown() override {
        test::UnpinServerClock(*db);
        fs::remove_all(root);
    }

    long long Member(const std::string& account, const std::string& agree = "1",
                     const std::string& remove = "1", const std::string& cms = "0") {
        test::MemberRow m;
        m.cms_agree_status = agree;
        m.remove = remove;
        m.cms_status = cms;
        m.username = "회원" + account;
        const long long n = test::InsertMember(*db, inst.inx, m);
        db->ExecuteSql("update " + schema +
                           ".member_user set bank_code='0040000', account_no=?, "
                           "account_jumin='800101' where member_inx=?",
                       {account, n});
        return n;
    }
    std::string Put(long long member, const std::string& account, const std::string& date,
                    const std::string& content, const std::string& kind = "1",
                    const std::string& ext = "jpg", const std::string& bank = "004") {
        const std::string name =
            fmt::format("{:010}_{}_{}_{}_{}.{}", member, bank, account, date, kind, ext);
        std::ofstream(fs::path(AgreementFolder(session)) / name, std::ios::binary) << content;
        return name;
    }
    std::string Field(const std::string& column, long long member) {
        return db->scalar(
            "select " + column + " from " + schema + ".member_user where member_inx=?", {member});
    }
    long long Count(const std::string& table, const std::string& where = "1") {
        return db->scalarInt("select count(*) from " + schema + "." + table + " where " + where);
    }

    fs::path root;
    test::ScriptedInteraction ui;
};

// The record as the clearing house lays it out, built here field by field.
std::string ExpectedRecord(const std::string& org, long long serial, long long member,
                           const std::string& account, const std::string& date,
                           const std::string& content) {
    std::string r =
        fmt::format("AE111222{:07}{:10}{:<20}{:<30}004{:<20}{}1{:<5}{:07}", serial, "", org,
                    fmt::format("{:010}", member), account, date, "jpg", content.size()) +
        content;
    r.resize((r.size() + 1023) / 1024 * 1024, ' ');
    return r;
}

TEST_F(Ei13CreationTest, TwoFilesArePackedBlockByBlockAndTheMembersMarked) {
    const long long a = Member("1112223334"), b = Member("5556667778");
    const std::string fa = Bytes(40, 'a'), fb = Bytes(1000, 'A');
    Put(a, "1112223334", "20261201", fa);
    Put(b, "5556667778", "20261202", fb);

    const Ei13Result r = CreateEi13File(*db, session, ui, kDay);

    ASSERT_TRUE(r.created);
    EXPECT_TRUE(r.report.empty());
    EXPECT_EQ(r.count, 2);
    const std::string bytes = ReadAll(r.path);
    EXPECT_EQ(fs::path(r.path).filename(), "EI131204");
    std::string header = fmt::format("AE111211000000020261204{:<20}0000002", inst.org_code);
    header.resize(1024, ' ');
    std::string trailer = fmt::format("AE1112339999999{:<20}00000020000000003", inst.org_code);
    trailer.resize(1024, ' ');
    // a: 119 + 40 bytes in one block; b: 119 + 1000 in two.
    const std::string expected =
        header + ExpectedRecord(inst.org_code, 1, a, "1112223334", "20261201", fa) +
        ExpectedRecord(inst.org_code, 2, b, "5556667778", "20261202", fb) + trailer;
    ASSERT_EQ(bytes.size(), 5u * 1024u);
    EXPECT_EQ(bytes, expected);

    EXPECT_EQ(Field("cms_agree_status", a), "2");
    EXPECT_EQ(Field("cms_agree_status", b), "2");
    EXPECT_EQ(Count("file_ei13", fmt::format("reg_date='261204' and seq_num=1 and user_no={} and "
                                             "bank_code='0040000' and account_no='1112223334' and "
                                             "sign_date='20261201'",
                                             a)),
              1);
    EXPECT_EQ(Count("ei13", "filename='EI13261204' and total_cnt=2 and send_stat='0'"), 1);
    EXPECT_EQ(Count("pross_log", "prostxt='EI13261204 파일생성'"), 1);
    // Listed over any period that holds its creation; its members last serial first.
    const auto listed = ListEi13Files(*db, session, {2000, 1, 1}, {2099, 12, 31});
    ASSERT_EQ(listed.size(), 1u);
    EXPECT_EQ(listed[0].filename, "EI13261204");
    EXPECT_EQ(listed[0].total, 2);
    EXPECT_TRUE(ListEi13Files(*db, session, {2000, 1, 1}, {2001, 1, 1}).empty());
    const auto members = Ei13FileDetail(*db, session, "EI13261204");
    ASSERT_EQ(members.size(), 2u);
    EXPECT_EQ(members[0][0], "회원5556667778");
    EXPECT_EQ(members[1][2], fmt::format("{:010}", a));
    ASSERT_FALSE(ui.shown.empty());
    EXPECT_EQ(ui.shown.back().text,
              "총 '2' 건의 [EI131204] 파일을 생성하였습니다.\r\n\r\n생성한 파일을 바로 "
              "올려주시지 않으면,\r\n송신시 데이터 오류가 발생할 수 있습니다.\r\n\r\n작성한 "
              "파일을 송신 하시겠습니까?");
    // No hidden file is left behind; the packed files left the agreement folder.
    std::size_t files = 0;
    for (const auto& e : fs::directory_iterator(fs::path(r.path).parent_path()))
        files += e.is_regular_file() ? 1 : 0;
    EXPECT_EQ(files, 1u);
    EXPECT_TRUE(fs::is_empty(AgreementFolder(session)));
    EXPECT_EQ(LoadEi13Figures(*db, session).text(), "설정함: 0건 (PC: 0 건)");

    // The day has its file: a second creation is refused.
    ui.shown.clear();
    Put(a, "1112223334", "20261201", fa);
    EXPECT_FALSE(CreateEi13File(*db, session, ui, kDay).created);
    EXPECT_EQ(ui.texts(), std::vector<std::string>{kEi13DuplicateText});

    // Sending: once.
    ui.shown.clear();
    test::PinServerClock(*db, "2026-12-04 10:00:00");
    EXPECT_TRUE(SendEi13File(*db, session, ui, kDay));
    EXPECT_FALSE(SendEi13File(*db, session, ui, kDay));
    EXPECT_EQ(ui.texts(), (std::vector<std::string>{"[EI131204] 파일을 전송하였습니다.",
                                                    kEi13NothingToSendText}));
    EXPECT_EQ(Count("ei13", "send_stat='1'"), 1);
}

TEST_F(Ei13CreationTest, AHundredThousandByteFileFillsNinetyEightBlocks) {
    const long long a = Member("1234567890");
    const std::string big = Bytes(100000, '0');
    Put(a, "1234567890", "20261203", big);
    const Ei13Result r = CreateEi13File(*db, session, ui, kDay);
    ASSERT_TRUE(r.created);
    const std::string bytes = ReadAll(r.path);
    ASSERT_EQ(bytes.size(), (1u + 98u + 1u) * 1024u);
    const std::string record = bytes.substr(1024, 98 * 1024);
    EXPECT_EQ(record.substr(112, 7), "0100000");
    EXPECT_EQ(record.substr(119, 100000), big);
    EXPECT_EQ(record.substr(100119), std::string(233, ' '));
    EXPECT_EQ(bytes.substr(99 * 1024 + 42, 10), "0000000098");
}

TEST_F(Ei13CreationTest, RefusedAndDuplicateFilesAreDeletedAndReported) {
    const long long dup = Member("1111111111");
    const long long wrong = Member("2222222222");
    const long long registered = Member("3333333333", "1", "1", "3");
    const long long fine = Member("4444444444");
    const std::string first = Put(dup, "1111111111", "20261201", Bytes(50, 'x'));
    const std::string later = Put(dup, "1111111111", "20261203", Bytes(60, 'y'));
    const std::string mismatch = Put(wrong, "9999999999", "20261201", Bytes(50, 'x'));
    const std::string state = Put(registered, "3333333333", "20261201", Bytes(50, 'x'));
    const std::string tiny = Put(fine, "4444444444", "20261201", Bytes(29, 'x'));
    const std::string stranger = Put(987654, "5555555555", "20261201", Bytes(50, 'x'));

    const Ei13Result r = CreateEi13File(*db, session, ui, kDay);

    ASSERT_TRUE(r.created);
    EXPECT_EQ(r.count, 1);
    const std::vector<std::string> expected = {
        fmt::format("[회원1111111111] ({:010}) 출금동의자료[{}] 제거, 중복 파일", dup, first),
        fmt::format("[회원2222222222] ({:010}) 출금동의자료[{}] 제거 : 계좌번호(2222222222/"
                    "9999999999) 다름 (상태값 미설정으로 변경됨)",
                    wrong, mismatch),
        fmt::format("[회원3333333333] ({:010}) 출금동의자료[{}] 제거 : CMS상태(3) 신규완료이상 "
                    "(상태값 미설정으로 변경됨)",
                    registered, state),
        fmt::format("[회원4444444444] ({:010}) 출금동의자료[{}] 제거 : 파일크기(29 byte) 오류 "
                    "(상태값 미설정으로 변경됨)",
                    fine, tiny),
        fmt::format("[] (0000987654) 출금동의자료[{}] 제거(실패:파일확인불가-회원없음)", stranger),
    };
    EXPECT_EQ(r.report, expected);
    // Only the later file of the duplicated payer was packed and stays.
    EXPECT_EQ(Count("file_ei13", fmt::format("user_no={} and sign_date='20261203'", dup)), 1);
    EXPECT_EQ(Count("file_ei13"), 1);
    EXPECT_TRUE(fs::is_empty(AgreementFolder(session)));
    std::vector<std::string> packed;
    for (const auto& e : fs::directory_iterator(PackedAgreementFolder(session, "EI13261204")))
        packed.push_back(e.path().filename().string());
    EXPECT_EQ(packed, std::vector<std::string>{later});
    EXPECT_EQ(Field("cms_agree_status", dup), "2");
    EXPECT_EQ(Field("cms_agree_status", wrong), "0");
    EXPECT_EQ(Field("cms_agree_status", fine), "0");
}

TEST_F(Ei13CreationTest, NothingLeftToPackWritesNothing) {
    const long long wrong = Member("2222222222");
    Put(wrong, "2222222222", "20261201", Bytes(50, 'x'), "1", "jpg", "088");
    EXPECT_FALSE(CreateEi13File(*db, session, ui, kDay).created);
    EXPECT_EQ(ui.texts().back(), kEi13NoFilesText);
    EXPECT_NE(ui.texts().front().find("은행(004/088) 다름"), std::string::npos);
    EXPECT_EQ(Count("ei13"), 0);
    EXPECT_FALSE(fs::exists(fs::path(ExchangeFolder(session, "EI13")) / "EI131204"));
}

TEST_F(Ei13CreationTest, TwoDesksCreatingOneDayMakeOneFile) {
    const long long a = Member("1112223334"), b = Member("5556667778");
    Put(a, "1112223334", "20261201", Bytes(40, 'a'));
    SessionContext other = session;
    other.SystemDrive = (root / "desk2").string() + "/";
    fs::create_directories(AgreementFolder(other));
    std::ofstream(
        fs::path(AgreementFolder(other)) / fmt::format("{:010}_004_5556667778_20261201_1.jpg", b),
        std::ios::binary)
        << Bytes(40, 'b');
    std::atomic<int> created{0};
    std::vector<std::vector<std::string>> told(2);
    auto desk = [&](SessionContext s, int i) {
        auto conn = test::ConnectTestDatabase();
        conn->setLogSchema(schema);
        test::ScriptedInteraction person;
        if (CreateEi13File(*conn, s, person, kDay).created) ++created;
        told[static_cast<std::size_t>(i)] = person.texts();
    };
    std::thread one(desk, session, 0), two(desk, other, 1);
    one.join();
    two.join();
    EXPECT_EQ(created.load(), 1);
    EXPECT_EQ(Count("ei13"), 1);
    const bool firstLost = told[0] == std::vector<std::string>{kEi13DuplicateText};
    const bool secondLost = told[1] == std::vector<std::string>{kEi13DuplicateText};
    EXPECT_NE(firstLost, secondLost);
    // The losing desk's file stays for another day.
    EXPECT_EQ(LoadEi13Figures(*db, firstLost ? session : other).files, 1);
}

TEST_F(Ei13CreationTest, AnEb13OfTheDayComesFirstForDiskDelivery) {
    const long long a = Member("1112223334");
    Put(a, "1112223334", "20261201", Bytes(40, 'a'));
    db->ExecuteSql("insert into " + schema + ".ea13 (filename) values ('EB13261204')");
    EXPECT_FALSE(CreateEi13File(*db, session, ui, kDay).created);
    EXPECT_EQ(ui.texts(), std::vector<std::string>{kEi13AfterEb13Text});
    EXPECT_EQ(Field("cms_agree_status", a), "1");
}

TEST_F(Ei13CreationTest, RelayDeliveryStopsAtNoonAndHandsTheFileToTheRelay) {
    session.cmsrunprg = 2;
    const long long a = Member("1112223334");
    Put(a, "1112223334", "20261201", Bytes(300, 'a'));
    test::PinServerClock(*db, "2026-12-04 12:00:00");
    EXPECT_FALSE(CreateEi13File(*db, session, ui, kDay).created);
    EXPECT_EQ(ui.texts(), std::vector<std::string>{kEi13AfternoonText});
    EXPECT_EQ(Field("cms_agree_status", a), "1");

    ui.shown.clear();
    test::PinServerClock(*db, "2026-12-04 11:59:00");
    const Ei13Result r = CreateEi13File(*db, session, ui, kDay);
    ASSERT_TRUE(r.created);
    EXPECT_TRUE(r.path.empty());
    EXPECT_FALSE(fs::exists(fs::path(ExchangeFolder(session, "EI13")) / "EI131204"));
    const long long key = db->scalarInt(
        "select inx from sdsi.agreefilerun where filename='EI13261204' and cominx=? and stat=0",
        {inst.inx});
    ASSERT_GT(key, 0);
    // Start, header (1024), one data block, trailer: the hex text gives back
    // the 3 x 1024 bytes of the file.
    const Recordset rows = db->OpenRecordset(
        "select u_detail, u_end from sdsi.agreefiledetail where u_inx=? order by d_inx", {key});
    std::string hex;
    for (std::size_t i = 1; i < rows.size(); ++i) hex += rows[i][0].substr(22);
    EXPECT_EQ(hex.size(), 3u * 1024u * 2u);
    // The start row names the file ("EI13261204" in hexadecimal).
    EXPECT_EQ(rows[0][0], fmt::format("{:<20}S 45493133323631323034", inst.id));
    for (std::size_t i = 0; i < rows.size(); ++i) EXPECT_EQ(rows[i][1].size(), 12u) << i;
    EXPECT_EQ(Field("cms_agree_status", a), "2");

    ui.shown.clear();
    test::PinServerClock(*db, "2026-12-04 13:00:00");
    EXPECT_TRUE(SendEi13File(*db, session, ui, kDay));
    EXPECT_EQ(ui.texts(), std::vector<std::string>{
                              "※ 오후에 송신한 파일은 다음날 새벽에 송신됩니다.\r\n[EI131204] "
                              "파일을 전송하였습니다."});
    EXPECT_EQ(db->scalarInt("select stat from sdsi.agreefilerun where inx=?", {key}), 1);
}

TEST_F(Ei13CreationTest, TheLatestFileIsRolledBackAndItsMembersSetAgain) {
    const long long a = Member("1112223334"), b = Member("5556667778");
    Put(a, "1112223334", "20261201", Bytes(40, 'a'));
    Put(b, "5556667778", "20261201", Bytes(40, 'b'));
    const Ei13Result r = CreateEi13File(*db, session, ui, kDay);
    ASSERT_TRUE(r.created);
    db->ExecuteSql("update " + schema + ".member_user set cms_agree_status='3'");  // sent
    db->ExecuteSql(
        "insert into kftc.filerun (filename, cominx, orgcode, stat) values ('EI13261204',?,?,5)",
        {inst.inx, inst.org_code});
    const auto offered = LatestEi13RollbackCandidate(*db, session);
    ASSERT_TRUE(offered);
    EXPECT_EQ(offered->filename, "EI13261204");
    EXPECT_EQ(offered->total, 2);
    EXPECT_EQ(offered->state, "파일송신전");

    // Only the file offered: another name changes nothing.
    ui.shown.clear();
    EXPECT_FALSE(RollbackEi13File(*db, session, ui, "EI13261203"));
    EXPECT_EQ(ui.texts(), std::vector<std::string>{"[EI13261203] 롤백할 수 없는 파일입니다."});
    EXPECT_EQ(Count("file_ei13"), 2);

    EXPECT_TRUE(RollbackEi13File(*db, session, ui, "EI13261204"));
    // The files are back where the next file is made from.
    EXPECT_EQ(LoadEi13Figures(*db, session).text(), "설정함: 2건 (PC: 2 건)");
    EXPECT_FALSE(fs::exists(PackedAgreementFolder(session, "EI13261204")));
    EXPECT_EQ(Field("cms_agree_status", a), "1");
    EXPECT_EQ(Field("cms_agree_status", b), "1");
    EXPECT_EQ(Count("ei13"), 0);
    EXPECT_EQ(Count("file_ei13"), 0);
    EXPECT_FALSE(fs::exists(r.path));
    EXPECT_EQ(db->scalarInt("select count(*) from kftc.filerun where filename='EI13261204' and "
                            "orgcode=?",
                            {inst.org_code}),
              0);
    EXPECT_EQ(db->scalarInt("select count(*) from kftc.filerun_rollback where "
                            "filename='EI13261204' and orgcode=? and stat_txt='공파일전송 전'",
                            {inst.org_code}),
              1);
    EXPECT_EQ(Count("pross_log", "prostxt='EI13261204 파일롤백'"), 1);
    EXPECT_FALSE(LatestEi13RollbackCandidate(*db, session));
}

TEST(AgreementChooser, KindsExtensionsAndSizesFromBothSides) {
    const fs::path dir = fs::temp_directory_path() / "qx-agreement-chooser";
    fs::create_directories(dir);
    auto file = [&](const std::string& name, std::size_t size) {
        std::ofstream(dir / name, std::ios::binary) << std::string(size, 'z');
        return (dir / name).string();
    };
    const std::string wrongKind =
        "선택한 출금동의자료의 확장자가 자료구분값[1]과 맞지 않습니다.\r\n알맞은 자료로 다시 "
        "선택 하십시오.";
    struct Case {
        std::string path, kind, error;
    };
    const std::vector<Case> cases = {
        {"", "1", kChooserNothingText},
        {file("a.der", 100), "2", kChooserSignatureText},
        {file("b.mp3", 100), "1", wrongKind},
        {file("c.jpg", 100), "4",
         "선택한 출금동의자료의 확장자가 자료구분값[4]과 맞지 않습니다.\r\n알맞은 자료로 다시 "
         "선택 하십시오."},
        {file("d.jpg", 29), "1",
         "30Byte 이상의 출금동의자료 파일을 선택 하십시오.\r\n선택한 파일 크기 : 29 byte"},
        {file("e.jpg", 30), "1", ""},
        {file("f.PDF", 299999), "3", ""},
        {file("g.wav", 300000), "5",
         "300,000Byte(300Kbyte) 미만의 CMS 출금동의자료 파일을 선택 하십시오.\r\n선택한 파일 "
         "크기 : 300,000 byte"},
        {file("h.wma", 31), "4", ""},
        {(dir / "missing.jpg").string(), "1", kChooserNothingText},
    };
    for (const Case& c : cases) EXPECT_EQ(AgreementChooserError(c.path, c.kind), c.error) << c.path;
    fs::remove_all(dir);
}

TEST(AgreementFileNames, FivePartsAndAKnownExtension) {
    const auto n = ParseAgreementFileName("0000012345_004_12345678_20261201_1.jpeg");
    ASSERT_TRUE(n);
    EXPECT_EQ(n->payer, "0000012345");
    EXPECT_EQ(n->bank3, "004");
    EXPECT_EQ(n->account, "12345678");
    EXPECT_EQ(n->date, "20261201");
    EXPECT_EQ(n->kind, "1");
    EXPECT_EQ(n->ext, "jpeg");
    EXPECT_FALSE(ParseAgreementFileName("0000012345_004_12345678_20261201.jpg"));
    EXPECT_FALSE(ParseAgreementFileName("0000012345_004_12345678_20261201_1_x.jpg"));
    EXPECT_FALSE(ParseAgreementFileName("0000012345_004_12345678_20261201_1.der"));
    EXPECT_EQ(Ei13RecordBlocks(905), 1);
    EXPECT_EQ(Ei13RecordBlocks(906), 2);
    EXPECT_EQ(Ei13RecordBlocks(100000), 98);
}

}  // namespace
}  // namespace qx
