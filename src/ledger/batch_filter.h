// The member filter of the batch screens (branch, agency, person in charge,
// collection method, sales kind, sales day, free fields 1-3, CMS or other
// members) as bound SQL, and as the `realWhere` text the batch sale sends to
// the server. The server accepts only texts of exactly the shapes written
// here and rebuilds the condition with bound values: no text of a request is
// ever run as SQL.
#pragma once

#include <optional>
#include <string>

#include "db/database.h"

namespace qx {

struct SessionContext;

struct BatchFilter {
    std::string branch_inx, agency_inx;
    std::string client_manager;  // "없음" = none
    std::string settle_accounts, account_divide;
    std::string payday;  // sales day; a member without one counts as 15
    std::string client_info1, client_info2, client_info3;  // "없음" = empty
    std::string member_kind;                               // "" all, "cms" or "general"
};

// Sets one filter by name (the CLI's --where COLUMN=VALUE); throws
// std::invalid_argument for an unknown name or a value of the wrong form.
void SetBatchFilter(BatchFilter& filter, const std::string& column, const std::string& value);

// The filter with the user's own branch or agency imposed.
BatchFilter WithUserRole(BatchFilter filter, const SessionContext& session);

// " and …" conditions on the member table alias `member` (default
// member_user), values appended to `params` in order.
std::string BatchFilterSql(const BatchFilter& filter, SqlParams& params,
                           const std::string& member = "member_user");

// The filter as the realWhere text of the server request.
std::string RealWhereText(const BatchFilter& filter);
// The filter a realWhere text describes; nullopt for any text this program
// does not write.
std::optional<BatchFilter> ParseRealWhere(const std::string& text);

}  // namespace qx
