#include "cms/eb21/eb21_record.h"

#include <algorithm>
#include <cctype>

#include "cms/eb13/eb13_record.h"
#include "cms/workspace/cms_record.h"
#include "cms/workspace/file_names.h"
#include "platform/trim.h"

namespace qx {

namespace {

constexpr const char* kFullWidthBlank = "\xE3\x80\x80";  // U+3000

// The text split into its UTF-8 characters.
std::vector<std::string> Characters(const std::string& utf8) {
    std::vector<std::string> out;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        std::size_t n = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3 : 4;
        n = std::min(n, utf8.size() - i);
        out.push_back(utf8.substr(i, n));
        i += n;
    }
    return out;
}

// An ASCII character as its full-width form (U+FF01..U+FF5E, the blank U+3000).
std::string FullWidth(const std::string& ch) {
    if (ch.size() != 1) return ch;
    const auto c = static_cast<unsigned char>(ch[0]);
    if (c == ' ') return kFullWidthBlank;
    if (c < 0x21 || c > 0x7E) return ch;
    const unsigned code = 0xFF00 + (c - 0x20);
    std::string out;
    out += static_cast<char>(0xE0 | (code >> 12));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
    return out;
}

std::string TwoDigits(long long n) {
    const std::string s = "0" + std::to_string(n < 0 ? 0 : n);
    return s.substr(s.size() - 2);
}

}  // namespace

std::string PassbookText(const std::string& text, bool upper) {
    std::string trimmed = Trim(text);
    if (upper) {
        std::transform(trimmed.begin(), trimmed.end(), trimmed.begin(), [](unsigned char c) {
            return c < 0x80 ? static_cast<char>(std::toupper(c)) : static_cast<char>(c);
        });
    }
    auto chars = Characters(trimmed);
    chars.resize(kPassbookCharacters, " ");
    std::string out;
    for (const auto& ch : chars) out += FullWidth(ch);
    return out;
}

PassbookTexts::PassbookTexts(const std::string& accountTitle, const std::string& cmsPrint)
    : fallback(PassbookText(accountTitle, true)) {
    std::size_t start = 0;
    while (start <= cmsPrint.size() && !cmsPrint.empty()) {
        const auto comma = cmsPrint.find(',', start);
        const std::string one =
            cmsPrint.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        alternatives.push_back(PassbookText(one));
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
}

const std::string& PassbookTexts::forKey(const std::string& printKey) const {
    if (printKey.size() == 1 && printKey[0] >= '1' && printKey[0] <= '9') {
        const std::size_t n = static_cast<std::size_t>(printKey[0] - '0');
        if (n <= alternatives.size()) return alternatives[n - 1];
    }
    return fallback;
}

std::string PassbookWithNumber(const std::string& passbook, long long number, std::size_t keep) {
    auto chars = Characters(passbook);
    if (chars.size() > keep) chars.resize(keep);
    std::string out;
    for (const auto& ch : chars)
        if (ch != kFullWidthBlank) out += ch;
    return out + TwoDigits(number);
}

std::string Eb21HolderNumber(const std::string& accountJumin) {
    const auto chars = Characters(accountJumin);
    if (chars.size() <= 10) return accountJumin;
    std::string out;
    for (std::size_t i = 0; i < 6; ++i) out += chars[i];
    return out;
}

std::string Eb21Header(const std::string& orgCode, const CivilDate& fileDate,
                       const std::string& bankCode, const std::string& accountCode) {
    std::string bank = Trim(bankCode);
    if (bank.size() < 7) bank.insert(0, 7 - bank.size(), '0');
    RecordBuilder r(kLongRecordLength);
    r.text("H", 1)
        .text("00000000", 8)
        .text(orgCode, 10)
        .text(DiskFileName(kEb21Kind, fileDate), 8)
        .text(Yymmdd(fileDate), 6)
        .text(bank, 7)
        .text(Trim(accountCode), 16);
    return r.finish();
}

std::string Eb21DataRecord(const Eb21Record& d, const std::string& orgCode) {
    RecordBuilder r(kLongRecordLength);
    r.text("R", 1)
        .number(d.serial, 8)
        .text(orgCode, 10)
        .text(Eb13BankCode(d.bankCode), 7)
        .text(d.accountNo, 16)
        .number(d.amount, 13)
        .text(d.holderNumber, 13)
        .blanks(5)
        .text(d.passbook, 16)
        .blanks(2)
        .text(d.payerNumber, 20)
        .blanks(5)
        .text(d.amountKind, 1)
        .text(d.cashReceipt, 12)
        .blanks(21);
    return r.finish();
}

std::string Eb21Trailer(const std::string& orgCode, const CivilDate& fileDate, long long count,
                        long long total) {
    RecordBuilder r(kLongRecordLength);
    r.text("T", 1)
        .text("99999999", 8)
        .text(orgCode, 10)
        .text(DiskFileName(kEb21Kind, fileDate), 8)
        .number(count, 8)
        .number(count, 8)
        .number(total, 13)
        .text("000000000000000000000", 21);
    return r.finish();
}

}  // namespace qx
