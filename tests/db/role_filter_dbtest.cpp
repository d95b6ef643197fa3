#include <gtest/gtest.h>

#include "db/role_filter.h"
#include "support/institution_fixture.h"

namespace qx {
namespace {

// The members a user of each role sees through the shared filter.
TEST(RoleFilterDb, BranchAndAgencyUsersSeeOnlyTheirMembers) {
    auto db = test::ConnectTestDatabase();
    const auto& t = test::SharedInstitution(*db);
    const long long b1 = t.inx * 10 + 1, b2 = t.inx * 10 + 2, a1 = t.inx * 10 + 1;
    test::InsertMember(*db, t.inx, {.username = "필터본사"});
    test::InsertMember(*db, t.inx, {.branch_inx = b1, .username = "필터지사1"});
    test::InsertMember(*db, t.inx, {.branch_inx = b1, .agency_inx = a1, .username = "필터대리점"});
    test::InsertMember(*db, t.inx, {.branch_inx = b2, .username = "필터지사2"});

    auto names = [&](const SessionContext& s, const char* table) {
        std::string sql =
            "select username from " + s.schema() +
            (std::string(table).empty() ? ".member_user" : ".member_user " + std::string(table)) +
            " where remove<>4 and username like '필터%'";
        SqlParams params;
        AppendRoleFilter(sql, params, s, table);
        auto rs = db->OpenRecordset(sql + " order by member_inx", params);
        std::vector<std::string> out;
        for (std::size_t i = 0; i < rs.size(); ++i) out.push_back(rs[i][0]);
        return out;
    };
    using V = std::vector<std::string>;
    EXPECT_EQ(names(test::SessionFor(t), "member_user"),
              (V{"필터본사", "필터지사1", "필터대리점", "필터지사2"}));
    EXPECT_EQ(names(test::SessionFor(t, b1), "member_user"), (V{"필터지사1", "필터대리점"}));
    EXPECT_EQ(names(test::SessionFor(t, b2), ""), (V{"필터지사2"}));
    EXPECT_EQ(names(test::SessionFor(t, b1, a1), "member_user"), (V{"필터대리점"}));
    EXPECT_EQ(names(test::SessionFor(t, b1, a1), "m"), (V{"필터대리점"}));
}

}  // namespace
}  // namespace qx
