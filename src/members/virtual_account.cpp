#include "members/virtual_account.h"

#include <stdexcept>

#include "core/session_context.h"
#include "db/database.h"
#include "members/member_record.h"
#include "members/member_rules.h"
#include "platform/interaction.h"

namespace qx {

namespace {

constexpr int kMemberLog = 3;

}  // namespace

void CheckVirtualBank(const std::string& bank) {
    for (const char* b : kVirtualBanks)
        if (bank == b) return;
    throw std::invalid_argument("가상계좌 은행이 잘못되었습니다: " + bank);
}

std::string NoFreeVirtualAccountText(const std::string& bank) {
    return "사용가능한 [" + bank + "] 계좌가 없습니다.";
}

bool AssignsVirtualAccountOnRegistration(const SessionContext& s) {
    // The login keeps the setting as a switch that is on for anything but "0";
    // "0" is the first entry of the setting, "신규등록시 자동등록".
    return !s.virtual_account_switch;
}

std::string FirstBankWithFreeVirtualAccount(Database& db, const SessionContext& s) {
    for (const char* b : kVirtualBanks)
        if (FindFreeVirtualAccount(db, s, b)) return b;
    return {};
}

std::optional<std::string> ClaimFreeVirtualAccount(Database& db, const SessionContext& s,
                                                   long long memberInx,
                                                   const std::string& memberName,
                                                   const std::string& bank) {
    CheckVirtualBank(bank);
    // Another desk may take the account between the look-up and the claim;
    // the claim's row count decides, and the next free one is tried.
    for (int attempt = 0; attempt < 5; ++attempt) {
        const auto found = FindFreeVirtualAccount(db, s, bank);
        if (!found) return std::nullopt;
        if (db.ExecuteSql("update kib.virinfo set user_key=?, user_name=?, "
                          "user_date=date_format(now(),'%y%m%d%H%i%s') where r_inx=? and "
                          "user_key=0 and end_date='' and userend_date=''",
                          {memberInx, memberName, *found}) != 1) {
            continue;
        }
        const Recordset rs = db.OpenRecordset(
            "select vir_account, start_date from kib.virinfo where r_inx=?", {*found});
        db.ExecuteSql("update " + s.schema() +
                          ".member_user set virtual_bank=?, virtual_no=?, virtual_code=? where "
                          "member_inx=?",
                      {bank, rs[0]["vir_account"], rs[0]["start_date"], memberInx});
        return rs[0]["vir_account"];
    }
    return std::nullopt;
}

std::optional<long long> FindFreeVirtualAccount(Database& db, const SessionContext& s,
                                                const std::string& bank) {
    const Recordset rs = db.OpenRecordset(
        "select r_inx from kib.virinfo where user_dbname=? and vir_bank=? and end_date='' and "
        "userend_date='' and user_key=0 order by vir_account asc limit 1",
        {s.schema(), bank});
    if (rs.empty()) return std::nullopt;
    return rs[0].asInt("r_inx");
}

std::optional<std::string> AssignVirtualAccount(Database& db, const SessionContext& s,
                                                Interaction& ui, long long memberInx,
                                                const std::string& bank, bool ask) {
    CheckVirtualBank(bank);
    const auto member = LoadMember(db, s, memberInx);
    if (!member) {
        ui.inform(kMemberNotFoundText, kDefaultTitle);
        return std::nullopt;
    }
    if (member->get("virtual_bank") == bank && !member->get("virtual_no").empty()) {
        ui.inform(kVirtualSameBankText, kDefaultTitle);
        return std::nullopt;
    }
    // One account per member: a second one, at any bank, would overwrite the
    // member's columns and leave the first held with no way to cancel it.
    if (!member->get("virtual_no").empty() || HoldsVirtualAccount(db, s, memberInx)) {
        ui.inform(kVirtualHeldText, kDefaultTitle);
        return std::nullopt;
    }
    const auto found = FindFreeVirtualAccount(db, s, bank);
    if (!found) {
        ui.inform(NoFreeVirtualAccountText(bank), kDefaultTitle);
        return std::nullopt;
    }
    const std::string number =
        db.scalar("select vir_account from kib.virinfo where r_inx=?", {*found});
    if (ask && !ui.confirm(member->get("username") + " 고객의 가상계좌(" + number +
                               ") 를 등록하시겠습니까?",
                           kDefaultTitle)) {
        return std::nullopt;
    }
    Database::Transaction tx(db);
    const Recordset rs = db.OpenRecordset(
        "select vir_account, start_date, user_key, end_date, userend_date from kib.virinfo "
        "where r_inx=? and user_dbname=? for update",
        {*found, s.schema()});
    if (rs.empty()) {
        ui.inform(kVirtualUnknownText, kDefaultTitle);
        return std::nullopt;
    }
    if (rs[0].asInt("user_key") != 0 || !rs[0]["end_date"].empty() ||
        !rs[0]["userend_date"].empty()) {
        ui.inform(kVirtualTakenText, kDefaultTitle);
        return std::nullopt;
    }
    // The claim itself decides: another desk may have taken it meanwhile.
    if (db.ExecuteSql("update kib.virinfo set user_key=?, user_name=?, "
                      "user_date=date_format(now(),'%y%m%d%H%i%s') where r_inx=? and user_key=0",
                      {memberInx, member->get("username"), *found}) != 1) {
        ui.inform(kVirtualTakenText, kDefaultTitle);
        return std::nullopt;
    }
    db.ExecuteSql("update " + s.schema() +
                      ".member_user set virtual_bank=?, virtual_no=?, virtual_code=? where "
                      "member_inx=?",
                  {bank, rs[0]["vir_account"], rs[0]["start_date"], memberInx});
    tx.commit();
    ui.inform(kVirtualAssignedText, kDefaultTitle);
    return rs[0]["vir_account"];
}

bool HoldsVirtualAccount(Database& db, const SessionContext& s, long long memberInx) {
    return db.scalarInt(
               "select count(*) from kib.virinfo where user_dbname=? and user_key=? "
               "and userend_date='' and end_date=''",
               {s.schema(), memberInx}) > 0;
}

bool CancelVirtualAccount(Database& db, const SessionContext& s, Interaction& ui,
                          long long memberInx) {
    const auto member = LoadMember(db, s, memberInx);
    if (!member) {
        ui.inform(kMemberNotFoundText, kDefaultTitle);
        return false;
    }
    if (member->get("virtual_no").empty() && !HoldsVirtualAccount(db, s, memberInx)) return false;
    if (!ui.confirm(kVirtualCancelQuestionText, kDefaultTitle)) return false;
    Database::Transaction tx(db);
    db.ExecuteSql(
        "update kib.virinfo set userend_date=date_format(now(),'%y%m%d%H%i%s') where "
        "user_dbname=? and user_key=? and userend_date=''",
        {s.schema(), memberInx});
    db.ExecuteSql("update " + s.schema() +
                      ".member_user set virtual_bank='', virtual_no='', virtual_code='' where "
                      "member_inx=?",
                  {memberInx});
    tx.commit();
    return true;
}

bool SetVirtualAccountOptions(Database& db, const SessionContext& s, Interaction& ui,
                              long long memberInx, const std::string& recipient, bool checkAmount) {
    const auto member = LoadMember(db, s, memberInx);
    if (!member || member->get("virtual_no").empty()) {
        ui.inform(kMemberNotFoundText, kDefaultTitle);
        return false;
    }
    if (CharacterCount(recipient) > 32) {
        throw std::invalid_argument("수취인명은 32자까지 입력할 수 있습니다.");
    }
    const Recordset rs = db.OpenRecordset(
        "select prt_recipient, div_chkpay from kib.virinfo where user_dbname=? and user_key=? "
        "and vir_account=? and userend_date=''",
        {s.schema(), memberInx, member->get("virtual_no")});
    if (rs.empty()) return false;
    const std::string flag = checkAmount ? "1" : "0";
    std::string changes;
    if (rs[0]["prt_recipient"] != recipient) {
        changes += "가상계좌수취인(" + rs[0]["prt_recipient"] + ">" + recipient + "), ";
    }
    if (rs[0]["div_chkpay"] != flag) {
        changes += "가상계좌금액확인(" + rs[0]["div_chkpay"] + ">" + flag + "), ";
    }
    if (changes.empty()) return true;
    Database::Transaction tx(db);
    db.ExecuteSql(
        "update kib.virinfo set prt_recipient=?, div_chkpay=? where user_dbname=? and "
        "user_key=? and vir_account=? and userend_date=''",
        {recipient, flag, s.schema(), memberInx, member->get("virtual_no")});
    db.WriteProcessLog(" (" + TenDigits(memberInx) + ") 중요정보변경 " + changes, kMemberLog);
    tx.commit();
    return true;
}

long long AddFreeVirtualAccounts(Database& db, const std::string& schema, const std::string& bank,
                                 long long firstNumber, int count) {
    CheckVirtualBank(bank);
    long long added = 0;
    for (int i = 0; i < count; ++i) {
        // An account number exists once in the pool, whoever holds it, so that
        // a repeated run adds nothing twice.
        const std::string number = std::to_string(firstNumber + i);
        added += db.ExecuteSql(
            "insert into kib.virinfo (vir_bank, vir_account, user_dbname, start_date) select "
            "?,?,?,date_format(now(),'%Y%m%d') from dual where not exists (select 1 from "
            "kib.virinfo where vir_bank=? and vir_account=?)",
            {bank, number, schema, bank, number});
    }
    return added;
}

}  // namespace qx
