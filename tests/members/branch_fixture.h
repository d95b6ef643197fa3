// Branches and agencies of a test institution, numbered after every existing
// one, each with a login of its own.
#pragma once

#include <string>

#include "admin/provisioning.h"
#include "db/database.h"
#include "support/test_database.h"

namespace qx::test {

inline long long NewTestBranch(Database& db, const TestInstitution& inst) {
    const long long brinx =
        db.scalarInt("select coalesce(max(brinx),0)+1 from quorisdex.company_branch");
    CreateBranch(db, {inst.inx, brinx, 0, inst.id + "b" + std::to_string(brinx), "bpw",
                      "지사" + std::to_string(brinx)});
    return brinx;
}

inline long long NewTestAgency(Database& db, const TestInstitution& inst, long long brinx) {
    const long long aginx =
        db.scalarInt("select coalesce(max(aginx),0)+1 from quorisdex.company_agency");
    CreateAgency(db, {inst.inx, brinx, aginx, inst.id + "a" + std::to_string(aginx), "apw",
                      "대리점" + std::to_string(aginx)});
    return aginx;
}

}  // namespace qx::test
