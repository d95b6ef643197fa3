#include "messaging/sms_text.h"

#include <cctype>
#include <cstdio>

#include "platform/amount_text.h"
#include "platform/codepage.h"

namespace qx {

const char* SmsKindCode(SmsKind kind) {
    return kind == SmsKind::Lms ? "5" : "0";
}

long long SmsKindLimit(SmsKind kind) {
    return kind == SmsKind::Lms ? kLmsLimit : kSmsLimit;
}

const char* SmsKindLabel(SmsKind kind) {
    return kind == SmsKind::Lms ? "LMS(2,000byte/44원)" : "SMS(90Byte/22원)";
}

std::string SmsByteCounterText(long long bytes, SmsKind kind) {
    return std::to_string(bytes) + " / " + std::to_string(SmsKindLimit(kind)) + " byte";
}

SmsKind AskKindSwitch(const std::string& text, SmsKind kind, Interaction& ui) {
    const long long bytes = ByteLength(text);
    if (kind == SmsKind::Sms && bytes > kSmsLimit) {
        const bool yes = ui.confirm(
            "입력하신 메세지의 길이가 SMS 허용 길이(90 Byte)를 초과 하였습니다.\r\n"
            "LMS(2,000 Byte)로 변경 하시겠습니까?\r\n\r\n※ LMS 이용시 추가 비용이 발생합니다.",
            "LMS 변경 확인");
        return yes ? SmsKind::Lms : kind;
    }
    if (kind == SmsKind::Lms && bytes <= kSmsLimit) {
        const bool yes = ui.confirm(
            "입력하신 메세지의 길이가 SMS 허용 길이(90 Byte) 미만 입니다.\r\n"
            "LMS에서 SMS로 변경 하시겠습니까?\r\n\r\n※ SMS는 LMS 보다 비용이 저렴합니다.",
            "SMS 변경 확인");
        return yes ? SmsKind::Sms : kind;
    }
    return kind;
}

const std::array<const char*, kTemplateCount>& DefaultSmsTemplates() {
    static const std::array<const char*, kTemplateCount> templates = {
        "[@C] [@U]님 [@D]일에 미납된 금액을 재출금 합니다.",
        "[@U]님 [@C]의 자동납부 신청이 완료 되었습니다.",
        "[@C] [@U]님 자동납부해지 되었습니다.",
        "[@C] [@P]원이 CMS신청됩니다. 잔액 확인바랍니다",
        "[@C] [@P]원이 납부완료 되었습니다. 감사합니다.",
        "[@C] [@P]원이 미납되었습니다. 추후 재출금 됩니다.",
    };
    return templates;
}

const std::array<SmsPlaceholder, 7>& SmsPlaceholders() {
    static const std::array<SmsPlaceholder, 7> placeholders = {{
        {"[@C]", "[@C] 업체명"},
        {"[@U]", "[@U] 고객명"},
        {"[@PM]", "[@PM] 매출예정액"},
        {"[@P]", "[@P] 미수금"},
        {"[@D]", "[@D] 이체예정일"},
        {"[@PM0]", "[@PM0] 매출예정액(,)"},
        {"[@P0]", "[@P0] 미수금(,)"},
    }};
    return placeholders;
}

namespace {

bool StartsWithIgnoringCase(const std::string& text, std::size_t at, const char* word) {
    for (std::size_t i = 0; word[i]; ++i) {
        if (at + i >= text.size()) return false;
        if (std::tolower(static_cast<unsigned char>(text[at + i])) != word[i]) return false;
    }
    return true;
}

}  // namespace

std::string NormaliseTemplate(const std::string& text) {
    // "pm" before "p", so that "[$pm" is not read as "[$p" followed by "m".
    static const char* const kNames[] = {"pm", "c", "u", "p", "d"};
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        if (text[i] == '[' && i + 1 < text.size() && (text[i + 1] == '$' || text[i + 1] == '@')) {
            bool replaced = false;
            for (const char* name : kNames) {
                if (StartsWithIgnoringCase(text, i + 2, name)) {
                    out += "[@";
                    for (const char* c = name; *c; ++c)
                        out += static_cast<char>(std::toupper(static_cast<unsigned char>(*c)));
                    i += 2 + std::char_traits<char>::length(name);
                    replaced = true;
                    break;
                }
            }
            if (replaced) continue;
        }
        out += text[i++];
    }
    return out;
}

std::string PersonaliseMessage(const std::string& text, const std::string& company,
                               const SmsMemberValues& v) {
    const std::pair<const char*, std::string> values[] = {
        {"[@C]", company},
        {"[@U]", v.name},
        {"[@PM]", v.scheduled},
        {"[@P]", v.outstanding},
        {"[@D]", v.transferDay},
        {"[@PM0]", FormatAmount(v.scheduled)},
        {"[@P0]", FormatAmount(v.outstanding)},
    };
    std::string out;
    out.reserve(text.size() + 32);
    for (std::size_t i = 0; i < text.size();) {
        bool replaced = false;
        if (text[i] == '[') {
            for (const auto& [token, value] : values) {
                if (text.compare(i, std::char_traits<char>::length(token), token) == 0) {
                    out += value;
                    i += std::char_traits<char>::length(token);
                    replaced = true;
                    break;
                }
            }
        }
        if (!replaced) out += text[i++];
    }
    return out;
}

CutMessage CutToLimit(const std::string& text, long long limit) {
    CutMessage m;
    const long long bytes = ByteLength(text);
    if (bytes <= limit) {
        m.text = text;
        m.bytes = bytes;
        return m;
    }
    m.text = ByteMid(text, 1, limit);
    m.bytes = ByteLength(m.text);
    m.cut = true;
    return m;
}

std::string CutRowsNotice(long long count, SmsKind kind) {
    return "고객 별 보낼 메세지 중 " + std::to_string(count) +
           " 건이 제한 길이보다 길어\r\n메세지 끝부분이 잘려 보내지게 됩니다.\r\n\r\n※ 제한 길이 "
           ": " +
           std::to_string(SmsKindLimit(kind)) + "Byte (" +
           (kind == SmsKind::Lms ? "한글 1000자, 영문 2000자" : "한글 45자, 영문 90자") +
           ")\r\n보낼 메세지를 수정하시거나 LMS를 이용해 주시기 바랍니다.";
}

std::string WithoutDashes(const std::string& text) {
    std::string out;
    for (char c : text)
        if (c != '-') out += c;
    return out;
}

bool IsMobileNumber(const std::string& digits) {
    if (digits.size() != 10 && digits.size() != 11) return false;
    for (char c : digits)
        if (c < '0' || c > '9') return false;
    static const char* const kPrefixes[] = {"010", "011", "016", "017", "018", "019"};
    for (const char* p : kPrefixes)
        if (digits.compare(0, 3, p) == 0) return true;
    return false;
}

std::string MakeCmid(const std::string& stamp, long long inx, long long sequence) {
    char seq[16];
    std::snprintf(seq, sizeof seq, "%05lld", sequence);
    return stamp + std::to_string(inx) + seq;
}

bool CheckLmsTitle(std::string& title, const std::string& senderName, Interaction& ui) {
    if (title.empty()) {
        const std::string fallback = "[안내] " + senderName;
        if (!ui.confirm("LMS 제목이 비어 있습니다.\r\n미 입력시 아래의 내용으로 제목이 자동 "
                        "설정되어 발송됩니다.\r\n\r\n - 제목 : " +
                            fallback + "\r\n\r\n이 제목으로 발송 하시겠습니까?",
                        "LMS 제목 미입력 안내")) {
            return false;
        }
        title = fallback;
    }
    if (ByteLength(title) > kLmsTitleLimit) {
        ui.inform(
            "LMS 제목의 길이가 제한 길이 보다 깁니다.\r\n※ 제한 길이 : 64Byte (한글 31자, 영문 "
            "64자)",
            kDefaultTitle);
        return false;
    }
    return true;
}

}  // namespace qx
