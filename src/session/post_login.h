// Everything that runs once after an accepted login, before the main window.
#pragma once

#include <functional>
#include <string>

#include "cms/workspace/cms_folders.h"

namespace qx {

class Database;
class Interaction;
class ProfileIni;
struct SessionContext;

inline constexpr const char* kSchemaMissingMessage =
    "데이타 데이스를 찾을수 없습니다. 쿼리스CMS(0000-0000)로 문의주시기 바랍니다.";

// Shows the splash window with a status text, or closes it.
using SplashFn = std::function<void(bool visible, const std::string& text)>;

// False when the institution's schema is missing: the message has been shown
// and the caller ends the program.
bool InitSessionAfterLogin(Database& db, SessionContext& session, const ProfileIni& ini,
                           Interaction& ui, const SplashFn& splash);

// Tells the companion transmission program where the exchange folder is.
void WriteCompanionSettings(const SessionContext& session);

}  // namespace qx
