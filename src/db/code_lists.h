// Code lists of comboload and the display expressions built from them.
#pragma once

#include <string>
#include <vector>

namespace qx {

class Database;
struct SessionContext;

struct CodeEntry {
    std::string text;  // combotext, shown
    std::string data;  // combodata, stored
};

// The entries of a shared list (quorisdex.comboload), ordered by code.
std::vector<CodeEntry> LoadSharedCodeList(Database& db, const std::string& name);
// The entries of the institution's own list (tps_<inx>.comboload).
std::vector<CodeEntry> LoadInstitutionCodeList(Database& db, long long inx,
                                               const std::string& name);

// Builds the seven CASE expressions that show codes as text, remembers the
// cash-receipt and receipt codes, and makes sure the reserved bank-receipt
// member exists when that service is on.
void BuildCodeCaseSql(Database& db, SessionContext& session);

}  // namespace qx
