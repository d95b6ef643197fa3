#include "bench_support.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iostream>

#include "admin/provisioning.h"
#include "db/database.h"

namespace qx::bench {

double Seconds(Clock::time_point from) {
    return std::chrono::duration<double>(Clock::now() - from).count();
}

long long StatusKib(const std::string& key) {
    std::ifstream in("/proc/self/status");
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind(key + ":", 0) == 0) return std::atoll(line.c_str() + key.size() + 1);
    }
    return -1;
}

void ResetPeak() {
    std::ofstream("/proc/self/clear_refs") << "5";
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

bool ConnectBenchDatabase(const std::string& serverEntry, Database& db) {
    const char* user = std::getenv("QUORISDEX_DB_USER");
    const char* password = std::getenv("QUORISDEX_DB_PASSWORD");
    const DbConfig config = DbConfig::FromServerEntry(serverEntry, user ? user : "quorisdex",
                                                      password ? password : "quorisdex-demo");
    {
        DbConfig bare = config;
        bare.defaultSchema.clear();
        Database setup;
        if (!setup.ConnectDatabase(bare)) {
            std::cerr << setup.lastConnectError() << "\n";
            return false;
        }
        InitSharedDatabase(setup);
    }
    if (!db.ConnectDatabase(config)) {
        std::cerr << db.lastConnectError() << "\n";
        return false;
    }
    return true;
}

int RunBench(int argc, char** argv, const std::string& usage, long long defaultSize,
             const std::function<int(Database&, const BenchArgs&)>& body) {
    if (argc < 2) {
        std::cerr << "usage: " << usage << "\n";
        return 2;
    }
    BenchArgs args;
    args.size = argc > 2 ? std::atoll(argv[2]) : defaultSize;
    if (argc > 3) args.rounds = std::atoi(argv[3]);
    try {
        Database db;
        if (!ConnectBenchDatabase(argv[1], db)) return 2;
        return body(db, args);
    } catch (const std::exception& e) {
        std::cerr << "failed: " << e.what() << "\n";
        return 1;
    }
}

}  // namespace qx::bench
