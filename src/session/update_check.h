// Keeping the program and its companion files up to date from the service's
// update server, the KFTC modules, and the backup copies of result files.
#pragma once

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "platform/ftp.h"

namespace qx {

class Database;
class Interaction;
class ProfileIni;
struct SessionContext;

inline constexpr const char* kUpgradeFolder = "/html/upgrade/";
inline constexpr const char* kBackupUploadFolder = "/html/fileback_21/";
inline constexpr const char* kInitialStamp = "2004090601";
inline constexpr const char* kCheckingUpdateMessage = "업데이트 여부를 조회하고 있습니다.";
inline constexpr const char* kMainProgramChangedMessage =
    "프로그램이 변경 되었습니다. (MainProgram Download.)";
// Keys of the version file, beside LASTUPDATETIME, that let a download be
// checked before it replaces anything; older clients ignore them.
inline constexpr const char* kReleaseSizeKey = "LASTUPDATESIZE";
inline constexpr const char* kReleaseSha256Key = "LASTUPDATESHA256";
// Login.ini (SYSTEM): the release swapped in but not yet started once.
inline constexpr const char* kPendingStampKey = "MEUPDATEPENDING";
inline constexpr const char* kDownloadRejectedMessage =
    "내려받은 프로그램이 배포된 프로그램과 일치하지 않아 적용하지 않았습니다. 기존 프로그램으로 "
    "계속 실행합니다.";
inline constexpr const char* kReleaseUnverifiableMessage =
    "배포 정보에 프로그램의 크기와 검증값이 없어 새 프로그램을 적용하지 않았습니다. 기존 "
    "프로그램으로 계속 실행합니다.";

// One downloadable file and the Login.ini key (section SYSTEM) with its stamp.
struct StampedFile {
    const char* key;
    const char* localPath;  // below the program folder
    const char* message;    // shown while it downloads
    const char* initialStamp;
    const char* installNotice;  // announced before it runs; null = not run
};

// In the order they are checked.
extern const std::array<StampedFile, 6> kCompanionFiles;
extern const std::array<StampedFile, 4> kKftcFiles;

// The window that shows the update at start.
class UpdateDisplay {
  public:
    virtual ~UpdateDisplay() = default;
    virtual void caption(const std::string& /*text*/) {}
    virtual void status(const std::string& /*text*/) {}
    // A message the user must see (a download that was refused).
    virtual void notice(const std::string& text) { status(text); }
    // False stops the download.
    virtual bool progress(long long /*done*/, long long /*total*/) { return true; }
};

// Server address (FTPCONNIP, FTPCONNPORT) and account (FTPCONNUSER, FTPCONNPW)
// of Login.ini; no host = no update server.
FtpEndpoint ReadUpdateServer(const ProfileIni& ini);
// "Auto-UpGrade V1.5   " + the stamp as "2004.09.06/01h".
std::string UpdateCaption(const std::string& stamp);
// "YYYYMMDDHH" of the local clock.
std::string CurrentHourStamp();

// The main program of a release as the version file describes it.
struct ReleasedProgram {
    std::string stamp;
    long long size = -1;
    std::string sha256;  // lower-case hex
};
// Size and SHA-256 of the file against the release; false when either differs
// or the release has none.
bool MatchesRelease(const std::string& path, const ReleasedProgram& release);

struct UpdateContext {
    std::string appPath;  // program folder, ends with '/'
    std::string exeName;  // the program's file name; names the version file
    const ProfileIni& ini;
    FtpSession& ftp;
    UpdateDisplay& display;
    // Stamp that a key missing from the version file counts as.
    std::function<std::string()> currentHour = CurrentHourStamp;
    // Filled when a new main program has been downloaded and verified.
    ReleasedProgram release;
};

// Downloads the version file and every file whose stamp changed. True when a
// new main program lies in the program folder as exeName + "_ext" and matches
// the size and SHA-256 of its release; a download that does not is removed
// with a message. MEUPDATE is not written here: only once the new program
// has been swapped in and started.
bool CheckForUpdate(UpdateContext& ctx);

// Name of the downloaded main program in the program folder.
std::string DownloadedProgramPath(const std::string& appPath, const std::string& exeName);

// What the program does with a downloaded main program: starts the
// replacement program and ends.
struct HandOver {
    std::string appPath;
    std::string executable;   // the running program's path, to be replaced
    std::string commandLine;  // launch code and credentials, when given
    bool launchedWithCredentials = false;
    long pid = 0;  // the process the replacement program waits for
    // Starts a program; StartDetached unless a test puts its own.
    std::function<bool(const std::string&, const std::vector<std::string>&)> start;
};
// The replacement program: "adminchange" when started with launch
// credentials, else "change", looked up in the program folder and then
// beside the executable; empty when neither has it.
std::string ReplacementProgram(const HandOver& h);
// Arguments given to the replacement program.
std::vector<std::string> ReplacementArguments(const HandOver& h, const std::string& previousStamp,
                                              const ReleasedProgram& release = {});

// Beside the executable while a swapped-in program has not started once.
std::string PreviousProgramPath(const std::string& executable);
// Called early at every start: a program that gets here after a swap has
// started once, so the kept previous executable goes and the release's stamp
// (MEUPDATEPENDING) becomes MEUPDATE.
void ConfirmStartedProgram(const std::string& executable, const ProfileIni& ini);

enum class StartupUpdate { kContinue, kHandedOver };

// The update at start: nothing happens without a configured server; a server
// that cannot be reached or a failed version file skips the update silently.
// kHandedOver: the replacement program runs and the caller must end. When it
// cannot be started, the download is discarded and the old stamp restored.
StartupUpdate RunStartupUpdate(const ProfileIni& ini, HandOver handOver, UpdateDisplay& display);

// Fetches changed KFTC modules and runs the changed installers; only for
// institutions with TOLVEX_abled "1". `run` opens an installer.
void InstallKftcModules(Database& db, const SessionContext& session, const ProfileIni& ini,
                        Interaction& ui, UpdateDisplay& display,
                        const std::function<bool(const std::string&)>& run = {});

// Sends a copy of a processed file to the server's backup folder; false when
// there is no such file or the transfer failed.
bool UploadBackupFile(const ProfileIni& ini, const std::string& path);

}  // namespace qx
