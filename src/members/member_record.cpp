#include "members/member_record.h"

#include <algorithm>
#include <stdexcept>

#include "core/session_context.h"
#include "db/bank_rules.h"
#include "db/code_lists.h"
#include "db/database.h"
#include "db/role_filter.h"
#include "members/auto_cancellation.h"
#include "members/items.h"
#include "members/member_rules.h"
#include "members/virtual_account.h"
#include "members/whole_number.h"
#include "platform/codepage.h"
#include "platform/interaction.h"
#include "platform/text_checks.h"
#include "platform/trim.h"

namespace qx {

namespace {

constexpr int kMemberLog = 3;

struct ColumnRule {
    const char* name;
    const char* label;
    int maxChars;  // 0 = a whole number
};

// The columns a user types or chooses, with the length the table allows.
constexpr ColumnRule kColumns[] = {
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

const ColumnRule* FindColumn(const std::string& name) {
    for (const auto& c : kColumns)
        if (name == c.name) return &c;
    return nullptr;
}

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

std::string Table(const SessionContext& s, const char* table) {
    return s.schema() + "." + table;
}

// Receipt-kind codes by their texts in the institution's 'tallysheet' list.
struct ReceiptCodes {
    std::string cash = "999", receipt = "998", donation;
};
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

// Code columns hold what the screens offer; anything else is refused before
// a check or a write looks at it.
// `given`, on change, names the fields the user gave; the others come from
// the stored row and are taken as they are.
void CheckCodes(const MemberInput& in, const MemberInput* given = nullptr) {
    auto checks = [&](const char* column) { return !given || given->fields.count(column) > 0; };
    const std::string settle = in.get("settle_accounts");
    if (checks("settle_accounts") && (!IsAllDigits(settle) || settle.size() > 2)) {
        throw std::invalid_argument("수금방식이 잘못되었습니다.");
    }
    const std::string divide = in.get("account_divide");
    if (checks("account_divide") && (divide.size() != 1 || divide[0] < '1' || divide[0] > '4')) {
        throw std::invalid_argument("매출구분이 잘못되었습니다.");
    }
    const std::string ptax = in.get("p_tax");
    if (checks("p_tax") && (ptax.size() != 1 || !IsAllDigits(ptax))) {
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
    const std::string printkey = in.get("cms_printkey");
    if (checks("cms_printkey") && (printkey.size() != 1 || !IsAllDigits(printkey))) {
        throw std::invalid_argument("통장기장내역이 잘못되었습니다.");
    }
    for (const char* col : {"branch_inx", "agency_inx", "month_max"}) {
        if (checks(col) && !ParseWholeNumber(in.get(col), 99999)) {
            throw std::invalid_argument(std::string(FindColumn(col)->label) +
                                        "이(가) 잘못되었습니다.");
        }
    }
}

// Fields whose blanks never mean anything.
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

void TrimInput(MemberInput& in) {
    for (const char* col : kTrimmed) {
        auto it = in.fields.find(col);
        if (it != in.fields.end()) it->second = Trim(it->second);
    }
    in.initial_nonpayment = Trim(in.initial_nonpayment);
    in.instalment_total = Trim(in.instalment_total);
    in.instalment_months = Trim(in.instalment_months);
    in.period_months = Trim(in.period_months);
}

std::string Bank3(const std::string& bankCode) {
    return bankCode.substr(0, 3);
}

// The current month as "yymm" from the server date "yy-mm-dd".
std::string CurrentYymm(const SessionContext& s) {
    if (s.server_date.size() < 5) return {};
    return s.server_date.substr(0, 2) + s.server_date.substr(3, 2);
}

std::string Now(Database& db) {
    return db.scalar("select date_format(now(),'%Y-%m-%d %H:%i')");
}

void AddNote(Database& db, const SessionContext& s, long long member, const std::string& combo,
             const std::string& text) {
    db.ExecuteSql(
        "insert into " + Table(s, "iltable") +
            " (illinkinx, usrname, ildate, ilcombo, ilsang, ilstat) values (?,?,?,?,?,'3')",
        {member, s.LoginId, Now(db), combo, text});
}

// Moves every row that hangs on `from` to `to`.
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

// Copies the row with `overrides` (column -> SQL expression with '?' and
// its values) and returns the new number.
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

}  // namespace

std::string MemberInput::get(const std::string& column) const {
    auto it = fields.find(column);
    return it == fields.end() ? std::string() : it->second;
}

std::string MemberRecord::get(const std::string& column) const {
    auto it = values.find(column);
    return it == values.end() ? std::string() : it->second;
}

std::string MemberListRow::get(const std::string& column) const {
    auto it = values.find(column);
    return it == values.end() ? std::string() : it->second;
}

void CheckInputColumn(const std::string& column) {
    if (!FindColumn(column)) throw std::invalid_argument("변경할 수 없는 항목입니다: " + column);
}

const std::vector<std::string>& EditableMemberColumns() {
    static const std::vector<std::string> names = [] {
        std::vector<std::string> v;
        for (const auto& c : kColumns) v.emplace_back(c.name);
        return v;
    }();
    return names;
}

std::string MemberColumnLabel(const std::string& column) {
    const ColumnRule* c = FindColumn(column);
    return c ? c->label : column;
}

std::string MemberStateText(const std::string& remove) {
    if (remove == "1") return "정상";
    if (remove == "2") return "해지";
    if (remove == "3") return "보류";
    if (remove == "4") return "삭제";
    return remove;
}

std::optional<MemberRecord> LoadMember(Database& db, const SessionContext& s, long long memberInx) {
    std::string sql =
        "select * from " + Table(s, "member_user") + " where member_inx=? and remove<>'4'";
    SqlParams params{memberInx};
    AppendRoleFilter(sql, params, s, "");
    const Recordset rs = db.OpenRecordset(sql, params);
    if (rs.empty()) return std::nullopt;
    MemberRecord r;
    r.member_inx = rs[0].asInt("member_inx");
    for (std::size_t i = 0; i < rs.columns.size(); ++i) r.values[rs.columns[i]] = rs.values[0][i];
    return r;
}

std::vector<MemberItem> LoadMemberItems(Database& db, const SessionContext& s,
                                        long long memberInx) {
    std::vector<MemberItem> items;
    const Recordset rs =
        db.OpenRecordset("select ui_name, ui_stan, ui_pay, ui_cnt from " + Table(s, "user_item") +
                             " where ui_perinx=? order by ui_inx",
                         {memberInx});
    for (std::size_t i = 0; i < rs.size(); ++i) {
        items.push_back(
            {rs[i]["ui_name"], rs[i]["ui_stan"], rs[i].asInt("ui_pay"), rs[i].asInt("ui_cnt")});
    }
    return items;
}

ValidationResult ValidateMember(Database& db, const SessionContext& s, Interaction& ui,
                                MemberInput& in, const MemberRecord* existing) {
    auto stop = [&](const std::string& text, const std::string& focus) {
        ui.inform(text, kDefaultTitle);
        return ValidationResult{false, focus};
    };
    const std::string settle = in.get("settle_accounts");
    const std::string divide = in.get("account_divide");
    const bool cms = settle == kSettleCms, card = settle == kSettleCard;

    // 1
    if (Trim(in.get("username")).empty()) return stop("고객명은 필수 입력 사항입니다.", "username");
    // 2
    if (!existing && !in.initial_nonpayment.empty() && !ParseSignedWhole(in.initial_nonpayment)) {
        return stop("초기미수금이 잘못 되었습니다.", "initial_nonpayment");
    }
    if (divide == "3" &&
        ((!in.instalment_total.empty() && !ParseWholeNumber(in.instalment_total)) ||
         (!in.instalment_months.empty() && !ParseWholeNumber(in.instalment_months)))) {
        return stop("할부매출액/기간이 잘못 되었습니다.", "instalment_total");
    }
    // 3: an instalment member's amount is derived from the total
    if (divide != "3") {
        const auto amount = ParseSignedWhole(in.get("pay_monthdefault"));
        if (!amount) return stop("매출예정액이 잘못 되었습니다.", "pay_monthdefault");
        if (*amount < 0) {
            return stop(
                Lines({"0원 이하 금액은 등록할 수 없습니다.", "매출예정액이 잘못 되었습니다."}),
                "pay_monthdefault");
        }
    }
    // 4
    auto day = [](const std::string& t) {
        const auto d = ParseWholeNumber(t, 31);
        return d && *d >= 1;
    };
    if (!day(in.get("payday"))) return stop("매출예정일을 입력 하십시오.", "payday");
    if (!day(in.get("inday"))) return stop("이체예정일을 입력 하십시오.", "inday");
    // 5
    if (!in.get("user_email").empty()) {
        const int mail = CheckEmailText(in.get("user_email"), ui);
        if (mail == kEmailInvalid) return stop(kInvalidEmailText, "user_email");
        if (mail == kEmailDeclined) return {false, "user_email"};
    }
    // 6
    const std::string accountNo = in.get("account_no"), holder = in.get("account_jumin");
    if (card && !accountNo.empty() && !IsAllDigits(accountNo)) {
        return stop("신용카드번호는 숫자만 사용가능합니다.", "account_no");
    }
    if (cms && !accountNo.empty() && !IsAllDigits(accountNo)) {
        return stop("계좌번호는 숫자만 사용가능합니다.", "account_no");
    }
    if (!IsDigitsAndDash(in.get("jumin"))) {
        return stop("주민/법인번호는 숫자와 '-' 만 사용가능합니다.", "jumin");
    }
    if (!IsDigitsAndDash(in.get("company_number"))) {
        return stop("사업자번호는 숫자와 '-' 만 사용가능합니다.", "company_number");
    }
    if (card && !holder.empty() && !IsAllDigits(holder)) {
        return stop("유효년월은 숫자만 사용가능합니다.", "account_jumin");
    }
    if (cms && !holder.empty()) {
        if (!IsAllDigits(holder))
            return stop("예금주번호는 숫자만 사용가능합니다.", "account_jumin");
        if (holder.size() != 6 && holder.size() != 10) {
            return stop("예금주번호는 [생년월일] 6자리 또는 [사업자번호] 만 사용가능합니다.",
                        "account_jumin");
        }
    }
    if (card && !holder.empty()) {
        const int month = holder.size() == 4 ? std::stoi(holder.substr(2, 2)) : 0;
        if (month < 1 || month > 12) {
            return stop("유효년월은 년월(YYMM) 순서로 입력해야 합니다.", "account_jumin");
        }
        const std::string now = CurrentYymm(s);
        if (!now.empty() && holder < now &&
            !ui.confirm(Lines({"만료된 유효년월입니다.", "입력하신 정보가 맞습니까?"}),
                        kDefaultTitle)) {
            return {false, "account_jumin"};
        }
    }
    // 7
    if (divide == "3") {
        const long long total = ParseWholeNumber(in.instalment_total).value_or(0);
        if (total < 1000) {
            return stop("수납구분이 할부매출인경우 할부매출금액은 1000원 이상이어야 합니다.",
                        "instalment_total");
        }
        if (existing) {
            const long long owed =
                ParseSignedWhole(existing->get("pay_nonpayment")).value_or(0) +
                ParseSignedWhole(existing->get("pay_prossagreement")).value_or(0);
            if (total < owed)
                return stop("할부액이 미수금+할부납부총액보다 적습니다.", "instalment_total");
        }
        if (s.prgstat[kItemSwitch] == 1) {
            const std::size_t count =
                in.items ? in.items->size()
                         : (existing ? LoadMemberItems(db, s, existing->member_inx).size() : 0);
            if (count != 1) {
                return stop("수납구분이 할부매출인경우 품목은 하나만 선택가능합니다.", "items");
            }
        }
        if (ParseWholeNumber(in.instalment_months).value_or(0) < 1) {
            return stop("할부매출 기간(개월수)을 입력 하십시요.", "instalment_months");
        }
    }
    if (divide == "4" && (!existing || !in.period_months.empty())) {
        const auto months = ParseWholeNumber(in.period_months, 9999);
        if (!months || *months < 1 || *months > 998) {
            return stop("1개월 이상 999개월 미만의 값만 입력할 수 있습니다.", "period_months");
        }
    }
    // 8
    if (settle == kSettleGiro) {
        const std::string giro = Trim(in.get("account_name"));
        if (!ParseWholeNumber(giro, 999999999999999999LL)) {
            return stop("잘못된 OCR지로 고객조회번호 입니다.", "account_name");
        }
        // The number identifies the payer across the whole institution, so
        // this one test ignores the user's branch.
        std::string sql = " select count(account_name) from " + Table(s, "member_user") +
                          " where settle_accounts='3' and floor(account_name)=? and remove<>4";
        SqlParams params{giro};
        if (existing) {
            sql += " and member_inx<>?";
            params.emplace_back(existing->member_inx);
        }
        if (db.scalarInt(sql, params) != 0)
            return stop("이미 사용중인 고객조회번호 입니다. ", "account_name");
    }
    // 9
    if (settle == kSettlePhone) {
        if (in.get("bank_code").empty()) {
            return stop("전화결제인경우 결제통신사는 반드시 선택해야 합니다.", "bank_code");
        }
        if (accountNo.empty())
            return stop("전화결제인경우 전화번호는 필수 입력 사항입니다.", "account_no");
        if (Trim(in.get("account_name")).empty()) {
            return stop("전화결제인경우 명의자 성명은 필수 입력 사항입니다.", "account_name");
        }
        if (holder.empty()) {
            return stop("전화결제인경우 명의자 주민등록번호는 필수 입력 사항입니다.",
                        "account_jumin");
        }
    }
    const ReceiptCodes receipt = LoadReceiptCodes(db, s);
    const std::string ptax = in.get("p_tax");
    // 10
    if (card) {
        const std::string mobile = in.get("certificate_number");
        if (accountNo.empty())
            return stop("신용카드결제인경우 카드번호는 필수 입력 사항입니다.", "account_no");
        if (holder.empty())
            return stop("신용카드결제인경우 유효년월은 필수 입력 사항입니다.", "account_jumin");
        if (mobile.empty()) {
            return stop("신용카드결제인경우 카드주휴대폰은 필수 입력 사항입니다.",
                        "certificate_number");
        }
        if (!IsAllDigits(mobile))
            return stop("카드주휴대폰은 숫자만 사용가능합니다.", "certificate_number");
        if (mobile.size() < 10 || mobile.size() > 12) {
            return stop("카드주휴대폰 자릿수 오류입니다.", "certificate_number");
        }
        if (ptax == receipt.receipt) {
            if (in.get("user_email").empty()) {
                return stop("영수처리방식이 영수증인 경우 이메일은 필수 입력 사항입니다.",
                            "user_email");
            }
            const std::string product = in.get("cash_receipt_info");
            if (Trim(product).empty()) {
                return stop(Lines({"카드결제시 영수처리방식이 영수증인 경우",
                                   "영수증상품명은 필수 입력 사항입니다."}),
                            "cash_receipt_info");
            }
            if (ByteLength(product) > 30) {
                return stop(Lines({"영수증상품명은 최대 30Byte(영문 30자리, 한글 15자리) 까지",
                                   "입력할 수 있습니다.", "영수증상품명 자릿수 오류입니다."}),
                            "cash_receipt_info");
            }
        }
    }
    // 11
    if (cms) {
        const std::string bank = Bank3(in.get("bank_code"));
        if (bank.empty())
            return stop("CMS출금인경우 거래은행은 반드시 선택해야 합니다.", "bank_code");
        if (accountNo.empty())
            return stop("CMS출금인경우 계좌번호는 필수 입력 사항입니다.", "account_no");
        const std::string merged = MergedBankName(bank);
        if (merged != bank) {
            return stop("이용가능 은행(은행대표코드) : " + merged + "\n" +
                            "은행대표코드로 등록해주시기 바랍니다.",
                        "bank_code");
        }
        const std::string group = GroupAccountMessage(bank, accountNo);
        if (!group.empty()) return stop(group, "account_no");
        if (holder.empty())
            return stop("CMS출금인경우 예금주번호는 필수 입력 사항입니다.", "account_jumin");
        if (in.get("certificate_kind") == "1") {
            const std::string mobile = in.get("certificate_number");
            if (mobile.empty()) {
                return stop("CMS결제시 계좌주휴대폰은 필수 입력 사항입니다.", "certificate_number");
            }
            if (!IsAllDigits(mobile))
                return stop("계좌주휴대폰은 숫자만 사용가능합니다.", "certificate_number");
        }
    }
    // 12: on card members the column holds the receipt product name instead
    if (!card && ptax == receipt.cash) {
        if (in.get("cash_receipt_info").empty() && !in.get("certificate_number").empty() &&
            ui.confirm(Lines({"현금영수증 발행시 필요한 영수발행정보란에",
                              "휴대폰을 덮어쓰기 하시겠습니까?"}),
                       kDefaultTitle)) {
            in.set("cash_receipt_info", in.get("certificate_number"));
        }
        const std::string number = in.get("cash_receipt_info");
        if (number.empty()) {
            return stop("영수처리방식이 현금영수증인 경우 영수발행정보는 필수 입력 사항입니다.",
                        "cash_receipt_info");
        }
        if (!IsAllDigits(number))
            return stop("영수발행정보는 숫자만 사용가능합니다.", "cash_receipt_info");
        if (number.size() < 10 || number.size() > 16) {
            return stop(Lines({"영수발행정보 자릿수 오류입니다.", "현금영수증 일괄발행시",
                               "영수발행정보가 잘못된 경우 미발행될 수 있으며",
                               "발행 실패한 경우 직접 발행해야합니다."}),
                        "cash_receipt_info");
        }
    }
    if (cms && holder.size() == 10 && ptax != receipt.cash) {
        ui.inform(Lines({"예금주번호가 사업자 번호인 경우",
                         "영수처리방식을 현금영수증으로 선택하지 않아도", "현금영수증 일괄발행시",
                         "사업자번호로 자동발행됩니다."}),
                  kDefaultTitle);
    }
    // 13
    if (cms) {
        const std::string status = existing ? existing->get("cms_status") : "0";
        std::string agree;
        if (existing) {
            agree = existing->get("cms_agree_status");
        } else {
            agree = in.agreement_file_set ? "1" : (s.agreement_evidence_switch ? "0" : "P");
        }
        if (status == "0" && agree == "0" &&
            !ui.confirm(Lines({"출금동의자료 설정을 하지 않았습니다.",
                               "※ 동의자료설정 상태값이 미설정이고 CMS상태가 신규인 고객은",
                               "신규신청되지 않습니다.", "이대로 변경 하시겠습니까?"}),
                        kDefaultTitle)) {
            return {false, ""};
        }
    }
    // 14
    if (!receipt.donation.empty() && ptax == receipt.donation && in.get("jumin").empty()) {
        ui.inform(Lines({"기부금영수증 발행시 필요한", "[주민/법인번호]가 비어있습니다.",
                         "발행시 누락될 수 있으니 입력해주시기 바랍니다."}),
                  kDefaultTitle);
    }
    // What the table cannot hold is refused here rather than by the server.
    for (const auto& c : kColumns) {
        if (c.maxChars == 0) continue;
        const std::string v = in.get(c.name);
        if (CharacterCount(v) > static_cast<std::size_t>(c.maxChars)) {
            return stop(std::string(c.label) + "은(는) " + std::to_string(c.maxChars) +
                            "자까지 입력할 수 있습니다.",
                        c.name);
        }
    }
    if (!in.get("start_date").empty() && PeriodEndMonth(in.get("start_date"), 1).empty()) {
        return stop("이체개시월은 년-월(YYYY-MM) 형식으로 입력해야 합니다.", "start_date");
    }
    return {true, ""};
}

namespace {

// The values written for the row, derived from the checked input.
struct Derived {
    long long pay_monthdefault = 0;
    long long instalment_total = 0;
    std::string p_seday;
    bool has_p_seday = false;
};

Derived Derive(const SessionContext& s, const MemberInput& in) {
    Derived d;
    const std::string divide = in.get("account_divide");
    if (divide == "3") {
        d.instalment_total = ParseWholeNumber(in.instalment_total).value_or(0);
        const long long months =
            std::max<long long>(1, ParseWholeNumber(in.instalment_months).value_or(1));
        d.pay_monthdefault = d.instalment_total / months;
    } else {
        d.pay_monthdefault = ParseSignedWhole(in.get("pay_monthdefault")).value_or(0);
    }
    if (divide == "4" && !in.period_months.empty()) {
        std::string start = in.get("start_date");
        if (start.empty() && s.server_date.size() >= 5) {
            start = "20" + s.server_date.substr(0, 5);
        }
        d.p_seday =
            PeriodEndMonth(start, static_cast<int>(ParseWholeNumber(in.period_months).value_or(1)));
        d.has_p_seday = true;
    }
    return d;
}

// Method-specific columns the method has no field for are stored empty.
void ClearUnusedChannel(MemberInput& in) {
    const std::string settle = in.get("settle_accounts");
    if (settle == kSettleCms || settle == kSettlePhone || settle == kSettleCard) return;
    if (settle != kSettleGiro) in.set("account_name", "");
    in.set("account_no", "");
    in.set("account_jumin", "");
}

void ApplyRoleOwnership(const SessionContext& s, MemberInput& in, const MemberRecord* existing) {
    if (s.isHeadOffice()) return;
    in.set("branch_inx", existing ? existing->get("branch_inx") : std::to_string(s.brinx));
    in.set("agency_inx", existing ? existing->get("agency_inx") : std::to_string(s.aginx));
}

}  // namespace

std::optional<long long> CreateMember(Database& db, const SessionContext& s, Interaction& ui,
                                      MemberInput in, std::string* focus) {
    for (const auto& [col, value] : in.fields) CheckInputColumn(col);
    const std::pair<const char*, std::string> defaults[] = {
        {"settle_accounts", "1"},
        {"account_divide", "1"},
        {"p_tax", "0"},
        {"remove", "1"},
        {"cms_printkey", "0"},
        {"certificate_kind", "0"},
        {"month_max", std::to_string(s.month_max)},
        {"pay_monthdefault", "0"},
        {"branch_inx", "0"},
        {"agency_inx", "0"}};
    for (const auto& [col, value] : defaults)
        if (!in.fields.count(col)) in.set(col, value);
    TrimInput(in);
    ApplyRoleOwnership(s, in, nullptr);
    CheckCodes(in);
    if (in.get("remove") == "2")
        throw std::invalid_argument("신규 회원은 정상 또는 보류로만 등록할 수 있습니다.");
    if (in.items) CheckItems(*in.items);
    if (const auto v = ValidateMember(db, s, ui, in, nullptr); !v.ok) {
        if (focus) *focus = v.focus;
        return std::nullopt;
    }
    if (!in.virtual_bank.empty()) {
        CheckVirtualBank(in.virtual_bank);
        if (!AssignsVirtualAccountOnRegistration(s)) {
            throw std::invalid_argument(
                "가상계좌 등록방식이 관리자 지정 등록이므로 신규등록시 가상계좌를 지정할 수 "
                "없습니다.");
        }
        // Refused before anything is written: the member is not saved without
        // the account the user asked for.
        if (!FindFreeVirtualAccount(db, s, in.virtual_bank)) {
            ui.inform(NoFreeVirtualAccountText(in.virtual_bank), kDefaultTitle);
            return std::nullopt;
        }
    }
    ClearUnusedChannel(in);
    const Derived d = Derive(s, in);
    const long long initial = ParseSignedWhole(in.initial_nonpayment).value_or(0);
    const std::string agree =
        in.get("settle_accounts") != kSettleCms
            ? "0"
            : (in.agreement_file_set ? "1" : (s.agreement_evidence_switch ? "0" : "P"));

    std::string cols, marks;
    SqlParams params;
    for (const auto& c : kColumns) {
        cols += std::string("`") + c.name + "`,";
        marks += "?,";
        params.emplace_back(c.name == std::string("pay_monthdefault")
                                ? std::to_string(d.pay_monthdefault)
                                : in.get(c.name));
    }
    cols += "signdate,cms_status,pay_nonpayment,pay_agreement,p_seday,cms_agree_status";
    marks += "unix_timestamp(sysdate()),'0',?,?,?,?";
    params.emplace_back(initial);
    params.emplace_back(d.instalment_total);
    params.emplace_back(d.p_seday);
    params.emplace_back(agree);

    Database::Transaction tx(db);
    db.ExecuteSql(
        "insert into " + Table(s, "member_user") + " (" + cols + ") values (" + marks + ")",
        params);
    const long long member = db.scalarInt("select last_insert_id();");
    if (in.items) WriteItems(db, s, member, *in.items);
    if (!in.virtual_bank.empty() &&
        !ClaimFreeVirtualAccount(db, s, member, in.get("username"), in.virtual_bank)) {
        // Taken by another desk since the check: the transaction is dropped.
        ui.inform(NoFreeVirtualAccountText(in.virtual_bank), kDefaultTitle);
        return std::nullopt;
    }
    tx.commit();
    ui.inform(kSavedText, kDefaultTitle);
    return member;
}

long long ReissueMember(Database& db, const SessionContext& s, long long memberInx,
                        const std::string& certificateKind, const std::string& mobile) {
    const bool authenticated =
        certificateKind != "4" && certificateKind != "0" && !certificateKind.empty();
    Database::Transaction tx(db);
    const std::string company =
        db.scalar("select client_company from " + Table(s, "member_user") + " where member_inx=?",
                  {memberInx});
    const long long fresh =
        CopyMemberRow(db, s, memberInx,
                      {{"remove", {"'1'", {}}},
                       {"cms_status", {"'0'", {}}},
                       {"cms_error", {"''", {}}},
                       {"certificate_status", {"''", {}}},
                       {"certificate_error", {"''", {}}},
                       {"certificate_kind", {"?", {authenticated ? "1" : ""}}},
                       {"certificate_number", {"?", {authenticated ? mobile : ""}}}});
    db.ExecuteSql(
        "update " + Table(s, "member_user") +
            " set remove='4', account_name=left(concat('회원상태변경-',account_name),32), "
            "client_company=? where member_inx=?",
        {ReplacedCompanyText(company, memberInx, fresh), memberInx});
    MoveDependants(db, s, memberInx, fresh);
    db.WriteProcessLog(
        " (" + TenDigits(memberInx) + ") 회원상태변경 (2>1) [" + TenDigits(fresh) + "]",
        kMemberLog);
    AddNote(db, s, fresh, "회원상태변경",
            "납부자번호 : [" + TenDigits(memberInx) + "]->[" + TenDigits(fresh) +
                "], 회원상태 : [해지]->[정상] 으로 변경");
    tx.commit();
    return fresh;
}

namespace {

// The edit-conflict test on the row as stored now.
bool StateUnchanged(Database& db, const SessionContext& s, long long member,
                    const OpenedState& opened, bool lock) {
    const Recordset rs =
        db.OpenRecordset("select `remove`,`cms_status` from " + Table(s, "member_user") +
                             " where member_inx = ?" + (lock ? " for update" : ""),
                         {member});
    return !rs.empty() && rs[0]["remove"] == opened.remove &&
           rs[0]["cms_status"] == opened.cms_status;
}

std::string ImportantChanges(const MemberRecord& old, const MemberInput& in,
                             const std::map<std::string, std::string>& written) {
    auto value = [&](const std::string& col) {
        auto it = written.find(col);
        return it != written.end() ? it->second : in.get(col);
    };
    std::string out;
    auto add = [&](const char* label, const std::string& col) {
        const std::string before = old.get(col), after = value(col);
        if (before != after) out += std::string(label) + before + ">" + after + "), ";
    };
    const std::string settle = in.get("settle_accounts");
    if (settle == kSettleCard) {
        add("카드번호(", "account_no");
        add("유효년월(", "account_jumin");
    } else if (settle == kSettlePhone) {
        add("통신사(", "bank_code");
        add("전화번호(", "account_no");
        add("주민번호(", "account_jumin");
    } else if (settle == kSettleCms) {
        add("거래은행(", "bank_code");
        add("계좌번호(", "account_no");
        add("예금주번호(", "account_jumin");
    }
    if (settle == kSettleCms || settle == kSettleCard) add("계좌주휴대폰(", "certificate_number");
    add("이체예정일(", "inday");
    add("매출구분(", "account_divide");
    add("월납입액(", "pay_monthdefault");
    if (value("account_divide") == "4") {
        add("약정금액/기간(", "p_seday");
    } else {
        add("약정금액/기간(", "pay_agreement");
    }
    add("이체개시월(", "start_date");
    add("월청구제한(", "month_max");
    return out;
}

}  // namespace

ChangeResult ChangeMember(Database& db, SessionContext& s, Interaction& ui, long long memberInx,
                          const OpenedState& opened, MemberInput in, std::string* focus) {
    ChangeResult result;
    for (const auto& [col, value] : in.fields) CheckInputColumn(col);
    if (!in.virtual_bank.empty()) {
        throw std::invalid_argument("등록된 회원의 가상계좌는 가상계좌등록으로 지정합니다.");
    }
    const auto existing = LoadMember(db, s, memberInx);
    if (!existing) {
        ui.inform(kMemberNotFoundText, kDefaultTitle);
        return result;
    }
    const MemberInput given = in;
    for (const auto& c : kColumns)
        if (!in.fields.count(c.name)) in.set(c.name, existing->get(c.name));
    if (in.get("account_divide") == "3" && in.instalment_total.empty() &&
        existing->get("account_divide") == "3") {
        in.instalment_total = existing->get("pay_agreement");
        if (in.instalment_months.empty()) {
            const long long monthly =
                ParseWholeNumber(existing->get("pay_monthdefault")).value_or(0);
            const long long total = ParseWholeNumber(in.instalment_total).value_or(0);
            in.instalment_months =
                monthly > 0 ? std::to_string(std::max<long long>(1, total / monthly)) : "";
        }
    }
    TrimInput(in);
    ApplyRoleOwnership(s, in, &*existing);
    CheckCodes(in, &given);
    if (in.items) CheckItems(*in.items);
    if (const auto v = ValidateMember(db, s, ui, in, &*existing); !v.ok) {
        if (focus) *focus = v.focus;
        return result;
    }

    // 1
    if (!StateUnchanged(db, s, memberInx, opened, false)) {
        ui.inform(kEditConflictText, kDefaultTitle);
        return result;
    }
    const std::string oldRemove = existing->get("remove"), newRemove = in.get("remove");
    // 2
    const bool reissue = oldRemove == "2" && newRemove == "1";
    if (reissue) {
        ui.inform(existing->get("cms_error").find("은행") != std::string::npos
                      ? "은행해지고객을 정상으로 변경시 새 납부자번호가 발급됩니다."
                      : "해지고객을 정상으로 변경시 새 납부자번호가 발급됩니다.",
                  kDefaultTitle);
        if (!ui.confirm("회원상태를 변경 하시겠습니까?", kDefaultTitle)) return result;
        if (in.get("account_divide") == "3") {
            ui.inform("할부매출 고객이 해지에서 정상으로 이동되면 월매출 고객으로 변경됩니다.",
                      kDefaultTitle);
            in.set("account_divide", "1");
        }
    }
    // 3
    const bool cms = in.get("settle_accounts") == kSettleCms;
    bool resetAgreement = false;
    if (cms && existing->get("cms_agree_status") == "3" &&
        (in.get("bank_code") != existing->get("bank_code") ||
         in.get("account_no") != existing->get("account_no") ||
         in.get("account_jumin") != existing->get("account_jumin"))) {
        ui.inform(Lines({"계좌정보가 변경되어 동의자료설정 상태값이 미등록 상태로 초기화 됩니다.",
                         "정보가 변경된 후 동의자료를 다시 설정해주시기 바랍니다."}),
                  kDefaultTitle);
        resetAgreement = true;
    }
    ClearUnusedChannel(in);
    const Derived d = Derive(s, in);
    // 4
    const bool wasInstalment = existing->get("account_divide") == "3";
    const bool isInstalment = in.get("account_divide") == "3";
    std::map<std::string, std::string> written;
    written["pay_monthdefault"] = std::to_string(d.pay_monthdefault);
    if (isInstalment && !wasInstalment) {
        written["pay_agreement"] = std::to_string(
            ParseSignedWhole(existing->get("pay_nonpayment")).value_or(0) + d.instalment_total);
        written["pay_prossagreement"] = existing->get("pay_prossagreement");
    } else if (isInstalment) {
        written["pay_agreement"] = std::to_string(d.instalment_total);
        written["pay_prossagreement"] = existing->get("pay_prossagreement");
    } else {
        written["pay_agreement"] = "0";
        written["pay_prossagreement"] = "0";
    }
    written["p_seday"] = d.has_p_seday ? d.p_seday : existing->get("p_seday");
    const bool cancelling = newRemove == "2" && oldRemove != "2";
    if (cancelling) written["cms_status"] = CancelledCmsStatus(existing->get("cms_status"));
    if (resetAgreement) written["cms_agree_status"] = "0";

    Database::Transaction tx(db);
    if (!StateUnchanged(db, s, memberInx, opened, true)) {
        ui.inform(kEditConflictText, kDefaultTitle);
        return result;
    }
    long long target = memberInx;
    if (reissue)
        target = ReissueMember(db, s, memberInx, in.get("certificate_kind"),
                               in.get("certificate_number"));
    // 5
    std::string sets;
    SqlParams params;
    for (const auto& c : kColumns) {
        sets += std::string(sets.empty() ? "" : ",") + "`" + c.name + "`=?";
        auto it = written.find(c.name);
        params.emplace_back(it != written.end() ? it->second : in.get(c.name));
    }
    for (const char* col :
         {"pay_agreement", "pay_prossagreement", "p_seday", "cms_status", "cms_agree_status"}) {
        auto it = written.find(col);
        if (it == written.end()) continue;
        sets += std::string(",`") + col + "`=?";
        params.emplace_back(it->second);
    }
    params.emplace_back(target);
    db.ExecuteSql("update " + Table(s, "member_user") + " set " + sets + " where member_inx=?",
                  params);
    // 6
    if (in.items) {
        db.ExecuteSql("delete from " + Table(s, "user_item") + " where ui_perinx=?", {target});
        WriteItems(db, s, target, *in.items);
    }
    // 7
    if (!reissue && oldRemove != newRemove) {
        AddNote(db, s, target, "회원상태변경",
                "[" + MemberStateText(oldRemove) + "]->[" + MemberStateText(newRemove) + "] 변경");
        db.WriteProcessLog(
            " (" + TenDigits(target) + ") 회원상태(" + oldRemove + ">" + newRemove + "), ",
            kMemberLog);
    }
    // 8
    const std::string important = ImportantChanges(*existing, in, written);
    if (!important.empty()) {
        db.WriteProcessLog(" (" + TenDigits(target) + ") 중요정보변경 " + important, kMemberLog);
    }
    tx.commit();
    result.saved = true;
    result.member_inx = target;
    ui.inform(kSavedText, kDefaultTitle);
    // 9
    if (isInstalment && newRemove == "1") {
        const Recordset rs = db.OpenRecordset("select pay_agreement, pay_prossagreement from " +
                                                  Table(s, "member_user") + " where member_inx=?",
                                              {target});
        if (!rs.empty() && rs[0].asInt("pay_agreement") <= rs[0].asInt("pay_prossagreement")) {
            if (s.installment_chk_use != "Y") {
                ui.inform(
                    Lines({"현재 회원은 할부금을 완납한 상태이며 더이상 매출 발생되지 않습니다.",
                           "- 이어서 출금을 원하시는 경우 [고객카드]>[매출구분]의 값을 [월매출]로 "
                           "수정하시기 바랍니다.",
                           "- 출금을 원하지 않는 경우 회원상태를 해지로 변경하시기 바랍니다."}),
                    "할부완납 안내");
            } else {
                ui.inform("현재 회원은 할부금을 완납한 상태이므로 회원상태를 해지로 변경합니다.",
                          "할부완납 안내");
                CancelCompletedInstalmentMembers(db, s);
            }
        }
    }
    return result;
}

bool DeleteMember(Database& db, const SessionContext& s, Interaction& ui, long long memberInx) {
    const auto member = LoadMember(db, s, memberInx);
    if (!member) {
        ui.inform(kMemberNotFoundText, kDefaultTitle);
        return false;
    }
    if (!member->get("virtual_no").empty()) {
        ui.inform(kDeleteVirtualAccountText, kDefaultTitle);
        return false;
    }
    if (!ui.confirm(kDeleteQuestionText, kDefaultTitle)) return false;
    Database::Transaction tx(db);
    db.ExecuteSql("update " + Table(s, "member_user") + " set remove='4' where member_inx=?",
                  {memberInx});
    db.WriteProcessLog(" (" + TenDigits(memberInx) + ") 회원삭제(" + member->get("remove") + ">4)",
                       kMemberLog);
    tx.commit();
    return true;
}

bool BankCancelMember(Database& db, const SessionContext& s, Interaction& ui, long long memberInx) {
    if (!LoadMember(db, s, memberInx)) {
        ui.inform(kMemberNotFoundText, kDefaultTitle);
        return false;
    }
    Database::Transaction tx(db);
    db.ExecuteSql(
        "update " + Table(s, "member_user") +
            " set remove=2, cms_status=13, cms_error=concat('[',mid(sysdate(),3,8),'] 은행해지') "
            "where member_inx=?",
        {memberInx});
    db.WriteProcessLog(" (" + TenDigits(memberInx) + ") 은행해지 처리", kMemberLog);
    tx.commit();
    return true;
}

std::optional<long long> ChangeMemberChannel(Database& db, const SessionContext& s, Interaction& ui,
                                             long long memberInx, const OpenedState& opened,
                                             const ChannelChange& raw) {
    const auto member = LoadMember(db, s, memberInx);
    if (!member) {
        ui.inform(kMemberNotFoundText, kDefaultTitle);
        return std::nullopt;
    }
    const std::string settle = member->get("settle_accounts");
    const bool card = settle == kSettleCard;
    if (!card && settle != kSettleCms) {
        throw std::invalid_argument("CMS출금 또는 신용카드 회원만 계좌/카드를 변경할 수 있습니다.");
    }
    auto stop = [&](const std::string& text) {
        ui.inform(text, kDefaultTitle);
        return std::nullopt;
    };
    ChannelChange c = raw;
    for (std::string* f : {&c.bank_code, &c.account_no, &c.account_jumin, &c.card_no,
                           &c.card_expiry, &c.card_mobile})
        *f = Trim(*f);
    std::map<std::string, std::string> fresh;
    std::string note, logText;
    if (!card) {
        const std::string bank = Bank3(c.bank_code);
        if (bank.empty()) return stop("CMS출금인경우 거래은행은 반드시 선택해야 합니다.");
        if (c.account_no.empty()) return stop("계좌번호를 입력하십시오.");
        if (c.account_jumin.empty()) return stop("예금주번호를 입력하십시오.");
        if (Trim(c.account_name).empty()) return stop("예금주명을 입력 하십시오.");
        if (!IsAllDigits(c.account_no)) return stop("계좌번호는 숫자만 사용가능합니다.");
        if (!IsAllDigits(c.account_jumin)) return stop("예금주번호는 숫자만 사용가능합니다.");
        if (c.account_jumin.size() != 6 && c.account_jumin.size() != 10) {
            return stop("예금주번호는 [생년월일] 6자리 또는 [사업자번호] 만 사용가능합니다.");
        }
        const std::string merged = MergedBankName(bank);
        if (merged != bank) {
            return stop("이용가능 은행(은행대표코드) : " + merged + "\n" +
                        "은행대표코드로 등록해주시기 바랍니다.");
        }
        const std::string group = GroupAccountMessage(bank, c.account_no);
        if (!group.empty()) return stop(group);
        if (c.bank_code.size() > 7 || c.account_no.size() > 16 ||
            CharacterCount(c.account_name) > 32) {
            return stop("입력한 계좌정보가 너무 깁니다.");
        }
        if (c.bank_code == member->get("bank_code") && c.account_no == member->get("account_no") &&
            c.account_jumin == member->get("account_jumin")) {
            return stop("기존정보와 변경내역이 동일합니다. (은행,계좌번호,예금주번호) ");
        }
        fresh = {{"bank_code", c.bank_code},
                 {"account_no", c.account_no},
                 {"account_jumin", c.account_jumin},
                 {"account_name", c.account_name}};
        note = "거래은행 : [" + member->get("bank_code") + "]->[" + c.bank_code +
               "], 계좌번호 : [" + member->get("account_no") + "]->[" + c.account_no +
               "], 예금주번호 : [" + member->get("account_jumin") + "]->[" + c.account_jumin +
               "], 예금주명 : [" + member->get("account_name") + "]->[" + c.account_name + "]";
    } else {
        if (c.card_no.empty()) return stop("카드번호를 입력하십시오.");
        if (c.card_expiry.empty()) return stop("유효년월를 입력하십시오.");
        if (c.card_mobile.empty()) return stop("카드주휴대폰을 입력 하십시오.");
        if (!IsAllDigits(c.card_no)) return stop("신용카드번호는 숫자만 사용가능합니다.");
        if (!IsAllDigits(c.card_expiry)) return stop("유효년월은 숫자만 사용가능합니다.");
        const int month = c.card_expiry.size() == 4 ? std::stoi(c.card_expiry.substr(2, 2)) : 0;
        if (month < 1 || month > 12) return stop("유효년월은 년월(YYMM) 순서로 입력해야 합니다.");
        const std::string now = CurrentYymm(s);
        if (!now.empty() && c.card_expiry < now &&
            !ui.confirm(Lines({"만료된 유효년월입니다.", "입력하신 정보가 맞습니까?"}),
                        kDefaultTitle)) {
            return std::nullopt;
        }
        if (!IsAllDigits(c.card_mobile)) return stop("카드주휴대폰은 숫자만 사용가능합니다.");
        if (c.card_mobile.size() < 10 || c.card_mobile.size() > 12)
            return stop("카드주휴대폰 자릿수 오류입니다.");
        if (c.card_no.size() > 16) return stop("신용카드번호는 숫자만 사용가능합니다.");
        if (c.card_no == member->get("account_no") &&
            c.card_expiry == member->get("account_jumin")) {
            return stop("기존정보와 변경내역이 동일합니다. (카드번호,유효년월) ");
        }
        fresh = {{"account_no", c.card_no},
                 {"account_jumin", c.card_expiry},
                 {"certificate_number", c.card_mobile}};
        note = "카드번호 : [" + member->get("account_no") + "]->[" + c.card_no + "], 유효년월 : [" +
               member->get("account_jumin") + "]->[" + c.card_expiry + "]";
    }
    if (!StateUnchanged(db, s, memberInx, opened, false)) return stop(kEditConflictText);

    Database::Transaction tx(db);
    if (!StateUnchanged(db, s, memberInx, opened, true)) return stop(kEditConflictText);
    std::map<std::string, std::pair<std::string, SqlParams>> overrides{
        {"remove", {"'1'", {}}}, {"cms_status", {"'0'", {}}}, {"cms_error", {"''", {}}}};
    for (const auto& [col, value] : fresh) overrides[col] = {"?", {value}};
    const long long created = CopyMemberRow(db, s, memberInx, overrides);
    const std::string oldStatus = member->get("cms_status");
    db.ExecuteSql(
        "update " + Table(s, "member_user") +
            " set remove='4', cms_status='15', comment=left(concat(?,comment),255), "
            "account_name=left(concat('계좌변경-', account_name), 32), client_company=? "
            "where member_inx=?",
        {oldStatus + (card ? "->15 카드이체상태변경-" : "->15 CMS상태변경-"),
         ReplacedCompanyText(member->get("client_company"), memberInx, created), memberInx});
    MoveDependants(db, s, memberInx, created);
    db.WriteProcessLog(" (" + TenDigits(memberInx) +
                           (card ? ") 신용카드변경 [" : ") 계좌정보변경 [") + TenDigits(created) +
                           "]",
                       kMemberLog);
    AddNote(db, s, created, card ? "신용카드변경" : "CMS계좌변경",
            "납부자번호 : [" + TenDigits(memberInx) + "]->[" + TenDigits(created) + "], " + note);
    tx.commit();
    ui.inform(kSavedText, kDefaultTitle);
    return created;
}

void SetMemberFilter(MemberFilter& f, const std::string& column, const std::string& value) {
    std::string* target = nullptr;
    if (column == "settle_accounts")
        target = &f.settle_accounts;
    else if (column == "account_divide")
        target = &f.account_divide;
    else if (column == "p_tax")
        target = &f.p_tax;
    else if (column == "cms_status")
        target = &f.cms_status;
    else if (column == "remove")
        target = &f.remove;
    else if (column == "payday")
        target = &f.payday;
    else if (column == "inday")
        target = &f.inday;
    else if (column == "client_manager")
        target = &f.client_manager;
    else if (column == "client_info1")
        target = &f.client_info1;
    else if (column == "client_info2")
        target = &f.client_info2;
    else if (column == "client_info3")
        target = &f.client_info3;
    else if (column == "pay_nonpayment")
        target = &f.nonpayment;
    else if (column == "username")
        target = &f.username;
    if (!target) throw std::invalid_argument("조회할 수 없는 항목입니다: " + column);
    if (column == "pay_nonpayment" && value != "Y" && value != "N") {
        throw std::invalid_argument("pay_nonpayment 는 Y(미수 있음) 또는 N(미수 없음) 입니다.");
    }
    *target = value;
}

std::vector<MemberListRow> ListMembers(Database& db, const SessionContext& s, const MemberFilter& f,
                                       bool fullHolderNumbers, int limit) {
    auto orRaw = [](const std::string& expr, const char* column) {
        return expr.empty() ? std::string(column) : expr;
    };
    std::string sql =
        "select member_user.*, right(concat('0000000000',member_inx),10) payer_number, "
        "from_unixtime(signdate,'%y-%m-%d') signdate_text, " +
        orRaw(s.case_sql.branch_name, "branch_inx") + " branch_name, " +
        orRaw(s.case_sql.agency_name, "agency_inx") + " agency_name, " +
        orRaw(s.case_sql.settle_accounts, "settle_accounts") + " settle_text, " +
        orRaw(s.case_sql.cms_status, "cms_status") + " cms_status_text, " +
        orRaw(s.case_sql.account_divide, "account_divide") + " account_divide_text, " +
        orRaw(s.case_sql.p_tax, "p_tax") + " p_tax_text, " +
        orRaw(s.case_sql.bank_name, "bank_code") + " bank_name from " + Table(s, "member_user") +
        " member_user where remove<>4";
    SqlParams params;
    AppendRoleFilter(sql, params, s, "member_user");
    auto equals = [&](const char* column, const std::string& value) {
        if (value.empty()) return;
        sql += std::string(" and ") + column + "=?";
        params.emplace_back(value);
    };
    auto orNone = [&](const char* column, const std::string& value) {
        if (value.empty()) return;
        if (value == "없음") {
            sql += std::string(" and (") + column + "='' or " + column + " is null)";
        } else {
            equals(column, value);
        }
    };
    equals("settle_accounts", f.settle_accounts);
    equals("account_divide", f.account_divide);
    equals("p_tax", f.p_tax);
    equals("cms_status", f.cms_status);
    equals("remove", f.remove);
    equals("payday", f.payday);
    equals("inday", f.inday);
    orNone("client_manager", f.client_manager);
    orNone("client_info1", f.client_info1);
    orNone("client_info2", f.client_info2);
    orNone("client_info3", f.client_info3);
    if (f.nonpayment == "Y") sql += " and pay_nonpayment>0";
    if (f.nonpayment == "N") sql += " and pay_nonpayment<1";
    if (!f.username.empty()) {
        sql += " and username like concat('%',?,'%')";
        params.emplace_back(f.username);
    }
    sql += " order by member_inx limit " + std::to_string(std::max(1, limit));
    const Recordset rs = db.OpenRecordset(sql, params);
    std::vector<MemberListRow> rows;
    rows.reserve(rs.size());
    for (std::size_t i = 0; i < rs.size(); ++i) {
        MemberListRow row;
        row.member_inx = rs[i].asInt("member_inx");
        for (std::size_t c = 0; c < rs.columns.size(); ++c)
            row.values[rs.columns[c]] = rs.values[i][c];
        row.payer_number = row.get("payer_number");
        std::string& holder = row.values["account_jumin"];
        if (!fullHolderNumbers && CharacterCount(holder) > 10)
            holder = LeftCharacters(holder, 6) + "*******";
        rows.push_back(std::move(row));
    }
    return rows;
}

bool MayShowFullHolderNumbers(Database& db, const SessionContext& s) {
    if (s.launched_with_credentials) return true;
    return db.scalar("select xls_acnt_permit from quorisdex.admin_company where inx=?",
                     {s.institution_number}) == "1";
}

std::vector<std::string> DistinctFilterValues(Database& db, const SessionContext& s,
                                              const std::string& column) {
    static const char* kAllowed[] = {"client_manager", "payday",       "inday",
                                     "client_info1",   "client_info2", "client_info3"};
    if (std::find_if(std::begin(kAllowed), std::end(kAllowed),
                     [&](const char* c) { return column == c; }) == std::end(kAllowed)) {
        throw std::invalid_argument("조회할 수 없는 항목입니다: " + column);
    }
    const bool nullable = column.rfind("client_info", 0) == 0;
    std::string sql = "SELECT DISTINCT IF(" + column + " = ''" +
                      (nullable ? " or " + column + " is null" : "") + ", '없음', " + column +
                      ") v, " + column + " from " + Table(s, "member_user") + " where remove<>4";
    SqlParams params;
    AppendRoleFilter(sql, params, s, "");
    sql += " order by " + column;
    const Recordset rs = db.OpenRecordset(sql, params);
    std::vector<std::string> out;
    for (std::size_t i = 0; i < rs.size(); ++i) {
        if (std::find(out.begin(), out.end(), rs[i][0]) == out.end()) out.push_back(rs[i][0]);
    }
    return out;
}

}  // namespace qx
