// Applying an EB13's result to its rows and members: the work of the
// service web server's EB result script, as domain code. The stand-in's
// handler and the relay agent both call it, so there is one rule.
#pragma once

#include <string>

namespace qx {

class Database;

inline constexpr const char* kApplyEb13ResultsPath = "/zelmor/cs_load/updatepms8_EBver_upg1.php";
// cms_error of a refused member whose result code has no text.
inline constexpr const char* kUnknownResultCodeText = "미등록된오류";

// For the EB13 "EB13" + yymmdd of institution `inx`, claimed by the client
// (ea13.pross_stat '9'): the refusals staged in file_ea13_run become
// file_ea13.result 'N' with their code, every other row of the file is
// accepted, the members move (new: 3 accepted, 2 refused; cancellation: 13
// accepted, 14 refused; refusals carry the code's text in cms_error), the
// counts are filled and the file is marked applied ('1'); the staged rows
// are consumed. One transaction: returns the empty text on success, else
// the reason, and then nothing has changed. A file not at '9' (never
// claimed, or already applied) is refused.
std::string ApplyEb13Results(Database& db, long long inx, const std::string& yymmdd);

}  // namespace qx
