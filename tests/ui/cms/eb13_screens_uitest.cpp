// The EB13 list and creation windows: default day, refusals shown and nothing
// written, a created file listed with its state.
#include <gtest/gtest.h>

#include <QDateEdit>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QTableWidget>
#include <QTest>
#include <filesystem>

#include "cms/eb13/eb13_creation.h"
#include "cms/workspace/cms_folders.h"
#include "support/institution_fixture.h"
#include "support/qt_application.h"
#include "support/scripted_interaction.h"
#include "ui/cms/eb13_creation_dialog.h"
#include "ui/cms/eb13_screen.h"

namespace qx::ui {
namespace {

namespace fs = std::filesystem;

TEST(Eb13Screens, CreateFromTheWindowThenSeeTheFileListed) {
    test::EnsureQtApplication();
    auto db = test::ConnectTestDatabase();
    const test::TestInstitution inst = test::CreateTestInstitution(*db, 1);
    db->setLogSchema(InstitutionSchema(inst.inx));
    SessionContext session = test::SessionFor(inst);
    const fs::path drive = fs::temp_directory_path() / ("qx-eb13-ui-" + inst.id);
    fs::remove_all(drive);
    session.SystemDrive = drive.string() + "/";
    // Thursday morning: the clearing house's usual day lies behind, so the
    // window starts on today.
    test::PinServerClock(*db, "2026-12-03 10:00:00");
    // Not sending after creation: the window closes by offering to go back.
    session.prgstat[kTolvexOpen] = 0;
    test::ScriptedInteraction ui;

    Eb13Screen list(*db, session, ui);
    auto* waiting = list.findChild<QLabel*>("lblWaiting");
    EXPECT_EQ(waiting->text().toStdString(), "미처리: 0건 / 미수신: 0건");
    list.findChild<QPushButton*>("cmdEb13Create")->click();
    EXPECT_EQ(ui.texts(), std::vector<std::string>{"신규신청 또는 해지 대상이 없습니다."});

    for (int i = 0; i < 3; ++i) {
        db->ExecuteSql("insert into " + InstitutionSchema(inst.inx) +
                       ".member_user (username, bank_code, account_no, account_jumin) values "
                       "('홍길동', '0040000', '12345678901', '800101')");
    }
    ui.shown.clear();
    Eb13CreationDialog* dialog = list.openCreation();
    ASSERT_NE(dialog, nullptr);
    auto* date = dialog->findChild<QDateEdit*>("dtpFileDate");
    EXPECT_EQ(date->date(), QDate(2026, 12, 3));
    EXPECT_EQ(dialog->findChild<QLabel*>("lblCount")->text().toStdString(), "3 건");
    EXPECT_EQ(dialog->findChild<QTableView*>("grdTargets")->model()->rowCount(), 3);

    date->setDate(QDate(2026, 12, 5));
    dialog->findChild<QPushButton*>("cmdCreate")->click();
    EXPECT_EQ(ui.texts(), std::vector<std::string>{kEb13HolidayText});
    EXPECT_FALSE(fs::exists(ExchangeFolder(session, "EB13") + "/EB131205"));

    // Yes to going back closes the window.
    ui.shown.clear();
    ui.answers = {true};
    date->setDate(QDate(2026, 12, 4));
    dialog->findChild<QPushButton*>("cmdCreate")->click();
    ASSERT_EQ(ui.shown.size(), 1u);
    EXPECT_NE(ui.shown[0].text.find(kEb13ReturnQuestion), std::string::npos);
    EXPECT_TRUE(fs::exists(ExchangeFolder(session, "EB13") + "/EB131204"));
    QTest::qWait(10);

    list.refresh();
    auto* files = list.findChild<QTableWidget*>("grdFiles");
    ASSERT_EQ(files->rowCount(), 1);
    EXPECT_EQ(files->item(0, 0)->text().toStdString(), "EB13261204");
    EXPECT_EQ(files->item(0, 1)->text().toStdString(), "3");
    EXPECT_EQ(files->item(0, 7)->text().toStdString(), "파일송신전");
    EXPECT_EQ(waiting->text().toStdString(), "미처리: 0건 / 미수신: 1건");

    test::UnpinServerClock(*db);
    fs::remove_all(drive);
}

}  // namespace
}  // namespace qx::ui
