// The `files` command that the EB13 and EB21 commands both carry: a period
// and a search, the waiting line, the file grid and the matching rows.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "app/cli/cli_context.h"

namespace qx::cli {

// What one kind of exchange file lists; each takes the database and the
// logged-in session.
struct FileListParts {
    std::function<std::string(Database&, const SessionContext&)> waitingText;
    std::function<std::vector<StatusColumn>()> columns;
    std::function<std::vector<std::vector<std::string>>(Database&, const SessionContext&,
                                                        const CivilDate& from, const CivilDate& to,
                                                        const std::string& search)>
        list;
    // Every row of the period's files matching a non-empty search.
    std::function<FileDetail(Database&, const SessionContext&, const CivilDate& from,
                             const CivilDate& to, const std::string& search)>
        searchDetail;
};

// The search detail of a kind with its filter that shows every row.
template <auto SearchDetail, auto AllRows>
FileDetail SearchAllRows(Database& db, const SessionContext& s, const CivilDate& from,
                         const CivilDate& to, const std::string& search) {
    return SearchDetail(db, s, from, to, search, AllRows);
}

// Adds `files` with --from/--to (default: the server's today) and --search.
void RegisterFileListCommand(CLI::App& parent, CliContext& ctx, const std::string& description,
                             FileListParts parts);

}  // namespace qx::cli
