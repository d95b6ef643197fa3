// Keyboard behaviour of the login window and the code drop-downs.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>

#include "core/session_context.h"
#include "db/database.h"
#include "platform/profile_ini.h"
#include "support/qt_application.h"
#include "ui/code_combo.h"
#include "ui/gui_interaction.h"
#include "ui/login/login_window.h"

namespace qx::ui {
namespace {

void App() {
    test::EnsureQtApplication();
}

// Records what would have been shown instead of opening message boxes.
class Recording : public GuiInteraction {
  public:
    void inform(const std::string& text, const std::string&) override { shown.push_back(text); }
    std::vector<std::string> shown;
};

TEST(LoginWindow, EnterMovesFromIdToPasswordAndAsksForMissingInput) {
    App();
    Database db;  // never reached: every case stops before the database
    SessionContext session;
    ProfileIni ini("/nonexistent/Login.ini");
    Recording ui;
    LoginWindow w(db, session, ini, ui);
    w.show();
    auto* id = w.findChild<QLineEdit*>("txtId");
    auto* pw = w.findChild<QLineEdit*>("txtPassword");
    ASSERT_TRUE(id && pw);

    id->setFocus();
    QTest::keyClick(id, Qt::Key_Return);
    EXPECT_TRUE(ui.shown.empty()) << "Enter in an empty id box does nothing";

    QTest::keyClicks(id, "demo");
    QTest::keyClick(id, Qt::Key_Return);
    QApplication::processEvents();
    EXPECT_TRUE(pw->hasFocus() || QApplication::focusWidget() == pw);

    QTest::keyClick(pw, Qt::Key_Return);
    EXPECT_TRUE(ui.shown.empty()) << "Enter in an empty password box does nothing";

    // The login button with a blank password asks for it.
    pw->setText("   ");
    QTest::mouseClick(w.findChild<QWidget*>("cmdLogin"), Qt::LeftButton);
    ASSERT_EQ(ui.shown.size(), 1u);
    EXPECT_EQ(ui.shown[0], "로그인 비밀번호를 입력하십시오.");
    id->clear();
    QTest::mouseClick(w.findChild<QWidget*>("cmdLogin"), Qt::LeftButton);
    EXPECT_EQ(ui.shown.back(), "로그인 아이디를 입력하십시오.");
}

TEST(CodeCombo, FirstEntryThenCodesAndSelection) {
    App();
    QComboBox combo;
    FillCodeCombo(&combo, {{"CMS출금", "1"}, {"신용카드", "5"}}, QStringLiteral("전체"));
    ASSERT_EQ(combo.count(), 3);
    EXPECT_EQ(combo.currentText(), QStringLiteral("전체"));
    EXPECT_EQ(combo.itemData(2).toString(), QStringLiteral("5"));
    SelectComboItem(&combo, QStringLiteral("신용카드"));
    EXPECT_EQ(combo.currentIndex(), 2);
    SelectComboItem(&combo, QString());
    EXPECT_EQ(combo.currentIndex(), 0);
}

}  // namespace
}  // namespace qx::ui
