// Tables made ready on demand in an institution's schema.
#pragma once

namespace qx {

class Database;

// The payer-number translation table, created when missing.
void EnsurePayerNumberTable(Database& db, long long inx);

}  // namespace qx
