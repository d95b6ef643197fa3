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
#include "support/child_process.h"

extern char** environ;

namespace qx::test {

class WebStandIn {
  public:
    // One more Login.ini value of the stand-in: section, key, value.
    struct IniValue {
        std::string section, key, value;
    };

    explicit WebStandIn(const DbConfig& db, const std::vector<IniValue>& extra = {}) {
        const std::filesystem::path& dir = child_.dir();
        ProfileIni ini((dir / "Login.ini").string());
        ini.write("SYSTEM", "DBCONNIP", db.host + ":" + std::to_string(db.port));
        ini.write("SYSTEM", "DBCONNUSER", db.user);
        ini.write("SYSTEM", "DBCONNPW", db.password);
        for (const auto& v : extra) ini.write(v.section, v.key, v.value);

        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        const std::string out = (dir / "stdout.txt").string();
        posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT, 0644);
        posix_spawn_file_actions_addopen(&actions, 2, out.c_str(), O_WRONLY | O_CREAT | O_APPEND,
                                         0644);
        child_.start(
            {QUORISDEX_WEB_EXE, "--app-path", dir.string(), "--port", "0", "--log", log().string()},
            &actions);
        posix_spawn_file_actions_destroy(&actions);
        for (int i = 0; i < 500 && child_.started() && port_ == 0; ++i) {
            const std::string text = read(dir / "stdout.txt");
            if (auto p = text.find("PORT=");
                p != std::string::npos && text.find('\n', p) != std::string::npos) {
                port_ = std::stoi(text.substr(p + 5));
            } else {
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
            }
        }
    }
    int port() const { return port_; }
    // What WEBHOST holds for it.
    std::string webHost() const { return "http://127.0.0.1:" + std::to_string(port_); }
    // The request lines it logged so far.
    std::string requestLog() const { return read(log()); }

  private:
    std::filesystem::path log() const { return child_.dir() / "requests.log"; }
    static std::string read(const std::filesystem::path& p) {
        return ReadWholeFile(p.string()).value_or("");
    }
    ChildProcess child_{"qx_web_"};
    int port_ = 0;
};

}  // namespace qx::test
