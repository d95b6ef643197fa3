// frmDoc42-45: sales and collections of the ledger per month, per day, per
// member over a range, and a member's twelve months of a year.
#pragma once

#include <functional>
#include <string>

#include "reports/report_filter.h"
#include "reports/report_table.h"

namespace qx {

class Database;
struct SessionContext;

inline constexpr const char* kMonthlyReportTitle = "보고서_월별";
inline constexpr const char* kDailyReportTitle = "보고서_일자별";
inline constexpr const char* kMemberReportTitle = "보고서_고객별";
inline constexpr const char* kAnnualReportTitle = "보고서_고객별월현황";
inline constexpr const char* kSubstituteCollectionText = "대체수금";

// The rows of a monthly or daily report: per period and collection method,
// or the same sums per manager, agency ("대리점명") or branch ("지사명").
enum class LedgerGrouping { kMethod, kManager, kAgency, kBranch };
// "method", "manager", "agency" or "branch"; throws std::invalid_argument.
LedgerGrouping ParseLedgerGrouping(const std::string& text);

struct LedgerQuery {
    ReportPeriod period;  // whole months for the monthly report (first days)
    bool monthly = true;
    LedgerGrouping grouping = LedgerGrouping::kMethod;
    std::string settleCode;  // one collection method only; empty: all
    ReportFilter filter;
};

// Sales (paystat 0), collections by the member's own method, "대체수금"
// (collections booked as such) and all collections. Newest period first.
ReportTable LedgerSummary(Database& db, const SessionContext& session, const LedgerQuery& query);

// The members behind one row of the summary: `key` is the month (yy-mm) or
// the day (yy-mm-dd).
ReportTable LedgerPeriodDetail(Database& db, const SessionContext& session,
                               const LedgerQuery& query, const std::string& key);

// frmDoc44: per member and collection method over the period.
ReportTable MemberReport(Database& db, const SessionContext& session, const ReportPeriod& period,
                         const ReportFilter& filter);

// Fills monthdiv of institution `inx` for `year` from the ledger: per
// member (not deleted; of branch `branch` unless 0) the sales and the
// collections of each calendar month. One transaction: the table holds
// the whole year's figures or the previous ones. Returns "처리완료".
std::string FillMonthdiv(Database& db, long long inx, long long branch, int year);

// Asks the service web server to fill monthdiv: (inx, branch, year) to the
// server's answer, "처리완료" on success.
using MonthdivRequest = std::function<std::string(long long inx, long long branch, int year)>;
inline constexpr const char* kFillMonthdivPath = "/zelmor/cs_load/selectpms0.php";
MonthdivRequest ServiceWebMonthdivRequest(const std::string& webHost);

// "a/b" of an instalment member, the plain rate otherwise.
std::string OutstandingRateText(long long nonpayment, long long monthDefault,
                                const std::string& accountDivide, long long agreement,
                                long long agreementDone);

inline constexpr const char* kAnnualReportBusyText =
    "다른 사용자가 연간 보고서를 집계하고 있습니다. 잠시 후 다시 시도하십시오.";

// frmDoc45: after the server has filled monthdiv, each member's twelve
// months. Throws std::runtime_error with the server's answer when it did not,
// and with kAnnualReportBusyText when another desk's report holds the table
// longer than `waitSeconds`.
ReportTable AnnualReport(Database& db, const SessionContext& session, int year,
                         const ReportFilter& filter, const MonthdivRequest& fill,
                         int waitSeconds = 30);

}  // namespace qx
