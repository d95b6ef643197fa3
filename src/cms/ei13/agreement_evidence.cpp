#include "cms/ei13/agreement_evidence.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

#include "cms/workspace/cms_record.h"
#include "members/agreement_file.h"
#include "platform/amount_text.h"
#include "platform/interaction.h"
#include "platform/text_checks.h"

namespace qx {

namespace fs = std::filesystem;

namespace {

std::string Lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

bool IsImageExtension(const std::string& ext) {
    const std::string e = Lower(ext);
    return e == "jpg" || e == "jpeg" || e == "gif" || e == "tif" || e == "pdf";
}

bool IsVoiceExtension(const std::string& ext) {
    const std::string e = Lower(ext);
    return e == "mp3" || e == "wav" || e == "wma";
}

std::string ExtensionOf(const std::string& path) {
    std::string ext = fs::path(path).extension().string();
    if (!ext.empty() && ext[0] == '.') ext.erase(0, 1);
    return ext;
}

// A fixed-width field of the EI13 record: text left-aligned, blank-padded.
std::string Text(const std::string& value, int width) {
    return RecordBuilder(width).text(value, width).finish();
}

std::string Digits(long long value, int width) {
    return RecordBuilder(width).number(value, width).finish();
}

std::string Block(std::string bytes) {
    bytes.resize(kEi13BlockSize, ' ');
    return bytes;
}

}  // namespace

bool IsAgreementExtension(const std::string& ext) {
    return IsImageExtension(ext) || IsVoiceExtension(ext);
}

std::optional<AgreementFileName> ParseAgreementFileName(const std::string& fileName) {
    const fs::path p(fileName);
    const std::string ext = ExtensionOf(fileName);
    if (!IsAgreementExtension(ext)) return std::nullopt;
    const std::string stem = p.stem().string();
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (true) {
        const std::size_t bar = stem.find('_', start);
        parts.push_back(stem.substr(start, bar == std::string::npos ? bar : bar - start));
        if (bar == std::string::npos) break;
        start = bar + 1;
    }
    if (parts.size() != 5) return std::nullopt;
    return AgreementFileName{parts[0], parts[1], parts[2], parts[3], parts[4], ext};
}

std::string AgreementSizeText(long long size) {
    const std::string line = "\r\n선택한 파일 크기 : " + FormatAmount(size) + " byte";
    if (size < kAgreementMinimumSize)
        return "30Byte 이상의 출금동의자료 파일을 선택 하십시오." + line;
    return "300,000Byte(300Kbyte) 미만의 CMS 출금동의자료 파일을 선택 하십시오." + line;
}

std::string AgreementChooserError(const std::string& path, const std::string& kind) {
    if (path.empty()) return kChooserNothingText;
    if (kind == "2") return kChooserSignatureText;
    const std::string ext = ExtensionOf(path);
    const bool voiceKind = kind == "4" || kind == "5";
    if (voiceKind ? !IsVoiceExtension(ext) : !IsImageExtension(ext)) {
        return "선택한 출금동의자료의 확장자가 자료구분값[" + kind +
               "]과 맞지 않습니다.\r\n알맞은 자료로 다시 선택 하십시오.";
    }
    const long long size = GetFileSize(path);
    if (size < 0) return kChooserNothingText;
    if (size < kAgreementMinimumSize || size >= kAgreementFileLimit) return AgreementSizeText(size);
    return {};
}

bool AttachAgreementFile(Database& db, const SessionContext& s, Interaction& ui,
                         long long memberInx, const std::string& path, const std::string& kind) {
    const std::string error = AgreementChooserError(path, kind);
    if (!error.empty()) {
        ui.inform(error, kDefaultTitle);
        return false;
    }
    for (const char* label : kAgreementKinds) {
        if (std::string(label).substr(0, 1) == kind)
            return SetAgreementFile(db, s, ui, memberInx, path, label);
    }
    ui.inform(kChooserNothingText, kDefaultTitle);
    return false;
}

std::string Ei13HeaderBlock(const std::string& date, const std::string& orgCode, long long count) {
    return Block("AE1112110000000" + Text(date, 8) + Text(orgCode, 20) + Digits(count, 7));
}

long long Ei13RecordBlocks(long long size) {
    return (119 + size + kEi13BlockSize - 1) / kEi13BlockSize;
}

std::string Ei13DataRecord(const std::string& orgCode, const Ei13Entry& e) {
    const auto size = static_cast<long long>(e.content.size());
    std::string out = "AE111222" + Digits(e.serial, 7) + std::string(10, ' ') + Text(orgCode, 20) +
                      Text(e.payer, 30) + Text(e.bank3, 3) + Text(e.account, 20) +
                      Text(e.signDate, 8) + Text(e.kind, 1) + Text(e.ext, 5) + Digits(size, 7);
    out += e.content;
    out.resize(static_cast<std::size_t>(Ei13RecordBlocks(size) * kEi13BlockSize), ' ');
    return out;
}

std::string Ei13TrailerBlock(const std::string& orgCode, long long count, long long dataBlocks) {
    return Block("AE1112339999999" + Text(orgCode, 20) + Digits(count, 7) + Digits(dataBlocks, 10));
}

}  // namespace qx
