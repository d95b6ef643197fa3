#include "ui/ledger/ledger_panel.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "core/session_context.h"
#include "ledger/ledger_booking.h"
#include "ledger/ledger_rules.h"
#include "platform/amount_text.h"
#include "ui/cms/status_grid.h"
#include "ui/export/grid_export.h"
#include "ui/gui_interaction.h"
#include "ui/main/business_screen.h"

namespace qx::ui {

namespace {

const std::vector<StatusColumn>& Columns() {
    static const std::vector<StatusColumn> columns = {
        {"일자", 1200, kAlignCentre},  {"구분", 800, kAlignCentre},    {"금액", 1500, kAlignRight},
        {"미수금", 1500, kAlignRight}, {"수금방식", 1500, kAlignLeft}, {"품목", 2000, kAlignLeft},
        {"메모", 3000, kAlignLeft},    {"일괄번호", 1000, kAlignRight}};
    return columns;
}

}  // namespace

LedgerPanel::LedgerPanel(Database& db, SessionContext& session, Interaction& ui, QWidget* parent)
    : QWidget(parent), db_(db), session_(session), ui_(ui) {
    setObjectName("ledgerPanel");
    kind_ = new QComboBox(this);
    kind_->setObjectName("cboKind");
    kind_->addItems({"매출", "수금"});
    date_ = new QLineEdit(this);
    date_->setObjectName("txtDate");
    date_->setPlaceholderText("yy-mm-dd");
    date_->setMaximumWidth(100);
    amount_ = new QLineEdit(this);
    amount_->setObjectName("txtAmount");
    amount_->setMaximumWidth(120);
    item_ = new QLineEdit(this);
    item_->setObjectName("txtItem");
    item_->setMaxLength(64);
    memo_ = new QLineEdit(this);
    memo_->setObjectName("txtMemo");
    memo_->setMaxLength(60);
    auto* bookButton = new QPushButton("발생", this);
    bookButton->setObjectName("cmdBook");
    auto* cancelButton = new QPushButton("선택취소", this);
    cancelButton->setObjectName("cmdCancelRow");
    connect(bookButton, &QPushButton::clicked, this, [this] { book(); });
    connect(amount_, &QLineEdit::returnPressed, this, [this] { book(); });
    connect(cancelButton, &QPushButton::clicked, this, [this] { cancelSelected(); });

    auto* bar = new QHBoxLayout;
    bar->addWidget(kind_);
    bar->addWidget(new QLabel("일자", this));
    bar->addWidget(date_);
    bar->addWidget(new QLabel("금액", this));
    bar->addWidget(amount_);
    bar->addWidget(new QLabel("품목명", this));
    bar->addWidget(item_);
    bar->addWidget(new QLabel("메모", this));
    bar->addWidget(memo_, 1);
    bar->addWidget(bookButton);
    bar->addWidget(cancelButton);
    table_ = new QTableWidget(this);
    table_->setObjectName("grdLedger");
    SetUpStatusGrid(table_, Columns());
    AttachExcelExport(*table_, "매출수금내역", db_, session_, ui_);
    auto* box = new QGroupBox("원장작업", this);
    auto* inner = new QVBoxLayout(box);
    inner->addLayout(bar);
    inner->addWidget(table_, 1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(box);
    setEnabled(false);
}

void LedgerPanel::setMember(long long member) {
    member_ = member;
    setEnabled(member > 0);
    if (date_->text().isEmpty()) date_->setText(Q(session_.server_date));
    reload();
}

void LedgerPanel::reload() {
    rows_.clear();
    std::vector<std::vector<std::string>> cells;
    if (member_ > 0) {
        Guarded(ui_, [&] {
            for (const auto& r : ListLedger(db_, session_, member_)) {
                rows_.push_back(r.pay_inx);
                cells.push_back({r.signdate, r.paystat == "0" ? "매출" : "수금",
                                 FormatAmount(r.amount), FormatAmount(r.pros_nonpayment),
                                 r.settle_title, r.item_name, r.memo,
                                 r.addmuskey ? std::to_string(r.addmuskey) : ""});
            }
        });
    }
    FillStatusGrid(table_, Columns(), cells);
}

bool LedgerPanel::book() {
    if (member_ <= 0) return false;
    bool done = false;
    Guarded(ui_, [&] {
        done =
            AddLedgerEntry(db_, session_, ui_, member_,
                           kind_->currentIndex() == 0 ? LedgerKind::kSale : LedgerKind::kCollection,
                           S(amount_->text()), S(date_->text()), S(item_->text()), S(memo_->text()))
                .has_value();
    });
    if (!done) return false;
    amount_->clear();
    memo_->clear();
    reload();
    emit booked();
    return true;
}

bool LedgerPanel::cancelSelected() {
    const int row = table_->currentRow();
    if (row < 0 || row >= static_cast<int>(rows_.size())) {
        ui_.inform("취소할 원장내역을 선택 하십시오.", kDefaultTitle);
        return false;
    }
    bool done = false;
    Guarded(ui_, [&] {
        done = CancelLedgerEntry(db_, session_, ui_, rows_[static_cast<std::size_t>(row)]);
    });
    if (!done) return false;
    reload();
    emit booked();
    return true;
}

}  // namespace qx::ui
