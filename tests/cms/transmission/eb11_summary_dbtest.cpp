// The main window's EB11 line, asked from the real library against a
// simulated clearing house: the mark follows the file from issued to
// received, applied and answered.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "center.h"
#include "cms/transmission/eb11_summary.h"
#include "cms/transmission/kftc_transfer.h"
#include "cms/workspace/cms_folders.h"
#include "db/database.h"
#include "db/server_clock.h"
#include "support/hand_made_cms_file.h"
#include "support/institution_fixture.h"
#include "support/scripted_interaction.h"
#include "support/test_database.h"

namespace qx {
namespace {

namespace fs = std::filesystem;
using test::Pad;

TEST(Eb11MarkTest, EachStateHasItsMark) {
    const struct {
        const char* code;
        long long unanswered, answered;
        bool eb12Held;
        const char* mark;
    } cases[] = {
        {"06", 0, 0, false, " ×"},  // not fetched yet
        {"09", 0, 0, false, " □"},  // expired
        {"07", 0, 0, false, " ※"},  // a code nobody knows
        {"", 3, 0, false, " ※"},
        {"08", 0, 0, false, " ○"},  // fetched, not applied
        {"08", 2, 1, false, " ◎"},  // applied, the answer is due
        {"08", 2, 0, true, " ◎"},
        {"08", 0, 3, true, " √"},   // answered and held by the clearing house
        {"08", 0, 3, false, " △"},  // answered here, but the clearing house has nothing
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.code) + " " + std::to_string(c.unanswered) + "/" +
                     std::to_string(c.answered));
        EXPECT_EQ(Eb11Mark(c.code, c.unanswered, c.answered, c.eb12Held), c.mark);
    }
}

class Eb11SummaryTest : public ::testing::Test {
  protected:
    void SetUp() override {
        db = test::ConnectTestDatabase();
        inst = test::SharedInstitution(*db, 1);
        db->setLogSchema(InstitutionSchema(inst.inx));
        session = test::SessionFor(inst);
        root = fs::temp_directory_path() / ("qx-eb11-summary-" + std::to_string(inst.inx));
        fs::remove_all(root);
        fs::create_directories(root / "drive");
        session.SystemDrive = (root / "drive").string() + "/";
        setenv("CMSCOMM_CENTER", (root / "center").c_str(), 1);
        ASSERT_TRUE(lib.load(QUORISDEX_CMSCOMM_LIB)) << lib.loadError();
        center = std::make_unique<center::Center>((root / "center").string());
        ReadServerDate(*db, session);
        const std::string d = session.server_date;  // yy-mm-dd
        yyyymmdd = "20" + d.substr(0, 2) + d.substr(3, 2) + d.substr(6, 2);
        name = "EB11" + yyyymmdd.substr(4);
        db->ExecuteSql("delete from " + InstitutionSchema(inst.inx) + ".file_ea11");
    }
    void TearDown() override { fs::remove_all(root); }

    // The line after the query time (hh:nn:ss).
    std::string Summary() {
        const auto text = KftcEb11Summary(*db, session, ui, lib);
        EXPECT_TRUE(text) << ::testing::PrintToString(ui.texts());
        if (!text) return {};
        EXPECT_EQ((*text)[2], ':');
        EXPECT_EQ((*text)[5], ':');
        return text->substr(8);
    }

    std::unique_ptr<Database> db;
    test::TestInstitution inst;
    SessionContext session;
    test::ScriptedInteraction ui;
    KftcLibrary lib;
    std::unique_ptr<center::Center> center;
    fs::path root;
    std::string yyyymmdd, name;
};

TEST_F(Eb11SummaryTest, MarkFollowsTheFileFromIssuedToAnswered) {
    EXPECT_EQ(Summary(), " 대상없음");

    const std::string yymmdd = yyyymmdd.substr(2);
    const std::string eb11 = Pad("H00000000" + Pad(inst.org_code, 10) + name + yymmdd, 120) +
                             Pad("R00000001" + Pad(inst.org_code, 10) + yymmdd + "1", 120) +
                             Pad("T99999999" + Pad(inst.org_code, 10) + name + "00000001", 120);
    ASSERT_EQ(center->IssueFile(inst.org_code, name, yyyymmdd, eb11).code, 0);
    EXPECT_EQ(Summary(), " ×[0] " + name);

    KftcTransfer t(*db, session, ui, lib);
    ASSERT_TRUE(t.Start());
    ASSERT_TRUE(t.Receive(name, yyyymmdd));
    t.Close();
    EXPECT_EQ(Summary(), " ○[0] " + name);

    const std::string table = InstitutionSchema(inst.inx) + ".file_ea11";
    db->ExecuteSql(
        "insert into " + table + " (seq_num, reg_date, pross_stat) values (1, ?, '0'), (2, ?, '0')",
        {yyyymmdd, yyyymmdd});
    EXPECT_EQ(Summary(), " ◎[2] " + name);
    // The tenth character is the mark the EB12 send replaces.
    const auto text = KftcEb11Summary(*db, session, ui, lib);
    ASSERT_TRUE(text);
    EXPECT_EQ(text->substr(8, std::string(" ◎").size()), " ◎");

    // The EB12 answer sent: the rows are answered and the clearing house holds it.
    const test::HandMadeEb13 eb12{inst.org_code,
                                  yyyymmdd.substr(4),
                                  yymmdd,
                                  {"1" + Pad("0000000101", 20) + "0040000" + Pad("11111111", 16)}};
    const std::string eb12Name = "EB12" + yyyymmdd.substr(4);
    std::ofstream(fs::path(MakeExchangeFolder(session, "EB12")) / eb12Name, std::ios::binary)
        << eb12.header("EB12") + eb12.data(0, "") + eb12.trailer("EB12", 1, 1, 0);
    KftcTransfer sender(*db, session, ui, lib);
    sender.pause = [](int) {};
    ASSERT_TRUE(sender.Start());
    ASSERT_TRUE(sender.SendOne(eb12Name)) << ::testing::PrintToString(ui.texts());
    sender.Close();
    ui.shown.clear();
    EXPECT_EQ(Summary(), " √[0] " + name);

    ASSERT_EQ(center->SetState(inst.org_code, name, yyyymmdd, "09").code, 0);
    EXPECT_EQ(Summary(), " □[0] " + name);
    EXPECT_TRUE(std::none_of(ui.shown.begin(), ui.shown.end(), [](const auto& s) {
        return !s.question;
    })) << ::testing::PrintToString(ui.texts());
}

}  // namespace
}  // namespace qx
