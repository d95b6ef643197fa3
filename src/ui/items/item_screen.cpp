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
#include <tuple>

#include "core/session_context.h"
#include "db/code_lists.h"
#include "platform/interaction.h"
#include "ui/code_combo.h"
#include "ui/gui_interaction.h"

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

ItemScreen::ItemScreen(Database& db, SessionContext& session, Interaction& ui, QWidget* parent)
    : DomainScreen(db, session, ui, kScreenId, QStringLiteral("▶  기초환경 > 품목 관리"), parent) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);

    auto* filters = new QHBoxLayout;
    auto filter = [&](const char* caption, const char* name) {
        auto* e = new QLineEdit;
        e->setObjectName(name);
        filters->addWidget(new QLabel(QString::fromUtf8(caption)));
        filters->addWidget(e, 1);
        connect(e, &QLineEdit::returnPressed, this, [this] { run([this] { search(); }); });
        return e;
    };
    findName_ = filter("품목명", "findName");
    findStan_ = filter("규격", "findStan");
    findMemo_ = filter("메모", "findMemo");
    findPay_ = filter("단가", "findPay");
    findPriceWithTax_ = filter("세액포함", "findPriceWithTax");
    findNumber_ = filter("품목번호", "findNumber");
    auto* searchButton = new QPushButton(QStringLiteral("조회"));
    searchButton->setObjectName("searchButton");
    filters->addWidget(searchButton);
    connect(searchButton, &QPushButton::clicked, this, [this] { run([this] { search(); }); });
    layout->addLayout(filters);

    table_ = new QTableWidget(0, 9);
    table_->setObjectName("itemTable");
    table_->setHorizontalHeaderLabels(
        {QStringLiteral("품목번호"), QStringLiteral("품목명"), QStringLiteral("규격"),
         QStringLiteral("단가"), QStringLiteral("세액"), QStringLiteral("세액포함"),
         QStringLiteral("매출구분"), QStringLiteral("할부총액/기간"), QStringLiteral("메모")});
    table_->horizontalHeader()->setStretchLastSection(true);
    table_->verticalHeader()->setVisible(false);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    connect(table_, &QTableWidget::currentCellChanged, this,
            [this](int row, int, int, int) { showRow(row); });
    layout->addWidget(table_, 1);

    auto* form = new QGridLayout;
    auto line = [](const char* name, int maxLength) {
        auto* e = new QLineEdit;
        e->setObjectName(name);
        if (maxLength > 0) e->setMaxLength(maxLength);
        return e;
    };
    name_ = line("name", 64);
    stan_ = line("stan", 64);
    pay_ = line("pay", 0);
    tax_ = line("tax", 0);
    agreement_ = line("agreement", 0);
    memo_ = line("memo", 255);
    divide_ = new QComboBox;
    divide_->setObjectName("divide");
    divide_->addItem(QStringLiteral("월매출"), kMonthly);
    divide_->addItem(QStringLiteral("수시매출"), kAdHoc);
    divide_->addItem(QStringLiteral("할부매출"), kInstalment);
    divide_->addItem(QStringLiteral("기간매출"), kPeriod);
    // The instalment total or the number of months only means something for those kinds.
    connect(divide_, &QComboBox::currentIndexChanged, this, [this](int) {
        const int d = divide_->currentData().toInt();
        agreement_->setEnabled(d == kInstalment || d == kPeriod);
    });
    agreement_->setEnabled(false);
    settle_ = new QComboBox;
    settle_->setObjectName("settle");
    pTax_ = new QComboBox;
    pTax_->setObjectName("pTax");
    run([this] {
        FillCodeCombo(settle_,
                      LoadInstitutionCodeList(db_, session_.institution_number, "settleacnt"));
        FillCodeCombo(pTax_,
                      LoadInstitutionCodeList(db_, session_.institution_number, "tallysheet"));
    });
    saleday_ = DayCombo();
    saleday_->setObjectName("saleday");
    collday_ = DayCombo();
    collday_->setObjectName("collday");
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
    form->setColumnStretch(1, 1);
    form->setColumnStretch(3, 1);
    layout->addLayout(form);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    for (auto [caption, name, handler] :
         std::initializer_list<std::tuple<const char*, const char*, void (ItemScreen::*)()>>{
             {"추가", "addButton", &ItemScreen::add},
             {"수정", "changeButton", &ItemScreen::change},
             {"삭제", "deleteButton", &ItemScreen::remove}}) {
        auto* b = new QPushButton(QString::fromUtf8(caption));
        b->setObjectName(name);
        connect(b, &QPushButton::clicked, this, [this, handler] { (this->*handler)(); });
        buttons->addWidget(b);
    }
    layout->addLayout(buttons);
    run([this] { search(); });
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
        const QLocale amounts(QLocale::English);
        auto cell = [&](int column, const QString& text, bool number) {
            auto* item = new QTableWidgetItem(text);
            if (number) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            table_->setItem(n, column, item);
        };
        cell(0, QString::number(it.item_inx), true);
        cell(1, Q(it.name), false);
        cell(2, Q(it.stan), false);
        cell(3, amounts.toString(it.pay), true);
        cell(4, amounts.toString(it.tax), true);
        cell(5, amounts.toString(it.priceWithTax()), true);
        const int d = it.account_divide >= 1 && it.account_divide <= 4 ? it.account_divide : 0;
        cell(6, QString::fromUtf8(divides[d]), false);
        // The instalment total is an amount like the others; the months read as they are.
        cell(7,
             it.account_divide == kInstalment ? amounts.toString(it.agreement)
                                              : Q(it.agreementColumn()),
             true);
        cell(8, Q(it.memo), false);
    }
    table_->resizeColumnsToContents();
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

long long ItemScreen::selectedItem() {
    const int row = table_->currentRow();
    if (row < 0 || row >= static_cast<int>(rows_.size())) {
        ui_.inform("품목을 선택하십시오.", kDefaultTitle);
        return 0;
    }
    return rows_[static_cast<std::size_t>(row)].item_inx;
}

void ItemScreen::add() {
    run([&] {
        if (AddItem(db_, session_, ui_, input())) search();
    });
}

void ItemScreen::change() {
    const long long id = selectedItem();
    if (!id) return;
    run([&] {
        if (ChangeItem(db_, session_, ui_, id, input())) search();
    });
}

void ItemScreen::remove() {
    const long long id = selectedItem();
    if (!id) return;
    run([&] {
        if (DeleteItem(db_, session_, ui_, id)) search();
    });
}

}  // namespace qx::ui
