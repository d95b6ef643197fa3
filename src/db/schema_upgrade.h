// Brings an institution's schema and data to the current structure version
// at login, and makes sure the member note tables exist.
#pragma once

#include <functional>
#include <string>

namespace qx {

class Database;
class ProfileIni;
struct SessionContext;

inline constexpr int kCurrentStructureVersion = 67;
inline constexpr const char* kDefaultMemberViews = "1/2/3/4/12/33/34/35/36";

// Shows a progress text on the splash window.
using UpgradeStatusFn = std::function<void(const std::string& text)>;

// Runs the steps the institution's version still lacks (58 -> 59, below 67
// -> 67) and the agreement-status alignment that every login runs. The
// version in the session and in admin_company follows each step; the stored
// version is never lowered, even when another desktop got there first.
void UpgradeSchema(Database& db, SessionContext& session, const ProfileIni& ini,
                   const UpgradeStatusFn& status = nullptr);

// The every-login part: with the relay of other kinds than 2, members paying
// by account debit either need no agreement evidence (switch off) or need it
// again while registered or applying (switch on).
void AlignAgreementStatus(Database& db, const SessionContext& session);

// The optional member-list columns with the four certificate columns added,
// unless one of them is already there; "/" separates the numbers.
std::string WithCertificateViews(const std::string& views);

// Creates iltable and iltable_ext when missing and seeds the captions row.
void EnsureMemberNoteTables(Database& db, long long inx);

}  // namespace qx
