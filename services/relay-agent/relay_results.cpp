#include "relay_results.h"

#include <fstream>
#include <optional>
#include <sstream>
#include <vector>

#include "cms/eb14/eb13_results.h"
#include "cms/eb14/eb14_apply.h"
#include "cms/eb22/eb22_apply.h"
#include "cms/eb22/eb22_results.h"
#include "cms/workspace/creation_lock.h"
#include "core/session_context.h"
#include "db/business_days.h"
#include "db/database.h"
#include "db/holidays.h"
#include "ledger/server_scripts.h"
#include "platform/codepage.h"
#include "platform/text_checks.h"
#include "platform/trim.h"

namespace relay {

namespace {

// Data records of a run, cut by CP949 byte positions like every record:
// EB13 "D" + institution 10 + kind 1 + name 20 + payer 20 (33-52) + …;
// EB21 "D" + institution 10 + "N" + payer 20 (13-32) + … + amount 10 (65-74).
struct DataRecord {
    long long serial = 0;
    std::string payer;
    long long amount = 0;
};

std::optional<std::vector<DataRecord>> DataRecords(qx::Database& db, long long run, bool eb21) {
    const auto rs = db.OpenRecordset(
        "select trim(u_seq) seq, u_detail from sdsi.filedetail where u_inx=? and "
        "left(u_detail,1)='D' order by d_inx",
        {run});
    std::vector<DataRecord> out;
    for (std::size_t i = 0; i < rs.size(); ++i) {
        const std::string seq = rs[i]["seq"], detail = rs[i]["u_detail"];
        const std::string payer = qx::Trim(qx::ByteMid(detail, eb21 ? 13 : 33, 20));
        const std::string amount = qx::Trim(qx::ByteMid(detail, 65, 10));
        if (seq.empty() || seq.size() > 8 || !qx::IsAllDigits(seq)) return std::nullopt;
        if (eb21 && (amount.empty() || amount.size() > 13 || !qx::IsAllDigits(amount)))
            return std::nullopt;
        out.push_back({std::stoll(seq), payer, eb21 ? std::stoll(amount) : 0});
    }
    return out;
}

qx::SessionContext InstitutionOf(long long inx) {
    qx::SessionContext s;
    s.institution_number = inx;
    return s;
}

// Claims the file, stages its result and applies it; empty on success,
// else the reason (the caller rolls back).
std::string ApplyEb13Run(qx::Database& db, long long inx, const std::string& yymmdd,
                         const std::vector<DataRecord>& records, const ResultRules& rules) {
    const std::string schema = qx::InstitutionSchema(inx);
    if (db.ExecuteSql("update " + schema +
                          ".ea13 set pross_stat=9 where filename=? and "
                          "pross_stat='0'",
                      {"EB13" + yymmdd}) != 1)
        return "[EB13" + yymmdd + "] 적용 대기중인 파일이 아닙니다.";
    std::vector<qx::Eb14Refusal> refusals;
    for (const DataRecord& r : records)
        if (auto it = rules.registrationRefusals.find(r.payer);
            it != rules.registrationRefusals.end())
            refusals.emplace_back(r.serial, it->second);
    db.ExecuteSql("delete from " + schema + ".file_ea13_run");
    for (const std::string& sql : qx::Eb14StagingStatements(schema, refusals)) db.ExecuteSql(sql);
    return qx::ApplyEb13Results(db, inx, yymmdd);
}

std::string ApplyEb21Run(qx::Database& db, long long inx, const std::string& yymmdd,
                         const std::vector<DataRecord>& records, const ResultRules& rules) {
    const std::string schema = qx::InstitutionSchema(inx);
    if (db.ExecuteSql("update " + schema +
                          ".ea21 set pross_stat=9 where filename=? and "
                          "pross_stat='0'",
                      {"EB21" + yymmdd}) != 1)
        return "[EB21" + yymmdd + "] 적용 대기중인 파일이 아닙니다.";
    db.ExecuteSql(
        "update " + schema + ".file_ea21 set `result`='',`result_code`='' where reg_date=?",
        {yymmdd});
    db.ExecuteSql("delete from " + schema + ".file_ea21_run");
    qx::Eb22Staging staging(schema);
    for (const DataRecord& r : records) {
        qx::Eb22Result result{r.serial, "", "0000", r.amount};
        if (auto no = rules.withdrawalRefusals.find(r.payer);
            no != rules.withdrawalRefusals.end()) {
            result.result = "N";
            result.code = no->second;
        } else if (auto part = rules.partials.find(r.payer);
                   part != rules.partials.end() && part->second < r.amount) {
            // Nothing taken is a failure; otherwise the amount actually taken.
            result.result = part->second > 0 ? "P" : "N";
            result.code = "0011";
            result.amount = part->second;
        }
        if (const std::string sql = staging.add(result); !sql.empty()) db.ExecuteSql(sql);
    }
    if (const std::string sql = staging.finish(); !sql.empty()) db.ExecuteSql(sql);
    const std::string saveday =
        yymmdd.substr(0, 2) + "-" + yymmdd.substr(2, 2) + "-" + yymmdd.substr(4, 2);
    const std::string reply = qx::ApplyEb22Results(db, inx, yymmdd, saveday);
    return reply == qx::kScriptDoneReply ? std::string() : reply;
}

// Applies one run; true when applied.
bool ApplyRun(qx::Database& db, long long run, const std::string& filename, const std::string& org,
              const ResultRules& rules) {
    const bool eb21 = filename.rfind("21", 0) == 0;
    const std::string yymmdd = filename.substr(2);
    std::string reason;
    {
        const long long inx = db.scalarInt(
            "select coalesce(max(inx),0) from quorisdex.admin_company where "
            "org_code=? and cmsrunprg='2'",
            {org});
        // file_ea13_run/file_ea21_run are one table per institution: the
        // desks' staging lock keeps a desk and the agent apart.
        std::optional<qx::CreationLock> lock;
        if (inx > 0) lock.emplace(db, InstitutionOf(inx), eb21 ? "EB22" : "EB14");
        if (lock && !lock->held()) return false;  // a desk is applying: next pass
        qx::Database::Transaction tx(db);
        // The run is ours only if it is still taken (5): of two agents the
        // second waits here and then finds it moved.
        if (db.ExecuteSql("update sdsi.filerun set stat=? where inx=? and stat=5",
                          {kRunApplied, run}) != 1)
            return false;
        const auto records = DataRecords(db, run, eb21);
        if (inx < 1)
            reason = "이용기관을 찾을 수 없습니다.";
        else if (!records)
            reason = "레코드의 일련번호나 금액이 올바르지 않습니다.";
        else
            reason = eb21 ? ApplyEb21Run(db, inx, yymmdd, *records, rules)
                          : ApplyEb13Run(db, inx, yymmdd, *records, rules);
        if (reason.empty()) {
            tx.commit();
            return true;
        }
    }
    // Rolled back above; only the run tells why.
    db.ExecuteSql("update sdsi.filerun set stat=?, err_msg=? where inx=? and stat=5",
                  {kRunApplyFailed, reason.substr(0, 255), run});
    return false;
}

}  // namespace

ResultRules ReadResultRules(const std::string& path) {
    ResultRules rules;
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);) {
        std::istringstream words(line);
        std::string verb, payer, value, extra;
        if (!(words >> verb >> payer >> value) || (words >> extra)) continue;
        if (verb == "register-refuse") rules.registrationRefusals[payer] = value;
        if (verb == "withdraw-refuse") rules.withdrawalRefusals[payer] = value;
        if (verb == "withdraw-partial" && qx::IsAllDigits(value) && value.size() <= 13)
            rules.partials[payer] = std::stoll(value);
        if (verb == "auth" &&
            (value == "Y" || value == "I" || value == "F" || value == "Z" || value == "-"))
            rules.authAnswers[payer] = value;
    }
    return rules;
}

int ApplyDueResults(qx::Database& db, const ResultRules& rules, const std::string& now) {
    const auto clock = qx::ParseServerClock(now.empty() ? db.scalar("select now()") : now);
    if (!clock) return 0;
    const auto runs = db.OpenRecordset(
        "select inx, filename, id from sdsi.filerun where stat=5 and "
        "filename regexp '^(13|21)[0-9]{6}$' order by inx");
    const qx::HolidayLookup holidays = qx::DatabaseHolidays(db);
    int applied = 0;
    for (std::size_t i = 0; i < runs.size(); ++i) {
        const std::string filename = runs[i]["filename"];
        const auto fileDate = qx::ParseDate(filename.substr(2));
        if (!fileDate) continue;
        // Due from 13:00 of the receipt date.
        const qx::CivilDate receipt = qx::AddBusinessDays(*fileDate, 1, holidays);
        if (clock->date < receipt || (clock->date == receipt && clock->hour < kResultHour))
            continue;
        applied += ApplyRun(db, runs[i].asInt("inx"), filename, runs[i]["id"], rules);
    }
    return applied;
}

int AnswerAuthRequeries(qx::Database& db, const ResultRules& rules) {
    // a_record: "A", institution 10, file date 6, serial 8, payer 20, phone 15.
    const auto rs = db.OpenRecordset(
        "select auth_inx, a_org_code, left(a_record,1) kind, trim(mid(a_record,2,10)) org, "
        "trim(mid(a_record,26,20)) payer from sdsi.rsch_auth where a_stat='1' order by auth_inx");
    int answered = 0;
    for (std::size_t i = 0; i < rs.size(); ++i) {
        const std::string payer = rs[i]["payer"];
        std::string stat = "2", letter = "Y";
        if (rs[i]["kind"] != "A" || rs[i]["org"] != rs[i]["a_org_code"] || payer.empty()) {
            stat = "3";
            letter.clear();
        } else if (auto it = rules.authAnswers.find(payer); it != rules.authAnswers.end()) {
            if (it->second == "-") continue;
            letter = it->second;
        }
        const char* text = letter == "Y"   ? "인증성공"
                           : letter == "I" ? "인증처리중"
                           : letter == "F" ? "인증실패"
                           : letter == "Z" ? "인증반려"
                                           : "요청내용 오류";
        answered += db.ExecuteSql(
                        "update sdsi.rsch_auth set a_stat=?, a_rtn=?, "
                        "a_recvtime=date_format(now(),'%Y%m%d%H%i%s') where auth_inx=? "
                        "and a_stat='1'",
                        {stat, letter + text, rs[i].asInt("auth_inx")}) > 0;
    }
    return answered;
}

}  // namespace relay
