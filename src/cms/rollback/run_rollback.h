// Steps every file rollback shares: the delivery run moved to its rollback
// table and the local copy of the file removed.
#pragma once

#include <string>

namespace qx {

class Database;
struct SessionContext;

// kftc.filerun rows of the file (database name, "EB13" + YYMMDD) move to
// kftc.filerun_rollback with the rollback's state text.
void MoveKftcRunToRollback(Database& db, const SessionContext& session,
                           const std::string& filename);

// Removes "<kind>" + MMDD of the exchange folder when its header carries the
// file's own date (a file of the same MMDD from another year is another
// file). `filename` is the database name, kind + YYMMDD.
void RemoveLocalCopy(const SessionContext& session, const std::string& kind,
                     const std::string& filename);

}  // namespace qx
