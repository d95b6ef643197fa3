#include "cms/eb22/eb22_apply.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <optional>

#include "cms/eb22/eb22_results.h"
#include "cms/workspace/cms_record.h"
#include "cms/workspace/creation_lock.h"
#include "cms/workspace/file_summary.h"
#include "cms/workspace/housekeeping.h"
#include "cms/workspace/result_files.h"
#include "core/session_context.h"
#include "db/database.h"
#include "db/sql_quote.h"
#include "db/work_tables.h"
#include "ledger/fees.h"
#include "ledger/server_scripts.h"
#include "platform/http.h"
#include "platform/interaction.h"
#include "platform/profile_ini.h"
#include "platform/system_drive.h"
#include "platform/trim.h"
#include "session/service_web.h"
#include "session/update_check.h"

namespace qx {

namespace fs = std::filesystem;

namespace {

constexpr const char* kKind = "EB22";
constexpr const char* kRequestKind = "EB21";

// "yy-mm-dd" of a file date yymmdd.
std::string SaveDay(const std::string& yymmdd) {
    return yymmdd.substr(0, 2) + "-" + yymmdd.substr(2, 2) + "-" + yymmdd.substr(4, 2);
}

// The closed EB21 row of an applied file, as the file list shows it.
void ReadClosedFile(Database& db, const std::string& schema, const std::string& yymmdd,
                    Eb22FileOutcome& out) {
    const Recordset rs = db.OpenRecordset(
        "select e.rtnok_money, e.rtnfalse_money, e.ok_commission, e.false_commission, "
        "(select count(*) from " +
            schema +
            ".file_ea21 f where f.reg_date=? and "
            "f.result<>'N'), (select count(*) from " +
            schema +
            ".file_ea21 f where "
            "f.reg_date=? and f.result='N') from " +
            schema +
            ".ea21 e where e.filename=? and "
            "e.pross_stat='1'",
        {yymmdd, yymmdd, std::string(kRequestKind) + yymmdd});
    if (rs.empty()) return;
    const auto row = rs[0];
    out.rtnokMoney = row.asInt(std::size_t{0});
    out.rtnfalseMoney = row.asInt(1);
    out.okCommission = row.asInt(2);
    out.falseCommission = row.asInt(3);
    out.withdrawnCount = row.asInt(4);
    out.failedCount = row.asInt(5);
}

}  // namespace

std::string Eb22BusyText(const std::string& yymmdd) {
    return ResultBusyText(kRequestKind, yymmdd);
}

std::string Eb22BusyTitle(const std::string& yymmdd) {
    return ResultBusyTitle(kRequestKind, yymmdd);
}

std::string Eb22SummaryText(int succeeded, int failed) {
    return ResultSummaryText(succeeded, failed, kEb22DoneText);
}

Eb22Reading ReadEb22File(const std::string& path, const std::string& yymmdd,
                         const std::function<void(const Eb22Result&)>& onResult) {
    Eb22Reading r;
    std::error_code ec;
    const auto size = fs::file_size(path, ec);
    std::ifstream in(path, std::ios::binary);
    if (ec || !in) {
        r.error = kEb22BadRecordText;
        return r;
    }
    if (size % kLongRecordLength != 0) {
        r.error = kEb22CutText;
        return r;
    }
    const std::string ownName = LastEight(fs::path(path).filename().string());
    long long lastSerial = 0;
    std::string record(kLongRecordLength, ' ');
    while (in.read(record.data(), kLongRecordLength)) {
        const RecordReader rec(std::string_view(record).substr(0, 100));
        const char type = rec.type();
        if (type == 'T') break;
        if (type == 'H') {
            if (rec.field(20, 8) != ownName) {
                r.error = kEb22OtherNameText;
                break;
            }
            if (rec.field(28, 6) != yymmdd) {
                r.error = kEb22OtherDateText;
                break;
            }
        } else if (type == 'R') {
            // Rising serials: a serial twice can never be staged.
            const auto serial = rec.number(2, 8);
            if (!serial || *serial <= lastSerial) {
                r.error = kEb22BadSerialText;
                break;
            }
            lastSerial = *serial;
            Eb22Result result{*serial, rec.field(69, 1), rec.field(70, 4), 0};
            const auto amount = rec.number(43, 13);
            const bool known =
                result.result.empty() || result.result == "N" || result.result == "P";
            // A partial withdrawal books the amount of its record: it must be one.
            if (!amount || !known || (result.result == "P" && *amount < 1)) {
                r.error = kEb22BadResultText;
                break;
            }
            result.amount = *amount;
            ++r.records;
            if (result.result == "N") {
                ++r.failures;
                r.notWithdrawnFailed += result.amount;
                if (IsChargedFailureCode(result.code)) ++r.chargedFailures;
            }
            onResult(result);
        } else {
            r.error = kEb22BadRecordText;
            break;
        }
    }
    if (!r.error.empty()) r = Eb22Reading{r.error, {}, 0, 0, 0, 0};
    return r;
}

Eb22Reading ReadEb22File(const std::string& path, const std::string& yymmdd) {
    std::vector<Eb22Result> results;
    Eb22Reading r =
        ReadEb22File(path, yymmdd, [&](const Eb22Result& one) { results.push_back(one); });
    if (r.error.empty()) r.results = std::move(results);
    return r;
}

std::string Eb22Staging::add(const Eb22Result& r) {
    if (count_ > 0) values_ += ",";
    values_ += "(" + std::to_string(r.serial) + "," + SqlQuote(r.result) + "," + SqlQuote(r.code) +
               "," + std::to_string(r.divAmount()) + ")";
    return ++count_ == kEb22StagingBatch ? finish() : std::string();
}

std::string Eb22Staging::finish() {
    if (count_ == 0) return {};
    std::string sql = "insert into " + schema_ +
                      ".file_ea21_run (`seq_num`,`result`,`result_code`,`div_amount`) values " +
                      values_;
    values_.clear();
    count_ = 0;
    return sql;
}

std::vector<std::string> Eb22StagingStatements(const std::string& schema,
                                               const std::vector<Eb22Result>& results) {
    std::vector<std::string> out;
    Eb22Staging staging(schema);
    for (const Eb22Result& r : results)
        if (std::string sql = staging.add(r); !sql.empty()) out.push_back(std::move(sql));
    if (std::string sql = staging.finish(); !sql.empty()) out.push_back(std::move(sql));
    return out;
}

Eb22ResultRequest ServiceWebEb22Request(const std::string& webHost) {
    return [webHost](long long inx, long long backupKey, const std::string& yymmdd) {
        const std::string url =
            ServiceUrl(webHost, std::string(kApplyEb22ResultsPath) + "?loginuserid=tps_" +
                                    std::to_string(inx) + "&dboldid=" + std::to_string(backupKey) +
                                    "&fileday=" + yymmdd + "&saveday=" + SaveDay(yymmdd));
        if (url.empty()) return std::string("서비스 서버 주소가 설정되지 않았습니다.");
        const HttpResult r = HttpRequest(url);
        if (!r.ok)
            return "서비스 서버 응답 없음 (" +
                   (r.error.empty() ? "HTTP " + std::to_string(r.status) : r.error) + ")";
        return Trim(r.body);
    };
}

void TidyEb22Folder(Database& db, const SessionContext& session) {
    TidyResultFolder(db, session, kKind, ArchiveEb21);
}

std::vector<std::string> Eb22FilesWaiting(const SessionContext& session) {
    return ResultFilesWaiting(session, kKind);
}

Eb22RunResult ApplyEb22Files(Database& db, const SessionContext& session, Interaction& ui,
                             const Eb22ResultRequest& request) {
    Eb22RunResult run;
    TidyEb22Folder(db, session);
    const std::vector<std::string> files = Eb22FilesWaiting(session);
    if (files.empty()) {
        run.noFiles = true;
        ui.inform(kNoEb22FilesText, kDefaultTitle);
        return run;
    }
    const std::string schema = InstitutionSchema(session.institution_number);
    long long done = 0;
    for (const std::string& path : files) {
        const std::string name = fs::path(path).filename().string();
        ui.progress(name, done++, static_cast<long long>(files.size()));
        Eb22FileOutcome outcome;
        outcome.file = name;
        auto fail = [&](const std::string& text, const std::string& title,
                        const std::string& logText) {
            ui.inform(text, title);
            db.WriteProcessLog(logText, kEb22LogCode);
            outcome.message = text;
            ++run.failed;
            run.files.push_back(outcome);
        };
        auto refuse = [&](const std::string& error) {
            fail(error, "[" + name + "] 처리불가", name + " 파일처리 실패");
            std::error_code ec;
            fs::remove(path, ec);
        };
        // The service keeps a copy of every result file it is asked about.
        // A failed copy is logged and the file applied all the same: the
        // copy helps the help desk, while holding the members' results back
        // until the backup server answers would help nobody.
        if (const ProfileIni ini(JoinPath(session.AppPath, "Login.ini"));
            ReadUpdateServer(ini).configured() && !UploadBackupFile(ini, path))
            db.WriteProcessLog(name + " 백업파일 전송 실패", kEb22LogCode);
        const std::string date = HeaderDate(path);
        if (date.empty()) {
            // Without a readable header date the file answers no EB21.
            refuse(kEb22BadRecordText);
            continue;
        }
        const std::string yymmdd = date.substr(2);
        // file_ea21_run is one table per institution: two desks applying two
        // files must not stage into it at the same time, or one file's
        // results would reach the other's application.
        const CreationLock stagingLock(db, session, kKind);
        if (!stagingLock.held()) {
            ui.inform(kCreationBusyText, kDefaultTitle);
            run.stopped = true;
            break;
        }
        const std::string eb21 = kRequestKind + yymmdd;
        // The claim by one statement: a second desk finds no row at '0'.
        const bool single = db.scalarInt("select count(*) from " + schema +
                                             ".ea21 where filename=? and pross_stat='0'",
                                         {eb21}) == 1;
        if (!single ||
            db.ExecuteSql(
                "update " + schema + ".ea21 set pross_stat=9 where filename=? and pross_stat='0'",
                {eb21}) != 1) {
            ui.inform(Eb22BusyText(yymmdd), Eb22BusyTitle(yymmdd));
            outcome.message = Eb22BusyText(yymmdd);
            run.files.push_back(outcome);
            run.stopped = true;
            break;
        }
        db.ExecuteSql("update " + schema +
                          ".file_ea21 set `result`='',`result_code`='' where reg_date=? and "
                          "not (`result`<=>'' and `result_code`<=>'')",
                      {yymmdd});
        // The backup holds what the result script may change of the members,
        // not whole rows: copying every column of every member cost as much
        // as booking the file.
        const WorkTable backup = CreateWorkTable(db, session, kWorkMemberMoney);
        CreateWorkTable(db, session, kWorkEb22Results);  // empties what an earlier run left
        // Read and staged as one unit: a refused file leaves nothing staged.
        std::optional<Database::Transaction> stagingTx(std::in_place, db);
        Eb22Staging staging(schema);
        const Eb22Reading reading = ReadEb22File(path, yymmdd, [&](const Eb22Result& r) {
            if (const std::string sql = staging.add(r); !sql.empty()) db.ExecuteSql(sql);
        });
        if (!reading.error.empty()) {
            stagingTx.reset();
            refuse(reading.error);
        } else {
            if (const std::string sql = staging.finish(); !sql.empty()) db.ExecuteSql(sql);
            stagingTx->commit();
            stagingTx.reset();
            const std::string reply = request(session.institution_number, backup.key, yymmdd);
            if (reply == kScriptDoneReply) {
                // The server closed the file row with its totals and fees in
                // the transaction that booked the collections; the client
                // only reads them back, so a repeat can never multiply the
                // fees twice.
                ReadClosedFile(db, schema, yymmdd, outcome);
                outcome.applied = true;
                db.WriteProcessLog(name + " 파일처리 완료", kEb22LogCode);
                ++run.succeeded;
                run.files.push_back(outcome);
            } else {
                fail(reply + "\r\n\r\n" + kEb22HelpDeskText, "[" + name + "] 파일처리 실패",
                     name + " 파일처리 실패 : " + reply);
            }
        }
        DropWorkTable(db, backup.key);
    }
    if (!run.stopped) ui.inform(Eb22SummaryText(run.succeeded, run.failed), kDefaultTitle);
    TidyEb22Folder(db, session);
    return run;
}

bool HasWithdrawalTargets(Database& db, const SessionContext& session) {
    return db.scalarInt("select count(*) from " + InstitutionSchema(session.institution_number) +
                        ".member_user where settle_accounts='1' and cms_status in "
                        "('3','7','8') and remove ='1' And pay_nonpayment > 0 ") > 0;
}

}  // namespace qx
