// EB13 creation against a real server: who is selected, what the file holds
// byte for byte, what is recorded, and that a refused or interrupted
// creation leaves nothing behind.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <filesystem>
#include <fstream>
#include <thread>

#include "cms/eb13/eb13_creation.h"
#include "cms/eb13/eb13_record.h"
#include "cms/eb13/eb13_targets.h"
#include "cms/workspace/cms_folders.h"
#include "cms/workspace/creation_lock.h"
#include "cms/workspace/file_names.h"
#include "cms/workspace/head_office_gate.h"
#include "core/session_context.h"
#include "db/database.h"
#include "db/payer_number.h"
#include "platform/codepage.h"
#include "platform/profile_ini.h"
#include "support/institution_fixture.h"
#include "support/scripted_interaction.h"
#include "support/test_database.h"

namespace qx {
namespace {

namespace fs = std::filesystem;

struct Member {
    std::string remove = "1", cms_status = "0", settle_accounts = "1";
    std::string username = "회원", bank_code = "0040000", account_no = "12345678901";
    std::string account_name = "예금주", account_jumin = "800101";
    std::string certificate_kind = "3", certificate_number, cms_agree_status = "0";
};

class Eb13CreationTest : public test::FreshInstitutionTest {
  protected:
    void Open(int cmsrunprg) {
        OpenInstitution(cmsrunprg);
        root = fs::temp_directory_path() / ("qx-eb13-" + std::to_string(inst.inx));
        fs::create_directories(root);
        session.SystemDrive = root.string() + "/";
        session.fileback_folder = (root / "back").string();
        // Thursday 3 December 2026, morning.
        test::PinServerClock(*db, "2026-12-03 10:00:00");
    }
    void SetUp() override { Open(1); }
    void TearDown() override {
        test::UnpinServerClock(*db);
        fs::remove_all(root);
    }

    long long Add(const Member& m) {
        db->ExecuteSql("insert into " + InstitutionSchema(inst.inx) +
                           ".member_user (remove, cms_status, settle_accounts, username, "
                           "bank_code, account_no, account_name, account_jumin, certificate_kind, "
                           "certificate_number, cms_agree_status) values (?,?,?,?,?,?,?,?,?,?,?)",
                       {m.remove, m.cms_status, m.settle_accounts, m.username, m.bank_code,
                        m.account_no, m.account_name, m.account_jumin, m.certificate_kind,
                        m.certificate_number, m.cms_agree_status});
        return db->lastInsertId();
    }
    std::string Column(long long member, const std::string& column) {
        return db->scalar("select " + column + " from " + InstitutionSchema(inst.inx) +
                              ".member_user where member_inx=?",
                          {member});
    }
    long long Count(const std::string& table, const std::string& where = "1") {
        return db->scalarInt("select count(*) from " + InstitutionSchema(inst.inx) + "." + table +
                             " where " + where);
    }
    std::vector<long long> Selected() {
        std::vector<long long> out;
        for (const auto& t : SearchEb13Targets(*db, session)) out.push_back(t.member_inx);
        return out;
    }
    Eb13Result Create(const CivilDate& date, Eb13ClosingQuestion q = Eb13ClosingQuestion::Send) {
        Eb13Request request;
        request.fileDate = date;
        request.targets = SearchEb13Targets(*db, session);
        request.question = q;
        return CreateEb13File(*db, session, ui, request);
    }
    std::vector<std::string> FolderEntries() {
        std::vector<std::string> names;
        const fs::path folder = ExchangeFolder(session, "EB13");
        if (!fs::exists(folder)) return names;
        for (const auto& e : fs::directory_iterator(folder)) names.push_back(e.path().filename());
        return names;
    }
    std::string ReadFile(const std::string& path) { return ReadWholeFile(path).value_or(""); }

    test::ScriptedInteraction ui;
    fs::path root;
    const CivilDate friday{2026, 12, 4};
};

TEST_F(Eb13CreationTest, KftcSelectionMarksBadBankCodesAndOrdersNewFirst) {
    Member cancel;
    cancel.remove = "2";
    cancel.cms_status = "11";
    const long long c1 = Add(cancel);
    const long long n1 = Add({});
    Member deleted;
    deleted.remove = "4";
    deleted.cms_status = "15";
    const long long d15 = Add(deleted);
    deleted.cms_status = "3";
    const long long d3 = Add(deleted);
    Member badBank;
    badBank.bank_code = "004";
    const long long bb = Add(badBank);
    Member requested;
    requested.cms_status = "1";
    Add(requested);
    Member card;
    card.settle_accounts = "5";
    Add(card);
    Member broken;
    broken.username = "줄\r\n바꿈\t";
    const long long n2 = Add(broken);

    EXPECT_EQ(Selected(), (std::vector<long long>{n1, n2, c1, d15, d3}));
    EXPECT_EQ(Column(bb, "cms_status"), "2");
    EXPECT_EQ(Column(bb, "cms_error"), "은행코드오류");
    EXPECT_EQ(Column(n2, "username"), "줄바꿈");
}

TEST_F(Eb13CreationTest, RelaySelectionChecksPhonesAccountsAndEvidence) {
    Open(2);
    Member phone;
    phone.certificate_kind = "1";
    phone.certificate_number = "01012345678";
    const long long ok = Add(phone);
    phone.certificate_number = "0211234567";
    const long long badPhone = Add(phone);
    Member shortAccount;
    shortAccount.account_no = "123456";
    const long long shortAcc = Add(shortAccount);
    Member sevenDigits;
    sevenDigits.account_no = "1234567";
    const long long seven = Add(sevenDigits);  // passes the mark, but the relay wants 8
    Member deleted;
    deleted.remove = "4";
    deleted.cms_status = "3";
    Add(deleted);  // only state 15 is cancelled through the relay
    deleted.cms_status = "15";
    deleted.certificate_kind = "";
    const long long d15 = Add(deleted);

    EXPECT_EQ(Selected(), (std::vector<long long>{ok, d15}));
    EXPECT_EQ(Column(badPhone, "cms_error"), "계좌주휴대폰오류");
    EXPECT_EQ(Column(shortAcc, "cms_error"), "계좌자릿수오류 또는 예금주번호오류");
    EXPECT_EQ(Column(seven, "cms_status"), "0");

    // With agreement evidence required, a new member waits for its evidence.
    session.agreement_evidence_switch = true;
    EXPECT_EQ(Selected(), (std::vector<long long>{d15}));
    db->ExecuteSql("update " + InstitutionSchema(inst.inx) +
                       ".member_user set cms_agree_status='2' where member_inx=?",
                   {ok});
    EXPECT_EQ(Selected(), (std::vector<long long>{ok, d15}));
}

TEST_F(Eb13CreationTest, RelayAcceptsOnlyMobileNumbersOfTenOrElevenDigits) {
    Open(2);
    Member phone;
    phone.certificate_kind = "1";
    std::vector<long long> ok, bad;
    for (const char* n : {"0101234567", "01912345678"}) {
        phone.certificate_number = n;
        ok.push_back(Add(phone));
    }
    for (const char* n : {"012123456789", "0121234567", "010123456"}) {
        phone.certificate_number = n;
        bad.push_back(Add(phone));
    }
    EXPECT_EQ(Selected(), ok);
    for (long long m : bad) EXPECT_EQ(Column(m, "cms_error"), "계좌주휴대폰오류") << m;
}

TEST_F(Eb13CreationTest, ThreeNewAndTwoCancellationsWriteTheFileRowsAndStates) {
    std::vector<long long> news;
    Member m;
    m.account_jumin = "8001011234567";
    news.push_back(Add(m));
    m.account_jumin = "1234567890";
    m.account_name = "";
    news.push_back(Add(m));
    m.bank_code = "0881234";
    news.push_back(Add(m));
    Member cancel;
    cancel.remove = "2";
    cancel.cms_status = "11";
    const long long c1 = Add(cancel);
    cancel.remove = "4";
    cancel.cms_status = "15";
    const long long c2 = Add(cancel);

    const Eb13Result r = Create(friday);
    ASSERT_EQ(r.outcome, Eb13Outcome::Created);
    EXPECT_EQ(r.newCount, 3);
    EXPECT_EQ(r.cancelCount, 2);
    EXPECT_EQ(FolderEntries(), std::vector<std::string>{"EB131204"});

    const std::string bytes = ReadFile(r.path);
    ASSERT_EQ(bytes.size(), 7u * 120u);
    EXPECT_EQ(bytes.substr(0, 33), "H00000000" + inst.org_code + "EB131204261204");
    const std::string first = bytes.substr(120, 120);
    EXPECT_EQ(first.substr(0, 26), "R00000001" + inst.org_code + "2612041");
    EXPECT_EQ(first.substr(26, 20),
              PadPayerNumber(std::to_string(news[0]), 10) + std::string(10, ' '));
    EXPECT_EQ(first.substr(69, 16), "800101          ");
    EXPECT_EQ(bytes.substr(360 + 46, 7), "0880000");
    EXPECT_EQ(bytes.substr(480 + 25, 1), "3");
    const std::string trailer = bytes.substr(720);
    EXPECT_EQ(trailer.substr(27, 40), "0000000500000003000000000000000200000000");

    EXPECT_EQ(Count("ea13",
                    "filename='EB13261204' and create_cnt=3 and delete_cnt=2 and "
                    "total_cnt=5 and pross_stat='0' and send_stat='0'"),
              1);
    EXPECT_EQ(Count("file_ea13", "reg_date='261204'"), 5);
    EXPECT_EQ(db->scalar("select id_no from " + InstitutionSchema(inst.inx) +
                         ".file_ea13 where seq_num=1 and reg_date='261204'"),
              "8001011234567");
    EXPECT_EQ(db->scalar("select concat(reg_kind,'|',user_no,'|',bank_code,'|',account_name,'|',"
                         "oldcms_status) from " +
                         InstitutionSchema(inst.inx) + ".file_ea13 where seq_num=3"),
              "1|" + std::to_string(news[2]) + "|0880000|빈값|0");
    for (long long n : news) EXPECT_EQ(Column(n, "cms_status"), "1");
    EXPECT_EQ(Column(c1, "cms_status"), "12");
    EXPECT_EQ(Column(c2, "cms_status"), "12");
    EXPECT_EQ(Count("pross_log", "prosnum=5 and prostxt like 'EB13261204 파일생성%'"), 1);

    ASSERT_FALSE(ui.shown.empty());
    const auto& closing = ui.shown.back();
    EXPECT_TRUE(closing.question);
    EXPECT_EQ(closing.text,
              "총 '5' 건의 [EB131204] 파일을 생성하였습니다.\r\n\r\n생성한 파일을 바로 올려주시지 "
              "않으면,\r\n송신시 데이터 오류가 발생할 수 있습니다.\r\n\r\n작성한 파일을 송신 "
              "하시겠습니까?");

    // The same day again is refused before anything is written.
    ui.shown.clear();
    Add({});
    EXPECT_EQ(Create(friday).outcome, Eb13Outcome::Refused);
    EXPECT_EQ(ui.texts(), std::vector<std::string>{kEb13DuplicateText});
    EXPECT_EQ(Count("file_ea13"), 5);
}

TEST_F(Eb13CreationTest, TwoHundredFiftyTargetsGoInStatementsOfAHundred) {
    db->ExecuteSql("insert into " + InstitutionSchema(inst.inx) +
                   ".member_user (username, bank_code, account_no, account_jumin) "
                   "select concat('회원', seq), '0040000', '12345678901', '800101' "
                   "from seq_1_to_250");
    const Eb13Result r = Create(friday, Eb13ClosingQuestion::Return);
    ASSERT_EQ(r.outcome, Eb13Outcome::Created);
    EXPECT_EQ(ui.progressed,
              (std::vector<std::pair<long long, long long>>{{100, 250}, {200, 250}, {250, 250}}));
    EXPECT_EQ(Count("file_ea13"), 250);
    EXPECT_EQ(Count("file_ea13", "seq_num between 1 and 250"), 250);
    EXPECT_EQ(Count("member_user", "cms_status='1'"), 250);
    EXPECT_EQ(fs::file_size(r.path), 252u * 120u);
    const std::string& closing = ui.shown.back().text;
    EXPECT_EQ(closing.substr(closing.rfind("\r\n") + 2), kEb13ReturnQuestion);
}

TEST_F(Eb13CreationTest, RefusalsComeInOrderAndWriteNothing) {
    // A Saturday is refused before the empty list is noticed.
    EXPECT_EQ(Create(CivilDate{2026, 12, 5}).outcome, Eb13Outcome::Refused);
    EXPECT_EQ(ui.texts(), std::vector<std::string>{kEb13HolidayText});
    ui.shown.clear();
    EXPECT_EQ(Create(friday).outcome, Eb13Outcome::Refused);
    EXPECT_EQ(ui.texts(), std::vector<std::string>{kEb13NoTargetsText});

    Add({});
    db->ExecuteSql(
        "insert ignore into quorisdex.holiday (inday, holiname) values "
        "('2026-12-08', '시험휴일')");
    ui.shown.clear();
    EXPECT_EQ(Create(CivilDate{2026, 12, 8}).outcome, Eb13Outcome::Refused);
    EXPECT_EQ(ui.texts(), std::vector<std::string>{kEb13HolidayText});
    db->ExecuteSql("delete from quorisdex.holiday where inday='2026-12-08'");

    ui.shown.clear();
    const Eb13Result past = Create(CivilDate{2026, 12, 2});
    EXPECT_EQ(past.outcome, Eb13Outcome::DateReset);
    EXPECT_EQ(past.fileDate, (CivilDate{2026, 12, 3}));
    EXPECT_EQ(ui.texts(), std::vector<std::string>{kEb13PastDateText});

    // A request that is neither an evidenced new member nor a pending
    // cancellation: the user is sent to the EI13 screen first.
    session.agreement_evidence_switch = true;
    Member deleted;
    deleted.remove = "4";
    deleted.cms_status = "3";
    Add(deleted);
    ui.shown.clear();
    ui.answers = {true};
    EXPECT_EQ(Create(friday).outcome, Eb13Outcome::OpenEi13Screen);
    EXPECT_EQ(ui.texts(), std::vector<std::string>{kEb13Ei13FirstText});

    EXPECT_EQ(Count("ea13"), 0);
    EXPECT_EQ(Count("file_ea13"), 0);
    EXPECT_EQ(Count("member_user", "cms_status in ('1','12')"), 0);
    EXPECT_TRUE(FolderEntries().empty());
}

TEST_F(Eb13CreationTest, AnInterruptedCreationLeavesNoHalfState) {
    db->ExecuteSql("insert into " + InstitutionSchema(inst.inx) +
                   ".member_user (username, bank_code, account_no, account_jumin) "
                   "select concat('회원', seq), '0040000', '12345678901', '800101' "
                   "from seq_1_to_180");
    Eb13Request request;
    request.fileDate = friday;
    request.targets = SearchEb13Targets(*db, session);
    // Another workstation requests member 150 after this one listed it.
    db->ExecuteSql("update " + InstitutionSchema(inst.inx) +
                       ".member_user set cms_status='1' where member_inx=?",
                   {request.targets[149].member_inx});
    const Eb13Result r = CreateEb13File(*db, session, ui, request);
    EXPECT_EQ(r.outcome, Eb13Outcome::Refused);
    EXPECT_EQ(ui.texts(), std::vector<std::string>{kEb13StaleTargetsText});
    EXPECT_EQ(Count("ea13"), 0);
    EXPECT_EQ(Count("file_ea13"), 0);
    EXPECT_EQ(Count("member_user", "cms_status='1'"), 1);
    EXPECT_TRUE(FolderEntries().empty());
}

TEST_F(Eb13CreationTest, BranchAndAgencyLoginsCreateNothing) {
    const long long member = Add({});
    for (auto [brinx, aginx] : std::vector<std::pair<long long, long long>>{{1, 0}, {1, 2}}) {
        SessionContext branch = test::SessionFor(inst, brinx, aginx);
        branch.SystemDrive = session.SystemDrive;
        branch.fileback_folder = session.fileback_folder;
        ui.shown.clear();
        Eb13Request request;
        request.fileDate = friday;
        request.targets = SearchEb13Targets(*db, session);
        const Eb13Result r = CreateEb13File(*db, branch, ui, request);
        EXPECT_EQ(r.outcome, Eb13Outcome::Refused) << brinx << "/" << aginx;
        EXPECT_EQ(ui.texts(), std::vector<std::string>{kHeadOfficeOnlyFileText});
    }
    EXPECT_EQ(Count("ea13"), 0);
    EXPECT_EQ(Count("file_ea13"), 0);
    EXPECT_EQ(Column(member, "cms_status"), "0");
    EXPECT_TRUE(FolderEntries().empty());
}

// Fields written into numeric positions of the file are checked in bytes and
// must be ASCII digits: full-width digits and Hangul never reach the file.
TEST_F(Eb13CreationTest, NonDigitBankCodesAndHolderNumbersAreMarked) {
    struct Case {
        int cmsrunprg;
        std::string bank_code, account_jumin, error;  // error empty: selected
    };
    const std::string bank = "은행코드오류";
    const std::string holder = "계좌자릿수오류 또는 예금주번호오류";
    const std::vector<Case> cases = {
        {1, "0040000", "800101", ""},
        {1, "0040000", "8001011234567", ""},
        {1, "００４００００", "800101", bank},  // seven characters, 21 bytes
        {1, "은행코드일곱", "800101", bank},
        {1, "004000", "800101", bank},
        {1, "004000A", "800101", bank},
        {1, "0040000", "８００１０１", holder},
        {1, "0040000", "팔공공일공일", holder},
        {1, "0040000", "80O101", holder},
        {2, "0040000", "800101", ""},
        {2, "0040000", "1234567890", ""},
        {2, "０４００００", "800101", bank},
        {2, "0040000", "８００１０１", holder},  // six characters, 18 bytes
        {2, "0040000", "팔공공일공", holder},    // five characters, 15 bytes
        {2, "0040000", "80010A", holder},
    };
    for (int path : {1, 2}) {
        Open(path);
        std::vector<long long> selected;
        std::vector<std::pair<long long, const Case*>> marked;
        for (const Case& c : cases) {
            if (c.cmsrunprg != path) continue;
            Member m;
            m.bank_code = c.bank_code;
            m.account_jumin = c.account_jumin;
            const long long id = Add(m);
            if (c.error.empty()) {
                selected.push_back(id);
            } else {
                marked.emplace_back(id, &c);
            }
        }
        EXPECT_EQ(Selected(), selected) << "delivery path " << path;
        for (const auto& [id, c] : marked) {
            EXPECT_EQ(Column(id, "cms_status"), "2") << c->bank_code << " " << c->account_jumin;
            EXPECT_EQ(Column(id, "cms_error"), c->error) << c->bank_code << " " << c->account_jumin;
        }
        test::UnpinServerClock(*db);
        fs::remove_all(root);
    }
}

// Institutions with their own payer numbering write the number of
// cmsinx_list, looked up by member number (never the other way round).
TEST_F(Eb13CreationTest, OwnPayerNumbersAreWrittenFromTheMembersRow) {
    session.cmsinx_style = "C-20";
    session.payer_number_length = 12;
    const long long own = Add({});
    const long long plain = Add({});
    const std::string list = InstitutionSchema(inst.inx) + ".cmsinx_list";
    db->ExecuteSql("insert into " + list +
                       " (cl_meminx, cl_cmsinx) values (?, 'KR-7731-A9'), "
                       "(99999, ?), (?, 'LATER-ROW')",
                   {own, std::to_string(plain), own});
    const Eb13Result r = Create(friday);
    ASSERT_EQ(r.outcome, Eb13Outcome::Created);
    const std::string bytes = ReadFile(r.path);
    ASSERT_EQ(bytes.size(), 4u * 120u);
    const std::string pad12 = PadPayerNumber(std::to_string(plain), 12);
    EXPECT_EQ(bytes.substr(120 + 26, 20), "KR-7731-A9          ");
    EXPECT_EQ(bytes.substr(240 + 26, 20), pad12 + std::string(8, ' '));
    // The table keeps the member number; only the file carries the own one.
    EXPECT_EQ(Count("file_ea13", "user_no='" + PadPayerNumber(std::to_string(own), 10) + "'"), 1);
}

// Two creations at once, each on its own connection: exactly one file, and
// it holds exactly the recorded rows.
TEST_F(Eb13CreationTest, TwoCreationsAtOnceGiveOneSoundFile) {
    db->ExecuteSql("insert into " + InstitutionSchema(inst.inx) +
                   ".member_user (username, bank_code, account_no, account_jumin) "
                   "select concat('회원', seq), '0040000', concat('1234567', seq), '800101' "
                   "from seq_1_to_400");
    for (int round = 0; round < 2; ++round) {
        const CivilDate day = round == 0 ? friday : CivilDate{2026, 12, 7};
        if (round == 1) {
            db->ExecuteSql("update " + InstitutionSchema(inst.inx) +
                           ".member_user set cms_status='0'");
        }
        std::atomic<int> ready{0};
        std::array<Eb13Outcome, 2> outcomes{};
        std::array<std::vector<std::string>, 2> texts;
        auto worker = [&](int i) {
            auto conn = test::ConnectTestDatabase();
            conn->setLogSchema(InstitutionSchema(inst.inx));
            test::PinServerClock(*conn, "2026-12-03 10:00:00");
            SessionContext mine = session;
            test::ScriptedInteraction answers;
            Eb13Request request;
            request.fileDate = day;
            request.targets = SearchEb13Targets(*conn, mine);
            // The second lists the same members the other way round, so that
            // records of the two creations can never pass for each other.
            if (i == 1) std::reverse(request.targets.begin(), request.targets.end());
            ++ready;
            while (ready < 2) std::this_thread::yield();
            outcomes[static_cast<std::size_t>(i)] =
                CreateEb13File(*conn, mine, answers, request).outcome;
            texts[static_cast<std::size_t>(i)] = answers.texts();
        };
        std::thread first(worker, 0), second(worker, 1);
        first.join();
        second.join();

        const int created = (outcomes[0] == Eb13Outcome::Created ? 1 : 0) +
                            (outcomes[1] == Eb13Outcome::Created ? 1 : 0);
        ASSERT_EQ(created, 1) << "round " << round;
        const auto& refused = outcomes[0] == Eb13Outcome::Created ? texts[1] : texts[0];
        ASSERT_FALSE(refused.empty());
        EXPECT_TRUE(refused.front() == kEb13DuplicateText ||
                    refused.front() == kEb13StaleTargetsText)
            << refused.front();

        const std::string name = DiskFileName(kEb13Kind, day);
        const auto entries = FolderEntries();
        EXPECT_EQ(std::count(entries.begin(), entries.end(), name), 1);
        for (const auto& e : entries) EXPECT_NE(e[0], '.') << "left behind: " << e;
        const std::string bytes = ReadFile(ExchangeFolder(session, "EB13") + "/" + name);
        ASSERT_EQ(bytes.size(), 402u * 120u) << "round " << round;
        EXPECT_EQ(bytes.find('\0'), std::string::npos);
        // Every data record is the recorded row of its serial number.
        const std::string regDate = Yymmdd(day);
        auto rows = db->OpenRecordset("select seq_num, user_no, bank_code, account_no from " +
                                          InstitutionSchema(inst.inx) +
                                          ".file_ea13 where reg_date=? order by seq_num",
                                      {regDate});
        ASSERT_EQ(rows.size(), 400u);
        for (std::size_t i = 0; i < rows.size(); ++i) {
            const std::string record = bytes.substr((i + 1) * 120, 120);
            ASSERT_EQ(record.substr(0, 9), "R" + PadPayerNumber(std::to_string(i + 1), 8)) << i;
            EXPECT_EQ(rows[i]["seq_num"], std::to_string(i + 1));
            EXPECT_EQ(record.substr(26, 10), PadPayerNumber(rows[i]["user_no"], 10)) << i;
            EXPECT_EQ(record.substr(53, 16).substr(0, rows[i]["account_no"].size()),
                      rows[i]["account_no"])
                << i;
        }
        EXPECT_EQ(bytes.substr(bytes.size() - 120 + 27, 16), "0000040000000400");
        EXPECT_EQ(Count("ea13", "filename='EB13" + regDate + "'"), 1);
        EXPECT_EQ(Count("member_user", "cms_status='1'"), 400);
    }
}

// EB13 + MMDD names the files of the same day of every year: an unsent file
// of another year is never overwritten.
TEST_F(Eb13CreationTest, FileOfTheSameNameOfAnotherYearIsNeverOverwritten) {
    test::PinServerClock(*db, "2027-01-04 10:00:00");
    Add({});
    const Eb13Result first = Create({2027, 1, 5});
    ASSERT_EQ(first.outcome, Eb13Outcome::Created);
    const std::string original = ReadFile(first.path);
    const long long later = Add({});
    ui.shown.clear();
    EXPECT_EQ(Create({2028, 1, 5}).outcome, Eb13Outcome::Refused);
    ASSERT_EQ(ui.shown.size(), 1u);
    EXPECT_NE(ui.shown[0].text.find("EB130105"), std::string::npos) << ui.shown[0].text;
    EXPECT_NE(ui.shown[0].text.find("2027-01-05"), std::string::npos) << ui.shown[0].text;
    EXPECT_EQ(ReadFile(first.path), original);
    EXPECT_EQ(Count("ea13", "filename='EB13280105'"), 0);
    EXPECT_EQ(Count("file_ea13", "reg_date='280105'"), 0);
    EXPECT_EQ(Column(later, "cms_status"), "0");
    EXPECT_EQ(FolderEntries(), std::vector<std::string>{"EB130105"});

    // A file of the name without a readable date is not replaced either.
    std::ofstream(first.path, std::ios::binary | std::ios::trunc) << "garbage";
    ui.shown.clear();
    EXPECT_EQ(Create({2028, 1, 5}).outcome, Eb13Outcome::Refused);
    EXPECT_EQ(ReadFile(first.path), "garbage");
    EXPECT_EQ(Column(later, "cms_status"), "0");
}

// The rows are committed only with their file, and the file stays only with
// its rows.
TEST_F(Eb13CreationTest, FailuresAroundThePublishingLeaveNeitherFileNorRows) {
    // Something takes the file's name while the records are written: the
    // publishing fails, nothing is recorded and the temporary file goes.
    struct NameTaker : test::ScriptedInteraction {
        std::string path;
        void progress(const std::string& t, long long done, long long total) override {
            ScriptedInteraction::progress(t, done, total);
            fs::create_directories(path);
        }
    } taker;
    taker.path = ExchangeFolder(session, "EB13") + "/EB131204";
    const long long member = Add({});
    Eb13Request request;
    request.fileDate = friday;
    request.targets = SearchEb13Targets(*db, session);
    const Eb13Result blocked = CreateEb13File(*db, session, taker, request);
    EXPECT_EQ(blocked.outcome, Eb13Outcome::Refused);
    ASSERT_EQ(taker.texts().size(), 1u);
    EXPECT_EQ(taker.texts()[0].rfind("파일을 만들 수 없습니다: ", 0), 0u) << taker.texts()[0];
    EXPECT_EQ(Count("ea13"), 0);
    EXPECT_EQ(Count("file_ea13"), 0);
    EXPECT_EQ(Column(member, "cms_status"), "0");
    EXPECT_EQ(FolderEntries(), std::vector<std::string>{"EB131204"});
    EXPECT_TRUE(fs::is_directory(taker.path));
    fs::remove(taker.path);

    // The statements after the publishing fail: the published file is taken
    // back with the rows.
    db->ExecuteSql("create trigger " + InstitutionSchema(inst.inx) +
                   ".ea13_refuse before insert on " + InstitutionSchema(inst.inx) +
                   ".ea13 for each row signal sqlstate '45000' set message_text='refused'");
    EXPECT_THROW(Create(friday), DatabaseError);
    EXPECT_EQ(Count("ea13"), 0);
    EXPECT_EQ(Count("file_ea13"), 0);
    EXPECT_EQ(Column(member, "cms_status"), "0");
    EXPECT_TRUE(FolderEntries().empty());
    db->ExecuteSql("drop trigger " + InstitutionSchema(inst.inx) + ".ea13_refuse");

    // And when all goes well the committed rows have their file.
    ui.shown.clear();
    const Eb13Result made = Create(friday);
    ASSERT_EQ(made.outcome, Eb13Outcome::Created);
    EXPECT_EQ(Count("ea13"), 1);
    EXPECT_EQ(fs::file_size(made.path), 3u * 120u);
}

// While another workstation's creation holds the institution's lock, a
// creation waits; when it cannot get it in time it stops and writes nothing.
TEST_F(Eb13CreationTest, CreationWaitsForTheInstitutionsLock) {
    const long long member = Add({});
    auto other = test::ConnectTestDatabase();
    ASSERT_EQ(other->scalar("select get_lock(?, 0)", {CreationLock::Name(session, kEb13Kind)}),
              "1");
    {
        // A short wait for the test's sake.
        const CreationLock mine(*db, session, kEb13Kind, 1);
        EXPECT_FALSE(mine.held());
    }
    other.reset();  // the server releases the lock of a closed connection
    const Eb13Result r = Create(friday);
    EXPECT_EQ(r.outcome, Eb13Outcome::Created);
    EXPECT_EQ(Column(member, "cms_status"), "1");
    // Released on the way out: another connection takes it at once.
    auto third = test::ConnectTestDatabase();
    EXPECT_EQ(third->scalar("select get_lock(?, 0)", {CreationLock::Name(session, kEb13Kind)}),
              "1");
}

}  // namespace
}  // namespace qx
