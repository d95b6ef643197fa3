#include "cms/transmission/relay_send.h"

#include <algorithm>
#include <cstdlib>
#include <functional>

#include "core/session_context.h"
#include "db/database.h"
#include "db/server_clock.h"
#include "platform/codepage.h"
#include "platform/interaction.h"
#include "platform/trim.h"

namespace qx {

namespace {

std::string Left(std::string text, size_t width) {
    text.resize(width, ' ');
    return text;
}

// A text in `width` bytes of the Korean code page: a full-width blank
// becomes two blanks; cut without splitting a syllable and padded.
std::string RelayName(std::string name, long long width = 20) {
    for (auto at = name.find("\u3000"); at != std::string::npos; at = name.find("\u3000"))
        name.replace(at, 3, "  ");
    std::string cut = ByteMid(name, 1, width);
    return cut + std::string(static_cast<std::size_t>(width - ByteLength(cut)), ' ');
}

// The last `n` characters of a UTF-8 text.
std::string LastCharacters(const std::string& text, int n) {
    std::size_t at = text.size();
    for (int i = 0; i < n && at > 0; ++i) {
        --at;
        while (at > 0 && (static_cast<unsigned char>(text[at]) & 0xC0) == 0x80) --at;
    }
    return text.substr(at);
}

}  // namespace

bool RelayInstitutionCodeValid(const std::string& orgCode) {
    if (orgCode.size() != 8) return false;
    const std::string prefix = orgCode.substr(0, 2);
    return prefix == "HS" || prefix == "hv" || prefix == "hh";
}

bool RelaySendClosed(const std::string& serverDateTime) {
    // "yy-mm-dd hh:nn:ss": the hour is at 10-11.
    return serverDateTime.size() >= 11 && serverDateTime.substr(9, 2) == "18";
}

std::string RelayAccountBlock() {
    const char* configured = std::getenv("QUORISDEX_RELAY_ACCOUNT");
    const std::string name = Left(configured && *configured ? configured : "QUORISRLY", 10);
    return name + name;
}

namespace {

const char* Schema(RelayChannel c) {
    return c == RelayChannel::Files ? "sdsi" : "aegis";
}

// One run to register: where, under which name and stamp, with which
// header counts, and how its data records are written.
struct RunPlan {
    RelayChannel channel;
    std::string runName, filediv, yymmdd, stamp, count, money;
    // Inserts the D records of the run `key`; `record(seq, text)` inserts one.
    std::function<void(long long key, const std::string& code10,
                       const std::function<void(const std::string&, const std::string&)>& record)>
        data;
};

std::optional<long long> RegisterRun(Database& db, SessionContext& s, Interaction& ui,
                                     const RunPlan& plan, bool* declined) {
    const std::string schema = Schema(plan.channel);
    const bool sdsi = plan.channel == RelayChannel::Files;
    auto earlier =
        db.OpenRecordset("select inx from " + schema + ".filerun where filename=? and id=?",
                         {plan.runName, s.org_code});
    if (!earlier.empty() && !ui.confirm(kRelayResendQuestion)) {
        if (declined) *declined = true;
        return std::nullopt;
    }
    const std::string code10 = Left(s.org_code, 10);
    const std::string login = code10 + Left(s.add_in_code, 10) + RelayAccountBlock();
    Database::Transaction tx(db);
    if (!earlier.empty()) {
        // The old run's records go with it, or they would stay behind unowned.
        for (std::size_t i = 0; i < earlier.size(); ++i)
            db.ExecuteSql("delete from " + schema + ".filedetail where u_inx=?",
                          {earlier[i]["inx"]});
        db.ExecuteSql("delete from " + schema + ".filerun where filename=? and id=?",
                      {plan.runName, s.org_code});
    }
    if (sdsi) {
        db.ExecuteSql(
            "insert into sdsi.filerun (`filename`,`filediv`,`id`,`company`,`stat`,`senddate`,"
            "`recvdate`,`sdsiver`) values (?,?,?,?,'0',?,?,?)",
            {plan.runName, plan.filediv, s.org_code, s.company, plan.stamp, plan.stamp,
             kRelaySdsiVersion});
    } else {
        db.ExecuteSql(
            "insert into aegis.filerun (`filename`,`filediv`,`id`,`company`,`stat`,`senddate`,"
            "`recvdate`) values (?,?,?,?,'0',?,?)",
            {plan.runName, plan.filediv, s.org_code, s.company, plan.stamp, plan.stamp});
    }
    const long long key = db.lastInsertId();
    const std::string answer = sdsi ? "c_rtn" : "u_approval_rtn";
    auto record = [&](const std::string& seq, const std::string& text) {
        db.ExecuteSql("insert into " + schema + ".filedetail (u_inx, u_seq, u_detail, u_rtn, " +
                          answer + ") values (?, ?, ?, '', '')",
                      {key, seq, text});
    };
    const std::string blankSeq(10, ' ');
    record(blankSeq, "S" + login + plan.filediv + "A" + "20" + plan.yymmdd + std::string(190, ' '));
    record(blankSeq,
           "H" + code10 + Left(plan.count, 6) + Left(plan.money, 10) + std::string(216, ' '));
    plan.data(key, code10, record);
    record(blankSeq, "T" + code10 + std::string(232, ' '));
    db.ExecuteSql("update " + schema +
                      ".filedetail set u_rtn=space(35),u_end=concat(left(concat(d_inx,space(10)),"
                      "10),0x0D0A)" +
                      (sdsi ? ",`c_rtn`=space(61)" : "") + " where u_inx=?",
                  {key});
    // Only now does the relay see the run: every record is in place.
    if (sdsi)
        db.ExecuteSql("update sdsi.filerun set stat='1', sdsiver=? where inx=?",
                      {kRelaySdsiVersion, key});
    else
        db.ExecuteSql("update aegis.filerun set stat='1' where inx=?", {key});
    tx.commit();
    return key;
}

}  // namespace

std::optional<long long> RegisterRelayRun(Database& db, SessionContext& s, Interaction& ui,
                                          const std::string& databaseName, bool* declined) {
    const std::string kind = databaseName.substr(0, 4);
    if (databaseName.size() != 10 || (kind != "EB13" && kind != "EB21")) return std::nullopt;
    const std::string yymmdd = databaseName.substr(4);
    const std::string schema = InstitutionSchema(s.institution_number);
    const bool eb13 = kind == "EB13";
    auto file = db.OpenRecordset(std::string("select total_cnt, ") + (eb13 ? "0" : "total_money") +
                                     " money from " + schema + (eb13 ? ".ea13" : ".ea21") +
                                     " where filename=?",
                                 {databaseName});
    if (file.empty()) {
        ui.inform("[" + databaseName + "] 파일 내역이 없습니다.");
        return std::nullopt;
    }
    RunPlan plan{
        RelayChannel::Files,           databaseName.substr(2), eb13 ? "MEM" : "PAY", yymmdd,
        yymmdd + (eb13 ? "12" : "17"), file[0]["total_cnt"],   file[0]["money"],     {}};
    plan.data = [&](long long key, const std::string& code10, const auto& record) {
        if (!eb13) {
            db.ExecuteSql(
                "insert into sdsi.filedetail (u_inx, u_seq, u_detail, u_rtn, c_rtn) "
                "select ?, left(concat(trim(seq_num),space(10)),10), concat('D', ?, 'N', "
                "left(concat(trim(user_no),space(20)),20), 'zelmor', space(14), "
                "right(concat('000000',trim(seq_num)),6), space(6), "
                "left(concat(amount,space(10)),10), "
                "left(concat(cash_rcpt_info,space(20)),20), space(149)), '', '' from " +
                    schema + ".file_ea21 where reg_date=? order by seq_num asc",
                {key, code10, yymmdd});
            return;
        }
        // Built here rather than in SQL: the name field is 20 bytes of the
        // Korean code page, cut without splitting a syllable and padded, so
        // that every later field stays at its position.
        auto rows = db.OpenRecordset(
            "select seq_num, reg_kind, account_name, user_no, bank_code, account_no, id_no, "
            "certifi_kind, user_phone from " +
                schema + ".file_ea13 where reg_date=? order by seq_num asc",
            {yymmdd});
        for (std::size_t i = 0; i < rows.size(); ++i) {
            const auto r = rows[i];
            std::string detail = "D" + code10 + (r["reg_kind"] == "1" ? "N" : "D") +
                                 RelayName(r["account_name"]) + Left(Trim(r["user_no"]), 20);
            if (r["reg_kind"] == "1") {
                const std::string id =
                    r["id_no"].size() > 10 ? r["id_no"].substr(0, 6) : r["id_no"];
                const std::string k = r["certifi_kind"];
                detail += std::string(20, ' ') + r["bank_code"].substr(1, 2) +
                          Left(r["account_no"], 15) + Left(id, 13) +
                          (k == "1"   ? "M"
                           : k == "2" ? "F"
                           : k == "3" ? "L"
                                      : " ") +
                          Left(r["user_phone"], 15) + std::string(44, ' ');
            } else {
                detail += std::string(130, ' ');
            }
            record(Left(Trim(r["seq_num"]), 10), detail);
        }
    };
    return RegisterRun(db, s, ui, plan, declined);
}

std::optional<long long> RegisterCardRun(Database& db, SessionContext& s, Interaction& ui,
                                         const std::string& storedName, bool* declined) {
    const std::string kind = storedName.substr(0, 4);
    if (storedName.size() != 10 || (kind != "CMEM" && kind != "CPAY")) return std::nullopt;
    const std::string yymmdd = storedName.substr(4);
    const std::string schema = InstitutionSchema(s.institution_number);
    const bool members = kind == "CMEM";
    auto file = db.OpenRecordset(std::string("select total_cnt, ") +
                                     (members ? "0" : "total_money") + " money from " + schema +
                                     (members ? ".cdmem" : ".cdpay") + " where filename=?",
                                 {storedName});
    if (file.empty()) {
        ui.inform("[" + storedName + "] 파일 내역이 없습니다.");
        return std::nullopt;
    }
    RunPlan plan{RelayChannel::Cards,
                 storedName,
                 members ? "MEM" : "PAY",
                 yymmdd,
                 yymmdd + (members ? "12" : "17"),
                 file[0]["total_cnt"],
                 file[0]["money"],
                 {}};
    plan.data = [&](long long, const std::string& code10, const auto& record) {
        // The detail rows of a card file carry its YYMMDD, as the EB files do.
        auto rows = db.OpenRecordset(
            members ? "select seq_num, reg_kind, user_no, account_name, user_phone, user_email, "
                      "goods_name, card_no, valid_yymm from " +
                          schema + ".cdmem_detail where reg_date=? order by seq_num asc"
                    : "select seq_num, title, purchase_kind, user_no, account_name, amount, "
                      "cancel_date, approval_no from " +
                          schema + ".cdpay_detail where reg_date=? order by seq_num asc",
            {yymmdd});
        for (std::size_t i = 0; i < rows.size(); ++i) {
            const auto r = rows[i];
            const std::string seq = Trim(r["seq_num"]);
            std::string detail = "D" + code10 +
                                 std::string(6 - std::min<std::size_t>(6, seq.size()), '0') +
                                 seq.substr(seq.size() > 6 ? seq.size() - 6 : 0);
            if (members) {
                const bool created = r["reg_kind"] == "1";
                detail += std::string(created ? "N" : "D") + Left(Trim(r["user_no"]), 20) +
                          RelayName(r["account_name"]) + std::string(52, ' ');
                if (created) {
                    detail += std::string(6, ' ') + "000000000000" +
                              Left(Trim(r["user_phone"]), 16) + Left(Trim(r["user_email"]), 30) +
                              RelayName(r["goods_name"], 30) + std::string(3, ' ') +
                              Left(Trim(r["card_no"]), 16) + Left(Trim(r["valid_yymm"]), 4) +
                              std::string(1 + 16 + 20 + 17, ' ');
                } else {
                    detail += std::string(171, ' ');
                }
            } else {
                const std::string title = r["title"];
                const bool payment = r["purchase_kind"] == "0";
                detail += RelayName(LastCharacters(title, 2), 2) + std::string(2, ' ') +
                          (payment ? "N" : "C") + Left(Trim(r["user_no"]), 20) +
                          RelayName(r["account_name"]) + Left(r["amount"], 10) +
                          std::string(170, '0');
                detail += payment ? std::string(34, ' ')
                                  : Left(r["cancel_date"], 8) + std::string(16, ' ') +
                                        Left(r["approval_no"], 10);
                detail += "N" + std::string(6, ' ');
            }
            record(Left(seq, 10), detail + "C");
        }
    };
    return RegisterRun(db, s, ui, plan, declined);
}

std::vector<long long> RelaySendFiles(Database& db, SessionContext& s, Interaction& ui,
                                      const std::vector<std::string>& databaseNames,
                                      RelayChannel channel) {
    std::vector<long long> keys;
    if (!RelayInstitutionCodeValid(s.org_code)) {
        ui.inform("잘못된 이용기관 코드입니다. 쿼리스CMS(0000-0000)로 문의주시기 바랍니다.");
        return keys;
    }
    ReadServerDate(db, s);
    if (RelaySendClosed(s.server_datetime)) {
        ui.inform(kRelayClosedText);
        return keys;
    }
    if (databaseNames.empty()) {
        ui.inform("선택한 파일이 없습니다.");
        return keys;
    }
    bool declined = false;
    for (const std::string& name : databaseNames) {
        const auto key = channel == RelayChannel::Files
                             ? RegisterRelayRun(db, s, ui, name, &declined)
                             : RegisterCardRun(db, s, ui, name, &declined);
        if (key) keys.push_back(*key);
    }
    if (declined) ui.inform(kRelayDeclinedText);
    return keys;
}

namespace {

// One file table of a relay and how its files meet their runs.
struct FileTable {
    const char* table;
    const char* counts;   // total, new, cancelled, amount
    const char* runName;  // the run's name from the stored file name
    const char* hour;     // of the send stamp
};

// The file tables joined to their runs; `failed` picks the refused runs.
std::vector<std::vector<std::string>> RelayFiles(Database& db, const SessionContext& s,
                                                 RelayChannel channel, bool failed) {
    static const FileTable files[] = {
        {"ea13", "total_cnt, create_cnt, delete_cnt, 0 aa", "mid(ea13.filename,3,8)", "12"},
        {"ea21", "total_cnt, 0 c, 0 d, total_money aa", "mid(ea21.filename,3,8)", "17"}};
    static const FileTable cards[] = {
        {"cdmem", "total_cnt, create_cnt, delete_cnt, 0 aa", "cdmem.filename", "12"},
        {"cdpay", "total_cnt, 0 c, 0 d, total_money aa", "cdpay.filename", "17"}};
    const std::string schema = InstitutionSchema(s.institution_number);
    const std::string relay = Schema(channel);
    // Each stored state gets its own branch: "when 9 or 4" would compare the
    // state with the truth value of (9 or 4), i.e. 1.
    const std::string state = failed ? "(case ifnull(filerun.stat,0) when 3 then '전송오류' "
                                       "when 4 then '전송불가' when 9 then '전송불가' "
                                       "else '기타' end)"
                                     : "'전송가능'";
    const std::string where =
        failed ? "ifnull(filerun.stat,0) in ('9','3','4')" : "ifnull(filerun.stat,0)=0";
    std::vector<std::vector<std::string>> rows;
    for (const FileTable& f : channel == RelayChannel::Files ? files : cards) {
        const std::string t = f.table;
        auto rs = db.OpenRecordset(
            "select " + t + ".filename, " + state + " st, " + f.counts + ", concat(mid(" + t +
                ".filename,5,6),'" + f.hour + "') stamp, ifnull(filerun.err_msg,'') err from " +
                schema + "." + t + " left join " + relay + ".filerun on (" + f.runName +
                "=filerun.filename and filerun.id=?) where " + t + ".pross_stat='0' and " + where +
                " order by " + t + ".pross_stat asc, " + t + ".makedate desc",
            {s.org_code});
        for (std::size_t i = 0; i < rs.size(); ++i) {
            std::vector<std::string> row;
            for (std::size_t c = 0; c < (failed ? 8u : 7u); ++c) row.push_back(rs[i][c]);
            rows.push_back(std::move(row));
        }
    }
    return rows;
}

}  // namespace

std::vector<std::vector<std::string>> RelaySendableFiles(Database& db, const SessionContext& s,
                                                         RelayChannel channel) {
    return RelayFiles(db, s, channel, false);
}

std::vector<std::vector<std::string>> RelayFailedFiles(Database& db, const SessionContext& s,
                                                       RelayChannel channel) {
    return RelayFiles(db, s, channel, true);
}

RelayRunState PollRelayRun(Database& db, Interaction& ui, long long key, RelayChannel channel) {
    auto rs = db.OpenRecordset(
        std::string("select stat from ") + Schema(channel) + ".filerun where inx=?", {key});
    const std::string stat = rs.empty() ? "" : rs[0]["stat"];
    // The card relay may have received the results already (6 to 8): the
    // request itself was delivered.
    const bool cardAnswered =
        channel == RelayChannel::Cards && (stat == "6" || stat == "7" || stat == "8");
    if (stat == "5" || cardAnswered) {
        ui.inform(kRelayDoneText);
        return RelayRunState::Done;
    }
    // 4 is a refusal too: left out, the watch would never end.
    if (stat == "3" || stat == "4" || stat == "9") {
        ui.inform(kRelayFailedText);
        return RelayRunState::Failed;
    }
    return RelayRunState::Waiting;
}

}  // namespace qx
