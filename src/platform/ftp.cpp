#include "platform/ftp.h"

#include <curl/curl.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>

#include "platform/http.h"

namespace qx {

namespace fs = std::filesystem;

namespace {

// Without an answer for this long the server counts as unreachable, and the
// start-up goes on without the update.
constexpr long kConnectTimeoutSeconds = 20;
constexpr long kStallSeconds = 60;

struct ProgressState {
    const TransferProgress* progress;
};

int OnProgress(void* user, curl_off_t dltotal, curl_off_t dlnow, curl_off_t, curl_off_t) {
    auto* state = static_cast<ProgressState*>(user);
    if (state->progress && *state->progress) {
        return (*state->progress)(dlnow, dltotal) ? 0 : 1;
    }
    return 0;
}

size_t WriteToFile(char* data, size_t size, size_t count, void* user) {
    return std::fwrite(data, size, count, static_cast<std::FILE*>(user)) * size;
}

size_t ReadFromFile(char* data, size_t size, size_t count, void* user) {
    return std::fread(data, size, count, static_cast<std::FILE*>(user)) * size;
}

bool IsFileScheme(const std::string& url) {
    return url.rfind("file://", 0) == 0;
}

}  // namespace

std::string FtpEndpoint::baseUrl() const {
    std::string base = host;
    if (base.find("://") == std::string::npos) {
        base = "ftp://" + base + ":" + std::to_string(port > 0 ? port : 21);
    }
    while (!base.empty() && base.back() == '/') base.pop_back();
    return base;
}

FtpSession::FtpSession(FtpEndpoint endpoint) : endpoint_(std::move(endpoint)) {
    EnsureCurlReady();
}

FtpSession::~FtpSession() {
    close();
}

void FtpSession::close() {
    if (curl_) curl_easy_cleanup(curl_);
    curl_ = nullptr;
}

void FtpSession::setFolder(std::string folder) {
    if (folder.empty() || folder.front() != '/') folder.insert(folder.begin(), '/');
    if (folder.back() != '/') folder += '/';
    folder_ = std::move(folder);
}

std::string FtpSession::urlOf(const std::string& name) const {
    std::string escaped;
    if (char* e = curl_easy_escape(nullptr, name.c_str(), static_cast<int>(name.size()))) {
        escaped = e;
        curl_free(e);
    }
    return endpoint_.baseUrl() + folder_ + escaped;
}

void FtpSession::prepare(const std::string& url) {
    if (!curl_) {
        curl_ = curl_easy_init();
    } else {
        // Options are cleared; the open connection is kept for the next file.
        curl_easy_reset(curl_);
    }
    curl_easy_setopt(curl_, CURLOPT_URL, url.c_str());
    curl_easy_setopt(curl_, CURLOPT_USERAGENT, kFtpAgent);
    curl_easy_setopt(curl_, CURLOPT_PROXY, "");  // direct connection
    curl_easy_setopt(curl_, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl_, CURLOPT_PROTOCOLS_STR, "ftp,ftps,file,http,https");
    curl_easy_setopt(curl_, CURLOPT_FTP_USE_EPSV, 1L);  // passive mode
    curl_easy_setopt(curl_, CURLOPT_FAILONERROR, 1L);
    curl_easy_setopt(curl_, CURLOPT_CONNECTTIMEOUT, kConnectTimeoutSeconds);
    curl_easy_setopt(curl_, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(curl_, CURLOPT_LOW_SPEED_TIME, kStallSeconds);
    if (!endpoint_.user.empty()) {
        curl_easy_setopt(curl_, CURLOPT_USERNAME, endpoint_.user.c_str());
        curl_easy_setopt(curl_, CURLOPT_PASSWORD, endpoint_.password.c_str());
    }
}

bool FtpSession::download(const std::string& name, const std::string& localPath,
                          const TransferProgress& progress) {
    lastError_.clear();
    std::error_code ec;
    const fs::path target(localPath);
    if (target.has_parent_path()) fs::create_directories(target.parent_path(), ec);
    const std::string partial = localPath + ".part";
    std::FILE* out = std::fopen(partial.c_str(), "wb");
    if (!out) {
        lastError_ = partial + ": cannot be written";
        return false;
    }
    const std::string url = urlOf(name);
    prepare(url);
    if (!curl_) {
        std::fclose(out);
        fs::remove(partial, ec);
        lastError_ = "curl_easy_init failed";
        return false;
    }
    char errbuf[CURL_ERROR_SIZE] = {};
    ProgressState state{&progress};
    curl_easy_setopt(curl_, CURLOPT_ERRORBUFFER, errbuf);
    curl_easy_setopt(curl_, CURLOPT_WRITEFUNCTION, WriteToFile);
    curl_easy_setopt(curl_, CURLOPT_WRITEDATA, out);
    curl_easy_setopt(curl_, CURLOPT_XFERINFOFUNCTION, OnProgress);
    curl_easy_setopt(curl_, CURLOPT_XFERINFODATA, &state);
    curl_easy_setopt(curl_, CURLOPT_NOPROGRESS, 0L);
    const CURLcode rc = curl_easy_perform(curl_);
    curl_off_t expected = -1;
    curl_easy_getinfo(curl_, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &expected);
    const bool written = std::fflush(out) == 0 && ::fsync(fileno(out)) == 0;
    const bool closed = std::fclose(out) == 0;
    curl_easy_setopt(curl_, CURLOPT_ERRORBUFFER, nullptr);

    if (rc != CURLE_OK || !written || !closed) {
        lastError_ =
            url + ": " +
            (rc != CURLE_OK ? (*errbuf ? errbuf : curl_easy_strerror(rc)) : "local write failed");
        fs::remove(partial, ec);
        return false;
    }
    const auto size = fs::file_size(partial, ec);
    if (ec || (expected >= 0 && static_cast<curl_off_t>(size) != expected)) {
        lastError_ = url + ": incomplete transfer";
        fs::remove(partial, ec);
        return false;
    }
    fs::rename(partial, target, ec);
    if (ec) {
        lastError_ = localPath + ": " + ec.message();
        fs::remove(partial, ec);
        return false;
    }
    return true;
}

bool FtpSession::upload(const std::string& localPath, const std::string& name) {
    lastError_.clear();
    std::error_code ec;
    const auto size = fs::file_size(localPath, ec);
    if (ec) {
        lastError_ = localPath + ": " + ec.message();
        return false;
    }
    std::FILE* in = std::fopen(localPath.c_str(), "rb");
    if (!in) {
        lastError_ = localPath + ": cannot be read";
        return false;
    }
    const std::string url = urlOf(name);
    if (IsFileScheme(url)) {
        // A local folder standing in for the server has no FTP to create it.
        fs::create_directories(endpoint_.baseUrl().substr(7) + folder_, ec);
    }
    prepare(url);
    if (!curl_) {
        std::fclose(in);
        lastError_ = "curl_easy_init failed";
        return false;
    }
    char errbuf[CURL_ERROR_SIZE] = {};
    curl_easy_setopt(curl_, CURLOPT_ERRORBUFFER, errbuf);
    curl_easy_setopt(curl_, CURLOPT_UPLOAD, 1L);
    curl_easy_setopt(curl_, CURLOPT_READFUNCTION, ReadFromFile);
    curl_easy_setopt(curl_, CURLOPT_READDATA, in);
    curl_easy_setopt(curl_, CURLOPT_INFILESIZE_LARGE, static_cast<curl_off_t>(size));
    curl_easy_setopt(curl_, CURLOPT_FTP_CREATE_MISSING_DIRS, static_cast<long>(CURLFTP_CREATE_DIR));
    const CURLcode rc = curl_easy_perform(curl_);
    std::fclose(in);
    curl_easy_setopt(curl_, CURLOPT_ERRORBUFFER, nullptr);
    if (rc != CURLE_OK) {
        lastError_ = url + ": " + (*errbuf ? errbuf : curl_easy_strerror(rc));
        return false;
    }
    return true;
}

}  // namespace qx
