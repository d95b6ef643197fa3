// Transfers against a real FTP server on loopback (Debian's pyftpdlib, which
// scripts/setup installs), with an account and passive mode as in use.
#include "platform/ftp.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "platform/loopback_http.h"
#include "platform/profile_ini.h"

extern char** environ;

namespace qx {
namespace {

namespace fs = std::filesystem;

std::string Read(const fs::path& p) {
    return ReadWholeFile(p.string()).value_or("");
}

bool Accepts(int port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = htons(static_cast<uint16_t>(port));
    const bool ok = ::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0;
    ::close(fd);
    return ok;
}

class FtpServerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        root_ = fs::temp_directory_path() /
                ("qx_ftp_" +
                 std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(root_);
        fs::create_directories(root_ / "server" / "html" / "upgrade");
        fs::create_directories(root_ / "local");
        port_ = test::ClosedLoopbackPort();
        std::vector<std::string> args = {"/usr/bin/python3",
                                         "-m",
                                         "pyftpdlib",
                                         "-i",
                                         "127.0.0.1",
                                         "-p",
                                         std::to_string(port_),
                                         "-w",
                                         "-d",
                                         (root_ / "server").string(),
                                         "-u",
                                         "quorupdt",
                                         "-P",
                                         "upd-2026-secret"};
        std::vector<char*> argv;
        for (auto& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        const std::string log = (root_ / "ftp.log").string();
        posix_spawn_file_actions_addopen(&actions, 1, log.c_str(), O_WRONLY | O_CREAT, 0644);
        posix_spawn_file_actions_addopen(&actions, 2, log.c_str(), O_WRONLY | O_CREAT, 0644);
        ASSERT_EQ(posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ), 0);
        posix_spawn_file_actions_destroy(&actions);
        for (int i = 0; i < 200 && !Accepts(port_); ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        ASSERT_TRUE(Accepts(port_)) << Read(root_ / "ftp.log");
        endpoint_ = {"127.0.0.1", port_, "quorupdt", "upd-2026-secret"};
    }
    void TearDown() override {
        if (pid_ > 0) {
            ::kill(pid_, SIGTERM);
            int status = 0;
            ::waitpid(pid_, &status, 0);
        }
        fs::remove_all(root_);
    }

    fs::path root_;
    int port_ = 0;
    pid_t pid_ = 0;
    FtpEndpoint endpoint_;
};

TEST_F(FtpServerTest, DownloadsAndUploadsOverOneSession) {
    std::ofstream(root_ / "server" / "html" / "upgrade" / "quorisdex.ini")
        << "[SYSTEM]\r\nLASTUPDATETIME=2026020500\r\n";
    std::string big(300000, 'x');
    std::ofstream(root_ / "server" / "html" / "upgrade" / "quorisdex", std::ios::binary) << big;

    FtpSession ftp(endpoint_);
    ftp.setFolder("/html/upgrade/");
    ASSERT_TRUE(ftp.download("quorisdex.ini", (root_ / "local" / "quorisdex.ini").string()))
        << ftp.lastError();
    EXPECT_EQ(Read(root_ / "local" / "quorisdex.ini"), "[SYSTEM]\r\nLASTUPDATETIME=2026020500\r\n");
    long long lastDone = 0, lastTotal = 0;
    ASSERT_TRUE(ftp.download("quorisdex", (root_ / "local" / "quorisdex_ext").string(),
                             [&](long long done, long long total) {
                                 lastDone = done;
                                 lastTotal = total;
                                 return true;
                             }))
        << ftp.lastError();
    EXPECT_EQ(Read(root_ / "local" / "quorisdex_ext"), big);
    EXPECT_EQ(lastDone, 300000);
    EXPECT_EQ(lastTotal, 300000);

    std::ofstream(root_ / "local" / "EB22260207") << "result";
    ftp.setFolder("/html/fileback_21/");
    ASSERT_TRUE(ftp.upload((root_ / "local" / "EB22260207").string(), "EB22260207"))
        << ftp.lastError();
    EXPECT_EQ(Read(root_ / "server" / "html" / "fileback_21" / "EB22260207"), "result");
}

TEST_F(FtpServerTest, MissingFileLeavesTheLocalFile) {
    std::ofstream(root_ / "local" / "QuorPrint.exe") << "old";
    FtpSession ftp(endpoint_);
    ftp.setFolder("/html/upgrade/");
    EXPECT_FALSE(ftp.download("QuorPrint.exe", (root_ / "local" / "QuorPrint.exe").string()));
    EXPECT_FALSE(ftp.lastError().empty());
    EXPECT_EQ(Read(root_ / "local" / "QuorPrint.exe"), "old");

    EXPECT_FALSE(fs::exists(root_ / "local" / "QuorPrint.exe.part"));
}

TEST(FtpEndpoint, AddressFromHostAndPortOrAsGiven) {
    EXPECT_EQ((FtpEndpoint{"upd.example", 2121, "", ""}.baseUrl()), "ftp://upd.example:2121");
    EXPECT_EQ((FtpEndpoint{"upd.example", 0, "", ""}.baseUrl()), "ftp://upd.example:21");
    EXPECT_EQ((FtpEndpoint{"file:///srv/update/", 21, "", ""}.baseUrl()), "file:///srv/update");
    FtpSession s(FtpEndpoint{"127.0.0.1", 21, "", ""});
    s.setFolder("html/upgrade");
    EXPECT_EQ(s.urlOf("a b.ini"), "ftp://127.0.0.1:21/html/upgrade/a%20b.ini");
}

}  // namespace
}  // namespace qx
