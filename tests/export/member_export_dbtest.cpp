#include <gtest/gtest.h>

#include <sstream>

#include "export/column_choice.h"
#include "export/html_xls_writer.h"
#include "export/member_export.h"
#include "members/member_rules.h"
#include "platform/codepage.h"
#include "support/institution_fixture.h"

namespace qx {
namespace {

class MemberExportTest : public test::FreshInstitutionTest {
  protected:
    void SetUp() override { OpenInstitution(); }

    long long AddMember(const std::string& name, long long outstanding,
                        const std::string& holder = "") {
        test::MemberRow row;
        row.username = name;
        row.pay_nonpayment = outstanding;
        const long long id = test::InsertMember(*db, inst.inx, row);
        db->ExecuteSql("update " + schema +
                           ".member_user set account_no=?, account_jumin=? where member_inx=?",
                       {"110-" + std::to_string(id), holder, id});
        return id;
    }

    std::vector<std::vector<std::string>> Drain(ExportRowSource& source) {
        std::vector<std::vector<std::string>> out;
        std::vector<std::string> cells;
        while (source.next(cells)) out.push_back(cells);
        return out;
    }

    MemberListLayout layout = MemberListColumns("13/34/36", 0);
};

TEST_F(MemberExportTest, PagesThroughEveryMemberOnceInOrder) {
    std::vector<long long> ids;
    for (int i = 0; i < 7; ++i) ids.push_back(AddMember("회원" + std::to_string(i), i * 1000));
    db->ExecuteSql("update " + schema + ".member_user set remove=4 where member_inx=?", {ids[3]});
    // Page sizes below, at and above the count: pages must join without a
    // gap or a repeat.
    for (int pageSize : {1, 3, 6, 7, 50}) {
        MemberExportSource source(*db, session, {}, layout, false, pageSize);
        const auto rows = Drain(source);
        ASSERT_EQ(rows.size(), 6u) << pageSize;
        std::size_t k = 0;
        for (std::size_t i = 0; i < ids.size(); ++i) {
            if (i == 3) continue;  // deleted members are never listed
            EXPECT_EQ(rows[k][0], TenDigits(ids[i])) << pageSize;
            EXPECT_EQ(rows[k][1], "회원" + std::to_string(i));
            ++k;
        }
    }
    MemberFilter outstanding;
    outstanding.nonpayment = "Y";
    MemberExportSource filtered(*db, session, outstanding, layout, false, 2);
    EXPECT_EQ(Drain(filtered).size(), 5u);  // member 0 owes nothing
}

TEST_F(MemberExportTest, HolderNumbersStayMaskedUnlessFull) {
    AddMember("홍길동", 0, "8001011234567");
    MemberExportSource masked(*db, session, {}, layout, false);
    MemberExportSource full(*db, session, {}, layout, true);
    const auto columns = masked.columns();
    const auto holder = static_cast<std::size_t>(*ColumnsByTitle({"예금주번호"}, columns)->begin());
    EXPECT_EQ(Drain(masked).at(0).at(holder), "800101*******");
    EXPECT_EQ(Drain(full).at(0).at(holder), "8001011234567");
}

TEST_F(MemberExportTest, AccountColumnOnlyWithPermission) {
    AddMember("홍길동", 1234);
    struct Case {
        std::string permit;
        bool launched;
        bool accountWritten;
    } cases[] = {{"0", false, false}, {"1", false, true}, {"0", true, true}};
    for (const auto& c : cases) {
        db->ExecuteSql("update quorisdex.admin_company set xls_acnt_permit=? where inx=?",
                       {c.permit, inst.inx});
        session.launched_with_credentials = c.launched;
        MemberExportSource source(*db, session, {}, layout, false);
        std::vector<int> all(source.columns().size());
        for (std::size_t i = 0; i < all.size(); ++i) all[i] = static_cast<int>(i);
        const auto chosen =
            PermittedColumns(all, source.columns(), MayExportPersonalColumns(*db, session));
        std::ostringstream out;
        ASSERT_EQ(WriteHtmlXls(out, source, chosen, nullptr), 1);
        const std::string page = FromCp949(out.str());
        EXPECT_EQ(page.find(">계좌번호<") != std::string::npos, c.accountWritten) << c.permit;
        EXPECT_EQ(page.find(">예금주번호<") != std::string::npos, c.accountWritten);
        EXPECT_NE(page.find("x:num=\"1234\""), std::string::npos);
    }
}

}  // namespace
}  // namespace qx
