// The report script: fills monthdiv of an institution for one year from
// its ledger before the annual per-member report reads it.
#include "ledger/server_scripts.h"
#include "platform/text_checks.h"
#include "reports/ledger_report.h"
#include "service_web.h"

namespace qx::web {

Reply FillMonthdivScript(ServiceDatabase& db, const Request& request) {
    const std::string year = request.param("searchyear");
    if (year.size() != 4 || !IsAllDigits(year) || year < "2000" || year > "2099")
        return Reply::Text("잘못된 조회년도");
    const std::string branch = request.param("cbobrinx");
    if (branch.empty() || branch.size() > 5 || !IsAllDigits(branch))
        return Reply::Text("잘못된 지사");
    return db.run([&](Database& d) {
        const auto inx = ScriptInstitution(d, request.param("loginuserid"));
        if (!inx) return Reply::Text("잘못된 기관");
        return Reply::Text(FillMonthdiv(d, *inx, std::stoll(branch), std::stoi(year)));
    });
}

}  // namespace qx::web
