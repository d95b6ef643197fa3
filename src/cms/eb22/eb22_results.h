// Applying an EB22's results to its requests, the ledger and the members:
// the work of the service web server's withdrawal result script, as domain
// code. The stand-in's handler calls it, so there is one rule.
#pragma once

#include <string>
#include <string_view>

namespace qx {

class Database;

inline constexpr const char* kApplyEb22ResultsPath = "/zelmor/cs_load/updatepms9_EBver_upg1.php";
// Texts a request's result carries in the request list and on the member.
inline constexpr const char* kUnknownWithdrawalErrorText = "출금오류(미등록된오류)";
inline constexpr const char* kPartialWithdrawalText = "부분출금";
inline constexpr const char* kCmsCollectionTitle = "CMS";

// For the EB21 "EB21" + yymmdd of institution `inx`, claimed by the client
// (ea21.pross_stat '9'), with one result per request staged in
// file_ea21_run: the results are copied to the file's rows; every amount
// withdrawn (the whole amount of a blank result, div_amount of a "P") is
// booked as a CMS collection dated `saveday` (yy-mm-dd) with the member's
// totals; members waiting for the file (cms_status 6) move to 7 (withdrawn,
// "부분출금" in cms_error when only partly) or 8 (not withdrawn, the code's
// text); the file row gets its totals, its per-item fees become amounts and
// it is marked applied ('1'); the staged rows are consumed.
// One transaction: returns "처리완료" on success, else the reason, and then
// nothing has changed. A file not at '9' (never claimed, or already
// applied), staged results that do not answer exactly the file's requests,
// or a partial amount outside 1..the request's amount are refused.
std::string ApplyEb22Results(Database& db, long long inx, const std::string& yymmdd,
                             const std::string& saveday);

}  // namespace qx
