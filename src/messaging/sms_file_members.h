// The members of one CMS result file with a mobile number, as the file send
// screen (frmLMS2) lists them.
#pragma once

#include <string>
#include <vector>

#include "messaging/sms_send.h"

namespace qx {

class Database;
struct SessionContext;

enum class SmsFileKind { Eb13, Eb21, CardPayment };

// EB21 amount columns: what the [@PM] placeholder stands for.
inline constexpr const char* kWithdrawnColumn = "출금액";
inline constexpr const char* kFailedColumn = "불능금액";
inline constexpr const char* kBilledColumn = "청구금액";
// Card payment files also carry cancellations.
inline constexpr const char* kCancelledColumn = "취소성공액";
inline constexpr const char* kCancelFailedColumn = "취소불능액";

// The amount columns a file of that kind offers, in screen order (none for EB13).
std::vector<std::string> SmsAmountColumns(SmsFileKind kind);

struct SmsFileQuery {
    SmsFileKind kind = SmsFileKind::Eb13;
    std::string regDate;                          // the file's date as its rows hold it
    bool cancelled = false;                       // EB13: cancelled members instead of new ones
    std::string amountColumn = kWithdrawnColumn;  // EB21 and card payments
};

// One row per member, by payer number; only members whose mobile number
// holds a digit, and for EB21 only those whose chosen amount is above 0.
std::vector<SmsRecipient> LoadFileRecipients(Database& db, const SessionContext& session,
                                             const SmsFileQuery& query);

// "조회 대상이 없거나 …" when there is none, else "총 N 건 중 M 건 선택됨".
std::string FileRecipientsText(const std::vector<SmsRecipient>& rows);

}  // namespace qx
