// Rules of the member record that need no database: the NH and Suhyup
// account classification, the cancellation mapping, the text of payer
// numbers and of the old row of a re-issued member.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>

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

// 11, 12 and 13: the registration is cancelled or its cancellation is on
// its way to the bank.
bool IsCancellationState(std::string_view cmsStatus);

// 3, 6, 7 and 8: the bank holds the member's registration.
bool IsRegisteredAtBank(std::string_view cmsStatus);

// certificate_kind and certificate_number of a re-issued member: '1' and the
// entered mobile when an authentication method other than "해당없음" was
// given, else both empty.
std::pair<std::string, std::string> ReissuedCertificate(const std::string& kind,
                                                        const std::string& mobile);

// The text with '%', '_' and `escape` itself prefixed by `escape`, for a
// LIKE pattern that matches the text literally.
std::string EscapeLikePattern(std::string_view text, char escape);

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

// The four-digit year of that end month; 0 when the start month is not a
// month. A year past 2099 cannot be written as "yy-mm" without wrapping.
int PeriodEndYear(const std::string& startMonth, int months);

// "2027년 03월 까지" for the end month "27-03" as the new-member screen shows it.
std::string PeriodEndCaption(const std::string& endMonth);

inline constexpr const char* kBankCodeInvalidText =
    "거래은행 코드가 잘못되었습니다. 은행 목록의 은행을 선택하십시오. (은행 3자리 + 지점 4자리)";
inline constexpr const char* kCarrierInvalidText =
    "결제통신사 코드가 잘못되었습니다. (KT 00, SKT 11, KTF 16, LGT 19)";
inline constexpr const char* kChannelChangeUnregisteredText =
    "은행에 등록된 회원(CMS상태 신규신청완료, 출금신청중, 출금완료, 출금불능)만 계좌/카드를 "
    "변경할 수 있습니다. 등록 전 회원은 고객카드에서 계좌정보를 수정하십시오.";
inline constexpr const char* kAlreadyCancelledText = "이미 해지된 회원입니다.";
inline constexpr const char* kNegativeInitialNonpaymentText =
    "초기미수금이 잘못 되었습니다. (0원 이상만 입력할 수 있습니다.)";
inline constexpr const char* kPeriodBeyondCenturyText =
    "기간이 너무 깁니다. 기간 종료월은 2099년 12월을 넘을 수 없습니다.";
inline constexpr const char* kPeriodAlreadyEndedText =
    "기간 종료월이 이미 지났습니다. 이체개시월 또는 개월수를 확인하십시오.";

// The 7-digit bank code: a code of exactly three digits gets the branch part
// "0000"; anything else comes back unchanged.
std::string FullBankCode(const std::string& code);

// Phone-payment carrier codes: KT 00, SKT 11, KTF 16, LGT 19.
bool IsPhoneCarrierCode(std::string_view code);

// Columns written into fixed byte fields of the bank files (bank code,
// account or card number, holder number).
bool IsFileChannelColumn(std::string_view column);

// Control characters (line breaks, tabs, ...) in a typed text; line breaks
// and tabs pass when `multiLine`.
bool HasControlCharacter(std::string_view text, bool multiLine);
std::string ControlCharacterMessage(std::string_view field);

}  // namespace qx
