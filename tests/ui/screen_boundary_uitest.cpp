// The screen boundary: what an action throws is shown, never carried into
// the event loop; a failed statement ends the program with its message.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <stdexcept>

#include "core/session_context.h"
#include "db/database.h"
#include "platform/profile_ini.h"
#include "ui/gui_interaction.h"
#include "ui/login/login_window.h"
#include "ui/members/member_screen_fixture.h"

namespace qx::ui {
namespace {

using test_members::Recording;
using test_members::RunInEventLoop;

TEST(ScreenBoundary, EachKindOfFailureIsShownAndOnlyAFailedStatementEndsTheProgram) {
    qx::test::EnsureQtApplication();
    const DatabaseError failed("데이타베이스 연결에 실패 하였습니다.\n\n프로그램을 종료 합니다.",
                               1146, "no table");
    struct Case {
        const char* name;
        std::function<void()> action;
        bool ran;
        int exitCode;
        std::vector<std::string> shown;
    };
    const std::vector<Case> cases = {
        {"nothing thrown", [] {}, true, 0, {}},
        {"refused input",
         [] { throw std::invalid_argument("수금방식이 잘못되었습니다."); },
         false,
         0,
         {"수금방식이 잘못되었습니다."}},
        {"failed statement", [&] { throw failed; }, false, 1, {failed.userMessage()}},
        {"anything else",
         [] { throw std::runtime_error("disk full"); },
         false,
         0,
         {std::string(kUnexpectedFailureText) + "\n> 오류 정보 : disk full"}},
    };
    for (const auto& c : cases) {
        Recording ui;
        bool ran = !c.ran;
        const int code = RunInEventLoop([&] { ran = Guarded(ui, c.action); });
        EXPECT_EQ(ran, c.ran) << c.name;
        EXPECT_EQ(code, c.exitCode) << c.name;
        EXPECT_EQ(ui.shown, c.shown) << c.name;
    }
}

TEST(ScreenBoundary, LoginThatMeetsAFailedStatementIsReportedAndDoesNotCount) {
    qx::test::EnsureQtApplication();
    Database db;  // no connection: the first statement fails
    SessionContext session;
    ProfileIni ini("/nonexistent/Login.ini");
    Recording ui;
    LoginWindow w(db, session, ini, ui);
    w.show();
    auto* id = w.findChild<QLineEdit*>("txtId");
    auto* pw = w.findChild<QLineEdit*>("txtPassword");
    ASSERT_TRUE(id && pw);
    QTest::keyClicks(id, "demo");
    QTest::keyClicks(pw, "demo1234");
    const int code = RunInEventLoop([&] { QTest::keyClick(pw, Qt::Key_Return); });
    EXPECT_EQ(code, 1);
    ASSERT_EQ(ui.shown.size(), 1u);
    EXPECT_EQ(ui.shown[0].rfind("데이타베이스 연결에 실패 하였습니다.", 0), 0u) << ui.shown[0];
    EXPECT_FALSE(w.succeeded());
}

}  // namespace
}  // namespace qx::ui
