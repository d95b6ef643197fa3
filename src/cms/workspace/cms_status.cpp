#include "cms/workspace/cms_status.h"

#include <sys/stat.h>

#include <algorithm>
#include <ctime>
#include <filesystem>
#include <map>
#include <system_error>

#include "cms/workspace/cms_folders.h"
#include "cms/workspace/cms_record.h"
#include "cms/workspace/creation_lock.h"
#include "cms/workspace/file_names.h"
#include "cms/workspace/file_summary.h"
#include "cms/workspace/head_office_gate.h"
#include "cms/workspace/housekeeping.h"
#include "core/session_context.h"
#include "db/database.h"
#include "db/holidays.h"
#include "platform/amount_text.h"
#include "platform/interaction.h"
#include "platform/system_drive.h"
#include "platform/trim.h"

namespace qx {

namespace fs = std::filesystem;

namespace {

constexpr const char* kArchiveFailedText =
    "파일을 보관폴더로 옮기지 못했습니다. 파일을 확인해 주십시오.";

// Regular files of a folder, by name.
std::vector<std::string> FileNames(const std::string& folder) {
    std::vector<std::string> names;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code fileEc;
        if (it->is_regular_file(fileEc)) names.push_back(it->path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

bool StartsWith(const std::string& s, const std::string& prefix) {
    return s.compare(0, prefix.size(), prefix) == 0;
}

// The header date of an exchange file named kind + MMDD. A header that names
// another day than the file's own name is as unusable as one without a date:
// acting on it would delete or archive the files of that other day.
std::string FileDateOf(const std::string& folder, const std::string& name, Interaction& ui) {
    const std::string date = ReadHeaderDate(JoinPath(folder, name), ui);
    if (date.empty()) return date;
    if (name.size() != 8 || date.substr(4) != name.substr(4)) {
        ui.inform(kUnreadableFileText);
        return {};
    }
    return date;
}

void ReportFailures(const HousekeepingResult& r, Interaction& ui) {
    for (const auto& path : r.failed) ui.inform(std::string(kArchiveFailedText) + "\n" + path);
}

// Date and time of the file's last change, local time.
std::string ChangedAt(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return {};
    std::tm tm{};
    localtime_r(&st.st_mtime, &tm);
    char buf[32];
    std::strftime(buf, sizeof buf, "%Y-%m-%d %H:%M:%S", &tm);
    return buf;
}

std::string WholeNumber(const RecordReader& r, int start, int length) {
    return std::to_string(r.number(start, length).value_or(0));
}

std::vector<std::string> Eb11Row(const std::string& folder, const std::string& name,
                                 const std::string& fileDate, const SessionContext& s) {
    const std::string path = JoinPath(folder, name);
    std::vector<std::string> row{ChangedAt(path), name, fileDate, "", "", "", ""};
    std::string remark;
    const auto file = ReadCmsFile(path, kShortRecordLength);
    const std::string org = Trim(s.org_code);
    bool trailerRead = false;
    if (file) {
        for (const auto& record : file->records) {
            const RecordReader r(record);
            const char type = r.type();
            if (type != 'H' && type != 'R' && type != 'T') {
                remark = kEb11BadFileText;
                break;
            }
            if (r.field(10, 10) != org) {
                remark = kForeignInstitutionText;
                break;
            }
            if (type == 'T') {
                row[3] = WholeNumber(r, 36, 8);
                row[4] = WholeNumber(r, 52, 8);
                row[5] = WholeNumber(r, 60, 8);
                trailerRead = true;
                break;
            }
        }
    }
    // A cut-off or unreadable file, or one that ends without its trailer,
    // cannot be applied either.
    if (remark.empty() && (!file || file->truncated || !trailerRead)) remark = kEb11BadFileText;
    if (!remark.empty()) {
        row[3] = row[4] = row[5] = "";
        row[6] = remark;
    } else {
        row[6] = kUnprocessedFileText;
    }
    return row;
}

struct RequestKind {
    std::string request, result;  // EB13/EB14 or EB21/EB22
    std::string table;            // ea13 or ea21
    int kftcDays;                 // receipt date, business days after the file date
    const char* timeAdvice;
};

std::string ShortDate(const CivilDate& d) {
    return FormatShortDate(d);
}

// YYMMDD as YY-MM-DD.
std::string DashedRecvDate(const std::string& yymmdd) {
    if (yymmdd.size() < 6) return yymmdd;
    return yymmdd.substr(0, 2) + "-" + yymmdd.substr(2, 2) + "-" + yymmdd.substr(4, 2);
}

void TidyRequestFolders(Database& db, const SessionContext& s, Interaction& ui,
                        const RequestKind& k) {
    const std::string requestFolder = MakeExchangeFolder(s, k.request);
    const std::string resultFolder = MakeExchangeFolder(s, k.result);
    const bool eb13 = k.request == "EB13";
    // A creation running on this workstation has published its file but not
    // yet committed its row: tidy another time rather than delete it.
    const CreationLock lock(db, s, k.request, 0);
    if (!lock.held()) return;
    for (const auto& name : FileNames(requestFolder)) {
        if (!StartsWith(name, k.request)) continue;
        const std::string d = FileDateOf(requestFolder, name, ui);
        if (d.empty()) continue;
        ReportFailures(eb13 ? CleanUpEb13(db, s, d) : CleanUpEb21(db, s, d), ui);
    }
    for (const auto& name : FileNames(resultFolder)) {
        if (!StartsWith(name, k.result)) continue;
        const std::string d = FileDateOf(resultFolder, name, ui);
        if (d.empty()) continue;
        ReportFailures(eb13 ? ArchiveEb13(db, s, d) : ArchiveEb21(db, s, d), ui);
    }
}

StatusPanel BuildRequestPanel(Database& db, const SessionContext& s, Interaction& ui,
                              const CivilDate& today, const RequestKind& k) {
    StatusPanel panel;
    const bool eb13 = k.request == "EB13";
    panel.title = eb13 ? "신규/해지 신청(EB13/EB14)" : "출금 신청(EB21/EB22)";
    if (!s.isHeadOffice()) return panel;
    TidyRequestFolders(db, s, ui, k);

    panel.columns = {{"생성일자", 1800, kAlignCentre},
                     {"파일명", 1400, kAlignCentre},
                     {"수신예정일", 1000, kAlignCentre},
                     {eb13 ? "신규건수" : "청구건수", 1000, kAlignRight},
                     {eb13 ? "해지건수" : "청구금액", 1000, kAlignRight},
                     {"비고", 5400, kAlignLeft}};

    const std::string t = k.table;
    const std::string counts =
        eb13 ? t + ".create_cnt, " + t + ".delete_cnt" : t + ".total_cnt, " + t + ".total_money";
    const bool relay = s.cmsrunprg == 2;
    std::string sql = "select date_format(from_unixtime(" + t +
                      ".makedate),'%Y-%m-%d %H:%i:%s') made, " + t + ".filename, " + counts + ", " +
                      t + ".pross_stat, " + t + ".send_stat";
    SqlParams params;
    if (relay) {
        sql += ", filerun.recvdate, filerun.stat from " + InstitutionSchema(s.institution_number) +
               "." + t + " left join sdsi.filerun on (mid(" + t +
               ".filename,3,8) = filerun.filename and filerun.id=?)";
        params.push_back(s.org_code);
    } else {
        sql += ", '' recvdate, null stat from " + InstitutionSchema(s.institution_number) + "." + t;
    }
    sql += " where " + t + ".pross_stat in (" + (s.cmsrunprg == 1 ? "'0','9'" : "'0'") +
           ") and mid(" + t + ".filename,1,4)=? order by " + t + ".pross_stat asc, " + t +
           ".makedate desc";
    params.push_back(k.request);
    const Recordset rs = db.OpenRecordset(sql, params);

    const std::vector<std::string> results = FileNames(ExchangeFolder(s, k.result));
    const HolidayLookup holidays = DatabaseHolidays(db);
    const CivilDate oldest = AddDays(today, -4);
    for (std::size_t i = 0; i < rs.size(); ++i) {
        const auto r = rs[i];
        const std::string filename = r["filename"];
        const std::string prossStat = r["pross_stat"];
        std::string remark;
        std::string receipt;
        if (relay) {
            receipt = DashedRecvDate(r["recvdate"]);
            // A file not yet handed to the relay has no run row: it waits to
            // be sent, as the relay send screen counts it.
            const std::string stat = r.isNull("stat") ? "0" : r["stat"];
            remark =
                prossStat == "1" ? kAppliedText : RelayStatText(stat, r["recvdate"], k.request);
        } else {
            remark = prossStat == "9" ? kApplyingText : SendStatText(r["send_stat"]);
        }
        std::optional<CivilDate> receiptDate;
        const auto fileDate =
            filename.size() >= 10 ? ParseDate(filename.substr(4, 6)) : std::nullopt;
        if (fileDate && (s.cmsrunprg == 1 || relay)) {
            receiptDate = AddBusinessDays(*fileDate, s.cmsrunprg == 1 ? k.kftcDays : 1, holidays);
            receipt = ShortDate(*receiptDate);
        }
        const std::string key = PartnerKey(filename);
        const bool resultWaiting = std::any_of(results.begin(), results.end(), [&](const auto& n) {
            return StartsWith(n, k.result) && PartnerKey(n) == key;
        });
        if (resultWaiting) {
            remark = kUnprocessedFileText;
        } else if (remark.empty() && (s.cmsrunprg == 1 || relay)) {
            const bool old = receiptDate && *receiptDate < oldest;
            if (s.cmsrunprg == 1) {
                remark = old ? kKftcDeletionWarning : k.timeAdvice;
            } else {
                remark = old ? kRelayWarning : kRelayAdvice;
            }
        }
        std::string second = r[3];
        if (!eb13) second = FormatAmount(r.asInt(3));
        panel.rows.push_back(
            {r["made"], filename, receipt, eb13 ? r[2] : FormatAmount(r.asInt(2)), second, remark});
    }
    return panel;
}

}  // namespace

std::string SendStatText(const std::string& sendStat) {
    static const std::map<std::string, std::string> texts = {
        {"0", "파일송신전"},
        {"1", "파일송신중"},
        {"2", "파일송신결과 확인중(이 상태가 1분 이상 지속될 경우 쿼리스 고객센터로 문의바람)"},
    };
    const auto it = texts.find(Trim(sendStat));
    return it == texts.end() ? std::string() : it->second;
}

std::string RelayStatText(const std::string& stat, const std::string& recvdate,
                          const std::string& requestKind) {
    static const std::map<std::string, std::string> texts = {
        {"0", "파일송신전"},  {"1", "송신중"},         {"2", "송신중"},         {"3", "송신오류"},
        {"6", "수신중"},      {"7", "수신완료"},       {"8", "수신오류"},       {"9", "처리불가"},
        {"10", "파일적용중"}, {"11", "파일 처리완료"}, {"12", "파일처리 오류"},
    };
    const std::string value = Trim(stat);
    if (value == "5") {
        if (recvdate.size() < 6) return {};
        const std::string day = recvdate.substr(2, 2) + "월" + recvdate.substr(4, 2) + "일";
        return requestKind == "EB13" ? day + " 13시  수신예정 자동처리됩니다."
                                     : day + " 13시 수신예정 자동처리됩니다.";
    }
    const auto it = texts.find(value);
    return it == texts.end() ? std::string() : it->second;
}

CivilDate ServerToday(Database& db) {
    const auto today = ParseDate(db.scalar("select date_format(now(),'%Y-%m-%d')"));
    if (!today) throw std::runtime_error("서버 날짜를 읽지 못했습니다.");
    return *today;
}

StatusPanel BuildEb11Panel(Database& db, const SessionContext& s, Interaction& ui) {
    if (!s.isHeadOffice()) return StatusPanel{"은행접수분(EB11/EB12)", {}, {}, false};
    const std::string folder = MakeExchangeFolder(s, "EB11");
    MakeExchangeFolder(s, "EB12");
    // Each file's header is read once, so that a bad header is reported once.
    std::map<std::string, std::string> dates;
    for (const auto& name : FileNames(folder)) {
        if (!StartsWith(name, "EB11")) continue;
        const std::string d = FileDateOf(folder, name, ui);
        dates[name] = d;
        if (!d.empty()) ReportFailures(ArchiveEb11(db, s, d), ui);
    }
    StatusPanel panel;
    panel.title = "은행접수분(EB11/EB12)";
    panel.columns = {{"생성일자", 1800, kAlignCentre}, {"파일명", 1400, kAlignCentre},
                     {"파일일자", 1000, kAlignCentre}, {"신규", 1000, kAlignRight},
                     {"해지", 1000, kAlignRight},      {"임의해지", 1000, kAlignRight},
                     {"비고", 5400, kAlignLeft}};
    for (const auto& name : FileNames(folder)) {
        const auto known = dates.find(name);
        const std::string d =
            known != dates.end() ? known->second : ReadHeaderDate(JoinPath(folder, name), ui);
        panel.rows.push_back(Eb11Row(folder, name, d, s));
    }
    panel.highlighted = !panel.rows.empty();
    return panel;
}

StatusPanel BuildEb13Panel(Database& db, const SessionContext& s, Interaction& ui,
                           const CivilDate& today) {
    return BuildRequestPanel(db, s, ui, today, {"EB13", "EB14", "ea13", 2, kEb14TimeAdvice});
}

StatusPanel BuildEb21Panel(Database& db, const SessionContext& s, Interaction& ui,
                           const CivilDate& today) {
    return BuildRequestPanel(db, s, ui, today, {"EB21", "EB22", "ea21", 1, kEb22TimeAdvice});
}

CmsStatus BuildCmsStatus(Database& db, const SessionContext& s, Interaction& ui) {
    CmsStatus status;
    if (!HeadOfficeMayWorkOnFiles(s, ui)) {
        status.refused = true;
        return status;
    }
    const CivilDate today = ServerToday(db);
    status.eb11 = BuildEb11Panel(db, s, ui);
    status.eb13 = BuildEb13Panel(db, s, ui, today);
    status.eb21 = BuildEb21Panel(db, s, ui, today);
    return status;
}

}  // namespace qx
