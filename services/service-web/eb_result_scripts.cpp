// The EB result scripts: apply an EB13's or an EB21's results staged by the
// client. The rules themselves are domain code; the handlers check the query
// and answer (EB13: the empty text, EB21: "처리완료") on success, a short
// reason otherwise.
#include "cms/eb14/eb13_results.h"
#include "cms/eb22/eb22_results.h"
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

Reply ApplyEb22ResultsScript(ServiceDatabase& db, const Request& request) {
    const std::string fileday = request.param("fileday");
    if (fileday.size() != 6 || !IsAllDigits(fileday)) return Reply::Text("잘못된 파일일자");
    const std::string saveday = request.param("saveday");
    if (!ScriptDate(saveday)) return Reply::Text("잘못된 처리일자");
    return db.run([&](Database& d) {
        const auto inx = ScriptInstitution(d, request.param("loginuserid"));
        if (!inx) return Reply::Text("잘못된 기관");
        return Reply::Text(ApplyEb22Results(d, *inx, fileday, saveday));
    });
}

}  // namespace qx::web
