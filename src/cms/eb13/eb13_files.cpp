#include "cms/eb13/eb13_files.h"

#include "cms/eb13/eb13_record.h"
#include "cms/eb13/eb13_targets.h"
#include "cms/workspace/file_names.h"
#include "cms/workspace/result_screen.h"
#include "core/session_context.h"
#include "db/database.h"
#include "platform/trim.h"

namespace qx {

std::string Eb13WaitingText(Database& db, const SessionContext& s) {
    const long long waiting = CountEb13Targets(db, s);
    const long long unanswered =
        db.scalarInt("select count(*) from " + s.schema() + ".ea13 where pross_stat='0'");
    return "미처리: " + std::to_string(waiting) + "건 / 미수신: " + std::to_string(unanswered) +
           "건";
}

std::vector<StatusColumn> Eb13FileColumns() {
    return {{"파일명", 1400, kAlignCentre},      {"신규건수", 1200, kAlignRight},
            {"해지건수", 1200, kAlignRight},     {"전체건수", 1200, kAlignRight},
            {"신규성공건수", 1200, kAlignRight}, {"해지성공건수", 1200, kAlignRight},
            {"실패건수", 1200, kAlignRight},     {"처리상태", 1500, kAlignLeft},
            {"생성일자", 1800, kAlignCentre},    {"pross_stat", 0, kAlignLeft}};
}

std::string Eb13FileStateText(const std::string& prossStat, const std::string& sendStat,
                              const std::string& relayStat, const std::string& recvdate,
                              const std::string& filename, int cmsrunprg) {
    return ResultScreenStateText(prossStat, sendStat, relayStat, recvdate, filename, cmsrunprg,
                                 kEb13Kind, "14");
}

std::vector<std::vector<std::string>> ListEb13Files(Database& db, const SessionContext& s,
                                                    const CivilDate& from, const CivilDate& to,
                                                    const std::string& search) {
    const bool relay = s.cmsrunprg == 2;
    std::string sql =
        "select ea13.filename, ea13.create_cnt, ea13.delete_cnt, ea13.total_cnt, "
        "ea13.createok_cnt, ea13.deleteok_cnt, ea13.false_cnt, ea13.pross_stat, "
        "ea13.send_stat, from_unixtime(ea13.makedate) made, " +
        std::string(relay ? "filerun.stat, filerun.recvdate" : "'' stat, '' recvdate") + " from " +
        s.schema() + ".ea13 ea13";
    SqlParams params;
    if (relay) {
        sql +=
            " left join sdsi.filerun on (mid(ea13.filename,3,8) = filerun.filename and "
            "filerun.id=?)";
        params.push_back(s.org_code);
    }
    sql += " where from_unixtime(ea13.makedate,'%y-%m-%d') between ? and ?";
    params.push_back(FormatShortDate(from));
    params.push_back(FormatShortDate(to));
    if (!Trim(search).empty()) {
        const std::string key = Trim(search);
        sql += " and mid(ea13.filename,5) in (select reg_date from " + s.schema() +
               ".file_ea13 where user_no=? or account_no=? or id_no=? or user_no in (select "
               "member_inx from " +
               s.schema() + ".member_user where ext_key=?))";
        for (int i = 0; i < 4; ++i) params.push_back(key);
    }
    sql += " order by ea13.pross_stat asc, ea13.makedate desc";
    auto rs = db.OpenRecordset(sql, params);
    std::vector<std::vector<std::string>> rows;
    for (std::size_t i = 0; i < rs.size(); ++i) {
        const auto r = rs[i];
        const std::string pross = r["pross_stat"];
        const bool applied = pross == "1";
        auto result = [&](const char* column) { return applied ? r[column] : std::string(); };
        rows.push_back({r["filename"], r["create_cnt"], r["delete_cnt"], r["total_cnt"],
                        result("createok_cnt"), result("deleteok_cnt"), result("false_cnt"),
                        Eb13FileStateText(pross, r["send_stat"], r["stat"], r["recvdate"],
                                          r["filename"], s.cmsrunprg),
                        r["made"], pross});
    }
    return rows;
}

}  // namespace qx
