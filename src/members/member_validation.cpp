#include "core/session_context.h"
#include "db/bank_rules.h"
#include "db/database.h"
#include "members/member_record.h"
#include "members/member_row_support.h"
#include "members/member_rules.h"
#include "members/whole_number.h"
#include "platform/codepage.h"
#include "platform/interaction.h"
#include "platform/text_checks.h"
#include "platform/trim.h"

namespace qx {

using namespace member_rows;

ValidationResult ValidateMember(Database& db, const SessionContext& s, Interaction& ui,
                                MemberInput& in, const MemberRecord* existing) {
    auto stop = [&](const std::string& text, const std::string& focus) {
        ui.inform(text, kDefaultTitle);
        return ValidationResult{false, focus};
    };
    const std::string settle = in.get("settle_accounts");
    const std::string divide = in.get("account_divide");
    const bool cms = settle == kSettleCms, card = settle == kSettleCard;

    // Text the table cannot store, or control characters that would break a
    // file line or a list cell, never reach the database.
    for (const auto& c : Columns()) {
        if (c.maxChars == 0) continue;
        const std::string v = in.get(c.name);
        if (!IsStorableText(v)) return stop(UnstorableTextMessage(c.label), c.name);
        if (HasControlCharacter(v, c.name == std::string("comment"))) {
            return stop(ControlCharacterMessage(c.label), c.name);
        }
    }
    if (in.items) {
        for (const auto& item : *in.items) {
            if (!IsStorableText(item.name) || !IsStorableText(item.stan))
                return stop(UnstorableTextMessage("품목"), "items");
            if (HasControlCharacter(item.name, false) || HasControlCharacter(item.stan, false))
                return stop(ControlCharacterMessage("품목"), "items");
        }
    }
    // 1
    if (Trim(in.get("username")).empty()) return stop("고객명은 필수 입력 사항입니다.", "username");
    // 2
    if (!existing && !in.initial_nonpayment.empty() && !ParseSignedWhole(in.initial_nonpayment)) {
        return stop("초기미수금이 잘못 되었습니다.", "initial_nonpayment");
    }
    // An outstanding amount below zero would stand in the member's totals
    // without any sale or collection behind it.
    if (!existing && ParseSignedWhole(in.initial_nonpayment).value_or(0) < 0) {
        return stop(kNegativeInitialNonpaymentText, "initial_nonpayment");
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
        if (s.prgstat[kItemsUnused] == 0) {
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
    // A member that becomes a period member, or one whose period was never
    // stored, needs the months: without an end it is cancelled at the next
    // login.
    const bool keepsPeriod = existing && existing->get("account_divide") == "4" &&
                             !Trim(existing->get("p_seday")).empty();
    if (divide == "4" && (!keepsPeriod || !in.period_months.empty())) {
        const auto months = ParseWholeNumber(in.period_months, 9999);
        if (!months || *months < 1 || *months > 998) {
            return stop("1개월 이상 999개월 미만의 값만 입력할 수 있습니다.", "period_months");
        }
        const std::string start = PeriodStartMonth(s, in);
        const int endYear = PeriodEndYear(start, static_cast<int>(*months));
        if (endYear > 2099) return stop(kPeriodBeyondCenturyText, "period_months");
        const std::string end = PeriodEndMonth(start, static_cast<int>(*months));
        if (endYear > 0 && s.server_date.size() >= 5 &&
            std::to_string(endYear) + end.substr(2) < "20" + s.server_date.substr(0, 5)) {
            return stop(kPeriodAlreadyEndedText, "period_months");
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
        if (!IsPhoneCarrierCode(in.get("bank_code"))) return stop(kCarrierInvalidText, "bank_code");
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
        const std::string code = in.get("bank_code");
        if (code.size() != 7 || !IsAllDigits(code)) return stop(kBankCodeInvalidText, "bank_code");
        const std::string merged = MergedBankName(bank);
        if (merged != bank) {
            return stop("이용가능 은행(은행대표코드) : " + merged + "\n" +
                            "은행대표코드로 등록해주시기 바랍니다.",
                        "bank_code");
        }
        if (!IsListedBank(db, s, bank)) return stop(kBankCodeInvalidText, "bank_code");
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
    if (!cms && settle != kSettlePhone && !in.get("bank_code").empty()) {
        const std::string code = in.get("bank_code");
        if (code.size() != 7 || !IsAllDigits(code) || !IsListedBank(db, s, code.substr(0, 3)))
            return stop(kBankCodeInvalidText, "bank_code");
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
    for (const auto& c : Columns()) {
        if (c.maxChars == 0) continue;
        const std::string v = in.get(c.name);
        // The channel columns go into fixed byte fields of the bank files,
        // so they are measured in bytes there, not in characters.
        const bool bytes = IsFileChannelColumn(c.name);
        if ((bytes ? static_cast<std::size_t>(ByteLength(v)) : CharacterCount(v)) >
            static_cast<std::size_t>(c.maxChars)) {
            if (bytes) {
                return stop(std::string(c.label) + "은(는) " + std::to_string(c.maxChars) +
                                "자리(영문·숫자)까지 입력할 수 있습니다.",
                            c.name);
            }
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

}  // namespace qx
