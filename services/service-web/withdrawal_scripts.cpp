// The script that lists the billable items before an EB21 file. The work is
// domain code of the EB21 module; the handler only checks the query.
#include <string>

#include "cms/eb21/eb21_preparation.h"
#include "ledger/server_scripts.h"
#include "service_web.h"

namespace qx::web {

Reply BillableItemsScript(ServiceDatabase& db, const Request& request) {
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
        PrepareBillableItems(d, *inx, *nuday, *setmonth);
        return Reply::Text(kScriptDoneReply);
    });
}

}  // namespace qx::web
