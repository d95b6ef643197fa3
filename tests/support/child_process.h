// A helper program a test starts, in a folder of its own: the folder
// "<prefix><pid>_<n>" under the temporary directory, made fresh; the program
// started with the test's environment; at the end SIGTERM, a wait for it and
// the folder removed.
#pragma once

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

extern char** environ;

namespace qx::test {

class ChildProcess {
  public:
    explicit ChildProcess(const std::string& prefix) {
        static int counter = 0;
        dir_ = std::filesystem::temp_directory_path() /
               (prefix + std::to_string(::getpid()) + "_" + std::to_string(counter++));
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
    }
    ~ChildProcess() {
        if (pid_ > 0) {
            ::kill(pid_, SIGTERM);
            int status = 0;
            ::waitpid(pid_, &status, 0);
        }
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
    }
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // Starts args[0] with `args`; false when it could not be started.
    bool start(std::vector<std::string> args, const posix_spawn_file_actions_t* actions = nullptr) {
        std::vector<char*> argv;
        for (auto& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        if (posix_spawn(&pid_, argv[0], actions, nullptr, argv.data(), environ) != 0) pid_ = 0;
        return pid_ > 0;
    }
    const std::filesystem::path& dir() const { return dir_; }
    bool started() const { return pid_ > 0; }

  private:
    std::filesystem::path dir_;
    pid_t pid_ = 0;
};

}  // namespace qx::test
