// The status screen's grids take the panels' columns, widths and alignments;
// buttons whose screens do not exist yet stay disabled.
#include <gtest/gtest.h>

#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <filesystem>
#include <fstream>

#include "cms/workspace/cms_folders.h"
#include "cms/workspace/cms_record.h"
#include "cms/workspace/head_office_gate.h"
#include "support/institution_fixture.h"
#include "support/qt_application.h"
#include "ui/cms/cms_status_screen.h"
#include "ui/gui_interaction.h"

namespace qx::ui {
namespace {

namespace fs = std::filesystem;

class Recording : public GuiInteraction {
  public:
    void inform(const std::string& text, const std::string&) override { shown.push_back(text); }
    bool confirm(const std::string& text, const std::string&) override {
        shown.push_back(text);
        return false;
    }
    std::vector<std::string> shown;
};

TEST(CmsStatusScreen, GridsButtonsAndHighlight) {
    test::EnsureQtApplication();
    auto db = test::ConnectTestDatabase();
    const test::TestInstitution inst = test::CreateTestInstitution(*db, 1);
    const fs::path dir = fs::temp_directory_path() / ("qx-status-screen-" + inst.id);
    fs::remove_all(dir);
    SessionContext session = test::SessionFor(inst);
    session.SystemDrive = dir.string() + "/";
    session.fileback_folder = (dir / "fileback").string();
    db->ExecuteSql("insert into " + InstitutionSchema(inst.inx) +
                   ".ea13 (makedate, filename, create_cnt, delete_cnt, pross_stat, send_stat) "
                   "values (unix_timestamp(), 'EB13261204', 12, 3, '0', '0')");
    Recording ui;

    {
        CmsStatusScreen screen(*db, session, ui);
        auto* eb11 = screen.findChild<QTableWidget*>("grdEb11");
        auto* eb13 = screen.findChild<QTableWidget*>("grdEb13");
        auto* eb21 = screen.findChild<QTableWidget*>("grdEb21");
        ASSERT_TRUE(eb11 && eb13 && eb21);
        EXPECT_EQ(eb11->columnCount(), 7);
        const std::vector<int> twips{1800, 1400, 1000, 1000, 1000, 1000, 5400};
        for (int c = 0; c < 7; ++c) EXPECT_GE(eb11->columnWidth(c), twips[c] / 15) << c;
        EXPECT_EQ(eb13->horizontalHeaderItem(2)->text().toStdString(), "수신예정일");
        EXPECT_EQ(eb21->horizontalHeaderItem(4)->text().toStdString(), "청구금액");
        ASSERT_EQ(eb13->rowCount(), 1);
        EXPECT_EQ(eb13->item(0, 1)->text().toStdString(), "EB13261204");
        EXPECT_EQ(eb13->item(0, 3)->textAlignment(), int(Qt::AlignRight | Qt::AlignVCenter));
        EXPECT_EQ(eb13->item(0, 1)->textAlignment(), int(Qt::AlignCenter));
        EXPECT_EQ(eb13->item(0, 5)->text().toStdString(), "파일송신전");
        EXPECT_FALSE(screen.findChild<QLabel*>("lblEb11")->property("highlighted").toBool());

        for (const char* name : {"cmdEb11", "cmdEb13", "cmdEb21"}) {
            EXPECT_FALSE(screen.findChild<QPushButton*>(name)->isEnabled()) << name;
        }
        // Whoever opens the EB13/EB14 screen connects; then the button works.
        int opened = 0;
        QObject::connect(&screen, &CmsStatusScreen::openEb13Screen, [&opened] { ++opened; });
        auto* eb13Button = screen.findChild<QPushButton*>("cmdEb13");
        EXPECT_TRUE(eb13Button->isEnabled());
        QTest::mouseClick(eb13Button, Qt::LeftButton);
        EXPECT_EQ(opened, 1);
        QObject::connect(&screen, &CmsStatusScreen::openEb21Screen, [&opened] { opened += 10; });
        auto* eb21Button = screen.findChild<QPushButton*>("cmdEb21");
        EXPECT_TRUE(eb21Button->isEnabled());
        QTest::mouseClick(eb21Button, Qt::LeftButton);
        EXPECT_EQ(opened, 11);
    }

    // A waiting EB11 file lights the caption up.
    const std::string org = inst.org_code;
    const CivilDate d{2026, 12, 4};
    std::ofstream(fs::path(MakeExchangeFolder(session, "EB11")) / "EB111204", std::ios::binary)
        << HeaderRecord("EB11", org, d) + TrailerRecord("EB11", org, d, {{0, 8}});
    CmsStatusScreen screen(*db, session, ui);
    EXPECT_TRUE(screen.findChild<QLabel*>("lblEb11")->property("highlighted").toBool());
    EXPECT_EQ(screen.findChild<QTableWidget*>("grdEb11")->rowCount(), 1);
    EXPECT_TRUE(ui.shown.empty());
    fs::remove_all(dir);
}

TEST(CmsStatusScreen, BranchAndAgencyLoginsAreRefusedAndNothingIsTidied) {
    test::EnsureQtApplication();
    auto db = test::ConnectTestDatabase();
    const test::TestInstitution inst = test::CreateTestInstitution(*db, 1);
    const fs::path dir = fs::temp_directory_path() / ("qx-status-branch-" + inst.id);
    fs::remove_all(dir);
    // An applied EB13 whose files the head office's screen would delete.
    db->ExecuteSql("insert into " + InstitutionSchema(inst.inx) +
                   ".ea13 (makedate, filename, pross_stat) values (0, 'EB13261204', '1')");
    for (auto [brinx, aginx] : std::vector<std::pair<long long, long long>>{{1, 0}, {1, 1}}) {
        SessionContext session = test::SessionFor(inst, brinx, aginx);
        session.SystemDrive = dir.string() + "/";
        session.LoginId = inst.id;
        session.fileback_folder = (dir / "fileback").string();
        const std::string eb13 = MakeExchangeFolder(session, "EB13") + "/EB131204";
        std::ofstream(eb13, std::ios::binary) << HeaderRecord("EB13", inst.org_code, {2026, 12, 4});
        Recording ui;
        CmsStatusScreen screen(*db, session, ui);
        EXPECT_EQ(ui.shown, std::vector<std::string>{kHeadOfficeOnlyFileText});
        EXPECT_EQ(screen.findChild<QTableWidget*>("grdEb13")->rowCount(), 0);
        EXPECT_TRUE(fs::exists(eb13)) << brinx << "/" << aginx;
    }
    fs::remove_all(dir);
}

}  // namespace
}  // namespace qx::ui
