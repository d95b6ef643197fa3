#include <stdexcept>

#include "core/session_context.h"
#include "db/bank_rules.h"
#include "db/database.h"
#include "members/member_record.h"
#include "members/member_row_support.h"
#include "members/member_rules.h"
#include "platform/interaction.h"
#include "platform/text_checks.h"
#include "platform/trim.h"

namespace qx {

using namespace member_rows;

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
    // Only a registration the bank holds can be changed this way: the old row
    // goes into the next cancellation request.
    if (!IsRegisteredAtBank(member->get("cms_status"))) return stop(kChannelChangeUnregisteredText);
    ChannelChange c = raw;
    for (std::string* f : {&c.bank_code, &c.account_no, &c.account_jumin, &c.card_no,
                           &c.card_expiry, &c.card_mobile})
        *f = Trim(*f);
    c.bank_code = FullBankCode(c.bank_code);
    std::map<std::string, std::string> fresh;
    std::string note, logText;
    if (!card) {
        const std::string bank = Bank3(c.bank_code);
        if (bank.empty()) return stop("CMS출금인경우 거래은행은 반드시 선택해야 합니다.");
        if (c.bank_code.size() != 7 || !IsAllDigits(c.bank_code)) return stop(kBankCodeInvalidText);
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
        if (!IsListedBank(db, s, bank)) return stop(kBankCodeInvalidText);
        if (!IsStorableText(c.account_name)) return stop(UnstorableTextMessage("예금주명"));
        if (HasControlCharacter(c.account_name, false))
            return stop(ControlCharacterMessage("예금주명"));
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

}  // namespace qx
