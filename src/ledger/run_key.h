// The run key shared by batch sales and batch collections: one more than the
// largest key in the ledger and both batch tables. It is taken under a named
// database lock per institution, held until the run's rows are committed,
// so that two desks starting a run at the same moment never share a key.
#pragma once

#include <string>

#include "db/named_lock.h"

namespace qx {

class Database;
struct SessionContext;

// The key is kept as a 16-bit signed number by the history and the server.
inline constexpr long long kLastRunKey = 32767;
inline constexpr const char* kRunKeyExhaustedText =
    "일괄작업 번호가 최대값(32767)에 도달하여 더 이상 일괄작업을 할 수 없습니다. "
    "(※ ZELMOR 전산실 문의 바랍니다.)";
inline constexpr const char* kRunKeyBusyText =
    "다른 사용자가 일괄작업을 시작하는 중입니다. 잠시후 다시 시도 하십시오.";

// Holds the institution's run-key lock for its lifetime. Throws
// LedgerRefused when the lock is not free within the wait.
class RunKeyLock {
  public:
    RunKeyLock(Database& db, const SessionContext& session, int waitSeconds = 30);
    RunKeyLock(const RunKeyLock&) = delete;
    RunKeyLock& operator=(const RunKeyLock&) = delete;

    // The next free key; throws LedgerRefused above kLastRunKey.
    long long nextKey();

  private:
    Database& db_;
    NamedLock lock_;
    std::string schema_;
};

}  // namespace qx
