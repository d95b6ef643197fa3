#include "db/named_lock.h"

#include "db/database.h"

namespace qx {

NamedLock::NamedLock(Database& db, std::string name, int waitSeconds)
    : db_(db), name_(std::move(name)) {
    held_ = db_.scalarInt("select get_lock(?,?)", {name_, waitSeconds}) == 1;
}

NamedLock::~NamedLock() {
    if (!held_) return;
    try {
        db_.scalar("select release_lock(?)", {name_});
    } catch (...) {
        // A connection that failed has lost the lock with it.
    }
}

}  // namespace qx
