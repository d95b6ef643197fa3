// The test institution's EA12: the chosen refusals marked at their bytes,
// the header's kind changed, the counts checked against the EA11.
#include "cms/eb11/ea12_create.h"

#include <fmt/format.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "cms/workspace/cms_folders.h"
#include "core/session_context.h"
#include "support/scripted_interaction.h"

namespace qx {
namespace {

namespace fs = std::filesystem;

std::string Pad(std::string s) {
    s.resize(100, ' ');
    return s;
}

class Ea12Test : public ::testing::Test {
  protected:
    void SetUp() override {
        root = fs::temp_directory_path() /
               (std::string("qx-ea12-") +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root);
        session.SystemDrive = (root / "desk").string() + "/";
        session.LoginId = "tester";
        session.org_code = "9912345678";
    }
    void TearDown() override { fs::remove_all(root); }

    std::string Drop(const std::string& header, const std::vector<std::string>& kinds,
                     const std::string& name = "EA111204") {
        std::string bytes = header;
        long long serial = 0;
        for (const std::string& k : kinds) {
            ++serial;
            bytes += Pad(fmt::format("R{:07}{}261204{}{:<20}", serial, session.org_code, k,
                                     "payer" + std::to_string(serial)));
        }
        bytes += Pad(fmt::format("T9999999{}{}{:08}", session.org_code, name, serial));
        const fs::path folder = MakeExchangeFolder(session, "EA11");
        std::ofstream(folder / name, std::ios::binary) << bytes;
        return (folder / name).string();
    }
    std::string Header(const std::string& name = "EA111204", const std::string& date = "261204",
                       const std::string& org = "9912345678") {
        return Pad("H0000000" + org + name + date);
    }

    fs::path root;
    SessionContext session;
    test::ScriptedInteraction ui;
};

TEST_F(Ea12Test, TheFirstChosenRecordsOfEachKindAreReturnedRefused) {
    const std::string ea11 = Drop(Header(), {"1", "3", "1", "7", "1"});
    const std::string path = CreateEa12File(session, ui, ea11, 2, 1);
    ASSERT_FALSE(path.empty());
    EXPECT_EQ(ui.texts(), std::vector<std::string>{"파일명 : " + path + "으로 저장 되었습니다."});
    std::ifstream in(path, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), {});
    ASSERT_EQ(bytes.size(), 5u * 100u);
    EXPECT_EQ(bytes.substr(0, 32), "H00000009912345678EA121204261204");
    // new payer1 and payer3, then the cancellation payer2, renumbered.
    const std::vector<std::string> payers = {"payer1", "payer3", "payer2"};
    for (std::size_t i = 0; i < payers.size(); ++i) {
        const std::string rec = bytes.substr(100 * (i + 1), 100);
        EXPECT_EQ(rec.substr(0, 8), fmt::format("R{:07}", i + 1)) << i;
        EXPECT_EQ(rec.substr(25, 6), payers[i]) << i;
        EXPECT_EQ(rec.substr(79, 11), "NA017      ") << i;
    }
    EXPECT_EQ(bytes.substr(400, 50),
              "T9999999" + session.org_code + "EA121204" + "00000003" + "00000002" + "00000001");
}

TEST_F(Ea12Test, CountsAndFilesAreChecked) {
    const std::string ea11 = Drop(Header(), {"1", "3"});
    struct Case {
        std::string path;
        long long news, cancels;
        std::string message;
    };
    const std::vector<Case> cases = {
        {ea11, 0, 0, kEa12NoCountText},
        {ea11, 2, 0, kEa12TooManyNewText},
        {ea11, 1, 2, kEa12TooManyCancelText},
        {Drop(Header("EA111205"), {"1"}, "EA111211"), 1, 0, kEa11NameDateText},
        {Drop(Header("EA111206", "261207"), {"1"}, "EA111206"), 1, 0, kEa11NameDateText},
        {Drop(Header("EA111208", "261208", "1111111111"), {"1"}, "EA111208"), 1, 0,
         kEa11OtherInstitutionText},
        {Drop(Header("EA111209", "261209"), {"5"}, "EA111209"), 1, 0, kEa11BadRecordText},
        {Drop(Pad("X"), {"1"}, "EA111210"), 1, 0, kEa11BadRecordText},
    };
    for (const Case& c : cases) {
        ui.shown.clear();
        EXPECT_TRUE(CreateEa12File(session, ui, c.path, c.news, c.cancels).empty()) << c.message;
        EXPECT_EQ(ui.texts(), std::vector<std::string>{c.message});
    }
    EXPECT_FALSE(fs::exists(ExchangeFolder(session, "EA12") + "/EA121204"));
}

}  // namespace
}  // namespace qx
