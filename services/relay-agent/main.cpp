// quorisdex-relay-agent --app-path DIR [--rules FILE] [--interval SECONDS] [--once]
//                       [--now "yyyy-mm-dd hh:nn:ss"]
// Plays the relay: takes the runs handed over in sdsi/aegis filerun and
// moves them on. The database settings come from DIR's Login.ini.
#include <CLI/CLI.hpp>
#include <chrono>
#include <iostream>
#include <thread>

#include "card_company.h"
#include "db/database.h"
#include "platform/profile_ini.h"
#include "platform/system_drive.h"
#include "relay_agent.h"
#include "relay_results.h"

int main(int argc, char** argv) {
    CLI::App app{"quorisdex-relay-agent: the relay stand-in"};
    std::string appPath, rulesPath;
    int interval = 2;
    bool once = false;
    app.add_option("--app-path", appPath, "folder with Login.ini")->required();
    app.add_option("--rules", rulesPath,
                   "rules file (lines: refuse ORG MESSAGE, decline-card CARD MESSAGE)");
    app.add_option("--interval", interval, "seconds between passes");
    app.add_flag("--once", once, "one pass, then exit");
    std::string now;  // results are due by this clock (tests); else the server's
    app.add_option("--now", now, "clock for the results' due time (yyyy-mm-dd hh:nn:ss)");
    CLI11_PARSE(app, argc, argv);

    const qx::ProfileIni ini(qx::JoinPath(qx::ResolveAppPath(appPath), "Login.ini"));
    try {
        qx::Database db;
        if (!db.ConnectDatabase(qx::DbConfig::FromServerEntry(
                ini.read("SYSTEM", "DBCONNIP", "127.0.0.1"), ini.read("SYSTEM", "DBCONNUSER", ""),
                ini.read("SYSTEM", "DBCONNPW", "")))) {
            std::cerr << db.lastConnectError() << std::endl;
            return 1;
        }
        do {
            const int moved = relay::TakeRuns(db, relay::ReadRules(rulesPath));
            if (moved > 0) std::cout << "moved=" << moved << std::endl;
            // The card company answers the card runs the relay has taken.
            const int answered = relay::AnswerCardRuns(db, relay::ReadCardDeclines(rulesPath));
            if (answered > 0) std::cout << "card-answered=" << answered << std::endl;
            const relay::ResultRules results = relay::ReadResultRules(rulesPath);
            const int applied = relay::ApplyDueResults(db, results, now);
            if (applied > 0) std::cout << "applied=" << applied << std::endl;
            relay::AnswerAuthRequeries(db, results);
            if (!once) std::this_thread::sleep_for(std::chrono::seconds(interval));
        } while (!once);
    } catch (const std::exception& e) {
        std::cerr << e.what() << std::endl;
        return 1;
    }
    return 0;
}
