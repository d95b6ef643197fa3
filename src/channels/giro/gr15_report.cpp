#include "channels/giro/gr15_report.h"

#include "channels/giro/gr15_apply.h"
#include "core/session_context.h"
#include "db/database.h"
#include "members/member_rules.h"
#include "platform/amount_text.h"

namespace qx {

namespace {

std::string RowResult(const std::string& stat, const std::string& error) {
    if (stat.empty()) return "수금처리";
    if (stat == "X") return error;
    return "처리제외";
}

}  // namespace

std::vector<StatusColumn> Gr15FileColumns() {
    return {{"파일명", 1500, kAlignCentre}, {"처리일자", 1200, kAlignCentre},
            {"총건수", 900, kAlignRight},   {"수납금액", 1500, kAlignRight},
            {"수수료", 1100, kAlignRight},  {"차감액", 1300, kAlignRight},
            {"합계액", 1500, kAlignRight}};
}

std::vector<std::vector<std::string>> ListGr15Files(Database& db, const SessionContext& s,
                                                    const CivilDate& from, const CivilDate& to) {
    EnsureGr15Tables(db, s);
    const Recordset rs = db.OpenRecordset(
        "select filename, from_unixtime(makedate,'%y-%m-%d'), a_cnt, a_money, a_commi, "
        "a_fmoney, total_money from " +
            s.schema() +
            ".gr15 where from_unixtime(makedate,'%y-%m-%d') between ? and ? "
            "order by makedate desc, filename desc",
        {FormatShortDate(from), FormatShortDate(to)});
    std::vector<std::vector<std::string>> rows;
    for (std::size_t i = 0; i < rs.size(); ++i) {
        const auto r = rs[i];
        rows.push_back({r[std::size_t{0}], r[std::size_t{1}], FormatAmount(r[std::size_t{2}]),
                        FormatAmount(r[std::size_t{3}]), FormatAmount(r[std::size_t{4}]),
                        FormatAmount(r[std::size_t{5}]), FormatAmount(r[std::size_t{6}])});
    }
    return rows;
}

std::vector<StatusColumn> Gr15DetailColumns() {
    return {{"일련번호", 900, kAlignCentre},    {"수납일자", 1100, kAlignCentre},
            {"이체일자", 1100, kAlignCentre},   {"고객조회번호", 2000, kAlignLeft},
            {"납부자번호", 1300, kAlignCentre}, {"고객명", 1300, kAlignLeft},
            {"수금액", 1300, kAlignRight},      {"수수료", 900, kAlignRight},
            {"수납구분", 1800, kAlignLeft},     {"처리구분", 1100, kAlignCentre},
            {"처리결과", 2000, kAlignLeft}};
}

Gr15Detail Gr15FileDetail(Database& db, const SessionContext& s, const std::string& name) {
    EnsureGr15Tables(db, s);
    Gr15Detail d;
    d.title = "[" + name + "] 파일 상세 내역";
    d.columns = Gr15DetailColumns();
    const Recordset rs = db.OpenRecordset(
        "select f.seq_num, f.wondate, f.filedate, f.giro_no, f.lnk_inx, "
        "ifnull(member_user.username,''), f.amount, f.su_commi, f.su_title, f.su_stat, f.su_err "
        "from " +
            s.schema() + ".file_gr15 f left join " + s.schema() +
            ".member_user member_user on member_user.member_inx=f.lnk_inx and f.lnk_inx<>0 "
            "where f.filename=? order by f.seq_num, f.ea15_inx",
        {name});
    for (std::size_t i = 0; i < rs.size(); ++i) {
        const auto r = rs[i];
        const long long member = r.asInt(std::size_t{4});
        const std::string stat = r[std::size_t{9}];
        const long long amount = r.asInt(std::size_t{6});
        if (stat == "X") {
            ++d.unbookedCount;
            d.unbookedAmount += amount;
        }
        // The stored processing kind, or the blank one of a row left unmatched.
        const char kind = stat.size() == 1 && stat != "X" ? stat[0] : ' ';
        d.rows.push_back({r[std::size_t{0}], r[std::size_t{1}], r[std::size_t{2}],
                          r[std::size_t{3}], member > 0 ? TenDigits(member) : std::string(),
                          r[std::size_t{5}], FormatAmount(amount), FormatAmount(r[std::size_t{7}]),
                          r[std::size_t{8}], Gr15ProcessingKindText(kind),
                          RowResult(stat, r[std::size_t{10}])});
    }
    d.unbookedText = "처리불능 (" + FormatAmount(d.unbookedAmount) + "원)";
    return d;
}

}  // namespace qx
