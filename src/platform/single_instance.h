// Refuses a second running copy of the program for the same user.
#pragma once

#include <string>

namespace qx {

class SingleInstance {
  public:
    // Takes the lock named `name` in the user's runtime folder.
    explicit SingleInstance(const std::string& name);
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;
    // False when another copy already holds the lock.
    bool acquired() const { return fd_ >= 0; }

  private:
    int fd_ = -1;
};

}  // namespace qx
