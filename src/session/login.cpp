#include "session/login.h"

#include <cctype>

#include "core/session_context.h"
#include "db/database.h"
#include "db/work_tables.h"
#include "platform/http.h"
#include "platform/text_checks.h"
#include "platform/trim.h"

namespace qx {

namespace {

long long ToInt(const std::string& s) {
    try {
        return std::stoll(Trim(s));
    } catch (...) {
        return 0;
    }
}

// Columns every role reads from the head office's row.
const char* kHeadOfficeColumns =
    "admin_company.id head_id, admin_company.usetag head_usetag, admin_company.inx, "
    "admin_company.company head_company, admin_company.org_code, admin_company.stat_company, "
    "admin_company.branch_name, admin_company.monthdivide, admin_company.cmsrunprg, "
    "admin_company.company_number, mid(admin_company.cms_set,15,1) prgset6, "
    "mid(admin_company.cms_set,10,2) prgset9, admin_company.bank_receipt, "
    "admin_company.vir_prgcre, admin_company.giro_account, admin_company.phn_account, "
    "rpad(left(trim(admin_company.add_info6),8),8,' ') add_in_code, "
    "admin_company.month_max head_month_max, admin_company.TOLVEX_abled, "
    "admin_company.credit_id, admin_company.credit_pw, admin_company.credit_bank_code, "
    "admin_company.credit_account, admin_company.credit_month_out_limit, "
    "admin_company.alter_db_structure, admin_company.cash_receipt_use, admin_company.ei_date, "
    "admin_company.acntphn_use, admin_company.cmsinx_style, admin_company.fast_sel_use, "
    "admin_company.installment_chk_use, "
    "(concat(admin_company.ei_date,'12') <= date_format(now() + interval 1 day,'%y%m%d%H')) "
    "ei_due";

void FillFromHeadOffice(SessionContext& s, const Recordset::Row& r) {
    s.head_office_id = r["head_id"];
    s.inx = Trim(r["inx"]);
    s.institution_number = ToInt(s.inx);
    s.org_code = r["org_code"];
    std::string number = r["company_number"];
    std::erase(number, '-');
    s.company_number = number;
    s.stat_company = Trim(r["stat_company"]);
    s.cmsrunprg = static_cast<int>(ToInt(r["cmsrunprg"]));
    s.TOLVEX_abled = r["TOLVEX_abled"];
    s.alter_db_structure = static_cast<int>(ToInt(r["alter_db_structure"]));
    s.cash_receipt_use = r["cash_receipt_use"];
    s.cmsinx_style = Trim(r["cmsinx_style"]);
    s.fast_sel_use = r["fast_sel_use"];
    s.installment_chk_use = r["installment_chk_use"];
    s.giro_account = r["giro_account"];
    s.phn_account = r["phn_account"];
    s.credit_id = r["credit_id"];
    s.credit_pw = r["credit_pw"];
    s.credit_bank_code = r["credit_bank_code"];
    s.credit_account = r["credit_account"];
    s.credit_month_out_limit = r["credit_month_out_limit"];
    s.add_in_code = r["add_in_code"];
    s.account_phone_switch = r["acntphn_use"] == "Y";
    s.virtual_account_switch = Trim(r["vir_prgcre"]) != "0";
    s.month_divide_switch = r["monthdivide"] == "Y";
    const std::string p9 = r["prgset9"];
    s.prgset9 = (!p9.empty() && std::isdigit(static_cast<unsigned char>(p9[0]))) ? p9[0] - '0' : 0;
    s.prgstat[kItemsUnused] = r["prgset6"] == "1" ? 0 : 1;
    s.agreement_evidence_switch = r["ei_due"] == "1" || s.cmsrunprg == 2;
    s.payer_number_length = PayerNumberLength(s.cmsinx_style);
}

void PreparePayerNumberTable(Database& db, const SessionContext& s) {
    if (s.cmsinx_style != "N-10") EnsurePayerNumberTable(db, s.institution_number);
}

void RecordLogin(Database& db, const SessionContext& s, const std::string& id, int status) {
    const std::string ip = s.client_ip;
    auto found = db.OpenRecordset(
        "select sip_inx from quorisdex.saveip where login_db=? and login_id=? and login_ip=? "
        "order by sip_inx limit 1",
        {s.inx, id, ip});
    if (!found.empty()) {
        db.ExecuteSql(
            "UPDATE quorisdex.saveip set login_last_time=unix_timestamp(sysdate()),"
            "login_prg_ver=? where sip_inx=?",
            {s.ProgramVersion, found[0]["sip_inx"]});
    } else if (!ip.empty()) {
        db.ExecuteSql(
            "INSERT INTO quorisdex.saveip (`login_db`, `login_id`, `login_ip`, `login_company`, "
            "`login_begin_time`, `login_last_time`, `status`, `login_prg_ver`) VALUES "
            "(?,?,?,?,unix_timestamp(sysdate()),unix_timestamp(sysdate()),?,?)",
            {s.inx, id, ip, s.company, status, s.ProgramVersion});
    }
}

// A branch or agency desk works with its head office's settings, without an
// organisation code or bank receipt of its own; while the head office is
// still in test it may not log in. `status` is what the login record keeps.
int AcceptUnderHeadOffice(Database& db, SessionContext& s, const Recordset::Row& r, long long brinx,
                          long long aginx, const std::string& loginId, int status) {
    FillFromHeadOffice(s, r);
    s.brinx = brinx;
    s.aginx = aginx;
    s.LoginId = loginId;
    s.company = r["company"];
    s.org_code.clear();
    s.month_max = ToInt(r["month_max"]);
    s.bank_receipt_switch = false;
    PreparePayerNumberTable(db, s);
    if (s.stat_company != "1") return kLoginHeadOfficeInTest;
    RecordLogin(db, s, s.LoginId, status);
    return kLoginAccepted;
}

}  // namespace

LoginInputProblem CheckLoginInput(const std::string& id, const std::string& password) {
    if (id.empty()) return {LoginInputProblem::kId, "로그인 아이디를 입력하십시오."};
    if (!IsStorableText(id)) return {LoginInputProblem::kId, UnstorableTextMessage("아이디")};
    if (password.empty()) return {LoginInputProblem::kPassword, "로그인 비밀번호를 입력하십시오."};
    if (!IsStorableText(password)) {
        return {LoginInputProblem::kPassword, UnstorableTextMessage("비밀번호")};
    }
    return {};
}

std::string LoginRefusalMessage(int code) {
    switch (code) {
        case kLoginUnknownId:
            return "미등록된 아이디 입니다.";
        case kLoginWrongPassword:
            return "비밀번호가 일치 하지 않습니다.";
        case kLoginAccountDisabled:
            return "사용이 금지된 계정입니다.";
        case kLoginHeadOfficeUnusable:
            return "본사계정이 정지되었거나 사용할 수 없는 계정입니다.";
        case kLoginHeadOfficeInTest:
            return "본사계정이 현재 TEST중입니다. TEST완료후 지사에서 로그인 하실 수 있습니다.";
        case kLoginAgencyNotLinked:
            return "대리점-지점의 연결이 잘못된 계정입니다.";
        default:
            return {};
    }
}

std::string CleanIpAnswer(const std::string& answer) {
    // Anything but one well-formed address (a page, a list, stray bytes, a
    // text longer than login_ip holds) records no address: the login goes on.
    std::string ip = Trim(answer);
    if (ip.size() > kLoginIpColumnLength || !IsIpAddressText(ip)) return {};
    return ip;
}

int PayerNumberLength(const std::string& style) {
    auto dash = style.find('-');
    if (dash == std::string::npos) return 10;
    std::string part = Trim(style.substr(dash + 1));
    if (part.empty() || part.size() > 3) return 10;
    for (char c : part) {
        if (!std::isdigit(static_cast<unsigned char>(c))) return 10;
    }
    int n = std::stoi(part);
    return n > 0 ? n : 10;
}

int ValidateLogin(Database& db, SessionContext& s, const std::string& id,
                  const std::string& password, const IpLookup& lookupIp) {
    s.agreement_evidence_switch = false;

    const long long heads =
        db.scalarInt("select count(id) from quorisdex.admin_company where id=?", {id});
    const long long branches =
        db.scalarInt("select count(id) from quorisdex.company_branch where id=?", {id});
    const long long agencies =
        db.scalarInt("select count(id) from quorisdex.company_agency where id=?", {id});
    if (heads == 0 && branches == 0 && agencies == 0) return kLoginUnknownId;

    s.client_ip = (s.launched_with_credentials || !lookupIp) ? "" : CleanIpAnswer(lookupIp());

    if (heads > 0) {
        auto rs =
            db.OpenRecordset(std::string("select ") + kHeadOfficeColumns +
                                 ", admin_company.month_max, admin_company.usetag "
                                 "from quorisdex.admin_company where id=? and binary pw_org=? "
                                 "limit 1",
                             {id, password});
        if (rs.empty()) return kLoginWrongPassword;
        auto r = rs[0];
        if (r["usetag"] != "Y" || r["branch_name"] == "cmsdorn") return kLoginAccountDisabled;
        FillFromHeadOffice(s, r);
        s.brinx = 0;
        s.aginx = 0;
        s.LoginId = r["head_id"];
        s.company = r["head_company"];
        s.month_max = ToInt(r["month_max"]);
        s.bank_receipt_switch = r["bank_receipt"] == "Y";
        PreparePayerNumberTable(db, s);
        RecordLogin(db, s, s.LoginId, 6);
        return kLoginAccepted;
    }

    if (branches > 0) {
        auto rs = db.OpenRecordset(
            std::string("select company_branch.id branch_id, company_branch.brinx, "
                        "company_branch.perinx, "
                        "company_branch.usetag branch_usetag, company_branch.company, "
                        "company_branch.month_max, (admin_company.inx is not null) has_head, ") +
                kHeadOfficeColumns +
                " from quorisdex.company_branch left join quorisdex.admin_company on "
                "(company_branch.perinx=admin_company.inx) where company_branch.id=? and "
                "binary company_branch.pw=? limit 1",
            {id, password});
        if (rs.empty()) return kLoginWrongPassword;
        auto r = rs[0];
        // A branch without a head office is refused as such (code 4), not as a
        // disabled account: its head office has no usetag to test.
        const bool hasHead = r["has_head"] == "1" && ToInt(r["perinx"]) > 0;
        if (r["branch_usetag"] != "Y" || (hasHead && r["head_usetag"] != "Y")) {
            return kLoginAccountDisabled;
        }
        if (!hasHead) return kLoginHeadOfficeUnusable;
        return AcceptUnderHeadOffice(db, s, r, ToInt(r["brinx"]), 0, r["branch_id"], 7);
    }

    auto rs = db.OpenRecordset(
        std::string("select company_agency.id agency_id, company_agency.aginx, "
                    "company_agency.rootinx, "
                    "company_agency.rootbrinx, company_agency.usetag agency_usetag, "
                    "company_agency.company, company_agency.month_max, "
                    "(admin_company.inx is not null) has_head, ") +
            kHeadOfficeColumns +
            " from quorisdex.company_agency left join quorisdex.admin_company on "
            "(company_agency.rootinx=admin_company.inx) where company_agency.id=? and "
            "binary company_agency.pw=? limit 1",
        {id, password});
    if (rs.empty()) return kLoginWrongPassword;
    auto r = rs[0];
    const bool hasHead = r["has_head"] == "1" && ToInt(r["rootinx"]) > 0;
    if (r["agency_usetag"] != "Y" || (hasHead && r["head_usetag"] != "Y")) {
        return kLoginAccountDisabled;
    }
    if (ToInt(r["rootbrinx"]) <= 0) return kLoginAgencyNotLinked;
    if (!hasHead) return kLoginHeadOfficeUnusable;
    return AcceptUnderHeadOffice(db, s, r, ToInt(r["rootbrinx"]), ToInt(r["aginx"]), r["agency_id"],
                                 8);
}

}  // namespace qx
