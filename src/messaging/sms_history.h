// The sending history (frmDoc46): the rows of the monthly log tables of the
// messaging database for one period and institution, with their results.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "db/database.h"
#include "platform/interaction.h"

namespace qx {

class MessagingDb;
struct SessionContext;

struct SmsHistoryQuery {
    std::string from, to;  // yyyy-mm-dd
    // "" all, "전송완료", "결과대기", "기타에러", or one CALL_STATUS code.
    std::string result;
    std::string kind;  // "", "SMS" or "LMS"
    // "", "SEND_PHONE", "DEST_PHONE", "DEST_NAME" or "MSG_BODY".
    std::string searchField;
    std::string searchText;
};

// "BIZ_LOG_" + yyyymm for every month from the start month to the end month.
std::vector<std::string> LogTableNames(const std::string& from, const std::string& to);

// The shown text of a CALL_STATUS code.
std::string CallStatusText(const std::string& code);

// Columns 발송일, 처리결과, 발송번호, 수신번호, 수신자명, 내용, newest first.
// nullopt after a message when the query cannot run (a search field without
// text, a period that is no period).
std::optional<Recordset> LoadSmsHistory(MessagingDb& messaging, const SessionContext& session,
                                        const SmsHistoryQuery& query, Interaction& ui);

inline constexpr const char* kSearchTextMissingText = "조회할 값을 입력하세요.";
inline constexpr const char* kSmsHistoryExportTitle = "보고서_SMS사용내역";

}  // namespace qx
