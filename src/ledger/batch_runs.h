// The history of batch sale and batch collection runs (frmDoc24, frmDoc26),
// a run's detail, and the cancellation of a run.
#pragma once

#include <string>
#include <vector>

namespace qx {

class Database;
class Interaction;
struct SessionContext;

enum class RunKind { kSale, kCollection };

inline constexpr const char* kRunMissingText = "해당 일괄작업 내역이 없습니다.";

struct RunSummary {
    long long run_key = 0;
    std::string date;
    long long ok_amount = 0, refused_amount = 0, total_amount = 0;
    long long members = 0, requests = 0, ok_count = 0, refused_count = 0;
};

// Runs with rows dated from `from` to `to` ("yy-mm-dd", inclusive) of the
// user's own members, newest first.
std::vector<RunSummary> ListRuns(Database& db, const SessionContext& session, RunKind kind,
                                 const std::string& from, const std::string& to);

enum class RunRowFilter { kAll, kOk, kRefused };

struct RunDetailRow {
    std::string date, payer_number, ext_key, client_company, username;
    long long requested = 0, ok_amount = 0, refused_amount = 0;
    std::string result;   // add_err
    std::string errcode;  // add_errcode
};

std::vector<RunDetailRow> RunDetail(Database& db, const SessionContext& session, RunKind kind,
                                    long long runKey, RunRowFilter filter);

// Cancels the run after the user's yes: rows of other branches or agencies
// set aside for the duration, the server asked which rows can no longer be
// cancelled, then in one transaction the cancellable ledger rows deleted
// with their members' totals reversed, their batch rows deleted and the
// set-aside rows restored. False when refused or stopped.
bool CancelRun(Database& db, const SessionContext& session, Interaction& ui,
               const std::string& webHost, RunKind kind, long long runKey);

}  // namespace qx
