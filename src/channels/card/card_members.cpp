#include "channels/card/card_members.h"

#include <map>
#include <optional>
#include <stdexcept>

#include "cms/workspace/creation_lock.h"
#include "cms/workspace/file_names.h"
#include "core/session_context.h"
#include "db/database.h"
#include "db/payer_number.h"
#include "db/role_filter.h"
#include "db/sql_quote.h"
#include "platform/interaction.h"
#include "platform/text_checks.h"
#include "platform/trim.h"

namespace qx {

namespace {

constexpr std::size_t kRowsPerStatement = 100;

// The same rules as CardMobileUsable / CardDataUsable, for the statements.
constexpr const char* kMobileSql = "replace(certificate_number,'-','')";
std::string MobileUsableSql() {
    return std::string("(left(") + kMobileSql + ",3) in ('010','011','016','017','018','019') " +
           "and char_length(" + kMobileSql + ") in (10,11))";
}
constexpr const char* kCardDataUsableSql =
    "(char_length(account_jumin)=4 and char_length(account_no)<=16)";
// Who a CMEM request takes: new members (0, 11) and cancellations, among
// them the old rows of a changed card (remove 4, state 15).
constexpr const char* kListedSql =
    " settle_accounts='5' and ((cms_status in ('0','11') and remove in ('1','2')) or "
    "(remove='4' and cms_status = '15'))";

struct Refusal : std::runtime_error {
    explicit Refusal(const char* text) : std::runtime_error(text) {}
};

// Characters, as char_length counts them in the statements.
std::size_t CharCount(const std::string& utf8) {
    std::size_t n = 0;
    for (const unsigned char c : utf8) n += (c & 0xC0) != 0x80;
    return n;
}

std::string WithoutDashes(std::string t) {
    std::erase(t, '-');
    return t;
}

}  // namespace

bool CardMobileUsable(const std::string& mobile) {
    const std::string m = WithoutDashes(Trim(mobile));
    if ((m.size() != 10 && m.size() != 11) || !IsAllDigits(m)) return false;
    const std::string p = m.substr(0, 3);
    return p == "010" || p == "011" || p == "016" || p == "017" || p == "018" || p == "019";
}

bool CardDataUsable(const std::string& cardNo, const std::string& expiry) {
    return CharCount(expiry) == 4 && CharCount(cardNo) <= 16;
}

long long MarkCardMemberErrors(Database& db, const SessionContext& s) {
    const std::string where = " where settle_accounts='5' and cms_status='0' and remove='1' and ";
    long long n =
        db.ExecuteSql("update " + s.schema() + ".member_user set cms_status=2,cms_error=?" + where +
                          "not " + kCardDataUsableSql,
                      {kCardDataErrorText});
    n += db.ExecuteSql("update " + s.schema() + ".member_user set cms_status=2,cms_error=?" +
                           where + "not " + MobileUsableSql(),
                       {kCardMobileErrorText});
    return n;
}

const std::vector<std::string>& CardMemberColumns() {
    static const std::vector<std::string> c = {
        "고객명",       "상호",          "이체예정일",   "카드번호", "예금주명",
        "유효년월",     "신청구분",      "납부자번호",   "CMS에러",  "CMS상태",
        "카드주휴대폰", "이메일_영수증", "상품명_영수증"};
    return c;
}

std::vector<std::string> CardMemberCells(const CardMemberTarget& r) {
    return {r.name,
            r.company,
            r.inday,
            r.cardNo,
            r.holder,
            r.expiry,
            r.created ? "신규" : "해지",
            r.payerNumber,
            r.cmsError,
            r.cmsStatusText,
            r.mobile,
            r.email,
            r.goods};
}

std::vector<CardMemberTarget> ListCardMemberTargets(Database& db, const SessionContext& s) {
    MarkCardMemberErrors(db, s);
    const std::string status =
        s.case_sql.cms_status.empty() ? "member_user.cms_status" : s.case_sql.cms_status;
    std::string sql =
        "select member_inx,username,client_company,inday,account_no,account_name,account_jumin,"
        "remove,cms_status,cms_error,certificate_number,user_email,p_tax,cash_receipt_info," +
        status + " status_text from " + s.schema() + ".member_user member_user where" + kListedSql +
        " and " + kCardDataUsableSql + " and " + MobileUsableSql();
    SqlParams params;
    AppendRoleFilter(sql, params, s);
    sql += " order by if(remove='1',0,1), member_inx";
    const auto rs = db.OpenRecordset(sql, params);
    std::vector<CardMemberTarget> out;
    for (std::size_t i = 0; i < rs.size(); ++i) {
        const auto r = rs[i];
        CardMemberTarget t;
        t.member_inx = r.asInt("member_inx");
        t.payerNumber = PadPayerNumber(r["member_inx"], 10);
        t.name = r["username"];
        t.memberName = r["username"];
        t.company = r["client_company"];
        t.inday = r["inday"];
        t.cardNo = r["account_no"];
        t.holder = r["account_name"];
        t.expiry = r["account_jumin"];
        t.remove = r["remove"];
        t.created = t.remove == "1";
        t.cmsStatus = r["cms_status"];
        t.cmsStatusText = r["status_text"];
        t.cmsError = r["cms_error"];
        t.mobile = WithoutDashes(r["certificate_number"]);
        // The receipt goes by e-mail only to members who asked for it.
        if (r["p_tax"] == "3" && !Trim(r["user_email"]).empty()) {
            t.email = r["user_email"];
            t.goods = r["cash_receipt_info"];
        }
        out.push_back(std::move(t));
    }
    return out;
}

CardMemberResult CreateCardMemberRequest(Database& db, SessionContext& s, Interaction& ui,
                                         CivilDate date, const std::vector<CardMemberTarget>& rows,
                                         const std::function<void()>& openSend) {
    CardMemberResult result;
    result.date = date;
    if (!CardRequestDateUsable(db, s, ui, result.date)) return result;
    if (CardRequestExists(db, s, ui, CardRequestKind::Members, date)) return result;
    if (rows.empty()) {
        ui.inform(kCardNoMembersText);
        return result;
    }
    const std::string yymmdd = Yymmdd(date);
    const std::string schema = s.schema();
    std::optional<CreationLock> lock;
    lock.emplace(db, s, "CMEM");
    if (!lock->held()) {
        ui.inform(kCreationBusyText);
        return result;
    }
    try {
        Database::Transaction tx(db);
        // Under the lock: a second desk's request of the day is visible now.
        if (db.scalarInt("select count(1) from " + schema + ".cdmem where mid(filename, 5)=?",
                         {yymmdd}) > 0)
            throw Refusal(kCardDuplicateText);
        std::string ids;
        for (const auto& r : rows) ids += (ids.empty() ? "" : ",") + std::to_string(r.member_inx);
        // Every member must still be one the listing would take, in the same
        // state: a member registered or changed meanwhile is not sent twice.
        const auto now = db.OpenRecordset("select member_inx,cms_status,remove from " + schema +
                                          ".member_user where member_inx in (" + ids + ") and" +
                                          kListedSql + " and " + kCardDataUsableSql + " and " +
                                          MobileUsableSql() + " for update");
        std::map<long long, std::pair<std::string, std::string>> current;
        for (std::size_t i = 0; i < now.size(); ++i)
            current[now[i].asInt("member_inx")] = {now[i]["cms_status"], now[i]["remove"]};
        std::string values;
        long long serial = 0;
        for (const auto& r : rows) {
            const auto it = current.find(r.member_inx);
            if (it == current.end() || it->second.first != r.cmsStatus ||
                it->second.second != r.remove)
                throw Refusal(kCardStaleRowsText);
            ++serial;
            std::string holder = Trim(r.holder);
            if (holder.empty()) holder = Trim(r.memberName);
            if (holder.empty()) holder = kCardHolderMissingText;
            if (!values.empty()) values += ",";
            values += "(" + std::to_string(serial) + "," + SqlQuote(yymmdd) + "," +
                      SqlQuote(r.created ? "1" : "3") + "," + std::to_string(r.member_inx) + "," +
                      SqlQuote(holder) + "," + SqlQuote(r.cardNo) + "," + SqlQuote(r.expiry) + "," +
                      SqlQuote(r.cmsStatus) + "," + SqlQuote(r.mobile) + "," + SqlQuote(r.email) +
                      "," + SqlQuote(r.goods) + ")";
            r.created ? ++result.news : ++result.cancellations;
            if (serial % kRowsPerStatement == 0 || serial == static_cast<long long>(rows.size())) {
                db.ExecuteSql("insert into " + schema +
                              ".cdmem_detail (seq_num,reg_date,reg_kind,user_no,account_name,"
                              "card_no,valid_yymm,oldcms_status,user_phone,user_email,goods_name) "
                              "values " +
                              values);
                values.clear();
            }
        }
        db.ExecuteSql("update " + schema +
                      ".member_user set cms_status=if(remove=1,1,12) where member_inx in (" + ids +
                      ")");
        result.count = serial;
        db.ExecuteSql("insert into " + schema +
                          ".cdmem (`makedate`, `filename`, `create_cnt`, `delete_cnt`, "
                          "`total_cnt`, `pross_stat`) VALUES (unix_timestamp(sysdate()),?,?,?,?,"
                          "'0')",
                      {CardRequestName(CardRequestKind::Members, date), result.news,
                       result.cancellations, result.count});
        db.WriteProcessLog("CMEM" + yymmdd.substr(2) + " 파일생성", 5);
        tx.commit();
    } catch (const Refusal& e) {
        ui.inform(e.what());
        return CardMemberResult{false, 0, 0, 0, date, {}};
    }
    lock.reset();
    result.created = true;
    result.closing =
        CloseCardRequest(s, ui, CardRequestKind::Members, date, result.count, openSend);
    return result;
}

}  // namespace qx
