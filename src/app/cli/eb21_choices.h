// The choices of the EB21 listing on the command line, shared by the EB21
// and the card payment commands (which list the same way).
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "cms/eb21/eb21_targets.h"

namespace CLI {
class App;
}

namespace qx::cli {

struct CliContext;

struct Eb21CliOptions {
    std::string date, amounts, method, kind, passbook;
    std::vector<std::string> exclude, deselect;
};

// --date, --amounts, --method, --kind, --passbook, --exclude.
void AddEb21ChoiceOptions(CLI::App* cmd, Eb21CliOptions& o);
// The date typed as YYYY-MM-DD, or the usual withdrawal day.
CivilDate Eb21CliFileDate(CliContext& ctx, const std::string& date);
// Searches the channel's items and applies the exclusions and deselections;
// nullopt when the search failed or an exclusion value was refused (told).
std::optional<std::vector<Eb21Row>> Eb21CliRows(CliContext& ctx, const CivilDate& date,
                                                const Eb21CliOptions& o, BillingChannel channel);

}  // namespace qx::cli
