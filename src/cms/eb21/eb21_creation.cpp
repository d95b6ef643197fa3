#include "cms/eb21/eb21_creation.h"

#include <map>
#include <optional>
#include <set>
#include <stdexcept>

#include "cms/eb21/eb21_record.h"
#include "cms/workspace/cms_folders.h"
#include "cms/workspace/creation_lock.h"
#include "cms/workspace/file_names.h"
#include "cms/workspace/head_office_gate.h"
#include "cms/workspace/partial_file.h"
#include "core/session_context.h"
#include "db/database.h"
#include "db/holidays.h"
#include "db/payer_number.h"
#include "db/server_clock.h"
#include "db/sql_quote.h"
#include "ledger/auto_sale.h"
#include "members/program_settings.h"
#include "platform/interaction.h"

namespace qx {

namespace {

constexpr std::size_t kRowsPerStatement = 100;

// Thrown inside the transaction; the caller rolls back and tells the user.
struct Refusal : std::runtime_error {
    explicit Refusal(const char* text) : std::runtime_error(text) {}
};

bool FileRowExists(Database& db, const std::string& ea21, const std::string& yymmdd) {
    return db.scalarInt("select count(1) from " + ea21 + " where mid(filename,5)=?", {yymmdd}) > 0;
}

bool OverLimit(Database& db, const SessionContext& s, const CivilDate& date, long long selected,
               Interaction& ui) {
    if (LoadMonthFigures(db, s, date).excess(selected) == 0) return false;
    ui.inform(kEb21OverLimitText);
    return true;
}

struct Batch {
    std::string values;
    std::map<long long, std::string> expected;  // member -> state at the search
    std::size_t count = 0;
};

// Members must still be as the search found them; they are locked, checked
// and moved to 6. A member already in 6 with a row of this file was moved by
// an earlier statement of this creation (no other file of the day can
// exist), which keeps the check free of any list that grows with the file.
void FlushBatch(Database& db, const std::string& schema, const std::string& yymmdd, Batch& b) {
    if (b.count == 0) return;
    std::string ids;
    for (const auto& [m, status] : b.expected) ids += (ids.empty() ? "" : ",") + std::to_string(m);
    const auto rs =
        db.OpenRecordset("select member_inx,cms_status,remove,settle_accounts from " + schema +
                         ".member_user where member_inx in (" + ids + ") for update");
    std::map<long long, std::string> now;
    for (std::size_t i = 0; i < rs.size(); ++i) {
        const auto r = rs[i];
        if (r["remove"] == "1" && r["settle_accounts"] == "1")
            now[r.asInt("member_inx")] = r["cms_status"];
    }
    const auto ours =
        db.OpenRecordset("select distinct user_no from " + schema +
                             ".file_ea21 where reg_date=? and user_no in (" + ids + ")",
                         {yymmdd});
    std::set<long long> listed;
    for (std::size_t i = 0; i < ours.size(); ++i) listed.insert(ours[i].asInt(0));
    std::string move;
    for (const auto& [m, status] : b.expected) {
        const auto it = now.find(m);
        if (it != now.end() && it->second == "6" && listed.count(m)) continue;
        if (it == now.end() || it->second != status ||
            (status != "3" && status != "7" && status != "8")) {
            throw Refusal(kEb21StaleRowsText);
        }
        move += (move.empty() ? "" : ",") + std::to_string(m);
    }
    db.ExecuteSql("insert into " + schema +
                  ".file_ea21 (`seq_num`,`reg_date`,`bank_code`,`account_no`,`amount`,`id_no`,"
                  "`title`,`user_no`,`amount_kind`,`oldcms_status`,`cash_rcpt_info`) VALUES " +
                  b.values);
    if (!move.empty())
        db.ExecuteSql("update " + schema + ".member_user set cms_status=6 where member_inx in (" +
                      move + ")");
    b = Batch{};
}

std::string CreatedText(long long count, const CivilDate& date) {
    return "총 '" + std::to_string(count) + "' 건의 [" + DiskFileName(kEb21Kind, date) +
           "] 파일을 생성하였습니다.\r\n\r\n생성한 파일을 바로 올려주시지 않으면,\r\n"
           "송신시 데이터 오류가 발생할 수 있습니다.";
}

}  // namespace

std::string Eb21ProgressText(long long done, long long total) {
    return "(" + std::to_string(done) + " / " + std::to_string(total) + " 건 진행)";
}

Eb21Result CreateEb21File(Database& db, SessionContext& s, Interaction& ui,
                          const Eb21Request& request) {
    Eb21Result result;
    const CivilDate& date = request.fileDate;
    const std::string yymmdd = Yymmdd(date);
    const std::string schema = InstitutionSchema(s.institution_number);
    const std::string ea21 = schema + ".ea21";

    if (!HeadOfficeMayWorkOnFiles(s, ui)) return result;
    const Eb21Selection selection = SelectedOf(request.rows);
    if (selection.count == 0) {
        ui.inform(kEb21NoSelectionText);
        return result;
    }
    if (IsHoliday(db, date)) {
        ui.inform(kEb21HolidayText);
        return result;
    }
    if (OverLimit(db, s, date, selection.amount, ui)) return result;
    if (FileRowExists(db, ea21, yymmdd)) {
        ui.inform(kEb21DuplicateText);
        return result;
    }
    if (!ui.confirm("총 '" + std::to_string(selection.count) + "' 건의 [" +
                    DiskFileName(kEb21Kind, date) + "] 파일을 생성합니다.\r\n진행하시겠습니까?")) {
        result.outcome = Eb21Outcome::Declined;
        return result;
    }
    // From here to the commit one creation of the institution runs at a
    // time: a second one waits and then finds the day's row and the month's use.
    std::optional<CreationLock> lock;
    lock.emplace(db, s, kEb21Kind);
    if (!lock->held()) {
        ui.inform(kCreationBusyText);
        return result;
    }
    if (OverLimit(db, s, date, selection.amount, ui)) return result;
    const std::string folder = MakeExchangeFolder(s, kEb21Kind);
    const auto company = db.OpenRecordset(
        "select ok_commission,no_commission,bank_code,account_code,account_title from "
        "quorisdex.admin_company where inx=?",
        {s.institution_number});
    if (company.empty()) {
        ui.inform(kEb21NoCompanyText);
        return result;
    }
    const auto c = company[0];
    const std::string fallback = PassbookText(c["account_title"], true);
    const PayerNumberMaker filePayerNumber(db, s);
    const std::string diskName = DiskFileName(kEb21Kind, date);
    if (const std::string other = ForeignFileDate(folder + "/" + diskName, date); !other.empty()) {
        ui.inform(DiskNameTakenText(diskName, other));
        return result;
    }
    try {
        PartialFile file(folder, diskName);
        Database::Transaction tx(db);
        if (FileRowExists(db, ea21, yymmdd)) throw Refusal(kEb21DuplicateText);
        ui.progress(kEb21WritingText, 0, selection.count);
        file.write(Eb21Header(s.org_code, date, c["bank_code"], c["account_code"]));
        Batch batch;
        long long serial = 0;
        const long long total = selection.count;
        for (const Eb21Row& selected : request.rows) {
            if (!selected.selected) continue;
            const Eb21Row* row = &selected;
            ++serial;
            Eb21Record rec;
            rec.serial = serial;
            rec.bankCode = row->bankCode;
            rec.accountNo = row->accountNo;
            rec.amount = row->amount;
            rec.holderNumber = Eb21HolderNumber(row->holderNumber);
            rec.passbook = row->passbook.empty() ? fallback : PassbookText(row->passbook);
            rec.payerNumber = filePayerNumber(std::to_string(row->member_inx));
            rec.amountKind =
                row->amountKind == "1" || row->amountKind == "2" ? row->amountKind : "1";
            rec.cashReceipt = row->cashReceipt;
            file.write(Eb21DataRecord(rec, s.org_code));
            result.total += rec.amount;

            if (!batch.values.empty()) batch.values += ",";
            batch.values += "(" + std::to_string(serial) + "," + SqlQuote(yymmdd) + "," +
                            SqlQuote(rec.bankCode) + "," + SqlQuote(rec.accountNo) + "," +
                            std::to_string(rec.amount) + "," + SqlQuote(rec.holderNumber) + "," +
                            SqlQuote(rec.passbook) + "," + std::to_string(row->member_inx) + "," +
                            SqlQuote(rec.amountKind) + "," + SqlQuote(row->cmsStatus) + "," +
                            SqlQuote(rec.cashReceipt) + ")";
            batch.expected.emplace(row->member_inx, row->cmsStatus);
            if (++batch.count == kRowsPerStatement || serial == total) {
                FlushBatch(db, schema, yymmdd, batch);
                ui.progress(
                    kEb21WritingText + std::string("\r\n") + Eb21ProgressText(serial, total),
                    serial, total);
            }
        }
        file.write(Eb21Trailer(s.org_code, date, serial, result.total));
        file.close();
        result.count = serial;
        file.publish();
        try {
            db.ExecuteSql(
                "insert into " + ea21 +
                    " (`makedate`, `filename`, `total_cnt`, `total_money`,`ok_commission`,"
                    "`false_commission`,`pross_stat`) VALUES (unix_timestamp(sysdate()),"
                    "?,?,?,?,?,'0')",
                {DatabaseFileName(kEb21Kind, date), result.count, result.total,
                 c.asInt("ok_commission"), c.asInt("no_commission")});
            db.WriteProcessLog(diskName + " 파일생성", 5);
            tx.commit();
        } catch (...) {
            file.withdraw();
            throw;
        }
        result.path = file.path();
    } catch (const Refusal& e) {
        ui.inform(e.what());
        return Eb21Result{};
    } catch (const FileNotWritten& e) {
        ui.inform(e.what());
        return Eb21Result{};
    }
    lock.reset();
    result.outcome = Eb21Outcome::Created;
    if (ui.confirm(CreatedText(result.count, date) + "\r\n\r\n" + kEb21SendQuestion)) {
        OpenTransmission(db, s, ui, request.launch);
    } else if (ui.confirm(kEb21ReturnQuestion)) {
        result.closeScreen = true;
    }
    return result;
}

CivilDate Eb21DefaultFileDate(Database& db, SessionContext& s) {
    ReadServerDate(db, s);
    const auto now = ParseServerClock(s.server_datetime);
    if (!now) throw std::runtime_error("server clock unreadable: " + s.server_datetime);
    return Eb21WithdrawalDate(*now, s.cmsrunprg, s.launched_with_credentials, DatabaseHolidays(db));
}

bool RunAutoSaleFirst(Database& db, SessionContext& s, Interaction& ui, const std::string& webHost,
                      const CivilDate& fileDate) {
    const ProgramSettings settings = LoadProgramSettings(db, s);
    if (!settings.month_current || CmsSetDigit(settings.cms_set, kPosAutoSales) == kAutoSalesUnused)
        return true;
    return RunAutoSale(db, s, ui, webHost, fileDate.day, FormatShortDate(fileDate)).done;
}

}  // namespace qx
