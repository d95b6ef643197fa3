#include "platform/text_checks.h"

#include <algorithm>
#include <filesystem>

#include "platform/trim.h"

namespace qx {
namespace {

bool IsAsciiAlnum(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

}  // namespace

bool IsAlphaNumeric(std::string_view text) {
    const std::string trimmed = Trim(text);
    return !trimmed.empty() && std::all_of(trimmed.begin(), trimmed.end(), IsAsciiAlnum);
}

bool IsAllDigits(std::string_view text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool IsStorableText(std::string_view utf8) {
    for (std::size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        std::size_t length = 0;
        unsigned int code = 0;
        if (lead < 0x80) {
            ++i;
            continue;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
            code = lead & 0x1F;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            code = lead & 0x0F;
        } else {
            return false;  // four-byte characters, stray continuation bytes, invalid leads
        }
        if (i + length > utf8.size()) return false;
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(utf8[i + k]);
            if ((next & 0xC0) != 0x80) return false;
            code = (code << 6) | (next & 0x3F);
        }
        // Overlong three-byte forms and UTF-16 surrogates are not characters.
        if (length == 3 && (code < 0x800 || (code >= 0xD800 && code <= 0xDFFF))) return false;
        i += length;
    }
    return true;
}

std::string UnstorableTextMessage(std::string_view field) {
    return std::string(field) +
           "에 저장할 수 없는 문자(이모지 등)가 있습니다. 해당 문자를 지우고 다시 입력하십시오.";
}

bool IsDigitsAndDash(std::string_view text) {
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return (c >= '0' && c <= '9') || c == '-'; });
}

int CheckEmailText(std::string_view text, Interaction& ui) {
    if (text.empty()) return kEmailInvalid;
    const auto at = std::count(text.begin(), text.end(), '@');
    const auto dots = std::count(text.begin(), text.end(), '.');
    // Any byte of a multi-byte character counts as "other": only the
    // presence matters.
    const bool others = std::any_of(text.begin(), text.end(), [](char c) {
        return !IsAsciiAlnum(c) && c != '-' && c != '@' && c != '.';
    });
    if (at != 1) return kEmailInvalid;
    if (others && !ui.confirm("특수문자(&,% 등) 또는 한글이 포함되어 있습니다. \n"
                              "메일발송서비스 이용시 제외될수 있습니다.\n"
                              "무시하고 진행 하시겠습니까?")) {
        return kEmailDeclined;
    }
    return dots >= 1 && dots <= 3 ? kEmailValid : kEmailInvalid;
}

bool MakeFolderIfMissing(const std::string& path) {
    if (path.empty()) return false;
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) return true;
    std::filesystem::create_directories(path, ec);
    return std::filesystem::is_directory(path, ec);
}

long long GetFileSize(const std::string& path) {
    std::error_code ec;
    const auto size = std::filesystem::file_size(path, ec);
    return ec ? -1 : static_cast<long long>(size);
}

}  // namespace qx
