// A server-side lock that serialises the creation of one kind of request
// file per institution: every workstation of the institution shares the
// same name, so a second creation waits until the first has finished and
// then sees its row. The lock belongs to the connection and is released on
// every path (and by the server when the connection ends).
#pragma once

#include <string>

#include "db/named_lock.h"

namespace qx {

class Database;
struct SessionContext;

inline constexpr int kCreationLockWaitSeconds = 30;
inline constexpr const char* kCreationBusyText =
    "다른 사용자가 같은 파일을 생성하고 있습니다. 잠시 후 다시 시도하십시오.";

class CreationLock {
  public:
    // Waits up to `waitSeconds` for the lock of `kind` ("EB13", …) of the
    // session's institution.
    CreationLock(Database& db, const SessionContext& session, const std::string& kind,
                 int waitSeconds = kCreationLockWaitSeconds);

    bool held() const { return lock_.held(); }
    // The name all workstations of the institution use.
    static std::string Name(const SessionContext& session, const std::string& kind);

  private:
    NamedLock lock_;
};

}  // namespace qx
