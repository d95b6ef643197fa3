// Runs quorisdex-web on a free loopback port for a test, with a Login.ini
// that points it at the test database, and stops it afterwards.
#pragma once

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "db/database.h"
#include "platform/profile_ini.h"

extern char** environ;

namespace qx::test {

class WebStandIn {
  public:
    // One more Login.ini value of the stand-in: section, key, value.
    struct IniValue {
        std::string section, key, value;
    };

    explicit WebStandIn(const DbConfig& db, const std::vector<IniValue>& extra = {}) {
        namespace fs = std::filesystem;
        dir_ = fs::temp_directory_path() /
               ("qx_web_" + std::to_string(::getpid()) + "_" + std::to_string(counter()++));
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        ProfileIni ini((dir_ / "Login.ini").string());
        ini.write("SYSTEM", "DBCONNIP", db.host + ":" + std::to_string(db.port));
        ini.write("SYSTEM", "DBCONNUSER", db.user);
        ini.write("SYSTEM", "DBCONNPW", db.password);
        for (const auto& v : extra) ini.write(v.section, v.key, v.value);

        std::vector<std::string> args = {
            QUORISDEX_WEB_EXE, "--app-path", dir_.string(), "--port", "0", "--log", log().string()};
        std::vector<char*> argv;
        for (auto& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        const std::string out = (dir_ / "stdout.txt").string();
        posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT, 0644);
        posix_spawn_file_actions_addopen(&actions, 2, out.c_str(), O_WRONLY | O_CREAT | O_APPEND,
                                         0644);
        if (posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ) != 0) pid_ = 0;
        posix_spawn_file_actions_destroy(&actions);
        for (int i = 0; i < 500 && pid_ > 0 && port_ == 0; ++i) {
            const std::string text = read(dir_ / "stdout.txt");
            if (auto p = text.find("PORT=");
                p != std::string::npos && text.find('\n', p) != std::string::npos) {
                port_ = std::stoi(text.substr(p + 5));
            } else {
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
            }
        }
    }
    ~WebStandIn() {
        if (pid_ > 0) {
            ::kill(pid_, SIGTERM);
            int status = 0;
            ::waitpid(pid_, &status, 0);
        }
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
    }
    WebStandIn(const WebStandIn&) = delete;
    WebStandIn& operator=(const WebStandIn&) = delete;

    int port() const { return port_; }
    // What WEBHOST holds for it.
    std::string webHost() const { return "http://127.0.0.1:" + std::to_string(port_); }
    // The request lines it logged so far.
    std::string requestLog() const { return read(log()); }

  private:
    std::filesystem::path log() const { return dir_ / "requests.log"; }
    static std::string read(const std::filesystem::path& p) {
        return ReadWholeFile(p.string()).value_or("");
    }
    static int& counter() {
        static int n = 0;
        return n;
    }

    std::filesystem::path dir_;
    pid_t pid_ = 0;
    int port_ = 0;
};

}  // namespace qx::test
