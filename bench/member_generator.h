// Fills an institution with members for measurements: a realistic mix of
// new applications, registered and cancelled members, card payers, Korean
// names and the usual banks.
#pragma once

#include <string>

namespace qx {
class Database;
}

namespace qx::bench {

struct MemberMix {
    long long newApplications = 0;  // remove 1, waiting for their EB13 (state 0)
    long long registered = 0;       // state 3, collected every month
    long long cancellations = 0;    // remove 2, cancellation due
    long long deleted = 0;          // remove 4 after registration, state 15
    long long cardPayers = 0;       // settle_accounts 5, never in a CMS file
};

// A mix in the proportions of a grown institution, N members in all.
MemberMix TypicalMix(long long n);

// Inserts the members in a few statements (server-side sequences), so that
// generating is not what is measured.
void GenerateMembers(Database& db, const std::string& schema, const MemberMix& mix);

}  // namespace qx::bench
