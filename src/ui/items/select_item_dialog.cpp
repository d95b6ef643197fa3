#include "ui/items/select_item_dialog.h"

#include <QDialogButtonBox>
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

SelectItemDialog::SelectItemDialog(Database& db, SessionContext& session, Interaction& ui,
                                   QWidget* parent, Variant variant)
    : QDialog(parent), db_(db), session_(session), ui_(ui), variant_(variant) {
    setObjectName(variant == Variant::kChange ? "selectitem2" : "selectitem1");
    setWindowTitle(QStringLiteral("품목 선택"));
    auto* layout = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    find_ = new QLineEdit;
    find_->setPlaceholderText(QStringLiteral("품목명"));
    auto* searchButton = new QPushButton(QStringLiteral("조회"));
    top->addWidget(find_, 1);
    top->addWidget(searchButton);
    layout->addLayout(top);
    table_ = new QTableWidget(0, 5);
    table_->setObjectName("itemTable");
    table_->setHorizontalHeaderLabels({QStringLiteral("품목번호"), QStringLiteral("품목명"),
                                       QStringLiteral("규격"), QStringLiteral("단가"),
                                       QStringLiteral("세액포함")});
    table_->horizontalHeader()->setStretchLastSection(true);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    layout->addWidget(table_, 1);
    auto* qty = new QHBoxLayout;
    qty->addWidget(new QLabel(QStringLiteral("수량")));
    quantity_ = new QLineEdit(QStringLiteral("1"));
    quantity_->setObjectName("quantity");
    qty->addWidget(quantity_);
    layout->addLayout(qty);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] { accept(); });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(searchButton, &QPushButton::clicked, this, [this] { search(); });
    connect(find_, &QLineEdit::returnPressed, this, [this] { search(); });
    connect(table_, &QTableWidget::cellDoubleClicked, this, [this](int, int) { accept(); });
    resize(560, 420);
    search();
}

void SelectItemDialog::search() {
    ItemFilter f;
    f.name = S(find_->text());
    rows_ = ListItems(db_, session_, f);
    table_->setRowCount(static_cast<int>(rows_.size()));
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        const int n = static_cast<int>(i);
        table_->setItem(n, 0, new QTableWidgetItem(QString::number(rows_[i].item_inx)));
        table_->setItem(n, 1, new QTableWidgetItem(Q(rows_[i].name)));
        table_->setItem(n, 2, new QTableWidgetItem(Q(rows_[i].stan)));
        table_->setItem(n, 3, new QTableWidgetItem(QString::number(rows_[i].pay)));
        table_->setItem(n, 4, new QTableWidgetItem(QString::number(rows_[i].priceWithTax())));
    }
    if (!rows_.empty()) table_->selectRow(0);
}

void SelectItemDialog::preset(long long itemInx, int quantity) {
    for (std::size_t i = 0; i < rows_.size(); ++i)
        if (rows_[i].item_inx == itemInx) table_->selectRow(static_cast<int>(i));
    quantity_->setText(QString::number(quantity));
}

void SelectItemDialog::accept() {
    const int row = table_->currentRow();
    if (row < 0 || row >= static_cast<int>(rows_.size())) return;
    const auto quantity = CheckQuantity(S(quantity_->text()), ui_);
    if (!quantity) return;
    if (variant_ == Variant::kChange && !ui_.confirm(kQuantityChangeQuestionText, kDefaultTitle))
        return;
    chosen_ = ChosenItem{rows_[static_cast<std::size_t>(row)], *quantity};
    QDialog::accept();
}

}  // namespace qx::ui
