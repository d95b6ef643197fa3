#include "ui/settings/code_list_screen.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "core/session_context.h"
#include "platform/interaction.h"
#include "ui/gui_interaction.h"

namespace qx::ui {

namespace {

constexpr const char* kChooseEntryText = "항목을 선택하십시오.";

}  // namespace

CodeListScreen::CodeListScreen(Database& db, SessionContext& session, Interaction& ui,
                               QWidget* parent)
    : DomainScreen(db, session, ui, kScreenId, QStringLiteral("▶  기초환경 > 기초코드 관리"),
                   parent) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);

    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel(QStringLiteral("코드 구분")));
    list_ = new QComboBox;
    list_->setObjectName("codeList");
    list_->addItem(QStringLiteral("수금방식"));
    list_->addItem(QStringLiteral("영수처리방식"));
    list_->addItem(QStringLiteral("추가정보 항목명"));
    top->addWidget(list_);
    top->addStretch(1);
    layout->addLayout(top);

    table_ = new QTableWidget(0, 2);
    table_->setObjectName("codeTable");
    table_->setHorizontalHeaderLabels({QStringLiteral("코드"), QStringLiteral("명칭")});
    table_->horizontalHeader()->setStretchLastSection(true);
    table_->setColumnWidth(0, 120);
    table_->verticalHeader()->setVisible(false);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    layout->addWidget(table_, 1);

    auto* edit = new QHBoxLayout;
    code_ = new QLineEdit;
    code_->setObjectName("code");
    code_->setMaxLength(3);
    code_->setFixedWidth(80);
    code_->setPlaceholderText(QStringLiteral("코드"));
    name_ = new QLineEdit;
    name_->setObjectName("name");
    name_->setMaxLength(64);
    name_->setPlaceholderText(QStringLiteral("명칭"));
    addButton_ = new QPushButton(QStringLiteral("추가"));
    addButton_->setObjectName("addButton");
    deleteButton_ = new QPushButton(QStringLiteral("삭제"));
    deleteButton_->setObjectName("deleteButton");
    renameButton_ = new QPushButton(QStringLiteral("적용"));
    renameButton_->setObjectName("renameButton");
    edit->addWidget(code_);
    edit->addWidget(name_, 1);
    edit->addWidget(addButton_);
    edit->addWidget(deleteButton_);
    edit->addWidget(renameButton_);
    layout->addLayout(edit);

    connect(list_, &QComboBox::currentIndexChanged, this,
            [this](int) { run([this] { reload(); }); });
    connect(addButton_, &QPushButton::clicked, this, [this] { add(); });
    connect(deleteButton_, &QPushButton::clicked, this, [this] { remove(); });
    connect(renameButton_, &QPushButton::clicked, this, [this] { rename(); });
    connect(table_, &QTableWidget::currentCellChanged, this, [this](int row, int, int, int) {
        if (row < 0 || row >= static_cast<int>(rows_.size())) return;
        code_->setText(Q(rows_[static_cast<std::size_t>(row)].data));
        name_->setText(Q(rows_[static_cast<std::size_t>(row)].text));
    });
    run([this] { reload(); });
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
    table_->clearContents();
    table_->setRowCount(static_cast<int>(rows_.size()));
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        const QString code =
            names ? QStringLiteral("추가정보") + Q(rows_[i].data) : Q(rows_[i].data);
        table_->setItem(static_cast<int>(i), 0, new QTableWidgetItem(code));
        table_->setItem(static_cast<int>(i), 1, new QTableWidgetItem(Q(rows_[i].text)));
    }
    code_->clear();
    name_->clear();
}

const CodeRow* CodeListScreen::selectedRow() {
    const int row = table_->currentRow();
    if (row < 0 || row >= static_cast<int>(rows_.size())) {
        ui_.inform(kChooseEntryText, kDefaultTitle);
        return nullptr;
    }
    return &rows_[static_cast<std::size_t>(row)];
}

void CodeListScreen::add() {
    run([&] {
        if (AddCodeEntry(db_, session_, ui_, kind(), S(code_->text()), S(name_->text()))) reload();
    });
}

void CodeListScreen::remove() {
    const CodeRow* row = selectedRow();
    if (!row) return;
    const long long cboinx = row->cboinx;
    run([&] {
        if (DeleteCodeEntry(db_, session_, ui_, kind(), cboinx)) reload();
    });
}

void CodeListScreen::rename() {
    const CodeRow* row = selectedRow();
    if (!row) return;
    const int field = std::atoi(row->data.c_str());
    run([&] {
        if (RenameFreeField(db_, session_, ui_, field, S(name_->text()))) reload();
    });
}

}  // namespace qx::ui
