#include "channels/card/card_request.h"

#include <stdexcept>

#include "cms/workspace/file_names.h"
#include "core/session_context.h"
#include "db/database.h"
#include "db/server_clock.h"
#include "platform/interaction.h"

namespace qx {

const char* CardRequestPrefix(CardRequestKind kind) {
    return kind == CardRequestKind::Members ? "CMEM" : "CPAY";
}

std::string CardRequestName(CardRequestKind kind, const CivilDate& date) {
    return CardRequestPrefix(kind) + Yymmdd(date);
}

bool CardRequestDateUsable(Database& db, SessionContext& s, Interaction& ui, CivilDate& date) {
    ReadServerDate(db, s);
    const auto now = ParseServerClock(s.server_datetime);
    if (!now) throw std::runtime_error("server clock unreadable: " + s.server_datetime);
    if (IsValidDate(date) && !(date < now->date)) return true;
    ui.inform(kCardPastDateText);
    date = now->date;
    return false;
}

bool CardRequestExists(Database& db, const SessionContext& s, Interaction& ui, CardRequestKind kind,
                       const CivilDate& date) {
    const std::string table = kind == CardRequestKind::Members ? ".cdmem" : ".cdpay";
    if (db.scalarInt("select count(1) from " + s.schema() + table + " where mid(filename, 5)=?",
                     {Yymmdd(date)}) == 0)
        return false;
    ui.inform(kCardDuplicateText);
    return true;
}

CardClosing CloseCardRequest(const SessionContext& s, Interaction& ui, CardRequestKind kind,
                             const CivilDate& date, long long count,
                             const std::function<void()>& openSend) {
    const bool members = kind == CardRequestKind::Members;
    const std::string created =
        "총 '" + std::to_string(count) + "' 건의 [" + CardRequestPrefix(kind) +
        Yymmdd(date).substr(2) + "] 파일을 생성하였습니다.\r\n\r\n" +
        (members ? "생성한 파일을 바로 송신하지 않으면,\r\n파일 송신시 데이터 오류가 발생할 수 "
                   "있습니다."
                 : "생성한 파일을 바로 송신하시지 않으면,\r\n데이터 오류가 발생할 수 있습니다.");
    CardClosing out;
    if (!s.isHeadOffice()) {
        ui.inform(created);
        ui.inform(kCardBranchSendText);
    } else {
        out.sendOffered = true;
        if (ui.confirm(created + "\r\n\r\n" + kCardSendQuestion)) {
            if (openSend) openSend();
            return out;
        }
    }
    out.closeScreen = ui.confirm(kCardReturnQuestion);
    return out;
}

}  // namespace qx
