#include "cms/eb13/eb13_creation.h"

#include <cstdlib>
#include <optional>
#include <stdexcept>

#include "cms/eb13/eb13_record.h"
#include "cms/workspace/cms_folders.h"
#include "cms/workspace/cms_record.h"
#include "cms/workspace/creation_lock.h"
#include "cms/workspace/file_names.h"
#include "cms/workspace/file_summary.h"
#include "cms/workspace/head_office_gate.h"
#include "cms/workspace/partial_file.h"
#include "core/session_context.h"
#include "db/database.h"
#include "db/holidays.h"
#include "db/payer_number.h"
#include "db/server_clock.h"
#include "db/sql_quote.h"
#include "platform/interaction.h"
#include "platform/profile_ini.h"

namespace qx {

namespace {

constexpr std::size_t kRowsPerStatement = 100;
// The states the search selects from; a member found in any other state has
// been requested by someone else since the search.
constexpr const char* kRequestableStates = "('0','11','3','7','8','15')";

// Thrown inside the transaction when the listed members no longer match the
// database; the caller rolls back and tells the user.
struct StaleTargets : std::runtime_error {
    StaleTargets() : std::runtime_error(kEb13StaleTargetsText) {}
};
struct DuplicateDay : std::runtime_error {
    DuplicateDay() : std::runtime_error(kEb13DuplicateText) {}
};

bool FileRowExists(Database& db, const std::string& table, const std::string& yymmdd) {
    return db.scalarInt("select count(*) from " + table + " where mid(filename,5)=?", {yymmdd}) > 0;
}

// Members whose cancellation or new application needs no agreement evidence
// of this day: the EI13 question is asked only when others remain.
bool NeedsEi13First(Database& db, const SessionContext& s, std::size_t rows,
                    const std::string& yymmdd) {
    if (!s.agreement_evidence_switch) return false;
    const std::string members = s.schema() + ".member_user";
    const long long cancellations =
        db.scalarInt("select count(*) from " + members +
                     " where remove in ('2','4') and cms_status in ('11','15')");
    const long long evidenced =
        db.scalarInt("select count(*) from " + members +
                     " where remove='1' and cms_status='0' and cms_agree_status in ('2','3')");
    if (static_cast<long long>(rows) - cancellations - evidenced <= 0) return false;
    return !FileRowExists(db, s.schema() + ".ei13", yymmdd);
}

struct Batch {
    std::string values;
    std::string newMembers, allMembers;
    std::size_t count = 0;
};

void FlushBatch(Database& db, const SessionContext& s, Batch& b) {
    if (b.count == 0) return;
    const bool relay = s.cmsrunprg == 2;
    db.ExecuteSql("insert into " + s.schema() +
                  ".file_ea13 (seq_num,reg_date,reg_kind,user_no,bank_code,account_no,id_no,"
                  "account_name,oldcms_status,user_phone" +
                  std::string(relay ? ",certifi_kind" : "") + ") values " + b.values);
    const std::string isNew =
        b.newMembers.empty() ? std::string("0") : "member_inx in (" + b.newMembers + ")";
    std::string sets = "cms_status=if(" + isNew + ",'1','12')";
    if (relay) sets += ",certificate_status=if(" + isNew + ",'I',certificate_status)";
    const long long moved = db.ExecuteSql("update " + s.schema() + ".member_user set " + sets +
                                          " where member_inx in (" + b.allMembers +
                                          ") and cms_status in " + kRequestableStates);
    if (moved != static_cast<long long>(b.count)) throw StaleTargets();
    b = Batch{};
}

void AddToBatch(Batch& b, const SessionContext& s, const Eb13Target& t, long long serial,
                const std::string& yymmdd) {
    const bool relay = s.cmsrunprg == 2;
    if (!b.values.empty()) b.values += ",";
    b.values += "(" + std::to_string(serial) + "," + SqlQuote(yymmdd) + "," +
                (t.isNew() ? "'1'" : "'3'") + "," + SqlQuote(t.payer_number) + "," +
                SqlQuote(t.bank_code) + "," + SqlQuote(t.account_no) + "," +
                SqlQuote(t.account_jumin) + "," +
                SqlQuote(t.account_name.empty() ? "빈값" : t.account_name) + "," +
                SqlQuote(t.cms_status) + "," + SqlQuote(relay ? t.contactNumber() : std::string()) +
                (relay ? "," + SqlQuote(t.certificate_kind) : std::string()) + ")";
    const std::string member = std::to_string(t.member_inx);
    if (t.isNew()) b.newMembers += (b.newMembers.empty() ? "" : ",") + member;
    b.allMembers += (b.allMembers.empty() ? "" : ",") + member;
    ++b.count;
}

std::string CreatedText(long long total, const CivilDate& date) {
    return "총 '" + std::to_string(total) + "' 건의 [" + DiskFileName(kEb13Kind, date) +
           "] 파일을 생성하였습니다.\r\n\r\n생성한 파일을 바로 올려주시지 않으면,\r\n"
           "송신시 데이터 오류가 발생할 수 있습니다.";
}

}  // namespace

CivilDate Eb13DefaultFileDate(Database& db, SessionContext& s) {
    ReadServerDate(db, s);
    const auto now = ParseServerClock(s.server_datetime);
    if (!now) throw std::runtime_error("server clock unreadable: " + s.server_datetime);
    const HolidayLookup holidays = DatabaseHolidays(db);
    const CivilDate usual =
        Eb13RequestDate(*now, s.cmsrunprg, s.launched_with_credentials, holidays);
    if (!(usual < now->date)) return usual;
    // The usual day lies behind us (the clearing house's rule looks back):
    // start at the first day a file can still be made.
    return IsHoliday(now->date, holidays) ? AddBusinessDays(now->date, 1, holidays) : now->date;
}

Eb13Result CreateEb13File(Database& db, SessionContext& s, Interaction& ui,
                          const Eb13Request& request) {
    Eb13Result result;
    result.fileDate = request.fileDate;
    const CivilDate& date = request.fileDate;
    const std::string yymmdd = Yymmdd(date);

    if (!HeadOfficeMayWorkOnFiles(s, ui)) return result;
    if (IsHoliday(db, date)) {
        ui.inform(kEb13HolidayText);
        return result;
    }
    if (request.targets.empty()) {
        ui.inform(kEb13NoTargetsText);
        return result;
    }
    const auto today = ParseDate(ReadServerDate(db, s));
    if (today && date < *today) {
        ui.inform(kEb13PastDateText);
        result.outcome = Eb13Outcome::DateReset;
        result.fileDate = *today;
        return result;
    }
    // From here to the commit one creation of the institution runs at a
    // time: a second one waits and then finds the day's row.
    std::optional<CreationLock> lock;
    lock.emplace(db, s, kEb13Kind);
    if (!lock->held()) {
        ui.inform(kCreationBusyText);
        return result;
    }
    const std::string ea13 = s.schema() + ".ea13";
    if (FileRowExists(db, ea13, yymmdd)) {
        ui.inform(kEb13DuplicateText);
        return result;
    }
    if (NeedsEi13First(db, s, request.targets.size(), yymmdd)) {
        if (ui.confirm(kEb13Ei13FirstText)) result.outcome = Eb13Outcome::OpenEi13Screen;
        return result;
    }

    const PayerNumberMaker filePayerNumber(db, s);
    const std::string folder = MakeExchangeFolder(s, kEb13Kind);
    const std::string diskName = DiskFileName(kEb13Kind, date);
    if (const std::string other = ForeignFileDate(folder + "/" + diskName, date); !other.empty()) {
        ui.inform(DiskNameTakenText(diskName, other));
        return result;
    }
    try {
        PartialFile file(folder, diskName);
        Database::Transaction tx(db);
        file.write(HeaderRecord(kEb13Kind, s.org_code, date));
        Batch batch;
        long long serial = 0;
        const auto total = static_cast<long long>(request.targets.size());
        for (const Eb13Target& t : request.targets) {
            ++serial;
            file.write(
                Eb13DataRecord(t, serial, s.org_code, date, filePayerNumber(t.payer_number)));
            (t.isNew() ? result.newCount : result.cancelCount) += 1;
            AddToBatch(batch, s, t, serial, yymmdd);
            if (batch.count == kRowsPerStatement) {
                FlushBatch(db, s, batch);
                ui.progress("EB13 파일 생성", serial, total);
            }
        }
        if (batch.count > 0) {
            FlushBatch(db, s, batch);
            ui.progress("EB13 파일 생성", serial, total);
        }
        file.write(Eb13Trailer(s.org_code, date, result.newCount, result.cancelCount));
        file.close();
        if (FileRowExists(db, ea13, yymmdd)) throw DuplicateDay();
        // Published before the commit: committed rows always have their
        // file, and a failure up to the commit takes the file back.
        file.publish();
        try {
            db.ExecuteSql(
                "insert into " + ea13 +
                    " (makedate,filename,create_cnt,delete_cnt,total_cnt,pross_stat) values "
                    "(unix_timestamp(sysdate()),?,?,?,?,'0')",
                {DatabaseFileName(kEb13Kind, date), result.newCount, result.cancelCount,
                 result.newCount + result.cancelCount});
            db.WriteProcessLog(DatabaseFileName(kEb13Kind, date) + " 파일생성", 5);
            tx.commit();
        } catch (...) {
            file.withdraw();
            throw;
        }
        result.path = file.path();
    } catch (const StaleTargets& e) {
        ui.inform(e.what());
        return Eb13Result{Eb13Outcome::Refused, date, {}, 0, 0, false};
    } catch (const DuplicateDay& e) {
        ui.inform(e.what());
        return Eb13Result{Eb13Outcome::Refused, date, {}, 0, 0, false};
    } catch (const FileNotWritten& e) {
        ui.inform(e.what());
        return Eb13Result{Eb13Outcome::Refused, date, {}, 0, 0, false};
    }
    // The row is committed: other creations may go on while the user answers.
    lock.reset();
    result.outcome = Eb13Outcome::Created;

    const bool send = request.question == Eb13ClosingQuestion::Send;
    const std::string text = CreatedText(result.newCount + result.cancelCount, date) + "\r\n\r\n" +
                             (send ? kEb13SendQuestion : kEb13ReturnQuestion);
    if (!ui.confirm(text)) return result;
    if (!send) {
        result.closeScreen = true;
    } else {
        OpenTransmission(db, s, ui, request.launch);
    }
    return result;
}

}  // namespace qx
