// The relay's side of filerun/filedetail: takes every run handed over
// (stat 1), reads its records by their own positions and moves the run to 5
// (taken), 3 (records unsound) or 9 (refused by a rule), with err_msg.
#pragma once

#include <string>
#include <vector>

namespace qx {
class Database;
}

namespace relay {

// "refuse <institution code> <message…>": every run of that institution is refused.
struct Rule {
    std::string org, message;
};
std::vector<Rule> ReadRules(const std::string& path);

// One pass over sdsi and aegis; returns the number of runs moved.
int TakeRuns(qx::Database& db, const std::vector<Rule>& rules);

}  // namespace relay
