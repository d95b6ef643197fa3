// Personalising the grid of a send screen and queueing its marked rows as
// BIZ_MSG rows of the messaging database, at most 100 a statement.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "messaging/sms_settings.h"
#include "messaging/sms_text.h"

namespace qx {

class MessagingDb;
struct MemberListRow;
class ProfileIni;
struct SessionContext;

// One row of a send grid.
struct SmsRecipient {
    bool marked = true;  // column 0 reads "보냄"
    std::string payer;   // payer number as shown
    std::string mobile;  // as stored, dashes and all
    SmsMemberValues values;
    std::string message;  // personalised by ApplyMessage
    long long bytes = 0;
};

// The rows handed over by a member list: name, mobile number, scheduled
// sales, outstanding amount and transfer day of each member, all marked.
std::vector<SmsRecipient> RecipientsFromMemberList(const std::vector<MemberListRow>& members);

// Personalises every row with the message and cuts it to the kind's limit;
// when rows were cut, says how many. Returns the number cut.
long long ApplyMessage(std::vector<SmsRecipient>& rows, const std::string& message, SmsKind kind,
                       const SessionContext& session, const SmsSender& sender, Interaction& ui);

struct SmsSendRequest {
    SmsKind kind = SmsKind::Sms;
    std::string message;  // as typed, before personalising
    std::string title;    // LMS only
    const char* emptyMessageText = kEmptyMessageText;
};

// Kept by a screen between attempts. A send that failed part-way and is
// started again with the same rows continues under the same key after the
// last message it queued, so that no message is queued twice.
struct SmsSendProgress {
    std::string stamp;    // yymmddhhmmss of the send
    std::string sendKey;  // stamp + institution number, claimed in BIZ_SEND
    std::size_t fingerprint = 0;
};

struct SmsSendOutcome {
    bool started = false;  // the checks passed and rows were looked at
    long long total = 0;   // marked rows
    long long sent = 0;    // queued, by this call or an earlier attempt
    long long skipped = 0;
    std::vector<long long> batches;  // rows per statement run by this call
};

SmsSendOutcome SendMessages(MessagingDb& messaging, const SessionContext& session,
                            const SmsSender& sender, const ProfileIni& ini, SmsSendRequest request,
                            const std::vector<SmsRecipient>& rows, SmsSendProgress& progress,
                            Interaction& ui);

inline constexpr long long kTuplesPerStatement = 100;

}  // namespace qx
