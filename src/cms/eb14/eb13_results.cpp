#include "cms/eb14/eb13_results.h"

#include "db/database.h"
#include "platform/text_checks.h"

namespace qx {

std::string ApplyEb13Results(Database& db, long long inx, const std::string& yymmdd) {
    if (yymmdd.size() != 6 || !IsAllDigits(yymmdd)) return "잘못된 파일일자";
    const std::string s = InstitutionSchema(inx);
    const std::string filename = "EB13" + yymmdd;

    Database::Transaction tx(db);
    // The claim: of two requests for one file only the first finds it at '9'.
    if (db.ExecuteSql(
            "update " + s + ".ea13 set pross_stat='1' where filename=? and pross_stat='9'",
            {filename}) != 1) {
        return "[" + filename + "] 적용 대기중인 파일이 아닙니다.";
    }
    const long long strangers = db.scalarInt(
        "select count(*) from " + s + ".file_ea13_run r where not exists (select 1 from " + s +
            ".file_ea13 f where f.reg_date=? and f.seq_num=r.seq_num)",
        {yymmdd});
    if (strangers > 0) {
        return "[" + filename + "] 파일에 없는 일련번호의 결과가 " + std::to_string(strangers) +
               "건 있습니다.";
    }

    db.ExecuteSql(
        "update " + s + ".file_ea13 set result='', result_code='', rp_err='' where reg_date=?",
        {yymmdd});
    db.ExecuteSql("update " + s + ".file_ea13 f join " + s +
                      ".file_ea13_run r on r.seq_num=f.seq_num left join quorisdex.error_code e "
                      "on e.code=r.result_code set f.result='N', f.result_code=r.result_code, "
                      "f.rp_err=left(coalesce(e.errtext, ?),100) where f.reg_date=?",
                  {kUnknownResultCodeText, yymmdd});
    // Members of the file: accepted rows first, then the refusals with their text.
    db.ExecuteSql("update " + s + ".member_user m join " + s +
                      ".file_ea13 f on f.user_no=m.member_inx set m.cms_status=if(f.reg_kind='1',"
                      "'3','13'), m.cms_error='' where f.reg_date=? and f.result=''",
                  {yymmdd});
    db.ExecuteSql("update " + s + ".member_user m join " + s +
                      ".file_ea13 f on f.user_no=m.member_inx left join quorisdex.error_code e "
                      "on e.code=f.result_code set m.cms_status=if(f.reg_kind='1','2','14'), "
                      "m.cms_error=left(coalesce(e.errtext, ?),250) where f.reg_date=? and "
                      "f.result='N'",
                  {kUnknownResultCodeText, yymmdd});
    db.ExecuteSql(
        "update " + s + ".ea13 set createok_cnt=(select count(*) from " + s +
            ".file_ea13 where reg_date=? and reg_kind='1' and result=''), deleteok_cnt=(select "
            "count(*) from " +
            s +
            ".file_ea13 where reg_date=? and reg_kind<>'1' and result=''), false_cnt=(select "
            "count(*) from " +
            s + ".file_ea13 where reg_date=? and result='N') where filename=?",
        {yymmdd, yymmdd, yymmdd, filename});
    db.ExecuteSql("delete from " + s + ".file_ea13_run");
    tx.commit();
    return {};
}

}  // namespace qx
