#include "ui/cms/eb13_rollback_screen.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "cms/rollback/eb13_rollback.h"
#include "ui/gui_interaction.h"

namespace qx::ui {

namespace {
constexpr int kFileNameColumn = 2;
}

Eb13RollbackScreen::Eb13RollbackScreen(Database& db, const SessionContext& session, Interaction& ui,
                                       QWidget* parent)
    : QDialog(parent), db_(db), session_(session), ui_(ui) {
    setObjectName("frmEa13roolback");
    setWindowTitle(QStringLiteral("EB13 파일 롤백"));
    resize(800, 400);
    auto* layout = new QVBoxLayout(this);
    files_ = new QTableWidget(this);
    files_->setObjectName("grdFiles");
    files_->setColumnCount(7);
    files_->setHorizontalHeaderLabels({QString(), QStringLiteral("생성일자"),
                                       QStringLiteral("파일명"), QStringLiteral("신규건수"),
                                       QStringLiteral("해지건수"), QStringLiteral("전체건수"),
                                       QStringLiteral("파일상태")});
    files_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    files_->horizontalHeader()->setStretchLastSection(true);
    layout->addWidget(files_, 1);
    auto* buttons = new QHBoxLayout;
    auto* rollback = new QPushButton(QStringLiteral("롤백"), this);
    rollback->setObjectName("cmdRollback");
    auto* close = new QPushButton(QStringLiteral("닫기"), this);
    close->setObjectName("cmdClose");
    buttons->addStretch(1);
    buttons->addWidget(rollback);
    buttons->addWidget(close);
    layout->addLayout(buttons);
    connect(rollback, &QPushButton::clicked, this, &Eb13RollbackScreen::rollBack);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    refill();
}

void Eb13RollbackScreen::refill() {
    Guarded(ui_, [this] {
        const auto candidates = ListEb13RollbackCandidates(db_, session_);
        files_->setRowCount(static_cast<int>(candidates.size()));
        for (int r = 0; r < static_cast<int>(candidates.size()); ++r) {
            const auto& c = candidates[static_cast<std::size_t>(r)];
            auto* tick = new QTableWidgetItem;
            tick->setFlags(Qt::ItemIsUserCheckable | Qt::ItemIsEnabled);
            tick->setCheckState(Qt::Unchecked);
            files_->setItem(r, 0, tick);
            const QStringList cells = {Q(c.created),
                                       Q(c.filename),
                                       QString::number(c.newCount),
                                       QString::number(c.cancelCount),
                                       QString::number(c.totalCount),
                                       Q(c.state)};
            for (int col = 0; col < cells.size(); ++col)
                files_->setItem(r, col + 1, new QTableWidgetItem(cells[col]));
        }
    });
}

void Eb13RollbackScreen::rollBack() {
    Guarded(ui_, [this] {
        std::vector<std::string> ticked;
        for (int r = 0; r < files_->rowCount(); ++r) {
            if (files_->item(r, 0)->checkState() == Qt::Checked)
                ticked.push_back(S(files_->item(r, kFileNameColumn)->text()));
        }
        RollbackEb13Files(db_, session_, ui_, ticked);
    });
    refill();
}

}  // namespace qx::ui
