// Database tests run against the MariaDB that scripts/test starts; its
// address comes from QUORISDEX_TEST_DB ("host:port").
#pragma once

#include <memory>
#include <string>

#include "admin/provisioning.h"
#include "core/session_context.h"
#include "db/database.h"

namespace qx::test {

// A connection to the test server with the shared schemas loaded (once per
// process). Fails the test when no test server is configured.
std::unique_ptr<Database> ConnectTestDatabase();

// The server address as a Login.ini would hold it.
DbConfig TestDatabaseConfig();

struct TestInstitution {
    long long inx = 0;
    std::string id, password, org_code;
};

// A fresh institution with its own schema and a unique number and id.
TestInstitution CreateTestInstitution(Database& db, int cmsrunprg = 1, int statCompany = 1);

// Pins NOW()/SYSDATE() of this connection, e.g. "2026-12-07 11:59:00".
void PinServerClock(Database& db, const std::string& datetime);
void UnpinServerClock(Database& db);

}  // namespace qx::test
