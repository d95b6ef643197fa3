// Bulk removal on the listed members: their outstanding amounts (frmDoc27)
// or their expected amounts (frmDoc27_1), each member logged.
#pragma once

#include "ledger/batch_filter.h"

namespace qx {

class Database;
class Interaction;
struct SessionContext;

inline constexpr const char* kRemoveOutstandingQuestion =
    "조회된 회원의 미수금을 일괄 제거 합니다. 처리하시겠습니까?";
inline constexpr const char* kRemoveExpectedQuestion =
    "조회된 회원의 매출예정액을 일괄 제거(0원처리) 합니다. 진행하시겠습니까?";

// Clears pay_nonpayment (and takes it off total_prosspay) of the filter's
// members that owe something; ledger rows stay. Returns the number of
// members changed, -1 when the user said no.
long long RemoveOutstanding(Database& db, const SessionContext& session, Interaction& ui,
                            const BatchFilter& filter);

// Sets the expected amount of the filter's members to 0: one item each
// (members with several lose them, members without get one named after
// their passbook text), zero-priced. Returns the number of members, -1
// when the user said no.
long long RemoveExpected(Database& db, const SessionContext& session, Interaction& ui,
                         const BatchFilter& filter);

}  // namespace qx
