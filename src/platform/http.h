// HTTP requests to the service's web server, URL encoding, and handing a
// POST form to the user's browser.
#pragma once

#include <ctime>
#include <functional>
#include <string>
#include <string_view>

namespace qx {

inline constexpr const char* kHttpAgent = "Web Setting DbUpdate";
// Connect, send and receive limits of the service requests: some server
// scripts (batch sales) run for a long time before they answer.
inline constexpr long kHttpTimeoutMs = 3600000;
// Limit of the requests a person waits for (the address check of the login,
// a notice page): a host that accepts and never answers must not hang them.
inline constexpr long kInteractiveHttpTimeoutMs = 5000;

struct HttpResult {
    bool ok = false;    // transfer complete and the server answered 2xx
    long status = 0;    // HTTP status, 0 when no answer came
    std::string url;    // the address as requested, with its "real" stamp
    std::string body;   // trimmed answer; empty unless ok
    std::string error;  // why it failed
};

struct HttpOptions {
    long timeoutMs = kHttpTimeoutMs;
    // Limit of the whole request, answer included; 0 = only the limits above.
    long totalTimeoutMs = 0;
    std::time_t now = 0;  // time of the "real" stamp; 0 = the clock
};

// "yymmddhhmmss" of `when` in local time.
std::string RealStamp(std::time_t when);
// The address with the cache-defeating "real" parameter added once: "&real="
// after an existing query, "?real=" when there is none.
std::string WithRealStamp(const std::string& url, std::time_t when);

// GET of `url` with the "real" stamp; tells a transport failure apart from an
// empty answer, for callers to whom an empty answer means success.
HttpResult HttpRequest(const std::string& url, const HttpOptions& options = {});
// The trimmed answer, or empty on any failure (no address, no connection,
// error status, cut-off answer).
std::string HttpGetText(const std::string& url);
// The same with the short limit of a request a person waits for.
std::string HttpGetTextInteractive(const std::string& url);

// True for a well-formed IPv4 or IPv6 address and nothing else.
bool IsIpAddressText(const std::string& text);

// Letters and digits stay, a blank becomes "+", every other byte of the text
// in the Korean code page becomes "%XX".
std::string UrlEncode(std::string_view utf8);
// The same over the text's UTF-8 bytes.
std::string UrlEncodeUtf8(std::string_view utf8);

// The self-submitting page that posts one field to `url`. Values are escaped
// so that a quote in them cannot break out of the attribute.
std::string PostPageHtml(const std::string& url, const std::string& field,
                         const std::string& value);
// Opens `target` (a file or an address) with the desktop's default program.
using DesktopOpener = std::function<bool(const std::string& target)>;
// Writes the page to "temp_quorapi205.html" in the TEMP folder and opens it;
// false when the page could not be written or opened. The page is replaced
// by the next call rather than removed at once: the browser reads it only
// after the opener has returned.
bool OpenPostPage(const std::string& url, const std::string& field, const std::string& value,
                  const DesktopOpener& opener = {});
// Initialises libcurl once for the process (HTTP and FTP share it).
void EnsureCurlReady();

// Folder for temporary files: TEMP, TMPDIR, else /tmp; ends with '/'.
std::string TempFolder();

// Text made safe to stand in HTML, inside elements and quoted attributes.
// With `quotes` false only & < > are written as entities, for text that
// stands between tags only and keeps its quote marks byte for byte.
std::string HtmlEscape(const std::string& text, bool quotes = true);

}  // namespace qx
