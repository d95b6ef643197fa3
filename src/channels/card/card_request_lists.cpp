#include "channels/card/card_request_lists.h"

#include "cms/workspace/cms_status.h"
#include "cms/workspace/file_names.h"
#include "core/session_context.h"
#include "db/database.h"
#include "db/payer_number.h"
#include "platform/text_checks.h"
#include "platform/trim.h"

namespace qx {

namespace {

// makedate of the two days, the second inclusive.
SqlParams Period(const CivilDate& from, const CivilDate& to) {
    return {FormatDate(from), FormatDate(AddDays(to, 1))};
}

std::string FilterSql(CardDetailFilter f) {
    return f == CardDetailFilter::Successes  ? " and d.result=''"
           : f == CardDetailFilter::Failures ? " and d.result='N'"
                                             : "";
}

bool IsCardName(const std::string& name, const char* prefix) {
    return name.size() == 10 && name.rfind(prefix, 0) == 0 && IsAllDigits(name.substr(4));
}

}  // namespace

std::string CardRequestStateText(bool members, const std::string& prossStat,
                                 const std::string& relayStat, const std::string& recvdate) {
    if (prossStat == "1") return members ? kCardMembersAppliedText : kCardPaymentsAppliedText;
    if (Trim(relayStat) == "5")
        return recvdate.size() >= 6
                   ? recvdate.substr(2, 2) + "/" + recvdate.substr(4, 2) + " 수신예정"
                   : std::string();
    if (Trim(relayStat).empty()) return {};
    return RelayStatText(relayStat, recvdate, members ? "CMEM" : "CPAY");
}

const std::vector<std::string>& CardMemberRequestColumns() {
    static const std::vector<std::string> c = {"파일명",   "신규건수",     "해지건수",
                                               "전체건수", "신규성공건수", "해지성공건수",
                                               "실패건수", "처리상태",     "생성일자"};
    return c;
}

std::vector<std::vector<std::string>> ListCardMemberRequests(Database& db, const SessionContext& s,
                                                             const CivilDate& from,
                                                             const CivilDate& to) {
    const auto rs = db.OpenRecordset(
        "select c.filename,c.create_cnt,c.delete_cnt,c.total_cnt,c.createok_cnt,c.deleteok_cnt,"
        "c.false_cnt,c.pross_stat,from_unixtime(c.makedate) made,r.stat,r.recvdate from " +
            s.schema() +
            ".cdmem c left join aegis.filerun r on r.filename=c.filename and r.id=? where "
            "c.makedate>=unix_timestamp(?) and c.makedate<unix_timestamp(?) order by c.makedate "
            "desc",
        [&] {
            SqlParams p{s.org_code};
            for (auto& v : Period(from, to)) p.push_back(v);
            return p;
        }());
    std::vector<std::vector<std::string>> out;
    for (std::size_t i = 0; i < rs.size(); ++i) {
        const auto r = rs[i];
        const bool applied = r["pross_stat"] == "1";
        out.push_back({r["filename"], r["create_cnt"], r["delete_cnt"], r["total_cnt"],
                       applied ? r["createok_cnt"] : "", applied ? r["deleteok_cnt"] : "",
                       applied ? r["false_cnt"] : "",
                       CardRequestStateText(true, r["pross_stat"], r["stat"], r["recvdate"]),
                       r["made"]});
    }
    return out;
}

const std::vector<std::string>& CardPaymentRequestColumns() {
    static const std::vector<std::string> c = {
        "파일명",       "합계건수", "합계금액", "청구건수",     "청구금액",
        "취소건수",     "취소금액", "출금액",   "출금불능금액", "취소성공금액",
        "취소불능금액", "수수료",   "실입금액", "처리상태",     "생성일자"};
    return c;
}

std::vector<std::vector<std::string>> ListCardPaymentRequests(Database& db, const SessionContext& s,
                                                              const CivilDate& from,
                                                              const CivilDate& to) {
    SqlParams params{s.org_code};
    for (auto& v : Period(from, to)) params.push_back(v);
    const auto rs = db.OpenRecordset(
        "select c.filename,c.total_cnt,c.total_money,c.sale_cnt,c.sale_money,c.cancel_cnt,"
        "c.cancel_money,c.rtnok_money,c.rtnfalse_money,c.cancel_rtnok_money,"
        "c.cancel_rtnfalse_money,c.commission,c.rtnok_money-c.commission net,c.pross_stat,"
        "from_unixtime(c.makedate) made,r.stat,r.recvdate from " +
            s.schema() +
            ".cdpay c left join aegis.filerun r on r.filename=c.filename and r.id=? where "
            "c.makedate>=unix_timestamp(?) and c.makedate<unix_timestamp(?) order by "
            "c.pross_stat asc, c.makedate desc",
        params);
    std::vector<std::vector<std::string>> out;
    for (std::size_t i = 0; i < rs.size(); ++i) {
        const auto r = rs[i];
        const bool applied = r["pross_stat"] == "1";
        auto result = [&](const char* column) { return applied ? r[column] : std::string(); };
        out.push_back({r["filename"], r["total_cnt"], r["total_money"], r["sale_cnt"],
                       r["sale_money"], r["cancel_cnt"], r["cancel_money"], result("rtnok_money"),
                       result("rtnfalse_money"), result("cancel_rtnok_money"),
                       result("cancel_rtnfalse_money"), result("commission"), result("net"),
                       CardRequestStateText(false, r["pross_stat"], r["stat"], r["recvdate"]),
                       r["made"]});
    }
    return out;
}

FileDetail CardMemberRequestDetail(Database& db, const SessionContext& s,
                                   const std::string& filename, CardDetailFilter filter) {
    FileDetail out;
    out.title = FileDetailTitle(filename);
    out.columns = {"고객명",     "상호",     "처리",          "납부자번호",
                   "외부참조키", "카드번호", "유효년월",      "처리상태",
                   "예금주명",   "휴대번호", "이메일_영수증", "상품명_영수증"};
    if (!IsCardName(filename, "CMEM")) return out;
    const auto rs = db.OpenRecordset(
        "select m.username,m.client_company,d.reg_kind,d.user_no,m.ext_key,d.card_no,"
        "d.valid_yymm,d.rp_err,d.account_name,d.user_phone,d.user_email,d.goods_name from " +
            s.schema() + ".cdmem_detail d left join " + s.schema() +
            ".member_user m on m.member_inx=d.user_no where d.reg_date=?" + FilterSql(filter) +
            " order by d.seq_num",
        {filename.substr(4)});
    for (std::size_t i = 0; i < rs.size(); ++i) {
        const auto r = rs[i];
        out.rows.push_back(
            {r["username"], r["client_company"], r["reg_kind"] == "1" ? "신규" : "해지",
             PadPayerNumber(r["user_no"], 10), r["ext_key"], r["card_no"], r["valid_yymm"],
             r["rp_err"], r["account_name"], r["user_phone"], r["user_email"], r["goods_name"]});
    }
    return out;
}

FileDetail CardPaymentRequestDetail(Database& db, const SessionContext& s,
                                    const std::string& filename, CardDetailFilter filter) {
    FileDetail out;
    out.title = FileDetailTitle(filename);
    out.columns = {"청구금액",   "취소금액",     "출금액",      "출금불능액", "취소성공액",
                   "취소불능액", "오류내역",     "납부자번호",  "카드번호",   "유효년월",
                   "승인번호",   "출금취소구분", "통장기장내역"};
    if (!IsCardName(filename, "CPAY")) return out;
    // Before the answer no row is withdrawn or refused yet.
    const bool applied =
        db.scalar("select pross_stat from " + s.schema() + ".cdpay where filename=?", {filename}) ==
        "1";
    const auto rs = db.OpenRecordset(
        "select d.purchase_kind,d.amount,d.result,d.rp_err,d.user_no,d.card_no,d.valid_yymm,"
        "d.approval_no,d.title from " +
            s.schema() + ".cdpay_detail d where d.reg_date=?" + FilterSql(filter) +
            " order by d.seq_num",
        {filename.substr(4)});
    for (std::size_t i = 0; i < rs.size(); ++i) {
        const auto r = rs[i];
        const bool payment = r["purchase_kind"] == "0", cancel = r["purchase_kind"] == "1";
        const bool ok = applied && r["result"].empty(), failed = applied && r["result"] == "N";
        const std::string amount = r["amount"], zero = "0";
        out.rows.push_back({payment ? amount : zero, cancel ? amount : zero,
                            payment && ok ? amount : zero, payment && failed ? amount : zero,
                            cancel && ok ? amount : zero, cancel && failed ? amount : zero,
                            r["rp_err"], PadPayerNumber(r["user_no"], 10), r["card_no"],
                            r["valid_yymm"], r["approval_no"],
                            payment  ? "출금"
                            : cancel ? "출금취소"
                                     : "기타",
                            r["title"]});
    }
    return out;
}

}  // namespace qx
