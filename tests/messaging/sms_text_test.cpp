#include "messaging/sms_text.h"

#include <gtest/gtest.h>

#include "core/session_context.h"
#include "messaging/sms_history.h"
#include "messaging/sms_settings.h"
#include "platform/codepage.h"
#include "support/scripted_interaction.h"

namespace qx {
namespace {

std::string Repeat(const std::string& piece, int times) {
    std::string out;
    for (int i = 0; i < times; ++i) out += piece;
    return out;
}

TEST(SmsText, PlaceholdersAreReplacedEverywhereInBothFormats) {
    const SmsMemberValues v{"홍길동", "1234567", "1234567", "25"};
    struct Case {
        const char* text;
        const char* expected;
    } cases[] = {
        {"[@C] [@U]님", "한빛 홍길동님"},
        {"[@PM]/[@PM0]", "1234567/1,234,567"},
        {"[@P]원 [@P0]원 [@P0]", "1234567원 1,234,567원 1,234,567"},
        {"[@D]일 [@D]일", "25일 25일"},
        {"[@U][@U][@U]", "홍길동홍길동홍길동"},
        {"[@X] [@ 그대로", "[@X] [@ 그대로"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PersonaliseMessage(c.text, "한빛", v), c.expected) << c.text;
    }
    // A value that reads like a placeholder is sent as it is.
    EXPECT_EQ(PersonaliseMessage("[@U] [@P]", "한빛", {"[@P]", "0", "55", ""}), "[@P] 55");
    // An amount that is not a whole number is shown as stored.
    EXPECT_EQ(PersonaliseMessage("[@P0]", "c", {"", "", "", ""}), "");
}

TEST(SmsText, CompanyPlaceholderFallsBackToTheCompany) {
    SessionContext s;
    s.company = "본사명";
    SmsSender sender;
    EXPECT_EQ(SenderDisplayName(s, sender), "본사명");
    sender.SendName = "보내는곳";
    EXPECT_EQ(SenderDisplayName(s, sender), "보내는곳");
}

TEST(SmsText, OldAndLowerCasePlaceholdersAreNormalised) {
    struct Case {
        const char* text;
        const char* expected;
    } cases[] = {
        {"[$c] [$u] [$pm] [$p] [$d] [$pm0] [$p0]", "[@C] [@U] [@PM] [@P] [@D] [@PM0] [@P0]"},
        {"[$C] [$U] [$PM] [$P] [$D] [$PM0] [$P0]", "[@C] [@U] [@PM] [@P] [@D] [@PM0] [@P0]"},
        {"[@c] [@u] [@pm] [@p] [@d] [@pm0] [@p0]", "[@C] [@U] [@PM] [@P] [@D] [@PM0] [@P0]"},
        {"[@C] 그대로 [$x] [@", "[@C] 그대로 [$x] [@"},
        {"[$p][$pm]", "[@P][@PM]"},
    };
    for (const auto& c : cases) EXPECT_EQ(NormaliseTemplate(c.text), c.expected) << c.text;
    for (const char* t : DefaultSmsTemplates()) EXPECT_EQ(NormaliseTemplate(t), t);
}

TEST(SmsText, KindSwitchQuestions) {
    struct Case {
        std::string text;
        SmsKind kind;
        bool answer;
        const char* title;  // nullptr: no question
        SmsKind after;
    } cases[] = {
        {Repeat("가", 47) + "A", SmsKind::Sms, true, "LMS 변경 확인", SmsKind::Lms},  // 95 bytes
        {Repeat("a", 91), SmsKind::Sms, false, "LMS 변경 확인", SmsKind::Sms},
        {Repeat("a", 90), SmsKind::Sms, true, nullptr, SmsKind::Sms},
        {Repeat("가", 45), SmsKind::Lms, true, "SMS 변경 확인", SmsKind::Sms},  // 90 bytes
        {Repeat("a", 90), SmsKind::Lms, false, "SMS 변경 확인", SmsKind::Lms},
        {Repeat("a", 91), SmsKind::Lms, true, nullptr, SmsKind::Lms},
    };
    for (const auto& c : cases) {
        test::ScriptedInteraction ui;
        ui.answers.push_back(c.answer);
        EXPECT_EQ(AskKindSwitch(c.text, c.kind, ui), c.after) << ByteLength(c.text);
        if (!c.title) {
            EXPECT_TRUE(ui.shown.empty());
            continue;
        }
        ASSERT_EQ(ui.shown.size(), 1u);
        EXPECT_EQ(ui.shown[0].title, c.title);
        EXPECT_TRUE(ui.shown[0].question);
    }
    test::ScriptedInteraction ui;
    AskKindSwitch(Repeat("a", 91), SmsKind::Sms, ui);
    EXPECT_EQ(ui.shown.at(0).text,
              "입력하신 메세지의 길이가 SMS 허용 길이(90 Byte)를 초과 하였습니다.\r\nLMS(2,000 "
              "Byte)로 변경 하시겠습니까?\r\n\r\n※ LMS 이용시 추가 비용이 발생합니다.");
    EXPECT_EQ(SmsByteCounterText(95, SmsKind::Lms), "95 / 2000 byte");
    EXPECT_EQ(SmsByteCounterText(0, SmsKind::Sms), "0 / 90 byte");
}

TEST(SmsText, CuttingKeepsWholeSyllables) {
    struct Case {
        std::string text;
        long long limit;
        std::string expected;
        bool cut;
    } cases[] = {
        {Repeat("가", 45), 90, Repeat("가", 45), false},
        {Repeat("가", 46), 90, Repeat("가", 45), true},
        // The 90th byte would be half a syllable: a blank takes its place.
        {"A" + Repeat("가", 45), 90, "A" + Repeat("가", 44) + " ", true},
        {Repeat("a", 91), 90, Repeat("a", 90), true},
        {"", 90, "", false},
        {Repeat("한", 1001), 2000, Repeat("한", 1000), true},
    };
    for (const auto& c : cases) {
        const CutMessage m = CutToLimit(c.text, c.limit);
        EXPECT_EQ(m.text, c.expected);
        EXPECT_EQ(m.cut, c.cut);
        EXPECT_EQ(m.bytes, ByteLength(c.expected));
        EXPECT_LE(m.bytes, c.limit);
        // No broken character survives the round trip through CP949.
        EXPECT_EQ(FromCp949(ToCp949(m.text)), m.text);
    }
    EXPECT_EQ(CutRowsNotice(3, SmsKind::Sms),
              "고객 별 보낼 메세지 중 3 건이 제한 길이보다 길어\r\n메세지 끝부분이 잘려 보내지게 "
              "됩니다.\r\n\r\n※ 제한 길이 : 90Byte (한글 45자, 영문 90자)\r\n보낼 메세지를 "
              "수정하시거나 LMS를 이용해 주시기 바랍니다.");
    EXPECT_NE(CutRowsNotice(1, SmsKind::Lms).find("2000Byte (한글 1000자, 영문 2000자)"),
              std::string::npos);
}

TEST(SmsText, MobileNumberRule) {
    struct Case {
        const char* number;
        bool mobile;
    } cases[] = {
        {"01012345678", true},   {"0101234567", true},
        {"0111234567", true},    {"0161234567", true},
        {"01712345678", true},   {"0181234567", true},
        {"01912345678", true},   {"0101234567?", false},
        {"010123456789", false}, {"010123456", false},
        {"07012345678", false},  {"0212345678", false},
        {"0151234567", false},   {"", false},
        {"010 1234567", false},
    };
    for (const auto& c : cases) EXPECT_EQ(IsMobileNumber(c.number), c.mobile) << c.number;
    EXPECT_EQ(WithoutDashes("010-1234-5678"), "01012345678");
    EXPECT_TRUE(IsMobileNumber(WithoutDashes("010-1234-5678")));
}

TEST(SmsText, CmidShape) {
    EXPECT_EQ(MakeCmid("261207103000", 10002, 1), "2612071030001000200001");
    EXPECT_EQ(MakeCmid("261207103000", 10002, 250), "2612071030001000200250");
    EXPECT_EQ(MakeCmid("261207103000", 7, 99999), "261207103000799999");
}

TEST(SmsText, LmsTitleRules) {
    struct Case {
        std::string title;
        bool answer;
        bool ok;
        std::string used;
    } cases[] = {
        {Repeat("가", 32), true, true, Repeat("가", 32)},  // 64 bytes
        {Repeat("가", 33), true, false, ""},
        {Repeat("a", 64), true, true, Repeat("a", 64)},
        {Repeat("a", 65), true, false, ""},
        {"", true, true, "[안내] 한빛"},
        {"", false, false, ""},
    };
    for (const auto& c : cases) {
        test::ScriptedInteraction ui;
        ui.answers.push_back(c.answer);
        std::string title = c.title;
        EXPECT_EQ(CheckLmsTitle(title, "한빛", ui), c.ok) << c.title;
        if (c.ok) {
            EXPECT_EQ(title, c.used);
        }
        if (!c.ok && !c.title.empty()) {
            ASSERT_EQ(ui.shown.size(), 1u);
            EXPECT_EQ(ui.shown[0].text,
                      "LMS 제목의 길이가 제한 길이 보다 깁니다.\r\n※ 제한 길이 : 64Byte (한글 "
                      "31자, 영문 64자)");
        }
        if (c.title.empty()) {
            EXPECT_EQ(ui.shown.at(0).title, "LMS 제목 미입력 안내");
        }
    }
}

TEST(SmsHistoryNames, MonthsOfThePeriod) {
    EXPECT_EQ(LogTableNames("2026-11-15", "2027-01-03"),
              (std::vector<std::string>{"BIZ_LOG_202611", "BIZ_LOG_202612", "BIZ_LOG_202701"}));
    EXPECT_EQ(LogTableNames("2026-12-01", "2026-12-31"),
              (std::vector<std::string>{"BIZ_LOG_202612"}));
    EXPECT_TRUE(LogTableNames("2027-01-01", "2026-12-31").empty());
    EXPECT_TRUE(LogTableNames("2026-13-01", "2026-12-31").empty());
    EXPECT_TRUE(LogTableNames("2026-12-01'; drop", "2026-12-31").empty());
    struct Case {
        const char* code;
        const char* text;
    } cases[] = {{"", "결과대기"},     {"4100", "전송완료"},      {"6600", "전송완료"},
                 {"4400", "음영지역"}, {"6603", "음영지역"},      {"4410", "오류번호"},
                 {"6606", "오류번호"}, {"9999", "기타에러(9999)"}};
    for (const auto& c : cases) EXPECT_EQ(CallStatusText(c.code), c.text);
}

}  // namespace
}  // namespace qx
