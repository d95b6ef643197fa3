// Saving grids as Excel files: frmMSHtoExcel's boxes as a person ticks them,
// the permission rule on a real institution, and the member list's button
// through both dialogs.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QFileDialog>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "export/column_choice.h"
#include "platform/codepage.h"
#include "support/screen_test.h"
#include "ui/export/column_chooser_dialog.h"
#include "ui/export/grid_export.h"
#include "ui/gui_interaction.h"
#include "ui/members/member_screen_fixture.h"
#include "ui/members/member_screens.h"

namespace qx::ui {
namespace {

namespace fs = std::filesystem;
using test_members::Recording;

std::string Slurp(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return FromCp949(s.str());
}

class GridExportTest : public test::ScreenTest {
  protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("qx_grid_export_" + std::to_string(::getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir);
        session = test::SessionFor(inst_);
        session.excel_folder = (dir / "excel").string();
        grid.setColumnCount(4);
        grid.setHorizontalHeaderLabels({"납부자번호", "고객명", "계좌번호", "미수금"});
        grid.setRowCount(2);
        const char* rows[2][4] = {{"0000000001", "홍길동", "110-1", "1,234"},
                                  {"0000000002", "<b>A&B</b>", "110-2", "-"}};
        for (int r = 0; r < 2; ++r)
            for (int c = 0; c < 4; ++c) {
                auto* item = new QTableWidgetItem(QString::fromUtf8(rows[r][c]));
                if (c == 3) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
                grid.setItem(r, c, item);
            }
        grid.horizontalHeader()->resizeSection(1, 100);  // 1,500 twips
    }
    void TearDown() override {
        fs::remove_all(dir);
        SetPermit("0");
    }
    void SetPermit(const std::string& value) {
        db_->ExecuteSql("update quorisdex.admin_company set xls_acnt_permit=? where inx=?",
                        {value, inst_.inx});
    }
    // Dialogs that tick every offered column and save to `target`.
    GridExportDialogs TickAll(const fs::path& target) {
        GridExportDialogs d;
        d.chooseColumns = [](const std::vector<ExportColumn>&, const std::vector<int>& offered,
                             const std::vector<int>&) {
            return std::optional<std::vector<int>>(offered);
        };
        d.chooseFile = [this, target](const QString& caption, const QString& proposed,
                                      const QString& filters) {
            askedCaption = caption;
            askedProposed = proposed;
            askedFilters = filters;
            return QString::fromStdString(target.string());
        };
        return d;
    }

    fs::path dir;
    SessionContext session;
    QTableWidget grid;
    Recording ui;
    QString askedCaption, askedProposed, askedFilters;
};

TEST_F(GridExportTest, ChooserTicksClearsAndRefusesNothingTicked) {
    const std::vector<ExportColumn> columns = {{"고객명"}, {"계좌번호"}, {"미수금"}};
    ColumnChooserDialog dialog(columns, {0, 1, 2}, {0, 2}, ui);
    dialog.resize(600, 400);
    dialog.show();
    // A person clicks on the box itself, at the left of its text.
    auto tick = [](QCheckBox* box) {
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
    };
    EXPECT_TRUE(dialog.columnBox(0)->isChecked());
    EXPECT_FALSE(dialog.columnBox(1)->isChecked());
    tick(dialog.allBox());  // ticks all
    EXPECT_EQ(dialog.chosen(), (std::vector<int>{0, 1, 2}));
    tick(dialog.allBox());  // clears all
    auto* ok = dialog.findChild<QPushButton*>("cmdOk");
    QTest::mouseClick(ok, Qt::LeftButton);
    EXPECT_EQ(ui.shown, std::vector<std::string>{kNothingTickedText});
    EXPECT_EQ(dialog.result(), 0);
    EXPECT_TRUE(dialog.isVisible());
    QTest::mouseClick(dialog.findChild<QPushButton*>("cmdInfo"), Qt::LeftButton);
    EXPECT_EQ(ui.shown.back(), kPersonalDataInfoText);
    tick(dialog.columnBox(2));
    QTest::mouseClick(ok, Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.chosen(), std::vector<int>{2});
}

TEST_F(GridExportTest, AccountColumnOnlyWithPermission) {
    for (const std::string permit : {"0", "1"}) {
        SetPermit(permit);
        const fs::path target = dir / ("grid" + permit + ".xls");
        ui.shown.clear();
        ASSERT_TRUE(ExportGridToExcel(grid, "시험목록", *db_, session, ui, TickAll(target)));
        const std::string page = Slurp(target);
        EXPECT_EQ(page.find(">계좌번호<") != std::string::npos, permit == "1") << permit;
        EXPECT_EQ(page.find(">110-1<") != std::string::npos, permit == "1") << permit;
        EXPECT_NE(page.find("<TD WIDTH=150  class=xl24  >&lt;b&gt;A&amp;B&lt;/b&gt;</TD>"),
                  std::string::npos);
        EXPECT_NE(page.find("x:num=\"1234\""), std::string::npos);
        ASSERT_EQ(ui.shown.size(), 1u);
        EXPECT_EQ(ui.shown[0],
                  "총 2건 중 2건의 엑셀파일 생성을 완료했습니다.\r\n엑셀파일을 열어보시겠습니까?");
    }
    EXPECT_EQ(askedCaption, "시험목록 Excel 파일");
    EXPECT_TRUE(
        QRegularExpression("/excel/시험목록_\\d{12}\\.xls$").match(askedProposed).hasMatch())
        << askedProposed.toStdString();
    EXPECT_TRUE(askedFilters.contains("Excel 통합 문서(*.xlsx)"));
    EXPECT_TRUE(fs::is_directory(dir / "excel"));
}

TEST_F(GridExportTest, OnlyForbiddenColumnsTickedWritesNothing) {
    GridExportDialogs d = TickAll(dir / "none.xls");
    d.chooseColumns = [](const std::vector<ExportColumn>&, const std::vector<int>&,
                         const std::vector<int>&) {
        return std::optional<std::vector<int>>(std::vector<int>{2});
    };
    EXPECT_FALSE(ExportGridToExcel(grid, "시험목록", *db_, session, ui, d));
    EXPECT_EQ(ui.shown, std::vector<std::string>{kNothingTickedText});
    EXPECT_FALSE(fs::exists(dir / "none.xls"));
    // An empty grid exports nothing and asks nothing.
    QTableWidget empty;
    ui.shown.clear();
    EXPECT_FALSE(ExportGridToExcel(empty, "시험목록", *db_, session, ui, d));
    EXPECT_TRUE(ui.shown.empty());
}

TEST_F(GridExportTest, MemberListButtonWritesAWorkbook) {
    test::MemberRow row;
    row.username = "엑셀회원";
    row.pay_monthdefault = 5000;
    test::InsertMember(*db_, inst_.inx, row);
    MemberListScreen screen(*db_, session, ui);
    screen.show();
    auto* button = screen.findChild<QPushButton*>("cmdExcel");
    ASSERT_TRUE(button);
    const fs::path target = dir / "members.xlsx";
    bool sawChooser = false, sawFile = false;
    int fileTicks = 0;
    // A person answers the two dialogs as they come up.
    QTimer person;
    QObject::connect(&person, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal) return;
        if (modal->objectName() == "frmMSHtoExcel") {
            sawChooser = true;
            QTest::mouseClick(modal->findChild<QPushButton*>("cmdOk"), Qt::LeftButton);
        } else if (auto* files = qobject_cast<QFileDialog*>(modal)) {
            // Types the file name over the proposed one and presses Enter,
            // once the dialog has settled on its folder.
            if (++fileTicks < 3) return;
            sawFile = true;
            auto* name = files->findChild<QLineEdit*>("fileNameEdit");
            ASSERT_TRUE(name);
            name->selectAll();
            QTest::keyClicks(name, QString::fromStdString(target.string()));
            QTest::keyClick(name, Qt::Key_Return);
        }
    });
    person.start(50);
    QTest::mouseClick(button, Qt::LeftButton);
    person.stop();
    EXPECT_TRUE(sawChooser);
    EXPECT_TRUE(sawFile);
    ASSERT_TRUE(fs::exists(target));
    std::string xml;
    const std::string command = "unzip -p '" + target.string() + "' xl/worksheets/sheet1.xml";
    if (FILE* p = popen(command.c_str(), "r")) {
        char buf[4096];
        std::size_t n;
        while ((n = fread(buf, 1, sizeof buf, p)) > 0) xml.append(buf, n);
        pclose(p);
    }
    EXPECT_NE(xml.find("<t>엑셀회원</t>"), std::string::npos) << xml;
    EXPECT_NE(xml.find("<v>5000</v>"), std::string::npos) << xml;
}

}  // namespace
}  // namespace qx::ui

namespace qx::ui {
namespace {

TEST_F(GridExportTest, ListGridMenuEntryExportsThroughTheDialogs) {
    AttachExcelExport(grid, "시험목록", *db_, session, ui);
    grid.show();
    ASSERT_EQ(grid.contextMenuPolicy(), Qt::ActionsContextMenu);
    auto* action = grid.findChild<QAction*>("actExcel");
    ASSERT_TRUE(action);
    EXPECT_EQ(action->text(), "엑셀 저장");
    const fs::path target = dir / "menu.xls";
    int fileTicks = 0;
    QTimer person;
    QObject::connect(&person, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal) return;
        if (modal->objectName() == "frmMSHtoExcel") {
            QTest::mouseClick(modal->findChild<QPushButton*>("cmdOk"), Qt::LeftButton);
        } else if (auto* files = qobject_cast<QFileDialog*>(modal)) {
            if (++fileTicks < 3) return;
            auto* name = files->findChild<QLineEdit*>("fileNameEdit");
            ASSERT_TRUE(name);
            name->selectAll();
            QTest::keyClicks(name, QString::fromStdString(target.string()));
            QTest::keyClick(name, Qt::Key_Return);
        }
    });
    person.start(50);
    action->trigger();
    person.stop();
    ASSERT_TRUE(fs::exists(target));
    const std::string page = Slurp(target);
    EXPECT_NE(page.find(">홍길동<"), std::string::npos);
    EXPECT_EQ(page.find(">계좌번호<"), std::string::npos);  // not permitted
}

}  // namespace
}  // namespace qx::ui
