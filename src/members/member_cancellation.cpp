#include "core/session_context.h"
#include "db/database.h"
#include "members/member_record.h"
#include "members/member_row_support.h"
#include "members/member_rules.h"
#include "platform/interaction.h"

namespace qx {

using namespace member_rows;

bool BankCancelMember(Database& db, const SessionContext& s, Interaction& ui, long long memberInx) {
    const auto member = LoadMember(db, s, memberInx);
    if (!member) {
        ui.inform(kMemberNotFoundText, kDefaultTitle);
        return false;
    }
    if (member->get("remove") == "2") {
        ui.inform(kAlreadyCancelledText, kDefaultTitle);
        return false;
    }
    Database::Transaction tx(db);
    db.ExecuteSql(
        "update " + Table(s, "member_user") +
            " set remove=2, cms_status=13, cms_error=concat('[',mid(sysdate(),3,8),'] 은행해지') "
            "where member_inx=? and remove<>'2'",
        {memberInx});
    db.WriteProcessLog(" (" + TenDigits(memberInx) + ") 은행해지 처리", kMemberLog);
    tx.commit();
    return true;
}

}  // namespace qx
