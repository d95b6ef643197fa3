// frmDoc37: the applied GR15 files of a period and the rows of one of them,
// with what could not be booked.
#pragma once

#include <string>
#include <vector>

#include "cms/workspace/cms_status.h"
#include "db/business_days.h"

namespace qx {

class Database;
struct SessionContext;

inline constexpr const char* kGr15ListTitle = "GR15LIST";

// File name, day applied, count, amount, fee, deduction, total.
std::vector<StatusColumn> Gr15FileColumns();
// Files applied between the two days (inclusive), newest first.
std::vector<std::vector<std::string>> ListGr15Files(Database& db, const SessionContext& session,
                                                    const CivilDate& from, const CivilDate& to);

// The detail grid: the row as received, the member it was booked for, the outcome.
std::vector<StatusColumn> Gr15DetailColumns();

struct Gr15Detail {
    std::string title;  // "[GR15yymmdd] 파일 상세 내역"
    std::vector<StatusColumn> columns;
    std::vector<std::vector<std::string>> rows;
    long long unbookedCount = 0, unbookedAmount = 0;
    std::string unbookedText;  // "처리불능 (1,000원)"
};
// The rows of one applied file with the member each was booked for.
Gr15Detail Gr15FileDetail(Database& db, const SessionContext& session, const std::string& name);

}  // namespace qx
