#include "platform/system_drive.h"

#include <cstdlib>
#include <filesystem>

namespace qx {

namespace {
std::string WithSlash(std::string p) {
    if (p.empty() || p.back() != '/') p += '/';
    return p;
}
}  // namespace

std::string GetSystemDrive() {
    if (const char* d = std::getenv("QUORISDEX_DRIVE"); d && *d) return WithSlash(d);
    if (const char* h = std::getenv("HOME"); h && *h) return WithSlash(h);
    return "/tmp/";
}

std::string ResolveAppPath(const std::string& given) {
    std::string p = given;
    if (p.empty()) {
        if (const char* e = std::getenv("QUORISDEX_APP_PATH"); e && *e) p = e;
    }
    if (p.empty()) p = std::filesystem::current_path().string();
    return WithSlash(std::filesystem::absolute(p).lexically_normal().string());
}

bool EnterProgramFolder(const std::string& appPath) {
    std::error_code ec;
    std::filesystem::current_path(appPath, ec);
    return !ec;
}

std::string UnderFolder(const std::string& base, const std::string& path) {
    if (path.empty() || base.empty() || std::filesystem::path(path).is_absolute()) return path;
    return JoinPath(base, path);
}

std::string JoinPath(const std::string& a, const std::string& b) {
    if (a.empty()) return b;
    return (a.back() == '/' ? a : a + "/") + b;
}

}  // namespace qx
