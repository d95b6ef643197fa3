#include "ui/items/item_screen.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "db/code_lists.h"
#include "session/session_context.h"
#include "ui/code_combo.h"
#include "ui/gui_interaction.h"
#include "ui/settings/screen_guard.h"

namespace qx::ui {

namespace {

QComboBox* DayCombo() {
    auto* c = new QComboBox;
    c->addItem(QStringLiteral("없음"), 0);
    for (int d = 1; d <= 31; ++d) c->addItem(QString::number(d) + QStringLiteral("일"), d);
    return c;
}

void SelectData(QComboBox* combo, const QString& data) {
    const int i = combo->findData(data);
    combo->setCurrentIndex(i < 0 ? 0 : i);
}

}  // namespace

ItemScreen::ItemScreen(Database& db, SessionContext& session, GuiInteraction& ui, QWidget* parent)
    : QWidget(parent), db_(db), session_(session), ui_(ui) {
    setObjectName(kScreenId);
    setWindowTitle(QStringLiteral("▶  기초환경 > 품목 관리"));
    auto* layout = new QVBoxLayout(this);
    auto* title = new QLabel(windowTitle());
    title->setStyleSheet("font-weight: bold; font-size: 14px;");
    layout->addWidget(title);

    auto* filters = new QHBoxLayout;
    auto filter = [&](const char* caption) {
        auto* e = new QLineEdit;
        filters->addWidget(new QLabel(QString::fromUtf8(caption)));
        filters->addWidget(e);
        connect(e, &QLineEdit::returnPressed, this, [this] { search(); });
        return e;
    };
    findName_ = filter("품목명");
    findStan_ = filter("규격");
    findMemo_ = filter("메모");
    findPay_ = filter("단가");
    findPriceWithTax_ = filter("세액포함");
    findNumber_ = filter("품목번호");
    auto* searchButton = new QPushButton(QStringLiteral("조회"));
    filters->addWidget(searchButton);
    connect(searchButton, &QPushButton::clicked, this, [this] { search(); });
    layout->addLayout(filters);

    table_ = new QTableWidget(0, 9);
    table_->setHorizontalHeaderLabels(
        {QStringLiteral("품목번호"), QStringLiteral("품목명"), QStringLiteral("규격"),
         QStringLiteral("단가"), QStringLiteral("세액"), QStringLiteral("세액포함"),
         QStringLiteral("매출구분"), QStringLiteral("할부총액/기간"), QStringLiteral("메모")});
    table_->horizontalHeader()->setStretchLastSection(true);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    connect(table_, &QTableWidget::currentCellChanged, this,
            [this](int row, int, int, int) { showRow(row); });
    layout->addWidget(table_, 1);

    auto* form = new QGridLayout;
    name_ = new QLineEdit;
    name_->setMaxLength(64);
    stan_ = new QLineEdit;
    stan_->setMaxLength(64);
    pay_ = new QLineEdit;
    tax_ = new QLineEdit;
    agreement_ = new QLineEdit;
    memo_ = new QLineEdit;
    memo_->setMaxLength(255);
    divide_ = new QComboBox;
    divide_->addItem(QStringLiteral("월매출"), kMonthly);
    divide_->addItem(QStringLiteral("수시매출"), kAdHoc);
    divide_->addItem(QStringLiteral("할부매출"), kInstalment);
    divide_->addItem(QStringLiteral("기간매출"), kPeriod);
    settle_ = new QComboBox;
    FillCodeCombo(settle_, LoadInstitutionCodeList(db_, session_.institution_number, "settleacnt"));
    pTax_ = new QComboBox;
    FillCodeCombo(pTax_, LoadInstitutionCodeList(db_, session_.institution_number, "tallysheet"));
    saleday_ = DayCombo();
    collday_ = DayCombo();
    int r = 0;
    auto row = [&](const char* a, QWidget* wa, const char* b, QWidget* wb) {
        form->addWidget(new QLabel(QString::fromUtf8(a)), r, 0);
        form->addWidget(wa, r, 1);
        form->addWidget(new QLabel(QString::fromUtf8(b)), r, 2);
        form->addWidget(wb, r, 3);
        ++r;
    };
    row("품목명", name_, "규격", stan_);
    row("단가", pay_, "세액", tax_);
    row("매출구분", divide_, "할부총액/기간", agreement_);
    row("수금방식", settle_, "영수처리방식", pTax_);
    row("매출일", saleday_, "수금일", collday_);
    form->addWidget(new QLabel(QStringLiteral("메모")), r, 0);
    form->addWidget(memo_, r, 1, 1, 3);
    layout->addLayout(form);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    for (auto [caption, handler] :
         std::initializer_list<std::pair<const char*, void (ItemScreen::*)()>>{
             {"추가", &ItemScreen::add},
             {"수정", &ItemScreen::change},
             {"삭제", &ItemScreen::remove}}) {
        auto* b = new QPushButton(QString::fromUtf8(caption));
        connect(b, &QPushButton::clicked, this, [this, handler] { (this->*handler)(); });
        buttons->addWidget(b);
    }
    layout->addLayout(buttons);
    search();
}

void ItemScreen::search() {
    ItemFilter f;
    f.name = S(findName_->text());
    f.stan = S(findStan_->text());
    f.memo = S(findMemo_->text());
    f.pay = S(findPay_->text());
    f.priceWithTax = S(findPriceWithTax_->text());
    f.itemNumber = S(findNumber_->text());
    rows_ = ListItems(db_, session_, f);
    static const char* divides[] = {"", "월매출", "수시매출", "할부매출", "기간매출"};
    table_->setRowCount(static_cast<int>(rows_.size()));
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        const ItemRow& it = rows_[i];
        const int n = static_cast<int>(i);
        table_->setItem(n, 0, new QTableWidgetItem(QString::number(it.item_inx)));
        table_->setItem(n, 1, new QTableWidgetItem(Q(it.name)));
        table_->setItem(n, 2, new QTableWidgetItem(Q(it.stan)));
        table_->setItem(n, 3, new QTableWidgetItem(QLocale(QLocale::English).toString(it.pay)));
        table_->setItem(n, 4, new QTableWidgetItem(QLocale(QLocale::English).toString(it.tax)));
        table_->setItem(
            n, 5, new QTableWidgetItem(QLocale(QLocale::English).toString(it.priceWithTax())));
        const int d = it.account_divide >= 1 && it.account_divide <= 4 ? it.account_divide : 0;
        table_->setItem(n, 6, new QTableWidgetItem(QString::fromUtf8(divides[d])));
        table_->setItem(n, 7, new QTableWidgetItem(Q(it.agreementColumn())));
        table_->setItem(n, 8, new QTableWidgetItem(Q(it.memo)));
    }
}

void ItemScreen::showRow(int row) {
    if (row < 0 || row >= static_cast<int>(rows_.size())) return;
    const ItemRow& it = rows_[static_cast<std::size_t>(row)];
    name_->setText(Q(it.name));
    stan_->setText(Q(it.stan));
    pay_->setText(QString::number(it.pay));
    tax_->setText(it.tax ? QString::number(it.tax) : QString());
    agreement_->setText(it.account_divide == kInstalment || it.account_divide == kPeriod
                            ? QString::number(it.agreement)
                            : QString());
    memo_->setText(Q(it.memo));
    divide_->setCurrentIndex(std::max(0, divide_->findData(it.account_divide)));
    SelectData(settle_, Q(it.settle_accounts));
    SelectData(pTax_, Q(it.p_tax));
    saleday_->setCurrentIndex(std::max(0, saleday_->findData(it.saleday)));
    collday_->setCurrentIndex(std::max(0, collday_->findData(it.collday)));
}

ItemInput ItemScreen::input() const {
    ItemInput in;
    in.name = S(name_->text());
    in.stan = S(stan_->text());
    in.pay = S(pay_->text());
    in.tax = S(tax_->text());
    in.agreement = S(agreement_->text());
    in.memo = S(memo_->text());
    in.account_divide = divide_->currentData().toInt();
    in.settle_accounts = S(settle_->currentData().toString());
    in.p_tax = S(pTax_->currentData().toString());
    in.saleday = saleday_->currentData().toInt();
    in.collday = collday_->currentData().toInt();
    return in;
}

long long ItemScreen::currentItem() const {
    const int row = table_->currentRow();
    if (row < 0 || row >= static_cast<int>(rows_.size())) return 0;
    return rows_[static_cast<std::size_t>(row)].item_inx;
}

void ItemScreen::add() {
    RunGuarded(ui_, [&] {
        if (AddItem(db_, session_, ui_, input())) search();
    });
}

void ItemScreen::change() {
    const long long id = currentItem();
    if (!id) return;
    RunGuarded(ui_, [&] {
        if (ChangeItem(db_, session_, ui_, id, input())) search();
    });
}

void ItemScreen::remove() {
    const long long id = currentItem();
    if (!id) return;
    RunGuarded(ui_, [&] {
        if (DeleteItem(db_, session_, ui_, id)) search();
    });
}

}  // namespace qx::ui
