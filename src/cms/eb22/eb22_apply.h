// Applying the received EB22 files of the exchange folder: each file's EB21
// is claimed in the database, the file is read and checked, its results are
// staged and the service web server books them; the server also closes the
// EB21 row with its totals and fees, in the same transaction as the booking.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace qx {

class Database;
class Interaction;
struct SessionContext;

inline constexpr const char* kNoEb22FilesText = "EB22(출금의뢰결과) 파일이 없습니다.";
inline constexpr const char* kEb22BadRecordText = "잘못된 승인의뢰(EB22)파일 입니다.(처리불가능)";
inline constexpr const char* kEb22OtherNameText =
    "승인의뢰(EB22) 헤더의 파일명이 다른 파일 입니다.(처리불가능)";
inline constexpr const char* kEb22OtherDateText =
    "승인의뢰(EB22) 헤더의 일자가 다른 파일 입니다.(처리불가능)";
// A cut file could be missing results; a serial twice cannot be staged; a
// result other than blank, N or P, or a partial withdrawal without an
// amount, cannot be booked.
inline constexpr const char* kEb22CutText =
    "승인의뢰(EB22)파일의 길이가 레코드 단위가 아닙니다.(처리불가능)";
inline constexpr const char* kEb22BadSerialText =
    "승인의뢰(EB22)파일의 일련번호가 잘못되었습니다.(처리불가능)";
inline constexpr const char* kEb22BadResultText =
    "승인의뢰(EB22)파일의 출금결과가 잘못되었습니다.(처리불가능)";
inline constexpr const char* kEb22DoneText = "EB22(승인의뢰결과) 파일을 모두 처리 하였습니다.";
inline constexpr const char* kEb22HelpDeskText =
    "이 오류메세지를 종료하지 마시고 쿼리스CMS(0000-0000)로 문의주시기 바랍니다.";
// The gate of the EB21 screen when no member is due for a withdrawal.
inline constexpr const char* kNoWithdrawalTargetsText = "출금신청 대상이 없습니다..";
inline constexpr int kEb22LogCode = 5;
// Data records per staging statement.
inline constexpr std::size_t kEb22StagingBatch = 100;

// "[EB21yymmdd] 파일이 적용 진행 중…" and its title.
std::string Eb22BusyText(const std::string& yymmdd);
std::string Eb22BusyTitle(const std::string& yymmdd);
// "처리결과 : 전체파일 …" with the closing sentence.
std::string Eb22SummaryText(int succeeded, int failed);

// One data record: the request's serial, its result ('' withdrawn, "N" not
// withdrawn, "P" partly withdrawn), the clearing house's code, and the
// amount of the record (for "P" the amount actually withdrawn).
struct Eb22Result {
    long long serial = 0;
    std::string result, code;
    long long amount = 0;
    // What file_ea21_run.div_amount gets: the amount of a "P", else 0.
    long long divAmount() const { return result == "P" ? amount : 0; }
};

// What a received file says, or why it is refused (`error` non-empty).
struct Eb22Reading {
    std::string error;
    std::vector<Eb22Result> results;   // only when read without a callback
    long long records = 0;             // data records read
    long long failures = 0;            // "N" records
    long long chargedFailures = 0;     // "N" records whose code is charged
    long long notWithdrawnFailed = 0;  // the amounts of the "N" records
};
// Reads the file at `path`, expected to be the EB22 of `yymmdd`, one record
// at a time: each data record goes to `onResult` as it is read (so memory
// does not grow with the file), and the reading stops at the first fault.
// Serial numbers must rise from record to record, as the EB21 wrote them.
Eb22Reading ReadEb22File(const std::string& path, const std::string& yymmdd,
                         const std::function<void(const Eb22Result&)>& onResult);
// The same, collecting the results; none when the file is refused.
Eb22Reading ReadEb22File(const std::string& path, const std::string& yymmdd);

// Builds the statements that stage results in `schema`.file_ea21_run, one
// per kEb22StagingBatch results.
class Eb22Staging {
  public:
    explicit Eb22Staging(std::string schema) : schema_(std::move(schema)) {}
    // Adds a result; returns a full statement once kEb22StagingBatch are in.
    std::string add(const Eb22Result& result);
    // The statement of the results not yet returned; empty when none.
    std::string finish();

  private:
    std::string schema_, values_;
    std::size_t count_ = 0;
};
std::vector<std::string> Eb22StagingStatements(const std::string& schema,
                                               const std::vector<Eb22Result>& results);

// Asks the server to apply the staged results of the file of `yymmdd`;
// returns its trimmed answer ("처리완료" when applied) or, when no answer
// came, the reason.
using Eb22ResultRequest =
    std::function<std::string(long long inx, long long backupKey, const std::string& yymmdd)>;
// The request to the service web server at `webHost`.
Eb22ResultRequest ServiceWebEb22Request(const std::string& webHost);

// The exchange folder made ready: files whose name does not begin "EB22"
// are deleted, and EB22 files of EB21s already applied are archived with them.
void TidyEb22Folder(Database& db, const SessionContext& session);
// EB22 files waiting in the exchange folder, by name.
std::vector<std::string> Eb22FilesWaiting(const SessionContext& session);

// What happened to one file of the run, as the screen shows it.
struct Eb22FileOutcome {
    std::string file;  // "EB22MMDD"
    bool applied = false;
    std::string message;  // why not, when not applied
    // The closed EB21 row of an applied file.
    long long withdrawnCount = 0, failedCount = 0;
    long long rtnokMoney = 0, rtnfalseMoney = 0, okCommission = 0, falseCommission = 0;
};

struct Eb22RunResult {
    int succeeded = 0, failed = 0;
    bool noFiles = false;
    bool stopped = false;  // a file's EB21 was not waiting: the run stopped there
    std::vector<Eb22FileOutcome> files;
};

// Applies every waiting EB22 in name order, tells `ui` what happened (and
// its progress) and tidies the folder afterwards.
Eb22RunResult ApplyEb22Files(Database& db, const SessionContext& session, Interaction& ui,
                             const Eb22ResultRequest& request);

// True when some member is due for a withdrawal (the EB21 screen's gate).
bool HasWithdrawalTargets(Database& db, const SessionContext& session);

}  // namespace qx
