// Real-time inquiry, registration and cancellation through the real library
// against a simulated clearing house in a temporary folder: the checks that
// refuse before anything is written or sent, the request row through its
// life, the member updates of every answer with their history and log, and
// the guards for two desks and for a desk that died mid-request.
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <thread>

#include "center.h"
#include "cms/realtime/realtime_service.h"
#include "cms/transmission/clearing_house_fixture.h"
#include "cms/transmission/kftc_transfer.h"
#include "cms/workspace/cms_folders.h"
#include "db/database.h"
#include "support/institution_fixture.h"
#include "support/scripted_interaction.h"
#include "support/test_database.h"

namespace qx {
namespace {

namespace fs = std::filesystem;

std::string Today() {
    const std::time_t now = std::time(nullptr);
    std::tm tm{};
    localtime_r(&now, &tm);
    char text[16];
    std::strftime(text, sizeof text, "%Y%m%d", &tm);
    return text;
}

// A desk: its own connection, library session and service.
struct Desk {
    std::unique_ptr<Database> db;
    test::ScriptedInteraction ui;
    KftcLibrary lib;
    std::unique_ptr<KftcTransfer> transfer;
    std::unique_ptr<RealtimeService> service;
};

class RealtimeServiceTest : public test::ClearingHouseTest {
  protected:
    void SetUp() override {
        OpenClearingHouse("qx-realtime-");
        EnsureKftcAddservTable(*db, inst.inx);
        center = std::make_unique<center::Center>((root / "center").string());
        desk = open();
    }
    void TearDown() override {
        if (desk && desk->transfer) desk->transfer->Close();
        fs::remove_all(root);
    }
    std::unique_ptr<Desk> open() {
        auto d = std::make_unique<Desk>();
        d->db = test::ConnectTestDatabase();
        d->db->setLogSchema(InstitutionSchema(inst.inx));
        EXPECT_TRUE(d->lib.load(QUORISDEX_CMSCOMM_LIB)) << d->lib.loadError();
        d->transfer = std::make_unique<KftcTransfer>(*d->db, session, d->ui, d->lib);
        d->transfer->pause = [](int) {};
        EXPECT_TRUE(d->transfer->Start()) << ::testing::PrintToString(d->ui.texts());
        d->service = std::make_unique<RealtimeService>(*d->db, session, d->ui, *d->transfer);
        return d;
    }

    // A CMS member with an account; returns its number.
    long long Member(const std::string& account, const std::string& cms = "0",
                     const std::string& agree = "1", const std::string& remove = "1") {
        test::MemberRow m;
        m.cms_status = cms;
        m.cms_agree_status = agree;
        m.remove = remove;
        m.username = "실시간" + account.substr(account.size() - 3);
        const long long n = test::InsertMember(*db, inst.inx, m);
        db->ExecuteSql("update " + schema() +
                           ".member_user set bank_code='0040000', account_no=?, "
                           "account_jumin='800101', account_name='김예금', ext_key=? "
                           "where member_inx=?",
                       {account, "EXT" + account, n});
        return n;
    }
    static std::string Payer(long long n) {
        std::string t = std::to_string(n);
        return std::string(10 - t.size(), '0') + t;
    }
    void Evidence(long long n, const std::string& date = "20260301",
                  const std::string& ext = "jpg") {
        const fs::path folder = MakeExchangeFolder(session, "EVDC");
        std::ofstream(folder / (Payer(n) + "_" + date + "." + ext), std::ios::binary)
            << "evidence of " << n;
    }
    RealtimeRequest For(RealtimeKind kind, long long n, const std::string& account) {
        return {kind, "0040000", account, "800101", Payer(n), "실시간"};
    }
    long long Rows() { return db->scalarInt("select count(*) from " + schema() + ".kftc_addserv"); }
    Recordset MemberRow(long long n) {
        return db->OpenRecordset("select remove, cms_status, cms_agree_status, cms_error from " +
                                     schema() + ".member_user where member_inx=?",
                                 {n});
    }
    Recordset Row(long long key) {
        return db->OpenRecordset("select * from " + schema() + ".kftc_addserv where kas_inx=?",
                                 {key});
    }
    std::vector<std::string> Notes(long long n) {
        std::vector<std::string> out;
        auto rs = db->OpenRecordset("select ilcombo, ilsang, ilstat from " + schema() +
                                        ".iltable where illinkinx=? order by ilkey",
                                    {n});
        for (size_t i = 0; i < rs.size(); ++i)
            out.push_back(rs[i]["ilstat"] + "|" + rs[i]["ilcombo"] + "|" + rs[i]["ilsang"]);
        return out;
    }
    long long LogLines(const std::string& text) {
        return db->scalarInt("select count(*) from " + schema() + ".pross_log where prostxt=?",
                             {text});
    }

    std::unique_ptr<center::Center> center;
    std::unique_ptr<Desk> desk;
};

TEST_F(RealtimeServiceTest, RefusalsBeforeSendingWriteNoRowAndSendNothing) {
    const long long fresh = Member("61000001");
    Evidence(fresh);
    const long long registered = Member("61000002", "3");
    const long long noAgreement = Member("61000003", "0", "0");
    Evidence(noAgreement);
    const long long noEvidence = Member("61000004");
    const long long twoFiles = Member("61000005");
    Evidence(twoFiles, "20260301");
    Evidence(twoFiles, "20260302", "pdf");
    const long long newMember = Member("61000006", "0");
    const long long onHold = Member("61000007", "0", "1", "3");
    Evidence(onHold);
    // Files that are not the member's evidence: a day that does not exist,
    // a kind the clearing house does not take, another member's number.
    const long long wrongNames = Member("61000008");
    Evidence(wrongNames, "20261399");
    Evidence(wrongNames, "20260301", "exe");
    Evidence(fresh, "20260302", "wav");
    fs::rename(MakeExchangeFolder(session, "EVDC") + "/" + Payer(fresh) + "_20260302.wav",
               MakeExchangeFolder(session, "EVDC") + "/" + Payer(fresh) + "1_20260302.wav");

    const std::string reg = "[신규신청(출금이체신청등록)]\r\n";
    struct Case {
        const char* name;
        RealtimeRequest request;
        std::string startsWith;
    };
    auto with = [&](RealtimeRequest r, auto change) {
        change(r);
        return r;
    };
    const RealtimeRequest ok = For(RealtimeKind::Registration, fresh, "61000001");
    const std::vector<Case> cases = {
        {"no kind", with(ok, [](auto& r) { r.kind.reset(); }), kRealtimeRequiredText},
        {"no bank", with(ok, [](auto& r) { r.bankCode.clear(); }), kRealtimeRequiredText},
        {"no account", with(ok, [](auto& r) { r.accountNo.clear(); }), kRealtimeRequiredText},
        {"no holder", with(ok, [](auto& r) { r.holderId.clear(); }), kRealtimeRequiredText},
        {"account of 7 digits", with(ok, [](auto& r) { r.accountNo = "6100000"; }),
         kRealtimeAccountDigitsText},
        {"account with a dash", with(ok, [](auto& r) { r.accountNo = "6100-0001"; }),
         kRealtimeAccountDigitsText},
        {"holder of 7 digits", with(ok, [](auto& r) { r.holderId = "8001011"; }),
         kRealtimeHolderDigitsText},
        {"holder of 13 digits", with(ok, [](auto& r) { r.holderId = "8001011234567"; }),
         kRealtimeHolderDigitsText},
        {"no payer", with(ok, [](auto& r) { r.payerNumber.clear(); }),
         "[신규신청(출금이체신청등록)], [해지신청(출금이체해지등록)]\r\n서비스 이용시 "
         "납부자번호는 반드시 입력해야합니다."},
        {"already 신규신청완료", For(RealtimeKind::Registration, registered, "61000002"),
         reg + "서비스 이용가능한 회원상태 또는 CMS상태가 아닙니다.\r\n이용가능 회원상태 : "
               "정상, CMS상태 : 신규"},
        {"member on hold", For(RealtimeKind::Registration, onHold, "61000007"),
         reg + "서비스 이용가능한 회원상태 또는 CMS상태가 아닙니다."},
        {"unknown payer", with(ok, [](auto& r) { r.payerNumber = "8999999999"; }),
         reg + "서비스 이용가능한 회원상태 또는 CMS상태가 아닙니다."},
        {"branch bank code", with(ok, [](auto& r) { r.bankCode = "0041234"; }),
         reg + "서비스 이용시 은행대표코드만 사용가능합니다.\r\n고객카드에서 은행대표코드로 수정 "
               "후 사용해주시기 바랍니다.\r\n이용가능 은행(은행대표코드) : 산업(002), 기업(003), "
               "국민(004)"},
        {"bank not offered", with(ok, [](auto& r) { r.bankCode = "0990000"; }),
         reg + "서비스 이용시 은행대표코드만 사용가능합니다."},
        {"agreement not set", For(RealtimeKind::Registration, noAgreement, "61000003"),
         reg + "서비스 이용시 동의자료설정상태가 설정함인 경우에만 사용가능합니다.\r\n"
               "고객카드에서 동의자료를 설정 후 사용해주시기 바랍니다."},
        {"no evidence file", For(RealtimeKind::Registration, noEvidence, "61000004"),
         reg + "서비스 이용가능한 동의자료가 없습니다.\r\n고객카드에서 동의자료를 설정후 "
               "사용해주시기 바랍니다."},
        {"two evidence files", For(RealtimeKind::Registration, twoFiles, "61000005"),
         reg + "서비스 이용가능한 동의자료가 서버에 2건 이상 존재합니다.\r\n중복파일 정리를 "
               "위해 쿼리스(0000-0000)으로 연락주시기 바랍니다."},
        {"hostile payer", with(ok, [](auto& r) { r.payerNumber = "1' or '1'='1"; }),
         reg + "서비스 이용가능한 회원상태 또는 CMS상태가 아닙니다."},
        {"evidence names that do not fit", For(RealtimeKind::Registration, wrongNames, "61000008"),
         reg + "서비스 이용가능한 동의자료가 없습니다."},
        {"cancel a new member", For(RealtimeKind::Cancellation, newMember, "61000006"),
         "[해지신청(출금이체해지등록)]\r\n서비스 이용가능한 CMS상태가 아닙니다.\r\n이용가능 "
         "CMS상태 : 신규신청완료, 출금불능, 출금완료, 해지, 해지신청중, 해지불능"},
    };
    const long long before = Rows();
    for (const Case& c : cases) {
        desk->ui.shown.clear();
        const RealtimeOutcome out = desk->service->Request(c.request);
        EXPECT_EQ(out.row, 0) << c.name;
        ASSERT_EQ(desk->ui.shown.size(), 1u) << c.name;
        EXPECT_EQ(desk->ui.shown[0].text.rfind(c.startsWith, 0), 0u)
            << c.name << ": " << desk->ui.shown[0].text;
    }
    EXPECT_EQ(Rows(), before);
    EXPECT_TRUE(center->Rules().empty());
    EXPECT_FALSE(fs::exists(root / "center" / inst.org_code / "realtime" / "request_1"));
    EXPECT_EQ(MemberRow(registered)[0]["cms_status"], "3");
}

TEST_F(RealtimeServiceTest, InquiryAcceptsHolderIdsOfSixAndTenDigitsAndKeepsTheName) {
    center->AddRule("holder 62000001 김실명 800101");
    center->AddRule("holder 62000002 (주)큐리스 1234567890");
    struct Case {
        std::string account, holder, code, name;
    };
    const std::vector<Case> cases = {{"62000001", "800101", "0000", "김실명"},
                                     {"62000002", "1234567890", "0000", "(주)큐리스"},
                                     {"62000001", "810101", "0015", ""}};
    for (const Case& c : cases) {
        const RealtimeOutcome out =
            desk->service->Request({RealtimeKind::Inquiry, "004", c.account, c.holder, "", ""});
        ASSERT_TRUE(out.answered) << ::testing::PrintToString(desk->ui.texts());
        EXPECT_EQ(out.responseCode, c.code);
        EXPECT_EQ(out.registeredName, c.name);
        auto row = Row(out.row);
        EXPECT_EQ(row[0]["kas_divcode"], "50");
        EXPECT_EQ(row[0]["kas_bank_code"], "0040000");
        EXPECT_EQ(row[0]["kas_resultcode"], "0000");
        EXPECT_EQ(row[0]["kas_responsecode"], c.code);
        EXPECT_EQ(row[0]["kas_account_jumin"], c.holder);
        EXPECT_EQ(row[0]["kas_remove"], "1");
        EXPECT_GT(row[0].asInt("kas_etime"), 0);
        if (!c.name.empty()) {
            EXPECT_EQ(row[0]["kas_account_name"], c.name);
        }
    }
    const auto& last = desk->ui.shown.back();
    EXPECT_EQ(last.title, kRealtimeResultTitle);
    EXPECT_EQ(last.text,
              "거래구분 : 계좌실명조회\r\n은행(코드) : 국민(004)\r\n지정출금계좌번호 : "
              "62000001\r\n납부자번호 : \r\n고객명 : \r\n예금주번호 : 810101\r\n고객실명 : "
              "\r\n응답코드 : 0015\r\n응답메세지 : 예금주 실명번호 불일치");
}

TEST_F(RealtimeServiceTest, EveryAnswerMovesTheMemberWithHistoryAndLog) {
    center->AddRule("realtime-refuse 51 63000002 0013");
    center->AddRule("realtime-refuse 51 63000003 0016");
    center->AddRule("realtime-refuse 52 63000005 0018");
    struct Case {
        const char* name;
        RealtimeKind kind;
        std::string account, cmsBefore;
        std::string code, remove, cms, agree, error;
        std::string note, log;
    };
    const std::string cancelCombo = "3|CMS 실시간 부가서비스 출금해지 처리결과|";
    const std::string regCombo = "3|CMS 실시간 부가서비스 출금이체신청 처리결과|";
    const std::vector<Case> cases = {
        {"registration accepted", RealtimeKind::Registration, "63000001", "0", "0000", "1", "3",
         "3", "", regCombo + "CMS상태 (신규) 에서 (신규신청완료) 로 변경",
         "출금이체신청 정상완료, CMS상태 신규신청완료 수정"},
        {"registration refused", RealtimeKind::Registration, "63000002", "0", "0013", "1", "2", "1",
         "계좌번호 오류", regCombo + "CMS상태 (신규) 에서 (신규신청불능) 로 변경",
         "출금이체신청 실패, CMS상태 신규신청불능 수정"},
        {"already registered", RealtimeKind::Registration, "63000003", "0", "0016", "1", "3", "P",
         "기 등록된 출금이체 계좌", regCombo + "CMS상태 (신규) 에서 (신규신청완료) 로 변경",
         "출금이체신청 실패, CMS상태 신규신청완료 수정"},
        {"cancellation from 출금불능", RealtimeKind::Cancellation, "63000004", "8", "0000", "2",
         "13", "1", "",
         cancelCombo + "회원상태 (정상) 에서 (해지), CMS상태 (출금불능) 에서 (해지완료) 로 변경",
         "출금해지 정상완료, 회원상태 해지, CMS상태 해지완료 수정"},
        {"cancellation refused", RealtimeKind::Cancellation, "63000005", "3", "0018", "2", "14",
         "1", "출금이체 미신청 계좌",
         cancelCombo +
             "회원상태 (정상) 에서 (해지), CMS상태 (신규신청완료) 에서 (해지불능) 으로 변경",
         "출금해지 실패, 회원상태 해지, CMS상태 해지불능 수정"},
    };
    for (const Case& c : cases) {
        const long long n = Member(c.account, c.cmsBefore);
        if (c.kind == RealtimeKind::Registration) Evidence(n);
        const RealtimeOutcome out = desk->service->Request(For(c.kind, n, c.account));
        ASSERT_TRUE(out.answered) << c.name << ::testing::PrintToString(desk->ui.texts());
        EXPECT_EQ(out.responseCode, c.code) << c.name;
        EXPECT_TRUE(out.memberChanged) << c.name;
        EXPECT_EQ(out.closing, "CMS 실시간 부가서비스 결과 (응답코드:" + c.code + ")");
        auto m = MemberRow(n);
        EXPECT_EQ(m[0]["remove"], c.remove) << c.name;
        EXPECT_EQ(m[0]["cms_status"], c.cms) << c.name;
        EXPECT_EQ(m[0]["cms_agree_status"], c.agree) << c.name;
        EXPECT_EQ(m[0]["cms_error"], c.error) << c.name;
        EXPECT_EQ(Notes(n), std::vector<std::string>{c.note}) << c.name;
        EXPECT_EQ(LogLines(" (" + Payer(n) + ")  [CMS 실시간 부가서비스] " + c.log), 1) << c.name;
        auto row = Row(out.row);
        EXPECT_EQ(row[0]["kas_cms_status"], c.cmsBefore) << c.name;
        EXPECT_EQ(row[0]["kas_post_cms_status"], c.cms) << c.name;
        EXPECT_EQ(row[0]["kas_responsecode"], c.code) << c.name;
        EXPECT_EQ(row[0]["kas_responsestr"], c.code == "0000" ? "정상처리" : c.error) << c.name;
        EXPECT_EQ(row[0]["kas_member_inx"], std::to_string(n));
        EXPECT_EQ(row[0]["kas_extkey"], "EXT" + c.account);
    }
}

TEST_F(RealtimeServiceTest, AMemberChangedMeanwhileIsNotOverwritten) {
    const long long n = Member("64000001", "7");
    // Between the request and its answer, a withdrawal file takes the member.
    desk->transfer->pause = [&](int) {
        db->ExecuteSql("update " + schema() + ".member_user set cms_status='6' where member_inx=?",
                       {n});
    };
    const RealtimeOutcome out =
        desk->service->Request(For(RealtimeKind::Cancellation, n, "64000001"));
    ASSERT_TRUE(out.answered);
    EXPECT_EQ(out.responseCode, "0000");
    EXPECT_FALSE(out.memberChanged);
    EXPECT_EQ(desk->ui.shown.back().text, kRealtimeMemberChangedText);
    EXPECT_EQ(MemberRow(n)[0]["remove"], "1");
    EXPECT_EQ(MemberRow(n)[0]["cms_status"], "6");
    EXPECT_TRUE(Notes(n).empty());
    EXPECT_EQ(Row(out.row)[0]["kas_post_cms_status"], "6");
}

TEST_F(RealtimeServiceTest, ALibraryFailureLeavesTheRowAsFarAsItGotWithTheError) {
    const long long n = Member("65000001", "3");
    // The clearing house loses the request before it is answered.
    desk->transfer->pause = [&](int) {
        for (const auto& e : fs::directory_iterator(root / "center" / inst.org_code / "realtime"))
            fs::remove(e.path());
    };
    const RealtimeOutcome out =
        desk->service->Request(For(RealtimeKind::Cancellation, n, "65000001"));
    EXPECT_FALSE(out.answered);
    ASSERT_GT(out.row, 0);
    auto row = Row(out.row);
    EXPECT_EQ(row[0]["kas_resultcode"], "0000");
    EXPECT_EQ(row[0]["kas_responsecode"], "13");
    EXPECT_EQ(row[0]["kas_responsestr"], "접수된 요청이 없습니다.");
    EXPECT_EQ(row[0]["kas_etime"], "0");
    EXPECT_EQ(row[0]["kas_post_cms_status"], "");
    EXPECT_EQ(MemberRow(n)[0]["cms_status"], "3");
    EXPECT_TRUE(Notes(n).empty());
    EXPECT_NE(
        desk->ui.shown.back().text.find("작업명 : CMS 실시간 부가서비스 요청\r\n에러코드 : 13"),
        std::string::npos);
    EXPECT_EQ(LogLines("작업명 : CMS 실시간 부가서비스 요청, 에러코드 : 13, 에러메세지 : 접수된 "
                       "요청이 없습니다."),
              1);
}

TEST_F(RealtimeServiceTest, TwoDesksRegisteringOneMemberMakeOneRegistration) {
    const long long n = Member("66000001");
    Evidence(n);
    auto other = open();
    RealtimeOutcome second;
    // The second desk asks while the first waits for its answer.
    desk->transfer->pause = [&](int) {
        std::thread([&] {
            second = other->service->Request(For(RealtimeKind::Registration, n, "66000001"));
        }).join();
    };
    const RealtimeOutcome first =
        desk->service->Request(For(RealtimeKind::Registration, n, "66000001"));
    other->transfer->Close();
    EXPECT_TRUE(first.answered);
    EXPECT_EQ(first.responseCode, "0000");
    EXPECT_EQ(second.row, 0);
    EXPECT_EQ(other->ui.shown.back().text, kRealtimeBusyText);
    EXPECT_EQ(db->scalarInt("select count(*) from " + schema() +
                                ".kftc_addserv where kas_member_inx=? and kas_divcode='51'",
                            {n}),
              1);
    // Once answered, the member is registered and a further request is refused.
    other = open();
    EXPECT_EQ(other->service->Request(For(RealtimeKind::Registration, n, "66000001")).row, 0);
    EXPECT_EQ(MemberRow(n)[0]["cms_status"], "3");
    EXPECT_EQ(Notes(n).size(), 1u);
    other->transfer->Close();
}

TEST_F(RealtimeServiceTest, ARequestCutOffBeforeItsAnswerIsNotRegisteredTwice) {
    const long long n = Member("67000001");
    Evidence(n);
    // The desk dies after the clearing house took the request.
    desk->transfer->pause = [](int) { throw std::runtime_error("killed"); };
    EXPECT_THROW(desk->service->Request(For(RealtimeKind::Registration, n, "67000001")),
                 std::runtime_error);
    auto row = db->OpenRecordset(
        "select * from " + schema() + ".kftc_addserv where kas_member_inx=? and kas_divcode='51'",
        {n});
    ASSERT_EQ(row.size(), 1u);
    EXPECT_EQ(row[0]["kas_resultcode"], "0000");
    EXPECT_EQ(row[0]["kas_responsecode"], "");
    EXPECT_EQ(row[0]["kas_etime"], "0");
    EXPECT_EQ(MemberRow(n)[0]["cms_status"], "0");

    // A repeat at once finds the open request.
    desk->transfer->pause = [](int) {};
    EXPECT_EQ(desk->service->Request(For(RealtimeKind::Registration, n, "67000001")).row, 0);
    EXPECT_EQ(desk->ui.shown.back().text, kRealtimeBusyText);

    // Later the repeat goes out, and the clearing house says it already holds it.
    db->ExecuteSql(
        "update " + schema() + ".kftc_addserv set kas_stime=kas_stime-601 where kas_inx=?",
        {row[0]["kas_inx"]});
    const RealtimeOutcome again =
        desk->service->Request(For(RealtimeKind::Registration, n, "67000001"));
    ASSERT_TRUE(again.answered);
    EXPECT_EQ(again.responseCode, "0016");
    auto m = MemberRow(n);
    EXPECT_EQ(m[0]["cms_status"], "3");
    EXPECT_EQ(m[0]["cms_agree_status"], "P");
}

TEST_F(RealtimeServiceTest, KeptResultsHistoryFiltersAndMemberSearch) {
    center->AddRule("realtime-refuse 51 68000002 0016");
    const long long a = Member("68000001");
    Evidence(a);
    const long long b = Member("68000002");
    Evidence(b);
    const long long c = Member("68000003", "8");
    const long long gone = Member("68000004", "0", "1", "4");
    ASSERT_TRUE(desk->service->Request(For(RealtimeKind::Registration, a, "68000001")).answered);
    ASSERT_TRUE(desk->service->Request(For(RealtimeKind::Registration, b, "68000002")).answered);
    ASSERT_TRUE(desk->service->Request(For(RealtimeKind::Cancellation, c, "68000003")).answered);

    desk->ui.shown.clear();
    EXPECT_FALSE(desk->service->ResultList(std::nullopt, Today(), Today()));
    EXPECT_EQ(desk->ui.texts(), std::vector<std::string>{kRealtimeKindMissingText});
    auto kept = desk->service->ResultList(RealtimeKind::Registration, Today(), Today());
    ASSERT_TRUE(kept);
    EXPECT_EQ(kept->headers.size(), 8u);
    ASSERT_EQ(kept->rows.size(), 2u);
    EXPECT_EQ(kept->rows[0][3], Payer(a));
    EXPECT_EQ(kept->rows[0][6], "승인(0000)");
    EXPECT_EQ(kept->rows[1][4], "68000002");
    EXPECT_EQ(kept->rows[1][6], "승인실패(0016)");
    EXPECT_TRUE(desk->service->ResultList(RealtimeKind::Registration, "20000101", "20000102")
                    ->rows.empty());

    struct Case {
        const char* name;
        RealtimeHistoryFilter filter;
        std::vector<std::string> payers;  // newest first
    };
    const std::vector<Case> cases = {
        {"kind 51", {"", "51", "", "6800000"}, {Payer(b), Payer(a)}},
        {"kind 52", {"", "52", "", "6800000"}, {Payer(c)}},
        {"after 13", {"", "", "13", ""}, {Payer(c)}},
        {"before 8", {"8", "", "", ""}, {Payer(c)}},
        {"by external key", {"", "", "", "EXT68000002"}, {Payer(b)}},
        {"by payer", {"", "", "", std::to_string(a)}, {Payer(a)}},
    };
    for (const Case& cs : cases) {
        auto h = desk->service->History(cs.filter);
        std::vector<std::string> payers;
        for (const auto& row : h.rows)
            if (row[12].rfind("EXT6800000", 0) == 0) payers.push_back(row[1]);
        EXPECT_EQ(payers, cs.payers) << cs.name;
    }
    auto h = desk->service->History({"", "", "13", ""});
    ASSERT_FALSE(h.rows.empty());
    EXPECT_EQ(h.headers[10], "처리후CMS상태");
    EXPECT_EQ(h.rows[0][7], "출금해지");
    EXPECT_EQ(h.rows[0][8], "정상");
    EXPECT_EQ(h.rows[0][9], "출금불능");
    EXPECT_EQ(h.rows[0][10], "해지완료");

    auto found = desk->service->SearchMembers({RealtimeMemberField::Account, "6800000", ""});
    std::vector<std::string> payers;
    for (const auto& row : found.rows) payers.push_back(row[6]);
    EXPECT_EQ(payers, (std::vector<std::string>{Payer(c), Payer(b), Payer(a)}));
    EXPECT_EQ(std::count(payers.begin(), payers.end(), Payer(gone)), 0);
    found = desk->service->SearchMembers({RealtimeMemberField::Account, "6800000", "13"});
    ASSERT_EQ(found.rows.size(), 1u);
    EXPECT_EQ(found.rows[0][7], "해지완료");
    EXPECT_EQ(found.rows[0][8], "해지");
}

}  // namespace
}  // namespace qx
