// Batch collection (frmDoc25): the whole outstanding amount or the expected
// amount of the listed members booked as collections in one run.
#pragma once

#include <string>
#include <vector>

#include "ledger/batch_filter.h"

namespace qx {

class Database;
class Interaction;
struct SessionContext;

inline constexpr const char* kCollectionSearchFirstText =
    "일괄수금대상을 조회하신후 일괄수금을 하십시오.";
inline constexpr const char* kNoOutstandingText = "미수금 없음";
inline constexpr const char* kExpectedBelowText = "매출예정액 1000원이하";
inline constexpr const char* kOutstandingShortText = "미수금이 매출예정액보다 적음";

enum class CollectionMode { kOutstanding, kExpected };

struct CollectionCandidate {
    long long member_inx = 0;
    std::string payer_number, username, client_company, settle_accounts;
    long long pay_nonpayment = 0, pay_monthdefault = 0;
};

// Members of the filter that are not deleted, newest payer number first.
std::vector<CollectionCandidate> ListCollectionCandidates(Database& db,
                                                          const SessionContext& session,
                                                          const BatchFilter& filter);

struct CollectionRunResult {
    bool done = false;
    long long run_key = 0;
    long long booked = 0, refused = 0;
    bool open_history = false;
};

// The run, one transaction under the run-key lock. `searched` tells whether
// the user looked at the list; `title` is the collection title of
// institution-defined methods (10 and above).
CollectionRunResult RunBatchCollection(Database& db, const SessionContext& session, Interaction& ui,
                                       const BatchFilter& filter, CollectionMode mode,
                                       bool searched, const std::string& date,
                                       const std::string& item, const std::string& title);

}  // namespace qx
