#include "session/cms_summary.h"

#include "db/database.h"
#include "db/role_filter.h"
#include "db/server_clock.h"

namespace qx {

std::string RegularMonth(const SessionContext& s) {
    return s.month_divide_switch ? s.month_current : s.month_previous;
}

CmsSummary ComputeCmsSummary(Database& db, const SessionContext& session) {
    SessionContext s = session;
    if (s.month_current.empty()) ReadServerDate(db, s);
    const std::string month = RegularMonth(s);
    const std::string tables = s.schema();

    // Per member: outstanding amount, what is due this month (an instalment
    // member never more than the remaining instalments), and the sales booked
    // in the current and the previous month.
    std::string members =
        "select member_user.pay_nonpayment nonpay, member_user.pay_monthdefault mdef, "
        "member_user.start_date, "
        "if(member_user.account_divide=3 and (member_user.pay_agreement-member_user.pay_nonpayment)"
        "-member_user.pay_prossagreement<member_user.pay_monthdefault,"
        "(member_user.pay_agreement-member_user.pay_nonpayment)-member_user.pay_prossagreement,"
        "member_user.pay_monthdefault) due, "
        "coalesce(p.s_cur,0) s_cur, coalesce(p.s_prev,0) s_prev "
        "from " +
        tables + ".member_user left join (select userlink_inx, " +
        "sum(if(signdate like ?, input_pay, 0)) s_cur, " +
        "sum(if(signdate like ?, input_pay, 0)) s_prev from " + tables +
        ".pay_pross where paystat='0' and (signdate like ? or signdate like ?) "
        "group by userlink_inx) p on p.userlink_inx=member_user.member_inx "
        "where member_user.settle_accounts='1' and member_user.remove='1'";
    const std::string current = s.month_current + "%", previous = s.month_previous + "%";
    SqlParams params{current, previous, current, previous};
    AppendRoleFilter(members, params, s);

    const std::string booked = s.month_divide_switch ? "s_cur" : "s_prev";
    std::string regular, arrears;
    if (s.month_divide_switch) {
        regular = "if(nonpay>0, least(nonpay, s_cur), 0)";
        arrears = "if(nonpay>0, nonpay-least(nonpay, s_cur), 0)";
    } else {
        // The current month's sales are not due yet; what they leave of the
        // outstanding amount is first the previous month's, then older.
        regular = "if(nonpay>0 and nonpay-s_cur>0, least(s_prev, nonpay-s_cur), 0)";
        arrears = "if(nonpay>0 and nonpay-s_prev-s_cur>0, nonpay-s_prev-s_cur, 0)";
    }
    const std::string sql =
        "select cast(coalesce(sum(" + regular + "),0) as signed) regular_outstanding, " +
        "cast(coalesce(sum(" + arrears + "),0) as signed) arrears_outstanding, " +
        "cast(coalesce(sum(if(mdef>0 and start_date<=? and " + booked + "<due, due-" + booked +
        ", 0)),0) as signed) sales_to_book, " +
        "cast(coalesce(sum(if(mdef>0, due, 0)),0) as signed) expected_monthly_sales " + "from (" +
        members + ") t";
    // The start-month bound stands before the sub-query's parameters.
    SqlParams all{"20" + month};
    all.insert(all.end(), params.begin(), params.end());
    auto rs = db.OpenRecordset(sql, all);
    CmsSummary out;
    if (rs.empty()) return out;
    auto r = rs[0];
    out.regular_outstanding = r.asInt("regular_outstanding");
    out.arrears_outstanding = r.asInt("arrears_outstanding");
    out.sales_to_book = r.asInt("sales_to_book");
    out.expected_monthly_sales = r.asInt("expected_monthly_sales");
    return out;
}

}  // namespace qx
