#include "channels/card/card_results.h"

#include <cstdio>
#include <map>

#include "cms/workspace/file_names.h"
#include "core/session_context.h"
#include "db/database.h"
#include "db/sql_quote.h"
#include "ledger/collection_booking.h"
#include "ledger/fees.h"
#include "platform/text_checks.h"
#include "platform/trim.h"

namespace qx {

namespace {

constexpr int kCardLogCode = 5;

std::string DeclineOf(const std::string& cardNo, const std::vector<CardDecline>& declines) {
    for (const auto& d : declines)
        if (d.cardNo == cardNo) return d.message.empty() ? std::string("승인거절") : d.message;
    return {};
}

// Books one collection per member from `amounts` (member -> amount, which
// may be negative for a reversal) through the shared booking routine.
void BookCard(Database& db, const SessionContext& s, const std::map<long long, long long>& amounts,
              const CivilDate& day, const std::string& memo) {
    if (amounts.empty()) return;
    const std::string table = s.schema() + ".card_amounts";
    db.ExecuteSql("drop temporary table if exists " + table);
    db.ExecuteSql("create temporary table " + table +
                  " (member bigint not null primary key, amount bigint not null)");
    std::string values;
    for (const auto& [member, amount] : amounts)
        values += (values.empty() ? "(" : ",(") + std::to_string(member) + "," +
                  std::to_string(amount) + ")";
    db.ExecuteSql("insert into " + table + " (member, amount) values " + values);
    CollectionTexts texts;
    texts.title = kCardCollectionTitle;
    texts.date = FormatShortDate(day);
    texts.memo = memo;
    BookCollectionsFrom(db, s, table, texts);
    db.ExecuteSql("drop temporary table " + table);
}

struct Run {
    long long key = 0;
    std::string filename, id;
};

// Marks the run refused; the caller commits.
CardApplied RefuseRun(Database& db, const Run& run, const std::string& why) {
    db.ExecuteSql("update aegis.filerun set stat=8, err_msg=? where inx=?", {why, run.key});
    return {CardApplyOutcome::Refused, run.filename, why};
}

void ApplyMembers(Database& db, const SessionContext& s, const std::string& yymmdd,
                  const CivilDate& day, const std::vector<CardDecline>& declines) {
    const std::string schema = s.schema();
    const auto rows =
        db.OpenRecordset("select cdm_inx,reg_kind,user_no,card_no,valid_yymm from " + schema +
                             ".cdmem_detail where reg_date=? order by seq_num",
                         {yymmdd});
    long long createOk = 0, deleteOk = 0, failed = 0;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const auto r = rows[i];
        const bool created = r["reg_kind"] == "1";
        const std::string why =
            created ? CardRefusal(Trim(r["card_no"]), Trim(r["valid_yymm"]), day, declines)
                    : DeclineOf(Trim(r["card_no"]), declines);
        db.ExecuteSql(
            "update " + schema + ".cdmem_detail set result=?, rp_err=? where cdm_inx=?",
            {why.empty() ? "" : "N", why.empty() ? kCardAcceptedText : why, r["cdm_inx"]});
        // Only a member still waiting for this answer moves on.
        const std::string waiting = created ? "1" : "12";
        if (why.empty()) {
            created ? ++createOk : ++deleteOk;
            db.ExecuteSql("update " + schema +
                              ".member_user set cms_status=?, cms_error='' where member_inx=? "
                              "and cms_status=?",
                          {created ? "3" : "13", r["user_no"], waiting});
        } else {
            ++failed;
            db.ExecuteSql("update " + schema +
                              ".member_user set cms_status=?, cms_error=? where member_inx=? and "
                              "cms_status=?",
                          {created ? "2" : "14", why, r["user_no"], waiting});
        }
    }
    db.ExecuteSql("update " + schema +
                      ".cdmem set createok_cnt=?, deleteok_cnt=?, false_cnt=?, pross_stat='1' "
                      "where filename=?",
                  {createOk, deleteOk, failed, "CMEM" + yymmdd});
}

void ApplyPayments(Database& db, const SessionContext& s, const std::string& yymmdd,
                   const CivilDate& day, const std::vector<CardDecline>& declines) {
    const std::string schema = s.schema();
    const std::string name = "CPAY" + yymmdd;
    const auto rows = db.OpenRecordset(
        "select cdp_inx,purchase_kind,user_no,card_no,valid_yymm,amount,approval_no,"
        "cancel_cdp_inx from " +
            schema + ".cdpay_detail where reg_date=? order by seq_num",
        {yymmdd});
    long long ok = 0, refused = 0, cancelOk = 0, cancelRefused = 0, feeHundredths = 0;
    std::map<long long, long long> collected, reversed;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const auto r = rows[i];
        const long long member = r.asInt("user_no");
        const long long amount = r.asInt("amount");
        if (r["purchase_kind"] == "0") {
            std::string why = CardRefusal(Trim(r["card_no"]), Trim(r["valid_yymm"]), day, declines);
            if (why.empty() && amount <= 0) why = kCardAmountRefusedText;
            if (why.empty()) {
                ok += amount;
                feeHundredths += CardPurchaseFeeHundredths(amount);
                collected[member] += amount;
                db.ExecuteSql(
                    "update " + schema +
                        ".cdpay_detail set result='', rp_err=?, approval_no=? where "
                        "cdp_inx=?",
                    {kCardAcceptedText, CardApprovalNumber(r.asInt("cdp_inx")), r["cdp_inx"]});
                db.ExecuteSql("update " + schema +
                                  ".member_user set cms_status=7, cms_error='' where member_inx=? "
                                  "and cms_status=6",
                              {member});
            } else {
                refused += amount;
                db.ExecuteSql(
                    "update " + schema + ".cdpay_detail set result='N', rp_err=? where cdp_inx=?",
                    {why, r["cdp_inx"]});
                db.ExecuteSql("update " + schema +
                                  ".member_user set cms_status=8, cms_error=? where "
                                  "member_inx=? and cms_status=6",
                              {why, member});
            }
            continue;
        }
        // A cancellation succeeds only for the approved payment it names.
        const bool found =
            db.scalarInt("select count(1) from " + schema +
                             ".cdpay_detail where cdp_inx=? and purchase_kind=0 and result='' "
                             "and approval_no<>'' and approval_no=? and cancel_status='C'",
                         {r["cancel_cdp_inx"], r["approval_no"]}) > 0;
        const std::string why =
            found ? DeclineOf(Trim(r["card_no"]), declines) : std::string(kCardCancelRefusedText);
        db.ExecuteSql(
            "update " + schema + ".cdpay_detail set result=?, rp_err=? where cdp_inx=?",
            {why.empty() ? "" : "N", why.empty() ? kCardAcceptedText : why, r["cdp_inx"]});
        db.ExecuteSql(
            "update " + schema + ".member_user set card_cancel_status=? where member_inx=?",
            {why.empty() ? "3" : "2", member});
        if (why.empty()) {
            cancelOk += amount;
            reversed[member] -= amount;
        } else {
            cancelRefused += amount;
        }
    }
    BookCard(db, s, collected, day, name);
    BookCard(db, s, reversed, day, name + " 출금취소");
    db.ExecuteSql("update " + schema +
                      ".cdpay set rtnok_money=?, rtnfalse_money=?, cancel_rtnok_money=?, "
                      "cancel_rtnfalse_money=?, commission=?, pross_stat='1' where filename=?",
                  {ok, refused, cancelOk, cancelRefused, HundredthsToWon(feeHundredths), name});
}

}  // namespace

std::string CardRefusal(const std::string& cardNo, const std::string& expiry, const CivilDate& day,
                        const std::vector<CardDecline>& declines) {
    if (cardNo.size() < 14 || cardNo.size() > 16 || !IsAllDigits(cardNo))
        return kCardNumberRefusedText;
    if (expiry.size() != 4 || !IsAllDigits(expiry)) return kCardExpiredText;
    const int year = 2000 + std::stoi(expiry.substr(0, 2)), month = std::stoi(expiry.substr(2));
    if (month < 1 || month > 12 || year * 12 + month < day.year * 12 + day.month)
        return kCardExpiredText;
    return DeclineOf(cardNo, declines);
}

std::string CardApprovalNumber(long long cdpInx) {
    char text[16];
    std::snprintf(text, sizeof text, "%08lld", cdpInx % 100000000);
    return text;
}

CardApplied ApplyCardAnswer(Database& db, long long runKey, const CivilDate& day,
                            const std::vector<CardDecline>& declines) {
    Database::Transaction tx(db);
    // Claiming the run is the guard: a second agent waits on this row and
    // then finds it no longer at 5; an agent killed before the commit leaves
    // it at 5 with nothing of the answer written.
    const auto found = db.OpenRecordset(
        "select inx,filename,id from aegis.filerun where inx=? and stat=5 for update", {runKey});
    if (found.empty()) return {CardApplyOutcome::Taken, "", ""};
    const Run run{runKey, found[0]["filename"], found[0]["id"]};
    const std::string kind = run.filename.substr(0, 4);
    const std::string yymmdd = run.filename.size() == 10 ? run.filename.substr(4) : "";
    CardApplied out;
    if ((kind != "CMEM" && kind != "CPAY") || !IsAllDigits(yymmdd) || yymmdd.empty()) {
        out = RefuseRun(db, run, "알 수 없는 파일입니다.");
        tx.commit();
        return out;
    }
    const auto inst = db.OpenRecordset(
        "select inx from quorisdex.admin_company where org_code=? order by inx", {run.id});
    if (inst.size() != 1) {
        out = RefuseRun(db, run, "이용기관을 찾을 수 없습니다.");
        tx.commit();
        return out;
    }
    SessionContext s;
    s.institution_number = inst[0].asInt("inx");
    s.inx = std::to_string(s.institution_number);
    const bool members = kind == "CMEM";
    // The request row, locked: a rollback of it waits, or has removed it.
    if (db.OpenRecordset("select pross_stat from " + s.schema() + (members ? ".cdmem" : ".cdpay") +
                             " where filename=? and pross_stat='0' for update",
                         {run.filename})
            .empty()) {
        out = RefuseRun(db, run, "처리할 요청이 없습니다.");
        tx.commit();
        return out;
    }
    if (members)
        ApplyMembers(db, s, yymmdd, day, declines);
    else
        ApplyPayments(db, s, yymmdd, day, declines);
    db.ExecuteSql("update aegis.filerun set stat=7, recvdate=?, err_msg='' where inx=?",
                  {Yymmdd(day) + "17", runKey});
    db.ExecuteSql("insert into " + s.schema() +
                      ".pross_log (`regdate`,`prosnum`,`prostxt`) values "
                      "(unix_timestamp(sysdate()), ?, ?)",
                  {kCardLogCode, run.filename + " 결과처리 완료"});
    tx.commit();
    return {CardApplyOutcome::Applied, run.filename, ""};
}

int ApplyCardAnswers(Database& db, const CivilDate& day, const std::vector<CardDecline>& declines) {
    if (db.scalarInt("select count(1) from information_schema.tables where table_schema='aegis' "
                     "and table_name='filerun'") == 0)
        return 0;
    const auto runs = db.OpenRecordset("select inx from aegis.filerun where stat=5 order by inx");
    int applied = 0;
    for (std::size_t i = 0; i < runs.size(); ++i)
        applied += ApplyCardAnswer(db, runs[i].asInt("inx"), day, declines).outcome ==
                   CardApplyOutcome::Applied;
    return applied;
}

}  // namespace qx
