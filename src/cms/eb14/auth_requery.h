// Asking the relay again for the phone authentication result of one new
// registration of an EB13 file (relay institutions): the gates, the request
// row in sdsi.rsch_auth and the reading of its answer. The screen polls on a
// timer; the command line waits in a loop.
#pragma once

#include <optional>
#include <string>

namespace qx {

class Database;
class Interaction;
struct SessionContext;

inline constexpr const char* kAuthRequeryOnlyUnverifiedText =
    "신규신청이 완료되었으나 인증하지 못한 데이터만 조회가능합니다.";
inline constexpr const char* kAuthRequeryHolidayText = "휴일은 인증결과를 재조회 할 수 없습니다.";
inline constexpr const char* kAuthRequeryHolidayTitle = "인증결과 재조회 불가";
inline constexpr const char* kAuthRequeryWaitText = "인증결과 조회 중...(최대 1분 소요)";
inline constexpr const char* kAuthResultTitle = "인증조회 결과";
inline constexpr const char* kAuthRequeryFailedText =
    "인증결과조회를 실패 하였습니다. 처리불가능한 상태입니다.\r\n"
    "쿼리스CMS(0000-0000)로 문의주시기 바랍니다.";
// How long the answer is waited for, and how often it is looked at.
inline constexpr int kAuthRequeryLimitSeconds = 60;
inline constexpr int kAuthRequeryPollMilliseconds = 2000;

// "선택된 [name]고객님의 인증결과를 재조회 하시겠습니까?"
std::string AuthRequeryQuestion(const std::string& name);

// The request row of a file the re-query is about.
struct AuthRequeryRow {
    long long rowKey = 0;  // file_ea13.ea13_inx
    long long member = 0;  // file_ea13.user_no
    long long serial = 0;
    std::string yymmdd, regKind, certifiResult, name, phone;
};
// The row of payer `member` in the file "EB13" + yymmdd; nullopt when none.
std::optional<AuthRequeryRow> FindAuthRequeryRow(Database& db, const SessionContext& session,
                                                 const std::string& filename, long long member);
// Only a new registration whose authentication failed, was returned or is
// still in progress may be asked about again.
bool MayRequeryAuth(const AuthRequeryRow& row);
// The a_record text of the request (layout beside sdsi.rsch_auth).
std::string AuthRequestRecord(const SessionContext& session, const AuthRequeryRow& row);

// The gates, the question and the request row: returns the request's key,
// or nullopt when refused or declined (the person has been told why).
std::optional<long long> StartAuthRequery(Database& db, const SessionContext& session,
                                          Interaction& ui, const AuthRequeryRow& row);

enum class AuthAnswer { Waiting, Success, InProgress, Failed, Returned, Unanswerable };
// One look at the request's row.
AuthAnswer PollAuthRequery(Database& db, long long key);
// What the person is shown for an answer (Waiting has no text).
std::string AuthAnswerText(AuthAnswer answer);

// The whole re-query, waiting up to `limitSeconds` for the answer; tells
// `ui` every text. True when the relay answered.
bool RequeryAuth(Database& db, const SessionContext& session, Interaction& ui,
                 const std::string& filename, long long member,
                 int limitSeconds = kAuthRequeryLimitSeconds,
                 int pollMilliseconds = kAuthRequeryPollMilliseconds);

}  // namespace qx
