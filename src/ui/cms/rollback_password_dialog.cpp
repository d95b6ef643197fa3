#include "ui/cms/rollback_password_dialog.h"

#include <QLineEdit>
#include <QShortcut>
#include <QVBoxLayout>

#include "cms/rollback/maintenance_password.h"
#include "platform/interaction.h"
#include "ui/confirm_buttons.h"

namespace qx::ui {

void OnRollbackKey(QWidget* screen, std::function<void()> open) {
    auto* key = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_F10), screen);
    key->setContext(Qt::WidgetWithChildrenShortcut);
    QObject::connect(key, &QShortcut::activated, screen, std::move(open));
}

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
    AddConfirmButtons(this, layout, [this] { tryAccept(); });
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
