// Taking back a request file whose result has not been applied, whatever its
// kind: the file row and its request rows disappear, every member gets back
// the state it had before the file, the relay run moves to its rollback table
// and the local copies are removed. One transaction per file.
#pragma once

#include <string>
#include <vector>

namespace qx {

class Database;
class Interaction;
struct SessionContext;

inline constexpr const char* kNothingTickedText = "롤백할 원본을 하나이상 선택 하십시오.";
inline constexpr const char* kRollbackLogSuffix = " 파일롤백";
inline constexpr const char* kRelayRollbackStatText = "공파일전송 전";

struct RequestFileKind {
    std::string kind;         // "EB13": the database name is kind + YYMMDD
    std::string fileTable;    // "ea13"
    std::string detailTable;  // "file_ea13"
    // The pross_stat values a rollback takes, as an SQL list: "('0')".
    std::string openStates;
    // Added to the member update on the relay path (cmsrunprg 2).
    std::string relayMemberExtra;
    // The run is moved out of kftc.filerun on the clearing-house path.
    bool kftcRun = false;
    // Exchange folders whose kind + MMDD copy is removed.
    std::vector<std::string> localKinds;
};

// True for kind + six digits.
bool IsRequestFileName(const RequestFileKind& kind, const std::string& name);

// Rolls back the named files in order, each in one transaction; a name that
// is not a candidate (unknown, or its result applied meanwhile, or taken back
// by another desk) is reported and skipped. Returns the number rolled back.
int RollbackRequestFiles(Database& db, const SessionContext& session, Interaction& ui,
                         const RequestFileKind& kind, const std::vector<std::string>& filenames);

}  // namespace qx
