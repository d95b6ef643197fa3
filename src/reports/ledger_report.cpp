#include "reports/ledger_report.h"

#include <stdexcept>

#include "core/session_context.h"
#include "db/database.h"
#include "db/named_lock.h"
#include "db/payer_number.h"
#include "ledger/server_scripts.h"
#include "members/member_record.h"
#include "platform/amount_text.h"
#include "platform/http.h"
#include "platform/trim.h"
#include "session/service_web.h"

namespace qx {

namespace {

std::string Or(const std::string& expr, const std::string& fallback) {
    return expr.empty() ? fallback : expr;
}

// The title of a collection method code as the code list names it.
std::string MethodTitleSql(const std::string& schema, const std::string& code) {
    return "ifnull((select combotext from " + schema +
           ".comboload where combodivide='settleacnt' and combodata=" + code +
           " order by cboinx limit 1)," + code + ")";
}

// Sales, collections by the own method, substitute collections and all
// collections of the grouped ledger rows.
const char* kLedgerSums =
    "sum(if(p.paystat='0',p.input_pay,0)), "
    "sum(if(p.paystat='1' and p.settle_title<>'대체수금',p.input_pay,0)), "
    "sum(if(p.paystat='1' and p.settle_title='대체수금',p.input_pay,0)), "
    "sum(if(p.paystat='1',p.input_pay,0))";

std::vector<StatusColumn> SumColumns() {
    return {{"매출액", 1400, kAlignRight},
            {"수금액", 1400, kAlignRight},
            {kSubstituteCollectionText, 1400, kAlignRight},
            {"수금합계", 1400, kAlignRight}};
}

void AppendSums(std::vector<std::string>& row, const Recordset::Row& r, std::size_t first) {
    for (std::size_t c = first; c < first + 4; ++c) row.push_back(FormatAmount(r.asInt(c)));
}

// The ledger rows of the period (months as yy-mm-01..yy-mm-99) joined to
// members not deleted and within the filter.
std::string LedgerFrom(const SessionContext& s, const LedgerQuery& q, SqlParams& params) {
    const std::string t = s.schema();
    std::string from = FormatShortDate(q.period.from), to = FormatShortDate(q.period.to);
    if (q.monthly) {
        from = from.substr(0, 5) + "-01";
        to = to.substr(0, 5) + "-99";
    }
    params.emplace_back(from);
    params.emplace_back(to);
    std::string sql = " from " + t + ".pay_pross p join " + t +
                      ".member_user member_user on p.userlink_inx=member_user.member_inx "
                      "where p.signdate between ? and ?";
    if (!q.settleCode.empty()) {
        sql += " and p.settle_code=?";
        params.emplace_back(q.settleCode);
    }
    return sql;
}

}  // namespace

LedgerGrouping ParseLedgerGrouping(const std::string& text) {
    if (text == "method" || text.empty()) return LedgerGrouping::kMethod;
    if (text == "manager") return LedgerGrouping::kManager;
    if (text == "agency") return LedgerGrouping::kAgency;
    if (text == "branch") return LedgerGrouping::kBranch;
    throw std::invalid_argument("--by 는 method, manager, agency 또는 branch 입니다: " + text);
}

ReportTable LedgerSummary(Database& db, const SessionContext& s, const LedgerQuery& q) {
    const BatchFilter resolved = ResolveReportFilter(db, s, q.filter);
    SqlParams params;
    std::string from = LedgerFrom(s, q, params);
    from += ReportMemberSql(resolved, params);
    ReportTable out;
    std::string sql;
    if (q.grouping == LedgerGrouping::kMethod) {
        const std::string key = q.monthly ? "mid(p.signdate,1,5)" : "p.signdate";
        out.columns = {{q.monthly ? "년월" : "일자", 1000, kAlignCentre},
                       {"수금방법", 1300, kAlignLeft}};
        sql = "select " + key + " k, " + MethodTitleSql(s.schema(), "p.settle_code") + ", " +
              kLedgerSums + from + " group by k, p.settle_code order by k desc, p.settle_code";
    } else {
        std::string column;
        if (q.grouping == LedgerGrouping::kManager) {
            out.columns = {{"담당자", 1400, kAlignLeft}};
            column = "if(member_user.client_manager='','없음',member_user.client_manager)";
        } else if (q.grouping == LedgerGrouping::kAgency) {
            out.columns = {{"대리점명", 1600, kAlignLeft}};
            column = Or(s.case_sql.agency_name, "member_user.agency_inx");
        } else {
            out.columns = {{"지사명", 1600, kAlignLeft}};
            column = Or(s.case_sql.branch_name, "member_user.branch_inx");
        }
        sql = "select " + column + " k, " + kLedgerSums + from + " group by k order by k";
    }
    for (const auto& c : SumColumns()) out.columns.push_back(c);
    const Recordset rs = db.OpenRecordset(sql, params);
    const std::size_t first = q.grouping == LedgerGrouping::kMethod ? 2 : 1;
    for (std::size_t i = 0; i < rs.size(); ++i) {
        std::vector<std::string> row;
        for (std::size_t c = 0; c < first; ++c) row.push_back(rs[i][c]);
        AppendSums(row, rs[i], first);
        out.rows.push_back(std::move(row));
    }
    return out;
}

ReportTable LedgerPeriodDetail(Database& db, const SessionContext& s, const LedgerQuery& q,
                               const std::string& key) {
    const auto day = ParseDate(key.size() == 5 ? key + "-01" : key);
    if (!day || (key.size() != 5 && key.size() != 8))
        throw std::invalid_argument("조회할 년월 또는 일자가 잘못 되었습니다: " + key);
    LedgerQuery one = q;
    one.monthly = key.size() == 5;
    one.period = {*day, *day};
    const BatchFilter resolved = ResolveReportFilter(db, s, q.filter);
    SqlParams params;
    std::string from = LedgerFrom(s, one, params);
    from += ReportMemberSql(resolved, params);
    const Recordset rs = db.OpenRecordset(
        "select member_user.member_inx, " +
            Or(s.case_sql.settle_accounts, "member_user.settle_accounts") +
            ", member_user.ext_key, member_user.client_company, member_user.username, "
            "sum(if(p.paystat='0',p.input_pay,0)), sum(if(p.paystat='1',p.input_pay,0)), "
            "member_user.client_info1, member_user.client_info2, member_user.client_info3, "
            "member_user.client_manager, " +
            Or(s.case_sql.p_tax, "member_user.p_tax") + from +
            " group by member_user.member_inx order by member_user.member_inx",
        params);
    ReportTable out;
    out.columns = {{"납부자번호", 1200, kAlignCentre}, {"수금방법", 1100, kAlignLeft},
                   {"외부참조키", 1200, kAlignLeft},   {"상호", 1500, kAlignLeft},
                   {"고객명", 1200, kAlignLeft},       {"매출액", 1300, kAlignRight},
                   {"수금합계", 1300, kAlignRight},    {"추가정보1", 1100, kAlignLeft},
                   {"추가정보2", 1100, kAlignLeft},    {"추가정보3", 1100, kAlignLeft},
                   {"담당자", 1100, kAlignLeft},       {"영수구분", 1100, kAlignLeft}};
    for (std::size_t i = 0; i < rs.size(); ++i) {
        const auto r = rs[i];
        out.rows.push_back({PadPayerNumber(r[std::size_t{0}], 10), r[std::size_t{1}],
                            r[std::size_t{2}], r[std::size_t{3}], r[std::size_t{4}],
                            FormatAmount(r.asInt(5)), FormatAmount(r.asInt(6)), r[std::size_t{7}],
                            r[std::size_t{8}], r[std::size_t{9}], r[std::size_t{10}],
                            r[std::size_t{11}]});
    }
    return out;
}

ReportTable MemberReport(Database& db, const SessionContext& s, const ReportPeriod& period,
                         const ReportFilter& filter) {
    LedgerQuery q;
    q.period = period;
    q.monthly = false;
    q.filter = filter;
    const BatchFilter resolved = ResolveReportFilter(db, s, filter);
    SqlParams params;
    std::string from = LedgerFrom(s, q, params);
    from += ReportMemberSql(resolved, params);
    const Recordset rs = db.OpenRecordset(
        "select member_user.member_inx, if(member_user.username='',member_user.client_company,"
        "member_user.username), " +
            MethodTitleSql(s.schema(), "p.settle_code") + ", " +
            Or(s.case_sql.branch_name, "member_user.branch_inx") + ", " +
            Or(s.case_sql.agency_name, "member_user.agency_inx") +
            ", member_user.client_manager, " + kLedgerSums + from +
            " group by member_user.member_inx, p.settle_code "
            "order by member_user.member_inx, p.settle_code",
        params);
    ReportTable out;
    out.columns = {{"납부자번호", 1200, kAlignCentre}, {"고객명", 1300, kAlignLeft},
                   {"수금방법", 1100, kAlignLeft},     {"지사명", 1300, kAlignLeft},
                   {"대리점명", 1300, kAlignLeft},     {"담당자", 1100, kAlignLeft}};
    for (const auto& c : SumColumns()) out.columns.push_back(c);
    for (std::size_t i = 0; i < rs.size(); ++i) {
        std::vector<std::string> row{PadPayerNumber(rs[i][std::size_t{0}], 10)};
        for (std::size_t c = 1; c < 6; ++c) row.push_back(rs[i][c]);
        AppendSums(row, rs[i], 6);
        out.rows.push_back(std::move(row));
    }
    return out;
}

std::string FillMonthdiv(Database& db, long long inx, long long branch, int year) {
    if (year < 2000 || year > 2099) return "잘못된 조회년도";
    const std::string t = InstitutionSchema(inx);
    const std::string yy = std::to_string(year % 100 + 100).substr(1);
    std::string sums;
    for (const char* kind : {"0", "1"}) {
        for (int m = 1; m <= 12; ++m) {
            const std::string mm = std::to_string(m + 100).substr(1);
            sums += ", sum(if(p.paystat='" + std::string(kind) + "' and mid(p.signdate,4,2)='" +
                    mm + "',p.input_pay,0))";
        }
    }
    std::string columns = "member_inx";
    for (const char* prefix : {"sg", "st"})
        for (int m = 1; m <= 12; ++m) columns += std::string(", ") + prefix + std::to_string(m);
    Database::Transaction tx(db);
    // One fill of the institution at a time: two desks emptying and filling
    // the table together would deadlock on each other's row locks.
    db.OpenRecordset("select inx from quorisdex.admin_company where inx=? for update", {inx});
    SqlParams params{yy + "-01-01", yy + "-12-99"};
    std::string members = " where m.remove<>'4'";
    if (branch > 0) {
        db.ExecuteSql("delete d from " + t + ".monthdiv d join " + t +
                          ".member_user m on m.member_inx=d.member_inx where m.branch_inx=?",
                      {branch});
        members += " and m.branch_inx=?";
        params.emplace_back(branch);
    } else {
        db.ExecuteSql("delete from " + t + ".monthdiv");
    }
    db.ExecuteSql("insert into " + t + ".monthdiv (" + columns + ") select m.member_inx" + sums +
                      " from " + t + ".member_user m left join " + t +
                      ".pay_pross p on p.userlink_inx=m.member_inx and p.signdate between ? and ?" +
                      members + " group by m.member_inx",
                  params);
    tx.commit();
    return kScriptDoneReply;
}

MonthdivRequest ServiceWebMonthdivRequest(const std::string& webHost) {
    return [webHost](long long inx, long long branch, int year) {
        const std::string url =
            ServiceUrl(webHost, std::string(kFillMonthdivPath) + "?loginuserid=tps_" +
                                    std::to_string(inx) + "&cbobrinx=" + std::to_string(branch) +
                                    "&searchyear=" + std::to_string(year));
        if (url.empty()) return std::string("서비스 서버 주소가 설정되지 않았습니다.");
        const HttpResult r = HttpRequest(url);
        if (!r.ok)
            return "서비스 서버 응답 없음 (" +
                   (r.error.empty() ? "HTTP " + std::to_string(r.status) : r.error) + ")";
        return Trim(r.body);
    };
}

std::string OutstandingRateText(long long nonpayment, long long monthDefault,
                                const std::string& accountDivide, long long agreement,
                                long long agreementDone) {
    const long long rate = nonpayment > 0 && monthDefault > 0 ? nonpayment * 100 / monthDefault : 0;
    if (accountDivide != "3") return std::to_string(rate);
    const long long left = agreement - agreementDone;
    const long long remaining = left > 0 && monthDefault > 0 ? left * 100 / monthDefault : 0;
    return std::to_string(rate) + "/" + std::to_string(remaining);
}

ReportTable AnnualReport(Database& db, const SessionContext& s, int year,
                         const ReportFilter& filter, const MonthdivRequest& fill, int waitSeconds) {
    const BatchFilter resolved = ResolveReportFilter(db, s, filter);
    const long long branch = resolved.branch_inx.empty() ? 0 : std::stoll(resolved.branch_inx);
    // monthdiv is one table per institution: filling it and reading it back
    // is one unit, or another desk's fill (another year, another branch)
    // coming between them would be shown as this report's figures.
    const NamedLock lock(db, "quorisdex_monthdiv_" + s.schema(), waitSeconds);
    if (!lock.held()) throw std::runtime_error(kAnnualReportBusyText);
    const std::string answer = fill(s.institution_number, branch, year);
    if (answer != kScriptDoneReply)
        throw std::runtime_error("월별 매출/수금 집계를 하지 못했습니다. (" + answer + ")");
    SqlParams params;
    const std::string members = ReportMemberSql(resolved, params);
    std::string months;
    for (const char* prefix : {"sg", "st"})
        for (int m = 1; m <= 12; ++m)
            months += std::string(", ifnull(d.") + prefix + std::to_string(m) + ",0)";
    const std::string t = s.schema();
    const Recordset rs = db.OpenRecordset(
        "select member_user.member_inx, if(member_user.username='',member_user.client_company,"
        "member_user.username), " +
            Or(s.case_sql.settle_accounts, "member_user.settle_accounts") +
            ", member_user.remove, " + Or(s.case_sql.cms_status, "member_user.cms_status") + ", " +
            Or(s.case_sql.account_divide, "member_user.account_divide") + ", " +
            Or(s.case_sql.p_tax, "member_user.p_tax") +
            ", member_user.client_manager, member_user.ext_key, member_user.inday, "
            "from_unixtime(member_user.signdate,'%y-%m-%d'), member_user.start_date, "
            "member_user.pay_monthdefault, member_user.pay_nonpayment, "
            "member_user.account_divide, member_user.pay_agreement, "
            "member_user.pay_prossagreement" +
            months + " from " + t + ".member_user member_user left join " + t +
            ".monthdiv d on d.member_inx=member_user.member_inx where 1=1" + members +
            " order by member_user.member_inx",
        params);
    ReportTable out;
    out.columns = {{"납부자번호", 1200, kAlignCentre},  {"고객명", 1300, kAlignLeft},
                   {"수금방법", 1000, kAlignLeft},      {"회원상태", 800, kAlignCentre},
                   {"CMS상태", 1000, kAlignLeft},       {"매출구분", 900, kAlignLeft},
                   {"영수구분", 900, kAlignLeft},       {"담당자", 1000, kAlignLeft},
                   {"외부참조키", 1100, kAlignLeft},    {"이체일", 700, kAlignCentre},
                   {"등록일자", 1000, kAlignCentre},    {"시작월", 800, kAlignCentre},
                   {"월매출예정액", 1200, kAlignRight}, {"미수금액", 1200, kAlignRight}};
    for (const char* kind : {"매출", "수금"})
        for (int m = 1; m <= 12; ++m)
            out.columns.push_back({std::to_string(m) + "월(" + kind + ")", 1100, kAlignRight});
    out.columns.push_back({"미수율", 900, kAlignRight});
    for (std::size_t i = 0; i < rs.size(); ++i) {
        const auto r = rs[i];
        std::vector<std::string> row{PadPayerNumber(r[std::size_t{0}], 10), r[std::size_t{1}],
                                     r[std::size_t{2}], MemberStateText(r[std::size_t{3}])};
        for (std::size_t c = 4; c < 12; ++c) row.push_back(r[c]);
        row.push_back(FormatAmount(r.asInt(12)));
        row.push_back(FormatAmount(r.asInt(13)));
        for (std::size_t c = 17; c < 41; ++c) row.push_back(FormatAmount(r.asInt(c)));
        row.push_back(OutstandingRateText(r.asInt(13), r.asInt(12), r[std::size_t{14}], r.asInt(15),
                                          r.asInt(16)));
        out.rows.push_back(std::move(row));
    }
    return out;
}

}  // namespace qx
