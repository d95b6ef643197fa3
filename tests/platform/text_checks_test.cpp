#include "platform/text_checks.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <vector>

namespace qx {
namespace {

namespace fs = std::filesystem;

// Answers every question with `answer` and records the texts asked.
class ScriptedAnswers : public Interaction {
  public:
    explicit ScriptedAnswers(bool answer) : answer_(answer) {}
    void inform(const std::string& text, const std::string&) override { shown.push_back(text); }
    bool confirm(const std::string& text, const std::string& title) override {
        shown.push_back(text);
        titles.push_back(title);
        return answer_;
    }
    std::vector<std::string> shown, titles;

  private:
    bool answer_;
};

constexpr const char* kQuestion =
    "특수문자(&,% 등) 또는 한글이 포함되어 있습니다. \n메일발송서비스 이용시 제외될수 있습니다.\n"
    "무시하고 진행 하시겠습니까?";

TEST(CheckEmailText, PlainAddressesAskNothing) {
    ScriptedAnswers ui(false);
    EXPECT_EQ(CheckEmailText("user@example.com", ui), kEmailValid);
    EXPECT_EQ(CheckEmailText("first.last@mail.co.kr", ui), kEmailValid);  // 3 dots
    EXPECT_EQ(CheckEmailText("my-name@a-b.kr", ui), kEmailValid);
    EXPECT_TRUE(ui.shown.empty());
}

TEST(CheckEmailText, WrongShapeIsInvalid) {
    ScriptedAnswers ui(true);
    EXPECT_EQ(CheckEmailText("", ui), kEmailInvalid);
    EXPECT_EQ(CheckEmailText("user.example.com", ui), kEmailInvalid);  // no @
    EXPECT_EQ(CheckEmailText("a@b@example.com", ui), kEmailInvalid);   // two @
    EXPECT_EQ(CheckEmailText("user@localhost", ui), kEmailInvalid);    // no dot
    EXPECT_EQ(CheckEmailText("a.b@c.d.e.f", ui), kEmailInvalid);       // four dots
    EXPECT_TRUE(ui.shown.empty());
}

TEST(CheckEmailText, OtherCharactersAskFirst) {
    ScriptedAnswers no(false);
    EXPECT_EQ(CheckEmailText("홍길동@example.com", no), kEmailDeclined);
    ASSERT_EQ(no.shown.size(), 1u);
    EXPECT_EQ(no.shown[0], kQuestion);
    EXPECT_EQ(no.titles[0], "확인");

    ScriptedAnswers yes(true);
    EXPECT_EQ(CheckEmailText("a_b@example.com", yes), kEmailValid);
    EXPECT_EQ(CheckEmailText("a b@example", yes), kEmailInvalid);  // asked, then no dot
    EXPECT_EQ(yes.shown.size(), 2u);
    // The @ count is checked before anything is asked.
    EXPECT_EQ(CheckEmailText("a&b", yes), kEmailInvalid);
    EXPECT_EQ(yes.shown.size(), 2u);
}

TEST(TextChecks, AlphaNumericJudgesTheTrimmedText) {
    const std::pair<const char*, bool> cases[] = {
        {"abcXYZ019", true}, {" abc", true},       {"abc \t", true},  {"", false},
        {"   ", false},      {"pass word", false}, {"pass-1", false}, {"비밀1", false},
    };
    for (const auto& [text, expected] : cases) EXPECT_EQ(IsAlphaNumeric(text), expected) << text;
}

TEST(TextChecks, DigitsAndDash) {
    EXPECT_TRUE(IsDigitsAndDash("02-1234-5678"));
    EXPECT_TRUE(IsDigitsAndDash("06236"));
    EXPECT_TRUE(IsDigitsAndDash(""));
    EXPECT_FALSE(IsDigitsAndDash("02 1234"));
    EXPECT_FALSE(IsDigitsAndDash("010-123a"));
    EXPECT_FALSE(IsDigitsAndDash("０１０"));  // full-width digits
}

TEST(TextChecks, StorableTextIsWellFormedUtf8OfTheBasicPlane) {
    struct Case {
        std::string text;
        bool storable;
    };
    const Case cases[] = {
        {"", true},
        {"O'Brien; drop table x; --", true},
        {"홍길동", true},
        {"ｶﾀｶﾅ ０１ 한글 \xe2\x82\xa9", true},  // full-width and the won sign
        {"\xef\xbf\xbd", true},                 // U+FFFD, the last three-byte range
        {"상사\xf0\x9f\x98\x80", false},        // an emoji, four bytes
        {"\xf0\x90\x80\x80", false},            // U+10000, first outside the plane
        {"\xa3\xb0", false},                    // CP949 bytes, not UTF-8
        {"\xed\xa0\x80", false},                // a UTF-16 surrogate
        {"\xe0\x80\xaf", false},                // overlong "/"
        {"\xc0\xaf", false},                    // overlong "/"
        {"가\xea\xb0", false},                  // cut in the middle of a character
        {"\x80", false},                        // a lone continuation byte
    };
    for (const auto& c : cases) EXPECT_EQ(IsStorableText(c.text), c.storable) << c.text;
    EXPECT_EQ(UnstorableTextMessage("고객명"),
              "고객명에 저장할 수 없는 문자(이모지 등)가 있습니다. 해당 문자를 지우고 다시 "
              "입력하십시오.");
}

TEST(TextChecks, FoldersAndFileSizes) {
    const fs::path dir = fs::temp_directory_path() / "qx_text_checks";
    fs::remove_all(dir);
    const fs::path nested = dir / "vornadir" / "id" / "EB13";
    EXPECT_TRUE(MakeFolderIfMissing(nested.string()));
    EXPECT_TRUE(fs::is_directory(nested));
    EXPECT_TRUE(MakeFolderIfMissing(nested.string()));  // already there

    const fs::path file = dir / "EB130924";
    std::ofstream(file, std::ios::binary) << std::string(120, 'R');
    EXPECT_EQ(GetFileSize(file.string()), 120);
    EXPECT_FALSE(MakeFolderIfMissing(file.string()));  // a file of that name
    EXPECT_EQ(GetFileSize((dir / "missing").string()), -1);
    EXPECT_EQ(GetFileSize(nested.string()), -1);
    EXPECT_FALSE(MakeFolderIfMissing(""));
    fs::remove_all(dir);
}

}  // namespace
}  // namespace qx
