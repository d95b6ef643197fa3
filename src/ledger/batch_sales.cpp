#include "ledger/batch_sales.h"

#include "core/session_context.h"
#include "db/business_days.h"
#include "db/database.h"
#include "ledger/ledger_booking.h"
#include "ledger/ledger_rules.h"
#include "ledger/run_key.h"
#include "ledger/server_scripts.h"
#include "members/auto_cancellation.h"
#include "platform/http.h"
#include "platform/interaction.h"

namespace qx {

namespace {

constexpr const char* kCurrentMonthSql = "date_format(now(),'%y-%m')";

// This month's sales of the member row `member_user`.
std::string MonthSalesSql(const std::string& schema) {
    return std::string("(select ifnull(sum(p.input_pay),0) from ") + schema +
           ".pay_pross p where p.userlink_inx=member_user.member_inx and p.paystat='0' and "
           "p.signdate like concat(" +
           kCurrentMonthSql + ",'%'))";
}

// What the member is billed by one sale: the expected amount `amount`, cut
// to what is left of the instalment total for instalment members.
std::string InstalmentCutSql(const std::string& amount) {
    const std::string left =
        "(member_user.pay_agreement-member_user.pay_nonpayment)-member_user.pay_prossagreement";
    return "if(member_user.account_divide='3' and " + left + "<" + amount + "," + left + "," +
           amount + ")";
}

// The members of the list: active, of the filter, and not billed this month
// (ad-hoc members may be billed again unless only unbilled ones are asked).
// The list's filter: the screen's choices, the day, the user's own members.
BatchFilter ListFilter(const SessionContext& s, const SaleQuery& q) {
    BatchFilter filter = q.filter;
    if (!q.day.empty()) filter.payday = q.day;
    return WithUserRole(filter, s);
}

}  // namespace

std::string SaleCandidateWhere(const SessionContext& s, const SaleQuery& q, SqlParams& params) {
    std::string where = " where member_user.remove='1'" + BatchFilterSql(ListFilter(s, q), params);
    const std::string unbilled = MonthSalesSql(s.schema()) + "<1";
    if (q.unbilledOnly) {
        where += " and " + unbilled;
    } else {
        where += " and (member_user.account_divide='2' or (member_user.account_divide<>'2' and " +
                 unbilled + "))";
    }
    return where;
}

namespace {

std::string ScriptQuery(const SessionContext& s) {
    return "loginuserid=" + s.schema();
}

}  // namespace

StagedRun StageSaleRun(Database& db, const SessionContext& s, const std::string& where,
                       const SqlParams& whereParams, const std::string& booking) {
    const std::string schema = s.schema();
    StagedRun staged;
    RunKeyLock lock(db, s);
    Database::Transaction tx(db);
    staged.run_key = lock.nextKey();
    SqlParams params{booking, staged.run_key};
    params.insert(params.end(), whereParams.begin(), whereParams.end());
    staged.rows = db.ExecuteSql(
        "insert into " + schema +
            ".payadd (add_usrnum, create_date, add_runkey, add_startdate, add_accountdivide, "
            "add_monthdefault, add_nonpayment, add_agreement, add_prossagreement, add_create, "
            "item_name, item_stan, item_cnt) select member_user.member_inx, ?, ?, "
            "member_user.start_date, member_user.account_divide, " +
            InstalmentCutSql("ui.ui_payment") +
            ", member_user.pay_nonpayment, member_user.pay_agreement, "
            "member_user.pay_prossagreement, unix_timestamp(sysdate()), "
            "ifnull(ui.ui_name,''), ifnull(ui.ui_stan,''), ifnull(ui.ui_cnt,0) from " +
            schema + ".member_user member_user left join " + schema +
            ".user_item ui on ui.ui_perinx=member_user.member_inx" + where +
            " order by member_user.member_inx desc, ui.ui_inx",
        params);
    db.ExecuteSql("update " + schema +
                      ".payadd set add_err=concat("
                      "if(mid(add_startdate,3,5)>" +
                      kCurrentMonthSql +
                      ",concat('이체개시월 [',add_startdate,'] 오류 / '),''),"
                      "if(add_monthdefault<1000,'매출예정액 1000원 이하 / ',''),"
                      "if(add_monthdefault is null,'매출예정액 오류 / ',''),"
                      "if(add_accountdivide='3' and (add_agreement-add_prossagreement)-"
                      "add_nonpayment<1,'할부완납 회원 / ','')), "
                      "add_errcode=if(add_err='',0,1) where add_runkey=?",
                  {staged.run_key});
    tx.commit();
    return staged;
}

void CountSaleRun(Database& db, const SessionContext& s, long long runKey, long long& booked,
                  long long& refused) {
    const Recordset counts =
        db.OpenRecordset(" select sum(if(add_errcode=0,1,0)),sum(if(add_errcode=1,1,0)) from " +
                             s.schema() + ".payadd  where add_runkey=?",
                         {runKey});
    booked = counts[0].asInt(std::size_t{0});
    refused = counts[0].asInt(std::size_t{1});
}

std::string SaleRunQuery(const SessionContext& s, long long runKey, const std::string& booking) {
    return "loginuserid=" + s.schema() + "&tablekey=" + std::to_string(runKey) + "&dt1=" + booking;
}

SaleCandidates ListSaleCandidates(Database& db, const SessionContext& s, const SaleQuery& q) {
    SqlParams params;
    const std::string where = SaleCandidateWhere(s, q, params);
    const Recordset rs = db.OpenRecordset(
        "select member_user.member_inx, right(concat('0000000000',member_user.member_inx),10) "
        "payer_number, member_user.username, member_user.client_company, "
        "member_user.account_divide, member_user.payday, member_user.pay_monthdefault, "
        "member_user.pay_nonpayment, " +
            InstalmentCutSql("member_user.pay_monthdefault") + " expected, " +
            MonthSalesSql(s.schema()) + " month_sales from " + s.schema() +
            ".member_user member_user" + where + " order by member_user.member_inx desc",
        params);
    SaleCandidates out;
    out.rows.reserve(rs.size());
    for (std::size_t i = 0; i < rs.size(); ++i) {
        const auto r = rs[i];
        SaleCandidate c;
        c.member_inx = r.asInt("member_inx");
        c.payer_number = r["payer_number"];
        c.username = r["username"];
        c.client_company = r["client_company"];
        c.account_divide = r["account_divide"];
        c.payday = r["payday"];
        c.pay_monthdefault = r.asInt("pay_monthdefault");
        c.pay_nonpayment = r.asInt("pay_nonpayment");
        c.expected = r.asInt("expected");
        c.billed_this_month = r.asInt("month_sales") >= 1;
        out.expected_total += c.expected;
        if (!c.billed_this_month) out.expected_unbilled += c.expected;
        out.rows.push_back(std::move(c));
    }
    return out;
}

std::optional<std::string> SaleBookingDate(const std::string& ledgerDate, const std::string& day) {
    if (day.empty()) return ledgerDate;
    const auto date = ParseDate(ledgerDate);
    if (!date || day.size() > 2) return std::nullopt;
    CivilDate booked = *date;
    try {
        booked.day = std::stoi(day);
    } catch (...) {
        return std::nullopt;
    }
    if (!IsValidDate(booked)) return std::nullopt;
    return FormatShortDate(booked);
}

SaleRunResult RunBatchSale(Database& db, const SessionContext& s, Interaction& ui,
                           const std::string& webHost, const SaleQuery& q,
                           const SaleCandidates* searched, const std::string& date) {
    SaleRunResult result;
    if (!searched) {
        ui.inform(kSaleSearchFirstText);
        return result;
    }
    const auto chosen = LedgerDate(date);
    const auto booking = chosen ? SaleBookingDate(*chosen, q.day) : std::nullopt;
    if (!booking) {
        ui.inform(kDateInvalidText);
        return result;
    }
    if (searched->rows.empty()) {
        ui.inform(kNoCandidatesText);
        return result;
    }
    if (!ui.confirm(*chosen + "일자로 이체예정일 " + (q.day.empty() ? "전체" : q.day) +
                    "일인 데이터의 일괄매출을 발생 하시겠습니까?")) {
        return result;
    }
    CancelEndedPeriodMembers(db, s, db.scalar(std::string("select ") + kCurrentMonthSql));

    ui.progress(kSettlingText, 0, 3);
    if (!RequestScript(
            webHost, kSettleOutstandingPath,
            ScriptQuery(s) + "&realWhere=" + UrlEncodeUtf8(RealWhereText(ListFilter(s, q))))) {
        ui.inform(kSettleFailedText);
        return result;
    }
    ui.progress(kSettledText, 1, 3);

    StagedRun staged;
    try {
        SqlParams params;
        const std::string where = SaleCandidateWhere(s, q, params);
        staged = StageSaleRun(db, s, where, params, *booking);
    } catch (const LedgerRefused& refused) {
        ui.inform(refused.what());
        return result;
    }
    result.run_key = staged.run_key;
    const long long rows = staged.rows;
    if (rows == 0) {
        ui.inform(kNoCandidatesText);
        return result;
    }
    ui.progress(kSettledText, 2, 3);
    if (!RequestScript(webHost, kBookSaleRunPath, SaleRunQuery(s, result.run_key, *booking))) {
        ui.inform(kSaleBookingFailedText, "오류");
        return result;
    }
    result.done = true;
    CountSaleRun(db, s, result.run_key, result.booked, result.refused);
    const std::string tally = "(정상: " + std::to_string(result.booked) +
                              " 건/불능: " + std::to_string(result.refused) + " 건)";
    db.WriteProcessLog(
        *booking + " 일괄매출 " + tally + " [" + std::to_string(result.run_key) + "]",
        kLedgerLogCode);
    ui.progress(kSaleDoneTitle, 3, 3);
    const bool toEb21 = s.prgstat[kAllPayMain] == 1 && result.booked > 0;
    const bool yes = ui.confirm(*booking + "일자로 일괄매출" + tally + " 을 완료 하였습니다.\n\n" +
                                (toEb21 ? " 출금파일 생성화면으로 이동 하시겠습니까?"
                                        : " 결과화면으로 이동 하시겠습니까?"));
    if (yes) result.next = toEb21 ? AfterSaleRun::kOpenEb21 : AfterSaleRun::kOpenHistory;
    return result;
}

}  // namespace qx
