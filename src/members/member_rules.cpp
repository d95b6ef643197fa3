#include "members/member_rules.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include "db/bank_rules.h"

namespace qx {

namespace {

std::string_view Trimmed(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

bool IsSuhyupCentral(std::string_view a) {
    static constexpr std::array<std::string_view, 22> kMiddle{
        "43", "44", "45", "47", "49", "59", "61", "62", "63", "64", "66",
        "67", "68", "74", "75", "78", "81", "82", "83", "84", "85", "93"};
    if (a.size() == 11) {
        return std::find(kMiddle.begin(), kMiddle.end(), a.substr(3, 2)) != kMiddle.end();
    }
    if (a.size() == 12) return a[0] == '2' || a[0] == '7' || a[0] == '9';
    if (a.size() == 14) {
        const std::string_view head = a.substr(0, 3);
        return (head >= "481" && head <= "489") || head == "493";
    }
    return false;
}

}  // namespace

std::optional<std::string> ClassifyGroupAccount(std::string_view chosenBank,
                                                std::string_view account) {
    account = Trimmed(account);
    if (chosenBank == kBankSuhyup || chosenBank == kBankSuhyupCentral) {
        return std::string(IsSuhyupCentral(account) ? kBankSuhyupCentral : kBankSuhyup);
    }
    if (chosenBank == kBankNh || chosenBank == kBankNhCentral) {
        const std::string kind = NhAccountKind(account);
        if (kind == kNhCentral) return std::string(kBankNh);
        if (kind == kNhLocal) return std::string(kBankNhCentral);
        return std::string(kAccountUnclassifiable);
    }
    return std::nullopt;
}

std::string GroupAccountMessage(std::string_view chosenBank, std::string_view account) {
    const auto result = ClassifyGroupAccount(chosenBank, account);
    if (!result || *result == chosenBank) return {};
    const bool suhyup = chosenBank == kBankSuhyup || chosenBank == kBankSuhyupCentral;
    if (*result == kAccountUnclassifiable) {
        return suhyup ? "입력한 계좌번호가 수협(은행,중앙회) 계좌구분체계에 맞지 않아 확인에 "
                        "실패하였습니다."
                      : "입력한 계좌번호가 농협(은행,중앙회)계좌구분체계에 맞지 않아 확인에 "
                        "실패하였습니다.";
    }
    if (*result == kBankSuhyup)
        return "입력하신 계좌는 거래은행을 [수협은행]으로 등록하셔야 합니다.";
    if (*result == kBankSuhyupCentral) {
        return "입력하신 계좌는 거래은행을 [수협중앙회]로 등록하셔야 합니다.";
    }
    if (*result == kBankNh) return "입력하신 계좌는 거래은행을 [농협은행]로 등록하셔야 합니다.";
    return "입력하신 계좌는 거래은행을 [농협중앙회]로 등록하셔야 합니다.";
}

std::string CancelledCmsStatus(std::string_view cmsStatus) {
    const std::string_view s = Trimmed(cmsStatus);
    return s == "0" || s == "2" ? "13" : "11";
}

std::string TenDigits(long long payerNumber) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%010lld", payerNumber);
    return buf;
}

std::size_t CharacterCount(std::string_view text) {
    std::size_t n = 0;
    for (unsigned char c : text)
        if ((c & 0xC0) != 0x80) ++n;
    return n;
}

std::string LeftCharacters(std::string_view text, std::size_t count) {
    std::size_t n = 0, i = 0;
    for (; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) {
            if (n == count) break;
            ++n;
        }
    }
    return std::string(text.substr(0, i));
}

std::string ReplacedCompanyText(const std::string& company, long long oldNumber,
                                long long newNumber) {
    const std::string suffix =
        "(" + std::to_string(oldNumber) + "->" + std::to_string(newNumber) + " 변경)";
    const std::size_t room = 32 - std::min<std::size_t>(32, CharacterCount(suffix));
    return LeftCharacters(company, room) + suffix;
}

std::optional<long long> ParseSignedWhole(std::string_view text) {
    text = Trimmed(text);
    bool negative = false;
    if (!text.empty() && text.front() == '-') {
        negative = true;
        text.remove_prefix(1);
    }
    if (text.empty()) return std::nullopt;
    long long value = 0;
    bool digit = false;
    for (char c : text) {
        if (c == ',') continue;
        if (c < '0' || c > '9') return std::nullopt;
        digit = true;
        value = value * 10 + (c - '0');
        if (value > 2147483647LL) return std::nullopt;
    }
    if (!digit) return std::nullopt;
    return negative ? -value : value;
}

std::string PeriodEndMonth(const std::string& startMonth, int months) {
    if (startMonth.size() != 7 || startMonth[4] != '-' ||
        !IsAllDigits(std::string_view(startMonth).substr(0, 4)) ||
        !IsAllDigits(std::string_view(startMonth).substr(5, 2)) || months < 1) {
        return {};
    }
    const int year = std::stoi(startMonth.substr(0, 4));
    const int month = std::stoi(startMonth.substr(5, 2));
    if (month < 1 || month > 12) return {};
    const int index = year * 12 + (month - 1) + months - 1;
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02d-%02d", (index / 12) % 100, index % 12 + 1);
    return buf;
}

bool IsCancellationState(std::string_view cmsStatus) {
    return cmsStatus == "11" || cmsStatus == "12" || cmsStatus == "13";
}

std::string EscapeLikePattern(std::string_view text, char escape) {
    std::string out;
    for (const char c : text) {
        if (c == '%' || c == '_' || c == escape) out += escape;
        out += c;
    }
    return out;
}

bool IsRegisteredAtBank(std::string_view cmsStatus) {
    return cmsStatus == "3" || cmsStatus == "6" || cmsStatus == "7" || cmsStatus == "8";
}

std::pair<std::string, std::string> ReissuedCertificate(const std::string& kind,
                                                        const std::string& mobile) {
    const bool authenticated = !kind.empty() && kind != "0" && kind != "4";
    return {authenticated ? "1" : "", authenticated ? mobile : ""};
}

int PeriodEndYear(const std::string& startMonth, int months) {
    const std::string end = PeriodEndMonth(startMonth, months);
    if (end.empty()) return 0;
    const int year = std::stoi(startMonth.substr(0, 4));
    const int month = std::stoi(startMonth.substr(5, 2));
    return (year * 12 + (month - 1) + months - 1) / 12;
}

std::string FullBankCode(const std::string& code) {
    return code.size() == 3 && IsAllDigits(code) ? code + "0000" : code;
}

bool IsPhoneCarrierCode(std::string_view code) {
    return code == "00" || code == "11" || code == "16" || code == "19";
}

bool IsFileChannelColumn(std::string_view column) {
    return column == "bank_code" || column == "account_no" || column == "account_jumin";
}

bool HasControlCharacter(std::string_view text, bool multiLine) {
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (multiLine && (c == '\n' || c == '\r' || c == '\t')) continue;
        if (c < 0x20 || c == 0x7f) return true;
    }
    return false;
}

std::string ControlCharacterMessage(std::string_view field) {
    return std::string(field) + "에 줄바꿈이나 탭 같은 제어문자는 입력할 수 없습니다.";
}

std::string PeriodEndCaption(const std::string& endMonth) {
    if (endMonth.size() != 5) return {};
    return "20" + endMonth.substr(0, 2) + "년 " + endMonth.substr(3, 2) + "월 까지";
}

}  // namespace qx
