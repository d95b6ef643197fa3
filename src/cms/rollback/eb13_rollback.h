// Taking back EB13 files whose result has not been applied: the file and its
// rows disappear, every member gets back the state it had before the file,
// the relay run moves to its rollback table and the local copy is removed.
#pragma once

#include <string>
#include <vector>

#include "cms/rollback/request_file_rollback.h"

namespace qx {

class Database;
class Interaction;
struct SessionContext;

struct Eb13RollbackCandidate {
    std::string created, filename;
    long long newCount = 0, cancelCount = 0, totalCount = 0;
    std::string state;  // "eb14파일 적용전"
};

// Files whose result has not been applied, newest first.
std::vector<Eb13RollbackCandidate> ListEb13RollbackCandidates(Database& db,
                                                              const SessionContext& session);

// Rolls back the named files ("EB13" + YYMMDD) in order, each in one
// transaction; a name that is not a candidate (unknown, or its result applied
// meanwhile) is reported and skipped. Returns the number rolled back.
int RollbackEb13Files(Database& db, const SessionContext& session, Interaction& ui,
                      const std::vector<std::string>& filenames);

}  // namespace qx
