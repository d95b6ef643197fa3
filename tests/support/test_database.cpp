#include "support/test_database.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <mutex>
#include <stdexcept>

namespace qx::test {

DbConfig TestDatabaseConfig() {
    const char* addr = std::getenv("QUORISDEX_TEST_DB");
    if (!addr || !*addr) {
        throw std::runtime_error(
            "QUORISDEX_TEST_DB is not set: run the database tests through scripts/test");
    }
    const char* user = std::getenv("QUORISDEX_TEST_DB_USER");
    const char* pw = std::getenv("QUORISDEX_TEST_DB_PASSWORD");
    return DbConfig::FromServerEntry(addr, user ? user : "quorisdex", pw ? pw : "quorisdex-demo");
}

std::unique_ptr<Database> ConnectTestDatabase() {
    static std::once_flag initialised;
    std::call_once(initialised, [] {
        Database setup;
        DbConfig config = TestDatabaseConfig();
        config.defaultSchema.clear();
        if (!setup.ConnectDatabase(config)) {
            throw std::runtime_error("cannot reach the test database: " + setup.lastConnectError());
        }
        InitSharedDatabase(setup);
    });
    auto db = std::make_unique<Database>();
    if (!db->ConnectDatabase(TestDatabaseConfig())) {
        throw std::runtime_error("cannot reach the test database: " + db->lastConnectError());
    }
    return db;
}

TestInstitution CreateTestInstitution(Database& db, int cmsrunprg, int statCompany) {
    TestInstitution t;
    t.inx =
        db.scalarInt("select greatest(coalesce(max(inx),0),20000)+1 from quorisdex.admin_company");
    t.id = "t" + std::to_string(t.inx);
    t.password = "pw" + std::to_string(t.inx);
    t.org_code = std::to_string(9900000000LL + t.inx);
    InstitutionRequest request;
    request.inx = t.inx;
    request.id = t.id;
    request.password = t.password;
    request.org_code = t.org_code;
    request.company = "시험기관" + std::to_string(t.inx);
    request.cmsrunprg = cmsrunprg;
    request.stat_company = statCompany;
    CreateInstitution(db, request);
    return t;
}

void PinServerClock(Database& db, const std::string& datetime) {
    db.ExecuteSql("SET timestamp = UNIX_TIMESTAMP(?)", {datetime});
}

void UnpinServerClock(Database& db) {
    db.ExecuteSql("SET timestamp = DEFAULT");
}

}  // namespace qx::test
