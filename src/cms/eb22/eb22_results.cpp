#include "cms/eb22/eb22_results.h"

#include "db/database.h"
#include "db/sql_quote.h"
#include "ledger/fees.h"
#include "ledger/server_scripts.h"
#include "platform/text_checks.h"

namespace qx {

namespace {

// The amount a request of file_ea21 `f` brought in.
constexpr const char* kWithdrawnSql = "if(f.result='P',f.div_amount,if(f.result='',f.amount,0))";

}  // namespace

std::string ApplyEb22Results(Database& db, long long inx, const std::string& yymmdd,
                             const std::string& saveday) {
    if (yymmdd.size() != 6 || !IsAllDigits(yymmdd)) return "잘못된 파일일자";
    if (!ScriptDate(saveday)) return "잘못된 처리일자";
    const std::string s = InstitutionSchema(inx);
    const std::string filename = "EB21" + yymmdd;
    const std::string w = kWithdrawnSql;

    Database::Transaction tx(db);
    // The claim: of two requests for one file only the first finds it at '9';
    // a repeated request books nothing.
    const long long claimed = db.scalarInt(
        "select ea21_inx from " + s + ".ea21 where filename=? and pross_stat='9' for update",
        {filename});
    if (claimed < 1 || db.ExecuteSql("update " + s +
                                         ".ea21 set pross_stat='1' where ea21_inx=? and "
                                         "pross_stat='9'",
                                     {claimed}) != 1) {
        return "[" + filename + "] 적용 대기중인 파일이 아닙니다.";
    }
    // The staged results checked in one pass: every one answers a request of
    // the file, every request has one, partial amounts lie within the
    // request, and money taken belongs to a member.
    const Recordset check = db.OpenRecordset(
        "select (select count(*) from " + s + ".file_ea21_run), (select count(*) from " + s +
            ".file_ea21 where reg_date=?), count(*), coalesce(sum(r.result not in ('','N','P') "
            "or (r.result='P' and (r.div_amount<1 or r.div_amount>f.amount))),0), "
            "coalesce(sum(r.result<>'N' and m.member_inx is null),0) from " +
            s + ".file_ea21_run r join " + s +
            ".file_ea21 f on f.seq_num=r.seq_num and f.reg_date=? left join " + s +
            ".member_user m on m.member_inx=f.user_no",
        {yymmdd, yymmdd});
    const auto row = check[0];
    const long long staged = row.asInt(std::size_t{0}), requests = row.asInt(1),
                    matched = row.asInt(2), badResults = row.asInt(3), orphans = row.asInt(4);
    if (staged > matched) {
        return "[" + filename + "] 파일에 없는 일련번호의 결과가 " +
               std::to_string(staged - matched) + "건 있습니다.";
    }
    // A request without its result cannot be booked either way.
    if (requests > matched) {
        return "[" + filename + "] 결과가 없는 출금의뢰가 " + std::to_string(requests - matched) +
               "건 있습니다.";
    }
    if (badResults > 0) {
        return "[" + filename + "] 잘못된 출금결과가 " + std::to_string(badResults) +
               "건 있습니다.";
    }
    if (orphans > 0) {
        return "[" + filename + "] 회원이 없는 출금내역이 " + std::to_string(orphans) +
               "건 있습니다.";
    }

    // Only a failed result looks its code up: most rows are withdrawn, and
    // the lookup per row costs as much as the rest of the update.
    db.ExecuteSql("update " + s + ".file_ea21 f join " + s +
                      ".file_ea21_run r on r.seq_num=f.seq_num left join quorisdex.error_code e "
                      "on r.result='N' and e.code=r.result_code set f.result=r.result, "
                      "f.result_code=r.result_code, f.div_amount=if(r.result='P',r.div_amount,0), "
                      "f.rp_err=case r.result when 'N' then left(coalesce(e.errtext,?),30) "
                      "when 'P' then ? else '' end where f.reg_date=?",
                  {kUnknownWithdrawalErrorText, kPartialWithdrawalText, yymmdd});
    // One collection per request that brought money in; the outstanding
    // amount runs across a member's requests in serial order.
    db.ExecuteSql(
        "insert into " + s +
            ".pay_pross (userlink_inx, userbrlink_inx, input_pay, pros_nonpayment, paystat, "
            "settle_code, settle_title, signdate, memo, regdate, pay_prossag, item_name, "
            "item_stan, item_cnt, addmuskey, addkey) "
            "select f.user_no, m.branch_inx, " +
            w + ", m.pay_nonpayment - sum(" + w +
            ") over (partition by f.user_no order by f.seq_num rows between unbounded "
            "preceding and current row), '1', 1, ?, ?, '', unix_timestamp(sysdate()), "
            "if(m.account_divide='3',m.pay_prossagreement + sum(" +
            w +
            ") over (partition by f.user_no order by f.seq_num rows between unbounded "
            "preceding and current row),0), '', '', 1, 0, 0 from " +
            s + ".file_ea21 f join " + s +
            ".member_user m on m.member_inx=f.user_no where f.reg_date=? and " + w +
            ">0 order by f.seq_num",
        {kCmsCollectionTitle, saveday, yymmdd});
    // The members in one pass: totals of what was taken, and for members
    // waiting for this file (6) the state: failed (8, the code's text) when
    // any of their requests failed, else withdrawn (7, "부분출금" when only
    // partly). cms_error is assigned before cms_status, so that it still
    // sees the state the member had.
    db.ExecuteSql(
        "update " + s + ".member_user m join (select f.user_no, sum(" + w +
            ") amount, max(if(f.result='N',f.seq_num,0)) failed, max(f.result='P') partial "
            "from " +
            s +
            ".file_ea21 f where f.reg_date=? group by f.user_no) got on "
            "m.member_inx=got.user_no left join " +
            s +
            ".file_ea21 fe on got.failed>0 and fe.reg_date=? and fe.seq_num=got.failed "
            "set m.pay_nonpayment=m.pay_nonpayment-got.amount, "
            "m.total_payment=m.total_payment+got.amount, "
            "m.pay_prossagreement=if(m.account_divide='3',m.pay_prossagreement+got.amount,0), "
            "m.cms_error=if(m.cms_status='6',if(got.failed>0,fe.rp_err,if(got.partial,?,'')),"
            "m.cms_error), "
            "m.cms_status=if(m.cms_status='6',if(got.failed>0,'8','7'),m.cms_status)",
        {yymmdd, yymmdd, kPartialWithdrawalText});
    const std::string charged =
        "f.result='N' and f.result_code not in (" + UnchargedFailureCodesSql() + ")";
    db.ExecuteSql("update " + s + ".ea21 e join (select sum(" + w + ") ok, sum(f.amount-(" + w +
                      ")) notok, sum(f.result<>'N') okcnt, sum(" + charged + ") charged from " + s +
                      ".file_ea21 f where f.reg_date=?) t set e.rtnok_money=coalesce(t.ok,0), "
                      "e.rtnfalse_money=coalesce(t.notok,0), "
                      "e.ok_commission=e.ok_commission*coalesce(t.okcnt,0), "
                      "e.false_commission=e.false_commission*coalesce(t.charged,0) "
                      "where e.ea21_inx=?",
                  {yymmdd, claimed});
    db.ExecuteSql("delete from " + s + ".file_ea21_run");
    tx.commit();
    return kScriptDoneReply;
}

}  // namespace qx
