#include "ui/ledger/auto_sale_dialog.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/session_context.h"
#include "db/business_days.h"
#include "ui/gui_interaction.h"
#include "ui/main/business_screen.h"

namespace qx::ui {

AutoSaleDialog::AutoSaleDialog(Database& db, SessionContext& session, Interaction& ui,
                               std::string webHost, const std::string& transferDate,
                               QWidget* parent)
    : QDialog(parent), db_(db), session_(session), ui_(ui), webHost_(std::move(webHost)) {
    setObjectName("popupEA21");
    setWindowTitle("출금신청시 자동매출");
    auto* layout = new QVBoxLayout(this);
    Guarded(ui_, [&] {
        for (const auto& line : AutoSaleNotice(db_, session_, transferDate.substr(0, 7))) {
            auto* notice = new QLabel(Q(line), this);
            notice->setObjectName("lblNotice");
            notice->setStyleSheet("color: #b00000;");
            layout->addWidget(notice);
        }
    });
    day_ = new QComboBox(this);
    day_->setObjectName("cboDay");
    for (int d = 1; d <= 31; ++d) day_->addItem(QString::number(d));
    if (const auto date = ParseDate(transferDate)) day_->setCurrentIndex(date->day - 1);
    date_ = new QLineEdit(Q(transferDate), this);
    date_->setObjectName("txtDate");
    auto* run = new QPushButton("매출발생", this);
    run->setObjectName("cmdRun");
    auto* close = new QPushButton("닫기", this);
    connect(run, &QPushButton::clicked, this, [this] { runSale(); });
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    auto* bar = new QHBoxLayout;
    bar->addWidget(new QLabel("매출예정일", this));
    bar->addWidget(day_);
    bar->addWidget(new QLabel("일 이전 회원, 매출일자", this));
    bar->addWidget(date_);
    bar->addWidget(run);
    bar->addWidget(close);
    layout->addLayout(bar);
}

AutoSaleResult AutoSaleDialog::runSale() {
    AutoSaleResult result;
    Guarded(ui_, [&] {
        result =
            RunAutoSale(db_, session_, ui_, webHost_, day_->currentIndex() + 1, S(date_->text()));
    });
    if (result.done) {
        accept();
    } else if (result.asked) {
        reject();
    }
    return result;
}

}  // namespace qx::ui
