// frmDoc15 as a person uses it: every selector change stores at once and only
// its own position, the rules between selectors show on the screen, and the
// apply button stores what the lower half of the screen holds.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <filesystem>

#include "db/database.h"
#include "members/program_settings.h"
#include "platform/profile_ini.h"
#include "platform/text_checks.h"
#include "support/screen_test.h"
#include "ui/settings/program_settings_screen.h"

namespace qx::ui {
namespace {

namespace fs = std::filesystem;

class ProgramSettingsScreenTest : public test::ScreenTest {
  protected:
    void SetUp() override {
        db_->ExecuteSql(
            "update quorisdex.admin_company set cms_set='000000000000001', monthdivide='Y', "
            "month_max=0, sendname='', installment_chk_use='N', autofirtday='[0],[0],[0],[0],[0]', "
            "autosectday='', autoopt='', credit_autoday='[0],[0],[0],[0],[0]', credit_autoopt='', "
            "kftc_autoday='[0],[0],[0],[0],[0]', kftc_autoopt='' where inx=?",
            {inst_.inx});
        dir_ = fs::temp_directory_path() / ("qx-frmDoc15-" + std::to_string(inst_.inx));
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        session_ = test::SessionFor(inst_);
        session_.AppPath = dir_.string() + "/";
        session_.SystemDrive = (dir_ / "drive").string() + "/";
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::unique_ptr<ProgramSettingsScreen> Screen() {
        return std::make_unique<ProgramSettingsScreen>(*db_, session_, ui_);
    }
    static QComboBox* Selector(QWidget& screen, int position) {
        return Find<QComboBox>(screen, QStringLiteral("cmsSet%1").arg(position));
    }
    std::string Column(const std::string& column) {
        return db_->scalar("select " + column + " from quorisdex.admin_company where inx=?",
                           {inst_.inx});
    }
    void SetColumn(const std::string& column, const std::string& value) {
        db_->ExecuteSql("update quorisdex.admin_company set " + column + "=? where inx=?",
                        {value, inst_.inx});
    }
    ProfileIni Ini() const { return ProfileIni((dir_ / "Login.ini").string()); }

    fs::path dir_;
    SessionContext session_;
};

TEST_F(ProgramSettingsScreenTest, ShowsTheStoredPositions) {
    SetColumn("cms_set", "410211021110000");
    auto screen = Screen();
    const std::pair<int, int> shown[] = {{1, 4}, {2, 1}, {3, 0}, {4, 2},  {5, 1}, {6, 1},
                                         {7, 0}, {8, 2}, {9, 1}, {10, 1}, {11, 1}};
    for (const auto& [position, index] : shown)
        EXPECT_EQ(Selector(*screen, position)->currentIndex(), index) << position;
    EXPECT_TRUE(Find<QCheckBox>(*screen, "itemsUnused")->isChecked());
    // Showing writes nothing.
    EXPECT_EQ(Column("cms_set"), "410211021110000");
    EXPECT_TRUE(ui_.shown.empty());
}

TEST_F(ProgramSettingsScreenTest, EachSelectorWritesExactlyItsOwnPosition) {
    auto screen = Screen();
    Selector(*screen, 9)->setCurrentIndex(2);
    EXPECT_EQ(Column("cms_set"), "000000002000001");
    Selector(*screen, 4)->setCurrentIndex(1);
    EXPECT_EQ(Column("cms_set"), "000100002000001");
    Selector(*screen, 11)->setCurrentIndex(1);
    Selector(*screen, 1)->setCurrentIndex(4);
    EXPECT_EQ(Column("cms_set"), "400100002010001");
    // Ticking "품목 사용안함" stores '0'; the switch in memory follows.
    auto* items = Find<QCheckBox>(*screen, "itemsUnused");
    EXPECT_FALSE(items->isChecked());
    items->setChecked(true);
    EXPECT_EQ(Column("cms_set"), "400100002010000");
    EXPECT_EQ(session_.prgstat[kItemsUnused], 1);
    items->setChecked(false);
    EXPECT_EQ(Column("cms_set"), "400100002010001");
    EXPECT_EQ(session_.prgstat[kItemsUnused], 0);
    EXPECT_TRUE(ui_.shown.empty());
}

TEST_F(ProgramSettingsScreenTest, ShortFlagStringGrowsWithZeros) {
    SetColumn("cms_set", "12");
    auto screen = Screen();
    Selector(*screen, 6)->setCurrentIndex(1);
    EXPECT_EQ(Column("cms_set"), "120001");
}

TEST_F(ProgramSettingsScreenTest, SummedBillingRefusesUnpaidOnlyPartialFromEitherSide) {
    auto screen = Screen();
    auto* billing = Selector(*screen, 1);
    auto* partial = Selector(*screen, 4);

    billing->setCurrentIndex(2);
    ASSERT_TRUE(ui_.shown.empty());
    partial->setCurrentIndex(2);
    ASSERT_EQ(ui_.shown.size(), 1u);
    EXPECT_EQ(ui_.shown[0].text, kSummedWithUnpaidPartialText);
    EXPECT_EQ(ui_.shown[0].title, "확인");
    EXPECT_EQ(partial->currentIndex(), 0);
    EXPECT_EQ(Column("cms_set"), "200000000000001");

    ui_.shown.clear();
    billing->setCurrentIndex(0);
    partial->setCurrentIndex(2);
    EXPECT_EQ(Column("cms_set"), "000200000000001");
    billing->setCurrentIndex(2);
    ASSERT_EQ(ui_.shown.size(), 1u);
    EXPECT_EQ(ui_.shown[0].text, kSummedWithUnpaidPartialText);
    EXPECT_EQ(billing->currentIndex(), 2);
    EXPECT_EQ(partial->currentIndex(), 0);
    EXPECT_EQ(Column("cms_set"), "200000000000001");
}

TEST_F(ProgramSettingsScreenTest, PreviousMonthForcesAutoSalesOffAndDisablesIt) {
    auto screen = Screen();
    auto* month = Find<QComboBox>(*screen, "monthDivide");
    auto* autoSales = Selector(*screen, 7);
    EXPECT_TRUE(autoSales->isEnabled());
    EXPECT_EQ(autoSales->currentIndex(), 0);

    month->setCurrentIndex(1);
    EXPECT_EQ(Column("monthdivide"), "N");
    EXPECT_EQ(Column("cms_set"), "000000100000001");
    EXPECT_EQ(autoSales->currentIndex(), 1);
    EXPECT_FALSE(autoSales->isEnabled());

    month->setCurrentIndex(0);
    EXPECT_EQ(Column("monthdivide"), "Y");
    EXPECT_TRUE(autoSales->isEnabled());
    EXPECT_EQ(autoSales->currentIndex(), 1);
    EXPECT_EQ(Column("cms_set"), "000000100000001");
    EXPECT_TRUE(ui_.shown.empty());
}

TEST_F(ProgramSettingsScreenTest, OpeningWithPreviousMonthCorrectsStoredAutoSales) {
    SetColumn("monthdivide", "N");
    SetColumn("cms_set", "200000000000001");
    auto screen = Screen();
    auto* autoSales = Selector(*screen, 7);
    EXPECT_EQ(autoSales->currentIndex(), 1);
    EXPECT_FALSE(autoSales->isEnabled());
    EXPECT_EQ(Column("cms_set"), "200000100000001");
}

TEST_F(ProgramSettingsScreenTest, SwitchesAreWrittenAtOnceAndDesktopSwitchesInMemory) {
    auto screen = Screen();
    Find<QCheckBox>(*screen, "instalmentCancel")->setChecked(true);
    EXPECT_EQ(Column("installment_chk_use"), "Y");
    EXPECT_EQ(session_.installment_chk_use, "Y");
    Find<QComboBox>(*screen, "virtualAccount")->setCurrentIndex(1);
    EXPECT_EQ(Column("vir_prgcre"), "1");
    EXPECT_TRUE(session_.virtual_account_switch);

    auto* monthView = Find<QCheckBox>(*screen, "MONTHVIEW");
    ASSERT_TRUE(monthView->isChecked());
    monthView->setChecked(false);
    EXPECT_EQ(session_.prgstat[kMonthView], 0);
    EXPECT_EQ(Ini().read("PRGSTAT", "MONTHVIEW"), "NO");
    auto* autoLogin = Find<QCheckBox>(*screen, "AUTOLOGIN");
    autoLogin->setChecked(true);
    EXPECT_EQ(session_.prgstat[kAutoLogin], 1);
    EXPECT_EQ(Ini().read("PRGSTAT", "AUTOLOGIN"), "YES");
    EXPECT_TRUE(ui_.shown.empty());
}

TEST_F(ProgramSettingsScreenTest, ApplyStoresScheduleWithoutRepeatedDaysCapAndCompanyName) {
    auto screen = Screen();
    Selector(*screen, 8)->setCurrentIndex(kAutoFileCreation);
    const int days[] = {5, 10, 5, 0, 10};
    for (int i = 0; i < 5; ++i)
        Find<QComboBox>(*screen, QStringLiteral("autoDay%1").arg(i + 1))->setCurrentIndex(days[i]);
    Find<QComboBox>(*screen, "autoTarget")->setCurrentIndex(1);
    Find<QLineEdit>(*screen, "FILEBACK")->setText(QString::fromStdString((dir_ / "back").string()));
    Find<QLineEdit>(*screen, "monthMax")->setText("3");
    Find<QLineEdit>(*screen, "sendname")->setText(QStringLiteral("O'Brien 상사"));
    Find<QPushButton>(*screen, "applyButton")->click();

    ASSERT_EQ(ui_.texts(),
              (std::vector<std::string>{kAutoWithdrawalAppliedText, kSettingsAppliedText}));
    EXPECT_EQ(ui_.shown.back().title, "확인");
    EXPECT_EQ(Column("autofirtday"), "[5],[10],[0],[0],[0]");
    EXPECT_EQ(Column("autoopt"), "Y1");
    EXPECT_EQ(Column("credit_autoday"), "[0],[0],[0],[0],[0]");
    EXPECT_EQ(Column("month_max"), "3");
    EXPECT_EQ(session_.month_max, 3);
    EXPECT_EQ(Column("sendname"), "O'Brien 상사");
    EXPECT_EQ(Ini().read("SMS", "SENDNAME"), "O'Brien 상사");
    EXPECT_EQ(Ini().read("FILEFOLDER", "FILEBACK"), (dir_ / "back").string());
    EXPECT_TRUE(fs::is_directory(dir_ / "back" / inst_.id / "EB21"));
    EXPECT_TRUE(fs::is_directory(dir_ / "drive" / "vornadir" / inst_.id / "EI13"));
    // The screen shows what was stored: the repeated days are gone.
    const int stored[] = {5, 10, 0, 0, 0};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(Find<QComboBox>(*screen, QStringLiteral("autoDay%1").arg(i + 1))->currentIndex(),
                  stored[i]);

    // No day chosen for the card service: all "[0]" and the use flag off.
    ui_.shown.clear();
    Find<QComboBox>(*screen, "autoService")->setCurrentIndex(1);
    Find<QComboBox>(*screen, "autoDay1")->setCurrentIndex(0);
    Find<QPushButton>(*screen, "applyButton")->click();
    EXPECT_EQ(Column("credit_autoday"), "[0],[0],[0],[0],[0]");
    EXPECT_EQ(Column("credit_autoopt"), "N0");
    EXPECT_EQ(Column("autofirtday"), "[5],[10],[0],[0],[0]");
    EXPECT_EQ(Find<QComboBox>(*screen, "autoService")->currentIndex(), 1);
}

TEST_F(ProgramSettingsScreenTest, ScheduleIsNotStoredUnlessFilesAreMadeAutomatically) {
    auto screen = Screen();
    Selector(*screen, 8)->setCurrentIndex(1);
    Find<QComboBox>(*screen, "autoDay1")->setCurrentIndex(7);
    Find<QLineEdit>(*screen, "monthMax")->setText("0");
    Find<QPushButton>(*screen, "applyButton")->click();
    EXPECT_EQ(ui_.texts(),
              (std::vector<std::string>{kAutoWithdrawalNotAutomaticText, kSettingsAppliedText}));
    EXPECT_EQ(Column("autofirtday"), "[0],[0],[0],[0],[0]");
    EXPECT_EQ(Column("autoopt"), "");
    EXPECT_EQ(Column("month_max"), "0");
}

TEST_F(ProgramSettingsScreenTest, BadCapIsNotWrittenTheRestIsAndTheScreenKeepsWhatWasTyped) {
    auto screen = Screen();
    // Hangul cannot be typed key by key here; the cap is.
    Find<QLineEdit>(*screen, "sendname")->setText(QStringLiteral("새이름"));
    auto* cap = Find<QLineEdit>(*screen, "monthMax");
    cap->clear();
    cap->setFocus();
    QTest::keyClicks(cap, "3m");
    QTest::mouseClick(Find<QPushButton>(*screen, "applyButton"), Qt::LeftButton);
    ASSERT_EQ(ui_.texts(),
              (std::vector<std::string>{kMonthCountInvalidText, kSettingsAppliedText}));
    EXPECT_EQ(cap->text(), QStringLiteral("3m"));
    EXPECT_EQ(Column("month_max"), "0");
    EXPECT_EQ(Column("sendname"), "새이름");
    EXPECT_EQ(Ini().read("SMS", "SENDNAME", "none"), "새이름");
}

TEST_F(ProgramSettingsScreenTest, EmojiInTheCompanyNameIsRefusedAndNothingChanges) {
    SetColumn("sendname", "옛상사");
    ASSERT_TRUE(Ini().write("SMS", "SENDNAME", "옛상사"));
    auto screen = Screen();
    auto* name = Find<QLineEdit>(*screen, "sendname");
    name->setText(QStringLiteral("상사") + QString::fromUtf8("😀"));
    Find<QLineEdit>(*screen, "monthMax")->setText("5");
    QTest::mouseClick(Find<QPushButton>(*screen, "applyButton"), Qt::LeftButton);
    EXPECT_EQ(ui_.texts(), std::vector<std::string>{UnstorableTextMessage("회사명")});
    EXPECT_EQ(Column("sendname"), "옛상사");
    EXPECT_EQ(Column("month_max"), "0");
    EXPECT_EQ(Ini().read("SMS", "SENDNAME"), "옛상사");
}

}  // namespace
}  // namespace qx::ui
