#pragma once

namespace qx {

class Database;

// True when the institution's schema tps_<inx> exists on the server.
bool SchemaExists(Database& db, long long inx);

}  // namespace qx
