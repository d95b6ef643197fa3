// Agreement evidence files as the EI13 reads them: the name that carries the
// member's data, the chooser's checks of a file for a kind, and the block
// layout of the EI13 file.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace qx {

inline constexpr int kEi13BlockSize = 1024;
inline constexpr long long kAgreementMinimumSize = 30;  // bytes, inclusive

inline constexpr const char* kChooserNothingText = "선택한 CMS 출금동의자료 파일이 없습니다.";
inline constexpr const char* kChooserSignatureText =
    "지원하지 않는 출금동의자료입니다.\r\n공인전자서명을 사용하는 경우\r\n"
    "쿼리스CMS(0000-0000)로 문의주시기 바랍니다.";
inline constexpr const char* kChooserImageFilter =
    "이미지 파일(*.jpg;*.jpeg;*.gif;*.tif;*.pdf)|*.jpg;*.jpeg;*.gif;*.tif;*.pdf";
inline constexpr const char* kChooserVoiceFilter = "음성 파일(*.mp3;*.wav;*.wma)|*.mp3;*.wav;*.wma";

// payer_bank_account_yyyymmdd_kind.ext
struct AgreementFileName {
    std::string payer, bank3, account, date, kind, ext;
};
// nullopt unless the base name has the five parts and a known extension.
std::optional<AgreementFileName> ParseAgreementFileName(const std::string& fileName);
// Whether the extension (without dot, any case) is one the folder offers.
bool IsAgreementExtension(const std::string& ext);

// The chooser's refusal of `path` for the agreement kind (its digit, "1" to
// "6"), or "" when the file may be attached: nothing chosen, the electronic
// signature kind, an extension of the other medium, under 30 bytes, 300,000
// bytes or more.
std::string AgreementChooserError(const std::string& path, const std::string& kind);
class Database;
class Interaction;
struct SessionContext;

// The member-side chooser's attach: the chooser's checks, then the file
// copied into the agreement folder under the name rule and the member's
// agreement marked as set. False after the refusal shown.
bool AttachAgreementFile(Database& db, const SessionContext& session, Interaction& ui,
                         long long memberInx, const std::string& path, const std::string& kind);

// "30Byte 이상의 …" / "300,000Byte(300Kbyte) 미만의 …" with the size line.
std::string AgreementSizeText(long long size);

// The EI13 blocks. `date` is yyyymmdd.
std::string Ei13HeaderBlock(const std::string& date, const std::string& orgCode, long long count);
struct Ei13Entry {
    long long serial = 0;
    std::string payer;  // as written for the clearing house
    std::string bank3, account, signDate, kind, ext;
    std::string content;  // the agreement file's bytes
};
// The record and its blank fill to the end of its last block.
std::string Ei13DataRecord(const std::string& orgCode, const Ei13Entry& entry);
// Blocks a record of `size` content bytes fills.
long long Ei13RecordBlocks(long long size);
std::string Ei13TrailerBlock(const std::string& orgCode, long long count, long long dataBlocks);

}  // namespace qx
