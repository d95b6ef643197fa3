#include "cms/workspace/creation_lock.h"

#include "core/session_context.h"

namespace qx {

std::string CreationLock::Name(const SessionContext& s, const std::string& kind) {
    return "quorisdex.create." + kind + "." + std::to_string(s.institution_number);
}

CreationLock::CreationLock(Database& db, const SessionContext& s, const std::string& kind,
                           int waitSeconds)
    : lock_(db, Name(s, kind), waitSeconds) {}

}  // namespace qx
