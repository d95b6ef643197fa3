#include "db/schema_upgrade.h"

#include <sstream>
#include <vector>

#include "core/session_context.h"
#include "db/database.h"
#include "db/work_tables.h"
#include "platform/profile_ini.h"

namespace qx {

namespace {

constexpr const char* kCertificateLog =
    "[인증설정추가처리] Login.ini 파일 V1에 인증설정관련항목 추가 완료";
constexpr const char* kAgreementPrefix = "[동의자료전송기능추가처리] ";
constexpr const char* kAgreementStart = "데이터베이스 구조 및 데이터 변경 시작";
constexpr const char* kAgreementMembersDone = "고객정보 수정 완료";
constexpr const char* kAgreementDone = "데이터베이스 구조 및 데이터 변경 처리 완료";

long long ParseVersion(const std::string& text) {
    try {
        return std::stoll(text);
    } catch (...) {
        return 0;
    }
}

// Writes `version` unless the stored one is already as high: two desktops
// may upgrade at the same moment, and the number must only grow. Runs inside
// the caller's transaction so the row stays locked until its data is in.
void RaiseStoredVersion(Database& db, long long inx, int version) {
    const std::string stored = db.scalar(
        "select alter_db_structure from quorisdex.admin_company where inx=? for update", {inx});
    if (ParseVersion(stored) >= version) return;
    db.ExecuteSql("update quorisdex.admin_company set `alter_db_structure`=? where inx=?",
                  {std::to_string(version), inx});
}

void AddCertificateStep(Database& db, SessionContext& s, const ProfileIni& ini) {
    if (s.cmsrunprg == 2) {
        const std::string views = ini.read("V1", "VIEW", kDefaultMemberViews);
        const std::string updated = WithCertificateViews(views);
        if (updated != views) ini.write("V1", "VIEW", updated);
    }
    Database::Transaction tx(db);
    RaiseStoredVersion(db, s.institution_number, 59);
    tx.commit();
    s.alter_db_structure = 59;
    db.WriteProcessLog(kCertificateLog, 0);
}

void AgreementStep(Database& db, SessionContext& s, const UpgradeStatusFn& status) {
    const std::string prefix = kAgreementPrefix;
    if (status) status(kAgreementStart);
    db.WriteProcessLog(prefix + kAgreementStart, 0);
    {
        Database::Transaction tx(db);
        if (s.cmsrunprg == 2) {
            const std::string members = s.schema() + ".member_user";
            db.ExecuteSql("update " + members +
                          " set cms_agree_status='P' where settle_accounts='1' and cms_status "
                          "not in ('0','2')");
            db.ExecuteSql("update " + members +
                          " set cms_agree_status=0 where settle_accounts='1' and cms_status in "
                          "('0','2') and cms_agree_status='P'");
        }
        RaiseStoredVersion(db, s.institution_number, 67);
        tx.commit();
    }
    s.alter_db_structure = 67;
    db.WriteProcessLog(prefix + kAgreementMembersDone, 0);
    if (status) status(kAgreementDone);
    db.WriteProcessLog(prefix + kAgreementDone, 0);
}

}  // namespace

std::string WithCertificateViews(const std::string& views) {
    std::stringstream in(views);
    std::string part;
    while (std::getline(in, part, '/')) {
        if (part == "68" || part == "69" || part == "70" || part == "71") return views;
    }
    return views + "/68/69/70/71";
}

void UpgradeSchema(Database& db, SessionContext& s, const ProfileIni& ini,
                   const UpgradeStatusFn& status) {
    if (s.alter_db_structure == 58) AddCertificateStep(db, s, ini);
    if (s.alter_db_structure < 67) AgreementStep(db, s, status);
    AlignAgreementStatus(db, s);
}

void AlignAgreementStatus(Database& db, const SessionContext& s) {
    if (s.cmsrunprg == 2) return;
    const std::string members = s.schema() + ".member_user";
    if (!s.agreement_evidence_switch) {
        db.ExecuteSql("update " + members +
                      " set cms_agree_status='P' where settle_accounts='1' and "
                      "cms_agree_status='0'");
    } else {
        db.ExecuteSql("update " + members +
                      " set cms_agree_status='0' where settle_accounts='1' and cms_status in "
                      "('0','2') and cms_agree_status='P'");
    }
}

void EnsureMemberNoteTables(Database& db, long long inx) {
    EnsureInstitutionTable(db, inx, "iltable");
    EnsureInstitutionTable(db, inx, "iltable_ext");
    const std::string ext = InstitutionSchema(inx) + ".iltable_ext";
    if (db.scalarInt("select count(extkey) from " + ext) > 0) return;
    // Row 1 by number, so a second desktop doing the same adds nothing.
    std::string sql = "insert ignore into " + ext +
                      " (extkey, extlinkinx, extcbo1, extcbo2, extcbo3, extcbo4, ext1, ext2, ext3, "
                      "ext4, ext5, ext6, ext7, ext8, ext9, ext10, ext11, ext12) values (1, 0";
    SqlParams params;
    for (int i = 1; i <= 16; ++i) {
        sql += ", ?";
        params.emplace_back("정보-" + std::to_string(i));
    }
    db.ExecuteSql(sql + ")", params);
}

}  // namespace qx
