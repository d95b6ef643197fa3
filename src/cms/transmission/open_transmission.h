// Which way a written file leaves the workstation: the clearing-house
// library's screen, the companion transmission program, or the service's
// web file manager, as the institution's settings choose.
#pragma once

#include <functional>
#include <string>

namespace qx {

class Database;
class Interaction;
struct SessionContext;

// The library's file in the program folder, as this platform names it.
#ifdef _WIN32
inline constexpr const char* kKftcLibraryFile = "CMSCommDLL.dll";
#else
inline constexpr const char* kKftcLibraryFile = "libCMSCommDLL.so";
#endif
inline constexpr const char* kCompanionProgramFile = "CLOGIN_PRG.exe";
inline constexpr const char* kKftcLibraryMissingText =
    "송수신모듈을 찾을 수 없습니다.\r\n\r\n송수신모듈을 다운로드해주시기 바랍니다.\r\n"
    "* 다운로드방법은 쿼리스CMS(0000-0000)로 문의주시기 바랍니다.";
inline constexpr const char* kCompanionMissingText =
    "Tolvex2 프로그램을 찾을 수 없습니다.\r\n\r\n[기초환경>프로그램설정] 화면에서\r\n"
    "Tolvex2 프로그램 실행 폴더를 알맞게 지정해주시기 바랍니다. ";
inline constexpr const char* kBranchTransmissionRefusedText =
    "지점/대리점인 경우 송수신프로그램를 실행 할 수 없습니다.";

// What the windows (or the command line) do for each path. Left empty, a
// program is started detached and a page opened with the desktop's default
// program.
struct TransmissionLaunchers {
    // Opens the clearing-house transmission screen, modally.
    std::function<void()> openKftcScreen;
    // Starts a program found in `folder`; false on failure.
    std::function<bool(const std::string& program, const std::string& folder)> startProgram;
    // Opens a file or address with the desktop's default program.
    std::function<bool(const std::string& target)> openWithDesktop;
};

enum class TransmissionPath {
    None,              // not the clearing-house path, or an unknown switch
    KftcScreen,        // the library's screen was opened
    CompanionProgram,  // the companion program was started
    WebFileManager,    // the file-manager page was opened
    Missing,           // the library or program was not found (the user was told)
};

// Only for the head office (the caller refuses branches and agencies). For
// the clearing-house path (`cmsrunprg` 1) reads TOLVEX_abled and the add-in
// code afresh and opens the path they choose.
TransmissionPath OpenTransmission(Database& db, SessionContext& session, Interaction& ui,
                                  const TransmissionLaunchers& launch);

// The companion program's folder, with "Program Files (x86)" read as
// "Program Files" when the first does not exist.
std::string CompanionProgramFolder(const std::string& configured);

}  // namespace qx
