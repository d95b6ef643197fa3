// Addresses on the service's web server. Its base address is SYSTEM/WEBHOST
// of Login.ini (e.g. "http://127.0.0.1:8480"); without it no request is made.
#pragma once

#include <string>

#include "session/login.h"

namespace qx {

class ProfileIni;

inline constexpr const char* kIpCheckPath = "/zelmor/cs_load/ipcheck.php";
inline constexpr const char* kNoticePagePath = "/zelmor/board/notice.php";
inline constexpr const char* kBoardPagePath = "/zelmor/board/board.php";
inline constexpr const char* kKftcFileManagerPath = "/kftc/kftcrun205/kftc_file_manager.php";

// SYSTEM/WEBHOST without a trailing '/'; empty when not set.
std::string ReadWebHost(const ProfileIni& ini);
// Base address + path (and query); empty when there is no base address.
std::string ServiceUrl(const std::string& webHost, const std::string& pathAndQuery);

std::string IpCheckUrl(const std::string& webHost);
// The notice page of notice `number`.
std::string NoticePageUrl(const std::string& webHost, const std::string& number);
// The member board of `act` ("quorboard1", "quorboard5", "quorboard2", "quorboard3").
std::string BoardPageUrl(const std::string& webHost, const std::string& act);

// The address check of the login, asked of the service web server.
IpLookup ServiceIpLookup(const std::string& webHost);

}  // namespace qx
