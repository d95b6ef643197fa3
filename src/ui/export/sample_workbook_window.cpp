#include "ui/export/sample_workbook_window.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>
#include <filesystem>

#include "core/session_context.h"
#include "platform/interaction.h"
#include "platform/process_control.h"
#include "ui/gui_interaction.h"

namespace qx::ui {

namespace fs = std::filesystem;

namespace {
constexpr const char* kCannotOpenText =
    "양식 파일을 열 수 없습니다. Excel 또는 LibreOffice Calc 가 "
    "설치되어 있는지 확인하십시오.";
}  // namespace

const char* SampleWorkbookWindow::WindowId(SampleWorkbook which) {
    return which == SampleWorkbook::kAddUser ? "frmExpExcel" : "frmExpExcel2";
}

std::string SampleWorkbookWindow::WorkbookPath(SampleWorkbook which,
                                               const SessionContext& session) {
    return (fs::path(session.AppPath) / SampleWorkbookPath(which)).string();
}

std::function<bool(const std::string&)>& SampleWorkbookWindow::Opener() {
    static std::function<bool(const std::string&)> opener = OpenWithDesktop;
    return opener;
}

SampleWorkbookWindow::SampleWorkbookWindow(SampleWorkbook which, const SessionContext& session,
                                           Interaction& ui, QWidget* parent)
    : QDialog(parent), path_(WorkbookPath(which, session)), ui_(ui) {
    setObjectName(WindowId(which));
    setWindowTitle(Q(SampleWorkbookTitle(which)));
    setAttribute(Qt::WA_DeleteOnClose);
    resize(420, 460);
    auto* layout = new QVBoxLayout(this);
    auto* file = new QLabel(Q(path_), this);
    file->setObjectName("lblFile");
    file->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(file);
    layout->addWidget(
        new QLabel(QStringLiteral("양식의 항목 (첫 행의 제목 아래에 입력합니다)"), this));
    auto* columns = new QListWidget(this);
    columns->setObjectName("lstColumns");
    for (const ExportColumn& c : SampleWorkbookColumns(which)) columns->addItem(Q(c.title));
    layout->addWidget(columns, 1);
    auto* bar = new QHBoxLayout;
    bar->addStretch(1);
    auto* open = new QPushButton(QStringLiteral("양식 열기"), this);
    open->setObjectName("cmdOpen");
    auto* close = new QPushButton(QStringLiteral("닫기"), this);
    close->setObjectName("cmdClose");
    bar->addWidget(open);
    bar->addWidget(close);
    layout->addLayout(bar);
    connect(open, &QPushButton::clicked, this, &SampleWorkbookWindow::openWorkbook);
    connect(close, &QPushButton::clicked, this, &QDialog::close);
}

void SampleWorkbookWindow::openWorkbook() {
    std::error_code ec;
    if (!fs::is_regular_file(path_, ec)) {
        ui_.inform(SampleWorkbookMissingText(path_), kDefaultTitle);
        return;
    }
    if (!Opener()(path_)) ui_.inform(kCannotOpenText, kDefaultTitle);
}

void ShowSampleWorkbook(SampleWorkbook which, const SessionContext& session, Interaction& ui,
                        QWidget* parent) {
    const std::string path = SampleWorkbookWindow::WorkbookPath(which, session);
    std::error_code ec;
    if (!fs::is_regular_file(path, ec)) {
        ui.inform(SampleWorkbookMissingText(path), kDefaultTitle);
        return;
    }
    auto* window = new SampleWorkbookWindow(which, session, ui, parent);
    window->setWindowFlag(Qt::Window);
    window->show();
    window->raise();
}

}  // namespace qx::ui
