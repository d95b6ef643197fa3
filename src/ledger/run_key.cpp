#include "ledger/run_key.h"

#include "core/session_context.h"
#include "db/database.h"
#include "ledger/ledger_rules.h"

namespace qx {

RunKeyLock::RunKeyLock(Database& db, const SessionContext& s, int waitSeconds)
    : db_(db), lock_(db, "quorisdex_runkey_" + s.schema(), waitSeconds), schema_(s.schema()) {
    if (!lock_.held()) throw LedgerRefused(kRunKeyBusyText);
}

long long RunKeyLock::nextKey() {
    const long long key = 1 + db_.scalarInt(
                                  "select greatest("
                                  "ifnull((select max(addmuskey) from " +
                                  schema_ +
                                  ".pay_pross),0),"
                                  "ifnull((select max(add_runkey) from " +
                                  schema_ +
                                  ".payadd),0),"
                                  "ifnull((select max(add_runkey) from " +
                                  schema_ + ".paymus),0))");
    if (key > kLastRunKey) throw LedgerRefused(kRunKeyExhaustedText);
    return key;
}

}  // namespace qx
