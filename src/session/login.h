// Login: checks an id and password against the head-office, branch and agency
// accounts, fills the session and records the login.
#pragma once

#include <cstddef>
#include <functional>
#include <string>

namespace qx {

class Database;
struct SessionContext;

enum LoginResult : int {
    kLoginAccepted = 0,
    kLoginUnknownId = 1,
    kLoginWrongPassword = 2,
    kLoginAccountDisabled = 3,
    kLoginHeadOfficeUnusable = 4,
    kLoginHeadOfficeInTest = 5,
    kLoginAgencyNotLinked = 7,
};

// What is wrong with a typed id and password before the database is asked
// (both already trimmed): missing, or holding characters no account can
// hold. `field` says which box to go back to.
struct LoginInputProblem {
    enum Field { kNone, kId, kPassword } field = kNone;
    std::string message;
};
LoginInputProblem CheckLoginInput(const std::string& id, const std::string& password);

// Text shown for a refusal code; empty for 0 and unknown codes.
std::string LoginRefusalMessage(int code);

// Asks the service for the desktop's public address; returns the raw answer.
using IpLookup = std::function<std::string()>;

// Width of quorisdex.saveip.login_ip.
inline constexpr std::size_t kLoginIpColumnLength = 45;

// The raw answer of the address check reduced to one well-formed IPv4 or
// IPv6 address that fits login_ip; empty for anything else (a page, a list,
// stray bytes).
std::string CleanIpAnswer(const std::string& answer);

// Fills `session` (institution, role, switches) on acceptance and records the
// login in saveip. `session` must already hold AppPath, launch flag, etc.
// Its LoginId becomes the id as the database stores it: the server compares
// ids without regard to case, accents or trailing blanks, and the local
// folders are named by it.
int ValidateLogin(Database& db, SessionContext& session, const std::string& id,
                  const std::string& password, const IpLookup& lookupIp);

// Payer-number length from a style such as "N-10"; 10 when not a number.
int PayerNumberLength(const std::string& cmsinxStyle);

}  // namespace qx
