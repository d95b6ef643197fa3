// The card result screens' lists: the card member and card payment requests
// with their state (applied, or the card relay's state of the run) and
// result figures, and the rows of one request.
#pragma once

#include <string>
#include <vector>

#include "cms/workspace/result_screen.h"
#include "db/business_days.h"

namespace qx {

class Database;
struct SessionContext;

inline constexpr const char* kCardMembersAppliedText = "파일처리 완료";
inline constexpr const char* kCardPaymentsAppliedText = "결과처리 완료";

// The state column: applied, else the relay run's state ("MM/DD 수신예정"
// for 5), empty when the request was never sent.
std::string CardRequestStateText(bool members, const std::string& prossStat,
                                 const std::string& relayStat, const std::string& recvdate);

// Requests created between the two days (inclusive), as grid rows under
// the columns below. Members: newest first; payments: unapplied first.
const std::vector<std::string>& CardMemberRequestColumns();
std::vector<std::vector<std::string>> ListCardMemberRequests(Database& db,
                                                             const SessionContext& session,
                                                             const CivilDate& from,
                                                             const CivilDate& to);
const std::vector<std::string>& CardPaymentRequestColumns();
std::vector<std::vector<std::string>> ListCardPaymentRequests(Database& db,
                                                              const SessionContext& session,
                                                              const CivilDate& from,
                                                              const CivilDate& to);

enum class CardDetailFilter { All, Successes, Failures };

// The rows of one request ("CMEM"/"CPAY" + YYMMDD); an unknown name gives
// an empty grid.
FileDetail CardMemberRequestDetail(Database& db, const SessionContext& session,
                                   const std::string& filename,
                                   CardDetailFilter filter = CardDetailFilter::All);
FileDetail CardPaymentRequestDetail(Database& db, const SessionContext& session,
                                    const std::string& filename,
                                    CardDetailFilter filter = CardDetailFilter::All);

}  // namespace qx
