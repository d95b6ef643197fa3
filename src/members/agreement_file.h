// Debit-agreement evidence files of members: setting one file on the member
// screens and the batch setting of frmDoc21_1 from a folder or a workbook.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace qx {

class Database;
class Interaction;
class FtpSession;
struct SessionContext;

inline constexpr long long kAgreementFileLimit = 300000;  // bytes, exclusive
inline constexpr const char* kAgreementUploadFailedText = "동의자료 업로드에 실패하였습니다.";
inline constexpr const char* kAgreementReplaceQuestionText =
    "출금동의자료 파일이 이미 설정되어 있습니다. 재설정하시겠습니까?";
inline constexpr const char* kBatchAgreementQuestionText =
    "오류내역이 없는 회원은 정상 처리합니다. 진행 하시겠습니까?";

// Kinds of agreement evidence as the batch screen names them.
inline constexpr const char* kAgreementKinds[] = {"1_서면", "2_공인전자서명", "3_일반전자서명",
                                                  "4_녹취", "5_ARS",          "6_기타문서"};

// The folder agreement files are kept in for the EI13 file.
std::string AgreementFolder(const SessionContext& session);

// Error text of a file for a kind, "" when the file may be used: the kind,
// the extension, whether they fit, existence and size.
std::string AgreementFileError(const std::string& path, const std::string& kind);

// Copies the file into the agreement folder under the name the EI13 file
// reads (payer_bank_account_yyyymmdd_kind.ext), uploads it when `uploader` is
// given and marks the member's agreement as set. Refusals are shown; false
// then and nothing is changed.
bool SetAgreementFile(Database& db, const SessionContext& session, Interaction& ui,
                      long long memberInx, const std::string& path, const std::string& kind,
                      FtpSession* uploader = nullptr);

inline constexpr const char* kAgreementNoRowsText = "처리가능한 데이타가 없습니다.";
inline constexpr const char* kAgreementWorkbookUnreadableText =
    "Excel 파일을 읽을 수 없습니다. (Excel 97-2003 통합문서(*.xls) 파일만 사용할 수 있습니다.)";
// Shown when a required column is missing from the sheet's first row.
inline constexpr const char* kAgreementWorkbookColumnsText =
    "Excel 처리를 위한 필수정보가 부족합니다.\n"
    "[처리순번,납부자번호(또는 외부참조키),동의자료구분,동의자료경로]";

struct AgreementCandidate {
    std::string seq;  // "처리순번" of a workbook row
    std::string path;
    std::string payer;  // as named by the file
    long long member_inx = 0;
    std::string kind;
    std::string error;  // "오류내역"; empty = will be processed
};

// Files of the folder named after a new CMS member without agreement, each
// tested.
std::vector<AgreementCandidate> ScanAgreementFolder(Database& db, const SessionContext& session,
                                                    const std::string& folder);

// The rows of a workbook's first sheet (columns "처리순번", "납부자번호" or
// "외부참조키", "동의자료구분", "동의자료경로"), each tested. A path that is not
// absolute is taken from the workbook's folder. nullopt after the refusal
// shown (unreadable file, missing columns, no rows).
std::optional<std::vector<AgreementCandidate>> ScanAgreementWorkbook(Database& db,
                                                                     const SessionContext& session,
                                                                     Interaction& ui,
                                                                     const std::string& path);

// Processes the candidates without error after the user's yes; errors found
// now are written back into the candidates. Returns the number set.
long long ApplyAgreementCandidates(Database& db, const SessionContext& session, Interaction& ui,
                                   std::vector<AgreementCandidate>& candidates,
                                   FtpSession* uploader = nullptr);

}  // namespace qx
