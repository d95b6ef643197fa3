// CMS files are made and tidied by the head office only: a branch or agency
// login would write a file without the institution code and move members of
// other branches.
#pragma once

namespace qx {

class Interaction;
struct SessionContext;

inline constexpr const char* kHeadOfficeOnlyFileText =
    "지사/대리점인 경우 파일생성을 하실 수 없습니다.(본사만 처리가능)";

// True for a head-office login; otherwise tells the user and returns false.
bool HeadOfficeMayWorkOnFiles(const SessionContext& session, Interaction& ui);

}  // namespace qx
