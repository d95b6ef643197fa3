// What the appliers of received result files (EB14, EB22) share: the
// exchange folder made ready, the files waiting in it, and the texts of a
// file whose request is being applied elsewhere and of the run's summary.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace qx {

class Database;
struct HousekeepingResult;
struct SessionContext;

// Archives the result file of a date (yyyymmdd) with its request file when
// the request is done with.
using ResultArchiver = std::function<HousekeepingResult(Database&, const SessionContext&,
                                                        const std::string& yyyymmdd)>;

// Files of the `kind` exchange folder whose name does not begin with `kind`
// are deleted; result files whose request is done with are archived.
void TidyResultFolder(Database& db, const SessionContext& session, const std::string& kind,
                      const ResultArchiver& archive);
// Result files of `kind` waiting in the exchange folder, by name.
std::vector<std::string> ResultFilesWaiting(const SessionContext& session, const std::string& kind);
// The last eight characters of a file name: the name a header must carry.
std::string LastEight(const std::string& name);

// "[<request>yymmdd] 파일이 적용 진행 중…" and its title.
std::string ResultBusyText(const std::string& requestKind, const std::string& yymmdd);
std::string ResultBusyTitle(const std::string& requestKind, const std::string& yymmdd);
// "처리결과 : 전체파일 …" followed by `doneText`.
std::string ResultSummaryText(int succeeded, int failed, const std::string& doneText);

}  // namespace qx
