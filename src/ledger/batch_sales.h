// Batch sales: the members due for this month's sale and the run that books
// them (rows of payadd with their error marks, booked by the server).
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "ledger/batch_filter.h"

namespace qx {

class Database;
class Interaction;
struct SessionContext;

inline constexpr const char* kSaleSearchFirstText =
    "일괄매출대상을 조회하신후 일괄매출을 하십시오.";
inline constexpr const char* kSettlingText = "미수금을 정리하고 있습니다.";
inline constexpr const char* kSettleFailedText =
    "미수금을 정리하던중 오류가 발생 하였습니다.(인터넷연결 상태를 확인하여 주십시오.)";
inline constexpr const char* kSettledText = "미수금 정리완료 -> 일괄매출 발생중";
inline constexpr const char* kSaleBookingFailedText =
    "일괄매출처리오류 (※ ZELMOR 전산실 문의 바랍니다.)";
inline constexpr const char* kSaleDoneTitle = "매출 처리 완료";
inline constexpr const char* kNoCandidatesText = "일괄매출 대상이 없습니다.";

struct SaleQuery {
    BatchFilter filter;
    std::string day;            // transfer day "1".."31"; empty = "전체"
    bool unbilledOnly = false;  // "당월 미발생 매출분"
};

struct SaleCandidate {
    long long member_inx = 0;
    std::string payer_number, username, client_company, account_divide, payday;
    long long pay_monthdefault = 0, expected = 0, pay_nonpayment = 0;
    bool billed_this_month = false;
};

struct SaleCandidates {
    std::vector<SaleCandidate> rows;
    long long expected_total = 0;     // the expected amounts of every row
    long long expected_unbilled = 0;  // the same over members without sales this month
};

// " where …" of the list's members on member_user, values appended to `params`.
std::string SaleCandidateWhere(const SessionContext& session, const SaleQuery& query,
                               SqlParams& params);

// The list of frmDoc23, newest payer number first.
SaleCandidates ListSaleCandidates(Database& db, const SessionContext& session,
                                  const SaleQuery& query);

enum class AfterSaleRun { kStay, kOpenEb21, kOpenHistory };

struct SaleRunResult {
    bool done = false;  // the server booked the run
    long long run_key = 0;
    long long booked = 0, refused = 0;
    AfterSaleRun next = AfterSaleRun::kStay;
};

// The run: `searched` is the list the user looked at (nullptr: not yet
// searched), `date` the chosen date as typed.
SaleRunResult RunBatchSale(Database& db, const SessionContext& session, Interaction& ui,
                           const std::string& webHost, const SaleQuery& query,
                           const SaleCandidates* searched, const std::string& date);

// Steps shared by the batch sale and the automatic sale.
struct StagedRun {
    long long run_key = 0;
    long long rows = 0;
};
// Under the run-key lock and in one transaction: one payadd row per item of
// every member of `where` (conditions on member_user, values in
// `whereParams`), the amount cut for instalments, then the error marks.
// Throws LedgerRefused when no key is free.
StagedRun StageSaleRun(Database& db, const SessionContext& session, const std::string& where,
                       const SqlParams& whereParams, const std::string& bookingDate);
// Rows of the run booked (code 0) and refused (code 1).
void CountSaleRun(Database& db, const SessionContext& session, long long runKey, long long& booked,
                  long long& refused);
// The query of the server's booking request for the run.
std::string SaleRunQuery(const SessionContext& session, long long runKey,
                         const std::string& bookingDate);

// The booking date of a run: the date itself for "전체", else its month and
// the chosen day (nullopt when that day does not exist in the month).
std::optional<std::string> SaleBookingDate(const std::string& ledgerDate, const std::string& day);

}  // namespace qx
