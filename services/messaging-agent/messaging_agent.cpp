#include "messaging_agent.h"

#include <fstream>
#include <set>
#include <sstream>

#include "db/database.h"

namespace messaging_agent {

namespace {

bool IsMonth(const std::string& m) {
    if (m.size() != 6) return false;
    for (char c : m)
        if (c < '0' || c > '9') return false;
    return true;
}

const char* const kColumns =
    "MSG_TYPE, CMID, REQUEST_TIME, SEND_TIME, DEST_PHONE, DEST_NAME, SEND_PHONE, SEND_NAME, "
    "SUBJECT, MSG_BODY, CINFO";

}  // namespace

std::string Rules::codeFor(const std::string& phone, const std::string& msgType) const {
    auto it = byPhone.find(phone);
    if (it != byPhone.end()) return it->second;
    if (defaultGiven) return defaultCode;
    return msgType == "5" ? lmsDefault : smsDefault;
}

Rules ReadRules(const std::string& path) {
    Rules rules;
    if (path.empty()) return rules;
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);) {
        std::istringstream words(line);
        std::string verb, a, b;
        words >> verb >> a >> b;
        auto code = [](const std::string& c) { return c == "wait" ? std::string() : c; };
        if (verb == "status" && !a.empty() && !b.empty()) rules.byPhone[a] = code(b);
        if (verb == "default" && !a.empty()) {
            rules.defaultGiven = true;
            rules.defaultCode = code(a);
        }
    }
    return rules;
}

int DeliverQueued(qx::Database& db, const Rules& rules, int limit) {
    // Log tables are made before the transaction: DDL would end it.
    std::set<std::string> months;
    const auto pending = db.OpenRecordset(
        "select distinct date_format(ifnull(SEND_TIME,now()),'%Y%m') from bizclient.BIZ_MSG");
    for (std::size_t i = 0; i < pending.size(); ++i) {
        const std::string m = pending[i][0];
        if (!IsMonth(m)) continue;
        db.ExecuteSql("CREATE TABLE IF NOT EXISTS bizclient.BIZ_LOG_" + m +
                      " LIKE bizclient.BIZ_LOG_TEMPLATE");
        months.insert(m);
    }
    if (months.empty()) return 0;

    qx::Database::Transaction tx(db);
    const auto rows = db.OpenRecordset(
        std::string("select MSG_SEQ, ") + kColumns +
        ", date_format(ifnull(SEND_TIME,now()),'%Y%m') send_month from bizclient.BIZ_MSG "
        "order by MSG_SEQ limit " +
        std::to_string(limit) + " for update skip locked");
    int delivered = 0;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const auto r = rows[i];
        const std::string month = r["send_month"];
        if (!months.count(month)) continue;  // its table is made on the next pass
        qx::SqlParams values;
        for (const char* c :
             {"MSG_TYPE", "CMID", "REQUEST_TIME", "SEND_TIME", "DEST_PHONE", "DEST_NAME",
              "SEND_PHONE", "SEND_NAME", "SUBJECT", "MSG_BODY", "CINFO"}) {
            values.push_back(r.isNull(c) ? qx::SqlParam::Null() : qx::SqlParam(r[c]));
        }
        values.emplace_back(rules.codeFor(r["DEST_PHONE"], r["MSG_TYPE"]));
        // A CMID already logged was delivered before: it only leaves the queue.
        db.ExecuteSql("insert ignore into bizclient.BIZ_LOG_" + month + " (" + kColumns +
                          ", CALL_STATUS, REPORT_TIME) values (?,?,?,?,?,?,?,?,?,?,?,?,now())",
                      values);
        delivered += static_cast<int>(
            db.ExecuteSql("delete from bizclient.BIZ_MSG where MSG_SEQ=?", {r["MSG_SEQ"]}));
    }
    tx.commit();
    return delivered;
}

}  // namespace messaging_agent
