#include "members/cms_code.h"

#include "core/session_context.h"
#include "db/database.h"
#include "db/work_tables.h"
#include "members/member_record.h"
#include "members/member_rules.h"
#include "platform/interaction.h"
#include "platform/text_checks.h"
#include "platform/trim.h"

namespace qx {

namespace {

constexpr int kMemberLog = 3;

}  // namespace

std::string CmsCodeLengthText(int length) {
    return "신청한 납부자번호체계 자릿수(" + std::to_string(length) + " 자리)와 맞지 않습니다.";
}

std::string LoadCmsCode(Database& db, const SessionContext& s, long long memberInx) {
    if (s.cmsinx_style == "N-10") return {};
    EnsurePayerNumberTable(db, s.institution_number);
    const Recordset rs = db.OpenRecordset("select cl_cmsinx from " + s.schema() +
                                              ".cmsinx_list where cl_meminx=? order by cl_inx "
                                              "limit 1",
                                          {memberInx});
    return rs.empty() ? std::string() : rs[0][0];
}

bool ChangeCmsCode(Database& db, const SessionContext& s, Interaction& ui, long long memberInx,
                   const std::string& typed) {
    if (s.cmsinx_style == "N-10") {
        ui.inform(kCmsCodeNotUsedText, kDefaultTitle);
        return false;
    }
    const auto member = LoadMember(db, s, memberInx);
    if (!member) {
        ui.inform(kMemberNotFoundText, kDefaultTitle);
        return false;
    }
    const std::string code = Trim(typed);
    // The code is written into fixed-width CMS files and read back from the
    // results: only single-byte letters and digits keep its width exact.
    if (!IsAlphaNumeric(code)) {
        ui.inform(kCmsCodeCharactersText, kDefaultTitle);
        return false;
    }
    if (static_cast<int>(code.size()) != s.payer_number_length) {
        ui.inform(CmsCodeLengthText(s.payer_number_length), kDefaultTitle);
        return false;
    }
    const std::string table = s.schema() + ".cmsinx_list";
    EnsurePayerNumberTable(db, s.institution_number);
    // A result file names the member by this code; two members holding one
    // code would have one member's result booked on the other.
    if (db.scalarInt("select count(*) from " + table + " where cl_cmsinx=? and cl_meminx<>?",
                     {code, memberInx}) > 0) {
        ui.inform(kCmsCodeTakenText, kDefaultTitle);
        return false;
    }
    const std::string before = LoadCmsCode(db, s, memberInx);
    if (before == code) return true;
    if (!ui.confirm(kCmsCodeQuestionText, kDefaultTitle)) return false;

    Database::Transaction tx(db);
    if (db.ExecuteSql("update " + table + " set cl_cmsinx=? where cl_meminx=?",
                      {code, memberInx}) == 0) {
        db.ExecuteSql("insert into " + table + " (cl_meminx, cl_cmsinx) values (?,?)",
                      {memberInx, code});
    }
    db.WriteProcessLog(
        " (" + TenDigits(memberInx) + ") 중요정보변경 CMS코드(" + before + ">" + code + "), ",
        kMemberLog);
    tx.commit();
    ui.inform(kSavedText, kDefaultTitle);
    return true;
}

}  // namespace qx
