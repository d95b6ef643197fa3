// Starting other programs, waiting for one to end, and exchanging a
// program's executable for a downloaded one.
#pragma once

#include <chrono>
#include <string>
#include <vector>

namespace qx {

// Starts `program` with `args` in its own session, not waited for; false
// (with the reason in `error`) when it could not be started. `startedPid`
// receives its process id (for WaitForProcessEnd).
bool StartDetached(const std::string& program, const std::vector<std::string>& args,
                   std::string* error = nullptr, long* startedPid = nullptr);
// Opens a file or an address with the desktop's default program (xdg-open).
bool OpenWithDesktop(const std::string& target);

// True once the process has ended (or is only a zombie); false when it still
// runs after `limit`.
bool WaitForProcessEnd(long pid, std::chrono::milliseconds limit);

// Full path of the running executable.
std::string CurrentExecutablePath();

// Puts `replacement` in the place of `target`: copied beside the target and
// renamed over it, so the target is either the old or the whole new program,
// then the replacement is removed. An empty or missing replacement is
// refused. False (target untouched) with the reason in `error` on failure.
bool ReplaceExecutable(const std::string& target, const std::string& replacement,
                       std::string* error = nullptr);

}  // namespace qx
