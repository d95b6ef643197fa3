// A local mail server for tests: python3-aiosmtpd on a free loopback port,
// storing every mail it accepts as a file of a Maildir folder.
#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <openssl/evp.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "platform/profile_ini.h"
#include "support/child_process.h"

extern char** environ;

namespace qx::test {

// A loopback port nothing listens on at the moment of asking.
inline int FreeLoopbackPort() {
    const int s = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    a.sin_port = 0;
    socklen_t len = sizeof a;
    int port = 0;
    if (::bind(s, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0 &&
        ::getsockname(s, reinterpret_cast<sockaddr*>(&a), &len) == 0)
        port = ntohs(a.sin_port);
    ::close(s);
    return port;
}

inline bool Listening(int port) {
    const int s = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    a.sin_port = htons(static_cast<uint16_t>(port));
    const bool ok = ::connect(s, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0;
    ::close(s);
    return ok;
}

// The text of a mail with its base64 parts decoded.
inline std::string DecodedMail(const std::string& raw) {
    std::string out;
    std::size_t at = 0;
    const std::string marker = "Content-Transfer-Encoding: base64";
    while ((at = raw.find(marker, at)) != std::string::npos) {
        std::size_t start = raw.find("\n\n", at);
        const std::size_t startCr = raw.find("\r\n\r\n", at);
        if (startCr != std::string::npos && (start == std::string::npos || startCr < start))
            start = startCr + 4;
        else if (start != std::string::npos)
            start += 2;
        if (start == std::string::npos) break;
        const std::size_t end = raw.find("--", start);
        std::string b64;
        for (std::size_t i = start; i < std::min(end, raw.size()); ++i)
            if (raw[i] != '\r' && raw[i] != '\n') b64 += raw[i];
        std::vector<unsigned char> buf(b64.size() + 4);
        int n = EVP_DecodeBlock(buf.data(), reinterpret_cast<const unsigned char*>(b64.data()),
                                static_cast<int>(b64.size()));
        if (n > 0) {
            // EVP_DecodeBlock counts the padding as zero bytes.
            n -= static_cast<int>(
                std::count(b64.end() - std::min<std::size_t>(2, b64.size()), b64.end(), '='));
            out.append(reinterpret_cast<const char*>(buf.data()), static_cast<std::size_t>(n));
        }
        at = start;
    }
    return raw + "\n" + out;
}

class SmtpSink {
  public:
    SmtpSink() {
        port_ = FreeLoopbackPort();
        child_.start({"/usr/bin/python3", "-m", "aiosmtpd", "-n", "-l",
                      "127.0.0.1:" + std::to_string(port_), "-c", "aiosmtpd.handlers.Mailbox",
                      (child_.dir() / "mail").string()});
        for (int i = 0; i < 250 && child_.started() && !Listening(port_); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    bool running() const { return child_.started() && Listening(port_); }
    std::string url() const { return "smtp://127.0.0.1:" + std::to_string(port_); }
    // The stored mails, decoded, in no particular order.
    std::vector<std::string> mails() const {
        std::vector<std::string> out;
        std::error_code ec;
        for (const auto& e : std::filesystem::directory_iterator(child_.dir() / "mail" / "new", ec))
            out.push_back(DecodedMail(ReadWholeFile(e.path().string()).value_or("")));
        return out;
    }

  private:
    ChildProcess child_{"qx_mail_"};
    int port_ = 0;
};

}  // namespace qx::test
