#include "ledger/batch_collection.h"

#include "core/session_context.h"
#include "db/database.h"
#include "ledger/collection_booking.h"
#include "ledger/ledger_booking.h"
#include "ledger/ledger_rules.h"
#include "ledger/run_key.h"
#include "platform/interaction.h"
#include "platform/text_checks.h"
#include "platform/trim.h"

namespace qx {

namespace {

std::string ListWhere(const SessionContext& s, const BatchFilter& filter, SqlParams& params) {
    return " where member_user.remove<>'4'" + BatchFilterSql(WithUserRole(filter, s), params);
}

// What one mode books: the amount, the members it is booked for, and the
// batch rows written for every listed member with their refusals. Only the
// rows without a refusal are booked, so that every booked collection has a
// batch row of code 0 and can be cancelled with its run.
struct ModeRules {
    const char* amount;
    const char* booked;   // condition of a booked member
    const char* listed;   // condition of a member that gets a batch row
    const char* error;    // add_err of the batch row
    const char* logText;  // " 미수금전액 일괄수금 " / " 매출예정액 일괄수금 "
};

ModeRules RulesOf(CollectionMode mode) {
    if (mode == CollectionMode::kOutstanding) {
        return {"member_user.pay_nonpayment", "member_user.pay_nonpayment>0", "1=1",
                "if(member_user.pay_nonpayment<1,'미수금 없음','')", " 미수금전액 일괄수금 "};
    }
    return {"member_user.pay_monthdefault",
            "member_user.pay_monthdefault>=1000 and "
            "member_user.pay_monthdefault<=member_user.pay_nonpayment",
            "member_user.pay_monthdefault>0",
            "if(member_user.pay_monthdefault<1000,'매출예정액 1000원이하',"
            "if(member_user.pay_monthdefault>member_user.pay_nonpayment,"
            "'미수금이 매출예정액보다 적음',''))",
            " 매출예정액 일괄수금 "};
}

}  // namespace

std::vector<CollectionCandidate> ListCollectionCandidates(Database& db, const SessionContext& s,
                                                          const BatchFilter& filter) {
    SqlParams params;
    const std::string where = ListWhere(s, filter, params);
    const Recordset rs = db.OpenRecordset(
        "select member_user.member_inx, right(concat('0000000000',member_user.member_inx),10) "
        "payer_number, member_user.username, member_user.client_company, "
        "member_user.settle_accounts, member_user.pay_nonpayment, member_user.pay_monthdefault "
        "from " +
            s.schema() + ".member_user member_user" + where +
            " order by member_user.member_inx desc",
        params);
    std::vector<CollectionCandidate> out;
    out.reserve(rs.size());
    for (std::size_t i = 0; i < rs.size(); ++i) {
        const auto r = rs[i];
        CollectionCandidate c;
        c.member_inx = r.asInt("member_inx");
        c.payer_number = r["payer_number"];
        c.username = r["username"];
        c.client_company = r["client_company"];
        c.settle_accounts = r["settle_accounts"];
        c.pay_nonpayment = r.asInt("pay_nonpayment");
        c.pay_monthdefault = r.asInt("pay_monthdefault");
        out.push_back(std::move(c));
    }
    return out;
}

CollectionRunResult RunBatchCollection(Database& db, const SessionContext& s, Interaction& ui,
                                       const BatchFilter& filter, CollectionMode mode,
                                       bool searched, const std::string& date,
                                       const std::string& item, const std::string& title) {
    CollectionRunResult result;
    if (!searched) {
        ui.inform(kCollectionSearchFirstText);
        return result;
    }
    const std::string itemText = WithoutQuotes(Trim(item));
    const std::string titleText = WithoutQuotes(Trim(title));
    if (itemText.empty()) {
        ui.inform(kItemMissingText);
        return result;
    }
    if (!IsStorableText(itemText) || !IsStorableText(titleText)) {
        ui.inform(UnstorableTextMessage("품목명"));
        return result;
    }
    const auto booking = LedgerDate(date);
    if (!booking) {
        ui.inform(kDateInvalidText);
        return result;
    }
    if (!ui.confirm(*booking + "일자로 일괄수금을 발생 하시겠습니까?")) return result;

    const ModeRules rules = RulesOf(mode);
    const std::string schema = s.schema();
    const std::string members = schema + ".member_user member_user";
    try {
        RunKeyLock lock(db, s);
        Database::Transaction tx(db);
        const long long key = lock.nextKey();
        result.run_key = key;
        SqlParams where;
        const std::string listWhere = ListWhere(s, filter, where);
        auto withWhere = [&](SqlParams head) {
            head.insert(head.end(), where.begin(), where.end());
            return head;
        };
        // The members stay as read until the run is committed.
        db.scalar("select count(*) from " + members + listWhere + " for update", where);
        const std::string amount = rules.amount;
        // The amounts are read before the booking moves the totals they come from.
        const std::string amounts = schema + ".collection_amounts";
        db.ExecuteSql("drop temporary table if exists " + amounts);
        db.ExecuteSql("create temporary table " + amounts +
                      " (member bigint not null primary key, amount bigint not null)");
        db.ExecuteSql("insert into " + amounts +
                          " (member, amount) select member_user.member_inx, " + amount + " from " +
                          members + listWhere + " and " + rules.booked,
                      where);
        db.ExecuteSql("insert into " + schema +
                          ".paymus (add_usrnum, create_date, add_runkey, add_accountdivide, "
                          "add_monthdefault, add_err, add_errcode) select "
                          "member_user.member_inx, ?, ?, member_user.account_divide, " +
                          amount + ", " + rules.error + ", if(" + rules.error + "='',0,1) from " +
                          members + listWhere + " and " + rules.listed +
                          " order by member_user.member_inx desc",
                      withWhere({*booking, key}));
        CollectionTexts texts;
        texts.title = kTransferCollectionTitle;
        texts.ownMethodTitle = titleText;
        texts.date = *booking;
        texts.memo = MonthlyMemo(*booking, kBatchCollectionMemo);
        texts.item = itemText;
        texts.runKey = key;
        BookCollectionsFrom(db, s, amounts, texts);
        db.ExecuteSql("drop temporary table " + amounts);
        db.ExecuteSql("update " + schema + ".pay_pross p join " + schema +
                          ".paymus a on a.add_runkey=? and a.add_usrnum=p.userlink_inx "
                          "set p.addkey=a.payadd_inx where p.addmuskey=? and p.paystat='1'",
                      {key, key});
        const Recordset counts =
            db.OpenRecordset("select sum(if(add_errcode=0,1,0)), sum(if(add_errcode=1,1,0)) from " +
                                 schema + ".paymus where add_runkey=?",
                             {key});
        result.booked = counts[0].asInt(std::size_t{0});
        result.refused = counts[0].asInt(std::size_t{1});
        db.WriteProcessLog(*booking + rules.logText + "(정상: " + std::to_string(result.booked) +
                               " 건/불능: " + std::to_string(result.refused) + " 건) [" +
                               std::to_string(key) + "]",
                           kLedgerLogCode);
        tx.commit();
    } catch (const LedgerRefused& refused) {
        ui.inform(refused.what());
        return result;
    }
    result.done = true;
    result.open_history =
        ui.confirm(*booking + "일자로 일괄수금(정상: " + std::to_string(result.booked) +
                   " 건/불능: " + std::to_string(result.refused) +
                   " 건) 을 완료 하였습니다.\n\n 결과화면으로 이동 하시겠습니까?");
    return result;
}

}  // namespace qx
