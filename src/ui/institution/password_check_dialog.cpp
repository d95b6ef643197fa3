#include "ui/institution/password_check_dialog.h"

#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "platform/interaction.h"
#include "ui/confirm_buttons.h"

namespace qx::ui {

PasswordCheckDialog::PasswordCheckDialog(Interaction& ui, QWidget* parent)
    : QDialog(parent), ui_(ui) {
    setObjectName("frmpassChk");
    setWindowTitle(QStringLiteral("비밀번호 확인"));
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("변경할 비밀번호를 한번 더 입력하십시오."), this));
    expected_ = new QLineEdit(this);
    expected_->setObjectName("txtExpected");
    expected_->setVisible(false);
    typed_ = new QLineEdit(this);
    typed_->setObjectName("txtTyped");
    typed_->setEchoMode(QLineEdit::Password);
    layout->addWidget(typed_);
    AddConfirmButtons(this, layout, [this] { tryAccept(); });
    connect(typed_, &QLineEdit::returnPressed, this, [this] {
        if (!typed_->text().isEmpty()) tryAccept();
    });
}

void PasswordCheckDialog::prepare(const QString& expected) {
    expected_->setText(expected);
    typed_->clear();
    typed_->setFocus();
}

bool PasswordCheckDialog::ask(const QString& expected) {
    prepare(expected);
    return exec() == QDialog::Accepted;
}

void PasswordCheckDialog::tryAccept() {
    if (typed_->text() == expected_->text()) {
        accept();
        return;
    }
    ui_.inform("암호가 잘못되었습니다. 다시 시도하십시오", "비밀번호 확인");
    typed_->setFocus();
    typed_->selectAll();
}

}  // namespace qx::ui
