#include "cms/eb22/eb21_files.h"

#include "cms/eb21/eb21_record.h"
#include "cms/workspace/result_screen.h"
#include "core/session_context.h"
#include "db/database.h"
#include "platform/amount_text.h"
#include "platform/trim.h"

namespace qx {

namespace {

// The relay run of an ea21 row: joined by its relay name and the institution.
constexpr const char* kRelayJoin =
    " left join sdsi.filerun on (mid(ea21.filename,3,8) = filerun.filename and filerun.id=?)";

}  // namespace

std::string Eb21WaitingText(Database& db, const SessionContext& s) {
    const long long open =
        db.scalarInt("select count(*) from " + s.schema() + ".ea21 where pross_stat='0'");
    // Sent and not yet answered: the files whose state reads "미수신" or
    // "수신예정".
    const long long unanswered =
        s.cmsrunprg == 2
            ? db.scalarInt("select count(*) from " + s.schema() + ".ea21 ea21" + kRelayJoin +
                               " where ea21.pross_stat='0' and filerun.stat='5'",
                           {s.org_code})
            : db.scalarInt("select count(*) from " + s.schema() +
                           ".ea21 where pross_stat='0' and send_stat='5'");
    return "미처리: " + std::to_string(open) + "건 / 미수신: " + std::to_string(unanswered) + "건";
}

std::vector<StatusColumn> Eb21FileColumns() {
    return {{"파일명", 1400, kAlignCentre},    {"청구건수", 1000, kAlignRight},
            {"청구금액", 1400, kAlignRight},   {"출금건수", 1000, kAlignRight},
            {"출금액", 1400, kAlignRight},     {"불능건수", 1000, kAlignRight},
            {"불능금액", 1400, kAlignRight},   {"출금수수료", 1200, kAlignRight},
            {"불능수수료", 1200, kAlignRight}, {"수수료합계", 1200, kAlignRight},
            {"실입금액", 1400, kAlignRight},   {"처리상태", 1800, kAlignLeft},
            {"생성일자", 1800, kAlignCentre},  {"pross_stat", 0, kAlignLeft}};
}

std::vector<std::vector<std::string>> ListEb21Files(Database& db, const SessionContext& s,
                                                    const CivilDate& from, const CivilDate& to,
                                                    const std::string& search) {
    const bool relay = s.cmsrunprg == 2;
    const std::string requests = s.schema() + ".file_ea21 f where f.reg_date=mid(ea21.filename,5)";
    // The result counts are read only for applied files; the others show none.
    std::string sql =
        "select ea21.filename, ea21.total_cnt, ea21.total_money, ea21.rtnok_money, "
        "ea21.rtnfalse_money, ea21.ok_commission, ea21.false_commission, ea21.pross_stat, "
        "ea21.send_stat, from_unixtime(ea21.makedate) made, if(ea21.pross_stat='1', (select "
        "count(*) from " +
        requests +
        " and f.result<>'N'), 0) ok_cnt, if(ea21.pross_stat='1', (select count(*) from " +
        requests + " and f.result='N'), 0) false_cnt, " +
        std::string(relay ? "filerun.stat, filerun.recvdate" : "'' stat, '' recvdate") + " from " +
        s.schema() + ".ea21 ea21";
    SqlParams params;
    if (relay) {
        sql += kRelayJoin;
        params.push_back(s.org_code);
    }
    sql += " where from_unixtime(ea21.makedate,'%y-%m-%d') between ? and ?";
    params.push_back(FormatShortDate(from));
    params.push_back(FormatShortDate(to));
    if (const std::string key = Trim(search); !key.empty()) {
        sql += " and mid(ea21.filename,5) in (select reg_date from " + s.schema() +
               ".file_ea21 where user_no=? or account_no=? or id_no=? or user_no in (select "
               "member_inx from " +
               s.schema() + ".member_user where ext_key=?))";
        for (int i = 0; i < 4; ++i) params.push_back(key);
    }
    sql += " order by ea21.makedate desc, ea21.pross_stat asc";
    const Recordset rs = db.OpenRecordset(sql, params);
    std::vector<std::vector<std::string>> rows;
    for (std::size_t i = 0; i < rs.size(); ++i) {
        const auto r = rs[i];
        const std::string pross = r["pross_stat"];
        std::vector<std::string> row = {r["filename"], FormatAmount(r.asInt("total_cnt")),
                                        FormatAmount(r.asInt("total_money"))};
        if (pross == "1") {
            const long long ok = r.asInt("rtnok_money"), okFee = r.asInt("ok_commission"),
                            falseFee = r.asInt("false_commission");
            for (long long v :
                 {r.asInt("ok_cnt"), ok, r.asInt("false_cnt"), r.asInt("rtnfalse_money"), okFee,
                  falseFee, okFee + falseFee, ok - (okFee + falseFee)})
                row.push_back(FormatAmount(v));
        } else {
            row.insert(row.end(), 8, std::string());
        }
        row.push_back(ResultScreenStateText(pross, r["send_stat"], r["stat"], r["recvdate"],
                                            r["filename"], s.cmsrunprg, kEb21Kind, "22"));
        row.push_back(r["made"]);
        row.push_back(pross);
        rows.push_back(std::move(row));
    }
    return rows;
}

}  // namespace qx
