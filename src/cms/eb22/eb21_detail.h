// The requests of EB21 files as the EB21/EB22 screen shows them: each with
// its member, the amounts withdrawn and not withdrawn and the error text.
// A partial result ('P') carries the amount actually withdrawn in div_amount.
#pragma once

#include <optional>
#include <string>

#include "cms/eb22/eb22_results.h"
#include "cms/workspace/result_screen.h"
#include "db/business_days.h"

namespace qx {

class Database;
struct SessionContext;

// all rows; result '' (withdrawn, or not answered yet); 'N'; 'P'.
enum class Eb21DetailFilter { All, Open, Failed, Partial };

// "all", "open", "failed" or "partial"; nullopt for anything else.
std::optional<Eb21DetailFilter> ParseEb21DetailFilter(const std::string& text);

// The rows of one file ("EB21" + YYMMDD), highest serial first; a non-empty
// search keeps the rows of that payer number, account number, holder number
// or external key. The amounts and the error text are shown once the file's
// result is applied.
FileDetail Eb21FileDetail(Database& db, const SessionContext& session, const std::string& filename,
                          Eb21DetailFilter filter, const std::string& search = {});
// The rows matching the search in every file created between the two days,
// with the file name first.
FileDetail Eb21SearchDetail(Database& db, const SessionContext& session, const CivilDate& from,
                            const CivilDate& to, const std::string& search,
                            Eb21DetailFilter filter);

}  // namespace qx
