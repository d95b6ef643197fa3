// A scripted HTTP server on 127.0.0.1 and a free port, for tests of the
// client side: it answers each path with fixed raw bytes (which may lie about
// their length, to cut an answer short) and keeps the requests it received.
#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace qx::test {

class LoopbackHttp {
  public:
    LoopbackHttp() {
        fd_ = ::socket(AF_INET, SOCK_STREAM, 0);
        int one = 1;
        ::setsockopt(fd_, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        addr.sin_port = 0;
        ::bind(fd_, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
        ::listen(fd_, 8);
        socklen_t len = sizeof addr;
        ::getsockname(fd_, reinterpret_cast<sockaddr*>(&addr), &len);
        port_ = ntohs(addr.sin_port);
        thread_ = std::thread([this] { serve(); });
    }
    ~LoopbackHttp() {
        stop_ = true;
        thread_.join();
        ::close(fd_);
    }
    LoopbackHttp(const LoopbackHttp&) = delete;
    LoopbackHttp& operator=(const LoopbackHttp&) = delete;

    int port() const { return port_; }
    std::string base() const { return "http://127.0.0.1:" + std::to_string(port_); }

    // Raw answer (status line, headers, body) for a path without its query.
    void answer(const std::string& path, std::string raw) {
        std::lock_guard<std::mutex> lock(mutex_);
        answers_[path] = std::move(raw);
    }
    // A complete 200 answer with the body.
    static std::string Ok(const std::string& body) {
        return "HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\nConnection: close\r\n"
               "Content-Length: " +
               std::to_string(body.size()) + "\r\n\r\n" + body;
    }
    // Promises `promised` bytes, sends only `body`, then closes.
    static std::string CutShort(const std::string& body, std::size_t promised) {
        return "HTTP/1.1 200 OK\r\nConnection: close\r\nContent-Length: " +
               std::to_string(promised) + "\r\n\r\n" + body;
    }

    // Request heads received so far (request line and headers).
    std::vector<std::string> requests() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return requests_;
    }

  private:
    void serve() {
        while (!stop_) {
            pollfd p{fd_, POLLIN, 0};
            if (::poll(&p, 1, 20) <= 0) continue;
            const int client = ::accept(fd_, nullptr, nullptr);
            if (client < 0) continue;
            std::string head;
            char buf[2048];
            while (head.find("\r\n\r\n") == std::string::npos) {
                pollfd c{client, POLLIN, 0};
                if (::poll(&c, 1, 2000) <= 0) break;
                const ssize_t n = ::recv(client, buf, sizeof buf, 0);
                if (n <= 0) break;
                head.append(buf, static_cast<std::size_t>(n));
            }
            std::string path = head.substr(0, head.find("\r\n"));
            if (auto sp = path.find(' '); sp != std::string::npos) path = path.substr(sp + 1);
            if (auto sp = path.find(' '); sp != std::string::npos) path = path.substr(0, sp);
            if (auto q = path.find('?'); q != std::string::npos) path = path.substr(0, q);
            std::string raw =
                "HTTP/1.1 404 Not Found\r\nConnection: close\r\n"
                "Content-Length: 9\r\n\r\nNot Found";
            {
                std::lock_guard<std::mutex> lock(mutex_);
                requests_.push_back(head);
                if (auto it = answers_.find(path); it != answers_.end()) raw = it->second;
            }
            std::size_t sent = 0;
            while (sent < raw.size()) {
                const ssize_t n =
                    ::send(client, raw.data() + sent, raw.size() - sent, MSG_NOSIGNAL);
                if (n <= 0) break;
                sent += static_cast<std::size_t>(n);
            }
            ::shutdown(client, SHUT_RDWR);
            ::close(client);
        }
    }

    int fd_ = -1;
    int port_ = 0;
    std::atomic<bool> stop_{false};
    std::thread thread_;
    mutable std::mutex mutex_;
    std::map<std::string, std::string> answers_;
    std::vector<std::string> requests_;
};

// A loopback host that takes connections (the kernel completes them from the
// listen queue) and never reads or answers: a hung web server.
class SilentLoopbackHost {
  public:
    SilentLoopbackHost() {
        fd_ = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::bind(fd_, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
        ::listen(fd_, 8);
        socklen_t len = sizeof addr;
        ::getsockname(fd_, reinterpret_cast<sockaddr*>(&addr), &len);
        port_ = ntohs(addr.sin_port);
    }
    ~SilentLoopbackHost() { ::close(fd_); }
    SilentLoopbackHost(const SilentLoopbackHost&) = delete;
    SilentLoopbackHost& operator=(const SilentLoopbackHost&) = delete;
    std::string base() const { return "http://127.0.0.1:" + std::to_string(port_); }

  private:
    int fd_ = -1;
    int port_ = 0;
};

// A loopback port with nobody listening on it.
inline int ClosedLoopbackPort() {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
    socklen_t len = sizeof addr;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len);
    ::close(fd);
    return ntohs(addr.sin_port);
}

}  // namespace qx::test
