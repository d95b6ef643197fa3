// The bank succession table both ways round, the EB12 answer byte for byte
// and the texts of channels and relay notices, without a database.
#include <gtest/gtest.h>

#include "cms/eb11/bank_succession.h"
#include "cms/eb11/eb11_file.h"
#include "cms/eb11/eb11_test_file.h"
#include "cms/eb11/eb12_writer.h"
#include "cms/eb11/relay_notices.h"
#include "platform/codepage.h"

namespace qx {
namespace {

TEST(BankSuccession, OldBanksGiveTheirSuccessorAndOthersStay) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"0060000", "0040000"},
        {"0190000", "0040000"},
        {"0290000", "0040000"},
        {"0790000", "0040000"},
        {"0100000", "0110000"},
        {"0160000", "0110000"},
        {"0130000", "0120000"},
        {"0180000", "0120000"},
        {"0840000", "0200000"},
        {"0410000", "0200000"},
        {"0210000", "0880000"},
        {"0280000", "0880000"},
        {"0360000", "0270000"},
        {"0530000", "0270000"},
        {"0460000", "0450000"},
        {"0860000", "0450000"},
        {"0490000", "0480000"},
        {"0470000", "0480000"},
        {"0720000", "0710000"},
        {"0750000", "0710000"},
        {"0250000", "0810000"},
        {"0800000", "0810000"},
        {"2890000", "2470000"},
        // Successors, unrelated banks and codes of another shape stay.
        {"0040000", "0040000"},
        {"0880000", "0880000"},
        {"0230000", "0230000"},
        {"0061234", "0061234"},
        {"006", "006"},
        {"", ""},
        {"0070000", "0070000"},
    };
    for (const auto& [from, to] : cases) EXPECT_EQ(SucceedingBankCode(from), to) << from;
}

TEST(Eb12Bytes, RefusedRecordsKeepTheirBytesAndTheTrailerCountsEachKind) {
    const std::string org = "9912345678";
    // A record with Hangul in the bytes the answer copies unchanged.
    std::string hangul = test::Eb11Data(org, "261204", 3, {"7", "0000000003", "004", "1", "2"});
    const std::string name = ToCp949("홍길동");  // 6 bytes in the phone field, 99-104
    hangul.replace(98, name.size(), name);
    const std::vector<Eb12Line> lines = {
        {test::Eb11Data(org, "261204", 1, {"1", "0000000001", "004", "1", "2"}), "1", "N", "A013"},
        {test::Eb11Data(org, "261204", 2, {"3", "0000000002", "004", "1", "2"}), "3", "N", "A017"},
        {hangul, "7", "N", "A013"},
    };
    const std::string bytes = Eb12Bytes(org, "20261204", lines, "0123456789");
    ASSERT_EQ(bytes.size(), 5u * 120u);
    EXPECT_EQ(bytes.substr(0, 120), "H00000000" + org + "EB121204261204" + std::string(87, ' '));
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string rec = bytes.substr(120 * (i + 1), 120);
        EXPECT_EQ(rec.substr(0, 91), lines[i].original.substr(0, 91)) << i;
        EXPECT_EQ(rec.substr(91, 5), "N" + lines[i].resultCode) << i;
        EXPECT_EQ(rec.substr(96), lines[i].original.substr(96)) << i;
    }
    EXPECT_EQ(bytes.substr(480), "T99999999" + org + "EB121204" + "00000003" + "00000001" +
                                     "00000000" + "00000001" + "00000001" + std::string(43, ' ') +
                                     "0123456789");
}

TEST(Eb12Bytes, NoRefusalsGiveHeaderAndTrailerWithZeroCounts) {
    const std::string bytes = Eb12Bytes("12345", "20270105", {}, "");
    ASSERT_EQ(bytes.size(), 240u);
    EXPECT_EQ(bytes.substr(0, 33), "H0000000012345     EB120105270105");
    EXPECT_EQ(bytes.substr(147, 8), "00000000");
    EXPECT_EQ(bytes.substr(120 + 27, 40), std::string(40, '0'));
    EXPECT_EQ(bytes.substr(230), std::string(10, ' '));
    EXPECT_THROW(Eb12Bytes("1", "20261332", {}, ""), std::invalid_argument);
}

}  // namespace
}  // namespace qx

namespace qx {
namespace {

TEST(Eb11Channel, TheCodeSaysWhatAndTheKindSaysWhere) {
    struct Case {
        const char *channel, *kind, *text;
    };
    const Case cases[] = {
        {"CHNG", "1", "참가기관 계좌변경"},       {"CHNG", "3", "참가기관 계좌변경"},
        {"CHNG", "7", "통합관리서비스 계좌변경"}, {"CNCL", "1", "참가기관 접수처리"},
        {"CNCL", "3", "참가기관 접수처리"},       {"CNCL", "7", "통합관리서비스 접수처리"},
        {"", "1", "접수채널 정보없음"},           {"", "7", "접수채널 정보없음"},
        {"chng", "1", "접수채널 정보없음"},       {"CHN", "1", "접수채널 정보없음"},
        {"XXXX", "7", "접수채널 정보없음"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Eb11ChannelText(c.channel, c.kind), c.text) << c.channel << "/" << c.kind;
}

TEST(RelayNotice, KindAndStateTexts) {
    EXPECT_EQ(RelayNoticeKindText("C"), "계좌변경");
    EXPECT_EQ(RelayNoticeKindText("D"), "해지");
    const char* states[] = {"처리전", "처리중", "처리대기중", "처리완료", "처리불가"};
    for (int i = 0; i < 5; ++i) EXPECT_EQ(RelayNoticeStateText(std::to_string(i)), states[i]);
    // Unknown values stay visible as they are rather than passing for a state.
    EXPECT_EQ(RelayNoticeStateText("5"), "5");
    EXPECT_EQ(RelayNoticeStateText("01"), "01");
    EXPECT_EQ(RelayNoticeStateText(""), "");
}

}  // namespace
}  // namespace qx
