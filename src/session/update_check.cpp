#include "session/update_check.h"

#include <unistd.h>

#include <cctype>
#include <ctime>
#include <filesystem>

#include "core/session_context.h"
#include "db/database.h"
#include "platform/interaction.h"
#include "platform/process_control.h"
#include "platform/profile_ini.h"
#include "platform/sha256.h"
#include "platform/text_checks.h"
#include "platform/trim.h"

namespace qx {

namespace fs = std::filesystem;

const std::array<StampedFile, 6> kCompanionFiles = {{
    {"ADDUSEREXCELFILE", "expexcel/adduser.xls", "일괄등록용 Excel 파일 다운로드.", kInitialStamp,
     nullptr},
    {"EDITEXCELFILE", "expexcel/edituser.xls", "일괄변경용 Excel 파일 다운로드.", kInitialStamp,
     nullptr},
    {"MEMEDITEXCELFILE", "expexcel/editmeminfo.xls", "고객정보일괄변경용 Excel 파일 다운로드.",
     kInitialStamp, nullptr},
    {"QUORPRINTFILE", "QuorPrint.exe", "인쇄 파일 다운로드.", kInitialStamp, nullptr},
    {"BILLPRINTFILE", "BillPrint.exe", "인쇄 파일 다운로드.", kInitialStamp, nullptr},
    {"LUMABILLFILE", "lumabill.exe", "세금계산서 파일 다운로드.", kInitialStamp, nullptr},
}};

const std::array<StampedFile, 4> kKftcFiles = {{
    {"KFTCCMSDLL", "CMSCommDLL.dll", "금결원 송수신모듈(dll) 다운로드", "2009072710", nullptr},
    {"KFTCNPBANKPACK", "CKKeyPro_Installer.exe",
     "금결원 보안설치파일 다운로드(CKKeyPro_Installer.exe)", "2009072710",
     "금결원 보안파일(CKKeyPro_Installer.exe) 설치를 진행합니다."},
    {"KFTCYESSIGNINSTALL", "yessign7Install.exe",
     "금결원 보안설치파일 다운로드(yessign7Install.exe)", "2009072710",
     "금결원 보안파일(yessign7Install.exe) 설치를 진행합니다."},
    {"KFTCCMSCOMMSETUP", "CMSCommSetup.msi",
     "금결원 송수신모듈 패치파일 다운로드(CMSCommSetup.msi)", "2018022218",
     "금결원 보안파일(CMSCommSetup.msi) 설치를 진행합니다."},
}};

namespace {

constexpr const char* kMainProgramName = "quorisdex";

std::string VersionFilePath(const UpdateContext& ctx) {
    return ctx.appPath + ctx.exeName + ".ini";
}

// Downloads the version file afresh; false when the server has none for us.
bool FetchVersionFile(UpdateContext& ctx) {
    std::error_code ec;
    fs::remove(VersionFilePath(ctx), ec);
    return ctx.ftp.download(ctx.exeName + ".ini", VersionFilePath(ctx));
}

std::string ReleasedStamp(const ProfileIni& version, const char* key, const UpdateContext& ctx) {
    std::string stamp = Trim(version.read("SYSTEM", key, ""));
    return stamp.empty() ? ctx.currentHour() : stamp;
}

// Fetches the file when its stamp changed and records the released stamp.
// A failed download keeps the old file and the old stamp, so the file is
// fetched again at the next start instead of staying missing.
// True when a new copy arrived.
bool RefreshStampedFile(UpdateContext& ctx, const ProfileIni& version, const StampedFile& file) {
    const std::string released = ReleasedStamp(version, file.key, ctx);
    const std::string installed = ctx.ini.read("SYSTEM", file.key, file.initialStamp);
    bool fetched = false;
    if (released != installed) {
        ctx.display.status(file.message);
        const std::string name = fs::path(file.localPath).filename().string();
        fetched = ctx.ftp.download(
            name, ctx.appPath + file.localPath,
            [&](long long done, long long total) { return ctx.display.progress(done, total); });
        if (!fetched) return false;
    }
    ctx.ini.write("SYSTEM", file.key, released);
    return fetched;
}

void RemoveVersionFile(const UpdateContext& ctx) {
    std::error_code ec;
    fs::remove(VersionFilePath(ctx), ec);
}

std::string ProgramFolder(const std::string& path) {
    std::string folder = fs::path(path).parent_path().string();
    if (!folder.empty() && folder.back() != '/') folder += '/';
    return folder;
}

}  // namespace

FtpEndpoint ReadUpdateServer(const ProfileIni& ini) {
    FtpEndpoint e;
    e.host = Trim(ini.read("SYSTEM", "FTPCONNIP", ""));
    try {
        e.port = std::stoi(ini.read("SYSTEM", "FTPCONNPORT", "21"));
    } catch (...) {
        e.port = 21;
    }
    e.user = ini.read("SYSTEM", "FTPCONNUSER", "");
    e.password = ini.read("SYSTEM", "FTPCONNPW", "");
    return e;
}

std::string UpdateCaption(const std::string& stamp) {
    // "@@@@.@@.@@/@@h": the stamp's characters fill the places in order.
    const std::string pattern = "@@@@.@@.@@/@@h";
    std::string shown;
    std::size_t next = 0;
    for (char c : pattern) {
        if (c == '@') {
            shown += next < stamp.size() ? stamp[next] : ' ';
            ++next;
        } else {
            shown += c;
        }
    }
    return "Auto-UpGrade V1.5   " + shown;
}

std::string CurrentHourStamp() {
    const std::time_t now = std::time(nullptr);
    std::tm t{};
    localtime_r(&now, &t);
    char buf[16];
    std::strftime(buf, sizeof buf, "%Y%m%d%H", &t);
    return buf;
}

std::string DownloadedProgramPath(const std::string& appPath, const std::string& exeName) {
    return appPath + exeName + "_ext";
}

bool MatchesRelease(const std::string& path, const ReleasedProgram& release) {
    if (release.size <= 0 || release.sha256.size() != 64) return false;
    std::error_code ec;
    const auto size = fs::file_size(path, ec);
    if (ec || static_cast<long long>(size) != release.size) return false;
    const auto digest = FileSha256Hex(path);
    return digest && *digest == release.sha256;
}

bool CheckForUpdate(UpdateContext& ctx) {
    ctx.display.status(kCheckingUpdateMessage);
    if (!FetchVersionFile(ctx)) return false;
    const ProfileIni version(VersionFilePath(ctx));

    for (const auto& file : kCompanionFiles) RefreshStampedFile(ctx, version, file);

    bool handOver = false;
    ReleasedProgram release;
    release.stamp = ReleasedStamp(version, "LASTUPDATETIME", ctx);
    const std::string installed = ctx.ini.read("SYSTEM", "MEUPDATE", kInitialStamp);
    if (release.stamp != installed) {
        ctx.display.status(kMainProgramChangedMessage);
        const std::string size = Trim(version.read("SYSTEM", kReleaseSizeKey, ""));
        release.size = IsAllDigits(size) && size.size() < 16 ? std::stoll(size) : -1;
        release.sha256 = Trim(version.read("SYSTEM", kReleaseSha256Key, ""));
        for (auto& c : release.sha256)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        const std::string target = DownloadedProgramPath(ctx.appPath, ctx.exeName);
        std::error_code ec;
        fs::remove(target, ec);
        if (release.size <= 0 || release.sha256.size() != 64) {
            // Nothing to check a download against: the old program stays.
            ctx.display.notice(kReleaseUnverifiableMessage);
        } else if (ctx.ftp.download(ctx.exeName, target, [&](long long done, long long total) {
                       return ctx.display.progress(done, total);
                   })) {
            // A cut-off or altered download never replaces the program.
            if (MatchesRelease(target, release)) {
                handOver = true;
                ctx.release = release;
            } else {
                ctx.display.notice(kDownloadRejectedMessage);
            }
        }
        if (!handOver) fs::remove(target, ec);
    }
    RemoveVersionFile(ctx);
    return handOver;
}

std::string ReplacementProgram(const HandOver& h) {
    const std::string name = h.launchedWithCredentials ? "adminchange" : "change";
    for (const std::string& folder : {h.appPath, ProgramFolder(h.executable)}) {
        if (folder.empty()) continue;
        const std::string candidate = folder + name;
        if (::access(candidate.c_str(), X_OK) == 0) return candidate;
    }
    return {};
}

std::vector<std::string> ReplacementArguments(const HandOver& h, const std::string& previousStamp,
                                              const ReleasedProgram& release) {
    std::vector<std::string> args = {
        "--wait-pid",       std::to_string(h.pid),
        "--target",         h.executable,
        "--replacement",    DownloadedProgramPath(h.appPath, kMainProgramName),
        "--app-path",       h.appPath,
        "--login-ini",      h.appPath + "Login.ini",
        "--previous-stamp", previousStamp};
    if (!release.stamp.empty()) {
        for (const std::string& a :
             {std::string("--new-stamp"), release.stamp, std::string("--size"),
              std::to_string(release.size), std::string("--sha256"), release.sha256}) {
            args.push_back(a);
        }
    }
    if (h.launchedWithCredentials && !h.commandLine.empty()) {
        args.push_back("--");
        args.push_back(h.commandLine);
    }
    return args;
}

std::string PreviousProgramPath(const std::string& executable) {
    return executable + "_prev";
}

void ConfirmStartedProgram(const std::string& executable, const ProfileIni& ini) {
    if (!executable.empty()) {
        std::error_code ec;
        fs::remove(PreviousProgramPath(executable), ec);
    }
    const std::string pending = Trim(ini.read("SYSTEM", kPendingStampKey, ""));
    if (pending.empty()) return;
    ini.write("SYSTEM", "MEUPDATE", pending);
    ini.write("SYSTEM", kPendingStampKey, "");
}

StartupUpdate RunStartupUpdate(const ProfileIni& ini, HandOver h, UpdateDisplay& display) {
    const FtpEndpoint server = ReadUpdateServer(ini);
    if (!server.configured()) return StartupUpdate::kContinue;
    const std::string previousStamp = ini.read("SYSTEM", "MEUPDATE", kInitialStamp);
    display.caption(UpdateCaption(previousStamp));

    FtpSession ftp(server);
    ftp.setFolder(kUpgradeFolder);
    UpdateContext ctx{h.appPath, kMainProgramName, ini, ftp, display};
    const bool downloaded = CheckForUpdate(ctx);
    ftp.close();
    if (!downloaded) return StartupUpdate::kContinue;

    const std::string program = ReplacementProgram(h);
    const auto args = ReplacementArguments(h, previousStamp, ctx.release);
    const bool started = !program.empty() &&
                         (h.start ? h.start(program, args) : StartDetached(program, args, nullptr));
    if (started) return StartupUpdate::kHandedOver;

    // Nobody can swap the program in: go on with the old one and fetch the
    // new one again next time (MEUPDATE was never changed).
    std::error_code ec;
    fs::remove(DownloadedProgramPath(h.appPath, kMainProgramName), ec);
    return StartupUpdate::kContinue;
}

void InstallKftcModules(Database& db, const SessionContext& session, const ProfileIni& ini,
                        Interaction& ui, UpdateDisplay& display,
                        const std::function<bool(const std::string&)>& run) {
    const std::string enabled = Trim(
        db.scalar("select TOLVEX_abled from quorisdex.admin_company where inx=?", {session.inx}));
    if (enabled != "1") return;
    const FtpEndpoint server = ReadUpdateServer(ini);
    if (!server.configured()) return;

    FtpSession ftp(server);
    ftp.setFolder(kUpgradeFolder);
    UpdateContext ctx{session.AppPath, kMainProgramName, ini, ftp, display};
    if (!FetchVersionFile(ctx)) return;
    const ProfileIni version(VersionFilePath(ctx));
    for (const auto& file : kKftcFiles) {
        if (!RefreshStampedFile(ctx, version, file) || !file.installNotice) continue;
        ui.inform(file.installNotice);
        const std::string path = ctx.appPath + file.localPath;
        if (run) {
            run(path);
        } else {
            OpenWithDesktop(path);
        }
    }
    RemoveVersionFile(ctx);
}

bool UploadBackupFile(const ProfileIni& ini, const std::string& path) {
    std::error_code ec;
    if (Trim(path).empty() || !fs::is_regular_file(path, ec)) return false;
    const FtpEndpoint server = ReadUpdateServer(ini);
    if (!server.configured()) return false;
    FtpSession ftp(server);
    ftp.setFolder(kBackupUploadFolder);
    return ftp.upload(path, fs::path(path).filename().string());
}

}  // namespace qx
