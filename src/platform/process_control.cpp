#include "platform/process_control.h"

#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <thread>

extern char** environ;

namespace qx {

namespace fs = std::filesystem;

namespace {

void SetError(std::string* error, std::string text) {
    if (error) *error = std::move(text);
}

// State letter of /proc/<pid>/stat; 0 when the process is gone.
char ProcessState(long pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    if (!std::getline(in, line)) return 0;
    const auto close = line.rfind(')');
    if (close == std::string::npos || close + 2 >= line.size()) return 0;
    return line[close + 2];
}

}  // namespace

bool StartDetached(const std::string& program, const std::vector<std::string>& args,
                   std::string* error, long* startedPid) {
    std::vector<std::string> argv_text;
    argv_text.push_back(program);
    argv_text.insert(argv_text.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (auto& a : argv_text) argv.push_back(a.data());
    argv.push_back(nullptr);

    posix_spawnattr_t attr;
    posix_spawnattr_init(&attr);
    // Its own session: the started program outlives the one that started it.
    posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSID);
    pid_t pid = 0;
    const int rc = posix_spawn(&pid, program.c_str(), nullptr, &attr, argv.data(), environ);
    posix_spawnattr_destroy(&attr);
    if (rc != 0) {
        SetError(error, program + ": " + std::strerror(rc));
        return false;
    }
    if (startedPid) *startedPid = pid;
    // Reap it in the background so that no zombie stays behind while we run.
    std::thread([pid] {
        int status = 0;
        waitpid(pid, &status, 0);
    }).detach();
    return true;
}

bool OpenWithDesktop(const std::string& target) {
    for (const char* opener : {"/usr/bin/xdg-open", "/usr/local/bin/xdg-open"}) {
        if (::access(opener, X_OK) == 0) return StartDetached(opener, {target});
    }
    return false;
}

bool WaitForProcessEnd(long pid, std::chrono::milliseconds limit) {
    const auto until = std::chrono::steady_clock::now() + limit;
    while (true) {
        if (pid <= 0) return true;
        const bool gone = ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH;
        if (gone) return true;
        const char state = ProcessState(pid);
        if (state == 0 || state == 'Z' || state == 'X') return true;
        if (std::chrono::steady_clock::now() >= until) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
}

std::string CurrentExecutablePath() {
    std::error_code ec;
    auto p = fs::read_symlink("/proc/self/exe", ec);
    return ec ? std::string() : p.string();
}

bool ReplaceExecutable(const std::string& target, const std::string& replacement,
                       std::string* error) {
    std::error_code ec;
    const auto size = fs::file_size(replacement, ec);
    if (ec) {
        SetError(error, replacement + ": " + ec.message());
        return false;
    }
    if (size == 0) {
        SetError(error, replacement + ": empty file");
        return false;
    }
    const fs::path staged =
        fs::path(target).parent_path() / ("." + fs::path(target).filename().string() + ".new");
    fs::remove(staged, ec);
    if (!fs::copy_file(replacement, staged, fs::copy_options::overwrite_existing, ec)) {
        SetError(error, staged.string() + ": " + ec.message());
        fs::remove(staged, ec);
        return false;
    }
    if (fs::file_size(staged, ec) != size || ec) {
        SetError(error, staged.string() + ": incomplete copy");
        fs::remove(staged, ec);
        return false;
    }
    ::chmod(staged.c_str(), 0755);
    if (::rename(staged.c_str(), target.c_str()) != 0) {
        SetError(error, target + ": " + std::strerror(errno));
        fs::remove(staged, ec);
        return false;
    }
    fs::remove(replacement, ec);
    return true;
}

}  // namespace qx
