// The work of the service web server's ledger scripts, as domain code: the
// stand-in's handlers call these, and the client names the scripts through
// the paths below. Each runs in one transaction and may be repeated without
// doing its work twice.
#pragma once

#include <optional>
#include <string>

namespace qx {

class Database;
struct BatchFilter;

inline constexpr const char* kSettleOutstandingPath = "/zelmor/cs_load/updatepms20.php";
inline constexpr const char* kBookSaleRunPath = "/zelmor/cs_load/updatepms30.php";
inline constexpr const char* kMarkSaleRowsPath = "/zelmor/cs_load/updatepms31.php";
inline constexpr const char* kMarkCollectionRowsPath = "/zelmor/cs_load/updatepms32.php";
// The one answer that means success.
inline constexpr const char* kScriptDoneReply = "처리완료";

// updatepms20: for the active members of the filter, the latest ledger row
// (highest pay_inx) takes the member's outstanding amount where they
// differ. Returns the number of rows changed.
long long SettleOutstanding(Database& db, long long inx, const BatchFilter& filter);

// updatepms30: every batch row of the run with code 0 becomes one sale, the
// outstanding amount running per member across the member's rows; the
// members' totals grow. Books nothing when the run's sales are already in
// the ledger. Returns the number of rows booked.
long long BookSaleRun(Database& db, long long inx, long long runKey, const std::string& date);

// updatepms31: rows of a sale run that can no longer be cancelled get code
// 2: a collection was booked for the member after the sale, or the member
// waits in a withdrawal file not yet applied (cms_status 6).
long long MarkUncancellableSaleRows(Database& db, long long inx, long long runKey);

// updatepms32: rows of a collection run whose ledger row is gone or whose
// member was deleted get code 2.
long long MarkUncancellableCollectionRows(Database& db, long long inx, long long runKey);

// The query values of a script request, checked: the institution number of
// "tps_<inx>" (an existing institution), a run key 1..32767, a date
// "yy-mm-dd". nullopt for anything else.
std::optional<long long> ScriptInstitution(Database& db, const std::string& loginUserId);
std::optional<long long> ScriptRunKey(const std::string& tablekey);
std::optional<std::string> ScriptDate(const std::string& dt1);

// The client's side: requests `path` with `query` of the service web server
// at `webHost` and returns its trimmed answer (empty without a web host or
// an answer); RequestScript is true when that answer is "처리완료".
std::string RequestScriptReply(const std::string& webHost, const std::string& path,
                               const std::string& query);
bool RequestScript(const std::string& webHost, const std::string& path, const std::string& query);

}  // namespace qx
