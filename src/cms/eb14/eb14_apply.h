// Applying the received EB14 files of the exchange folder: each file is
// claimed in the database, read and checked, its refusals are staged and the
// service web server applies the result.
#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace qx {

class Database;
class Interaction;
struct SessionContext;

inline constexpr const char* kNoEb14FilesText = "EB14(승인의뢰결과) 파일이 없습니다.";
inline constexpr const char* kEb14BadRecordText = "잘못된 승인의뢰(EB14)파일 입니다.(처리불가능)";
inline constexpr const char* kEb14OtherNameText =
    "승인의뢰(EB14) 헤더의 파일명이 다른 파일 입니다.(처리불가능)";
inline constexpr const char* kEb14OtherDateText =
    "승인의뢰(EB14) 헤더의 일자가 다른 파일 입니다.(처리불가능)";
// A cut file could be missing refusals; a serial twice cannot be staged.
inline constexpr const char* kEb14CutText =
    "승인의뢰(EB14)파일의 길이가 레코드 단위가 아닙니다.(처리불가능)";
inline constexpr const char* kEb14BadSerialText =
    "승인의뢰(EB14)파일의 일련번호가 잘못되었습니다.(처리불가능)";
inline constexpr const char* kEb14DoneText = "EB14(승인의뢰결과) 파일을 모두 처리 하였습니다.";
inline constexpr int kEb14LogCode = 5;
// Refused records per staging statement.
inline constexpr std::size_t kEb14StagingBatch = 100;

// "[EB13yymmdd] 파일이 적용 진행 중…" and its title.
std::string Eb14BusyText(const std::string& yymmdd);
std::string Eb14BusyTitle(const std::string& yymmdd);
// "처리결과 : 전체파일 …" with the closing sentence.
std::string Eb14SummaryText(int succeeded, int failed);

// One refused record: serial number and result code.
using Eb14Refusal = std::pair<long long, std::string>;

// What a received file says, or why it is refused (`error` non-empty).
struct Eb14Reading {
    std::string error;
    std::vector<Eb14Refusal> refusals;
};
// Reads the file at `path`, expected to be the EB14 of `yymmdd`.
Eb14Reading ReadEb14File(const std::string& path, const std::string& yymmdd);

// The statements that stage the refusals in `schema`.file_ea13_run, one per
// kEb14StagingBatch refusals.
std::vector<std::string> Eb14StagingStatements(const std::string& schema,
                                               const std::vector<Eb14Refusal>& refusals);

// Asks the server to apply the staged result; returns its trimmed answer
// (empty = applied) or, when no answer came, the reason.
using Eb14ResultRequest =
    std::function<std::string(long long inx, long long backupKey, const std::string& yymmdd)>;
// The request to the service web server at `webHost`.
Eb14ResultRequest ServiceWebResultRequest(const std::string& webHost);

// The exchange folder made ready: files whose name does not begin "EB14"
// are deleted, and EB14 files of EB13s already done with are archived.
void TidyEb14Folder(Database& db, const SessionContext& session);
// EB14 files waiting in the exchange folder, by name.
std::vector<std::string> Eb14FilesWaiting(const SessionContext& session);

struct Eb14RunResult {
    int succeeded = 0, failed = 0;
    bool noFiles = false;
    bool stopped = false;  // a file's EB13 was not waiting: the run stopped there
};

// Applies every waiting EB14 in name order, tells `ui` what happened and
// tidies the folder afterwards.
Eb14RunResult ApplyEb14Files(Database& db, const SessionContext& session, Interaction& ui,
                             const Eb14ResultRequest& request);

}  // namespace qx
