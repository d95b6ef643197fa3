#include "ui/export/column_chooser_dialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>
#include <algorithm>

#include "export/column_choice.h"
#include "platform/interaction.h"
#include "ui/gui_interaction.h"

namespace qx::ui {

ColumnChooserDialog::ColumnChooserDialog(const std::vector<ExportColumn>& columns,
                                         const std::vector<int>& offered,
                                         const std::vector<int>& ticked, Interaction& ui,
                                         QWidget* parent)
    : QDialog(parent), ui_(ui) {
    setObjectName("frmMSHtoExcel");
    setWindowTitle("Excel 변환 항목 선택");
    auto* group = new QGroupBox("표형식", this);
    auto* grid = new QGridLayout(group);
    all_ = new QCheckBox("전체선택", this);
    all_->setObjectName("chkAll");
    int n = 0;
    for (int index : offered) {
        auto* box = new QCheckBox(Q(columns[static_cast<std::size_t>(index)].title), group);
        box->setObjectName(QString("col%1").arg(index));
        box->setChecked(std::find(ticked.begin(), ticked.end(), index) != ticked.end());
        grid->addWidget(box, n / 4, n % 4);
        boxes_.emplace_back(index, box);
        ++n;
    }
    connect(all_, &QCheckBox::clicked, this, [this](bool on) {
        for (auto& [index, box] : boxes_) box->setChecked(on);
    });
    auto* scroll = new QScrollArea(this);
    scroll->setWidget(group);
    scroll->setWidgetResizable(true);

    auto* ok = new QPushButton("확인", this);
    ok->setObjectName("cmdOk");
    ok->setDefault(true);
    auto* cancel = new QPushButton("취소", this);
    cancel->setObjectName("cmdCancel");
    auto* info = new QPushButton("안내", this);
    info->setObjectName("cmdInfo");
    connect(ok, &QPushButton::clicked, this, &ColumnChooserDialog::confirm);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(info, &QPushButton::clicked, this,
            [this] { ui_.inform(kPersonalDataInfoText, kDefaultTitle); });
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(info);
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(all_);
    layout->addWidget(scroll, 1);
    layout->addLayout(buttons);
}

QCheckBox* ColumnChooserDialog::columnBox(int index) const {
    for (const auto& [i, box] : boxes_)
        if (i == index) return box;
    return nullptr;
}

std::vector<int> ColumnChooserDialog::chosen() const {
    std::vector<int> out;
    for (const auto& [index, box] : boxes_)
        if (box->isChecked()) out.push_back(index);
    return out;
}

void ColumnChooserDialog::confirm() {
    if (chosen().empty()) {
        ui_.inform(kNothingTickedText, kDefaultTitle);
        return;
    }
    accept();
}

}  // namespace qx::ui
