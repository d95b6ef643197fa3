#include "cms/transmission/eb11_summary.h"

#include <algorithm>

#include "cms/transmission/kftc_transfer.h"
#include "core/session_context.h"
#include "db/business_days.h"
#include "db/database.h"
#include "db/server_clock.h"
#include "platform/interaction.h"
#include "session/eb11_status.h"

namespace qx {

namespace {

std::string Compact(const CivilDate& d) {
    std::string text = FormatDate(d);  // yyyy-mm-dd
    text.erase(std::remove(text.begin(), text.end(), '-'), text.end());
    return text;
}

// The receivable list shows the receive codes as words; the mark needs the code.
std::string CodeOf(const std::string& shown) {
    if (shown == "미수신") return "06";
    if (shown == "수신완료") return "08";
    if (shown == "기간만료파일") return "09";
    return shown;
}

}  // namespace

std::string Eb11Mark(const std::string& receiveCode, long long unanswered, long long answered,
                     bool eb12Held) {
    if (receiveCode == "06") return " ×";
    if (receiveCode == "09") return " □";
    if (receiveCode != "08") return " ※";
    if (unanswered == 0 && answered == 0) return " ○";  // fetched, not applied yet
    if (unanswered > 0) return " ◎";                    // applied, the answer is due
    return eb12Held ? " √" : " △";  // answered here; the clearing house must hold it
}

std::optional<std::string> KftcEb11Summary(Database& db, SessionContext& s, Interaction& ui,
                                           KftcLibrary& lib) {
    ui.progress(kEb11SummaryJob, 0, 0);
    ReadServerDate(db, s);
    const auto now = ParseServerClock(s.server_datetime);
    if (!now) return std::nullopt;
    KftcTransfer transfer(db, s, ui, lib);
    if (!transfer.Start()) return std::nullopt;
    const std::string to = Compact(now->date);
    const std::string from = Compact(AddDays(now->date, -kEb11SummaryDays));
    const auto list = transfer.Receivable(from, to, ReceiveKind::All);
    std::optional<std::string> text;
    if (list) {
        const std::string time = s.server_datetime.substr(9, 8);
        // The newest EB11 file of the period (rows: "", name, path, date, size, state, ...).
        const std::vector<std::string>* newest = nullptr;
        for (const auto& row : list->rows)
            if (row.size() > 5 && row[1].rfind("EB11", 0) == 0 &&
                (!newest || row[3] > (*newest)[3]))
                newest = &row;
        if (!newest) {
            text = time + " " + kNoEb11File;
        } else {
            std::string date = (*newest)[3];  // yyyy-mm-dd
            date.erase(std::remove(date.begin(), date.end(), '-'), date.end());
            auto rs = db.OpenRecordset(
                "select ifnull(sum(if(pross_stat=0,1,0)),0) sendno, "
                "ifnull(sum(if(pross_stat=1,1,0)),0) sendok from " +
                    InstitutionSchema(s.institution_number) + ".file_ea11 where reg_date=?",
                {date});
            const long long unanswered = rs.empty() ? 0 : rs[0].asInt("sendno");
            const long long answered = rs.empty() ? 0 : rs[0].asInt("sendok");
            const bool eb12Held = lib.ResultOfSend(date, "EB12" + date.substr(4)).code == 0;
            text = time + Eb11Mark(CodeOf((*newest)[5]), unanswered, answered, eb12Held) + "[" +
                   std::to_string(unanswered) + "] " + (*newest)[1];
        }
    }
    transfer.Close();
    return text;
}

}  // namespace qx
