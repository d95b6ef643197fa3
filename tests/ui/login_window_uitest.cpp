// Keyboard behaviour of the login window and the code drop-downs.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <filesystem>

#include "core/session_context.h"
#include "db/database.h"
#include "platform/profile_ini.h"
#include "platform/text_checks.h"
#include "session/post_login.h"
#include "support/qt_application.h"
#include "support/test_database.h"
#include "ui/code_combo.h"
#include "ui/gui_interaction.h"
#include "ui/login/login_window.h"
#include "ui/main/qt_translations.h"

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

TEST(LoginWindow, TextTheDatabaseCannotHoldIsRefusedBeforeItIsAsked) {
    App();
    Database db;  // never reached
    SessionContext session;
    ProfileIni ini("/nonexistent/Login.ini");
    Recording ui;
    LoginWindow w(db, session, ini, ui);
    w.show();
    auto* id = w.findChild<QLineEdit*>("txtId");
    auto* pw = w.findChild<QLineEdit*>("txtPassword");
    id->setText(QStringLiteral("demo") + QString::fromUtf8("😀"));
    pw->setFocus();
    QTest::keyClicks(pw, "demo1234");
    QTest::keyClick(pw, Qt::Key_Return);
    ASSERT_EQ(ui.shown, std::vector<std::string>{UnstorableTextMessage("아이디")});
    id->setText("demo");
    pw->setText(QString::fromUtf8("pw😀"));
    QTest::mouseClick(w.findChild<QWidget*>("cmdLogin"), Qt::LeftButton);
    EXPECT_EQ(ui.shown.back(), UnstorableTextMessage("비밀번호"));
    EXPECT_FALSE(w.succeeded());
}

// The subject takes the width; the number column stays narrow.
TEST(LoginWindow, NoticeSubjectsGetTheRoom) {
    App();
    Database db;
    SessionContext session;
    ProfileIni ini("/nonexistent/Login.ini");
    Recording ui;
    LoginWindow w(db, session, ini, ui);
    w.setNotices({{"TM1", "26-12-01", "공지사항 제목이 꽤 길어서 잘리기 쉬운 경우입니다", "123"}});
    w.resize(520, 380);
    w.show();
    QApplication::processEvents();
    auto* list = w.findChild<QTreeWidget*>("lstNotice");
    ASSERT_NE(list, nullptr);
    EXPECT_LE(list->columnWidth(2), 60);
    EXPECT_GT(list->columnWidth(1), list->viewport()->width() - 80 - 60 - 4);
}

TEST(LoginWindow, ShownInTheMiddleOfTheScreen) {
    App();
    Database db;
    SessionContext session;
    ProfileIni ini("/nonexistent/Login.ini");
    Recording ui;
    LoginWindow w(db, session, ini, ui);
    w.showCentred();
    const QPoint centre = QGuiApplication::primaryScreen()->availableGeometry().center();
    EXPECT_LE((w.geometry().center() - centre).manhattanLength(), 4);
}

// Qt's standard buttons read in Korean once its translations are loaded.
TEST(QtTranslations, MessageBoxButtonsAreKorean) {
    App();
    ASSERT_TRUE(InstallKoreanQtTranslations(*QCoreApplication::instance()));
    QMessageBox box(QMessageBox::Question, "확인", "질문",
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Ok | QMessageBox::Cancel);
    // The caption without its keyboard mnemonic ("예(&Y)").
    auto caption = [&box](QMessageBox::StandardButton which) {
        QString text = box.button(which)->text();
        return text.left(text.indexOf('(')).remove('&');
    };
    EXPECT_EQ(caption(QMessageBox::Yes), QStringLiteral("예"));
    EXPECT_EQ(caption(QMessageBox::No), QStringLiteral("아니요"));
    EXPECT_EQ(caption(QMessageBox::Ok), QStringLiteral("확인"));
    EXPECT_EQ(caption(QMessageBox::Cancel), QStringLiteral("취소"));
}

// A login the accounts accept but whose start-up fails ends the program:
// the message is shown, the login does not count (nothing is saved, no
// main window) and the window closes.
TEST(LoginWindow, FailedStartUpAfterTheLoginEndsIt) {
    App();
    auto db = test::ConnectTestDatabase();
    const auto root = std::filesystem::temp_directory_path() / "qx-login-startup";
    std::filesystem::remove_all(root);
    struct Case {
        const char* name;
        const char* breakIt;  // {schema} = the institution's schema
        bool databaseFailure;
    } cases[] = {
        {"schema missing", "drop database {schema}", false},
        {"code lists missing", "drop table {schema}.comboload", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto inst = test::CreateTestInstitution(*db);
        std::string sql = c.breakIt;
        sql.replace(sql.find("{schema}"), 8, InstitutionSchema(inst.inx));
        db->ExecuteSql(sql);
        SessionContext session;
        session.SystemDrive = (root / "drive").string() + "/";
        session.fileback_folder = (root / "back").string();
        ProfileIni ini((root / "Login.ini").string());
        Recording ui;
        LoginWindow w(*db, session, ini, ui);
        bool loggedIn = false;
        QObject::connect(&w, &LoginWindow::loggedIn, [&] { loggedIn = true; });
        w.show();
        w.loginWith(QString::fromStdString(inst.id), QString::fromStdString(inst.password));
        ASSERT_EQ(ui.shown.size(), 1u);
        if (c.databaseFailure) {
            EXPECT_NE(ui.shown[0].find("프로그램을 종료 합니다."), std::string::npos)
                << ui.shown[0];
        } else {
            EXPECT_EQ(ui.shown[0], kSchemaMissingMessage);
        }
        EXPECT_FALSE(w.succeeded());
        EXPECT_TRUE(w.abandoned());
        EXPECT_FALSE(loggedIn);
        EXPECT_FALSE(w.isVisible());
    }
    std::filesystem::remove_all(root);
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
