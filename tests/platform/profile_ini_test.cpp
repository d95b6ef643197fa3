#include "platform/profile_ini.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/codepage.h"

namespace qx {
namespace {

namespace fs = std::filesystem;

class ProfileIniTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("qx_ini_" +
                std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        path_ = (dir_ / "Login.ini").string();
    }
    void TearDown() override { fs::remove_all(dir_); }

    void put(const std::string& bytes) const { std::ofstream(path_, std::ios::binary) << bytes; }
    std::string bytes() const { return ReadWholeFile(path_).value_or(""); }

    fs::path dir_;
    std::string path_;
};

TEST_F(ProfileIniTest, MissingFileSectionOrKeyGivesTheDefault) {
    ProfileIni ini(path_);
    EXPECT_EQ(ini.read("PRGSTAT", "TOLVEXOPEN", "YES"), "YES");
    put("[PRGSTAT]\r\nAUTOLOGIN=NO\r\n");
    EXPECT_EQ(ini.read("PRGSTAT", "TOLVEXOPEN", "YES"), "YES");
    EXPECT_EQ(ini.read("SYSTEM", "AUTOLOGIN", "x"), "x");
    EXPECT_EQ(ini.read("PRGSTAT", "AUTOLOGIN", "x"), "NO");
}

TEST_F(ProfileIniTest, EmptyOrNulLedValueGivesTheDefault) {
    using namespace std::string_literals;
    put("[PRGSTAT]\r\nFIXINGCOL=\r\nMONTHVIEW=   \r\nDEVIDEPAY=\0NO\r\nX=AB\0CD\r\n"s);
    ProfileIni ini(path_);
    EXPECT_EQ(ini.read("PRGSTAT", "FIXINGCOL", "2"), "2");
    EXPECT_EQ(ini.read("PRGSTAT", "MONTHVIEW", "YES"), "YES");
    EXPECT_EQ(ini.read("PRGSTAT", "DEVIDEPAY", "YES"), "YES");
    EXPECT_EQ(ini.read("PRGSTAT", "X", ""), "AB");
}

TEST_F(ProfileIniTest, MatchesNamesCaseInsensitivelyAndTrimsValues) {
    put("; desktop settings\n[ prgstat ]\n  AutoLogin =  yes  \nQUOTED=\"a b\"\n");
    ProfileIni ini(path_);
    EXPECT_EQ(ini.read("PRGSTAT", "AUTOLOGIN"), "yes");
    EXPECT_EQ(ini.read("PrgStat", "autologin"), "yes");
    EXPECT_EQ(ini.read("PRGSTAT", "QUOTED"), "a b");
    EXPECT_EQ(ini.read("PRGSTAT", "; desktop settings", "d"), "d");
}

TEST_F(ProfileIniTest, KeysBeforeAnySectionOrInOtherSectionsDoNotCount) {
    put("KEY=top\n[A]\nKEY=a\n[B]\nOTHER=b\n");
    ProfileIni ini(path_);
    EXPECT_EQ(ini.read("B", "KEY", "none"), "none");
    EXPECT_EQ(ini.read("A", "KEY"), "a");
}

TEST_F(ProfileIniTest, ValueIsCutTo254StoredBytesOnWholeCharacters) {
    ProfileIni ini(path_);
    put("[S]\nA=" + std::string(300, 'x') + "\n");
    EXPECT_EQ(ini.read("S", "A"), std::string(254, 'x'));
    // CP949: 'x' + 127 syllables = 255 bytes; the last syllable does not fit.
    std::string hangul;
    for (int i = 0; i < 127; ++i) hangul += "가";
    put(ToCp949("[S]\nA=x" + hangul + "\n"));
    const std::string read = ini.read("S", "A");
    EXPECT_EQ(ByteLength(read), 253);
    EXPECT_EQ(read, "x" + hangul.substr(0, hangul.size() - 3));
}

TEST_F(ProfileIniTest, ReadsCp949AndUtf8FilesWithKoreanValues) {
    ProfileIni ini(path_);
    put(ToCp949("[PRGSTAT]\r\nPROGRAMSTAT=테스트\r\n[SMS]\r\nSENDNAME=쿼리스 상사\r\n"));
    EXPECT_EQ(ini.read("PRGSTAT", "PROGRAMSTAT", "실시"), "테스트");
    EXPECT_EQ(ini.read("SMS", "SENDNAME"), "쿼리스 상사");

    put("[PRGSTAT]\nPROGRAMSTAT=테스트\n");
    EXPECT_EQ(ini.read("PRGSTAT", "PROGRAMSTAT", "실시"), "테스트");
    put("\xEF\xBB\xBF[PRGSTAT]\nPROGRAMSTAT=실시\n");
    EXPECT_EQ(ini.read("PRGSTAT", "PROGRAMSTAT"), "실시");
}

TEST_F(ProfileIniTest, WriteCreatesACp949FileWithCrLf) {
    ProfileIni ini(path_);
    ASSERT_TRUE(ini.write("PRGSTAT", "PROGRAMSTAT", "테스트"));
    EXPECT_EQ(bytes(), ToCp949("[PRGSTAT]\r\nPROGRAMSTAT=테스트\r\n"));
    EXPECT_EQ(ini.read("PRGSTAT", "PROGRAMSTAT"), "테스트");
}

TEST_F(ProfileIniTest, WriteKeepsOtherLinesCommentsAndLineEnds) {
    put(ToCp949(
        "; 설정\r\n[FILEFOLDER]\r\nEXCEL=C:\\excel\r\n\r\n[PRGSTAT]\r\nprogramstat=테스트\r\n"
        "AUTOLOGIN=NO\r\n"));
    ProfileIni ini(path_);
    ASSERT_TRUE(ini.write("PrgStat", "PROGRAMSTAT", "실시"));
    ASSERT_TRUE(ini.write("FILEFOLDER", "FILEBACK", "D:\\백업"));
    ASSERT_TRUE(ini.write("V1", "VIEW", "1/2/3"));
    EXPECT_EQ(bytes(),
              ToCp949("; 설정\r\n[FILEFOLDER]\r\nEXCEL=C:\\excel\r\nFILEBACK=D:\\백업\r\n\r\n"
                      "[PRGSTAT]\r\nPROGRAMSTAT=실시\r\nAUTOLOGIN=NO\r\n[V1]\r\nVIEW=1/2/3\r\n"));
}

TEST_F(ProfileIniTest, WriteKeepsUtf8AndLfFiles) {
    put("\xEF\xBB\xBF[SMS]\nMSG0=안녕하세요\n");
    ProfileIni ini(path_);
    ASSERT_TRUE(ini.write("SMS", "MSG1", "감사합니다"));
    EXPECT_EQ(bytes(), "\xEF\xBB\xBF[SMS]\nMSG0=안녕하세요\nMSG1=감사합니다\n");

    put("[SMS]\nMSG0=안녕하세요");  // no BOM, no final line end
    ASSERT_TRUE(ini.write("SMS", "MSG0", "잘 지내세요"));
    EXPECT_EQ(bytes(), "[SMS]\nMSG0=잘 지내세요");
    ASSERT_TRUE(ini.write("SMS", "MSG2", "x"));
    EXPECT_EQ(bytes(), "[SMS]\nMSG0=잘 지내세요\nMSG2=x\n");
}

// What Notepad saves as "Unicode": a byte-order mark, then UTF-16 LE.
std::string Utf16le(const std::u16string& text) {
    std::string out = "\xFF\xFE";
    for (char16_t c : text) {
        out += static_cast<char>(c & 0xFF);
        out += static_cast<char>(c >> 8);
    }
    return out;
}

TEST_F(ProfileIniTest, Utf16FileIsReadAndWrittenInItsOwnEncoding) {
    put(Utf16le(u"[SYSTEM]\r\nDBCONNIP=127.0.0.1:3306\r\n[SMS]\r\nSENDNAME=한빛 상사\r\n"));
    ProfileIni ini(path_);
    EXPECT_EQ(ini.read("SYSTEM", "DBCONNIP"), "127.0.0.1:3306");
    EXPECT_EQ(ini.read("sms", "SENDNAME"), "한빛 상사");
    EXPECT_EQ(ini.read("SMS", "MISSING", "기본"), "기본");

    ASSERT_TRUE(ini.write("SMS", "SENDNAME", "새 상사"));
    EXPECT_EQ(bytes(),
              Utf16le(u"[SYSTEM]\r\nDBCONNIP=127.0.0.1:3306\r\n[SMS]\r\nSENDNAME=새 상사\r\n"));
    EXPECT_EQ(ini.read("SMS", "SENDNAME"), "새 상사");

    // A cut last byte or a lone surrogate does not take the line with it.
    put(Utf16le(u"[SMS]\r\nSENDNAME=a\xD800"
                u"b\r\n") +
        "x");
    EXPECT_EQ(ini.read("SMS", "SENDNAME"),
              "a\xEF\xBF\xBD"
              "b");
}

TEST_F(ProfileIniTest, AllAsciiFileGetsHangulInCp949) {
    put("[PRGSTAT]\r\nAUTOLOGIN=NO\r\n");
    ProfileIni ini(path_);
    ASSERT_TRUE(ini.write("PRGSTAT", "PROGRAMSTAT", "실시"));
    EXPECT_EQ(bytes(), ToCp949("[PRGSTAT]\r\nAUTOLOGIN=NO\r\nPROGRAMSTAT=실시\r\n"));
}

TEST_F(ProfileIniTest, RefusesTextThatWouldBreakTheFile) {
    put("[A]\nK=v\n");
    ProfileIni ini(path_);
    EXPECT_FALSE(ini.write("A", "K", "line\nbreak"));
    EXPECT_FALSE(ini.write("A", "K=2", "v"));
    EXPECT_FALSE(ini.write("A]", "K", "v"));
    EXPECT_FALSE(ini.write("", "K", "v"));
    EXPECT_FALSE(ini.write("A", " ", "v"));
    EXPECT_EQ(bytes(), "[A]\nK=v\n");
}

TEST_F(ProfileIniTest, WriteFailsInAMissingFolderAndLeavesNoTemporaryFile) {
    ProfileIni missing((dir_ / "no" / "Login.ini").string());
    EXPECT_FALSE(missing.write("A", "K", "v"));
    ProfileIni ini(path_);
    ASSERT_TRUE(ini.write("A", "K", "v"));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1);
}

TEST(IsYes, AcceptsYesInAnyCase) {
    EXPECT_TRUE(IsYes("YES"));
    EXPECT_TRUE(IsYes("yes"));
    EXPECT_TRUE(IsYes("Yes"));
    EXPECT_FALSE(IsYes("NO"));
    EXPECT_FALSE(IsYes("Y"));
    EXPECT_FALSE(IsYes(""));
    EXPECT_FALSE(IsYes("YESS"));
}

}  // namespace
}  // namespace qx
