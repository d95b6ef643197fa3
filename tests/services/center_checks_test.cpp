// The simulated clearing house's own reading of agreement files (EI13, read
// block by block) and the framing of the EB11 files it issues.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "center_issue.h"
#include "file_check.h"
#include "support/hand_made_cms_file.h"

namespace {

constexpr size_t kBlock = 1024;
const std::string kOrg = "9912345678";

std::string Pad(std::string text, size_t width) {
    text.resize(width, ' ');
    return text;
}

struct Ei13 : qx::test::HandMadeEi13 {
    Ei13()
        : HandMadeEi13{kOrg,
                       "20261204",
                       {"0000000101", "0000000102"},
                       {std::string(100000, 'J'), std::string(30, 'P')}} {}
};

TEST(CenterAgreementCheck, SoundFileAndEachFaultAtItsBlock) {
    // 119 + 100,000 bytes take 98 blocks; 119 + 30 take one.
    const std::string sound = Ei13{}.bytes();
    ASSERT_EQ(sound.size(), (1 + 98 + 1 + 1) * kBlock);
    center::CheckedFile ok = center::CheckFile("EI131204", sound, kOrg);
    EXPECT_TRUE(ok.ok) << ok.error;
    EXPECT_EQ(ok.records, 2);
    EXPECT_EQ(ok.fileDate, "20261204");

    auto with = [&](size_t at, const std::string& text) {
        std::string b = sound;
        b.replace(at, text.size(), text);
        return b;
    };
    const size_t second = 99 * kBlock;  // the second record's first block
    Ei13 countHead, countTail, blocksTail;
    countHead.headerCount = 3;
    countTail.trailerCount = 1;
    blocksTail.trailerBlocks = 98;
    const struct {
        const char* what;
        std::string bytes;
        const char* error;
    } cases[] = {
        {"cut short", sound.substr(0, sound.size() - 1), "블록 길이가 1024바이트가 아닙니다."},
        {"header kind", with(0, "AE1112120000000"), "블록 1: 헤더 블록이 아닙니다."},
        {"header date", with(15, "20261205"), "블록 1: 헤더의 파일일자가 올바르지 않습니다."},
        {"header org", with(23, "1"), "블록 1: 이용기관코드가 다릅니다."},
        {"header count", countHead.bytes(), "블록 1: 헤더의 데이터 건수가 다릅니다."},
        {"serial", with(second + 8, "0000003"), "블록 100: 일련번호가 올바르지 않습니다."},
        {"kind 0", with(second + 106, "0"), "블록 100: 동의자료 구분이 올바르지 않습니다."},
        // A size one byte too long makes the record run into the trailer's block.
        {"size too long", with(second + 112, "0000906"),
         "블록 100: 동의자료가 파일 끝을 넘습니다."},
        // One byte too short leaves a content byte in what should be blank.
        {"size too short", with(second + 112, "0000029"),
         "블록 100: 동의자료 뒤의 여백이 공백이 아닙니다."},
        {"padding", with(second + 119 + 30, "x"),
         "블록 100: 동의자료 뒤의 여백이 공백이 아닙니다."},
        {"trailer count", countTail.bytes(), "블록 101: 트레일러의 데이터 건수가 다릅니다."},
        {"trailer blocks", blocksTail.bytes(), "블록 101: 트레일러의 데이터 블록 수가 다릅니다."},
        {"extra block", sound + std::string(kBlock, ' '),
         "블록 101: 트레일러 블록이 마지막 블록이 아닙니다."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const center::CheckedFile f = center::CheckFile("EI131204", c.bytes, kOrg);
        EXPECT_FALSE(f.ok);
        EXPECT_EQ(f.error, std::string("[EI131204] ") + c.error);
    }
}

TEST(CenterIssueEb11, MacLiesInTheLastTenBytesOfTheTrailer) {
    const std::vector<std::string> records = {
        "2612041" + Pad("0000000101", 20), "2612043" + Pad("0000000102", 20),
        "2612047" + Pad("0000000103", 20), "2612041" + Pad("0000000104", 20)};
    std::string bytes, error;
    ASSERT_TRUE(center::BuildEb11(kOrg, "20261204", "MAC1234567", records, bytes, error)) << error;
    ASSERT_EQ(bytes.size(), 6u * 120);
    const std::string tail = bytes.substr(5 * 120);
    EXPECT_EQ(tail.substr(0, 27), "T99999999" + kOrg + "EB111204");
    EXPECT_EQ(tail.substr(27, 8), "00000004");  // 28-35 records
    EXPECT_EQ(tail.substr(35, 8), "00000002");  // 36-43 new
    EXPECT_EQ(tail.substr(43, 8), "00000000");  // 44-51
    EXPECT_EQ(tail.substr(51, 8), "00000001");  // 52-59 cancellations
    EXPECT_EQ(tail.substr(59, 8), "00000001");  // 60-67 arbitrary cancellations
    EXPECT_EQ(tail.substr(67, 43), std::string(43, ' '));
    EXPECT_EQ(tail.substr(110, 10), "MAC1234567");  // 111-120
    EXPECT_EQ(bytes.substr(120, 20), "R00000001" + kOrg + "2");

    ASSERT_TRUE(center::BuildEb11(kOrg, "20261204", "AB", records, bytes, error));
    EXPECT_EQ(bytes.substr(5 * 120 + 110), "AB        ");

    const struct {
        const char* what;
        std::string date, mac;
        std::vector<std::string> records;
    } refused[] = {
        {"mac too long", "20261204", "MAC12345678", records},
        {"record too long", "20261204", "M", {std::string(102, '1')}},
        {"date", "2026124", "M", records},
    };
    for (const auto& r : refused) {
        SCOPED_TRACE(r.what);
        bytes = "unchanged";
        error.clear();
        EXPECT_FALSE(center::BuildEb11(kOrg, r.date, r.mac, r.records, bytes, error));
        EXPECT_FALSE(error.empty());
        EXPECT_EQ(bytes, "unchanged");
    }
}

}  // namespace
