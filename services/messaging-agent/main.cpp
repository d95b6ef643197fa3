// quorisdex-messaging-agent --app-path DIR [--rules FILE] [--interval SECONDS] [--once |
// --until-empty] Plays the carrier behind the messaging database: delivers the queued BIZ_MSG rows
// into the monthly log tables. The messaging database comes from DIR's Login.ini
// (SMSDBIP/SMSDBUSER/SMSDBPW, else the DBCONN keys).
#include <CLI/CLI.hpp>
#include <chrono>
#include <iostream>
#include <thread>

#include "db/database.h"
#include "messaging/messaging_db.h"
#include "messaging_agent.h"
#include "platform/profile_ini.h"
#include "platform/system_drive.h"

int main(int argc, char** argv) {
    CLI::App app{"quorisdex-messaging-agent: the messaging agent stand-in"};
    std::string appPath, rulesPath;
    double interval = 1;
    bool once = false, untilEmpty = false;
    app.add_option("--app-path", appPath, "folder with Login.ini")->required();
    app.add_option("--rules", rulesPath,
                   "rules file (lines: status PHONE CODE | default CODE; CODE wait = pending)");
    app.add_option("--interval", interval, "seconds between passes");
    app.add_flag("--once", once, "one pass, then exit");
    app.add_flag("--until-empty", untilEmpty, "passes until the queue is empty, then exit");
    CLI11_PARSE(app, argc, argv);

    const qx::ProfileIni ini(qx::JoinPath(qx::ResolveAppPath(appPath), "Login.ini"));
    const qx::DbConfig config = qx::MessagingDbConfig(ini);
    qx::Database db;
    while (true) {
        try {
            if (!db.isOpen() && !db.ConnectDatabase(config)) {
                std::cerr << db.lastConnectError() << std::endl;
                if (once || untilEmpty) return 1;
            } else {
                // The rules are read on every pass, so a test or a person can change them.
                const int moved =
                    messaging_agent::DeliverQueued(db, messaging_agent::ReadRules(rulesPath));
                if (moved > 0) std::cout << "delivered=" << moved << std::endl;
                if (once) return 0;
                if (untilEmpty && moved > 0) continue;
                // Rows another agent holds are left to it; done once it has them.
                if (untilEmpty && db.scalarInt("select count(*) from bizclient.BIZ_MSG") == 0)
                    return 0;
            }
        } catch (const std::exception& e) {
            std::cerr << e.what() << std::endl;
            if (once || untilEmpty) return 1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(static_cast<int>(interval * 1000)));
    }
}
