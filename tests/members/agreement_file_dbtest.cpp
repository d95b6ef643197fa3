// Agreement evidence files: the file rules, one member's file and the batch
// setting from a folder.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "core/session_context.h"
#include "db/database.h"
#include "members/agreement_file.h"
#include "members/member_rules.h"
#include "support/institution_fixture.h"
#include "support/scripted_interaction.h"
#include "support/test_database.h"

namespace qx {
namespace {

namespace fs = std::filesystem;

class MemberAgreementTest : public test::FreshInstitutionTest {
  protected:
    void SetUp() override {
        OpenInstitution();
        root = fs::temp_directory_path() / ("qx-agree-" + std::to_string(inst.inx));
        fs::create_directories(root / "in");
        session.SystemDrive = (root / "drive").string() + "/";
    }
    void TearDown() override { fs::remove_all(root); }

    long long NewCmsMember() {
        db->ExecuteSql("insert into " + schema +
                       ".member_user (username, settle_accounts, bank_code, account_no, remove, "
                       "cms_status, cms_agree_status) values ('동의', '1', '004', '12345678901', "
                       "'1', '0', '0')");
        return db->lastInsertId();
    }
    std::string File(const std::string& name, long long size) {
        const fs::path p = root / "in" / name;
        std::ofstream(p, std::ios::binary) << std::string(static_cast<std::size_t>(size), 'x');
        return p.string();
    }

    fs::path root;
};

TEST_F(MemberAgreementTest, FileRules) {
    EXPECT_EQ(AgreementFileError(File("a.jpg", 300000), "1_서면"), "동의자료 용량초과(300000byte)");
    EXPECT_EQ(AgreementFileError(File("b.jpg", 299999), "1_서면"), "");
    EXPECT_EQ(AgreementFileError(File("c.bmp", 100), "1_서면"), "미지원 동의자료확장자(BMP)");
    EXPECT_EQ(AgreementFileError(File("d.jpg", 100), "2_공인전자서명"),
              "미지원 동의자료(2_공인전자서명)");
    EXPECT_EQ(AgreementFileError(File("e.wav", 100), "1_서면"), "동의자료구분과 확장자 미일치");
    EXPECT_EQ(AgreementFileError(File("f.pdf", 100), "5_ARS"), "동의자료구분과 확장자 미일치");
    EXPECT_EQ(AgreementFileError((root / "in" / "none.jpg").string(), "1_서면"),
              "동의자료 경로확인 불가,");
}

TEST_F(MemberAgreementTest, OneMembersFileIsCopiedAndMarked) {
    const long long m = NewCmsMember();
    test::ScriptedInteraction ui;
    ASSERT_TRUE(SetAgreementFile(*db, session, ui, m, File("scan.jpg", 1000), "1_서면"));
    EXPECT_EQ(
        db->scalar("select cms_agree_status from " + schema + ".member_user where member_inx=?",
                   {m}),
        "1");
    const std::string today = db->scalar("select date_format(now(),'%Y%m%d')");
    EXPECT_TRUE(fs::exists(AgreementFolder(session) + TenDigits(m) + "_004_12345678901_" + today +
                           "_1.jpg"));
    test::ScriptedInteraction again;
    EXPECT_FALSE(SetAgreementFile(*db, session, again, m, File("scan2.jpg", 1000), "1_서면"));
    EXPECT_EQ(again.texts(),
              std::vector<std::string>{
                  "출금동의자료 파일이 이미 설정되어 있습니다. 재설정하시겠습니까?"});
    test::ScriptedInteraction tiny;
    EXPECT_FALSE(SetAgreementFile(*db, session, tiny, m, File("tiny.jpg", 29), "1_서면"));
    EXPECT_EQ(tiny.texts(),
              std::vector<std::string>{"30Byte 이상의 출금동의자료 파일을 선택 하십시오."});
}

TEST_F(MemberAgreementTest, BatchSettingFromAFolder) {
    const long long good = NewCmsMember();
    const long long big = NewCmsMember();
    const long long done = NewCmsMember();
    db->ExecuteSql("update " + schema + ".member_user set cms_agree_status='1' where member_inx=?",
                   {done});
    File(TenDigits(good) + ".jpg", 1000);
    File(std::to_string(big) + ".mp3", 300000);
    File(TenDigits(done) + ".jpg", 1000);
    File("memo.txt", 10);
    auto candidates = ScanAgreementFolder(*db, session, (root / "in").string());
    ASSERT_EQ(candidates.size(), 2u);
    EXPECT_EQ(candidates[0].member_inx, good);
    EXPECT_EQ(candidates[0].kind, "1_서면");
    EXPECT_EQ(candidates[0].error, "");
    EXPECT_EQ(candidates[1].member_inx, big);
    EXPECT_EQ(candidates[1].kind, "4_녹취");
    EXPECT_EQ(candidates[1].error, "동의자료 용량초과(300000byte)");
    test::ScriptedInteraction ui;
    ui.answers = {true};
    EXPECT_EQ(ApplyAgreementCandidates(*db, session, ui, candidates), 1);
    EXPECT_EQ(ui.texts(), (std::vector<std::string>{
                              "오류내역이 없는 회원은 정상 처리합니다. 진행 하시겠습니까?",
                              "동의자료 일괄설정이 1건 완료 되었습니다."}));
    EXPECT_EQ(
        db->scalar("select cms_agree_status from " + schema + ".member_user where member_inx=?",
                   {good}),
        "1");
    EXPECT_EQ(
        db->scalar("select cms_agree_status from " + schema + ".member_user where member_inx=?",
                   {big}),
        "0");
    EXPECT_EQ(db->scalarInt("select count(*) from " + schema +
                            ".pross_log where prostxt='동의자료 일괄설정 1건 완료'"),
              1);
}

// Copies a workbook of tests/members/data into the test's folder.
std::string Workbook(const fs::path& folder, const std::string& name) {
    const fs::path target = folder / name;
    fs::copy_file(fs::path(QUORISDEX_TEST_DATA_DIR) / "members" / "data" / name, target,
                  fs::copy_options::overwrite_existing);
    return target.string();
}

TEST_F(MemberAgreementTest, WorkbookRowsAreTestedAndTheFaultlessOnesSet) {
    auto member = [&](const std::string& ext, const std::string& settle, const std::string& cms) {
        db->ExecuteSql("insert into " + schema +
                           ".member_user (username, ext_key, settle_accounts, bank_code, "
                           "account_no, remove, cms_status, cms_agree_status) values "
                           "('엑셀', ?, ?, '004', '12345678901', '1', ?, '0')",
                       {ext, settle, cms});
        return db->lastInsertId();
    };
    const long long ok = member("EXT-OK", "1", "0");
    const long long ok2 = member("EXT-OK2", "1", "0");
    const long long big = member("EXT-BIG", "1", "0");
    const long long card = member("EXT-CARD", "5", "0");
    const long long done = member("EXT-DONE", "1", "3");
    File("ok.jpg", 1000);
    File("voice.wav", 1000);
    File("big.pdf", 300000);
    File("note.txt", 100);

    test::ScriptedInteraction scan;
    const auto rows =
        ScanAgreementWorkbook(*db, session, scan, Workbook(root / "in", "agreement_batch.xls"));
    ASSERT_TRUE(rows) << (scan.shown.empty() ? "" : scan.shown[0].text);
    EXPECT_TRUE(scan.shown.empty());
    std::vector<std::string> errors, seqs;
    for (const auto& r : *rows) {
        errors.push_back(r.error);
        seqs.push_back(r.seq);
    }
    EXPECT_EQ(seqs, (std::vector<std::string>{"1", "2", "3", "4", "5", "6", "7", "8", "9", "10"}));
    EXPECT_EQ(errors,
              (std::vector<std::string>{"", "", "동의자료 용량초과(300000byte)",
                                        "미지원 동의자료(2_공인전자서명)", "CMS고객 아님",
                                        "신규상태인 회원 확인 불가", "데이터 없음",
                                        "동의자료구분과 확장자 미일치", "동의자료 경로확인 불가,",
                                        "미지원 동의자료확장자(TXT)"}));
    EXPECT_EQ((*rows)[0].member_inx, ok);
    EXPECT_EQ((*rows)[0].path, (root / "in" / "ok.jpg").string());

    auto candidates = *rows;
    test::ScriptedInteraction yes;
    yes.defaultAnswer = true;
    EXPECT_EQ(ApplyAgreementCandidates(*db, session, yes, candidates), 2);
    EXPECT_EQ(yes.shown.front().text, "오류내역이 없는 회원은 정상 처리합니다. 진행 하시겠습니까?");
    EXPECT_EQ(yes.shown.back().text, "동의자료 일괄설정이 2건 완료 되었습니다.");
    auto agree = [&](long long m) {
        return db->scalar(
            "select cms_agree_status from " + schema + ".member_user where member_inx=?", {m});
    };
    EXPECT_EQ(agree(ok), "1");
    EXPECT_EQ(agree(ok2), "1");
    for (long long m : {big, card, done}) EXPECT_EQ(agree(m), "0") << m;
}

TEST_F(MemberAgreementTest, WorkbookWithoutItsColumnsOrRowsOrNotAWorkbookIsRefused) {
    auto refused = [&](const std::string& path) {
        test::ScriptedInteraction ui;
        EXPECT_FALSE(ScanAgreementWorkbook(*db, session, ui, path)) << path;
        return ui.texts();
    };
    EXPECT_EQ(refused(Workbook(root / "in", "agreement_missing_column.xls")),
              std::vector<std::string>{"Excel 처리를 위한 필수정보가 부족합니다.\n"
                                       "[처리순번,납부자번호(또는 외부참조키),동의자료구분,"
                                       "동의자료경로]"});
    EXPECT_EQ(refused(Workbook(root / "in", "agreement_empty.xls")),
              std::vector<std::string>{"처리가능한 데이타가 없습니다."});
    EXPECT_EQ(refused(File("renamed.xls", 2000)),
              std::vector<std::string>{kAgreementWorkbookUnreadableText});
    EXPECT_EQ(refused((root / "in" / "absent.xls").string()),
              std::vector<std::string>{kAgreementWorkbookUnreadableText});
}

}  // namespace
}  // namespace qx
