#include <gtest/gtest.h>

#include <QLineEdit>
#include <QTest>

#include "support/qt_application.h"
#include "support/scripted_interaction.h"
#include "ui/institution/password_check_dialog.h"

namespace qx::ui {
namespace {

TEST(PasswordCheckDialog, AcceptsOnlyTheSameTextAndSaysSoOtherwise) {
    test::EnsureQtApplication();
    test::ScriptedInteraction ui;
    PasswordCheckDialog dialog(ui);
    dialog.prepare("abc123");
    dialog.show();
    QLineEdit* typed = dialog.typedBox();

    // Enter in an empty box does nothing.
    QTest::keyClick(typed, Qt::Key_Return);
    EXPECT_TRUE(ui.shown.empty());
    EXPECT_TRUE(dialog.isVisible());

    typed->setText("abc124");
    QTest::keyClick(typed, Qt::Key_Return);
    ASSERT_EQ(ui.shown.size(), 1u);
    EXPECT_EQ(ui.shown[0].text, "암호가 잘못되었습니다. 다시 시도하십시오");
    EXPECT_EQ(ui.shown[0].title, "비밀번호 확인");
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(typed->selectedText(), "abc124");

    typed->setText("abc123");
    QTest::keyClick(typed, Qt::Key_Return);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_FALSE(dialog.isVisible());

    // The typed box starts empty every time.
    dialog.prepare("other");
    EXPECT_TRUE(typed->text().isEmpty());
    dialog.show();
    dialog.reject();
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
}

}  // namespace
}  // namespace qx::ui
