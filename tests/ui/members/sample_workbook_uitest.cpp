// The sample workbooks from the member list: each button opens its helper
// window on the workbook of the program folder and hands it to the
// desktop; a missing workbook gets its message and no window; nothing is
// written.
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "export/sample_workbooks.h"
#include "support/hand_made_cms_file.h"
#include "ui/export/sample_workbook_window.h"
#include "ui/members/member_screen_fixture.h"
#include "ui/members/member_screens.h"

namespace qx::ui {
namespace {

using test_members::Recording;
using SampleWorkbookTest = test_members::MemberScreenTest;
namespace fs = std::filesystem;

QWidget* OpenWindow(const char* name) {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == name && w->isVisible()) return w;
    return nullptr;
}

TEST_F(SampleWorkbookTest, EachButtonOpensItsWorkbookOrSaysItIsMissing) {
    std::vector<std::string> opened;
    auto& opener = SampleWorkbookWindow::Opener();
    const auto desktop = opener;
    opener = [&](const std::string& path) {
        opened.push_back(path);
        return true;
    };
    struct Case {
        SampleWorkbook which;
        const char *button, *window, *file;
    };
    const Case cases[] = {
        {SampleWorkbook::kAddUser, "cmdAddUserSample", "frmExpExcel", "expexcel/adduser.xls"},
        {SampleWorkbook::kEditMemberInfo, "cmdEditSample", "frmExpExcel2",
         "expexcel/editmeminfo.xls"},
    };
    Recording ui;
    MemberListScreen screen(*db, session, ui);
    screen.show();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.window);
        const fs::path file = folder / c.file;
        auto* button = screen.findChild<QPushButton*>(c.button);
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->text().toStdString(), SampleWorkbookTitle(c.which));

        // Not installed: the message names the file; no window opens.
        ui.shown.clear();
        QTest::mouseClick(button, Qt::LeftButton);
        EXPECT_EQ(ui.shown, std::vector<std::string>{SampleWorkbookMissingText(file.string())});
        EXPECT_EQ(OpenWindow(c.window), nullptr);

        fs::create_directories(file.parent_path());
        {
            std::ofstream out(file, std::ios::binary);
            ASSERT_TRUE(WriteSampleWorkbook(c.which, out));
        }
        const std::string before = qx::test::ReadAll(file);
        ui.shown.clear();
        QTest::mouseClick(button, Qt::LeftButton);
        QWidget* window = OpenWindow(c.window);
        ASSERT_NE(window, nullptr);
        EXPECT_TRUE(ui.shown.empty());
        auto* columns = window->findChild<QListWidget*>("lstColumns");
        ASSERT_NE(columns, nullptr);
        ASSERT_EQ(columns->count(), static_cast<int>(SampleWorkbookColumns(c.which).size()));
        EXPECT_EQ(columns->item(0)->text().toStdString(), SampleWorkbookColumns(c.which)[0].title);
        QTest::mouseClick(window->findChild<QPushButton*>("cmdOpen"), Qt::LeftButton);
        ASSERT_EQ(opened.size(), 1u);
        EXPECT_EQ(fs::path(opened[0]), file);
        opened.clear();

        // Taken away while the window is open: the message, nothing opened.
        fs::rename(file, file.string() + ".away");
        QTest::mouseClick(window->findChild<QPushButton*>("cmdOpen"), Qt::LeftButton);
        EXPECT_TRUE(opened.empty());
        EXPECT_EQ(ui.shown, std::vector<std::string>{SampleWorkbookMissingText(file.string())});
        fs::rename(file.string() + ".away", file);

        QTest::mouseClick(window->findChild<QPushButton*>("cmdClose"), Qt::LeftButton);
        QApplication::processEvents();
        EXPECT_EQ(OpenWindow(c.window), nullptr);
        EXPECT_EQ(qx::test::ReadAll(file), before);
        EXPECT_EQ(
            std::distance(fs::directory_iterator(file.parent_path()), fs::directory_iterator()),
            c.which == SampleWorkbook::kAddUser ? 1 : 2);
    }
    opener = desktop;
}

}  // namespace
}  // namespace qx::ui
