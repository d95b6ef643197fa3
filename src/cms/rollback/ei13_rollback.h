// Taking back the latest EI13: its members' agreements go back to "set",
// the file's rows disappear, the delivery run moves to its rollback table
// and the local copy is removed. Only the single newest file of the last
// 15 days (an unsent one before a sent one) is offered.
#pragma once

#include <optional>
#include <string>

namespace qx {

class Database;
class Interaction;
struct SessionContext;

struct Ei13RollbackCandidate {
    std::string created, filename;
    long long total = 0;
    std::string state;  // "파일송신 완료" or "파일송신전"
};

std::optional<Ei13RollbackCandidate> LatestEi13RollbackCandidate(Database& db,
                                                                 const SessionContext& session);

// Rolls back `filename` ("EI13" + YYMMDD) in one transaction when it is the
// file offered; otherwise tells the user and changes nothing.
bool RollbackEi13File(Database& db, const SessionContext& session, Interaction& ui,
                      const std::string& filename);

}  // namespace qx
