#include "ui/members/batch_agreement_screen.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "ui/gui_interaction.h"

namespace qx::ui {

BatchAgreementScreen::BatchAgreementScreen(Database& db, SessionContext& session,
                                           GuiInteraction& ui, QWidget* parent)
    : QWidget(parent), db_(db), session_(session), ui_(ui) {
    setObjectName("frmDoc21_1");
    folder_ = new QLineEdit(this);
    folder_->setReadOnly(true);
    auto* choose = new QPushButton("폴더선택", this);
    auto* run = new QPushButton("일괄설정", this);
    connect(choose, &QPushButton::clicked, this, [this] {
        const std::string folder = ui_.chooseFolder("동의자료 폴더", S(folder_->text()));
        if (!folder.empty()) Guarded(ui_, [&] { scan(folder); });
    });
    auto* workbook = new QPushButton("엑셀선택", this);
    workbook->setObjectName("cmdWorkbook");
    connect(workbook, &QPushButton::clicked, this, [this] {
        const std::string path = ui_.chooseFile("동의자료 Excel 파일", "Excel 파일 (*.xls)");
        if (!path.empty()) Guarded(ui_, [&] { scanWorkbook(path); });
    });
    connect(run, &QPushButton::clicked, this, [this] { Guarded(ui_, [this] { apply(); }); });
    auto* bar = new QHBoxLayout;
    bar->addWidget(new QLabel("동의자료 폴더/엑셀", this));
    bar->addWidget(folder_, 1);
    bar->addWidget(choose);
    bar->addWidget(workbook);
    bar->addWidget(run);
    table_ = new QTableWidget(0, 5, this);
    table_->setHorizontalHeaderLabels(
        {"처리순번", "납부자번호", "동의자료구분", "동의자료경로", "오류내역"});
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->horizontalHeader()->setStretchLastSection(true);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addWidget(table_, 1);
}

void BatchAgreementScreen::scan(const std::string& folder) {
    folder_->setText(Q(folder));
    candidates_ = ScanAgreementFolder(db_, session_, folder);
    show();
    table_->resizeColumnsToContents();
}

bool BatchAgreementScreen::scanWorkbook(const std::string& path) {
    auto rows = ScanAgreementWorkbook(db_, session_, ui_, path);
    if (!rows) return false;
    folder_->setText(Q(path));
    candidates_ = std::move(*rows);
    show();
    table_->resizeColumnsToContents();
    return true;
}

long long BatchAgreementScreen::apply() {
    if (candidates_.empty()) {
        ui_.inform("처리가능한 데이타가 없습니다.", kDefaultTitle);
        return 0;
    }
    const long long done = ApplyAgreementCandidates(db_, session_, ui_, candidates_);
    show();
    return done;
}

void BatchAgreementScreen::show() {
    table_->setRowCount(static_cast<int>(candidates_.size()));
    for (std::size_t i = 0; i < candidates_.size(); ++i) {
        const auto& c = candidates_[i];
        const int r = static_cast<int>(i);
        table_->setItem(r, 0, new QTableWidgetItem(Q(c.seq)));
        table_->setItem(r, 1, new QTableWidgetItem(Q(c.payer)));
        table_->setItem(r, 2, new QTableWidgetItem(Q(c.kind)));
        table_->setItem(r, 3, new QTableWidgetItem(Q(c.path)));
        table_->setItem(r, 4, new QTableWidgetItem(Q(c.error)));
    }
}

}  // namespace qx::ui
