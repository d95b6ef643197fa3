// The service operator's work: shared schemas, institutions and their
// branch and agency accounts, and a demo institution to look at.
#pragma once

#include <string>

namespace qx {

class Database;

// Creates the shared schemas and their reference data; safe to run again.
void InitSharedDatabase(Database& db);

struct InstitutionRequest {
    long long inx = 0;
    std::string id, password, org_code;
    std::string company;
    int cmsrunprg = 1;
    int stat_company = 1;
};
// Adds the head-office row and the institution's schema. Throws
// std::invalid_argument when the number or id is taken or a value is bad.
void CreateInstitution(Database& db, const InstitutionRequest& request);

struct BranchRequest {
    long long inx = 0, brinx = 0, aginx = 0;
    std::string id, password, company;
};
void CreateBranch(Database& db, const BranchRequest& request);
void CreateAgency(Database& db, const BranchRequest& request);

// The giro code the demo gives an institution that has none (the first
// seven bytes of its GR15 headers' institution code).
inline constexpr const char* kDemoGiroCode = "7012345";

// Members, items, code lists and notices of a believable institution.
// Returns the number of members added.
long long SeedDemo(Database& db, long long inx);

}  // namespace qx
