#include "cms/eb11/eb11_apply.h"

#include <filesystem>
#include <map>
#include <optional>

#include "cms/eb11/bank_succession.h"
#include "cms/eb11/eb11_file.h"
#include "cms/workspace/cms_record.h"
#include "cms/workspace/creation_lock.h"
#include "cms/workspace/head_office_gate.h"
#include "core/session_context.h"
#include "db/database.h"
#include "db/payer_number.h"
#include "platform/codepage.h"
#include "platform/interaction.h"
#include "platform/text_checks.h"

namespace qx {

namespace fs = std::filesystem;

namespace {

// Payer numbers from this one up are the clearing house's own.
constexpr long long kFirstReservedPayer = 9000000000LL;

struct Outcome {
    std::string text;
    bool refused = false;
    std::string code;  // result_code of a refusal

    static Outcome Done(std::string t) { return {std::move(t), false, {}}; }
    static Outcome Refused(std::string t, std::string c = kEb11RefusalCode) {
        return {std::move(t), true, std::move(c)};
    }
};

struct MemberNow {
    std::string bank, account, idNumber, remove, cmsStatus, settle;
};

std::optional<MemberNow> ReadMember(Database& db, const SessionContext& s,
                                    const std::string& memberNumber) {
    const Recordset rs = db.OpenRecordset(
        "select member_inx,bank_code,account_no,account_jumin,remove,cms_status,settle_accounts "
        "from " +
            s.schema() + ".member_user where member_inx=? for update",
        {memberNumber});
    if (rs.empty()) return std::nullopt;
    const auto r = rs[0];
    return MemberNow{r["bank_code"], r["account_no"], r["account_jumin"],
                     r["remove"],    r["cms_status"], r["settle_accounts"]};
}

bool IsCancelled(const MemberNow& m) {
    return m.remove == "2" && m.cmsStatus == "13";
}

// The items that differ between the member and the record; empty = agree.
std::vector<std::string> Differences(const MemberNow& m, const Eb11Record& rec) {
    std::vector<std::string> items;
    // The record names the bank only (3 digits); a stored branch part
    // cannot differ from it.
    if (SucceedingBankCode(m.bank.substr(0, 3) + "0000") != rec.bankCode) items.push_back("은행");
    if (m.account != rec.account) items.push_back("계좌번호");
    if (m.idNumber != rec.idNumber) items.push_back("생년월일(법인)번호");
    return items;
}

void Cancel(Database& db, const SessionContext& s, const std::string& memberNumber) {
    db.ExecuteSql(
        "update " + s.schema() + ".member_user set remove='2', cms_status='13' where member_inx=?",
        {memberNumber});
}

// The item a member created from a bank registration is billed under: the
// institution's first catalogue item, as the screen would preselect it.
std::string DefaultItemName(Database& db, const SessionContext& s) {
    const std::string name = db.scalar("select item_name from " + s.schema() +
                                       ".item where remove_item<>'Y' order by item_inx limit 1");
    return name.empty() ? std::string("CMS") : name;
}

class Applier {
  public:
    Applier(Database& db, const SessionContext& s, const Eb11Reading& reading)
        : db_(db), s_(s), reading_(reading) {
        prosDate_ = db.scalar("select date_format(now(),'%Y%m%d')");
        stamp_ = db.scalar("select date_format(now(),'%Y-%m-%d %H:%i')");
    }

    long long refused = 0;

    void BankReceipt() {
        for (const Eb11Record& rec : reading_.records) {
            const Outcome o = BankReceiptRecord(rec);
            Store(rec, rec.payer, o);
        }
    }

    void Standard() {
        // Pass 1: every record stored; those that cannot name a member are
        // answered at once.
        for (const Eb11Record& rec : reading_.records) {
            if (rec.orgCode != s_.org_code) {
                Store(rec, rec.payer, Outcome::Refused(kEb11WrongInstitutionText));
                continue;
            }
            const std::optional<std::string> member = MemberNumber(rec);
            if (!member) {
                Store(rec, rec.payer, Outcome::Refused(kEb11BadPayerFormText));
                continue;
            }
            const auto m = ReadMember(db_, s_, *member);
            if (m && m->remove == "4") {
                Store(rec, *member, Outcome::Refused(kEb11DeletedText, kEb11DeletedRefusalCode));
                continue;
            }
            Store(rec, *member, Outcome::Done(""));
        }
        // Pass 2: the rest in payer order, cancellations (kinds 7, 3) before
        // the registration of the same payer.
        const Recordset rows = db_.OpenRecordset(
            "select ea11_inx, reg_kind, user_no, bank_code, account_no, id_no, file_orig_msg "
            "from " +
                s_.schema() +
                ".file_ea11 where reg_date=? and result='' order by `user_no` asc, `reg_kind` "
                "desc",
            {reading_.yyyymmdd});
        for (std::size_t i = 0; i < rows.size(); ++i) {
            const auto r = rows[i];
            Eb11Record rec;
            rec.kind = r["reg_kind"];
            rec.bankCode = r["bank_code"];
            rec.account = r["account_no"];
            rec.idNumber = r["id_no"];
            rec.channel = RecordReader(ToCp949(r["file_orig_msg"])).field(86, 4);
            const Outcome o = StandardRecord(rec, r["user_no"]);
            if (o.refused) ++refused;
            db_.ExecuteSql("update " + s_.schema() +
                               ".file_ea11 set result=?, result_char=?, result_code=? where "
                               "ea11_inx=?",
                           {o.text, o.refused ? "N" : "", o.code, r["ea11_inx"]});
        }
    }

    void StoreMac() {
        db_.ExecuteSql("update " + s_.schema() + ".file_ea11 set mac_value=? where reg_date=?",
                       {reading_.mac, reading_.yyyymmdd});
    }

  private:
    std::optional<std::string> MemberNumber(const Eb11Record& rec) {
        const std::string back = TranslatePayerNumber(db_, s_, rec.payer, PayerNumberMode::Apply);
        if (!IsAllDigits(back) || back.size() > 10 ||
            back.find_first_not_of('0') == std::string::npos)
            return std::nullopt;
        return back;
    }

    Outcome BankReceiptRecord(const Eb11Record& rec) {
        if (rec.orgCode != s_.org_code) return Outcome::Refused(kEb11WrongInstitutionText);
        const std::optional<long long> payer = rec.payerNumber();
        const std::string number = std::to_string(payer.value_or(0));
        const auto m = ReadMember(db_, s_, number);
        if (!m) {
            if (rec.kind != "1") return Outcome::Refused(kEb11UnknownMemberText);
            // 0 is no payer number: the key column would number it itself.
            if (!payer || *payer == 0) return Outcome::Refused(kEb11PayerNotNumberText);
            if (*payer >= kFirstReservedPayer) return Outcome::Refused(kEb11PayerTooHighText);
            Create(rec, number);
            return Outcome::Done(kEb11CreatedText);
        }
        if (m->remove == "4") return Outcome::Refused(kEb11DeletedMemberText);
        if (m->settle != "1") return Outcome::Refused(kEb11NotCmsText);
        if (rec.kind == "1") {
            if (m->remove != "2") return Outcome::Refused(kEb11AlreadyRegisteredText);
            db_.ExecuteSql("update " + s_.schema() +
                               ".member_user set bank_code=?, account_no=?, account_jumin=?, "
                               "remove='1', cms_status='3' where member_inx=?",
                           {rec.bankCode, rec.account, rec.idNumber, number});
            return Outcome::Done(kEb11ReRegisteredText);
        }
        return CancelRecord(rec, number, *m, false);
    }

    Outcome CancelRecord(const Eb11Record& rec, const std::string& number, const MemberNow& m,
                         bool history) {
        if (IsCancelled(m)) return Outcome::Done(kEb11AlreadyCancelledText);
        const auto differ = Differences(m, rec);
        if (!differ.empty()) return Outcome::Refused(Eb11MismatchText(differ));
        Cancel(db_, s_, number);
        cancelledFrom_.emplace(number, m.remove);
        if (history) {
            History(number, "EB11-회원상태변경",
                    "납부자번호 : [" + number + "], 회원상태 : [" + RemoveText(m.remove) +
                        "]->[해지] 로 변경");
        }
        return Outcome::Done(kEb11CancelledText);
    }

    Outcome StandardRecord(const Eb11Record& rec, const std::string& number) {
        const auto m = ReadMember(db_, s_, number);
        if (!m) return Outcome::Refused(kEb11UnregisteredText);
        if (m->settle != "1") return Outcome::Refused(kEb11NotCmsText);
        if (rec.kind != "1") return CancelRecord(rec, number, *m, true);
        if (m->cmsStatus == "1" || m->cmsStatus == "6" || m->cmsStatus == "12")
            return Outcome::Done(kEb11PendingText);
        // A member on hold stays on hold: the bank registered the account,
        // not the institution's decision to bill him. An account change
        // arrives as the old account's cancellation (applied first) and the
        // new account's registration: the state before that cancellation
        // is the one that counts.
        std::string before = m->remove;
        const auto cancelled = cancelledFrom_.find(number);
        if (rec.channel == kEb11AccountChangeChannel && cancelled != cancelledFrom_.end())
            before = cancelled->second;
        const std::string remove = before == "3" ? "3" : "1";
        db_.ExecuteSql("update " + s_.schema() +
                           ".member_user set bank_code=?, account_no=?, account_jumin=?, "
                           "remove=?, cms_status='3', cms_agree_status='P' where member_inx=?",
                       {rec.bankCode, rec.account, rec.idNumber, remove, number});
        History(number, "EB11-계좌변경",
                m->bank + "/" + m->account + "/" + m->idNumber + " 에서 " + rec.bankCode + "/" +
                    rec.account + "/" + rec.idNumber + " 로 변경");
        return Outcome::Done(kEb11AccountChangedText);
    }

    static std::string RemoveText(const std::string& remove) {
        if (remove == "1") return "정상";
        if (remove == "2") return "해지";
        if (remove == "3") return "보류";
        if (remove == "4") return "삭제";
        return remove;
    }

    void History(const std::string& number, const std::string& combo, const std::string& text) {
        db_.ExecuteSql("insert into " + s_.schema() +
                           ".iltable (illinkinx, usrname, ildate, ilcombo, ilsang, ilstat) values "
                           "(?,?,?,?,?,'3')",
                       {number, s_.LoginId, stamp_, combo, text});
    }

    void Create(const Eb11Record& rec, const std::string& number) {
        const std::string date = "20" + rec.applied;  // yyyymmdd
        const std::string shown =
            date.size() == 8 ? date.substr(0, 4) + "-" + date.substr(4, 2) + "-" + date.substr(6)
                             : rec.applied;
        db_.ExecuteSql(
            "insert into " + s_.schema() +
                ".member_user (member_inx, bank_code, account_no, account_jumin, remove, "
                "cms_status, payday, inday, signdate, start_date, comment) values "
                "(?,?,?,?,'1','3',25,25,unix_timestamp(sysdate()),?,?)",
            {number, rec.bankCode, rec.account, rec.idNumber,
             date.size() == 8 ? date.substr(0, 4) + "-" + date.substr(4, 2) : std::string(),
             "은행접수 (" + shown + ")"});
        db_.ExecuteSql("insert into " + s_.schema() +
                           ".user_item (ui_perinx, ui_name, ui_pay, ui_cnt, ui_payment, ui_stan) "
                           "values (?,?,0,1,0,'')",
                       {number, DefaultItemName(db_, s_)});
    }

    void Store(const Eb11Record& rec, const std::string& userNo, const Outcome& o) {
        if (o.refused) ++refused;
        db_.ExecuteSql(
            "insert into " + s_.schema() +
                ".file_ea11 (seq_num, reg_date, reg_kind, user_no, bank_code, account_no, id_no, "
                "money_kind, result, user_phone, result_char, result_code, pros_date, "
                "file_orig_msg, pross_stat) values (?,?,?,?,?,?,?,?,?,?,?,?,?,?,'0')",
            {rec.serial, reading_.yyyymmdd, rec.kind, userNo, rec.bankCode, rec.account,
             rec.idNumber, rec.moneyKind, o.text, rec.phone, o.refused ? "N" : "", o.code,
             prosDate_, rec.original});
    }

    Database& db_;
    const SessionContext& s_;
    const Eb11Reading& reading_;
    std::string prosDate_, stamp_;
    // Members this file cancelled, with their `remove` before it.
    std::map<std::string, std::string> cancelledFrom_;
};

}  // namespace

std::string Eb11MismatchText(const std::vector<std::string>& items) {
    std::string names;
    for (const std::string& item : items) names += (names.empty() ? "" : ",") + item;
    return "해지대상의 정보(" + names + ") 가 파일정보와 다릅니다.";
}

Eb11Mode Eb11ModeOf(const SessionContext& s) {
    return s.bank_receipt_switch ? Eb11Mode::BankReceipt : Eb11Mode::Standard;
}

Eb11ApplyResult ApplyEb11File(Database& db, const SessionContext& s, Interaction& ui,
                              const std::string& path, Eb11Mode mode) {
    Eb11ApplyResult result;
    if (!HeadOfficeMayWorkOnFiles(s, ui)) return result;
    const std::string name = fs::path(path).filename().string();
    // One application of an institution at a time: a second desk waits and
    // then finds the day applied.
    const CreationLock lock(db, s, kEb11Kind);
    if (!lock.held()) {
        ui.inform(kCreationBusyText, kDefaultTitle);
        return result;
    }
    const Eb11Reading reading = ReadEb11File(db, s, path);
    result.yyyymmdd = reading.yyyymmdd;
    if (!reading.error.empty()) {
        result.error = reading.error;
        ui.inform(reading.error, kDefaultTitle);
        db.WriteProcessLog(name + " 처리불가 파일", kEb11LogCode);
        return result;
    }
    Database::Transaction tx(db);
    Applier applier(db, s, reading);
    if (mode == Eb11Mode::BankReceipt) {
        applier.BankReceipt();
    } else {
        applier.Standard();
    }
    applier.StoreMac();
    db.WriteProcessLog(name + " 파일처리 완료", kEb11LogCode);
    tx.commit();
    result.applied = true;
    result.records = static_cast<long long>(reading.records.size());
    result.refused = applier.refused;
    return result;
}

}  // namespace qx
