// The scripts that list the billable items before an EB21 file
// (updatepms21_upg) and before a card payment request (updatepms39). The work is
// domain code of the EB21 module; the handler only checks the query.
#include <string>

#include "cms/eb21/eb21_preparation.h"
#include "ledger/server_scripts.h"
#include "service_web.h"

namespace qx::web {

namespace {

Reply BillableItemsOf(ServiceDatabase& db, const Request& request, BillingChannel channel) {
    const auto nuday = ScriptNuday(request.param("nuday"));
    const auto setmonth = ScriptSetMonth(request.param("setmonth"));
    if (!nuday || !setmonth) {
        Reply r = Reply::Text("잘못된 일자");
        r.status = 400;
        return r;
    }
    return db.run([&](Database& d) {
        const auto inx = ScriptInstitution(d, request.param("loginuserid"));
        if (!inx) {
            Reply r = Reply::Text("잘못된 기관");
            r.status = 400;
            return r;
        }
        PrepareBillableItems(d, *inx, *nuday, *setmonth, channel);
        return Reply::Text(kScriptDoneReply);
    });
}

}  // namespace

Reply BillableItemsScript(ServiceDatabase& db, const Request& request) {
    return BillableItemsOf(db, request, BillingChannel::Account);
}

Reply CardBillableItemsScript(ServiceDatabase& db, const Request& request) {
    return BillableItemsOf(db, request, BillingChannel::Card);
}

}  // namespace qx::web
