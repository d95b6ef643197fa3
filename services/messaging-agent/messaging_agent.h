// The carrier's side of the messaging database: takes the queued BIZ_MSG
// rows, writes each into BIZ_LOG_<yyyymm> of its send month with a result
// code and removes it from the queue, in one transaction per pass. Rows are
// taken with FOR UPDATE SKIP LOCKED, so two agents never take the same row,
// and the log's unique CMID keeps a message from being logged twice.
#pragma once

#include <map>
#include <string>

namespace qx {
class Database;
}

namespace messaging_agent {

// Result codes: SMS delivered 4100, LMS delivered 6600, unless a rule says
// otherwise. Rules file lines:
//   status <phone> <code>   messages to that number get the code ("wait" = '')
//   default <code>          every other message gets the code
struct Rules {
    std::string smsDefault = "4100";
    std::string lmsDefault = "6600";
    bool defaultGiven = false;
    std::string defaultCode;
    std::map<std::string, std::string> byPhone;
    std::string codeFor(const std::string& phone, const std::string& msgType) const;
};
Rules ReadRules(const std::string& path);

// One pass over at most `limit` queued rows; returns the number delivered.
int DeliverQueued(qx::Database& db, const Rules& rules, int limit = 100);

}  // namespace messaging_agent
