#include "channels/card/card_payments.h"

#include <map>
#include <optional>
#include <stdexcept>

#include "cms/eb21/eb21_creation.h"
#include "cms/workspace/creation_lock.h"
#include "cms/workspace/file_names.h"
#include "cms/workspace/head_office_gate.h"
#include "core/session_context.h"
#include "db/database.h"
#include "db/holidays.h"
#include "db/payer_number.h"
#include "db/sql_quote.h"
#include "platform/interaction.h"

namespace qx {

namespace {

constexpr std::size_t kRowsPerStatement = 100;

struct Refusal : std::runtime_error {
    explicit Refusal(const char* text) : std::runtime_error(text) {}
};

// Approved payments that may be cancelled: approved, not refused.
constexpr const char* kApprovedSql = "purchase_kind=0 and result='' and approval_no<>''";

bool OverCardLimit(Database& db, const SessionContext& s, const CivilDate& date, long long amount) {
    return LoadMonthFigures(db, s, date, BillingChannel::Card).excess(amount) > 0;
}

std::string Ids(const std::vector<long long>& keys) {
    std::string ids;
    for (const long long k : keys) ids += (ids.empty() ? "" : ",") + std::to_string(k);
    return ids;
}

std::vector<ApprovedPayment> ReadPayments(Database& db, const std::string& where,
                                          const SqlParams& params, const SessionContext& s) {
    const auto rs = db.OpenRecordset(
        "select d.cdp_inx,d.reg_date,d.user_no,d.account_name,d.card_no,d.approval_no,d.title,"
        "d.amount,d.cancel_status,member_user.username,member_user.cms_status,"
        "member_user.cms_error,member_user.inday,member_user.branch_inx,"
        "member_user.agency_inx," +
            (s.case_sql.branch_name.empty() ? std::string("''") : s.case_sql.branch_name) +
            " branch_name," +
            (s.case_sql.agency_name.empty() ? std::string("''") : s.case_sql.agency_name) +
            " agency_name from " + s.schema() + ".cdpay_detail d left join " + s.schema() +
            ".member_user on member_user.member_inx=d.user_no where " + where +
            " order by d.reg_date,d.seq_num",
        params);
    std::vector<ApprovedPayment> out;
    for (std::size_t i = 0; i < rs.size(); ++i) {
        const auto r = rs[i];
        ApprovedPayment p;
        p.cdp_inx = r.asInt("cdp_inx");
        p.regDate = r["reg_date"];
        p.payerNumber = PadPayerNumber(r["user_no"], 10);
        p.name = r["username"].empty() ? r["account_name"] : r["username"];
        p.cardNo = r["card_no"];
        p.approvalNo = r["approval_no"];
        p.title = r["title"];
        p.amount = r.asInt("amount");
        p.cancelStatus = r["cancel_status"];
        p.cmsStatus = r["cms_status"];
        p.cmsError = r["cms_error"];
        p.inday = r["inday"];
        p.branch_inx = r.asInt("branch_inx");
        p.agency_inx = r.asInt("agency_inx");
        p.branchName = r["branch_name"];
        p.agencyName = r["agency_name"];
        out.push_back(std::move(p));
    }
    return out;
}

long long MoveCancellations(Database& db, const SessionContext& s, Interaction& ui,
                            const std::vector<long long>& keys, const char* from, const char* to,
                            const char* doneWord, bool* closeScreen) {
    long long n = 0;
    if (!keys.empty())
        n = db.ExecuteSql("update " + s.schema() + ".cdpay_detail set cancel_status=? where " +
                              kApprovedSql + " and cancel_status=? and cdp_inx in (" + Ids(keys) +
                              ")",
                          {to, from});
    ui.inform("총 '" + std::to_string(n) + "' 건의 출금취소내역을 " + doneWord + "하였습니다.");
    const bool back = ui.confirm(kCardReturnQuestion);
    if (closeScreen) *closeScreen = back;
    return n;
}

}  // namespace

Eb21Options CardPaymentOptions(Eb21Options options) {
    options.channel = BillingChannel::Card;
    return options;
}

const std::vector<std::string>& CardPaymentColumns() {
    static const std::vector<std::string> c = {
        "납부자번호",   "고객명/상호",   "출금신청액", "매출일자",    "회차",
        "구분",         "CMS상태",       "CARD에러",   "카드번호",    "유효년월",
        "통장기장내역", "출금/취소구분", "CMS상태",    "가가가",      "나나나",
        "이체예정일",   "매출예정액",    "예금주명",   "CARD취소상태"};
    return c;
}

std::vector<std::string> CardPaymentCells(const Eb21Row& r) {
    // The two hidden columns carry the branch and agency names; the last two
    // are not known at the search and are read on creation.
    return {r.payerNumber,
            r.name,
            std::to_string(r.amount),
            r.saleDate,
            r.addcount,
            r.unpaid ? "미납분" : "정기분",
            r.cmsStatusText,
            r.cmsError,
            r.accountNo,
            r.holderNumber,
            r.passbook,
            kCardPaymentKindText,
            r.cmsStatus,
            r.branchName,
            r.agencyName,
            r.inday,
            std::to_string(r.expected),
            "",
            ""};
}

CardPaymentResult CreateCardPaymentRequest(Database& db, SessionContext& s, Interaction& ui,
                                           const CardPaymentRequest& request) {
    CardPaymentResult result;
    result.date = request.date;
    const CivilDate date = request.date;
    if (!HeadOfficeMayWorkOnFiles(s, ui)) return result;
    if (!CardRequestDateUsable(db, s, ui, result.date)) return result;
    if (IsHoliday(db, date)) {
        ui.inform(kEb21HolidayText);
        return result;
    }
    const std::string schema = s.schema();
    const std::string yymmdd = Yymmdd(date);
    const Eb21Selection selection = SelectedOf(request.rows);
    const long long scheduled =
        db.scalarInt("select count(1) from " + schema + ".cdpay_detail where " + kApprovedSql +
                     " and cancel_status='Y'");
    if (selection.count == 0 && scheduled == 0) {
        ui.inform(kEb21NoSelectionText);
        return result;
    }
    if (OverCardLimit(db, s, date, selection.amount)) {
        ui.inform(kCardOverLimitText);
        return result;
    }
    if (CardRequestExists(db, s, ui, CardRequestKind::Payments, date)) return result;
    const std::string name = CardRequestName(CardRequestKind::Payments, date);
    if (!ui.confirm("총 '" + std::to_string(selection.count + scheduled) + "' 건의 [CPAY" +
                    yymmdd.substr(2) + "] 파일을 생성합니다.\r\n진행하시겠습니까?"))
        return result;

    std::optional<CreationLock> lock;
    lock.emplace(db, s, "CPAY");
    if (!lock->held()) {
        ui.inform(kCreationBusyText);
        return result;
    }
    try {
        Database::Transaction tx(db);
        if (db.scalarInt("select count(1) from " + schema + ".cdpay where mid(filename, 5)=?",
                         {yymmdd}) > 0)
            throw Refusal(kCardDuplicateText);
        if (OverCardLimit(db, s, date, selection.amount)) throw Refusal(kCardOverLimitText);

        // The members as they are now, locked; every billed one must still be
        // a card member in the state the search found.
        struct Member {
            std::string status, holder, cancelStatus;
        };
        std::map<long long, Member> before;
        std::vector<long long> billed;
        for (const Eb21Row& r : request.rows)
            if (r.selected) billed.push_back(r.member_inx);
        if (!billed.empty()) {
            const auto rs = db.OpenRecordset(
                "select member_inx,cms_status,remove,settle_accounts,"
                "account_name,card_cancel_status from " +
                schema + ".member_user where member_inx in (" + Ids(billed) + ") for update");
            for (std::size_t i = 0; i < rs.size(); ++i)
                if (rs[i]["remove"] == "1" && rs[i]["settle_accounts"] == "5")
                    before[rs[i].asInt("member_inx")] = {rs[i]["cms_status"], rs[i]["account_name"],
                                                         rs[i]["card_cancel_status"]};
        }
        std::string values;
        long long serial = 0;
        auto flush = [&] {
            if (values.empty()) return;
            db.ExecuteSql("insert into " + schema +
                          ".cdpay_detail (seq_num,reg_date,card_no,amount,valid_yymm,user_no,"
                          "account_name,purchase_kind,oldcms_status,title,oldcard_cancel_status,"
                          "approval_no,cancel_cdp_inx,cancel_date) values " +
                          values);
            values.clear();
        };
        for (const Eb21Row& r : request.rows) {
            if (!r.selected) continue;
            const auto it = before.find(r.member_inx);
            if (it == before.end() || it->second.status != r.cmsStatus ||
                (r.cmsStatus != "3" && r.cmsStatus != "7" && r.cmsStatus != "8"))
                throw Refusal(kCardStaleRowsText);
            ++serial;
            if (!values.empty()) values += ",";
            values += "(" + std::to_string(serial) + "," + SqlQuote(yymmdd) + "," +
                      SqlQuote(r.accountNo) + "," + std::to_string(r.amount) + "," +
                      SqlQuote(r.holderNumber) + "," + std::to_string(r.member_inx) + "," +
                      SqlQuote(it->second.holder) + ",'0'," + SqlQuote(r.cmsStatus) + "," +
                      SqlQuote(r.passbook) + "," + SqlQuote(it->second.cancelStatus) + ",'',0,'')";
            ++result.payments;
            result.paymentMoney += r.amount;
            if (serial % kRowsPerStatement == 0) {
                flush();
                ui.progress(Eb21ProgressText(serial, selection.count), serial, selection.count);
            }
        }
        flush();
        if (!billed.empty())
            db.ExecuteSql("update " + schema +
                          ".member_user set cms_status=6 where member_inx in (" + Ids(billed) +
                          ")");

        ui.progress(kCardCancellationsAddingText, 0, 0);
        const auto cancels = db.OpenRecordset(
            "select d.card_no,d.amount,d.valid_yymm,d.user_no,d.account_name,m.cms_status,"
            "d.approval_no,d.title,d.cdp_inx,m.card_cancel_status,d.reg_date,d.cancel_date from " +
            schema + ".cdpay_detail d left join " + schema +
            ".member_user m on m.member_inx=d.user_no where d." + kApprovedSql +
            " and d.cancel_status='Y' order by d.cdp_inx for update");
        std::vector<long long> cancelled, cancelMembers;
        for (std::size_t i = 0; i < cancels.size(); ++i) {
            const auto c = cancels[i];
            const long long member = c.asInt("user_no");
            // A member billed in this request keeps the state it had before it.
            const auto b = before.find(member);
            const std::string oldStatus = b != before.end() ? b->second.status : c["cms_status"];
            const std::string oldCancel =
                b != before.end() ? b->second.cancelStatus : c["card_cancel_status"];
            ++serial;
            if (!values.empty()) values += ",";
            values += "(" + std::to_string(serial) + "," + SqlQuote(yymmdd) + "," +
                      SqlQuote(c["card_no"]) + "," + std::to_string(c.asInt("amount")) + "," +
                      SqlQuote(c["valid_yymm"]) + "," + std::to_string(member) + "," +
                      SqlQuote(c["account_name"]) + ",'1'," + SqlQuote(oldStatus) + "," +
                      SqlQuote(c["title"]) + "," + SqlQuote(oldCancel.empty() ? "0" : oldCancel) +
                      "," + SqlQuote(c["approval_no"]) + "," + c["cdp_inx"] + "," +
                      // The card company finds the payment by its approval and its day.
                      SqlQuote(c["cancel_date"].empty() ? "20" + c["reg_date"] : c["cancel_date"]) +
                      ")";
            ++result.cancellations;
            result.cancelMoney += c.asInt("amount");
            cancelled.push_back(c.asInt("cdp_inx"));
            cancelMembers.push_back(member);
            if (serial % kRowsPerStatement == 0) flush();
        }
        flush();
        if (!cancelled.empty()) {
            db.ExecuteSql("update " + schema +
                          ".member_user set card_cancel_status=1 where member_inx in (" +
                          Ids(cancelMembers) + ")");
            db.ExecuteSql("update " + schema +
                          ".cdpay_detail set cancel_status='C' where cancel_status='Y' and "
                          "cdp_inx in (" +
                          Ids(cancelled) + ")");
        }
        if (serial == 0) throw Refusal(kEb21NoSelectionText);
        db.ExecuteSql("insert into " + schema +
                          ".cdpay (`makedate`, `filename`, `total_cnt`, `total_money`, "
                          "`sale_cnt`, `sale_money`, `cancel_cnt`, `cancel_money`, `commission`, "
                          "`pross_stat`) VALUES (unix_timestamp(sysdate()),?,?,?,?,?,?,?,'0','0')",
                      {name, serial, result.paymentMoney + result.cancelMoney, result.payments,
                       result.paymentMoney, result.cancellations, result.cancelMoney});
        db.WriteProcessLog("CPAY" + yymmdd.substr(2) + " 파일생성", 5);
        tx.commit();
    } catch (const Refusal& e) {
        ui.inform(e.what());
        CardPaymentResult refused;
        refused.date = date;
        return refused;
    }
    lock.reset();
    result.created = true;
    result.closing = CloseCardRequest(s, ui, CardRequestKind::Payments, date,
                                      result.payments + result.cancellations, request.openSend);
    return result;
}

const std::vector<std::string>& ApprovedPaymentColumns() {
    static const std::vector<std::string> c = {"매출일자",     "납부자번호", "고객명",
                                               "카드번호",     "금액",       "승인번호",
                                               "통장기장내역", "취소상태"};
    return c;
}

std::vector<std::string> ApprovedPaymentCells(const ApprovedPayment& p) {
    return {p.regDate,    p.payerNumber, p.name,        p.cardNo, std::to_string(p.amount),
            p.approvalNo, p.title,       p.cancelStatus};
}

std::vector<Eb21Row> ApprovedPaymentRows(const std::vector<ApprovedPayment>& payments,
                                         bool selected) {
    std::vector<Eb21Row> rows;
    for (const auto& p : payments) {
        Eb21Row r;
        r.member_inx = p.cdp_inx;
        r.payerNumber = p.payerNumber;
        r.name = p.name;
        r.amount = p.amount;
        // reg_date is yymmdd; the months criterion reads yy-mm-dd.
        if (p.regDate.size() == 6)
            r.repDay = p.regDate.substr(0, 2) + "-" + p.regDate.substr(2, 2) + "-" +
                       p.regDate.substr(4, 2);
        r.cmsStatus = p.cmsStatus;
        r.cmsError = p.cmsStatus == "8" ? p.cmsError : "";
        r.inday = p.inday;
        r.branch_inx = p.branch_inx;
        r.agency_inx = p.agency_inx;
        r.branchName = p.branchName;
        r.agencyName = p.agencyName;
        r.selected = selected;
        rows.push_back(std::move(r));
    }
    return rows;
}

std::vector<ApprovedPayment> ListCancellationCandidates(Database& db, const SessionContext& s,
                                                        const CivilDate& date) {
    return ReadPayments(
        db, std::string("d.") + kApprovedSql + " and d.reg_date=? and d.cancel_status='N'",
        {Yymmdd(date)}, s);
}

std::vector<ApprovedPayment> ListScheduledCancellations(Database& db, const SessionContext& s) {
    return ReadPayments(db, std::string("d.") + kApprovedSql + " and d.cancel_status='Y'", {}, s);
}

long long ScheduleCancellations(Database& db, const SessionContext& s, Interaction& ui,
                                const std::vector<long long>& keys, bool* closeScreen) {
    return MoveCancellations(db, s, ui, keys, "N", "Y", "추가", closeScreen);
}

long long UnscheduleCancellations(Database& db, const SessionContext& s, Interaction& ui,
                                  const std::vector<long long>& keys, bool* closeScreen) {
    return MoveCancellations(db, s, ui, keys, "Y", "N", "제거", closeScreen);
}

}  // namespace qx
