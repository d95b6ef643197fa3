// The EB21 files of the institution as the EB21/EB22 screen lists them: the
// requested figures, and once the result is applied the withdrawn and
// refused figures, the fees and the net deposit.
#pragma once

#include <string>
#include <vector>

#include "cms/workspace/cms_status.h"
#include "db/business_days.h"

namespace qx {

class Database;
struct SessionContext;

// "미처리: N건 / 미수신: M건": files whose result is not applied, and of
// them the ones sent whose result has not arrived.
std::string Eb21WaitingText(Database& db, const SessionContext& session);

// The list's columns, and the hidden pross_stat last.
std::vector<StatusColumn> Eb21FileColumns();
inline constexpr int kEb21FileNameColumn = 0;
inline constexpr int kEb21FileProssStatColumn = 13;

// ea21 rows created between the two days (inclusive), newest first. A
// non-empty search keeps the files holding a request for that payer number,
// account number, holder number or external key.
std::vector<std::vector<std::string>> ListEb21Files(Database& db, const SessionContext& session,
                                                    const CivilDate& from, const CivilDate& to,
                                                    const std::string& search = {});

}  // namespace qx
