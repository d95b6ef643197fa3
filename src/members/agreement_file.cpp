#include "members/agreement_file.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <map>
#include <system_error>

#include "core/session_context.h"
#include "db/database.h"
#include "db/role_filter.h"
#include "members/member_record.h"
#include "members/member_rules.h"
#include "platform/ftp.h"
#include "platform/interaction.h"
#include "platform/text_checks.h"
#include "platform/xls_reader.h"

namespace qx {

namespace fs = std::filesystem;

namespace {

constexpr int kMemberLog = 3;

std::string Upper(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return s;
}

bool IsImage(const std::string& ext) {
    return ext == "JPG" || ext == "JPEG" || ext == "GIF" || ext == "TIF" || ext == "PDF";
}
bool IsSound(const std::string& ext) {
    return ext == "MP3" || ext == "WAV" || ext == "WMA";
}

std::string Extension(const std::string& path) {
    std::string ext = fs::path(path).extension().string();
    if (!ext.empty() && ext[0] == '.') ext.erase(0, 1);
    return Upper(ext);
}

std::string KindDigit(const std::string& kind) {
    return kind.substr(0, 1);
}

// Copies, uploads and marks one member's file; "" or the failure text.
std::string StoreFile(Database& db, const SessionContext& s, const MemberRecord& member,
                      const std::string& path, const std::string& kind, FtpSession* uploader) {
    const std::string today = db.scalar("select date_format(now(),'%Y%m%d')");
    std::string ext = fs::path(path).extension().string();
    const std::string name = TenDigits(member.member_inx) + "_" +
                             member.get("bank_code").substr(0, 3) + "_" + member.get("account_no") +
                             "_" + today + "_" + KindDigit(kind) + ext;
    const std::string folder = AgreementFolder(s);
    if (!MakeFolderIfMissing(folder)) return kAgreementUploadFailedText;
    // One file per member: an earlier one would be packed as well.
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(folder, ec)) {
        if (entry.path().filename().string().rfind(TenDigits(member.member_inx) + "_", 0) == 0) {
            fs::remove(entry.path(), ec);
        }
    }
    const std::string target = folder + name;
    fs::copy_file(path, target, fs::copy_options::overwrite_existing, ec);
    if (ec) return kAgreementUploadFailedText;
    if (uploader && !uploader->upload(target, name)) {
        fs::remove(target, ec);
        return kAgreementUploadFailedText;
    }
    Database::Transaction tx(db);
    db.ExecuteSql(
        "update " + s.schema() + ".member_user set cms_agree_status='1' where member_inx=?",
        {member.member_inx});
    db.WriteProcessLog(
        " (" + TenDigits(member.member_inx) + ") CMS 출금동의자료 설정 [" + name + "]", kMemberLog);
    tx.commit();
    return {};
}

}  // namespace

std::string AgreementFolder(const SessionContext& s) {
    return s.SystemDrive + "vornadir/" + s.LoginId + "/EI13/agree_file/";
}

std::string AgreementFileError(const std::string& path, const std::string& kind) {
    if (kind == "2_공인전자서명" || kind == "6_기타문서") return "미지원 동의자료(" + kind + ")";
    const std::string ext = Extension(path);
    if (!IsImage(ext) && !IsSound(ext)) return "미지원 동의자료확장자(" + ext + ")";
    const bool image = kind == "1_서면" || kind == "3_일반전자서명";
    const bool sound = kind == "4_녹취" || kind == "5_ARS";
    if ((!image && !sound) || (image && !IsImage(ext)) || (sound && !IsSound(ext))) {
        return "동의자료구분과 확장자 미일치";
    }
    const long long size = GetFileSize(path);
    if (size < 0) return "동의자료 경로확인 불가,";
    if (size >= kAgreementFileLimit) return "동의자료 용량초과(" + std::to_string(size) + "byte)";
    return {};
}

bool SetAgreementFile(Database& db, const SessionContext& s, Interaction& ui, long long memberInx,
                      const std::string& path, const std::string& kind, FtpSession* uploader) {
    const auto member = LoadMember(db, s, memberInx);
    if (!member) {
        ui.inform(kMemberNotFoundText, kDefaultTitle);
        return false;
    }
    if (member->get("settle_accounts") != kSettleCms) {
        ui.inform("CMS고객 아님", kDefaultTitle);
        return false;
    }
    if (path.empty()) {
        ui.inform("선택한 CMS 출금동의자료 파일이 없습니다.", kDefaultTitle);
        return false;
    }
    const std::string error = AgreementFileError(path, kind);
    if (!error.empty()) {
        ui.inform(error, kDefaultTitle);
        return false;
    }
    if (GetFileSize(path) < 30) {
        ui.inform("30Byte 이상의 출금동의자료 파일을 선택 하십시오.", kDefaultTitle);
        return false;
    }
    if (member->get("cms_agree_status") == "1" &&
        !ui.confirm(kAgreementReplaceQuestionText, kDefaultTitle)) {
        return false;
    }
    const std::string failure = StoreFile(db, s, *member, path, kind, uploader);
    if (!failure.empty()) {
        ui.inform(failure, kDefaultTitle);
        return false;
    }
    return true;
}

std::vector<AgreementCandidate> ScanAgreementFolder(Database& db, const SessionContext& s,
                                                    const std::string& folder) {
    std::vector<AgreementCandidate> out;
    std::error_code ec;
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(folder, ec)) {
        if (entry.is_regular_file(ec)) files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    for (const auto& file : files) {
        const std::string base = file.stem().string();
        if (!IsAllDigits(base) || base.size() > 10) continue;
        std::string sql = "select member_inx from " + s.schema() +
                          ".member_user where member_inx=? and settle_accounts='1' and `remove` = "
                          "'1' and `cms_status` = '0' and cms_agree_status='0'";
        SqlParams params{base};
        AppendRoleFilter(sql, params, s, "");
        const Recordset rs = db.OpenRecordset(sql, params);
        if (rs.empty()) continue;
        AgreementCandidate c;
        c.path = file.string();
        c.payer = base;
        c.member_inx = rs[0].asInt("member_inx");
        const std::string ext = Extension(c.path);
        c.kind = IsSound(ext) ? "4_녹취" : "1_서면";
        c.error = AgreementFileError(c.path, c.kind);
        out.push_back(std::move(c));
    }
    return out;
}

std::optional<std::vector<AgreementCandidate>> ScanAgreementWorkbook(Database& db,
                                                                     const SessionContext& s,
                                                                     Interaction& ui,
                                                                     const std::string& path) {
    const auto sheet = ReadFirstSheet(path);
    if (!sheet) {
        ui.inform(kAgreementWorkbookUnreadableText, kDefaultTitle);
        return std::nullopt;
    }
    const auto trim = [](const std::string& v) {
        const auto b = v.find_first_not_of(" \t\r\n");
        if (b == std::string::npos) return std::string();
        return v.substr(b, v.find_last_not_of(" \t\r\n") - b + 1);
    };
    std::map<std::string, std::size_t> at;
    if (!sheet->empty()) {
        for (std::size_t c = 0; c < sheet->front().size(); ++c)
            at.emplace(trim(sheet->front()[c]), c);
    }
    const bool byPayer = at.count("납부자번호") > 0;
    if (!at.count("처리순번") || (!byPayer && !at.count("외부참조키")) ||
        !at.count("동의자료구분") || !at.count("동의자료경로")) {
        ui.inform(kAgreementWorkbookColumnsText, kDefaultTitle);
        return std::nullopt;
    }
    const std::string keyColumn = byPayer ? "member_inx" : "ext_key";
    const std::size_t keyAt = at[byPayer ? "납부자번호" : "외부참조키"];
    const fs::path base = fs::path(path).parent_path();
    auto cell = [&](const std::vector<std::string>& row, std::size_t c) {
        return c < row.size() ? trim(row[c]) : std::string();
    };

    std::vector<AgreementCandidate> out;
    for (std::size_t r = 1; r < sheet->size(); ++r) {
        const auto& row = (*sheet)[r];
        AgreementCandidate c;
        c.seq = cell(row, at["처리순번"]);
        c.payer = cell(row, keyAt);
        c.kind = cell(row, at["동의자료구분"]);
        c.path = cell(row, at["동의자료경로"]);
        if (c.payer.empty() && c.kind.empty() && c.path.empty()) continue;  // blank line
        if (!c.path.empty() && fs::path(c.path).is_relative()) c.path = (base / c.path).string();

        // The member is found whatever its state so that the reason can be told.
        Recordset rs;
        if (!c.payer.empty() && (!byPayer || (IsAllDigits(c.payer) && c.payer.size() <= 10))) {
            std::string sql = "select member_inx, settle_accounts, `remove`, cms_status from " +
                              s.schema() + ".member_user where " + keyColumn +
                              "=? and `remove`<>'4'";
            SqlParams params{c.payer};
            AppendRoleFilter(sql, params, s, "");
            sql += " order by (`remove`='1' and cms_status='0') desc, member_inx limit 0, 1";
            rs = db.OpenRecordset(sql, params);
        }
        if (rs.empty()) {
            c.error = "데이터 없음";
        } else {
            c.member_inx = rs[0].asInt("member_inx");
            if (rs[0]["settle_accounts"] != kSettleCms) {
                c.error = "CMS고객 아님";
            } else if (rs[0]["remove"] != "1" || rs[0]["cms_status"] != "0") {
                c.error = "신규상태인 회원 확인 불가";
            }
        }
        // The file's fault is told first, as for the folder source.
        const std::string fileError = AgreementFileError(c.path, c.kind);
        if (!fileError.empty()) c.error = fileError;
        out.push_back(std::move(c));
    }
    if (out.empty()) {
        ui.inform(kAgreementNoRowsText, kDefaultTitle);
        return std::nullopt;
    }
    return out;
}

long long ApplyAgreementCandidates(Database& db, const SessionContext& s, Interaction& ui,
                                   std::vector<AgreementCandidate>& candidates,
                                   FtpSession* uploader) {
    if (!ui.confirm(kBatchAgreementQuestionText, kDefaultTitle)) return 0;
    long long done = 0;
    long long index = 0;
    for (auto& c : candidates) {
        ui.progress("동의자료 일괄설정", ++index, static_cast<long long>(candidates.size()));
        if (!c.error.empty()) continue;
        const auto member = LoadMember(db, s, c.member_inx);
        if (!member || member->get("remove") != "1" || member->get("cms_status") != "0") {
            c.error = "회원상태 또는 CMS상태 오류";
            continue;
        }
        if (!StoreFile(db, s, *member, c.path, c.kind, uploader).empty()) {
            c.error = "동의자료 업로드 실패";
            continue;
        }
        ++done;
    }
    db.WriteProcessLog("동의자료 일괄설정 " + std::to_string(done) + "건 완료", kMemberLog);
    ui.inform("동의자료 일괄설정이 " + std::to_string(done) + "건 완료 되었습니다.", kDefaultTitle);
    return done;
}

}  // namespace qx
