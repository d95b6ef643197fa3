// Taking back card member (CMEM) and card payment (CPAY) requests whose
// answer has not been applied: the request and its rows disappear, every
// member gets back the states it had before (for a payment request also its
// cancellation state, and a payment the request cancelled is scheduled for
// cancellation again), and, for an institution with a card id, the card
// relay run moves to its rollback table. One transaction per request.
#pragma once

#include <string>
#include <vector>

namespace qx {

class Database;
class Interaction;
struct SessionContext;

inline constexpr const char* kCardRollbackStateText = "결과 적용전";
inline constexpr const char* kCardRelayRollbackStatText = "빈파일전송 전";

enum class CardRollbackKind { Members, Payments };

struct CardRollbackCandidate {
    std::string created, filename;
    long long newCount = 0, cancelCount = 0, totalCount = 0, totalMoney = 0;
    std::string state;  // "결과 적용전"
};

// Requests whose answer is not applied, newest first.
std::vector<CardRollbackCandidate> ListCardRollbackCandidates(Database& db,
                                                              const SessionContext& session,
                                                              CardRollbackKind kind);

// Rolls back the named requests ("CMEM"/"CPAY" + YYMMDD) in order; a name
// that is not a candidate (unknown, applied meanwhile, taken back by another
// desk) is reported and skipped. Returns the number rolled back.
int RollbackCardRequests(Database& db, const SessionContext& session, Interaction& ui,
                         CardRollbackKind kind, const std::vector<std::string>& filenames);

}  // namespace qx
