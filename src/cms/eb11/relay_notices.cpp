#include "cms/eb11/relay_notices.h"

#include "cms/eb11/eb11_file.h"
#include "core/session_context.h"
#include "db/database.h"

namespace qx {

std::string RelayNoticeKindText(const std::string& kind) {
    if (kind == "C") return "계좌변경";
    if (kind == "D") return "해지";
    return kind;
}

std::string RelayNoticeStateText(const std::string& state) {
    static const char* const kTexts[] = {"처리전", "처리중", "처리대기중", "처리완료", "처리불가"};
    if (state.size() == 1 && state[0] >= '0' && state[0] <= '4') return kTexts[state[0] - '0'];
    return state;
}

std::vector<std::string> RelayNoticeColumns() {
    return {"구분",     "접수일자", "납부자번호", "은행코드", "계좌번호", "생년월일(사업자번호)",
            "접수채널", "처리상태", "처리결과"};
}

std::vector<std::vector<std::string>> RelayNotices(Database& db, const SessionContext& s,
                                                   const std::string& yyyy) {
    std::vector<std::vector<std::string>> out;
    if (db.scalarInt("select count(*) from information_schema.tables where "
                     "table_schema='sdsi' and table_name='acnt_status_check'") == 0)
        return out;
    // The relay writes the day as yyyymmdd; a six-digit day is read as 20yy.
    const Recordset rs = db.OpenRecordset(
        "select asc_reg_kind, asc_reg_date, asc_user_no, asc_bank_code, asc_account_no, "
        "asc_id_no, asc_channel, asc_pross_status, asc_result_msg from sdsi.acnt_status_check "
        "where asc_cominx=? and left(if(length(asc_reg_date)=6, concat('20', asc_reg_date), "
        "asc_reg_date), 4)=? order by asc_reg_date desc, asc_inx asc",
        {s.institution_number, yyyy});
    for (std::size_t i = 0; i < rs.size(); ++i) {
        const auto r = rs[i];
        // A change names the account to register, a cancellation the one to
        // end: the channel reads as it would on a received record.
        const std::string kind = r["asc_reg_kind"] == "C" ? "1" : "3";
        out.push_back({RelayNoticeKindText(r["asc_reg_kind"]), r["asc_reg_date"], r["asc_user_no"],
                       r["asc_bank_code"], r["asc_account_no"], r["asc_id_no"],
                       Eb11ChannelText(r["asc_channel"], kind),
                       RelayNoticeStateText(r["asc_pross_status"]), r["asc_result_msg"]});
    }
    return out;
}

}  // namespace qx
