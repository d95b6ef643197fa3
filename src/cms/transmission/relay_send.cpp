#include "cms/transmission/relay_send.h"

#include <cstdlib>

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

// A name in 20 bytes: a full-width blank becomes two blanks.
std::string RelayName(std::string name) {
    for (auto at = name.find("\u3000"); at != std::string::npos; at = name.find("\u3000"))
        name.replace(at, 3, "  ");
    std::string cut = ByteMid(name, 1, 20);
    return cut + std::string(static_cast<std::size_t>(20 - ByteLength(cut)), ' ');
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

std::optional<long long> RegisterRelayRun(Database& db, SessionContext& s, Interaction& ui,
                                          const std::string& databaseName) {
    const std::string kind = databaseName.substr(0, 4);
    if (databaseName.size() != 10 || (kind != "EB13" && kind != "EB21")) return std::nullopt;
    const std::string yymmdd = databaseName.substr(4);
    const std::string runName = databaseName.substr(2);
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
    auto earlier = db.OpenRecordset("select inx from sdsi.filerun where filename=? and id=?",
                                    {runName, s.org_code});
    if (!earlier.empty() && !ui.confirm(kRelayResendQuestion)) return std::nullopt;

    const std::string code10 = Left(s.org_code, 10);
    const std::string login = code10 + Left(s.add_in_code, 10) + RelayAccountBlock();
    const std::string stamp = yymmdd + (eb13 ? "12" : "17");
    Database::Transaction tx(db);
    if (!earlier.empty()) {
        // The old run's records go with it, or they would stay behind unowned.
        for (std::size_t i = 0; i < earlier.size(); ++i)
            db.ExecuteSql("delete from sdsi.filedetail where u_inx=?", {earlier[i]["inx"]});
        db.ExecuteSql("delete from sdsi.filerun where filename=? and id=?", {runName, s.org_code});
    }
    db.ExecuteSql(
        "insert into sdsi.filerun (`filename`,`filediv`,`id`,`company`,`stat`,`senddate`,"
        "`recvdate`,`sdsiver`) values (?,?,?,?,'0',?,?,?)",
        {runName, eb13 ? "MEM" : "PAY", s.org_code, s.company, stamp, stamp, kRelaySdsiVersion});
    const long long key = db.lastInsertId();
    auto record = [&](const std::string& text) {
        db.ExecuteSql(
            "insert into sdsi.filedetail (u_inx, u_seq, u_detail, u_rtn, c_rtn) "
            "values (?, space(10), ?, '', '')",
            {key, text});
    };
    record("S" + login + (eb13 ? "MEM" : "PAY") + "A" + "20" + yymmdd + std::string(190, ' '));
    record("H" + code10 + Left(file[0]["total_cnt"], 6) + Left(file[0]["money"], 10) +
           std::string(216, ' '));
    if (eb13) {
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
            db.ExecuteSql(
                "insert into sdsi.filedetail (u_inx, u_seq, u_detail, u_rtn, c_rtn) "
                "values (?, ?, ?, '', '')",
                {key, Left(Trim(r["seq_num"]), 10), detail});
        }
    } else {
        db.ExecuteSql(
            "insert into sdsi.filedetail (u_inx, u_seq, u_detail, u_rtn, c_rtn) "
            "select ?, left(concat(trim(seq_num),space(10)),10), concat('D', ?, 'N', "
            "left(concat(trim(user_no),space(20)),20), 'zelmor', space(14), "
            "right(concat('000000',trim(seq_num)),6), space(6), left(concat(amount,space(10)),10), "
            "left(concat(cash_rcpt_info,space(20)),20), space(149)), '', '' from " +
                schema + ".file_ea21 where reg_date=? order by seq_num asc",
            {key, code10, yymmdd});
    }
    record("T" + code10 + std::string(232, ' '));
    db.ExecuteSql(
        "update sdsi.filedetail set u_rtn=space(35),u_end=concat(left(concat(d_inx,space(10)),10),"
        "0x0D0A),`c_rtn`=space(61) where u_inx=?",
        {key});
    // Only now does the relay see the run: every record is in place.
    db.ExecuteSql("update sdsi.filerun set stat='1', sdsiver=? where inx=?",
                  {kRelaySdsiVersion, key});
    tx.commit();
    return key;
}

std::vector<long long> RelaySendFiles(Database& db, SessionContext& s, Interaction& ui,
                                      const std::vector<std::string>& databaseNames) {
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
    for (const std::string& name : databaseNames)
        if (auto key = RegisterRelayRun(db, s, ui, name)) keys.push_back(*key);
    return keys;
}

RelayRunState PollRelayRun(Database& db, Interaction& ui, long long key) {
    auto rs = db.OpenRecordset("select stat from sdsi.filerun where inx=?", {key});
    const std::string stat = rs.empty() ? "" : rs[0]["stat"];
    if (stat == "5") {
        ui.inform(kRelayDoneText);
        return RelayRunState::Done;
    }
    if (stat == "3" || stat == "9") {
        ui.inform(kRelayFailedText);
        return RelayRunState::Failed;
    }
    return RelayRunState::Waiting;
}

}  // namespace qx
