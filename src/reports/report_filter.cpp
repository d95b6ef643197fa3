#include "reports/report_filter.h"

#include <algorithm>
#include <stdexcept>

#include "core/session_context.h"
#include "ledger/batch_filter_choices.h"

namespace qx {

namespace {

// The number of the entry whose number or name is `value`; nullopt when none.
std::optional<std::string> Pick(const std::vector<CodeEntry>& entries, const std::string& value) {
    for (const auto& e : entries)
        if (e.data == value || e.text == value) return e.data;
    return std::nullopt;
}

}  // namespace

BatchFilter ResolveReportFilter(Database& db, const SessionContext& s, const ReportFilter& f) {
    BatchFilter out;
    if (!f.branch.empty() || !f.agency.empty() || !f.manager.empty()) {
        const BatchFilterChoices choices = LoadBatchFilterChoices(db, s);
        if (!f.branch.empty()) {
            const auto b = Pick(choices.branches, f.branch);
            if (!b) throw std::invalid_argument("조회할 수 없는 지사입니다: " + f.branch);
            out.branch_inx = *b;
        }
        if (f.agency == kNoneChoice) {
            out.agency_inx = "0";
        } else if (!f.agency.empty()) {
            const auto a = Pick(choices.agencies, f.agency);
            if (!a) throw std::invalid_argument("조회할 수 없는 대리점입니다: " + f.agency);
            out.agency_inx = *a;
        }
        if (!f.manager.empty()) {
            const auto& m = choices.client_manager;
            if (std::find(m.begin(), m.end(), f.manager) == m.end())
                throw std::invalid_argument("조회할 수 없는 담당자입니다: " + f.manager);
            out.client_manager = f.manager;
        }
    }
    return WithUserRole(out, s);
}

bool NarrowsMembers(const BatchFilter& r) {
    return !r.branch_inx.empty() || !r.agency_inx.empty() || !r.client_manager.empty();
}

std::string ReportMemberSql(const BatchFilter& resolved, SqlParams& params,
                            const std::string& member) {
    return " and " + member + ".remove<>'4'" + BatchFilterSql(resolved, params, member);
}

std::string CriteriaLine(const std::string& from, const std::string& to, const ReportFilter& f) {
    return "조회기간 : " + from + " ∼ " + to + " (지:" + f.branch + " / 대:" + f.agency +
           " / 담:" + f.manager + ")";
}

}  // namespace qx
