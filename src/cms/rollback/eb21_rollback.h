// Taking back EB21 files whose result has not been applied: the file and its
// requests disappear, every member gets back the state it had before the
// file, the relay run moves to its rollback table and both local copies (EA21
// and EB21) are removed.
#pragma once

#include <string>
#include <vector>

#include "cms/rollback/request_file_rollback.h"

namespace qx {

class Database;
class Interaction;
struct SessionContext;

inline constexpr const char* kEb21RollbackStateText = "eb22파일 적용전";

struct Eb21RollbackCandidate {
    std::string created, filename;
    long long totalCount = 0, totalMoney = 0;
    std::string state;  // "eb22파일 적용전"
};

// Files whose result has not been applied nor claimed, newest first.
std::vector<Eb21RollbackCandidate> ListEb21RollbackCandidates(Database& db,
                                                              const SessionContext& session);

// Rolls back the named files ("EB21" + YYMMDD) in order, each in one
// transaction; a name that is not a candidate is reported and skipped.
// Returns the number rolled back.
int RollbackEb21Files(Database& db, const SessionContext& session, Interaction& ui,
                      const std::vector<std::string>& filenames);

}  // namespace qx
