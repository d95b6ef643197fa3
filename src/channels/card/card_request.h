// What the card member and card payment requests share: the request date
// checked against the server's day, and the closing questions after a
// request was created (send it now, or go back).
#pragma once

#include <functional>
#include <string>

#include "db/business_days.h"

namespace qx {

class Database;
class Interaction;
struct SessionContext;

inline constexpr const char* kCardPastDateText =
    "파일생성을 할수 없는 일자입니다.(파일일자를 재조정 합니다.)";
inline constexpr const char* kCardDuplicateText =
    "선택한 일자로 이미 파일이 생성 되었습니다. 중복생성은 할 수 없습니다.";
inline constexpr const char* kCardBranchSendText =
    "지점/대리점인 경우 송신프로그램을 실행 할 수 없습니다.";
inline constexpr const char* kCardSendQuestion = "작성한 파일을 송신 하시겠습니까?";
inline constexpr const char* kCardReturnQuestion = "이전화면으로 이동 하시겠습니까?";
inline constexpr const char* kCardStaleRowsText =
    "조회 이후 상태가 바뀐 회원이 있습니다. 다시 조회한 후 파일을 생성하십시오.";

enum class CardRequestKind { Members, Payments };

// "CMEM" or "CPAY".
const char* CardRequestPrefix(CardRequestKind kind);
// The stored name, "CMEM" + YYMMDD.
std::string CardRequestName(CardRequestKind kind, const CivilDate& date);

// A date before the server's today is refused with its message and `date`
// becomes today; false then, and nothing may be written.
bool CardRequestDateUsable(Database& db, SessionContext& session, Interaction& ui, CivilDate& date);

// True when a request of that date exists already (told to the user).
bool CardRequestExists(Database& db, const SessionContext& session, Interaction& ui,
                       CardRequestKind kind, const CivilDate& date);

struct CardClosing {
    bool sendOffered = false;  // a branch or agency login is not offered the send
    bool closeScreen = false;  // yes to going back
};

// The messages after a creation: the count and name, then the send (opened
// through `openSend` on yes) or, for a branch or agency, its refusal; then
// the way back.
CardClosing CloseCardRequest(const SessionContext& session, Interaction& ui, CardRequestKind kind,
                             const CivilDate& date, long long count,
                             const std::function<void()>& openSend);

}  // namespace qx
