// EB21 records byte for byte, passbook texts and the client-side splitting
// and exclusions of grid rows.
#include "cms/eb21/eb21_record.h"

#include <gtest/gtest.h>

#include "cms/eb21/eb21_targets.h"
#include "platform/codepage.h"
#include "support/scripted_interaction.h"

namespace qx {
namespace {

const CivilDate kDate{2026, 3, 16};

std::string Bytes(const std::string& utf8) {
    return ToCp949(utf8);
}

TEST(Eb21PassbookTest, TextsAreEightFullWidthCharacters) {
    struct Case {
        std::string in;
        bool upper;
        std::string want;
    } cases[] = {
        {"ABC", false, "ＡＢＣ　　　　　"},
        {"  abc  ", true, "ＡＢＣ　　　　　"},
        {"abc", false, "ａｂｃ　　　　　"},
        {"한빛생활협동조합회비", false, "한빛생활협동조합"},
        {"회비 1월", false, "회비　１월　　　"},
        {"", false, "　　　　　　　　"},
    };
    for (const auto& c : cases) {
        const std::string out = PassbookText(c.in, c.upper);
        EXPECT_EQ(out, c.want) << c.in;
        EXPECT_EQ(Bytes(out).size(), 16u) << c.in;
    }
}

TEST(Eb21PassbookTest, PrintKeyChoosesTextAndNumbersReplaceTheTail) {
    const PassbookTexts texts("hanbit coop", "회비,후원금");
    EXPECT_EQ(texts.fallback, "ＨＡＮＢＩＴ　Ｃ");
    EXPECT_EQ(texts.forKey("0"), texts.fallback);
    EXPECT_EQ(texts.forKey("1"), PassbookText("회비"));
    EXPECT_EQ(texts.forKey("2"), PassbookText("후원금"));
    EXPECT_EQ(texts.forKey("3"), texts.fallback);
    EXPECT_EQ(texts.forKey("x"), texts.fallback);
    // Month 03 of a sale dated 26-03-15 after the first six characters.
    EXPECT_EQ(PassbookText(PassbookWithNumber(texts.fallback, 3)), "ＨＡＮＢＩＴ０３");
    // A short text loses its full-width blanks before the number.
    EXPECT_EQ(PassbookText(PassbookWithNumber(PassbookText("회비"), 12)), "회비１２　　　　");
}

TEST(Eb21RecordTest, HolderNumberKeepsTenAndCutsLongerToSix) {
    EXPECT_EQ(Eb21HolderNumber("8001011234567"), "800101");
    EXPECT_EQ(Eb21HolderNumber("1234567890"), "1234567890");
    EXPECT_EQ(Eb21HolderNumber("800101"), "800101");
}

TEST(Eb21RecordTest, RecordsByBytePosition) {
    const std::string header = Eb21Header("9912345678", kDate, "88", " 110-123-456789 ");
    ASSERT_EQ(header.size(), 150u);
    EXPECT_EQ(header.substr(0, 56), std::string("H") + "00000000" + "9912345678" + "EB210316" +
                                        "260316" + "0000088" + "110-123-456789  ");
    EXPECT_EQ(header.substr(56), std::string(94, ' '));

    Eb21Record r;
    r.serial = 12;
    r.bankCode = "0040000";
    r.accountNo = "12345678901";
    r.amount = 1234567;
    r.holderNumber = Eb21HolderNumber("8001011234567");
    r.passbook = PassbookText("ABC");
    r.payerNumber = "0000000042";
    r.amountKind = "2";
    r.cashReceipt = "01012345678";
    const std::string d = Eb21DataRecord(r, "9912345678");
    ASSERT_EQ(d.size(), 150u);
    const struct {
        int pos, len;
        std::string want;
    } fields[] = {
        {1, 1, "R"},
        {2, 8, "00000012"},
        {10, 10, "9912345678"},
        {20, 7, "0040000"},
        {27, 16, "12345678901     "},
        {43, 13, "0000001234567"},
        {56, 13, "800101       "},
        {69, 5, "     "},
        {74, 16, Bytes("ＡＢＣ　　　　　")},
        {90, 2, "  "},
        {92, 20, "0000000042          "},
        {112, 5, "     "},
        {117, 1, "2"},
        {118, 12, "01012345678 "},
        {130, 21, std::string(21, ' ')},
    };
    for (const auto& f : fields) EXPECT_EQ(d.substr(f.pos - 1, f.len), f.want) << f.pos;

    r.holderNumber = Eb21HolderNumber("1234567890");
    EXPECT_EQ(Eb21DataRecord(r, "9912345678").substr(55, 13), "1234567890   ");

    const std::string t = Eb21Trailer("9912345678", kDate, 250, 98765432);
    ASSERT_EQ(t.size(), 150u);
    EXPECT_EQ(t.substr(0, 77), std::string("T") + "99999999" + "9912345678" + "EB210316" +
                                   "00000250" + "00000250" + "0000098765432" +
                                   std::string(21, '0'));
    EXPECT_EQ(t.substr(77), std::string(73, ' '));
}

TEST(Eb21RowsTest, SplitByLimitKeepsEveryPartWithinIt) {
    Eb21Row row;
    row.amount = 250000;
    row.expected = 30000;
    struct Case {
        long long limit;
        bool byLimit;
        std::vector<long long> want;
    } cases[] = {
        {0, true, {250000}},
        {250000, true, {250000}},
        {100000, true, {100000, 100000, 50000}},
        {100000, false, {30000, 30000, 30000, 30000, 30000, 30000, 30000, 30000, 10000}},
        {20000, false, std::vector<long long>(13, 20000)},
    };
    cases[4].want.back() = 10000;
    for (const auto& c : cases) {
        std::vector<long long> got;
        for (const auto& r : SplitByWithdrawalLimit({row}, c.limit, c.byLimit))
            got.push_back(r.amount);
        EXPECT_EQ(got, c.want) << c.limit << " " << c.byLimit;
    }
}

TEST(Eb21RowsTest, ExclusionsDeselectOrRefuseTheValue) {
    auto rows = [] {
        std::vector<Eb21Row> v(4);
        v[0].amount = 5000, v[0].inday = "5", v[0].cmsStatus = "3", v[0].repDay = "26-03-01";
        v[1].amount = 10000, v[1].inday = "25", v[1].cmsStatus = "8", v[1].cmsError = "잔액부족";
        v[1].repDay = "26-02-01";
        v[2].amount = 20000, v[2].inday = "5", v[2].cmsStatus = "7", v[2].repDay = "26-01-10";
        v[2].branch_inx = 1, v[2].branchName = "강남지사";
        v[3].amount = 30000, v[3].cmsStatus = "7", v[3].repDay = "25-12-31";
        return v;
    };
    struct Case {
        Eb21Exclusion c;
        std::string value;
        std::optional<long long> deselected;
        std::string message;
    } cases[] = {
        {Eb21Exclusion::TransferDay, "5", 2, ""},
        {Eb21Exclusion::AmountAtLeast, "20,000", 2, ""},
        {Eb21Exclusion::AmountAtMost, "10000", 2, ""},
        {Eb21Exclusion::AmountAtLeast, "", std::nullopt, kEb21AmountMissingText},
        {Eb21Exclusion::AmountAtMost, "1만", std::nullopt, kEb21AmountInvalidText},
        {Eb21Exclusion::CmsState, "출금완료", 2, ""},
        {Eb21Exclusion::Branch, "본점", 3, ""},
        {Eb21Exclusion::Branch, "강남지사", 1, ""},
        {Eb21Exclusion::CmsError, "잔액", 1, ""},
        {Eb21Exclusion::CmsError, " ", std::nullopt, kEb21ErrorMissingText},
        {Eb21Exclusion::OutsideMonths, "2", 2, ""},
        {Eb21Exclusion::OutsideMonths, "3", 1, ""},
        {Eb21Exclusion::OutsideMonths, "", std::nullopt, kEb21MonthsMissingText},
        {Eb21Exclusion::OutsideMonths, "두달", std::nullopt, kEb21MonthsInvalidText},
        {Eb21Exclusion::None, "", 0, ""},
    };
    for (const auto& c : cases) {
        auto v = rows();
        test::ScriptedInteraction ui;
        EXPECT_EQ(ApplyEb21Exclusion(v, c.c, c.value, kDate, ui), c.deselected) << c.value;
        if (c.message.empty()) {
            EXPECT_TRUE(ui.shown.empty()) << c.value;
            EXPECT_EQ(SelectedOf(v).count, 4 - c.deselected.value_or(0)) << c.value;
        } else {
            ASSERT_EQ(ui.shown.size(), 1u) << c.value;
            EXPECT_EQ(ui.shown[0].text, c.message);
            EXPECT_EQ(SelectedOf(v).count, 4);
        }
    }
}

TEST(Eb21RowsTest, DefaultsComeFromTheFlagString) {
    // Position 1 "정기(분할), 미납(합산)", 4 "미납분만 부분출금", 9 "월분표기".
    const Eb21Options both = Eb21DefaultOptions("400200002000001", Eb21Amounts::Both);
    EXPECT_EQ(both.method, Eb21Method::MergeSplit);
    EXPECT_EQ(both.kind, Eb21Kind::UnpaidPartial);
    EXPECT_EQ(both.passbook, Eb21Passbook::Month);
    // Position 2 "분할 청구", 5 "부분출금"; position 3 "합산 청구", 6 "완전출금".
    EXPECT_EQ(Eb21DefaultOptions("012010000000001", Eb21Amounts::Regular).method, Eb21Method::Item);
    EXPECT_EQ(Eb21DefaultOptions("012010000000001", Eb21Amounts::Regular).kind, Eb21Kind::Partial);
    EXPECT_EQ(Eb21DefaultOptions("012010000000001", Eb21Amounts::Unpaid).method, Eb21Method::Sum);
    EXPECT_EQ(Eb21DefaultOptions("012010000000001", Eb21Amounts::Unpaid).kind, Eb21Kind::Full);
    EXPECT_EQ(SelectionText({2, 1234567}), "신청금액 : ( 1,234,567 원)  / 신청건수 : ( 2 건)");
}

}  // namespace
}  // namespace qx
