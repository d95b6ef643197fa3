// The detail of EB13 files as the EB13/EB14 screen shows it: every request
// row with its member, its result text and, on the relay path, the
// authentication result.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "cms/workspace/result_screen.h"
#include "db/business_days.h"

namespace qx {

class Database;
struct SessionContext;

enum class Eb13DetailFilter { All, Open, Refused };  // all rows, result '', result 'N'

// "all", "open" or "refused"; nullopt for anything else.
std::optional<Eb13DetailFilter> ParseEb13DetailFilter(const std::string& text);

using Eb13Detail = FileDetail;

// The rows of one file ("EB13" + YYMMDD), highest serial first.
Eb13Detail Eb13FileDetail(Database& db, const SessionContext& session, const std::string& filename,
                          Eb13DetailFilter filter);
// The rows matching the search (payer number, account number, holder number
// or external key) in every file created between the two days, with the
// file name first.
Eb13Detail Eb13SearchDetail(Database& db, const SessionContext& session, const CivilDate& from,
                            const CivilDate& to, const std::string& search,
                            Eb13DetailFilter filter);

}  // namespace qx
