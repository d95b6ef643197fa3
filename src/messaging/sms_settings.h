// Sender number and name per level (head office, branch or agency row) and
// the six message templates of Login.ini.
#pragma once

#include <array>
#include <string>

#include "messaging/sms_text.h"

namespace qx {

class Database;
class ProfileIni;
struct SessionContext;

// Sender number and name of the user's level, both trimmed.
struct SmsSender {
    std::string SendPhone, SendName;
};

struct SmsSettings {
    SmsSender sender;
    std::array<std::string, kTemplateCount> templates;  // MSG0..MSG5, normalised
};

// Reads the sender of the user's level and the templates; a missing or
// empty template key is written with its default first.
SmsSettings LoadSmsSettings(Database& db, const SessionContext& session, const ProfileIni& ini);

// Writes the sender number and name to the row of the user's level and
// into `sender`. The number must be digits and "-" only, the name text the
// database can hold; otherwise a message and nothing is written.
bool SaveSenderSettings(Database& db, const SessionContext& session, SmsSender& sender,
                        const std::string& phone, const std::string& name, Interaction& ui);

// [@C] of a message: the sender name, or the company when it is empty.
std::string SenderDisplayName(const SessionContext& session, const SmsSender& sender);

inline constexpr const char* kLmsSubjectKey = "LMSSUBJECT";

}  // namespace qx
