#include "ui/cms/file_rollback_screen.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "ui/gui_interaction.h"

namespace qx::ui {

QPushButton* AddRollbackButtons(QDialog* dialog, QBoxLayout* layout) {
    auto* buttons = new QHBoxLayout;
    auto* rollback = new QPushButton(QStringLiteral("롤백"), dialog);
    rollback->setObjectName("cmdRollback");
    auto* close = new QPushButton(QStringLiteral("닫기"), dialog);
    close->setObjectName("cmdClose");
    // A dialog's buttons answer Enter by default.
    for (QPushButton* b : {rollback, close}) {
        b->setAutoDefault(false);
        b->setDefault(false);
    }
    buttons->addStretch(1);
    buttons->addWidget(rollback);
    buttons->addWidget(close);
    layout->addLayout(buttons);
    QObject::connect(close, &QPushButton::clicked, dialog, &QDialog::accept);
    return rollback;
}

FileRollbackScreen::FileRollbackScreen(Interaction& ui, FileRollbackSetup setup, QWidget* parent)
    : QDialog(parent), ui_(ui), setup_(std::move(setup)) {
    setObjectName(setup_.id);
    setWindowTitle(setup_.title);
    resize(800, 400);
    auto* layout = new QVBoxLayout(this);
    files_ = new QTableWidget(this);
    files_->setObjectName("grdFiles");
    files_->setColumnCount(static_cast<int>(setup_.captions.size()) + 1);
    files_->setHorizontalHeaderLabels(QStringList{QString()} + setup_.captions);
    files_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    files_->horizontalHeader()->setStretchLastSection(true);
    layout->addWidget(files_, 1);
    connect(AddRollbackButtons(this, layout), &QPushButton::clicked, this,
            &FileRollbackScreen::rollBack);
    refill();
}

void FileRollbackScreen::refill() {
    Guarded(ui_, [this] {
        const auto rows = setup_.list();
        files_->setRowCount(static_cast<int>(rows.size()));
        for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
            auto* tick = new QTableWidgetItem;
            tick->setFlags(Qt::ItemIsUserCheckable | Qt::ItemIsEnabled);
            tick->setCheckState(Qt::Unchecked);
            files_->setItem(r, 0, tick);
            const QStringList& cells = rows[static_cast<std::size_t>(r)];
            for (int col = 0; col < cells.size(); ++col)
                files_->setItem(r, col + 1, new QTableWidgetItem(cells[col]));
        }
    });
}

void FileRollbackScreen::rollBack() {
    Guarded(ui_, [this] {
        std::vector<std::string> ticked;
        for (int r = 0; r < files_->rowCount(); ++r) {
            if (files_->item(r, 0)->checkState() == Qt::Checked)
                ticked.push_back(S(files_->item(r, setup_.fileNameColumn + 1)->text()));
        }
        setup_.rollBack(ticked);
    });
    refill();
}

}  // namespace qx::ui
