// What every measurement needs: timing, the process's memory, the median of
// rounds, and a connection to the measuring server with the shared schemas made.
#pragma once

#include <algorithm>
#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "core/session_context.h"

namespace qx {
class Database;
}

namespace qx::bench {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point from);
// Resident memory in KiB: "VmRSS" now, or "VmHWM" the peak since the last reset.
long long StatusKib(const std::string& key);
// Starts a new peak for "VmHWM".
void ResetPeak();
double Median(std::vector<double> values);

// What one measured step took: its seconds and the memory it added at its
// peak, in KiB.
struct StepCost {
    double seconds = 0;
    long long extraKib = 0;
};
// Runs `step` from a fresh memory peak and returns its result; `cost` gets
// what it took.
template <class Step>
auto MeasureStep(StepCost& cost, Step&& step) {
    ResetPeak();
    const long long before = StatusKib("VmRSS");
    const Clock::time_point start = Clock::now();
    auto result = step();
    cost.seconds = Seconds(start);
    cost.extraKib = std::max(0LL, StatusKib("VmHWM") - before);
    return result;
}

// Creates the shared schemas on a connection that needs none of them, then
// connects `db` to HOST:PORT with the account of QUORISDEX_DB_USER and
// QUORISDEX_DB_PASSWORD; false with the reason on stderr.
bool ConnectBenchDatabase(const std::string& serverEntry, Database& db);

// What a measurement is asked for on its command line: HOST:PORT [SIZE] [ROUNDS].
struct BenchArgs {
    long long size = 0;
    int rounds = 3;
};
// The frame of a measuring program: the arguments (`usage` names them), the
// connection, and a failure printed as "failed: …" with exit code 1.
int RunBench(int argc, char** argv, const std::string& usage, long long defaultSize,
             const std::function<int(Database&, const BenchArgs&)>& body);

// A fresh measuring institution ("측정기관", CMS running), numbered after every
// existing one and above `inxFloor` so that measurements never meet the demo's
// institutions; its login is `idPrefix` + number, its organisation code
// `orgCodeBase` + number.
struct BenchInstitution {
    long long inx = 0;
    std::string schema;
    std::string loginId;
    std::string orgCode;
};
BenchInstitution CreateBenchInstitution(Database& db, long long inxFloor,
                                        const std::string& idPrefix, long long orgCodeBase);
// The session of a desk logged in to `t` with its own login.
SessionContext BenchSession(const BenchInstitution& t);
// The same desk running CMS, its exchange folders under `drive`.
SessionContext CmsBenchSession(const BenchInstitution& t, const std::string& drive);

// The measurement's own folder under the temporary directory, created; with
// `fresh`, whatever an earlier run left there goes first. Ends in '/'.
std::string BenchFolder(const std::string& name, bool fresh = false);

}  // namespace qx::bench
