#include "relay_agent.h"

#include <fstream>
#include <sstream>

#include "db/database.h"

namespace relay {

namespace {

std::string Field(const std::string& text, size_t position, size_t length) {
    return position - 1 < text.size() ? text.substr(position - 1, length) : std::string();
}

std::string Trimmed(std::string t) {
    t.erase(0, t.find_first_not_of(' '));
    t.erase(t.find_last_not_of(' ') + 1);
    return t;
}

// Why the records of a run cannot be delivered; empty when they can.
std::string CheckRecords(qx::Database& db, const std::string& schema, long long key,
                         const std::string& org) {
    auto rs = db.OpenRecordset(
        "select u_detail, u_end, d_inx from " + schema + ".filedetail where u_inx=? order by d_inx",
        {key});
    if (rs.size() < 3) return "레코드가 부족합니다.";
    long long data = 0;
    std::string header;
    for (std::size_t i = 0; i < rs.size(); ++i) {
        const std::string d = rs[i]["u_detail"];
        const char expected = i == 0 ? 'S' : i == 1 ? 'H' : i + 1 == rs.size() ? 'T' : 'D';
        if (d.empty() || d[0] != expected) return "레코드 순서가 올바르지 않습니다.";
        if (i > 0 && Trimmed(Field(d, 2, 10)) != org) return "이용기관코드가 다릅니다.";
        if (i == 1) header = d;
        if (expected == 'D') ++data;
        const std::string end = rs[i]["u_end"];
        if (end.size() != 12 || Trimmed(end.substr(0, 10)) != rs[i]["d_inx"] ||
            end.substr(10) != "\r\n")
            return "레코드 끝 표시가 올바르지 않습니다.";
    }
    if (Trimmed(Field(header, 12, 6)) != std::to_string(data)) return "레코드 건수가 다릅니다.";
    return {};
}

int TakeFrom(qx::Database& db, const std::string& schema, const std::vector<Rule>& rules) {
    auto runs = db.OpenRecordset("select inx, id from " + schema + ".filerun where stat=1");
    int moved = 0;
    for (std::size_t i = 0; i < runs.size(); ++i) {
        const long long key = runs[i].asInt("inx");
        const std::string org = runs[i]["id"];
        std::string stat = "5", message;
        for (const Rule& r : rules)
            if (r.org == org) stat = "9", message = r.message;
        if (stat == "5") {
            message = CheckRecords(db, schema, key, org);
            if (!message.empty()) stat = "3";
        }
        // Only a run still at 1 moves: another agent may have taken it.
        moved += db.ExecuteSql(
                     "update " + schema + ".filerun set stat=?, err_msg=? where inx=? and stat=1",
                     {stat, message, key}) > 0;
    }
    return moved;
}

}  // namespace

std::vector<Rule> ReadRules(const std::string& path) {
    std::vector<Rule> rules;
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);) {
        std::istringstream words(line);
        std::string verb, org;
        if (!(words >> verb >> org) || verb != "refuse") continue;
        std::string message;
        std::getline(words, message);
        rules.push_back({org, Trimmed(message)});
    }
    return rules;
}

int TakeRuns(qx::Database& db, const std::vector<Rule>& rules) {
    int moved = 0;
    // The card relay's schema exists only where card files are used.
    auto schemas = db.OpenRecordset(
        "select table_schema from information_schema.tables where table_name='filerun' and "
        "table_schema in ('sdsi','aegis') order by table_schema desc");
    for (std::size_t i = 0; i < schemas.size(); ++i)
        moved += TakeFrom(db, schemas[i]["table_schema"], rules);
    return moved;
}

}  // namespace relay
