#include "ui/settings/code_list_screen.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "session/session_context.h"
#include "ui/gui_interaction.h"
#include "ui/settings/screen_guard.h"

namespace qx::ui {

CodeListScreen::CodeListScreen(Database& db, SessionContext& session, GuiInteraction& ui,
                               QWidget* parent)
    : QWidget(parent), db_(db), session_(session), ui_(ui) {
    setObjectName(kScreenId);
    setWindowTitle(QStringLiteral("▶  기초환경 > 기초코드 관리"));
    auto* layout = new QVBoxLayout(this);
    auto* title = new QLabel(windowTitle());
    title->setStyleSheet("font-weight: bold; font-size: 14px;");
    layout->addWidget(title);

    list_ = new QComboBox;
    list_->addItem(QStringLiteral("수금방식"));
    list_->addItem(QStringLiteral("영수처리방식"));
    list_->addItem(QStringLiteral("추가정보 항목명"));
    layout->addWidget(list_);

    table_ = new QTableWidget(0, 2);
    table_->setHorizontalHeaderLabels({QStringLiteral("코드"), QStringLiteral("명칭")});
    table_->horizontalHeader()->setStretchLastSection(true);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    layout->addWidget(table_, 1);

    auto* edit = new QHBoxLayout;
    code_ = new QLineEdit;
    code_->setMaxLength(3);
    code_->setPlaceholderText(QStringLiteral("코드"));
    name_ = new QLineEdit;
    name_->setMaxLength(64);
    name_->setPlaceholderText(QStringLiteral("명칭"));
    addButton_ = new QPushButton(QStringLiteral("추가"));
    deleteButton_ = new QPushButton(QStringLiteral("삭제"));
    renameButton_ = new QPushButton(QStringLiteral("적용"));
    edit->addWidget(code_);
    edit->addWidget(name_, 1);
    edit->addWidget(addButton_);
    edit->addWidget(deleteButton_);
    edit->addWidget(renameButton_);
    layout->addLayout(edit);

    connect(list_, &QComboBox::currentIndexChanged, this, [this](int) { reload(); });
    connect(addButton_, &QPushButton::clicked, this, [this] { add(); });
    connect(deleteButton_, &QPushButton::clicked, this, [this] { remove(); });
    connect(renameButton_, &QPushButton::clicked, this, [this] { rename(); });
    connect(table_, &QTableWidget::currentCellChanged, this, [this](int row, int, int, int) {
        if (row < 0 || row >= static_cast<int>(rows_.size())) return;
        code_->setText(Q(rows_[static_cast<std::size_t>(row)].data));
        name_->setText(Q(rows_[static_cast<std::size_t>(row)].text));
    });
    reload();
}

CodeListKind CodeListScreen::kind() const {
    switch (list_->currentIndex()) {
        case 1:
            return CodeListKind::kReceiptKind;
        case 2:
            return CodeListKind::kFreeFieldName;
        default:
            return CodeListKind::kCollectionMethod;
    }
}

void CodeListScreen::reload() {
    const bool names = kind() == CodeListKind::kFreeFieldName;
    addButton_->setVisible(!names);
    deleteButton_->setVisible(!names);
    renameButton_->setVisible(names);
    code_->setReadOnly(names);
    rows_ = ListCodeRows(db_, session_, kind());
    table_->setRowCount(static_cast<int>(rows_.size()));
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        table_->setItem(static_cast<int>(i), 0, new QTableWidgetItem(Q(rows_[i].data)));
        table_->setItem(static_cast<int>(i), 1, new QTableWidgetItem(Q(rows_[i].text)));
    }
    code_->clear();
    name_->clear();
}

void CodeListScreen::add() {
    RunGuarded(ui_, [&] {
        if (AddCodeEntry(db_, session_, ui_, kind(), S(code_->text()), S(name_->text()))) reload();
    });
}

void CodeListScreen::remove() {
    const int row = table_->currentRow();
    if (row < 0 || row >= static_cast<int>(rows_.size())) return;
    RunGuarded(ui_, [&] {
        if (DeleteCodeEntry(db_, session_, ui_, kind(),
                            rows_[static_cast<std::size_t>(row)].cboinx))
            reload();
    });
}

void CodeListScreen::rename() {
    const int row = table_->currentRow();
    if (row < 0 || row >= static_cast<int>(rows_.size())) return;
    RunGuarded(ui_, [&] {
        const int field = std::atoi(rows_[static_cast<std::size_t>(row)].data.c_str());
        if (RenameFreeField(db_, session_, ui_, field, S(name_->text()))) reload();
    });
}

}  // namespace qx::ui
