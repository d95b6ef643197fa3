#include "messaging/sms_history.h"

#include <cstdio>

#include "core/session_context.h"
#include "db/sql_quote.h"
#include "members/member_rules.h"
#include "messaging/messaging_db.h"
#include "platform/trim.h"

namespace qx {

namespace {

// yyyy-mm-dd with a real month and day; false otherwise.
bool ReadDate(const std::string& text, int& year, int& month) {
    int day = 0;
    char tail = 0;
    if (text.size() != 10 ||
        std::sscanf(text.c_str(), "%4d-%2d-%2d%c", &year, &month, &day, &tail) != 3) {
        return false;
    }
    return year >= 1900 && month >= 1 && month <= 12 && day >= 1 && day <= 31;
}

}  // namespace

std::vector<std::string> LogTableNames(const std::string& from, const std::string& to) {
    std::vector<std::string> names;
    int y1 = 0, m1 = 0, y2 = 0, m2 = 0;
    if (!ReadDate(from, y1, m1) || !ReadDate(to, y2, m2)) return names;
    for (int y = y1, m = m1; y * 12 + m <= y2 * 12 + m2;) {
        char name[32];
        std::snprintf(name, sizeof name, "BIZ_LOG_%04d%02d", y, m);
        names.emplace_back(name);
        if (++m > 12) m = 1, ++y;
    }
    return names;
}

std::string CallStatusText(const std::string& code) {
    if (code.empty()) return "결과대기";
    if (code == "4100" || code == "6600") return "전송완료";
    if (code == "4400" || code == "6603") return "음영지역";
    if (code == "4410" || code == "6606") return "오류번호";
    return "기타에러(" + code + ")";
}

std::optional<Recordset> LoadSmsHistory(MessagingDb& messaging, const SessionContext& s,
                                        const SmsHistoryQuery& q, Interaction& ui) {
    const std::string text = Trim(q.searchText);
    if (!q.searchField.empty() && text.empty()) {
        ui.inform(kSearchTextMissingText, kDefaultTitle);
        return std::nullopt;
    }
    const std::vector<std::string> names = LogTableNames(q.from, q.to);
    if (names.empty()) {
        ui.inform("조회 기간을 확인하세요.", kDefaultTitle);
        return std::nullopt;
    }
    Database& db = messaging.db();
    std::string list;
    SqlParams params;
    for (const auto& n : names) {
        list += (list.empty() ? "?" : ",?");
        params.emplace_back(n);
    }
    const Recordset existing = db.OpenRecordset(
        "SELECT TABLE_NAME FROM information_schema.TABLES WHERE TABLE_SCHEMA = 'bizclient' AND "
        "TABLE_NAME in (" +
            list + ") order by TABLE_NAME",
        params);

    // Every value is bound; the table names are made here from numbers only.
    std::string filters;
    SqlParams filterParams{q.from, q.to, s.inx};
    if (q.result == "전송완료") {
        filters += " and CALL_STATUS in ('4100','6600')";
    } else if (q.result == "결과대기") {
        filters += " and CALL_STATUS = ''";
    } else if (q.result == "기타에러") {
        filters += " and CALL_STATUS not in ('','4100','4400','4410','6600','6603','6606')";
    } else if (!q.result.empty()) {
        filters += " and CALL_STATUS=?";
        filterParams.emplace_back(q.result);
    }
    if (q.kind == "LMS") filters += " and MSG_TYPE = '5'";
    if (q.kind == "SMS") filters += " and MSG_TYPE = '0'";
    static const char* const kSearchable[] = {"SEND_PHONE", "DEST_PHONE", "DEST_NAME", "MSG_BODY"};
    for (const char* column : kSearchable) {
        if (q.searchField == column) {
            // The typed text is matched as it stands: % and _ are not wildcards.
            filters += std::string(" and ") + column + " like concat('%',?,'%') escape '!'";
            filterParams.emplace_back(EscapeLikePattern(text, '!'));
        }
    }

    std::string sql;
    SqlParams all;
    for (std::size_t i = 0; i < existing.size(); ++i) {
        const std::string table = existing[i][0];
        if (!sql.empty()) sql += " UNION ALL ";
        sql +=
            "select SEND_TIME '발송일', case CALL_STATUS when '' then '결과대기' when '4100' "
            "then '전송완료' when '6600' then '전송완료' when '4400' then '음영지역' when "
            "'6603' then '음영지역' when '4410' then '오류번호' when '6606' then '오류번호' "
            "else concat('기타에러(',CALL_STATUS,')') end '처리결과', `SEND_PHONE` '발송번호', "
            "`DEST_PHONE` '수신번호', `DEST_NAME` '수신자명', replace(MSG_BODY,'\\n','_') "
            "'내용' from bizclient.`" +
            table + "` where DATE(SEND_TIME) between ? and ? and CINFO=?" + filters;
        all.insert(all.end(), filterParams.begin(), filterParams.end());
    }
    if (sql.empty()) {
        Recordset empty;
        empty.columns = {"발송일", "처리결과", "발송번호", "수신번호", "수신자명", "내용"};
        return empty;
    }
    return db.OpenRecordset(sql + " order by 1 desc", all);
}

}  // namespace qx
