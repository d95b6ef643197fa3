#include "core/session_context.h"
#include "db/database.h"
#include "members/member_record.h"
#include "members/member_row_support.h"
#include "members/member_rules.h"

namespace qx {

using namespace member_rows;

long long ReissueMember(Database& db, const SessionContext& s, long long memberInx,
                        const std::string& certificateKind, const std::string& mobile) {
    const auto [kind, number] = ReissuedCertificate(certificateKind, mobile);
    Database::Transaction tx(db);
    const std::string company =
        db.scalar("select client_company from " + Table(s, "member_user") + " where member_inx=?",
                  {memberInx});
    const long long fresh = CopyMemberRow(db, s, memberInx,
                                          {{"remove", {"'1'", {}}},
                                           {"cms_status", {"'0'", {}}},
                                           {"cms_error", {"''", {}}},
                                           {"certificate_status", {"''", {}}},
                                           {"certificate_error", {"''", {}}},
                                           {"certificate_kind", {"?", {kind}}},
                                           {"certificate_number", {"?", {number}}}});
    db.ExecuteSql(
        "update " + Table(s, "member_user") +
            " set remove='4', account_name=left(concat('회원상태변경-',account_name),32), "
            "client_company=? where member_inx=?",
        {ReplacedCompanyText(company, memberInx, fresh), memberInx});
    MoveDependants(db, s, memberInx, fresh);
    db.WriteProcessLog(
        " (" + TenDigits(memberInx) + ") 회원상태변경 (2>1) [" + TenDigits(fresh) + "]",
        kMemberLog);
    AddNote(db, s, fresh, "회원상태변경",
            "납부자번호 : [" + TenDigits(memberInx) + "]->[" + TenDigits(fresh) +
                "], 회원상태 : [해지]->[정상] 으로 변경");
    tx.commit();
    return fresh;
}

}  // namespace qx
