// The replacement programs "change" and "adminchange", run as the client
// starts them, on a dummy program that records how it was started.
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "platform/process_control.h"
#include "platform/profile_ini.h"
#include "platform/sha256.h"
#include "session/update_check.h"

extern char** environ;

namespace qx {
namespace {

namespace fs = std::filesystem;

std::string Read(const fs::path& p) {
    return ReadWholeFile(p.string()).value_or("");
}

// A program that appends "<version> <its arguments>" to `record`, after
// confirming its start as the client does (removing the kept previous
// program beside it).
std::string DummyProgram(const std::string& version, const fs::path& record) {
    return "#!/bin/sh\nrm -f \"$0_prev\"\necho \"" + version + " $*\" >> '" + record.string() +
           "'\n";
}
void WriteDummyProgram(const fs::path& path, const std::string& version, const fs::path& record) {
    std::ofstream(path) << DummyProgram(version, record);
    fs::permissions(path, fs::perms::owner_all);
}

pid_t Spawn(const std::vector<std::string>& args) {
    std::vector<std::string> copy = args;
    std::vector<char*> argv;
    for (auto& a : copy) argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0) return 0;
    return pid;
}

int WaitExit(pid_t pid) {
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Waits until the restarted dummy has written its line.
std::string AwaitRecord(const fs::path& record) {
    for (int i = 0; i < 200; ++i) {
        const std::string text = Read(record);
        if (!text.empty() && text.back() == '\n') return text;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return Read(record);
}

class ReplacementProgramTest : public ::testing::Test {
  protected:
    void SetUp() override {
        root_ = fs::temp_directory_path() /
                ("qx_change_" +
                 std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(root_);
        fs::create_directories(root_ / "bin");
        fs::create_directories(root_ / "app");
        target_ = root_ / "bin" / "quorisdex";
        replacement_ = root_ / "app" / "quorisdex_ext";
        record_ = root_ / "started.txt";
        WriteDummyProgram(target_, "old", record_);
        ProfileIni((root_ / "app" / "Login.ini").string())
            .write("SYSTEM", "MEUPDATE", "2026020500");
    }
    void TearDown() override { fs::remove_all(root_); }

    // With the release's stamp, size and SHA-256, as the client hands over.
    std::vector<std::string> releaseArgs(const char* program, const std::string& released) const {
        auto a = args(program, 0);
        const std::vector<std::string> more = {"--new-stamp", "2026030100",
                                               "--size",      std::to_string(released.size()),
                                               "--sha256",    Sha256Hex(released)};
        a.insert(a.end() - 2, more.begin(), more.end());
        return a;
    }
    std::string Stamp(const char* key) const {
        return ProfileIni((root_ / "app" / "Login.ini").string()).read("SYSTEM", key, "");
    }
    std::vector<std::string> args(const char* program, pid_t waitFor) const {
        return {program,
                "--wait-pid",
                std::to_string(waitFor),
                "--target",
                target_.string(),
                "--replacement",
                replacement_.string(),
                "--app-path",
                (root_ / "app").string() + "/",
                "--login-ini",
                (root_ / "app" / "Login.ini").string(),
                "--previous-stamp",
                "2026010100",
                "--",
                "05550123987demo/demo1234"};
    }

    fs::path root_, target_, replacement_, record_;
};

TEST_F(ReplacementProgramTest, ChangeWaitsSwapsAndRestartsWithoutTheCommandLine) {
    WriteDummyProgram(replacement_, "new", record_);
    // The "client" still runs for a moment; nothing may happen before it ends.
    const pid_t client = Spawn({"/bin/sleep", "0.3"});
    ASSERT_GT(client, 0);
    std::thread reaper([client] { WaitExit(client); });

    const auto started = std::chrono::steady_clock::now();
    const pid_t change = Spawn(args(QUORISDEX_CHANGE_EXE, client));
    ASSERT_GT(change, 0);
    EXPECT_EQ(WaitExit(change), 0);
    reaper.join();
    EXPECT_GE(std::chrono::steady_clock::now() - started, std::chrono::milliseconds(250));

    EXPECT_EQ(AwaitRecord(record_), "new --app-path " + (root_ / "app").string() + "/\n");
    EXPECT_FALSE(fs::exists(replacement_));
    EXPECT_NE(Read(target_).find("echo \"new"), std::string::npos);
    EXPECT_EQ(ProfileIni((root_ / "app" / "Login.ini").string()).read("SYSTEM", "MEUPDATE", ""),
              "2026020500");
}

TEST_F(ReplacementProgramTest, AdminchangePassesTheCommandLineOn) {
    WriteDummyProgram(replacement_, "new", record_);
    const pid_t change = Spawn(args(QUORISDEX_ADMINCHANGE_EXE, 0));
    ASSERT_GT(change, 0);
    EXPECT_EQ(WaitExit(change), 0);
    EXPECT_EQ(AwaitRecord(record_),
              "new --app-path " + (root_ / "app").string() + "/ 05550123987demo/demo1234\n");
}

TEST_F(ReplacementProgramTest, EmptyDownloadKeepsAndRestartsTheOldProgram) {
    std::ofstream(replacement_).flush();  // a download that brought nothing
    const pid_t change = Spawn(args(QUORISDEX_CHANGE_EXE, 0));
    ASSERT_GT(change, 0);
    EXPECT_EQ(WaitExit(change), 1);

    EXPECT_EQ(AwaitRecord(record_), "old --app-path " + (root_ / "app").string() + "/\n");
    EXPECT_NE(Read(target_).find("echo \"old"), std::string::npos);
    EXPECT_FALSE(fs::exists(replacement_));
    // The next start downloads the program again.
    EXPECT_EQ(ProfileIni((root_ / "app" / "Login.ini").string()).read("SYSTEM", "MEUPDATE", ""),
              "2026010100");
}

TEST_F(ReplacementProgramTest, VerifiedSwapWaitsForTheNewProgramToConfirmItsStart) {
    const std::string released = DummyProgram("new", record_);
    std::ofstream(replacement_) << released;
    const pid_t change = Spawn(releaseArgs(QUORISDEX_CHANGE_EXE, released));
    ASSERT_GT(change, 0);
    EXPECT_EQ(WaitExit(change), 0);
    EXPECT_EQ(AwaitRecord(record_), "new --app-path " + (root_ / "app").string() + "/\n");
    EXPECT_EQ(Read(target_), released);
    EXPECT_FALSE(fs::exists(PreviousProgramPath(target_.string())));
    // Left to the new program, which records MEUPDATE from the pending stamp
    // when it runs (the dummy does not).
    EXPECT_EQ(Stamp(kPendingStampKey), "2026030100");
    EXPECT_EQ(Stamp("MEUPDATE"), "2026020500");
}

TEST_F(ReplacementProgramTest, DownloadThatDoesNotMatchItsReleaseIsNeverSwappedIn) {
    const std::string released = DummyProgram("new", record_);
    std::ofstream(replacement_) << released.substr(0, released.size() / 2);  // cut off
    const pid_t change = Spawn(releaseArgs(QUORISDEX_CHANGE_EXE, released));
    ASSERT_GT(change, 0);
    EXPECT_EQ(WaitExit(change), 1);
    EXPECT_EQ(AwaitRecord(record_), "old --app-path " + (root_ / "app").string() + "/\n");
    EXPECT_NE(Read(target_).find("echo \"old"), std::string::npos);
    EXPECT_FALSE(fs::exists(replacement_));
    EXPECT_EQ(Stamp("MEUPDATE"), "2026010100");
    EXPECT_EQ(Stamp(kPendingStampKey), "");
}

// A new program that dies before it has started once (as a broken download
// would) gets the previous program put back and started.
TEST_F(ReplacementProgramTest, NewProgramThatDiesAtStartIsRolledBack) {
    const std::string released = "#!/bin/sh\nexit 139\n";
    std::ofstream(replacement_) << released;
    const pid_t change = Spawn(releaseArgs(QUORISDEX_CHANGE_EXE, released));
    ASSERT_GT(change, 0);
    EXPECT_EQ(WaitExit(change), 1);
    EXPECT_EQ(AwaitRecord(record_), "old --app-path " + (root_ / "app").string() + "/\n");
    EXPECT_NE(Read(target_).find("echo \"old"), std::string::npos);
    EXPECT_FALSE(fs::exists(PreviousProgramPath(target_.string())));
    EXPECT_EQ(Stamp("MEUPDATE"), "2026010100");
    EXPECT_EQ(Stamp(kPendingStampKey), "");
}

TEST(ReplaceExecutable, RefusesMissingOrEmptyReplacement) {
    const fs::path dir = fs::temp_directory_path() / "qx_replace_exec";
    fs::remove_all(dir);
    fs::create_directories(dir);
    std::ofstream(dir / "prog") << "old";
    std::string error;
    EXPECT_FALSE(ReplaceExecutable((dir / "prog").string(), (dir / "none").string(), &error));
    EXPECT_FALSE(error.empty());
    std::ofstream(dir / "empty").flush();
    EXPECT_FALSE(ReplaceExecutable((dir / "prog").string(), (dir / "empty").string(), &error));
    EXPECT_EQ(Read(dir / "prog"), "old");

    std::ofstream(dir / "prog_ext") << "new";
    EXPECT_TRUE(ReplaceExecutable((dir / "prog").string(), (dir / "prog_ext").string(), &error));
    EXPECT_EQ(Read(dir / "prog"), "new");
    EXPECT_FALSE(fs::exists(dir / "prog_ext"));
    EXPECT_TRUE((fs::status(dir / "prog").permissions() & fs::perms::owner_exec) !=
                fs::perms::none);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 2);
    fs::remove_all(dir);
}

TEST(WaitForProcessEnd, ReturnsWhenTheProcessEndsOrTheLimitPasses) {
    const pid_t sleeper = Spawn({"/bin/sleep", "5"});
    ASSERT_GT(sleeper, 0);
    EXPECT_FALSE(WaitForProcessEnd(sleeper, std::chrono::milliseconds(100)));
    ::kill(sleeper, SIGTERM);
    // Not reaped yet: a zombie counts as ended.
    EXPECT_TRUE(WaitForProcessEnd(sleeper, std::chrono::seconds(5)));
    WaitExit(sleeper);
}

}  // namespace
}  // namespace qx
