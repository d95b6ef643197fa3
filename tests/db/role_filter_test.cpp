#include "db/role_filter.h"

#include <gtest/gtest.h>

#include "core/session_context.h"

namespace qx {
namespace {

SessionContext Role(long long brinx, long long aginx) {
    SessionContext s;
    s.brinx = brinx;
    s.aginx = aginx;
    return s;
}

std::vector<std::string> Values(const SqlParams& params) {
    std::vector<std::string> out;
    for (const auto& p : params) out.push_back(p.value);
    return out;
}

TEST(RoleFilter, HeadOfficeIsNotNarrowed) {
    EXPECT_EQ(RoleFilterSql(Role(0, 0)), "");
    EXPECT_TRUE(RoleFilterParams(Role(0, 0)).empty());
}

TEST(RoleFilter, BranchAndAgencyAreNarrowedByBoundNumbers) {
    EXPECT_EQ(RoleFilterSql(Role(3, 0)), " and member_user.branch_inx=?");
    EXPECT_EQ(Values(RoleFilterParams(Role(3, 0))), (std::vector<std::string>{"3"}));
    EXPECT_EQ(RoleFilterSql(Role(3, 9)),
              " and member_user.branch_inx=? and member_user.agency_inx=?");
    EXPECT_EQ(Values(RoleFilterParams(Role(3, 9))), (std::vector<std::string>{"3", "9"}));
    EXPECT_EQ(RoleFilterSql(Role(3, 9), ""), " and branch_inx=? and agency_inx=?");
    EXPECT_EQ(RoleFilterSql(Role(3, 9), "m"), " and m.branch_inx=? and m.agency_inx=?");
}

TEST(RoleFilter, AppendKeepsStatementAndValuesInStep) {
    std::string sql = "select 1 from t where a=?";
    SqlParams params{"x"};
    AppendRoleFilter(sql, params, Role(4, 2));
    EXPECT_EQ(sql,
              "select 1 from t where a=? and member_user.branch_inx=? and "
              "member_user.agency_inx=?");
    EXPECT_EQ(Values(params), (std::vector<std::string>{"x", "4", "2"}));
}

}  // namespace
}  // namespace qx
