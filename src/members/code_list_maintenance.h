// The institution's own code lists kept in comboload: collection methods,
// receipt kinds and the display names of the six free member fields.
#pragma once

#include <string>
#include <vector>

namespace qx {

class Database;
class Interaction;
struct SessionContext;

enum class CodeListKind { kCollectionMethod, kReceiptKind, kFreeFieldName };

// The combodivide value of a list: 'settleacnt', 'tallysheet' or 'c_info'.
const char* CodeListName(CodeListKind kind);

// More entries than this in a list refuse another addition.
inline constexpr int kCodeListEntryLimit = 21;

inline constexpr const char* kCodeListFullText = "20개항목 이상 추가 할 수 없습니다.";
inline constexpr const char* kSettleCodeRequiredText = "추가할 수금코드 입력하십시오.";
inline constexpr const char* kSettleCodeTooHighText = "수금코드는 99번 까지만 사용 가능합니다.";
inline constexpr const char* kSettleCodeTooLowText = "수금코드는 10번이상을 입력 하십시요.";
inline constexpr const char* kSettleNameRequiredText = "추가할 수금방식명을 입력 하십시오.";
inline constexpr const char* kSettleCodeDuplicateText = "중복된 수금코드 입니다.";
inline constexpr const char* kReceiptCodeRequiredText = "추가할 영수처리코드 입력하십시오.";
inline constexpr const char* kReceiptNameRequiredText = "추가할 영수처리명을 입력 하십시오.";
inline constexpr const char* kReceiptCodeDuplicateText = "중복된 영수처리코드 입니다.";
// member_user.p_tax holds one character, so a receipt code is one digit.
inline constexpr const char* kReceiptCodeRangeText = "영수처리코드는 0~9 까지만 사용 가능합니다.";
inline constexpr const char* kNotDeletableSuffix = " 항목은 삭제 할 수 없는 항목 입니다.";
inline constexpr const char* kInUseSuffix = " 항목은 사용중입니다.(삭제불가).";
inline constexpr const char* kDeleteQuestionSuffix = " 항목을 삭제 하시겠습니까?";
inline constexpr const char* kFreeFieldHeadOfficeOnlyText =
    "지점 및 대리점은 항목명을 정의 할 수 없습니다.";
inline constexpr const char* kSpecialCharacterText = "특수문자는 입력할 수 없습니다.";
inline constexpr const char* kFreeFieldNameRequiredText = "항목명을 입력하십시오.";
inline constexpr const char* kApplyQuestionText = "현재내용을 적용하시겠습니까?";

struct CodeRow {
    long long cboinx = 0;
    std::string text;  // combotext
    std::string data;  // combodata
};

// Every row of one list ordered by cboinx. Listing the free-field names
// first strips '(' and ')' from them in the table.
std::vector<CodeRow> ListCodeRows(Database& db, const SessionContext& session, CodeListKind kind);

// Adds a collection method or a receipt kind. False, after the refusing
// message, when a rule stops it; nothing is written then.
bool AddCodeEntry(Database& db, SessionContext& session, Interaction& ui, CodeListKind kind,
                  const std::string& code, const std::string& name);

// Deletes the entry of `cboinx` after the rules and the user's yes.
bool DeleteCodeEntry(Database& db, SessionContext& session, Interaction& ui, CodeListKind kind,
                     long long cboinx);

// True when the name holds only 0-9, A-Z, a-z and Korean letters.
bool IsPlainFieldName(const std::string& name);

// Renames free field `fieldNumber` (1 to 6) after the rules and the user's yes.
bool RenameFreeField(Database& db, const SessionContext& session, Interaction& ui, int fieldNumber,
                     const std::string& name);

}  // namespace qx
