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

}  // namespace qx::bench
