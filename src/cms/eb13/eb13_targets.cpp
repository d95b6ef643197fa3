#include "cms/eb13/eb13_targets.h"

#include "core/session_context.h"
#include "db/database.h"

namespace qx {

namespace {

constexpr const char* kPhoneOkSql =
    "(left(certificate_number,3) in ('010','011','016','017','018','019') and "
    "length(certificate_number) in (10,11))";

constexpr const char* kNewApplicationSql = "settle_accounts='1' and cms_status='0' and remove='1'";

void CleanMemberText(Database& db, const std::string& table) {
    const char* columns[] = {"username", "account_name", "account_no", "account_jumin",
                             "certificate_number"};
    std::string sets, where;
    for (const char* c : columns) {
        const std::string col = c;
        if (!sets.empty()) {
            sets += ",";
            where += " or ";
        }
        sets += col + "=replace(replace(replace(" + col + ",char(13),''),char(10),''),char(9),'')";
        where += "(instr(" + col + ",char(13))>0 or instr(" + col + ",char(10))>0 or instr(" + col +
                 ",char(9))>0)";
    }
    db.ExecuteSql("update " + table + " set " + sets + " where " + where);
}

// Codes and numbers written into numeric fields of the file: lengths are
// counted in bytes (a full-width digit or a Hangul letter is more than one),
// and only ASCII digits pass.
constexpr const char* kBadBankCodeSql =
    "(length(coalesce(bank_code,'')) <> 7 or coalesce(bank_code,'') not regexp '^[0-9]+$')";
constexpr const char* kNonDigitHolderSql = "account_jumin regexp '[^0-9]'";

void MarkUnrequestable(Database& db, const std::string& table, int cmsrunprg) {
    auto mark = [&](const std::string& error, const std::string& condition) {
        db.ExecuteSql("update " + table + " set cms_status=2, cms_error=? where " +
                          kNewApplicationSql + " and " + condition,
                      {error});
    };
    if (cmsrunprg == 2) {
        mark("계좌주휴대폰오류", std::string("certificate_kind='1' and not ") + kPhoneOkSql);
    }
    mark("은행코드오류", kBadBankCodeSql);
    const std::string holder = cmsrunprg == 2 ? std::string(
                                                    "(length(account_jumin) not in (6,10) or "
                                                    "length(account_no) < 7 or ") +
                                                    kNonDigitHolderSql + ")"
                                              : std::string(kNonDigitHolderSql);
    mark("계좌자릿수오류 또는 예금주번호오류", holder);
}

}  // namespace

void MarkUnrequestableMembers(Database& db, const SessionContext& s) {
    MarkUnrequestable(db, s.schema() + ".member_user", s.cmsrunprg);
}

std::string Eb13TargetCondition(const SessionContext& s) {
    std::string where = "settle_accounts='1' and ";
    if (s.cmsrunprg == 2) {
        where +=
            "((cms_status in ('0','11') and remove in ('1','2')) or "
            "(remove='4' and cms_status='15')) "
            "and (remove in ('2','4') or length(account_jumin) in (6,10)) "
            "and length(account_no) >= 8 and ((certificate_kind='1' and (remove='2' or " +
            std::string(kPhoneOkSql) + ")) or ";
        where += s.account_phone_switch
                     ? "(remove='1' and certificate_kind in ('2','3','4')) or "
                       "(remove in ('2','4') and certificate_kind in ('2','3','4','')))"
                     : "certificate_kind in ('2','3','4',''))";
    } else {
        where +=
            "((cms_status in ('0','11') and remove in ('1','2')) or "
            "(remove='4' and cms_status in ('3','7','8','11','15')))";
    }
    if (s.agreement_evidence_switch) {
        where += " and (cms_status<>'0' or (cms_status='0' and cms_agree_status in ('2','3')))";
    }
    return where;
}

std::string Eb13Target::certificateMethod() const {
    if (certificate_kind == "1") return "휴대전화";
    if (certificate_kind == "2") return "FAX";
    if (certificate_kind == "3") return "동의서";
    if (certificate_kind == "4") return "해당없음";
    return "미선택";
}

std::string Eb13Target::contactNumber() const {
    return certificate_kind == "1" ? certificate_number : std::string();
}

std::vector<StatusColumn> Eb13GridColumns(const SessionContext& s) {
    std::vector<StatusColumn> c = {{"고객명", 1400},     {"상호", 1400},     {"이체예정일", 1200},
                                   {"은행명", 1400},     {"계좌번호", 1600}, {"예금주명", 1400},
                                   {"예금주번호", 1400}, {"신청구분", 700},  {"납부자번호", 1200},
                                   {"CMS에러", 3000},    {"등록일자", 1200}};
    if (s.cmsrunprg == 2) {
        c.push_back({"회원인증방법", 1300});
        c.push_back({"회원연락처", 1200});
    }
    return c;
}

std::string Eb13GridCell(const Eb13Target& t, std::size_t column) {
    switch (column) {
        case 0:
            return t.username;
        case 1:
            return t.client_company;
        case 2:
            return t.payday;
        case 3:
            return t.bank_name;
        case 4:
            return t.account_no;
        case 5:
            return t.account_name;
        case 6:
            return t.account_jumin;
        case 7:
            return t.request_kind;
        case 8:
            return t.payer_number;
        case 9:
            return t.cms_error;
        case 10:
            return t.signdate;
        case 11:
            return t.certificateMethod();
        case 12:
            return t.contactNumber();
    }
    return {};
}

std::vector<std::string> Eb13GridCells(const Eb13Target& t, const SessionContext& s) {
    std::vector<std::string> cells;
    const std::size_t columns = Eb13GridColumns(s).size();
    for (std::size_t c = 0; c < columns; ++c) cells.push_back(Eb13GridCell(t, c));
    return cells;
}

long long CountEb13Targets(Database& db, const SessionContext& s) {
    return db.scalarInt("select count(*) from " + s.schema() + ".member_user where " +
                        Eb13TargetCondition(s));
}

std::vector<Eb13Target> SearchEb13Targets(Database& db, const SessionContext& s) {
    const std::string table = s.schema() + ".member_user";
    CleanMemberText(db, table);
    MarkUnrequestable(db, table, s.cmsrunprg);
    const std::string bankName =
        s.case_sql.bank_name.empty() ? std::string("''") : s.case_sql.bank_name;
    auto rs = db.OpenRecordset(
        "select member_inx, username, client_company, payday, " + bankName +
        " bank_name, account_no, account_name, account_jumin, "
        "if(remove='1','신규','해지') request_kind, "
        "right(concat('0000000000',member_inx),10) payer_number, "
        "if(cms_status='2',cms_error,'') cms_error, "
        "date_format(from_unixtime(signdate),'%Y-%m-%d') signdate, "
        "concat(left(bank_code,3),'0000') bank_code, cms_status, certificate_kind, "
        "certificate_number from " +
        table + " member_user where " + Eb13TargetCondition(s) +
        " order by if(remove='1',0,1), member_inx");
    std::vector<Eb13Target> out;
    out.reserve(rs.size());
    for (std::size_t i = 0; i < rs.size(); ++i) {
        const auto& v = rs.values[i];
        Eb13Target t;
        t.member_inx = std::stoll(v[0]);
        t.username = v[1];
        t.client_company = v[2];
        t.payday = v[3];
        t.bank_name = v[4];
        t.account_no = v[5];
        t.account_name = v[6];
        t.account_jumin = v[7];
        t.request_kind = v[8];
        t.payer_number = v[9];
        t.cms_error = v[10];
        t.signdate = v[11];
        t.bank_code = v[12];
        t.cms_status = v[13];
        t.certificate_kind = v[14];
        t.certificate_number = v[15];
        out.push_back(std::move(t));
    }
    return out;
}

}  // namespace qx
