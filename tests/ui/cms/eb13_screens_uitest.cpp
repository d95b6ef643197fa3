// The EB13 list and creation windows: default day, refusals shown and nothing
// written, a created file listed with its state.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTableWidget>
#include <QTest>
#include <QVBoxLayout>
#include <cstdlib>
#include <filesystem>

#include "cms/eb13/eb13_creation.h"
#include "cms/workspace/cms_folders.h"
#include "cms/workspace/head_office_gate.h"
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

// The window of an institution of its own with three new members, on
// Thursday 3 December 2026.
struct Eb13Window {
    Eb13Window() {
        test::EnsureQtApplication();
        db = test::ConnectTestDatabase();
        inst = test::CreateTestInstitution(*db, 1);
        db->setLogSchema(InstitutionSchema(inst.inx));
        session = test::SessionFor(inst);
        drive = fs::temp_directory_path() / ("qx-eb13-ui-" + inst.id);
        fs::remove_all(drive);
        session.SystemDrive = drive.string() + "/";
        session.prgstat[kTolvexOpen] = 0;
        test::PinServerClock(*db, "2026-12-03 10:00:00");
        for (int i = 0; i < 3; ++i) {
            db->ExecuteSql("insert into " + InstitutionSchema(inst.inx) +
                           ".member_user (username, bank_code, account_no, account_jumin) values "
                           "('홍길동', '0040000', '12345678901', '800101')");
        }
    }
    ~Eb13Window() {
        test::UnpinServerClock(*db);
        fs::remove_all(drive);
    }
    long long Files() {
        return db->scalarInt("select count(*) from " + InstitutionSchema(inst.inx) + ".ea13");
    }

    std::unique_ptr<Database> db;
    test::TestInstitution inst;
    SessionContext session;
    fs::path drive;
    test::ScriptedInteraction ui;
};

TEST(Eb13Screens, EnterAfterChangingTheDateNeverCreatesTheFile) {
    Eb13Window w;
    Eb13Screen list(*w.db, w.session, w.ui);
    Eb13CreationDialog* dialog = list.openCreation();
    ASSERT_NE(dialog, nullptr);
    dialog->show();
    dialog->activateWindow();
    QApplication::setActiveWindow(dialog);
    auto* create = dialog->findChild<QPushButton*>("cmdCreate");
    EXPECT_FALSE(create->isDefault());
    EXPECT_FALSE(create->autoDefault());

    // The person moves the day forward with the keyboard and presses Enter,
    // in the date box and then on the window itself.
    auto* date = dialog->findChild<QDateEdit*>("dtpFileDate");
    date->setFocus();
    date->setSelectedSection(QDateTimeEdit::DaySection);
    QTest::keyClick(date, Qt::Key_Up);
    EXPECT_EQ(date->date(), QDate(2026, 12, 4));
    QTest::keyClick(date, Qt::Key_Return);
    QTest::keyClick(date, Qt::Key_Enter);
    QTest::keyClick(dialog, Qt::Key_Return);
    EXPECT_EQ(w.Files(), 0);
    EXPECT_FALSE(fs::exists(ExchangeFolder(w.session, "EB13") + "/EB131204"));
    EXPECT_TRUE(w.ui.shown.empty());
    EXPECT_TRUE(dialog->isVisible()) << "Enter must not close the window either";

    // Only a click on the button creates.
    QTest::mouseClick(create, Qt::LeftButton);
    EXPECT_EQ(w.Files(), 1);
    dialog->close();
}

TEST(Eb13Screens, BranchLoginIsNotOfferedTheCreationWindow) {
    Eb13Window w;
    for (auto [brinx, aginx] : std::vector<std::pair<long long, long long>>{{1, 0}, {1, 1}}) {
        SessionContext branch = test::SessionFor(w.inst, brinx, aginx);
        branch.SystemDrive = w.session.SystemDrive;
        w.ui.shown.clear();
        Eb13Screen list(*w.db, branch, w.ui);
        QTest::mouseClick(list.findChild<QPushButton*>("cmdEb13Create"), Qt::LeftButton);
        EXPECT_EQ(list.findChild<Eb13CreationDialog*>(), nullptr);
        EXPECT_EQ(w.ui.texts(), std::vector<std::string>{kHeadOfficeOnlyFileText});
    }
    EXPECT_EQ(w.db->scalar("select group_concat(cms_status) from " + InstitutionSchema(w.inst.inx) +
                           ".member_user"),
              "0,0,0");
}

// On a 1024x600 screen the list keeps a usable search box and whole buttons.
TEST(Eb13Screens, SmallScreenKeepsTheSearchBoxAndButtonsWhole) {
    Eb13Window w;
    QWidget frame;
    auto* layout = new QVBoxLayout(&frame);
    auto* list = new Eb13Screen(*w.db, w.session, w.ui, &frame);
    layout->addWidget(list);
    // What the main window leaves for a screen at 1024x600 (frame, menu, bar).
    frame.resize(1000, 480);
    frame.show();
    QApplication::processEvents();
    EXPECT_LE(frame.minimumSizeHint().width(), 1000);
    EXPECT_GE(list->findChild<QLineEdit*>("txtSearch")->width(), 240);
    for (QPushButton* b : list->findChildren<QPushButton*>()) {
        if (!b->isVisible()) continue;
        EXPECT_GE(b->width(), b->sizeHint().width()) << b->text().toStdString();
        const QRect inFrame(b->mapTo(&frame, QPoint(0, 0)), b->size());
        EXPECT_TRUE(frame.rect().contains(inFrame)) << b->text().toStdString();
    }
    if (const char* out = std::getenv("QUORISDEX_SHOT_DIR")) {
        frame.grab().save(QString::fromUtf8(out) + "/frmDoc31-1000x480.png");
    }
}

}  // namespace
}  // namespace qx::ui
