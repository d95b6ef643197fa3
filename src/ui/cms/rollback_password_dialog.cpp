#include "ui/cms/rollback_password_dialog.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "cms/rollback/maintenance_password.h"
#include "platform/interaction.h"

namespace qx::ui {

RollbackPasswordDialog::RollbackPasswordDialog(Interaction& ui, QWidget* parent)
    : QDialog(parent), ui_(ui) {
    setObjectName("frmRollBack");
    setWindowTitle(QString::fromUtf8(kPasswordDialogTitle));
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    password_ = new QLineEdit(this);
    password_->setObjectName("txtPassword");
    password_->setEchoMode(QLineEdit::Password);
    layout->addWidget(password_);
    auto* buttons = new QHBoxLayout;
    auto* ok = new QPushButton(QStringLiteral("확인"), this);
    ok->setObjectName("cmdOk");
    auto* cancel = new QPushButton(QStringLiteral("취소"), this);
    cancel->setObjectName("cmdCancel");
    ok->setAutoDefault(false);
    cancel->setAutoDefault(false);
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
    connect(ok, &QPushButton::clicked, this, &RollbackPasswordDialog::tryAccept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(password_, &QLineEdit::returnPressed, this, &RollbackPasswordDialog::tryAccept);
}

bool RollbackPasswordDialog::ask() {
    password_->clear();
    password_->setFocus();
    return exec() == QDialog::Accepted;
}

void RollbackPasswordDialog::tryAccept() {
    if (IsMaintenancePassword(password_->text().toStdString())) {
        accept();
        return;
    }
    ui_.inform(kWrongMaintenancePasswordText, kPasswordDialogTitle);
    password_->setFocus();
    password_->selectAll();
}

}  // namespace qx::ui
