// The text rules of SMS and LMS notices: the two kinds and their byte limits
// (CP949 bytes, a Hangul syllable counts two), templates and their
// placeholders, personalising a text for one member and cutting it to the
// limit on whole characters, the mobile-number rule and message ids.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "platform/interaction.h"

namespace qx {

enum class SmsKind { Sms, Lms };

inline constexpr long long kSmsLimit = 90;
inline constexpr long long kLmsLimit = 2000;
inline constexpr long long kLmsTitleLimit = 64;

// MSG_TYPE of the queued row: "0" SMS, "5" LMS.
const char* SmsKindCode(SmsKind kind);
long long SmsKindLimit(SmsKind kind);
// "SMS(90Byte/22원)" or "LMS(2,000byte/44원)".
const char* SmsKindLabel(SmsKind kind);
// The counter beside the message box: "95 / 2000 byte".
std::string SmsByteCounterText(long long bytes, SmsKind kind);

// Asks to switch to LMS when an SMS text passes 90 bytes, or back to SMS when
// an LMS text fits in 90; returns the kind to use afterwards.
SmsKind AskKindSwitch(const std::string& text, SmsKind kind, Interaction& ui);

// Templates of Login.ini section SMS, keys MSG0..MSG5.
inline constexpr int kTemplateCount = 6;
const std::array<const char*, kTemplateCount>& DefaultSmsTemplates();

// Old "[$…" forms and lower-case forms of the placeholders become the
// current upper-case ones.
std::string NormaliseTemplate(const std::string& text);

// The placeholder buttons of the send screens: text inserted and caption.
struct SmsPlaceholder {
    const char* token;
    const char* caption;
};
const std::array<SmsPlaceholder, 7>& SmsPlaceholders();

// The member values a placeholder stands for, as stored.
struct SmsMemberValues {
    std::string name;         // [@U]
    std::string scheduled;    // [@PM], [@PM0]: scheduled sales or the file's amount
    std::string outstanding;  // [@P], [@P0]
    std::string transferDay;  // [@D]
};

// The text with every placeholder replaced. `company` stands for [@C]. One
// pass from left to right: a value that itself reads like a placeholder (a
// member named "[@P]") is sent as it is, never replaced again.
std::string PersonaliseMessage(const std::string& text, const std::string& company,
                               const SmsMemberValues& values);

// The first `limit` CP949 bytes of the text; half a Hangul syllable at the
// cut (and any NUL) becomes a blank, so a syllable is never split.
struct CutMessage {
    std::string text;
    long long bytes = 0;
    bool cut = false;
};
CutMessage CutToLimit(const std::string& text, long long limit);

// The notice shown when `count` personalised rows were cut.
std::string CutRowsNotice(long long count, SmsKind kind);
inline constexpr const char* kCutRowsTitle = "메세지 길이 초과 안내";

// The number with every "-" removed.
std::string WithoutDashes(const std::string& text);
// A Korean mobile number (dashes already removed): 10 or 11 digits beginning
// 010, 011, 016, 017, 018 or 019.
bool IsMobileNumber(const std::string& digits);

// CMID: the send stamp (yymmddhhmmss), the institution number and the
// message's sequence number in the send in five digits.
std::string MakeCmid(const std::string& stamp, long long inx, long long sequence);

// The LMS title: empty asks whether "[안내] " + sender name may be used
// (nullopt-like empty result when declined); over 64 bytes is refused with a
// message. Returns false when the send must stop; `title` holds the one to use.
bool CheckLmsTitle(std::string& title, const std::string& senderName, Interaction& ui);

inline constexpr const char* kNoTargetsText = "발송할 대상이 없습니다.";
inline constexpr const char* kEmptyMessageText = "전송할 메시지가 없습니다.";
inline constexpr const char* kEmptyFileMessageText = "전송할 SMS메시지가 없습니다.";
inline constexpr const char* kBadSenderNumberText = "지정된 발신번호가 없거나 잘못된 번호입니다.";
inline constexpr const char* kNothingSentText = "전송 대상이 없습니다.";
inline constexpr const char* kSmsServerUnreachableText =
    "SMS 서버에 연결하지 못했습니다. 잠시후 다시 시도 하십시오.";

}  // namespace qx
