// The pieces of a bill mail that need no server: which addresses are
// mailed, the subject's encoding, the month caption and the escaped page.
#include "export/bills/bill_mail.h"

#include <gtest/gtest.h>

#include "export/bills/bills.h"
#include "platform/smtp.h"

namespace qx {
namespace {

TEST(BillMail, AddressesThatAreMailedAndThoseThatAreNot) {
    const std::pair<const char*, bool> cases[] = {
        {"kim@example.com", true},
        {"a.b-c+d@mail.example.co.kr", true},
        {"", false},
        {"kim", false},
        {"kim@", false},
        {"@example.com", false},
        {"kim@example", false},
        {"kim@example.", false},
        {"kim@@example.com", false},
        {"kim@ex..com", false},
        {"kim lee@example.com", false},
        {"kim@example.com\r\nBcc: x@y.com", false},
        {"<kim@example.com>", false},
        {"김@example.com", false},
        {"kim@example.com,lee@example.com", false},
    };
    for (const auto& [address, ok] : cases) EXPECT_EQ(IsMailAddress(address), ok) << address;
}

TEST(BillMail, SubjectMonthAndHeaderWords) {
    EXPECT_EQ(EncodedHeaderWord("Bill"), "Bill");
    EXPECT_EQ(EncodedHeaderWord("청구서"), "=?UTF-8?B?7LKt6rWs7ISc?=");
    EXPECT_EQ(EncodedHeaderWord("a\r\nBcc: x"), "=?UTF-8?B?YQ0KQmNjOiB4?=");
    const std::pair<const char*, const char*> months[] = {
        {"2026-03", "2026년 03월"}, {"2026-12", "2026년 12월"}, {"2026-13", "2026-13"},
        {"2026-00", "2026-00"},     {"202603", "202603"},       {"", ""}};
    for (const auto& [month, caption] : months) EXPECT_EQ(BillingMonthCaption(month), caption);
    BillView v;
    v.month = "2026-03";
    EXPECT_EQ(BillMailSubject(v), "청구서 (2026년 03월)");
    v.title1 = "회비 안내";
    EXPECT_EQ(BillMailSubject(v), "회비 안내 (2026년 03월)");
}

TEST(BillMail, PageShowsAmountsAndEscapesEveryText) {
    BillView v;
    v.title1 = "<script>x</script>";
    v.title2 = "줄1\n줄2";
    v.month = "2026-03";
    v.name = "O'Brien & <b>Co</b>";
    v.account = "농협 1234-5678-901234";
    v.payday = "25";
    v.outstanding = 1234567;
    v.month_amount = 0;
    v.total = 1234567;
    const std::string html = RenderBillHtml(v);
    EXPECT_EQ(html.find("<script>"), std::string::npos);
    EXPECT_NE(html.find("&lt;script&gt;"), std::string::npos);
    EXPECT_NE(html.find("O&#39;Brien &amp; &lt;b&gt;Co&lt;/b&gt;"), std::string::npos) << html;
    EXPECT_NE(html.find("줄1<br>줄2"), std::string::npos);
    EXPECT_NE(html.find("1,234,567원"), std::string::npos);
    EXPECT_NE(html.find(">0원<"), std::string::npos);
    EXPECT_NE(html.find("매월 25일"), std::string::npos);
    EXPECT_NE(html.find("2026년 03월"), std::string::npos);
    EXPECT_NE(html.find("농협 1234-5678-901234"), std::string::npos);
}

TEST(BillMail, UnreachableServerStopsTheRestAndBadAddressesAreSkipped) {
    std::vector<BillMail> bills(4);
    bills[0].address = "a@example.com";
    bills[1].address = "no address";
    bills[2].address = "c@example.com";
    bills[3].address = "d@example.com";
    for (int i = 0; i < 4; ++i) bills[static_cast<std::size_t>(i)].crinx = i + 1;
    int attempts = 0;
    std::vector<long long> counted;
    const auto outcome = MailBills(
        bills, "bill@example.com",
        [&](const MailMessage& m) {
            ++attempts;
            SmtpResult r;
            r.ok = m.to == "a@example.com";
            r.unreachable = !r.ok;
            return r;
        },
        [&](long long crinx) { counted.push_back(crinx); });
    EXPECT_EQ(attempts, 2);
    EXPECT_EQ(counted, std::vector<long long>{1});
    EXPECT_EQ(BillMailReply(outcome), "처리완료\nsent=1\nfailed=2\ninvalid=1");
    EXPECT_EQ(BillMailingNotice(BillMailReply(outcome)),
              "메일 발송 1건, 발송 실패 2건, 메일주소 오류 1건\n메일 서버에 연결할 수 없거나 "
              "거절되었습니다. [청구서 목록]에서 다시 발송하십시오.");
    EXPECT_EQ(BillMailingNotice("처리완료\nsent=3\nfailed=0\ninvalid=0"), "");
    for (const char* reply : {"", "Not Found", "sent=1\nfailed=0\ninvalid=0", "처리완료"})
        EXPECT_NE(BillMailingNotice(reply).find("발송을 요청하지 못했습니다"), std::string::npos)
            << reply;
}

}  // namespace
}  // namespace qx
