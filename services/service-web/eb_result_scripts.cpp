// The EB result script: applies an EB13's result staged by the client. The
// rule itself is domain code; the handler checks the query and answers the
// empty text on success, a short reason otherwise.
#include "cms/eb14/eb13_results.h"
#include "ledger/server_scripts.h"
#include "platform/text_checks.h"
#include "service_web.h"

namespace qx::web {

Reply ApplyEb13ResultsScript(ServiceDatabase& db, const Request& request) {
    const std::string fileday = request.param("fileday");
    if (fileday.size() != 6 || !IsAllDigits(fileday)) return Reply::Text("잘못된 파일일자");
    return db.run([&](Database& d) {
        const auto inx = ScriptInstitution(d, request.param("loginuserid"));
        if (!inx) return Reply::Text("잘못된 기관");
        return Reply::Text(ApplyEb13Results(d, *inx, fileday));
    });
}

}  // namespace qx::web
