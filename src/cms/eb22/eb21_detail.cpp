#include "cms/eb22/eb21_detail.h"

#include "core/session_context.h"
#include "db/database.h"
#include "members/member_record.h"
#include "members/member_rules.h"
#include "platform/amount_text.h"
#include "platform/text_checks.h"
#include "platform/trim.h"

namespace qx {

namespace {

std::string FilterCondition(Eb21DetailFilter filter) {
    switch (filter) {
        case Eb21DetailFilter::Open:
            return " and f.result=''";
        case Eb21DetailFilter::Failed:
            return " and f.result='N'";
        case Eb21DetailFilter::Partial:
            return " and f.result='P'";
        case Eb21DetailFilter::All:
            break;
    }
    return {};
}

// The rows of a payer number, account number, holder number or external key.
std::string SearchCondition(const std::string& key, SqlParams& params) {
    if (key.empty()) return {};
    for (int i = 0; i < 4; ++i) params.push_back(key);
    return " and (f.user_no=? or f.account_no=? or f.id_no=? or member_user.ext_key=?)";
}

FileDetail Run(Database& db, const SessionContext& s, const std::string& where,
               const SqlParams& params, bool withFileName) {
    const bool full = MayShowFullHolderNumbers(db, s);
    const std::string schema = s.schema();
    // Withdrawn and not withdrawn by the result: '' in full, 'N' nothing, 'P'
    // the amount the result record carries.
    const Recordset rs = db.OpenRecordset(
        "select f.reg_date, member_user.username, member_user.ext_key, "
        "member_user.client_company, member_user.client_manager, member_user.account_name, "
        "f.amount, case f.result when 'P' then f.div_amount when 'N' then 0 else f.amount end "
        "withdrawn, case f.result when 'P' then f.amount-f.div_amount when 'N' then f.amount "
        "else 0 end refused, case f.result when 'P' then ? when 'N' then coalesce(e.errtext, ?) "
        "else '' end errtext, f.user_no, f.bank_code, f.account_no, f.id_no, f.title, "
        "f.cash_rcpt_info, coalesce(ea21.pross_stat,'') pross_stat from " +
            schema + ".file_ea21 f left join " + schema +
            ".member_user on f.user_no=member_user.member_inx left join quorisdex.error_code e on "
            "f.result_code=e.code left join " +
            schema + ".ea21 on ea21.filename=concat('EB21',f.reg_date) where " + where +
            " order by f.reg_date desc, f.seq_num desc",
        [&] {
            SqlParams p = {kPartialWithdrawalText, kUnknownWithdrawalErrorText};
            p.insert(p.end(), params.begin(), params.end());
            return p;
        }());
    FileDetail d;
    if (withFileName) d.columns.push_back("파일명");
    for (const char* c : {"고객명", "외부참조키", "상호", "담당자", "예금주명", "청구금액",
                          "출금액", "불능금액", "오류내역", "납부자번호", "은행코드", "계좌번호",
                          "예금주번호", "통장기장내역", "현금영수발행정보"})
        d.columns.push_back(c);
    for (std::size_t i = 0; i < rs.size(); ++i) {
        const auto r = rs[i];
        // Before the result is applied a blank result means "not answered":
        // nothing is shown as withdrawn.
        const bool applied = r["pross_stat"] == "1";
        std::vector<std::string> row;
        if (withFileName) row.push_back("EB21" + r["reg_date"]);
        for (const std::string& v :
             {r["username"], r["ext_key"], r["client_company"], r["client_manager"],
              r["account_name"], FormatAmount(r.asInt("amount")),
              applied ? FormatAmount(r.asInt("withdrawn")) : std::string(),
              applied ? FormatAmount(r.asInt("refused")) : std::string(),
              applied ? r["errtext"] : std::string(), TenDigits(r.asInt("user_no")), r["bank_code"],
              r["account_no"], MaskedHolderNumber(r["id_no"], full), r["title"],
              r["cash_rcpt_info"]})
            row.push_back(v);
        d.rows.push_back(std::move(row));
    }
    return d;
}

}  // namespace

std::optional<Eb21DetailFilter> ParseEb21DetailFilter(const std::string& text) {
    if (text == "all") return Eb21DetailFilter::All;
    if (text == "open") return Eb21DetailFilter::Open;
    if (text == "failed") return Eb21DetailFilter::Failed;
    if (text == "partial") return Eb21DetailFilter::Partial;
    return std::nullopt;
}

FileDetail Eb21FileDetail(Database& db, const SessionContext& session, const std::string& filename,
                          Eb21DetailFilter filter, const std::string& search) {
    // A name of another shape matches no row.
    const std::string yymmdd =
        filename.size() == 10 && filename.rfind("EB21", 0) == 0 && IsAllDigits(filename.substr(4))
            ? filename.substr(4)
            : std::string("-");
    SqlParams params = {yymmdd};
    const std::string where =
        "f.reg_date=?" + FilterCondition(filter) + SearchCondition(Trim(search), params);
    FileDetail d = Run(db, session, where, params, false);
    d.title = FileDetailTitle(filename);
    return d;
}

FileDetail Eb21SearchDetail(Database& db, const SessionContext& session, const CivilDate& from,
                            const CivilDate& to, const std::string& search,
                            Eb21DetailFilter filter) {
    const std::string key = Trim(search);
    SqlParams params = {FormatShortDate(from), FormatShortDate(to)};
    std::string where = "f.reg_date in (select mid(filename,5) from " + session.schema() +
                        ".ea21 where from_unixtime(makedate,'%y-%m-%d') between ? and ?)" +
                        FilterCondition(filter);
    // An empty search finds nothing rather than every request of the period.
    where += key.empty() ? " and 0=1" : SearchCondition(key, params);
    return Run(db, session, where, params, true);
}

}  // namespace qx
