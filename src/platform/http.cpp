#include "platform/http.h"

#include <arpa/inet.h>
#include <curl/curl.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <fstream>
#include <mutex>

#include "platform/codepage.h"
#include "platform/process_control.h"
#include "platform/trim.h"

namespace qx {

namespace {

// A bigger answer than any service script gives means something is wrong.
constexpr std::size_t kMaxAnswerBytes = 64u << 20;

size_t Collect(char* data, size_t size, size_t count, void* user) {
    auto* out = static_cast<std::string*>(user);
    const size_t n = size * count;
    if (out->size() + n > kMaxAnswerBytes) return 0;  // aborts the transfer
    out->append(data, n);
    return n;
}

std::string Encode(std::string_view bytes) {
    static const char* hex = "0123456789ABCDEF";
    std::string out;
    out.reserve(bytes.size() * 3);
    for (unsigned char c : bytes) {
        if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) {
            out += static_cast<char>(c);
        } else if (c == ' ') {
            out += '+';
        } else {
            out += '%';
            out += hex[c >> 4];
            out += hex[c & 15];
        }
    }
    return out;
}

}  // namespace

void EnsureCurlReady() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

std::string RealStamp(std::time_t when) {
    std::tm t{};
    localtime_r(&when, &t);
    char buf[16];
    std::strftime(buf, sizeof buf, "%y%m%d%H%M%S", &t);
    return buf;
}

std::string WithRealStamp(const std::string& url, std::time_t when) {
    return url + (url.find('?') == std::string::npos ? "?real=" : "&real=") + RealStamp(when);
}

HttpResult HttpRequest(const std::string& url, const HttpOptions& options) {
    HttpResult result;
    if (Trim(url).empty()) {
        result.error = "no address";
        return result;
    }
    result.url = WithRealStamp(Trim(url), options.now ? options.now : std::time(nullptr));

    EnsureCurlReady();
    CURL* curl = curl_easy_init();
    if (!curl) {
        result.error = "curl_easy_init failed";
        return result;
    }
    std::string body;
    char errbuf[CURL_ERROR_SIZE] = {};
    curl_slist* headers = nullptr;
    // Always from the server, never from a cache on the way.
    headers = curl_slist_append(headers, "Cache-Control: no-cache");
    headers = curl_slist_append(headers, "Pragma: no-cache");
    curl_easy_setopt(curl, CURLOPT_URL, result.url.c_str());
    curl_easy_setopt(curl, CURLOPT_USERAGENT, kHttpAgent);
    curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers);
    curl_easy_setopt(curl, CURLOPT_PROXY, "");  // direct connection
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(curl, CURLOPT_MAXREDIRS, 5L);
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, options.timeoutMs);
    // Send and receive limits: give up when nothing moves for that long.
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, std::max(1L, options.timeoutMs / 1000));
    if (options.totalTimeoutMs > 0) {
        curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, options.totalTimeoutMs);
    }
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, Collect);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &body);
    curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, errbuf);

    const CURLcode rc = curl_easy_perform(curl);
    curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &result.status);
    curl_slist_free_all(headers);
    curl_easy_cleanup(curl);

    if (rc != CURLE_OK) {
        result.error = *errbuf ? errbuf : curl_easy_strerror(rc);
        return result;
    }
    if (result.status < 200 || result.status >= 300) {
        result.error = "HTTP status " + std::to_string(result.status);
        return result;
    }
    result.ok = true;
    result.body = Trim(body);
    return result;
}

std::string HttpGetText(const std::string& url) {
    HttpResult r = HttpRequest(url);
    return r.ok ? r.body : std::string();
}

std::string HttpGetTextInteractive(const std::string& url) {
    HttpOptions options;
    options.timeoutMs = kInteractiveHttpTimeoutMs;
    options.totalTimeoutMs = kInteractiveHttpTimeoutMs;
    HttpResult r = HttpRequest(url, options);
    return r.ok ? r.body : std::string();
}

bool IsIpAddressText(const std::string& text) {
    if (text.empty() || text.size() > 45 || text.find('\0') != std::string::npos) return false;
    unsigned char buf[16];
    return inet_pton(AF_INET, text.c_str(), buf) == 1 ||
           inet_pton(AF_INET6, text.c_str(), buf) == 1;
}

std::string UrlEncode(std::string_view utf8) {
    return Encode(ToCp949(utf8));
}

std::string UrlEncodeUtf8(std::string_view utf8) {
    return Encode(utf8);
}

std::string PostPageHtml(const std::string& url, const std::string& field,
                         const std::string& value) {
    return "<html>"
           "<head><title>Temporary POST</title></head>"
           "<body onload='document.forms[0].submit();'>"
           "<form action='" +
           HtmlEscape(url) +
           "' method='POST'>"
           "<input type='hidden' name='" +
           HtmlEscape(field) + "' value='" + HtmlEscape(value) +
           "'>"
           "</form>"
           "</body>"
           "</html>";
}

std::string TempFolder() {
    for (const char* name : {"TEMP", "TMPDIR"}) {
        if (const char* v = std::getenv(name); v && *v) {
            std::string p = v;
            if (p.back() != '/') p += '/';
            return p;
        }
    }
    return "/tmp/";
}

bool OpenPostPage(const std::string& url, const std::string& field, const std::string& value,
                  const DesktopOpener& opener) {
    const std::string path = TempFolder() + "temp_quorapi205.html";
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        if (!out) return false;
        out << PostPageHtml(url, field, value);
        if (!out.flush()) return false;
    }
    return opener ? opener(path) : OpenWithDesktop(path);
}

std::string HtmlEscape(const std::string& text, bool quotes) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        if (c == '&')
            out += "&amp;";
        else if (c == '<')
            out += "&lt;";
        else if (c == '>')
            out += "&gt;";
        else if (quotes && c == '\'')
            out += "&#39;";
        else if (quotes && c == '"')
            out += "&quot;";
        else
            out += c;
    }
    return out;
}

}  // namespace qx
