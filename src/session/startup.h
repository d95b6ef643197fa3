// What the program reads before anyone logs in: the launch credentials and
// the desktop settings of Login.ini.
#pragma once

#include <string>

namespace qx {

class ProfileIni;
struct SessionContext;

inline constexpr const char* kLaunchCode = "05550123987";
inline constexpr const char* kAlreadyRunningMessage =
    "프로그램이 이미 실행 중입니다. 중복 실행할 수 없습니다.";

struct LaunchCredentials {
    bool launched = false;
    std::string id, password;
};

// The command line starts with the launch code, then "id/password".
LaunchCredentials ParseLaunchCredentials(const std::string& commandLine);

// Folders, frozen columns and the six switches; creates the default backup
// folders when the backup folder is the default one.
void ReadDesktopSettings(SessionContext& session, const ProfileIni& ini);

// Title of the login window.
std::string LoginWindowTitle();

}  // namespace qx
