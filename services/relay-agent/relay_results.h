// The relay's answer to the request files it has taken: on the receipt date
// (the next business day after the file date) from 13:00 of the server's
// clock, it produces the EB13 or EB21 results of a taken run (stat 5) by
// its rules and applies them to the institution with the same domain code
// the service web server's result scripts use. Each run is applied in one
// transaction and exactly once: the run moves from 5 to 11 in the same
// transaction, so a second agent, or a pass after a killed one, finds
// nothing to do or everything still to do.
#pragma once

#include <map>
#include <string>

namespace qx {
class Database;
}

namespace relay {

// Result rules, by payer number (from the same rules file as the refusals):
//   register-refuse PAYER CODE     the registration is refused with CODE
//   withdraw-refuse PAYER CODE     the withdrawal fails with CODE
//   withdraw-partial PAYER AMOUNT  only AMOUNT (less than asked) is taken
//   auth PAYER LETTER              an authentication re-query is answered
//                                  with LETTER (Y, I, F or Z; "-" = never)
// Everything else is accepted or withdrawn in full, and re-queries answer Y.
struct ResultRules {
    std::map<std::string, std::string> registrationRefusals;
    std::map<std::string, std::string> withdrawalRefusals;
    std::map<std::string, long long> partials;
    std::map<std::string, std::string> authAnswers;
};
ResultRules ReadResultRules(const std::string& path);

// Run states the relay writes once the result is in.
inline constexpr int kRunApplied = 11;
inline constexpr int kRunApplyFailed = 12;
// The hour of the receipt date from which results are applied.
inline constexpr int kResultHour = 13;

// One pass over the taken runs of sdsi: applies every run that is due at
// `now` ("yyyy-mm-dd hh:nn:ss"; empty = the server's clock). Returns the
// number of runs applied. A run that cannot be applied (its file was rolled
// back, is being applied by a desk, or its result is refused by the domain
// rules) moves to 12 with the reason in err_msg and changes nothing else.
int ApplyDueResults(qx::Database& db, const ResultRules& rules, const std::string& now = {});

// Answers the waiting authentication re-queries of sdsi.rsch_auth (a_stat
// '1'): a_stat '2' with a_rtn = the letter and its text, or '3' for a
// request that cannot be read. Returns the number answered.
int AnswerAuthRequeries(qx::Database& db, const ResultRules& rules);

}  // namespace relay
