// The ledger scripts: settling outstanding amounts before a batch sale,
// booking a sale run, and marking the rows of a run that can no longer be
// cancelled. The work itself is domain code of the ledger; these handlers
// only check the query and answer.
#include <optional>
#include <string>

#include "ledger/batch_filter.h"
#include "ledger/server_scripts.h"
#include "service_web.h"

namespace qx::web {

namespace {

Reply Refused(const std::string& text) {
    Reply r = Reply::Text(text);
    r.status = 400;
    return r;
}

// The institution and run key of a request, or the refusal to answer.
struct RunRequest {
    long long inx = 0;
    long long key = 0;
};

template <class Work>
Reply WithRun(ServiceDatabase& db, const Request& request, Work&& work) {
    const auto key = ScriptRunKey(request.param("tablekey"));
    if (!key) return Refused("잘못된 작업번호");
    return db.run([&](Database& d) {
        const auto inx = ScriptInstitution(d, request.param("loginuserid"));
        if (!inx) return Refused("잘못된 기관");
        return work(d, RunRequest{*inx, *key});
    });
}

}  // namespace

Reply SettleOutstandingScript(ServiceDatabase& db, const Request& request) {
    const auto filter = ParseRealWhere(request.param("realWhere"));
    if (!filter) return Refused("허용되지 않는 조회조건");
    return db.run([&](Database& d) {
        const auto inx = ScriptInstitution(d, request.param("loginuserid"));
        if (!inx) return Refused("잘못된 기관");
        SettleOutstanding(d, *inx, *filter);
        return Reply::Text(kScriptDoneReply);
    });
}

Reply BookSaleRunScript(ServiceDatabase& db, const Request& request) {
    const auto date = ScriptDate(request.param("dt1"));
    if (!date) return Refused("잘못된 일자");
    return WithRun(db, request, [&](Database& d, const RunRequest& run) {
        BookSaleRun(d, run.inx, run.key, *date);
        return Reply::Text(kScriptDoneReply);
    });
}

Reply MarkSaleRowsScript(ServiceDatabase& db, const Request& request) {
    return WithRun(db, request, [](Database& d, const RunRequest& run) {
        MarkUncancellableSaleRows(d, run.inx, run.key);
        return Reply::Text(kScriptDoneReply);
    });
}

Reply MarkCollectionRowsScript(ServiceDatabase& db, const Request& request) {
    return WithRun(db, request, [](Database& d, const RunRequest& run) {
        MarkUncancellableCollectionRows(d, run.inx, run.key);
        return Reply::Text(kScriptDoneReply);
    });
}

}  // namespace qx::web
