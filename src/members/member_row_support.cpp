#include "members/member_row_support.h"

#include <algorithm>
#include <stdexcept>

#include "core/session_context.h"
#include "db/code_lists.h"
#include "members/items.h"
#include "members/member_rules.h"
#include "members/whole_number.h"
#include "platform/text_checks.h"
#include "platform/trim.h"

namespace qx::member_rows {

namespace {

// Every column of member_user but the key, as the re-issue copies them.
constexpr const char* kCopiedColumns[] = {"ext_key",
                                          "branch_inx",
                                          "agency_inx",
                                          "client_manager",
                                          "client_info1",
                                          "client_info2",
                                          "client_info3",
                                          "client_info4",
                                          "client_info5",
                                          "client_info6",
                                          "client_company",
                                          "president",
                                          "company_number",
                                          "jumin",
                                          "business_condition",
                                          "industry",
                                          "username",
                                          "zipcode",
                                          "address",
                                          "addressDetail",
                                          "tel",
                                          "fax",
                                          "private_tel",
                                          "comment",
                                          "user_email",
                                          "signdate",
                                          "bank_code",
                                          "account_no",
                                          "account_name",
                                          "account_jumin",
                                          "start_date",
                                          "remove",
                                          "cms_status",
                                          "cms_error",
                                          "pay_nonpayment",
                                          "total_prosspay",
                                          "total_payment",
                                          "userdate",
                                          "cms_printkey",
                                          "payday",
                                          "inday",
                                          "pay_monthdefault",
                                          "pay_agreement",
                                          "pay_prossagreement",
                                          "settle_accounts",
                                          "account_divide",
                                          "p_tax",
                                          "p_seday",
                                          "virtual_bank",
                                          "virtual_no",
                                          "virtual_code",
                                          "month_max",
                                          "nownonpay",
                                          "certificate_kind",
                                          "certificate_number",
                                          "certificate_status",
                                          "certificate_error",
                                          "cash_receipt_info",
                                          "cms_agree_status",
                                          "card_cancel_status",
                                          "pmserror",
                                          "ui_name",
                                          "ui_stan",
                                          "ui_cnt",
                                          "ui_pay",
                                          "ui_payment"};

constexpr const char* kTrimmed[] = {"bank_code",
                                    "account_no",
                                    "account_jumin",
                                    "certificate_number",
                                    "cash_receipt_info",
                                    "company_number",
                                    "jumin",
                                    "user_email",
                                    "payday",
                                    "inday",
                                    "pay_monthdefault",
                                    "settle_accounts",
                                    "account_divide",
                                    "p_tax",
                                    "remove",
                                    "certificate_kind",
                                    "start_date",
                                    "month_max",
                                    "branch_inx",
                                    "agency_inx",
                                    "cms_printkey"};

std::string Now(Database& db) {
    return db.scalar("select date_format(now(),'%Y-%m-%d %H:%i')");
}

}  // namespace

const std::vector<ColumnRule>& Columns() {
    static const std::vector<ColumnRule> columns = {
        {"ext_key", "외부참조키", 32},
        {"branch_inx", "지사", 0},
        {"agency_inx", "대리점", 0},
        {"client_manager", "담당자", 32},
        {"client_info1", "추가정보1", 32},
        {"client_info2", "추가정보2", 32},
        {"client_info3", "추가정보3", 32},
        {"client_info4", "추가정보4", 32},
        {"client_info5", "추가정보5", 32},
        {"client_info6", "추가정보6", 32},
        {"client_company", "상호", 32},
        {"president", "대표자", 32},
        {"company_number", "사업자번호", 20},
        {"jumin", "주민/법인번호", 16},
        {"business_condition", "업태", 60},
        {"industry", "업종", 60},
        {"username", "고객명", 32},
        {"zipcode", "우편번호", 7},
        {"address", "주소", 60},
        {"addressDetail", "상세주소", 60},
        {"tel", "전화", 14},
        {"fax", "팩스", 14},
        {"private_tel", "휴대폰", 14},
        {"comment", "비고", 255},
        {"user_email", "이메일", 30},
        {"bank_code", "거래은행", 7},
        {"account_no", "계좌번호", 16},
        {"account_name", "예금주명", 32},
        {"account_jumin", "예금주번호", 16},
        {"start_date", "이체개시월", 7},
        {"remove", "회원상태", 1},
        {"userdate", "날짜", 9},
        {"cms_printkey", "통장기장내역", 1},
        {"payday", "매출예정일", 0},
        {"inday", "이체예정일", 0},
        {"pay_monthdefault", "매출예정액", 0},
        {"settle_accounts", "수금방식", 2},
        {"account_divide", "매출구분", 1},
        {"p_tax", "영수처리방식", 1},
        {"month_max", "월청구제한", 0},
        {"certificate_kind", "회원인증방법", 1},
        {"certificate_number", "계좌주휴대폰", 16},
        {"cash_receipt_info", "현금영수발행정보", 20},
    };
    return columns;
}

const ColumnRule* FindColumn(const std::string& name) {
    for (const auto& c : Columns())
        if (name == c.name) return &c;
    return nullptr;
}

std::string Table(const SessionContext& s, const char* table) {
    return s.schema() + "." + table;
}

ReceiptCodes LoadReceiptCodes(Database& db, const SessionContext& s) {
    ReceiptCodes codes;
    for (const auto& e : LoadInstitutionCodeList(db, s.institution_number, "tallysheet")) {
        if (e.text == "현금영수증") codes.cash = e.data;
        if (e.text == "영수증") codes.receipt = e.data;
        if (e.text == "기부금영수증") codes.donation = e.data;
    }
    return codes;
}

std::string Lines(std::initializer_list<const char*> lines) {
    std::string out;
    for (const char* l : lines) {
        if (!out.empty()) out += "\n";
        out += l;
    }
    return out;
}

namespace {

bool Listed(const std::vector<CodeEntry>& list, const std::string& code) {
    return std::any_of(list.begin(), list.end(),
                       [&](const CodeEntry& e) { return Trim(e.data) == code; });
}

// Number of passbook texts in the institution's comma-separated list.
long long PassbookTextCount(Database& db, const SessionContext& s) {
    const std::string list = db.scalar("select cms_print from quorisdex.admin_company where inx=?",
                                       {s.institution_number});
    if (Trim(list).empty()) return 0;
    return static_cast<long long>(std::count(list.begin(), list.end(), ',')) + 1;
}

}  // namespace

void CheckCodes(Database& db, const SessionContext& s, const MemberInput& in,
                const MemberInput* given) {
    auto checks = [&](const char* column) { return !given || given->fields.count(column) > 0; };
    const std::string settle = in.get("settle_accounts");
    if (checks("settle_accounts") &&
        (!IsAllDigits(settle) || settle.size() > 2 ||
         !Listed(LoadInstitutionCodeList(db, s.institution_number, "settleacnt"), settle))) {
        throw std::invalid_argument("수금방식이 잘못되었습니다.");
    }
    const std::string divide = in.get("account_divide");
    if (checks("account_divide") && (divide.size() != 1 || divide[0] < '1' || divide[0] > '4')) {
        throw std::invalid_argument("매출구분이 잘못되었습니다.");
    }
    const std::string ptax = in.get("p_tax");
    if (checks("p_tax") &&
        (ptax.size() != 1 || !IsAllDigits(ptax) ||
         !Listed(LoadInstitutionCodeList(db, s.institution_number, "tallysheet"), ptax))) {
        throw std::invalid_argument("영수처리방식이 잘못되었습니다.");
    }
    const std::string remove = in.get("remove");
    if (remove != "1" && remove != "2" && remove != "3") {
        throw std::invalid_argument("회원상태가 잘못되었습니다.");
    }
    const std::string kind = in.get("certificate_kind");
    // Empty: cleared at login where authentication is not offered.
    if (checks("certificate_kind") && !kind.empty() &&
        (kind.size() != 1 || kind[0] < '0' || kind[0] > '4')) {
        throw std::invalid_argument("회원인증방법이 잘못되었습니다.");
    }
    // '0' is the institution's default text, n the n-th of its list.
    const std::string printkey = in.get("cms_printkey");
    if (checks("cms_printkey") && (printkey.size() != 1 || !IsAllDigits(printkey) ||
                                   printkey[0] - '0' > PassbookTextCount(db, s))) {
        throw std::invalid_argument("통장기장내역이 잘못되었습니다.");
    }
    for (const char* col : {"branch_inx", "agency_inx", "month_max"}) {
        // Branch and agency numbers are keys of the organisation tables.
        const long long limit = col == std::string("month_max") ? 99999 : 2147483647LL;
        if (checks(col) && !ParseWholeNumber(in.get(col), limit)) {
            throw std::invalid_argument(std::string(FindColumn(col)->label) +
                                        "이(가) 잘못되었습니다.");
        }
    }
    // The owner must be a branch and agency of this institution, the agency
    // one of that branch: a member owned by anything else is seen by no
    // branch user.
    if (checks("branch_inx") || checks("agency_inx")) {
        const long long branch = ParseWholeNumber(in.get("branch_inx")).value_or(0);
        const long long agency = ParseWholeNumber(in.get("agency_inx")).value_or(0);
        if (branch != 0 &&
            db.scalarInt("select count(*) from quorisdex.company_branch where brinx=? and perinx=?",
                         {branch, s.institution_number}) == 0) {
            throw std::invalid_argument("지사가 잘못되었습니다: " + std::to_string(branch) +
                                        " (이 기관의 지사가 아닙니다.)");
        }
        if (agency != 0 &&
            db.scalarInt("select count(*) from quorisdex.company_agency where aginx=? and "
                         "rootinx=? and rootbrinx=?",
                         {agency, s.institution_number, branch}) == 0) {
            throw std::invalid_argument("대리점이 잘못되었습니다: " + std::to_string(agency) +
                                        " (해당 지사의 대리점이 아닙니다.)");
        }
    }
}

void TrimInput(MemberInput& in) {
    for (const char* col : kTrimmed) {
        auto it = in.fields.find(col);
        if (it != in.fields.end()) it->second = Trim(it->second);
    }
    // A CMS bank given by its 3-digit bank code alone stands for the bank's
    // head branch, as the files write it.
    if (in.get("settle_accounts") == kSettleCms)
        in.set("bank_code", FullBankCode(in.get("bank_code")));
    in.initial_nonpayment = Trim(in.initial_nonpayment);
    in.instalment_total = Trim(in.instalment_total);
    in.instalment_months = Trim(in.instalment_months);
    in.period_months = Trim(in.period_months);
}

std::string Bank3(const std::string& bankCode) {
    return bankCode.substr(0, 3);
}

std::string CurrentYymm(const SessionContext& s) {
    if (s.server_date.size() < 5) return {};
    return s.server_date.substr(0, 2) + s.server_date.substr(3, 2);
}

bool IsListedBank(Database& db, const SessionContext& s, const std::string& bank3) {
    if (bank3.size() != 3 || !IsAllDigits(bank3)) return false;
    return Listed(LoadSharedCodeList(db, s.relay_prefix), bank3);
}

std::string RebuiltInstalmentMonths(const MemberRecord& member) {
    const long long monthly = ParseWholeNumber(member.get("pay_monthdefault")).value_or(0);
    const long long total = ParseWholeNumber(member.get("pay_agreement")).value_or(0);
    return monthly > 0 ? std::to_string(std::max<long long>(1, total / monthly)) : "";
}

std::string PeriodStartMonth(const SessionContext& s, const MemberInput& in) {
    std::string start = in.get("start_date");
    if (start.empty() && s.server_date.size() >= 5) start = "20" + s.server_date.substr(0, 5);
    return start;
}

void AddNote(Database& db, const SessionContext& s, long long member, const std::string& combo,
             const std::string& text) {
    db.ExecuteSql(
        "insert into " + Table(s, "iltable") +
            " (illinkinx, usrname, ildate, ilcombo, ilsang, ilstat) values (?,?,?,?,?,'3')",
        {member, s.LoginId, Now(db), combo, text});
}

void MoveDependants(Database& db, const SessionContext& s, long long from, long long to) {
    const std::pair<const char*, const char*> links[] = {
        {"iltable", "illinkinx"}, {"iltable_ext", "extlinkinx"}, {"pay_pross", "userlink_inx"},
        {"payadd", "add_usrnum"}, {"paymus", "add_usrnum"},      {"user_item", "ui_perinx"}};
    for (const auto& [table, column] : links) {
        db.ExecuteSql("update " + Table(s, table) + " set " + column + "=? where " + column + "=?",
                      {to, from});
    }
    db.ExecuteSql("update kib.virinfo set user_key=? where user_dbname=? and user_key=?",
                  {to, s.schema(), from});
}

long long CopyMemberRow(Database& db, const SessionContext& s, long long from,
                        const std::map<std::string, std::pair<std::string, SqlParams>>& overrides) {
    std::string cols, exprs;
    SqlParams params;
    for (const char* c : kCopiedColumns) {
        if (!cols.empty()) {
            cols += ",";
            exprs += ",";
        }
        cols += std::string("`") + c + "`";
        auto it = overrides.find(c);
        if (it == overrides.end()) {
            exprs += std::string("`") + c + "`";
        } else {
            exprs += it->second.first;
            for (const auto& p : it->second.second) params.push_back(p);
        }
    }
    params.emplace_back(from);
    db.ExecuteSql("insert into " + Table(s, "member_user") + " (" + cols + ") select " + exprs +
                      " from " + Table(s, "member_user") + " where member_inx=?",
                  params);
    return db.lastInsertId();
}

void WriteItems(Database& db, const SessionContext& s, long long member,
                const std::vector<MemberItem>& items) {
    for (const auto& it : items) {
        db.ExecuteSql("insert into " + Table(s, "user_item") +
                          " (ui_perinx,ui_name,ui_pay,ui_cnt,ui_payment,ui_stan) values "
                          "(?,?,?,?,?,?)",
                      {member, it.name, it.pay, it.count, it.payment(), it.stan});
    }
}

void CheckItems(const std::vector<MemberItem>& items) {
    for (const auto& it : items) {
        if (Trim(it.name).empty() || CharacterCount(it.name) > 64 || CharacterCount(it.stan) > 64)
            throw std::invalid_argument("품목명이 잘못되었습니다.");
        if (it.pay < 0 || it.pay > 2147483647LL || it.count < 1 || it.count > 99999 ||
            it.payment() > 2147483647LL)
            throw std::invalid_argument(kQuantityInvalidText);
    }
}

bool StateUnchanged(Database& db, const SessionContext& s, long long member,
                    const OpenedState& opened, bool lock) {
    const Recordset rs =
        db.OpenRecordset("select `remove`,`cms_status` from " + Table(s, "member_user") +
                             " where member_inx = ?" + (lock ? " for update" : ""),
                         {member});
    return !rs.empty() && rs[0]["remove"] == opened.remove &&
           rs[0]["cms_status"] == opened.cms_status;
}

}  // namespace qx::member_rows
