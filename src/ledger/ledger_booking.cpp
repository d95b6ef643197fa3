#include "ledger/ledger_booking.h"

#include "core/session_context.h"
#include "db/database.h"
#include "db/role_filter.h"
#include "ledger/ledger_rules.h"
#include "members/member_record.h"
#include "members/member_rules.h"
#include "members/whole_number.h"
#include "platform/amount_text.h"
#include "platform/interaction.h"
#include "platform/text_checks.h"
#include "platform/trim.h"

namespace qx {

namespace {

const char* KindText(LedgerKind kind) {
    return kind == LedgerKind::kSale ? "매출" : "수금";
}

struct MemberTotals {
    long long nonpayment = 0, agreement = 0, prossagreement = 0;
    std::string account_divide, settle_accounts;
};

// The member if the user may see it; `lock` takes the row for the rest of
// the transaction.
std::optional<MemberTotals> ReadMember(Database& db, const SessionContext& s, long long member,
                                       bool lock) {
    std::string sql =
        "select pay_nonpayment, pay_agreement, pay_prossagreement, account_divide, "
        "settle_accounts from " +
        s.schema() + ".member_user member_user where member_inx=? and remove<>4";
    SqlParams params{member};
    AppendRoleFilter(sql, params, s);
    if (lock) sql += " for update";
    const Recordset rs = db.OpenRecordset(sql, params);
    if (rs.empty()) return std::nullopt;
    MemberTotals m;
    m.nonpayment = rs[0].asInt("pay_nonpayment");
    m.agreement = rs[0].asInt("pay_agreement");
    m.prossagreement = rs[0].asInt("pay_prossagreement");
    m.account_divide = rs[0]["account_divide"];
    m.settle_accounts = rs[0]["settle_accounts"];
    return m;
}

// The instalment limits: nothing above the instalment total is collected,
// nothing beyond what is left of it is billed.
const char* InstalmentRefusal(const MemberTotals& m, LedgerKind kind, long long amount) {
    if (m.account_divide != "3") return nullptr;
    if (kind == LedgerKind::kCollection) {
        return amount > m.agreement ? kInstalmentCollectionText : nullptr;
    }
    return amount > (m.agreement - m.nonpayment) - m.prossagreement ? kInstalmentSaleText : nullptr;
}

std::string ServerDate(Database& db) {
    return db.scalar("select mid(curdate(),3)");
}

}  // namespace

BookedRow BookLedgerRow(Database& db, const SessionContext& s, const LedgerBooking& row) {
    if (row.amount < 1) throw LedgerRefused(kAmountInvalidText);
    Database::Transaction tx(db);
    const auto member = ReadMember(db, s, row.member, true);
    if (!member) throw LedgerRefused(kMemberNotFoundText);
    if (const char* refusal = InstalmentRefusal(*member, row.kind, row.amount)) {
        throw LedgerRefused(refusal);
    }
    const std::string schema = s.schema();
    const bool sale = row.kind == LedgerKind::kSale;
    if (sale) {
        db.ExecuteSql("update " + schema +
                          ".member_user set pay_nonpayment=pay_nonpayment+?, "
                          "total_prosspay=total_prosspay+? where member_inx=?",
                      {row.amount, row.amount, row.member});
    } else {
        db.ExecuteSql("update " + schema +
                          ".member_user set pay_prossagreement=if(account_divide='3',"
                          "pay_prossagreement+?,pay_prossagreement), "
                          "pay_nonpayment=pay_nonpayment-?, total_payment=total_payment+? "
                          "where member_inx=?",
                      {row.amount, row.amount, row.amount, row.member});
    }
    std::string title = "?";
    SqlParams params{row.amount, sale ? "0" : "1"};
    if (!row.title.empty()) {
        params.emplace_back(row.title);
    } else if (sale) {
        title = SettleTitleSql(schema, "m");
    } else {
        params.emplace_back(kTransferCollectionTitle);
    }
    params.insert(params.end(),
                  {row.date.empty() ? ServerDate(db) : row.date, row.memo, row.item, row.member});
    db.ExecuteSql("insert into " + schema +
                      ".pay_pross (userlink_inx, userbrlink_inx, input_pay, pros_nonpayment, "
                      "paystat, settle_code, settle_title, signdate, memo, regdate, pay_prossag, "
                      "item_name, item_stan, item_cnt) select m.member_inx, m.branch_inx, ?, "
                      "m.pay_nonpayment, ?, m.settle_accounts, " +
                      title +
                      ", ?, left(?,60), unix_timestamp(sysdate()), "
                      "if(m.account_divide='3',m.pay_prossagreement,0), left(?,64), '', 1 from " +
                      schema + ".member_user m where m.member_inx=?",
                  params);
    BookedRow booked;
    booked.pay_inx = db.lastInsertId();
    booked.nonpayment = db.scalarInt(
        "select pay_nonpayment from " + schema + ".member_user where member_inx=?", {row.member});
    tx.commit();
    return booked;
}

std::optional<long long> AddLedgerEntry(Database& db, const SessionContext& s, Interaction& ui,
                                        long long member, LedgerKind kind,
                                        const std::string& amountText, const std::string& dateText,
                                        const std::string& item, const std::string& memo) {
    const std::string itemText = WithoutQuotes(Trim(item));
    const std::string memoText = WithoutQuotes(memo);
    if (kind == LedgerKind::kSale && itemText.empty()) {
        ui.inform(kItemMissingText);
        return std::nullopt;
    }
    if (!IsStorableText(itemText) || !IsStorableText(memoText)) {
        ui.inform(UnstorableTextMessage(IsStorableText(itemText) ? "메모" : "품목명"));
        return std::nullopt;
    }
    if (Trim(amountText).empty()) {
        ui.inform(kAmountMissingText);
        return std::nullopt;
    }
    const auto amount = ParseWholeNumber(amountText);
    if (!amount || *amount < 1) {
        ui.inform(kAmountInvalidText);
        return std::nullopt;
    }
    std::string date;
    if (!Trim(dateText).empty()) {
        const auto parsed = LedgerDate(Trim(dateText));
        if (!parsed) {
            ui.inform(kDateInvalidText);
            return std::nullopt;
        }
        date = *parsed;
    } else {
        date = ServerDate(db);
    }
    const auto current = ReadMember(db, s, member, false);
    if (!current) {
        ui.inform(kMemberNotFoundText);
        return std::nullopt;
    }
    if (const char* refusal = InstalmentRefusal(*current, kind, *amount)) {
        ui.inform(refusal);
        return std::nullopt;
    }
    if (!ui.confirm(date + " 일자로 " + KindText(kind) + "을 발생하시겠습니까?"))
        return std::nullopt;

    LedgerBooking row;
    row.member = member;
    row.amount = *amount;
    row.kind = kind;
    row.date = date;
    row.memo = memoText;
    row.item = itemText;
    BookedRow booked;
    try {
        Database::Transaction tx(db);
        booked = BookLedgerRow(db, s, row);
        db.WriteProcessLog(" (" + TenDigits(member) + ") " + date + "일자 " + KindText(kind) +
                               "액 " + FormatAmount(*amount) + " 원",
                           kLedgerLogCode);
        tx.commit();
    } catch (const LedgerRefused& refused) {
        // Another desk changed the member between the check and the booking.
        ui.inform(refused.what());
        return std::nullopt;
    }
    return booked.pay_inx;
}

bool CancelLedgerEntry(Database& db, const SessionContext& s, Interaction& ui, long long payInx) {
    const std::string schema = s.schema();
    const std::string rowSql =
        "select p.pay_inx, p.userlink_inx, p.input_pay, p.paystat, p.signdate, p.addmuskey, "
        "p.addkey, member_user.settle_accounts from " +
        schema + ".pay_pross p join " + schema +
        ".member_user member_user on member_user.member_inx=p.userlink_inx "
        "where p.pay_inx=? and member_user.remove<>4";
    SqlParams params{payInx};
    std::string sql = rowSql;
    AppendRoleFilter(sql, params, s);
    const Recordset found = db.OpenRecordset(sql, params);
    if (found.empty()) {
        ui.inform(kLedgerRowMissingText);
        return false;
    }
    const bool sale = found[0]["paystat"] == "0";
    if (sale && found[0]["settle_accounts"] == "4") {
        ui.inform(kPhoneSaleCancelText);
        return false;
    }
    const long long shownAmount = found[0].asInt("input_pay");
    if (!ui.confirm(std::string(" ") + (sale ? "매출액(" : "수금액(") + FormatAmount(shownAmount) +
                    ")원을 취소 하시겠습니까?")) {
        return false;
    }

    Database::Transaction tx(db);
    // Read again under lock: a second desk may have cancelled it meanwhile.
    const Recordset rs = db.OpenRecordset(sql + " for update", params);
    if (rs.empty()) {
        ui.inform(kLedgerRowMissingText);
        return false;
    }
    const auto r = rs[0];
    const long long member = r.asInt("userlink_inx");
    const long long amount = r.asInt("input_pay");
    if (sale) {
        db.ExecuteSql("update " + schema +
                          ".member_user set pay_nonpayment=pay_nonpayment-?, "
                          "total_prosspay=total_prosspay-? where member_inx=?",
                      {amount, amount, member});
    } else {
        db.ExecuteSql("update " + schema +
                          ".member_user set pay_nonpayment=pay_nonpayment+?, "
                          "pay_prossagreement=if(account_divide='3',pay_prossagreement-?,"
                          "pay_prossagreement), total_payment=total_payment-? where member_inx=?",
                      {amount, amount, amount, member});
    }
    db.ExecuteSql("delete from " + schema + ".pay_pross where pay_inx=?", {payInx});
    if (r.asInt("addmuskey") != 0 && r.asInt("addkey") != 0) {
        db.ExecuteSql(
            "delete from " + schema + (sale ? ".payadd" : ".paymus") + " where payadd_inx=?",
            {r.asInt("addkey")});
    }
    db.WriteProcessLog(" (" + TenDigits(member) + ") " + (sale ? "매출취소 " : "수금취소 ") +
                           r["signdate"] + "일자 " + (sale ? "매출액 " : "수금액 ") +
                           FormatAmount(amount) + " 원 취소처리",
                       kLedgerLogCode);
    tx.commit();
    return true;
}

std::vector<LedgerRow> ListLedger(Database& db, const SessionContext& s, long long member) {
    if (!ReadMember(db, s, member, false)) throw LedgerRefused(kMemberNotFoundText);
    const Recordset rs = db.OpenRecordset(
        "select pay_inx, userlink_inx, input_pay, pros_nonpayment, paystat, settle_title, "
        "signdate, memo, item_name, addmuskey, addkey from " +
            s.schema() + ".pay_pross where userlink_inx=? order by pay_inx desc",
        {member});
    std::vector<LedgerRow> rows;
    rows.reserve(rs.size());
    for (std::size_t i = 0; i < rs.size(); ++i) {
        const auto r = rs[i];
        LedgerRow row;
        row.pay_inx = r.asInt("pay_inx");
        row.member = r.asInt("userlink_inx");
        row.amount = r.asInt("input_pay");
        row.pros_nonpayment = r.asInt("pros_nonpayment");
        row.paystat = r["paystat"];
        row.settle_title = r["settle_title"];
        row.signdate = r["signdate"];
        row.memo = r["memo"];
        row.item_name = r["item_name"];
        row.addmuskey = r.asInt("addmuskey");
        row.addkey = r.asInt("addkey");
        rows.push_back(std::move(row));
    }
    return rows;
}

}  // namespace qx
