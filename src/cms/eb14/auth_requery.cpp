#include "cms/eb14/auth_requery.h"

#include <chrono>
#include <thread>

#include "core/session_context.h"
#include "db/business_days.h"
#include "db/database.h"
#include "db/holidays.h"
#include "platform/interaction.h"

namespace qx {

namespace {

std::string PadRight(std::string text, std::size_t width) {
    text.resize(width, ' ');
    return text;
}

std::string ZeroPadded(long long value, std::size_t width) {
    std::string text = std::to_string(value);
    return text.size() >= width ? text.substr(text.size() - width)
                                : std::string(width - text.size(), '0') + text;
}

}  // namespace

std::string AuthRequeryQuestion(const std::string& name) {
    return "선택된 [" + name + "]고객님의 인증결과를 재조회 하시겠습니까?";
}

std::optional<AuthRequeryRow> FindAuthRequeryRow(Database& db, const SessionContext& session,
                                                 const std::string& filename, long long member) {
    if (filename.size() != 10 || filename.rfind("EB13", 0) != 0) return std::nullopt;
    const std::string s = InstitutionSchema(session.institution_number);
    const Recordset rs = db.OpenRecordset(
        "select f.ea13_inx, f.user_no, f.seq_num, f.reg_date, f.reg_kind, f.certifi_result, "
        "coalesce(m.username,'') username, f.user_phone from " +
            s + ".file_ea13 f left join " + s +
            ".member_user m on m.member_inx=f.user_no where f.reg_date=? and f.user_no=? "
            "order by f.seq_num desc limit 1",
        {filename.substr(4), member});
    if (rs.empty()) return std::nullopt;
    const auto r = rs[0];
    return AuthRequeryRow{r.asInt("ea13_inx"), r.asInt("user_no"), r.asInt("seq_num"),
                          r["reg_date"],       r["reg_kind"],      r["certifi_result"],
                          r["username"],       r["user_phone"]};
}

bool MayRequeryAuth(const AuthRequeryRow& row) {
    return row.regKind == "1" &&
           (row.certifiResult == "F" || row.certifiResult == "Z" || row.certifiResult == "I");
}

std::string AuthRequestRecord(const SessionContext& session, const AuthRequeryRow& row) {
    return "A" + PadRight(session.org_code, 10) + PadRight(row.yymmdd, 6) +
           ZeroPadded(row.serial, 8) + PadRight(std::to_string(row.member), 20) +
           PadRight(row.phone, 15);
}

std::optional<long long> StartAuthRequery(Database& db, const SessionContext& session,
                                          Interaction& ui, const AuthRequeryRow& row) {
    if (!MayRequeryAuth(row)) {
        ui.inform(kAuthRequeryOnlyUnverifiedText, kDefaultTitle);
        return std::nullopt;
    }
    if (!ui.confirm(AuthRequeryQuestion(row.name), kDefaultTitle)) return std::nullopt;
    const auto today = ParseDate(db.scalar("select date_format(now(),'%Y-%m-%d')"));
    if (!today || IsHoliday(db, *today)) {
        ui.inform(kAuthRequeryHolidayText, kAuthRequeryHolidayTitle);
        return std::nullopt;
    }
    ui.progress(kAuthRequeryWaitText, 0, 0);
    db.ExecuteSql(
        "insert into sdsi.rsch_auth (a_org_code, a_company, a_com_inx, a_user_inx, "
        "a_file13_inx, a_stat, a_sendtime, a_recvtime, a_record, a_rtn, a_end) values "
        "(?,?,?,?,?,'1',date_format(now(),'%Y%m%d%H%i%s'),'',?,'','')",
        {session.org_code, session.company, session.institution_number, row.member, row.rowKey,
         AuthRequestRecord(session, row)});
    return db.scalarInt("select last_insert_id();");
}

AuthAnswer PollAuthRequery(Database& db, long long key) {
    const Recordset rs = db.OpenRecordset(
        "select a_stat, mid(a_rtn,1,1) auth_rst from sdsi.rsch_auth where auth_inx=?", {key});
    if (rs.empty()) return AuthAnswer::Unanswerable;
    if (rs[0]["a_stat"] == "1") return AuthAnswer::Waiting;
    if (rs[0]["a_stat"] != "2") return AuthAnswer::Unanswerable;
    const std::string r = rs[0]["auth_rst"];
    if (r == "Y") return AuthAnswer::Success;
    if (r == "I") return AuthAnswer::InProgress;
    if (r == "F") return AuthAnswer::Failed;
    if (r == "Z") return AuthAnswer::Returned;
    return AuthAnswer::Unanswerable;
}

std::string AuthAnswerText(AuthAnswer answer) {
    switch (answer) {
        case AuthAnswer::Success:
            return "인증결과 : [성공] 입니다.";
        case AuthAnswer::InProgress:
            return "인증결과 : [처리중] 입니다.";
        case AuthAnswer::Failed:
            return "인증결과 : [실패] 입니다.";
        case AuthAnswer::Returned:
            return "인증결과 : [반려] 입니다.";
        case AuthAnswer::Unanswerable:
            return kAuthRequeryFailedText;
        case AuthAnswer::Waiting:
            break;
    }
    return {};
}

bool RequeryAuth(Database& db, const SessionContext& session, Interaction& ui,
                 const std::string& filename, long long member, int limitSeconds,
                 int pollMilliseconds) {
    const auto row = FindAuthRequeryRow(db, session, filename, member);
    if (!row) {
        ui.inform(kAuthRequeryOnlyUnverifiedText, kDefaultTitle);
        return false;
    }
    const auto key = StartAuthRequery(db, session, ui, *row);
    if (!key) return false;
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(limitSeconds);
    for (;;) {
        const AuthAnswer answer = PollAuthRequery(db, *key);
        if (answer != AuthAnswer::Waiting) {
            ui.inform(AuthAnswerText(answer),
                      answer == AuthAnswer::Unanswerable ? kDefaultTitle : kAuthResultTitle);
            return answer != AuthAnswer::Unanswerable;
        }
        if (std::chrono::steady_clock::now() >= until) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(pollMilliseconds));
    }
    ui.inform(kAuthRequeryFailedText, kDefaultTitle);
    return false;
}

}  // namespace qx
