// Applying a received EB11 record by record: members created, registered
// again or cancelled, every record stored in file_ea11 with its outcome.
#pragma once

#include <string>
#include <vector>

namespace qx {

class Database;
class Interaction;
struct SessionContext;

// Outcome texts of one record.
inline constexpr const char* kEb11WrongInstitutionText =
    "이용기관코드가 잘못된 회원입니다.(처리불가)";
inline constexpr const char* kEb11CreatedText = "신규처리 완료";
inline constexpr const char* kEb11PayerTooHighText = "신규등록 불가 납부자번호 (9000000000 이상임)";
inline constexpr const char* kEb11PayerNotNumberText = "납부자 번호 체계 오류";
inline constexpr const char* kEb11UnknownMemberText = "미 등록된 회원 입니다.";
inline constexpr const char* kEb11DeletedMemberText = "삭제된 납부자번호 입니다.";
inline constexpr const char* kEb11NotCmsText = "CMS회원이 아닙니다.";
inline constexpr const char* kEb11ReRegisteredText = "회원변경(은행/계좌/생년월일) 완료";
inline constexpr const char* kEb11AlreadyRegisteredText = "기 등록 회원입니다.";
inline constexpr const char* kEb11AlreadyCancelledText = "이미 해지된 회원입니다.";
inline constexpr const char* kEb11CancelledText = "해지 처리 완료";
// Texts of the screen for institutions that take no new members from banks.
inline constexpr const char* kEb11BadPayerFormText = "자릿수체계가 잘못된 회원입니다.(처리불가)";
inline constexpr const char* kEb11DeletedText = "삭제된 회원입니다.(처리불가)";
inline constexpr const char* kEb11UnregisteredText = "미등록된 회원입니다.(처리불가)";
inline constexpr const char* kEb11PendingText = "~신청중인 회원입니다.(처리대기중)";
inline constexpr const char* kEb11AccountChangedText = "신규처리(은행/계좌/예금주번호) 완료";

inline constexpr const char* kEb11RefusalCode = "A013";
inline constexpr const char* kEb11DeletedRefusalCode = "A017";

// "해지대상의 정보(은행,계좌번호) 가 파일정보와 다릅니다." for the differing
// items ("은행", "계좌번호", "생년월일(법인)번호").
std::string Eb11MismatchText(const std::vector<std::string>& items);

// Which screen applies the file: institutions that accept registrations
// made at bank counters create the members (frmDoc33_1); the others refuse
// unknown payers and apply account changes (frmDoc33).
enum class Eb11Mode { BankReceipt, Standard };
Eb11Mode Eb11ModeOf(const SessionContext& session);

struct Eb11ApplyResult {
    bool applied = false;
    std::string error;  // the file's refusal
    std::string yyyymmdd;
    long long records = 0, refused = 0;
};

// Applies one file: checked, then every record applied and stored in one
// transaction, so a failure leaves neither members nor rows behind. Two
// desks applying the same day: the second finds the day applied. Head
// office only.
Eb11ApplyResult ApplyEb11File(Database& db, const SessionContext& session, Interaction& ui,
                              const std::string& path, Eb11Mode mode);

}  // namespace qx
