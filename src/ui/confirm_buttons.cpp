#include "ui/confirm_buttons.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QPushButton>

namespace qx::ui {

void AddConfirmButtons(QDialog* dialog, QBoxLayout* layout, const std::function<void()>& onOk) {
    auto* buttons = new QHBoxLayout;
    auto* ok = new QPushButton(QStringLiteral("확인"), dialog);
    ok->setObjectName("cmdOk");
    auto* cancel = new QPushButton(QStringLiteral("취소"), dialog);
    cancel->setObjectName("cmdCancel");
    ok->setAutoDefault(false);
    cancel->setAutoDefault(false);
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
    QObject::connect(ok, &QPushButton::clicked, dialog, onOk);
    QObject::connect(cancel, &QPushButton::clicked, dialog, &QDialog::reject);
}

}  // namespace qx::ui
