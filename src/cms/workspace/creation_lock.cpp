#include "cms/workspace/creation_lock.h"

#include "core/session_context.h"
#include "db/database.h"

namespace qx {

std::string CreationLock::Name(const SessionContext& s, const std::string& kind) {
    return "quorisdex.create." + kind + "." + std::to_string(s.institution_number);
}

CreationLock::CreationLock(Database& db, const SessionContext& s, const std::string& kind,
                           int waitSeconds)
    : db_(db), name_(Name(s, kind)) {
    held_ = db_.scalar("select get_lock(?,?)", {name_, waitSeconds}) == "1";
}

CreationLock::~CreationLock() {
    if (!held_) return;
    try {
        db_.scalar("select release_lock(?)", {name_});
    } catch (...) {
        // A connection that failed has lost the lock with it.
    }
}

}  // namespace qx
