#include "db/role_filter.h"

#include "core/session_context.h"

namespace qx {

namespace {

std::string Column(std::string_view table, const char* column) {
    std::string out(table);
    if (!out.empty()) out += '.';
    return out + column;
}

}  // namespace

std::string RoleFilterSql(const SessionContext& s, std::string_view table) {
    std::string sql;
    if (s.brinx > 0) sql += " and " + Column(table, "branch_inx") + "=?";
    if (s.aginx > 0) sql += " and " + Column(table, "agency_inx") + "=?";
    return sql;
}

SqlParams RoleFilterParams(const SessionContext& s) {
    SqlParams params;
    if (s.brinx > 0) params.emplace_back(s.brinx);
    if (s.aginx > 0) params.emplace_back(s.aginx);
    return params;
}

void AppendRoleFilter(std::string& sql, SqlParams& params, const SessionContext& s,
                      std::string_view table) {
    sql += RoleFilterSql(s, table);
    for (auto& p : RoleFilterParams(s)) params.push_back(std::move(p));
}

}  // namespace qx
