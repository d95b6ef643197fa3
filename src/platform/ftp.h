// File transfer with the service's update server: FTP in passive mode through
// libcurl. The server may also be given as an address ("file:///folder",
// "http://host:port") so that a local folder can play the update server.
#pragma once

#include <functional>
#include <string>

typedef void CURL;

namespace qx {

inline constexpr const char* kFtpAgent = "Quorisdex FTP Transfer";

struct FtpEndpoint {
    std::string host;  // host name, or a whole address with its scheme
    int port = 21;
    std::string user, password;

    bool configured() const { return !host.empty(); }
    // Scheme, host and port, without a trailing '/'.
    std::string baseUrl() const;
};

// Bytes done and expected (0 when not known); false stops the transfer.
using TransferProgress = std::function<bool(long long done, long long total)>;

// One connection to the server, reused for every transfer of a run.
class FtpSession {
  public:
    explicit FtpSession(FtpEndpoint endpoint);
    ~FtpSession();
    FtpSession(const FtpSession&) = delete;
    FtpSession& operator=(const FtpSession&) = delete;

    // Server folder the names below are taken from, e.g. "/html/upgrade/".
    void setFolder(std::string folder);
    const std::string& folder() const { return folder_; }
    // Address of a file of the current folder.
    std::string urlOf(const std::string& name) const;

    // Fetches `name` into `localPath`. The file arrives under a temporary
    // name and replaces `localPath` only when the transfer is complete, so a
    // failed or cut-off transfer leaves whatever was there.
    bool download(const std::string& name, const std::string& localPath,
                  const TransferProgress& progress = {});
    // Sends `localPath` as `name` into the current folder.
    bool upload(const std::string& localPath, const std::string& name);

    const std::string& lastError() const { return lastError_; }
    void close();

  private:
    void prepare(const std::string& url);

    FtpEndpoint endpoint_;
    std::string folder_ = "/";
    CURL* curl_ = nullptr;
    std::string lastError_;
};

}  // namespace qx
