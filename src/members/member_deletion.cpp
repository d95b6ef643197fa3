#include "core/session_context.h"
#include "db/database.h"
#include "members/member_record.h"
#include "members/member_row_support.h"
#include "members/member_rules.h"
#include "members/virtual_account.h"
#include "platform/interaction.h"

namespace qx {

using namespace member_rows;

bool DeleteMember(Database& db, const SessionContext& s, Interaction& ui, long long memberInx) {
    const auto member = LoadMember(db, s, memberInx);
    if (!member) {
        ui.inform(kMemberNotFoundText, kDefaultTitle);
        return false;
    }
    if (!member->get("virtual_no").empty() || HoldsVirtualAccount(db, s, memberInx)) {
        ui.inform(kDeleteVirtualAccountText, kDefaultTitle);
        return false;
    }
    if (!ui.confirm(kDeleteQuestionText, kDefaultTitle)) return false;
    Database::Transaction tx(db);
    db.ExecuteSql("update " + Table(s, "member_user") + " set remove='4' where member_inx=?",
                  {memberInx});
    db.WriteProcessLog(" (" + TenDigits(memberInx) + ") 회원삭제(" + member->get("remove") + ">4)",
                       kMemberLog);
    tx.commit();
    return true;
}

}  // namespace qx
