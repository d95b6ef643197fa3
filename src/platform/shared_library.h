// A library loaded at run time (the clearing-house library is not linked:
// a workstation without it still runs).
#pragma once

#include <string>

namespace qx {

class SharedLibrary {
  public:
    SharedLibrary() = default;
    ~SharedLibrary();
    SharedLibrary(const SharedLibrary&) = delete;
    SharedLibrary& operator=(const SharedLibrary&) = delete;

    // False with the reason in error() when the file cannot be loaded.
    bool open(const std::string& path);
    bool isOpen() const { return handle_ != nullptr; }
    // The address of an exported symbol, or nullptr.
    void* symbol(const std::string& name) const;
    const std::string& error() const { return error_; }

  private:
    void* handle_ = nullptr;
    std::string error_;
};

}  // namespace qx
