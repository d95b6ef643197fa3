// change / adminchange: the replacement programs of the client's update.
//   change --wait-pid PID --target EXE --replacement EXE_ext [--app-path DIR]
//          [--login-ini FILE --previous-stamp STAMP] [-- COMMAND LINE]
// Waits for the client (PID) to end, puts the downloaded program in place of
// the executable and starts it again. adminchange passes the command line
// after "--" (launch code and credentials) on to the restarted program;
// change starts it without. When the exchange fails, the old program stays
// and is started, and Login.ini gets the previous stamp back so that the next
// start downloads the new program again.
#include <CLI/CLI.hpp>
#include <chrono>
#include <filesystem>
#include <iostream>

#include "platform/process_control.h"
#include "platform/profile_ini.h"

#ifndef QUORISDEX_FORWARD_COMMAND_LINE
#define QUORISDEX_FORWARD_COMMAND_LINE 0
#endif

int main(int argc, char** argv) {
    CLI::App app{"Exchanges the client's executable for the downloaded one"};
    long pid = 0;
    int waitSeconds = 60;
    std::string target, replacement, appPath, loginIni, previousStamp;
    std::vector<std::string> commandLine;
    app.add_option("--wait-pid", pid, "process to wait for")->required();
    app.add_option("--target", target, "executable to replace")->required();
    app.add_option("--replacement", replacement, "downloaded program")->required();
    app.add_option("--app-path", appPath, "program folder passed on to the restarted program");
    app.add_option("--login-ini", loginIni, "Login.ini whose MEUPDATE is restored on failure");
    app.add_option("--previous-stamp", previousStamp, "MEUPDATE before the download");
    app.add_option("--wait-seconds", waitSeconds, "how long to wait for the program to end");
    app.add_option("command-line", commandLine, "command line of the restarted program");
    CLI11_PARSE(app, argc, argv);

    if (!qx::WaitForProcessEnd(pid, std::chrono::seconds(waitSeconds))) {
        std::cerr << "replacement: process " << pid << " still runs; replacing anyway" << std::endl;
    }

    int result = 0;
    std::string error;
    if (!qx::ReplaceExecutable(target, replacement, &error)) {
        std::cerr << "replacement: " << error << "; the old program stays" << std::endl;
        std::error_code ec;
        std::filesystem::remove(replacement, ec);
        if (!loginIni.empty() && !previousStamp.empty()) {
            qx::ProfileIni(loginIni).write("SYSTEM", "MEUPDATE", previousStamp);
        }
        result = 1;
    }

    std::vector<std::string> args;
    if (!appPath.empty()) args = {"--app-path", appPath};
    if (QUORISDEX_FORWARD_COMMAND_LINE)
        args.insert(args.end(), commandLine.begin(), commandLine.end());
    if (!qx::StartDetached(target, args, &error)) {
        std::cerr << "replacement: cannot start " << error << std::endl;
        return 2;
    }
    return result;
}
