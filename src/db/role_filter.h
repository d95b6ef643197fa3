// The role restriction every member query goes through: a branch user sees
// only the members of its branch, an agency user only those of its agency,
// the head office everything.
#pragma once

#include <string>
#include <string_view>

#include "db/database.h"

namespace qx {

struct SessionContext;

// " and member_user.branch_inx=? and member_user.agency_inx=?" as far as the
// role asks for it; `table` names the member table's alias in the query
// (empty: the columns are written without a prefix). The numbers follow as
// bound parameters in the same order, see RoleFilterParams.
std::string RoleFilterSql(const SessionContext& session, std::string_view table = "member_user");
SqlParams RoleFilterParams(const SessionContext& session);

// Appends the filter to a statement under construction and its values to the
// statement's parameters, so that the two can never get out of step.
void AppendRoleFilter(std::string& sql, SqlParams& params, const SessionContext& session,
                      std::string_view table = "member_user");

}  // namespace qx
