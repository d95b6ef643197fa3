// The member list's columns from Login.ini V1/VIEW and FIXINGCOL, and the
// cell texts that follow the member record's overloaded channel columns.
#include "members/member_list_columns.h"

#include <gtest/gtest.h>

#include <set>

#include "members/member_record.h"

namespace qx {
namespace {

std::vector<std::string> Captions(const MemberListLayout& l) {
    std::vector<std::string> out;
    for (const auto& c : l.columns) out.push_back(c.caption);
    return out;
}

TEST(MemberListColumns, DefaultViewAndTheAuthenticationColumnsOfTheUpgrade) {
    const auto l = MemberListColumns(kDefaultMemberView, 2);
    EXPECT_EQ(Captions(l), (std::vector<std::string>{"납부자번호", "고객명", "상호", "수금방식",
                                                     "CMS상태", "회원상태", "매출예정액", "은행명",
                                                     "계좌번호", "예금주명", "예금주번호"}));
    EXPECT_EQ(l.frozen, 2);
    const auto up = MemberListColumns(std::string(kDefaultMemberView) + "/68/69/70/71", 2);
    ASSERT_EQ(up.columns.size(), l.columns.size() + 4);
    EXPECT_EQ(std::string(up.columns.back().caption), "인증결과메시지");
    EXPECT_EQ(std::string(up.columns[up.columns.size() - 4].caption), "회원인증방법");
}

TEST(MemberListColumns, BadEntriesAreLeftOutAndTheFrozenCountStaysInRange) {
    // Order of the setting does not matter; repeats, blanks, unknown numbers
    // and text are dropped rather than breaking the list.
    const auto l = MemberListColumns(" 12/ 1 /1//abc/999/-3/4x/13", 0);
    EXPECT_EQ(Captions(l),
              (std::vector<std::string>{"납부자번호", "고객명", "상호", "매출예정액", "미수금"}));
    EXPECT_EQ(MemberListColumns("", 2).columns.size(), 2u);
    EXPECT_EQ(MemberListColumns("1/2", -1).frozen, 0);
    EXPECT_EQ(MemberListColumns("1/2", 99).frozen, 4);
    EXPECT_EQ(MemberListColumns("1/2", 3).frozen, 3);
    // Every optional column has its own number.
    std::set<int> numbers;
    for (const auto& c : OptionalMemberColumns()) EXPECT_TRUE(numbers.insert(c.number).second);
}

MemberListRow Row(long long inx, const std::string& method) {
    MemberListRow r;
    r.member_inx = inx;
    r.values = {{"settle_accounts", method},
                {"bank_name", "국민"},
                {"account_no", "4123456789012345"},
                {"account_jumin", "2912"},
                {"account_name", "홍길동"},
                {"remove", "2"},
                {"certificate_kind", "1"},
                {"certificate_status", "Y"},
                {"certificate_number", "01012345678"},
                {"cms_agree_status", "0"}};
    return r;
}

TEST(MemberListColumns, CellsFollowTheCollectionMethod) {
    const MemberListRow cms = Row(42, "1");
    EXPECT_EQ(MemberListCell(cms, "payer_number"), "0000000042");
    EXPECT_EQ(MemberListCell(Row(9000000123LL, "1"), "payer_number"), "9000000123");
    EXPECT_EQ(MemberListCell(cms, "remove_text"), "해지");
    EXPECT_EQ(MemberListCell(cms, "bank_name"), "국민");
    EXPECT_EQ(MemberListCell(cms, "certificate_kind_text"), "휴대전화");
    EXPECT_EQ(MemberListCell(cms, "certificate_status_text"), "성공");
    EXPECT_EQ(MemberListCell(cms, "agree_text"), "미설정");
    MemberListRow money = cms;
    money.values["pay_monthdefault"] = "1234567";
    money.values["pay_nonpayment"] = "-1000";
    money.values["total_payment"] = "999";
    EXPECT_EQ(MemberListCell(money, "pay_monthdefault"), "1,234,567");
    EXPECT_EQ(MemberListCell(money, "pay_nonpayment"), "-1,000");
    EXPECT_EQ(MemberListCell(money, "total_payment"), "999");
    EXPECT_EQ(MemberListCell(money, "total_prosspay"), "");

    // A card member's account columns hold its card: shown only as card data.
    const MemberListRow card = Row(7, "5");
    EXPECT_EQ(MemberListCell(card, "account_no"), "");
    EXPECT_EQ(MemberListCell(card, "account_jumin"), "");
    EXPECT_EQ(MemberListCell(card, "bank_name"), "");
    EXPECT_EQ(MemberListCell(card, "card_no"), "4123456789012345");
    EXPECT_EQ(MemberListCell(card, "card_expiry"), "2912");
    EXPECT_EQ(MemberListCell(card, "account_name"), "홍길동");
    EXPECT_EQ(MemberListCell(card, "certificate_kind_text"), "");
    EXPECT_EQ(MemberListCell(card, "certificate_number"), "01012345678");

    // Phone payment keeps the line holder's name out of the holder column;
    // a giro member's customer number sits in account_name.
    EXPECT_EQ(MemberListCell(Row(8, "4"), "account_name"), "");
    EXPECT_EQ(MemberListCell(Row(9, "3"), "giro_number"), "홍길동");
    EXPECT_EQ(MemberListCell(cms, "giro_number"), "");
}

}  // namespace
}  // namespace qx
