// Rules of the member record that need no database: the NH and Suhyup
// account classification, the cancellation mapping, the text of payer
// numbers and of the old row of a re-issued member.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/text_checks.h"

namespace qx {

// Collection methods (settle_accounts) with a channel of their own.
inline constexpr const char* kSettleCms = "1";
inline constexpr const char* kSettleGiro = "3";
inline constexpr const char* kSettlePhone = "4";
inline constexpr const char* kSettleCard = "5";

inline constexpr const char* kBankSuhyup = "007";         // 수협은행
inline constexpr const char* kBankSuhyupCentral = "030";  // 수협중앙회
inline constexpr const char* kBankNh = "011";             // 농협은행
inline constexpr const char* kBankNhCentral = "012";      // 농협중앙회
inline constexpr const char* kAccountUnclassifiable = "처리불가";

// Which bank of the NH or Suhyup group an account number belongs to, for a
// chosen bank of 007, 030, 011 or 012: one of those four codes, or
// "처리불가". nullopt for any other chosen bank (no classification).
std::optional<std::string> ClassifyGroupAccount(std::string_view chosenBank,
                                                std::string_view account);

// The refusing message when the classification disagrees with the chosen
// bank; empty when they agree or the bank is outside both groups.
std::string GroupAccountMessage(std::string_view chosenBank, std::string_view account);

// cms_status after a cancellation: 13 from 0 and 2, 11 from anything else.
std::string CancelledCmsStatus(std::string_view cmsStatus);

// "0000000042" for 42.
std::string TenDigits(long long payerNumber);

// The trade name of a row replaced by `newNumber`: its first characters and
// "(" + old + "->" + new + " 변경)", within 32 characters in all.
std::string ReplacedCompanyText(const std::string& company, long long oldNumber,
                                long long newNumber);

// Number of characters (not bytes) of a UTF-8 text, as varchar columns count.
std::size_t CharacterCount(std::string_view text);
// The first `count` characters of a UTF-8 text.
std::string LeftCharacters(std::string_view text, std::size_t count);

// A whole number that may carry a leading '-' (blanks and thousands commas
// allowed); nullopt for anything else.
std::optional<long long> ParseSignedWhole(std::string_view text);

// The end month "yy-mm" of a period that starts in `startMonth` ("yyyy-mm")
// and lasts `months` months; empty when the start month is not a month.
std::string PeriodEndMonth(const std::string& startMonth, int months);

// "2027년 03월 까지" for the end month "27-03" as the new-member screen shows it.
std::string PeriodEndCaption(const std::string& endMonth);

}  // namespace qx
