// The server's clock: business rules never trust the desktop's time.
#pragma once

#include <string>

namespace qx {

class Database;
struct SessionContext;

// Reads NOW() from the server; returns "yy-mm-dd" and fills the session's
// date-time and its three months (current, previous, the one before).
std::string ReadServerDate(Database& db, SessionContext& session);

}  // namespace qx
