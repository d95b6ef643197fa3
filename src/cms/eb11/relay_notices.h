// Account-change and cancellation notices the relay keeps for an institution
// that sends through it (sdsi.acnt_status_check), as the EB11 screen lists
// them beside the received files.
#pragma once

#include <string>
#include <vector>

namespace qx {

class Database;
struct SessionContext;

// "계좌변경" for 'C', "해지" for 'D'.
std::string RelayNoticeKindText(const std::string& kind);
// "처리전", "처리중", "처리대기중", "처리완료", "처리불가" for 0-4.
std::string RelayNoticeStateText(const std::string& state);

std::vector<std::string> RelayNoticeColumns();
// The institution's notices of the year `yyyy`, newest day first, in the
// order the relay took them within a day. A server without the relay's
// table has none.
std::vector<std::vector<std::string>> RelayNotices(Database& db, const SessionContext& session,
                                                   const std::string& yyyy);

}  // namespace qx
