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
    // The staged results as a whole: every one answers a request of the file
    // and every request has one (the update below reports the requests it
    // matched), and each is a known result.
    const Recordset check = db.OpenRecordset(
        "select (select count(*) from " + s + ".file_ea21_run), count(*), " +
            "count(distinct user_no), (select count(*) from " + s + ".file_ea21_run where " +
            "result not in ('','N','P') or (result='P' and div_amount<1)) from " + s +
            ".file_ea21 where reg_date=?",
        {yymmdd});
    const long long staged = check[0].asInt(std::size_t{0}), requests = check[0].asInt(1),
                    members = check[0].asInt(2), unknownResults = check[0].asInt(3);
    const long long matched = db.ExecuteSql(
        "update " + s + ".file_ea21 f join " + s +
            ".file_ea21_run r on r.seq_num=f.seq_num set f.result=r.result, "
            "f.result_code=r.result_code, f.div_amount=if(r.result='P',r.div_amount,0), "
            "f.rp_err=if(r.result in ('N','P'),f.rp_err,'') where f.reg_date=?",
        {yymmdd});
    // The texts of the few results that need one, found from the staged
    // results: looking the code up on every row cost half as much again as
    // the update above.
    db.ExecuteSql("update " + s + ".file_ea21_run r straight_join " + s +
                      ".file_ea21 f on f.reg_date=? and f.seq_num=r.seq_num left join "
                      "quorisdex.error_code e on r.result='N' and e.code=r.result_code set "
                      "f.rp_err=if(r.result='N',left(coalesce(e.errtext,?),30),?) where "
                      "r.result in ('N','P')",
                  {yymmdd, kUnknownWithdrawalErrorText, kPartialWithdrawalText});
    if (staged > matched) {
        return "[" + filename + "] 파일에 없는 일련번호의 결과가 " +
               std::to_string(staged - matched) + "건 있습니다.";
    }
    // A request without its result cannot be booked either way.
    if (requests > matched) {
        return "[" + filename + "] 결과가 없는 출금의뢰가 " + std::to_string(requests - matched) +
               "건 있습니다.";
    }
    const auto badResults = [&](long long n) {
        return "[" + filename + "] 잘못된 출금결과가 " + std::to_string(n) + "건 있습니다.";
    };
    if (unknownResults > 0) return badResults(unknownResults);

    // One collection per request that brought money in; the outstanding
    // amount runs across a member's requests in serial order.
    const long long booked = db.ExecuteSql(
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
    // The members waiting for this file (6) get the text of their latest
    // failed request, else "부분출금" when only partly withdrawn, else none.
    // Only the members whose text changes are written: naming the long text
    // column in the update of every member doubled its cost.
    db.ExecuteSql("update " + s +
                      ".member_user m join (select f.user_no, max(if(f.result='N',"
                      "concat(lpad(f.seq_num,10,'0'),f.rp_err),'')) failed from " +
                      s +
                      ".file_ea21 f where f.reg_date=? and f.result in ('N','P') group by "
                      "f.user_no) got on m.member_inx=got.user_no set "
                      "m.cms_error=if(got.failed<>'',substr(got.failed,11),?) where "
                      "m.cms_status='6'",
                  {yymmdd, kPartialWithdrawalText});
    // A text left from an earlier month goes when everything was withdrawn.
    db.ExecuteSql("update " + s +
                      ".member_user m set m.cms_error='' where m.cms_status='6' and "
                      "not (cast(m.cms_error as binary) <=> '') and exists (select 1 from " +
                      s +
                      ".file_ea21 f where f.user_no=m.member_inx and f.reg_date=?) and not "
                      "exists (select 1 from " +
                      s +
                      ".file_ea21 f where f.user_no=m.member_inx and f.reg_date=? and "
                      "f.result in ('N','P'))",
                  {yymmdd, yymmdd});
    // Then their amounts, and the state: failed (8) when any of their
    // requests failed, else withdrawn (7). A member with two requests in the
    // file needs their sums; when no one has two, the requests themselves
    // serve, which costs a third less.
    const bool oneEach = members == requests;
    const std::string amount = oneEach ? w : "got.amount";
    const std::string failed = oneEach ? "f.result='N'" : "got.failed";
    db.ExecuteSql(
        "update " + s + ".member_user m join " +
            (oneEach
                 ? s + ".file_ea21 f on f.reg_date=? and f.user_no=m.member_inx"
                 : "(select f.user_no, sum(" + w + ") amount, max(f.result='N') failed from " + s +
                       ".file_ea21 f where f.reg_date=? group by f.user_no) got on "
                       "got.user_no=m.member_inx") +
            " set m.pay_nonpayment=m.pay_nonpayment-" + amount +
            ", m.total_payment=m.total_payment+" + amount +
            ", m.pay_prossagreement=if(m.account_divide='3',m.pay_prossagreement+" + amount +
            ",0), m.cms_status=if(m.cms_status='6',if(" + failed + ",'8','7'),m.cms_status)",
        {yymmdd});
    // The file's totals in one pass over its requests; they also tell
    // whether a partial amount exceeded its request and whether money was
    // taken for a member who is gone (no collection could be booked for it).
    const std::string charged =
        "f.result='N' and f.result_code not in (" + UnchargedFailureCodesSql() + ")";
    const Recordset totals = db.OpenRecordset(
        "select coalesce(sum(" + w + "),0), coalesce(sum(f.amount-(" + w +
            ")),0), coalesce(sum(f.result<>'N'),0), coalesce(sum(" + charged +
            "),0), coalesce(sum(f.result='P' and f.div_amount>f.amount),0), coalesce(sum(" + w +
            ">0),0) from " + s + ".file_ea21 f where f.reg_date=?",
        {yymmdd});
    const auto t = totals[0];
    if (const long long over = t.asInt(4); over > 0) return badResults(over);
    if (const long long paying = t.asInt(5); booked != paying) {
        return "[" + filename + "] 회원이 없는 출금내역이 " + std::to_string(paying - booked) +
               "건 있습니다.";
    }
    db.ExecuteSql("update " + s +
                      ".ea21 set rtnok_money=?, rtnfalse_money=?, ok_commission=ok_commission*?, "
                      "false_commission=false_commission*? where ea21_inx=?",
                  {t.asInt(std::size_t{0}), t.asInt(1), t.asInt(2), t.asInt(3), claimed});
    db.ExecuteSql("delete from " + s + ".file_ea21_run");
    tx.commit();
    return kScriptDoneReply;
}

}  // namespace qx
