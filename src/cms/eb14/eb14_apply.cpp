#include "cms/eb14/eb14_apply.h"

#include <algorithm>
#include <filesystem>
#include <set>

#include "cms/eb14/eb13_results.h"
#include "cms/workspace/cms_folders.h"
#include "cms/workspace/cms_record.h"
#include "cms/workspace/creation_lock.h"
#include "cms/workspace/file_summary.h"
#include "cms/workspace/housekeeping.h"
#include "cms/workspace/result_files.h"
#include "core/session_context.h"
#include "db/database.h"
#include "db/sql_quote.h"
#include "db/work_tables.h"
#include "platform/http.h"
#include "platform/interaction.h"
#include "platform/text_checks.h"
#include "session/service_web.h"

namespace qx {

namespace fs = std::filesystem;

namespace {

constexpr const char* kKind = "EB14";

}  // namespace

std::string Eb14BusyText(const std::string& yymmdd) {
    return ResultBusyText("EB13", yymmdd);
}

std::string Eb14BusyTitle(const std::string& yymmdd) {
    return ResultBusyTitle("EB13", yymmdd);
}

std::string Eb14SummaryText(int succeeded, int failed) {
    return ResultSummaryText(succeeded, failed, kEb14DoneText);
}

Eb14Reading ReadEb14File(const std::string& path, const std::string& yymmdd) {
    Eb14Reading r;
    const auto file = ReadCmsFile(path, kShortRecordLength);
    if (!file) {
        r.error = kEb14BadRecordText;
        return r;
    }
    if (file->truncated) {
        r.error = kEb14CutText;
        return r;
    }
    const std::string ownName = LastEight(fs::path(path).filename().string());
    std::set<long long> serials;
    for (const std::string& record : file->records) {
        const RecordReader rec(std::string_view(record).substr(0, 100));
        const char type = rec.type();
        if (type == 'T') break;
        if (type == 'H') {
            if (rec.field(20, 8) != ownName) {
                r.error = kEb14OtherNameText;
                break;
            }
            if (rec.field(28, 6) != yymmdd) {
                r.error = kEb14OtherDateText;
                break;
            }
        } else if (type == 'R') {
            if (rec.field(92, 1) != "N") continue;
            const auto serial = rec.number(2, 8);
            if (!serial || !serials.insert(*serial).second) {
                r.error = kEb14BadSerialText;
                break;
            }
            r.refusals.emplace_back(*serial, rec.field(93, 4));
        } else {
            r.error = kEb14BadRecordText;
            break;
        }
    }
    if (!r.error.empty()) r.refusals.clear();
    return r;
}

std::vector<std::string> Eb14StagingStatements(const std::string& schema,
                                               const std::vector<Eb14Refusal>& refusals) {
    std::vector<std::string> out;
    std::string values;
    std::size_t inBatch = 0;
    auto flush = [&]() {
        if (inBatch == 0) return;
        out.push_back("insert into " + schema +
                      ".file_ea13_run (`seq_num`,`result`,`result_code`) values " + values);
        values.clear();
        inBatch = 0;
    };
    for (const auto& [serial, code] : refusals) {
        if (inBatch > 0) values += ",";
        values += "(" + std::to_string(serial) + ",'N'," + SqlQuote(code) + ")";
        if (++inBatch == kEb14StagingBatch) flush();
    }
    flush();
    return out;
}

Eb14ResultRequest ServiceWebResultRequest(const std::string& webHost) {
    return [webHost](long long inx, long long backupKey, const std::string& yymmdd) {
        const std::string url =
            ServiceUrl(webHost, std::string(kApplyEb13ResultsPath) + "?loginuserid=tps_" +
                                    std::to_string(inx) + "&dboldid=" + std::to_string(backupKey) +
                                    "&fileday=" + yymmdd);
        if (url.empty()) return std::string("서비스 서버 주소가 설정되지 않았습니다.");
        const HttpResult r = HttpRequest(url);
        if (!r.ok)
            return "서비스 서버 응답 없음 (" +
                   (r.error.empty() ? "HTTP " + std::to_string(r.status) : r.error) + ")";
        return r.body;
    };
}

void TidyEb14Folder(Database& db, const SessionContext& session) {
    TidyResultFolder(db, session, kKind, ArchiveEb13);
}

std::vector<std::string> Eb14FilesWaiting(const SessionContext& session) {
    return ResultFilesWaiting(session, kKind);
}

Eb14RunResult ApplyEb14Files(Database& db, const SessionContext& session, Interaction& ui,
                             const Eb14ResultRequest& request) {
    Eb14RunResult run;
    TidyEb14Folder(db, session);
    const std::vector<std::string> files = Eb14FilesWaiting(session);
    if (files.empty()) {
        run.noFiles = true;
        ui.inform(kNoEb14FilesText, kDefaultTitle);
        return run;
    }
    const std::string schema = InstitutionSchema(session.institution_number);
    long long done = 0;
    for (const std::string& path : files) {
        ui.progress(fs::path(path).filename().string(), done++,
                    static_cast<long long>(files.size()));
        const std::string name = fs::path(path).filename().string();
        auto refuse = [&](const std::string& error) {
            ui.inform(error, "[" + path + "] 처리불가");
            db.WriteProcessLog(name + " 파일처리 실패", kEb14LogCode);
            ++run.failed;
            std::error_code ec;
            fs::remove(path, ec);
        };
        const std::string date = HeaderDate(path);
        if (date.empty()) {
            // Without a readable header date the file answers no EB13.
            refuse(kEb14BadRecordText);
            continue;
        }
        const std::string yymmdd = date.substr(2);
        // file_ea13_run is one table per institution: two desks applying two
        // files must not stage into it at the same time, or one file's
        // refusals would reach the other's application.
        const CreationLock staging(db, session, kKind);
        if (!staging.held()) {
            ui.inform(kCreationBusyText, kDefaultTitle);
            run.stopped = true;
            break;
        }
        const std::string eb13 = "EB13" + yymmdd;
        // The claim by one statement: a second desk finds no row at '0'.
        const bool single = db.scalarInt("select count(*) from " + schema +
                                             ".ea13 where filename=? and pross_stat='0'",
                                         {eb13}) == 1;
        if (!single ||
            db.ExecuteSql(
                "update " + schema + ".ea13 set pross_stat=9 where filename=? and pross_stat='0'",
                {eb13}) != 1) {
            ui.inform(Eb14BusyText(yymmdd), Eb14BusyTitle(yymmdd));
            run.stopped = true;
            break;
        }
        const WorkTable backup = CreateWorkTable(db, session, kWorkMemberCopy);
        CreateWorkTable(db, session, kWorkEb14Results);  // empties what an earlier run left
        const Eb14Reading reading = ReadEb14File(path, yymmdd);
        if (!reading.error.empty()) {
            refuse(reading.error);
        } else {
            for (const std::string& sql : Eb14StagingStatements(schema, reading.refusals))
                db.ExecuteSql(sql);
            const std::string reply = request(session.institution_number, backup.key, yymmdd);
            if (reply.empty()) {
                db.WriteProcessLog(name + " 파일처리 완료", kEb14LogCode);
                ++run.succeeded;
            } else {
                db.WriteProcessLog(name + " 파일처리 실패 : " + reply, kEb14LogCode);
                ui.inform(reply, "[" + path + "] 처리불가");
                ++run.failed;
            }
        }
        DropWorkTable(db, backup.key);
    }
    if (!run.stopped) ui.inform(Eb14SummaryText(run.succeeded, run.failed), kDefaultTitle);
    TidyEb14Folder(db, session);
    return run;
}

}  // namespace qx
