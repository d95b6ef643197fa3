// The CMS code of a member: the payer number written into CMS files for
// institutions whose own payer numbering differs from the ten-digit number.
#pragma once

#include <string>

namespace qx {

class Database;
class Interaction;
struct SessionContext;

inline constexpr const char* kCmsCodeQuestionText =
    "CMS코드(파일내 납부자번호)를 변경 하시겠습니까?";
inline constexpr const char* kCmsCodeNotUsedText =
    "납부자번호체계가 기본(N-10)인 기관은 CMS코드를 사용하지 않습니다.";
inline constexpr const char* kCmsCodeCharactersText = "CMS코드는 영문과 숫자만 사용가능합니다.";
inline constexpr const char* kCmsCodeTakenText = "이미 다른 회원이 사용중인 CMS코드 입니다.";

// "신청한 납부자번호체계 자릿수(" + length + " 자리)와 맞지 않습니다."
std::string CmsCodeLengthText(int length);

// The member's CMS code, "" when none is stored.
std::string LoadCmsCode(Database& db, const SessionContext& session, long long memberInx);

// Stores `code` as the member's CMS code after the user's yes. Refusals are
// shown and nothing is written; false then (and when the user says no).
bool ChangeCmsCode(Database& db, const SessionContext& session, Interaction& ui,
                   long long memberInx, const std::string& code);

}  // namespace qx
