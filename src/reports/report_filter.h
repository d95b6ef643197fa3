// The filters every report shares: branch, agency and manager (each "없음"
// for none), with the user's own branch or agency imposed, and the period.
#pragma once

#include <string>

#include "db/database.h"
#include "ledger/batch_filter.h"

namespace qx {

struct SessionContext;

inline constexpr const char* kNoneChoice = "없음";

// Values as the user picked them; empty = not set. The branch and agency
// are numbers or the names the drop-downs show; the agency "없음" selects
// the members without an agency (0), the manager "없음" those without one.
struct ReportFilter {
    std::string branch, agency, manager;
};

// The filter in the member filter's terms with every value checked against
// what the user may pick; throws std::invalid_argument naming the value
// that is not among them ("지사가 없습니다: …").
BatchFilter ResolveReportFilter(Database& db, const SessionContext& session,
                                const ReportFilter& filter);

// True when the resolved filter (role included) narrows the members.
bool NarrowsMembers(const BatchFilter& resolved);

// " and member.remove<>'4'" plus the resolved filter on the member alias.
std::string ReportMemberSql(const BatchFilter& resolved, SqlParams& params,
                            const std::string& member = "member_user");

// The criteria line of a printed report:
// "조회기간 : FROM ∼ TO (지:B / 대:A / 담:M)".
std::string CriteriaLine(const std::string& from, const std::string& to,
                         const ReportFilter& filter);

}  // namespace qx
