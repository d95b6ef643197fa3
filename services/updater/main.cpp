// change / adminchange: the replacement programs of the client's update.
//   change --wait-pid PID --target EXE --replacement EXE_ext [--app-path DIR]
//          [--login-ini FILE --previous-stamp STAMP]
//          [--new-stamp STAMP --size N --sha256 HEX] [-- COMMAND LINE]
// Waits for the client (PID) to end, checks the downloaded program against
// its release (size and SHA-256), puts it in place of the executable and
// starts it again. The previous executable is kept beside it (EXE_prev) until
// the new program has started once and removed it; when the new program ends
// before that, the previous one is put back and started. adminchange passes
// the command line after "--" (launch code and credentials) on to the
// restarted program; change starts it without. MEUPDATE is written by the
// new program itself once it runs (from MEUPDATEPENDING), so a swap that does
// not hold never records the new release.
#include <CLI/CLI.hpp>
#include <chrono>
#include <filesystem>
#include <iostream>
#include <thread>

#include "platform/process_control.h"
#include "platform/profile_ini.h"
#include "session/update_check.h"

#ifndef QUORISDEX_FORWARD_COMMAND_LINE
#define QUORISDEX_FORWARD_COMMAND_LINE 0
#endif

namespace {

namespace fs = std::filesystem;

struct Options {
    long pid = 0;
    int waitSeconds = 60;
    int confirmSeconds = 60;
    std::string target, replacement, appPath, loginIni, previousStamp, newStamp, sha256;
    long long size = -1;
    std::vector<std::string> commandLine;
};

void WriteStamps(const Options& o, const std::string& pending, bool restorePrevious) {
    if (o.loginIni.empty()) return;
    const qx::ProfileIni ini(o.loginIni);
    ini.write("SYSTEM", qx::kPendingStampKey, pending);
    if (restorePrevious && !o.previousStamp.empty()) {
        ini.write("SYSTEM", "MEUPDATE", o.previousStamp);
    }
}

bool Start(const Options& o, long* pid) {
    std::vector<std::string> args;
    if (!o.appPath.empty()) args = {"--app-path", o.appPath};
    if (QUORISDEX_FORWARD_COMMAND_LINE)
        args.insert(args.end(), o.commandLine.begin(), o.commandLine.end());
    std::string error;
    if (!qx::StartDetached(o.target, args, &error, pid)) {
        std::cerr << "replacement: cannot start " << error << std::endl;
        return false;
    }
    return true;
}

// The old program stays (or comes back) and is started.
int KeepOldProgram(const Options& o, const std::string& why) {
    std::cerr << "replacement: " << why << "; the old program stays" << std::endl;
    std::error_code ec;
    fs::remove(o.replacement, ec);
    WriteStamps(o, "", true);
    return Start(o, nullptr) ? 1 : 2;
}

}  // namespace

int main(int argc, char** argv) {
    CLI::App app{"Exchanges the client's executable for the downloaded one"};
    Options o;
    app.add_option("--wait-pid", o.pid, "process to wait for")->required();
    app.add_option("--target", o.target, "executable to replace")->required();
    app.add_option("--replacement", o.replacement, "downloaded program")->required();
    app.add_option("--app-path", o.appPath, "program folder passed on to the restarted program");
    app.add_option("--login-ini", o.loginIni, "Login.ini of the program folder");
    app.add_option("--previous-stamp", o.previousStamp, "MEUPDATE before the download");
    app.add_option("--new-stamp", o.newStamp, "stamp of the release being swapped in");
    app.add_option("--size", o.size, "size of the released program in bytes");
    app.add_option("--sha256", o.sha256, "SHA-256 of the released program");
    app.add_option("--wait-seconds", o.waitSeconds, "how long to wait for the program to end");
    app.add_option("--confirm-seconds", o.confirmSeconds,
                   "how long to wait for the new program to confirm its start");
    app.add_option("command-line", o.commandLine, "command line of the restarted program");
    CLI11_PARSE(app, argc, argv);

    if (!qx::WaitForProcessEnd(o.pid, std::chrono::seconds(o.waitSeconds))) {
        std::cerr << "replacement: process " << o.pid << " still runs; replacing anyway"
                  << std::endl;
    }

    // Checked again right before the swap: the file may have changed since.
    if (!o.sha256.empty() || o.size >= 0) {
        qx::ReleasedProgram release{o.newStamp, o.size, o.sha256};
        if (!qx::MatchesRelease(o.replacement, release)) {
            return KeepOldProgram(o, o.replacement + " does not match its release");
        }
    }

    const std::string previous = qx::PreviousProgramPath(o.target);
    std::error_code ec;
    fs::remove(previous, ec);
    if (!fs::copy_file(o.target, previous, ec)) {
        return KeepOldProgram(o, "cannot keep the previous program: " + ec.message());
    }
    std::string error;
    if (!qx::ReplaceExecutable(o.target, o.replacement, &error)) {
        fs::remove(previous, ec);
        return KeepOldProgram(o, error);
    }

    WriteStamps(o, o.newStamp, false);
    long started = 0;
    if (!Start(o, &started)) {
        qx::ReplaceExecutable(o.target, previous, &error);
        return KeepOldProgram(o, "the new program cannot be started");
    }
    // The new program removes the kept copy once it runs; one that ends
    // before doing so did not start, and the previous program comes back.
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(o.confirmSeconds);
    while (fs::exists(previous, ec)) {
        if (qx::WaitForProcessEnd(started, std::chrono::milliseconds(100))) {
            if (!fs::exists(previous, ec)) break;
            if (!qx::ReplaceExecutable(o.target, previous, &error)) {
                std::cerr << "replacement: cannot put the previous program back: " << error
                          << std::endl;
                return 2;
            }
            return KeepOldProgram(o, "the new program ended before it started");
        }
        if (std::chrono::steady_clock::now() >= until) {
            // Still running: it confirms its start itself when it gets there.
            std::cerr << "replacement: the new program has not confirmed its start yet"
                      << std::endl;
            break;
        }
    }
    return 0;
}
