// A server-side lock by name, held for the object's lifetime. Desks of one
// institution that must take turns (creating a file, issuing bills, taking
// a run key, filling a report table) share a name. The lock belongs to the
// connection, so the server also releases it when a desk dies.
#pragma once

#include <string>

namespace qx {

class Database;

class NamedLock {
  public:
    // Waits up to `waitSeconds` for the lock `name`.
    NamedLock(Database& db, std::string name, int waitSeconds);
    ~NamedLock();
    NamedLock(const NamedLock&) = delete;
    NamedLock& operator=(const NamedLock&) = delete;

    bool held() const { return held_; }

  private:
    Database& db_;
    std::string name_;
    bool held_ = false;
};

}  // namespace qx
