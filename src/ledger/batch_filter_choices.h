// The entries of the member filter drop-downs of the batch screens: the
// values the member list offers, limited to what the user's role may see.
#pragma once

#include <string>
#include <vector>

#include "db/code_lists.h"

namespace qx {

class Database;
struct SessionContext;

struct BatchFilterChoices {
    // text shown, number as data. A branch or agency user gets only its own
    // branch (and agency); the head office also "본사" (0) and every agency
    // user above it also "지사" (0, members without an agency).
    std::vector<CodeEntry> branches, agencies;
    std::vector<CodeEntry> settle_accounts, account_divide;
    // Distinct values of the user's members, empty shown as "없음"; a member
    // without a sales day is listed under 15, the day its sales fall on.
    std::vector<std::string> client_manager, payday;
    std::vector<std::string> client_info1, client_info2, client_info3;
};

BatchFilterChoices LoadBatchFilterChoices(Database& db, const SessionContext& session);

}  // namespace qx
