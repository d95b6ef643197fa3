// The local test/live marker of a login id. Several institutions may log in
// from one program folder, so each login id keeps its own marker; when an
// institution goes live the files it made while testing leave its exchange
// folders. A file whose row is finished is deleted; one that is still open
// (unsent, unanswered, not applied) is archived, never deleted.
#pragma once

#include <string>
#include <vector>

namespace qx {

class Database;
class ProfileIni;
struct SessionContext;

inline constexpr const char* kProgramStatusSection = "PRGSTAT";
inline constexpr const char* kProgramStatusTest = "테스트";
inline constexpr const char* kProgramStatusLive = "실시";

// The Login.ini key of the login id's marker.
std::string ProgramStatusKey(const SessionContext& session);

struct ProgramStatusResult {
    bool wentLive = false;
    std::vector<std::string> deleted, archived, kept;
};

// Aligns the login id's marker with the institution's state; the first login
// after going live clears the exchange folders as described above.
ProgramStatusResult SyncProgramStatus(Database& db, const SessionContext& session,
                                      const ProfileIni& ini);

}  // namespace qx
