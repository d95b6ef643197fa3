#include "reports/channel_report.h"

#include <map>
#include <stdexcept>

#include "cms/eb22/eb22_results.h"
#include "core/session_context.h"
#include "db/database.h"
#include "db/payer_number.h"
#include "ledger/fees.h"
#include "platform/amount_text.h"
#include "platform/text_checks.h"

namespace qx {

namespace {

std::string FileDay(const CivilDate& d) {
    std::string s = FormatShortDate(d);  // yy-mm-dd
    return s.substr(0, 2) + s.substr(3, 2) + s.substr(6, 2);
}

std::string Amount(long long v) {
    return FormatAmount(v);
}

std::vector<StatusColumn> CmsColumns() {
    return {{"생성일자", 1000, kAlignCentre},  {"파일명", 1300, kAlignCentre},
            {"요청건수", 900, kAlignRight},    {"요청금액", 1400, kAlignRight},
            {"출금건수", 900, kAlignRight},    {"출금액", 1400, kAlignRight},
            {"불능건수", 900, kAlignRight},    {"불능금액", 1400, kAlignRight},
            {"출금수수료", 1100, kAlignRight}, {"불능수수료", 1100, kAlignRight},
            {"수수료합계", 1100, kAlignRight}, {"실입금액", 1400, kAlignRight}};
}

std::vector<StatusColumn> CardColumns() {
    return {{"생성일자", 1000, kAlignCentre},    {"파일명", 1300, kAlignCentre},
            {"합계건수", 900, kAlignRight},      {"합계금액", 1400, kAlignRight},
            {"청구건수", 900, kAlignRight},      {"청구금액", 1400, kAlignRight},
            {"취소건수", 900, kAlignRight},      {"취소금액", 1400, kAlignRight},
            {"출금액", 1400, kAlignRight},       {"출금불능금액", 1400, kAlignRight},
            {"취소성공금액", 1400, kAlignRight}, {"취소불능금액", 1400, kAlignRight},
            {"수수료", 1100, kAlignRight},       {"실입금액", 1400, kAlignRight}};
}

std::vector<StatusColumn> VirtualColumns() {
    return {{"입금일자", 1200, kAlignCentre}, {"구분", 1000, kAlignCentre},
            {"입금액", 1400, kAlignRight},    {"건수", 900, kAlignRight},
            {"수수료", 1100, kAlignRight},    {"실입금액", 1400, kAlignRight}};
}

// The CMS row from counts and amounts; the fees always come from the one rule.
std::vector<std::string> CmsRow(const std::string& day, const std::string& file, long long items,
                                long long amount, long long withdrawnItems, long long withdrawn,
                                long long failedItems, long long notWithdrawn, long long okFee,
                                long long failFee) {
    return {day,
            file,
            Amount(items),
            Amount(amount),
            Amount(withdrawnItems),
            Amount(withdrawn),
            Amount(failedItems),
            Amount(notWithdrawn),
            Amount(okFee),
            Amount(failFee),
            Amount(okFee + failFee),
            Amount(withdrawn - (okFee + failFee))};
}

ReportTable CmsStored(Database& db, const SessionContext& s, const ReportPeriod& p) {
    const std::string t = s.schema();
    const Recordset rs = db.OpenRecordset(
        "select from_unixtime(e.makedate,'%y-%m-%d'), e.filename, e.total_cnt, e.total_money, "
        "(select count(*) from " +
            t +
            ".file_ea21 f where f.reg_date=mid(e.filename,5) and f.result<>'N'), "
            "e.rtnok_money, (select count(*) from " +
            t +
            ".file_ea21 f where f.reg_date=mid(e.filename,5) and f.result='N'), "
            "e.rtnfalse_money, e.ok_commission, e.false_commission from " +
            t +
            ".ea21 e where e.pross_stat='1' and mid(e.filename,5) between ? and ? "
            "order by e.pross_stat, e.makedate desc, e.filename desc",
        {FileDay(p.from), FileDay(p.to)});
    ReportTable out{CmsColumns(), {}};
    for (std::size_t i = 0; i < rs.size(); ++i) {
        const auto r = rs[i];
        auto n = [&](std::size_t c) { return r.asInt(c); };
        out.rows.push_back(CmsRow(r[std::size_t{0}], r[std::size_t{1}], n(2), n(3), n(4), n(5),
                                  n(6), n(7), n(8), n(9)));
    }
    return out;
}

ReportTable CmsComputed(Database& db, const SessionContext& s, const ReportPeriod& p,
                        const BatchFilter& resolved) {
    const std::string t = s.schema();
    SqlParams params{FileDay(p.from), FileDay(p.to)};
    const std::string members = ReportMemberSql(resolved, params);
    const Recordset rs = db.OpenRecordset(
        "select from_unixtime(e.makedate,'%y-%m-%d'), e.filename, count(*), sum(f.amount), "
        "sum(f.result<>'N'), "
        "sum(case f.result when 'N' then f.amount when 'P' then f.amount-f.div_amount else 0 "
        "end), sum(f.result='N'), sum(f.result='N' and f.result_code not in (" +
            UnchargedFailureCodesSql() + ")) from " + t + ".file_ea21 f join " + t +
            ".member_user member_user on f.user_no=member_user.member_inx join " + t +
            ".ea21 e on f.reg_date=mid(e.filename,5) where e.pross_stat='1' and "
            "f.reg_date between ? and ?" +
            members +
            " group by f.reg_date order by max(e.pross_stat), max(e.makedate) desc, "
            "f.reg_date desc",
        params);
    const FeeSettings fees = LoadFeeSettings(db, s.institution_number);
    ReportTable out{CmsColumns(), {}};
    for (std::size_t i = 0; i < rs.size(); ++i) {
        const auto r = rs[i];
        auto n = [&](std::size_t c) { return r.asInt(c); };
        const long long amount = n(3), notWithdrawn = n(5);
        const WithdrawalFees f = WithdrawalFileFees(fees, n(4), n(7));
        out.rows.push_back(CmsRow(r[std::size_t{0}], r[std::size_t{1}], n(2), amount, n(4),
                                  amount - notWithdrawn, n(6), notWithdrawn, f.success, f.failure));
    }
    return out;
}

ReportTable CardStored(Database& db, const SessionContext& s, const ReportPeriod& p) {
    const Recordset rs = db.OpenRecordset(
        "select from_unixtime(makedate,'%y-%m-%d'), filename, total_cnt, total_money, sale_cnt, "
        "sale_money, cancel_cnt, cancel_money, rtnok_money, rtnfalse_money, cancel_rtnok_money, "
        "cancel_rtnfalse_money, commission, rtnok_money-commission from " +
            s.schema() +
            ".cdpay where pross_stat='1' and mid(filename,5) between ? and ? "
            "order by pross_stat, makedate desc, filename desc",
        {FileDay(p.from), FileDay(p.to)});
    ReportTable out{CardColumns(), {}};
    for (std::size_t i = 0; i < rs.size(); ++i) {
        std::vector<std::string> row{rs[i][std::size_t{0}], rs[i][std::size_t{1}]};
        for (std::size_t c = 2; c < 14; ++c) row.push_back(Amount(rs[i].asInt(c)));
        out.rows.push_back(std::move(row));
    }
    return out;
}

// Card fees per file day: each approved purchase carries its own fee,
// summed in hundredths and rounded once per file.
std::map<std::string, long long> CardFees(Database& db, const std::string& t,
                                          const std::string& where, const SqlParams& params) {
    const Recordset rs = db.OpenRecordset(
        "select d.reg_date, d.amount, count(*) from " + t + ".cdpay_detail d join " + t +
            ".member_user member_user on d.user_no=member_user.member_inx join " + t +
            ".cdpay c on d.reg_date=mid(c.filename,5) where d.purchase_kind='0' and "
            "d.result=''" +
            where + " group by d.reg_date, d.amount",
        params);
    std::map<std::string, long long> hundredths;
    for (std::size_t i = 0; i < rs.size(); ++i)
        hundredths[rs[i][std::size_t{0}]] +=
            CardPurchaseFeeHundredths(rs[i].asInt(1)) * rs[i].asInt(2);
    std::map<std::string, long long> won;
    for (const auto& [day, h] : hundredths) won[day] = HundredthsToWon(h);
    return won;
}

ReportTable CardComputed(Database& db, const SessionContext& s, const ReportPeriod& p,
                         const BatchFilter& resolved) {
    const std::string t = s.schema();
    SqlParams params{FileDay(p.from), FileDay(p.to)};
    const std::string where =
        " and c.pross_stat='1' and d.reg_date between ? and ?" + ReportMemberSql(resolved, params);
    const auto fees = CardFees(db, t, where, params);
    const Recordset rs = db.OpenRecordset(
        "select from_unixtime(c.makedate,'%y-%m-%d'), c.filename, d.reg_date, count(*), "
        "sum(d.amount), sum(d.purchase_kind='0'), sum(if(d.purchase_kind='0',d.amount,0)), "
        "sum(d.purchase_kind='1'), sum(if(d.purchase_kind='1',d.amount,0)), "
        "sum(if(d.purchase_kind='0' and d.result='',d.amount,0)), "
        "sum(if(d.purchase_kind='0' and d.result='N',d.amount,0)), "
        "sum(if(d.purchase_kind='1' and d.result='',d.amount,0)), "
        "sum(if(d.purchase_kind='1' and d.result='N',d.amount,0)) from " +
            t + ".cdpay_detail d join " + t +
            ".member_user member_user on d.user_no=member_user.member_inx join " + t +
            ".cdpay c on d.reg_date=mid(c.filename,5) where 1=1" + where +
            " group by d.reg_date order by max(c.pross_stat), max(c.makedate) desc, "
            "d.reg_date desc",
        params);
    ReportTable out{CardColumns(), {}};
    for (std::size_t i = 0; i < rs.size(); ++i) {
        const auto r = rs[i];
        const auto it = fees.find(r[std::size_t{2}]);
        const long long fee = it == fees.end() ? 0 : it->second;
        std::vector<std::string> row{r[std::size_t{0}], r[std::size_t{1}]};
        for (std::size_t c = 3; c < 13; ++c) row.push_back(Amount(r.asInt(c)));
        row.push_back(Amount(fee));
        row.push_back(Amount(r.asInt(std::size_t{9}) - fee));
        out.rows.push_back(std::move(row));
    }
    return out;
}

ReportTable VirtualDeposits(Database& db, const SessionContext& s, const ReportPeriod& p,
                            const BatchFilter& resolved) {
    SqlParams params{s.schema(), FormatDate(p.from), FormatDate(p.to)};
    const std::string members = ReportMemberSql(resolved, params);
    const Recordset rs = db.OpenRecordset(
        "select left(k.savetime,10) day, sum(k.info11), count(*) from kib.kibpay k join " +
            s.schema() +
            ".member_user member_user on k.out_userkey=member_user.member_inx "
            "where k.out_dbname=? and k.p_cancel='N' and left(k.savetime,10) between ? and ?" +
            members + " group by day order by day desc",
        params);
    const FeeSettings fees = LoadFeeSettings(db, s.institution_number);
    ReportTable out{VirtualColumns(), {}};
    for (std::size_t i = 0; i < rs.size(); ++i) {
        const long long amount = rs[i].asInt(1), count = rs[i].asInt(2);
        const long long fee = VirtualDepositFees(fees, count);
        out.rows.push_back({rs[i][std::size_t{0}], kVirtualAccountText, Amount(amount),
                            Amount(count), Amount(fee), Amount(amount - fee)});
    }
    return out;
}

}  // namespace

ChannelKind ParseChannelKind(const std::string& text) {
    if (text == "cms" || text.empty()) return ChannelKind::kCms;
    if (text == "card") return ChannelKind::kCard;
    if (text == "virtual") return ChannelKind::kVirtual;
    throw std::invalid_argument("수금 구분은 cms, card 또는 virtual 입니다: " + text);
}

ReportTable ChannelReport(Database& db, const SessionContext& s, ChannelKind kind,
                          const ReportPeriod& period, const ReportFilter& filter) {
    const BatchFilter resolved = ResolveReportFilter(db, s, filter);
    switch (kind) {
        case ChannelKind::kCms:
            return NarrowsMembers(resolved) ? CmsComputed(db, s, period, resolved)
                                            : CmsStored(db, s, period);
        case ChannelKind::kCard:
            return NarrowsMembers(resolved) ? CardComputed(db, s, period, resolved)
                                            : CardStored(db, s, period);
        case ChannelKind::kVirtual:
            return VirtualDeposits(db, s, period, resolved);
    }
    return {};
}

ReportTable ChannelFileDetail(Database& db, const SessionContext& s, const std::string& file,
                              DetailShow show, const ReportFilter& filter) {
    const bool cms = file.rfind("EB21", 0) == 0;
    const bool card = file.rfind("CPAY", 0) == 0;
    if ((!cms && !card) || file.size() != 10 || !IsAllDigits(file.substr(4)))
        throw std::invalid_argument("수금파일명이 잘못 되었습니다: " + file);
    const std::string t = s.schema();
    SqlParams params{file.substr(4)};
    const std::string members = ReportMemberSql(ResolveReportFilter(db, s, filter), params);
    ReportTable out;
    if (cms) {
        const char* which = show == DetailShow::kWithdrawn ? " and f.result<>'N'"
                            : show == DetailShow::kFailed  ? " and f.result='N'"
                                                           : "";
        out.columns = {{"납부자번호", 1200, kAlignCentre}, {"외부참조키", 1200, kAlignLeft},
                       {"상호", 1500, kAlignLeft},         {"고객명", 1200, kAlignLeft},
                       {"예금주", 1200, kAlignLeft},       {"요청금액", 1300, kAlignRight},
                       {"출금액", 1300, kAlignRight},      {"미출금액", 1300, kAlignRight},
                       {"오류내용", 2400, kAlignLeft}};
        const Recordset rs = db.OpenRecordset(
            "select f.user_no, member_user.ext_key, member_user.client_company, "
            "member_user.username, member_user.account_name, f.amount, f.result, f.div_amount, "
            "f.result_code, e.errtext from " +
                t + ".file_ea21 f join " + t +
                ".member_user member_user on f.user_no=member_user.member_inx "
                "left join quorisdex.error_code e on e.code=f.result_code where f.reg_date=?" +
                members + which + " order by f.seq_num",
            params);
        for (std::size_t i = 0; i < rs.size(); ++i) {
            const auto r = rs[i];
            const long long amount = r.asInt(5), part = r.asInt(7);
            const std::string result = r[std::size_t{6}];
            long long withdrawn = amount, rest = 0;
            std::string error;
            if (result == "P") {
                withdrawn = part;
                rest = amount - part;
                error = kPartialWithdrawalText;
            } else if (result == "N") {
                withdrawn = 0;
                rest = amount;
                error = r[std::size_t{9}].empty() ? std::string(kUnknownWithdrawalErrorText)
                                                  : r[std::size_t{9}];
            }
            out.rows.push_back({PadPayerNumber(r[std::size_t{0}], 10), r[std::size_t{1}],
                                r[std::size_t{2}], r[std::size_t{3}], r[std::size_t{4}],
                                Amount(amount), Amount(withdrawn), Amount(rest), error});
        }
        return out;
    }
    const char* which = show == DetailShow::kWithdrawn ? " and d.result<>'N'"
                        : show == DetailShow::kFailed  ? " and d.result='N'"
                                                       : "";
    out.columns = {{"납부자번호", 1200, kAlignCentre}, {"고객명", 1200, kAlignLeft},
                   {"카드소유자", 1200, kAlignLeft},   {"출금취소구분", 1100, kAlignCentre},
                   {"요청금액", 1300, kAlignRight},    {"출금액", 1300, kAlignRight},
                   {"미출금액", 1300, kAlignRight},    {"수수료", 1100, kAlignRight},
                   {"오류내역", 2400, kAlignLeft}};
    const Recordset rs = db.OpenRecordset(
        "select d.user_no, member_user.username, d.account_name, d.purchase_kind, d.amount, "
        "d.result, d.rp_err from " +
            t + ".cdpay_detail d join " + t +
            ".member_user member_user on d.user_no=member_user.member_inx where d.reg_date=?" +
            members + which + " order by d.seq_num, d.cdp_inx",
        params);
    for (std::size_t i = 0; i < rs.size(); ++i) {
        const auto r = rs[i];
        const bool purchase = r[std::size_t{3}] == "0";
        const bool ok = r[std::size_t{5}].empty();
        const long long amount = r.asInt(4);
        const long long fee =
            purchase && ok ? HundredthsToWon(CardPurchaseFeeHundredths(amount)) : 0;
        out.rows.push_back({PadPayerNumber(r[std::size_t{0}], 10), r[std::size_t{1}],
                            r[std::size_t{2}], purchase ? "출금" : "출금취소", Amount(amount),
                            Amount(ok ? amount : 0), Amount(ok ? 0 : amount), Amount(fee),
                            r[std::size_t{6}]});
    }
    return out;
}

}  // namespace qx
