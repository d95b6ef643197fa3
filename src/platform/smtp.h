// Sending one e-mail over SMTP (libcurl): an HTML body in UTF-8 with a
// Korean subject.
#pragma once

#include <string>

namespace qx {

struct MailMessage {
    std::string from;     // address only
    std::string to;       // address only
    std::string subject;  // UTF-8
    std::string html;     // UTF-8
};

struct SmtpResult {
    bool ok = false;
    bool unreachable = false;  // no connection to the server at all
    std::string error;
};

// A plain mailbox address: one '@', a dotted domain, no blanks, quotes,
// angle brackets or line breaks (the address goes into the headers).
bool IsMailAddress(const std::string& address);

// "=?UTF-8?B?…?=" of a header text that is not plain ASCII.
std::string EncodedHeaderWord(const std::string& utf8);

// Sends `message` through the server at `url` ("smtp://host:port").
SmtpResult SendMail(const std::string& url, const MailMessage& message, long timeoutMs = 20000);

}  // namespace qx
