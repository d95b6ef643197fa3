#include "bench_support.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
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

BenchInstitution CreateBenchInstitution(Database& db, long long inxFloor,
                                        const std::string& idPrefix, long long orgCodeBase) {
    BenchInstitution t;
    t.inx = db.scalarInt("select greatest(coalesce(max(inx),0)," + std::to_string(inxFloor) +
                         ")+1 from quorisdex.admin_company");
    InstitutionRequest request;
    request.inx = t.inx;
    request.id = idPrefix + std::to_string(t.inx);
    request.password = "bench";
    request.org_code = std::to_string(orgCodeBase + t.inx);
    request.company = "측정기관";
    request.cmsrunprg = 1;
    request.stat_company = 1;
    CreateInstitution(db, request);
    t.schema = InstitutionSchema(t.inx);
    t.loginId = request.id;
    t.orgCode = request.org_code;
    return t;
}

SessionContext BenchSession(const BenchInstitution& t) {
    SessionContext s;
    s.inx = std::to_string(t.inx);
    s.institution_number = t.inx;
    s.LoginId = t.loginId;
    return s;
}

SessionContext CmsBenchSession(const BenchInstitution& t, const std::string& drive) {
    SessionContext s = BenchSession(t);
    s.org_code = t.orgCode;
    s.cmsrunprg = 1;
    s.SystemDrive = drive;
    return s;
}

std::string BenchFolder(const std::string& name, bool fresh) {
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / name;
    if (fresh) std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    return folder.string() + "/";
}

}  // namespace qx::bench
