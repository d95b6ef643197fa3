#include "platform/smtp.h"

#include <curl/curl.h>
#include <openssl/evp.h>

#include <algorithm>
#include <ctime>
#include <memory>
#include <vector>

#include "platform/http.h"

namespace qx {

namespace {

std::string Base64(const std::string& bytes) {
    std::vector<unsigned char> out(4 * ((bytes.size() + 2) / 3) + 1);
    const int n = EVP_EncodeBlock(out.data(), reinterpret_cast<const unsigned char*>(bytes.data()),
                                  static_cast<int>(bytes.size()));
    return std::string(reinterpret_cast<const char*>(out.data()), static_cast<std::size_t>(n));
}

std::string MailDate() {
    const std::time_t now = std::time(nullptr);
    std::tm tm{};
    gmtime_r(&now, &tm);
    char buf[64];
    std::strftime(buf, sizeof buf, "%a, %d %b %Y %H:%M:%S +0000", &tm);
    return buf;
}

struct SlistFree {
    void operator()(curl_slist* l) const { curl_slist_free_all(l); }
};
struct MimeFree {
    void operator()(curl_mime* m) const { curl_mime_free(m); }
};
struct EasyFree {
    void operator()(CURL* c) const { curl_easy_cleanup(c); }
};

}  // namespace

bool IsMailAddress(const std::string& a) {
    if (a.empty() || a.size() > 254) return false;
    const auto at = a.find('@');
    if (at == std::string::npos || at == 0 || a.find('@', at + 1) != std::string::npos)
        return false;
    for (const unsigned char c : a) {
        if (c <= ' ' || c >= 0x7f || c == '<' || c == '>' || c == '"' || c == '(' || c == ')' ||
            c == ',' || c == ';' || c == ':' || c == '\\' || c == '[' || c == ']')
            return false;
    }
    const std::string domain = a.substr(at + 1);
    const auto dot = domain.find('.');
    return dot != std::string::npos && dot > 0 && domain.back() != '.' &&
           domain.find("..") == std::string::npos;
}

std::string EncodedHeaderWord(const std::string& utf8) {
    bool plain = true;
    for (const unsigned char c : utf8) plain = plain && c >= ' ' && c < 0x7f;
    return plain ? utf8 : "=?UTF-8?B?" + Base64(utf8) + "?=";
}

SmtpResult SendMail(const std::string& url, const MailMessage& m, long timeoutMs) {
    SmtpResult r;
    if (!IsMailAddress(m.to) || !IsMailAddress(m.from)) {
        r.error = "invalid address";
        return r;
    }
    EnsureCurlReady();
    std::unique_ptr<CURL, EasyFree> curl(curl_easy_init());
    if (!curl) {
        r.error = "curl_easy_init failed";
        return r;
    }
    CURL* c = curl.get();
    const std::string from = "<" + m.from + ">";
    std::unique_ptr<curl_slist, SlistFree> rcpt(
        curl_slist_append(nullptr, ("<" + m.to + ">").c_str()));
    curl_slist* h = nullptr;
    for (const std::string& line :
         {"From: " + from, "To: <" + m.to + ">", "Subject: " + EncodedHeaderWord(m.subject),
          "Date: " + MailDate(), std::string("MIME-Version: 1.0")}) {
        h = curl_slist_append(h, line.c_str());
    }
    std::unique_ptr<curl_slist, SlistFree> headers(h);
    std::unique_ptr<curl_mime, MimeFree> mime(curl_mime_init(c));
    curl_mimepart* part = curl_mime_addpart(mime.get());
    curl_mime_data(part, m.html.data(), m.html.size());
    curl_mime_type(part, "text/html; charset=utf-8");
    curl_mime_encoder(part, "base64");

    curl_easy_setopt(c, CURLOPT_URL, url.c_str());
    curl_easy_setopt(c, CURLOPT_MAIL_FROM, from.c_str());
    curl_easy_setopt(c, CURLOPT_MAIL_RCPT, rcpt.get());
    curl_easy_setopt(c, CURLOPT_HTTPHEADER, headers.get());
    curl_easy_setopt(c, CURLOPT_MIMEPOST, mime.get());
    curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT_MS, std::min(timeoutMs, 5000L));
    curl_easy_setopt(c, CURLOPT_TIMEOUT_MS, timeoutMs);
    const CURLcode code = curl_easy_perform(c);
    r.ok = code == CURLE_OK;
    r.unreachable = code == CURLE_COULDNT_CONNECT || code == CURLE_COULDNT_RESOLVE_HOST ||
                    code == CURLE_OPERATION_TIMEDOUT || code == CURLE_UNSUPPORTED_PROTOCOL ||
                    code == CURLE_URL_MALFORMAT;
    if (!r.ok) r.error = curl_easy_strerror(code);
    return r;
}

}  // namespace qx
