#include <algorithm>
#include <stdexcept>

#include "core/session_context.h"
#include "db/database.h"
#include "members/auto_cancellation.h"
#include "members/member_record.h"
#include "members/member_row_support.h"
#include "members/member_rules.h"
#include "members/virtual_account.h"
#include "members/whole_number.h"
#include "platform/interaction.h"

namespace qx {

using namespace member_rows;

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
        const std::string start = PeriodStartMonth(s, in);
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
    CheckCodes(db, s, in);
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
    for (const auto& c : Columns()) {
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

namespace {

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
    for (const auto& c : Columns())
        if (!in.fields.count(c.name)) in.set(c.name, existing->get(c.name));
    // The months of an instalment member are not stored; the figures shown
    // are rebuilt from the total and the monthly amount.
    const std::string rebuiltMonths = RebuiltInstalmentMonths(*existing);
    if (in.get("account_divide") == "3" && in.instalment_total.empty() &&
        existing->get("account_divide") == "3") {
        in.instalment_total = existing->get("pay_agreement");
        if (in.instalment_months.empty()) in.instalment_months = rebuiltMonths;
    }
    TrimInput(in);
    ApplyRoleOwnership(s, in, &*existing);
    CheckCodes(db, s, in, &given);
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
    // A member whose registration is cancelled or being cancelled (on hold
    // after the cancellation too) comes back only under a new payer number:
    // the old one still owes the bank its cancellation.
    const bool reissue = newRemove == "1" && oldRemove != "1" &&
                         (oldRemove == "2" || IsCancellationState(existing->get("cms_status")));
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
    // Saved with the shown figures unchanged: the stored monthly amount stays
    // (total / rebuilt months would round it).
    if (isInstalment && wasInstalment &&
        ParseWholeNumber(in.instalment_total) == ParseWholeNumber(existing->get("pay_agreement")) &&
        in.instalment_months == rebuiltMonths) {
        written["pay_monthdefault"] = existing->get("pay_monthdefault");
    }
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
    // A member already cancelled at the bank (or on its way) keeps its state:
    // 13 must not become 11 and ask the bank to cancel it again.
    if (cancelling && !IsCancellationState(existing->get("cms_status")))
        written["cms_status"] = CancelledCmsStatus(existing->get("cms_status"));
    if (resetAgreement) written["cms_agree_status"] = "0";

    Database::Transaction tx(db);
    if (!StateUnchanged(db, s, memberInx, opened, true)) {
        ui.inform(kEditConflictText, kDefaultTitle);
        return result;
    }
    long long target = memberInx;
    if (reissue) {
        target = ReissueMember(db, s, memberInx, in.get("certificate_kind"),
                               in.get("certificate_number"));
        // The update below must not write back what the re-issue cleared.
        const auto [kind, number] =
            ReissuedCertificate(in.get("certificate_kind"), in.get("certificate_number"));
        written["certificate_kind"] = kind;
        written["certificate_number"] = number;
    }
    // 5
    std::string sets;
    SqlParams params;
    for (const auto& c : Columns()) {
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

}  // namespace qx
