#include "cms/eb14/eb13_detail.h"

#include <cstring>

#include "core/session_context.h"
#include "db/database.h"
#include "members/member_record.h"
#include "members/member_rules.h"
#include "platform/trim.h"

namespace qx {

namespace {

std::string FilterCondition(Eb13DetailFilter filter) {
    switch (filter) {
        case Eb13DetailFilter::Open:
            return " and f.result=''";
        case Eb13DetailFilter::Refused:
            return " and f.result='N'";
        case Eb13DetailFilter::All:
            break;
    }
    return {};
}

std::string CertificateKindText(const std::string& kind) {
    if (kind == "1") return "휴대전화";
    if (kind == "2") return "FAX";
    if (kind == "3") return "동의서";
    if (kind == "4") return "해당없음";
    return "미선택";
}

std::string CertificateResultText(const std::string& result) {
    if (result == "Y") return "성공";
    if (result == "I") return "처리중";
    if (result == "F") return "실패";
    if (result == "Z") return "반려";
    if (result == "P") return "해당없음";
    return "";
}

Eb13Detail Run(Database& db, const SessionContext& s, const std::string& where,
               const SqlParams& params, bool withFileName) {
    const bool relay = s.cmsrunprg == 2;
    const bool full = MayShowFullHolderNumbers(db, s);
    // The bank of the account the file carried, like the account number
    // beside it (the member may have changed banks since).
    std::string bank = s.case_sql.bank_name.empty() ? "''" : s.case_sql.bank_name;
    for (std::size_t at; (at = bank.find("member_user.bank_code")) != std::string::npos;)
        bank.replace(at, std::strlen("member_user.bank_code"), "f.bank_code");
    const Recordset rs = db.OpenRecordset(
        "select f.reg_date, member_user.username, member_user.client_company, f.reg_kind, "
        "f.user_no, member_user.ext_key, " +
            bank +
            " bank_name, f.account_no, f.id_no, f.result_code, coalesce(e.errtext,'') errtext, "
            "f.account_name, f.rp_err, f.certifi_kind, f.user_phone, f.certifi_result, "
            "f.certifi_errmsg from " +
            InstitutionSchema(s.institution_number) + ".file_ea13 f left join " +
            InstitutionSchema(s.institution_number) +
            ".member_user on f.user_no=member_user.member_inx left join quorisdex.error_code e "
            "on f.result_code=e.code where " +
            where + " order by f.reg_date desc, f.seq_num desc",
        params);
    Eb13Detail d;
    if (withFileName) d.columns.push_back("파일명");
    for (const char* c : {"고객명", "상호", "처리", "납부자번호", "외부참조키", "은행명",
                          "계좌번호", "예금주번호", "처리상태", "예금주명"})
        d.columns.push_back(c);
    if (relay)
        for (const char* c : {"회원인증방법", "계좌주휴대폰", "인증결과", "인증결과메시지"})
            d.columns.push_back(c);
    for (std::size_t i = 0; i < rs.size(); ++i) {
        const auto r = rs[i];
        std::vector<std::string> row;
        if (withFileName) row.push_back("EB13" + r["reg_date"]);
        const std::string state =
            relay ? r["rp_err"] : (r["result_code"].empty() ? std::string() : r["errtext"]);
        for (const std::string& v :
             {r["username"], r["client_company"],
              std::string(r["reg_kind"] == "1" ? "신규" : "해지"), r["user_no"], r["ext_key"],
              r["bank_name"], r["account_no"], MaskedHolderNumber(r["id_no"], full), state,
              r["account_name"]})
            row.push_back(v);
        if (relay) {
            row.push_back(CertificateKindText(r["certifi_kind"]));
            row.push_back(r["user_phone"]);
            row.push_back(CertificateResultText(r["certifi_result"]));
            row.push_back(r["certifi_errmsg"]);
        }
        d.rows.push_back(std::move(row));
    }
    return d;
}

}  // namespace

std::optional<Eb13DetailFilter> ParseEb13DetailFilter(const std::string& text) {
    if (text == "all") return Eb13DetailFilter::All;
    if (text == "open") return Eb13DetailFilter::Open;
    if (text == "refused") return Eb13DetailFilter::Refused;
    return std::nullopt;
}

Eb13Detail Eb13FileDetail(Database& db, const SessionContext& session, const std::string& filename,
                          Eb13DetailFilter filter) {
    const std::string yymmdd = filename.size() == 10 ? filename.substr(4) : std::string("-");
    Eb13Detail d = Run(db, session, "f.reg_date=?" + FilterCondition(filter), {yymmdd}, false);
    d.title = FileDetailTitle(filename);
    return d;
}

Eb13Detail Eb13SearchDetail(Database& db, const SessionContext& session, const CivilDate& from,
                            const CivilDate& to, const std::string& search,
                            Eb13DetailFilter filter) {
    const std::string key = Trim(search);
    const std::string s = InstitutionSchema(session.institution_number);
    return Run(
        db, session,
        "f.reg_date in (select mid(filename,5) from " + s +
            ".ea13 where from_unixtime(makedate,'%y-%m-%d') between ? and ?) and (f.user_no=? "
            "or f.account_no=? or f.id_no=? or member_user.ext_key=?)" +
            FilterCondition(filter),
        {FormatShortDate(from), FormatShortDate(to), key, key, key, key}, true);
}

}  // namespace qx
