// Reading GR15 statements: every field at its byte position, and every
// refusal with the text the user sees.
#include "channels/giro/gr15_file.h"

#include <gtest/gtest.h>

#include <functional>

#include "support/gr15_generator.h"

namespace qx {
namespace {

using test::Gr15Line;

constexpr const char* kGiro = "1234567";
constexpr const char* kDate = "261207";

Gr15Line Line(const std::string& giroNo, long long amount, char kind = ' ', char proc = ' ') {
    Gr15Line l;
    l.giroNo = giroNo;
    l.amount = amount;
    l.receiptKind = kind;
    l.processingKind = proc;
    return l;
}

std::string Good() {
    return test::Gr15FileBytes(kGiro, kDate, {Line("0000012345", 15000), Line("77", 2000, 'J')});
}

// Byte `pos` (1-based) of record `record` (0 = header) replaced by `text`.
std::string Patched(std::string bytes, int record, int pos, const std::string& text) {
    bytes.replace(static_cast<std::size_t>(record * 120 + pos - 1), text.size(), text);
    return bytes;
}

TEST(Gr15File, ReadsEveryFieldAtItsBytePosition) {
    Gr15Line l = Line("0000012345", 1234567890123LL, 'H', 'R');
    l.seq = 9876543;
    l.wondate = "20261203";
    l.filedate = "20261207";
    l.bankCode = "0881234";
    l.bankCodeExt = "0205678";
    l.giroIdx = "123456789012";
    l.fee = 9999;
    const std::string bytes = test::Gr15FileBytes(kGiro, kDate, {l});
    ASSERT_EQ(bytes.size(), 360u);
    const Gr15File f = ParseGr15(bytes, "/some/where/GR15261207", kGiro);
    ASSERT_EQ(f.error, "");
    EXPECT_EQ(f.name, "GR15261207");
    ASSERT_EQ(f.payments.size(), 1u);
    const Gr15Payment& p = f.payments[0];
    EXPECT_EQ(p.seq_num, 9876543);
    EXPECT_EQ(p.wondate, "20261203");
    EXPECT_EQ(p.filedate, "20261207");
    EXPECT_EQ(p.bank_code, "0881234");
    EXPECT_EQ(p.bank_code_ext, "0205678");
    EXPECT_EQ(p.giro_idx, "123456789012");
    EXPECT_EQ(p.giro_no, "0000012345");
    EXPECT_EQ(p.amount, 1234567890123LL);
    EXPECT_EQ(p.receipt_kind, 'H');
    EXPECT_EQ(p.fee, 9999);
    EXPECT_EQ(p.processing_kind, 'R');
    EXPECT_EQ(f.totals.count, 1);
    EXPECT_EQ(f.totals.amount, 1234567890123LL);
    EXPECT_EQ(f.totals.fee, 9999);
    const auto rows = Gr15GridRows(f);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0],
              (std::vector<std::string>{"9876543", "20261203", "20261207", "0881234", "0205678",
                                        "123456789012", "0000012345", "1,234,567,890,123", "9,999",
                                        "창구텔러조회수납분", "Reject분", "R"}));
    EXPECT_EQ(Gr15GridColumns().size(), Gr15GridWidths().size());
}

TEST(Gr15File, EveryReceiptKindHasItsTextAndOthersAreRefused) {
    const std::string kinds = " RATFGJEHPCD";
    for (char k : kinds) {
        const Gr15File f =
            ParseGr15(test::Gr15FileBytes(kGiro, kDate, {Line("1", 1000, k)}), "GR15261207", kGiro);
        EXPECT_EQ(f.error, "") << "kind '" << k << "'";
        EXPECT_FALSE(Gr15ReceiptKindText(k).empty());
    }
    for (char k : std::string("XBZ0r")) {
        EXPECT_EQ(
            ParseGr15(test::Gr15FileBytes(kGiro, kDate, {Line("1", 1000, k)}), "GR15261207", kGiro)
                .error,
            "파일오류 (DR, 수납구분)")
            << k;
    }
    for (char k : std::string("XCr1")) {
        EXPECT_EQ(ParseGr15(test::Gr15FileBytes(kGiro, kDate, {Line("1", 1000, ' ', k)}),
                            "GR15261207", kGiro)
                      .error,
                  "파일오류 (DR, 처리구분)")
            << k;
    }
}

TEST(Gr15File, NamesOfReceiptStatements) {
    const struct {
        const char* name;
        const char* expected;
    } cases[] = {
        {"GR15261207", "GR15261207"},
        {"/tmp/x/GR15261207.txt", "GR15261207"},
        {"gr15261207", "GR15261207"},
        {"GR15261232", ""},  // no such day
        {"GR1526120", ""},
        {"EB15261207", ""},
        {"GR15261207x", ""},
        {"GR1526-207", ""},
        {"xGR15261207", ""},
        {"GR15000229", "GR15000229"},  // 2000 was a leap year
        {"GR15010229", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(Gr15NameOf(c.name), c.expected) << c.name;
}

TEST(Gr15File, RefusalsNameTheirCause) {
    const std::string good = Good();
    const std::string twoLines =
        test::Gr15FileBytes(kGiro, kDate, {Line("1", 1000), Line("2", 2000)});
    const struct {
        const char* what;
        std::string bytes;
        std::string name;
        std::string expected;
    } cases[] = {
        {"not a receipt statement", good, "EB22261207", kGr15NameText},
        {"CR LF between records",
         good.substr(0, 120) + "\r\n" + good.substr(120, 120) + "\r\n" + good.substr(240),
         "GR15261207", kGr15UnknownRecordText},
        {"LF only after the last record", good + "\n", "GR15261207", kGr15UnknownRecordText},
        {"a record cut short", good.substr(0, good.size() - 1), "GR15261207",
         kGr15UnknownRecordText},
        {"an empty file", "", "GR15261207", kGr15UnknownRecordText},
        {"unknown record kind", Patched(good, 1, 1, "44"), "GR15261207", kGr15UnknownRecordText},
        {"no header", good.substr(120), "GR15261207", kGr15UnknownRecordText},
        {"no trailer", good.substr(0, good.size() - 120), "GR15261207", kGr15UnknownRecordText},
        {"data after the trailer", good + good.substr(120, 120), "GR15261207",
         kGr15UnknownRecordText},
        {"another institution", Patched(good, 0, 5, "7654321"), "GR15261207",
         kGr15OtherInstitutionText},
        {"header date not the name's", good, "GR15261206", kGr15OtherDateText},
        {"serial", Patched(good, 1, 3, "00A0001"), "GR15261207", "파일오류 (DR, 일련번호)"},
        {"receipt date", Patched(good, 1, 17, "x"), "GR15261207", "파일오류 (DR, 수납일자)"},
        {"transfer date", Patched(good, 1, 18, "        "), "GR15261207",
         "파일오류 (DR, 이체일자)"},
        {"receiving branch", Patched(good, 1, 26, "-"), "GR15261207", "파일오류 (DR, 수납점코드)"},
        {"handling branch", Patched(good, 1, 39, "?"), "GR15261207", "파일오류 (DR, 취급점코드)"},
        {"index number", Patched(good, 1, 40, "A"), "GR15261207", "파일오류 (DR, 색인번호)"},
        {"amount", Patched(good, 2, 84, " "), "GR15261207", "파일오류 (DR, 수금액)"},
        {"fee", Patched(good, 1, 86, "1.50"), "GR15261207", "파일오류 (DR, 수수료)"},
        {"trailer count", Patched(good, 3, 17, "x"), "GR15261207", "파일오류 (TR, 총 건수)"},
        {"trailer amount", Patched(good, 3, 44, "-"), "GR15261207", "파일오류 (TR, 총 수납금액)"},
        {"trailer fee", Patched(good, 3, 45, "+"), "GR15261207", "파일오류 (TR, 총 수수료)"},
        {"trailer deduction", Patched(good, 3, 59, "a"), "GR15261207", "파일오류 (TR, 총 차감액)"},
        {"trailer total", Patched(good, 3, 86, "b"), "GR15261207", "파일오류 (TR, 합계액)"},
        {"no data records", test::Gr15FileBytes(kGiro, kDate, {}), "GR15261207", kGr15NoDataText},
        {"count differs from the trailer", Patched(twoLines, 3, 17, "00000000000003"), "GR15261207",
         kGr15CountText},
    };
    for (const auto& c : cases) {
        const Gr15File f = ParseGr15(c.bytes, c.name, kGiro);
        EXPECT_EQ(f.error, c.expected) << c.what;
        EXPECT_TRUE(f.payments.empty()) << c.what;
    }
    // Without a giro code of its own the institution has no giro files.
    EXPECT_EQ(ParseGr15(good, "GR15261207", "").error, kGr15OtherInstitutionText);
    EXPECT_EQ(ParseGr15(good, "GR15261207", kGiro).error, "");
}

}  // namespace
}  // namespace qx
