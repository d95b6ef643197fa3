#include "ui/institution/institution_screen.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <stdexcept>

#include "core/session_context.h"
#include "platform/interaction.h"
#include "ui/gui_interaction.h"
#include "ui/institution/password_check_dialog.h"

namespace qx::ui {

InstitutionScreen::InstitutionScreen(const QString& id, const QString& title,
                                     ScreenContext& context, QWidget* parent)
    : BusinessScreen(id, title, parent), context_(context), key_(OwnAccount(context.session)) {
    auto* account = new QGroupBox(QStringLiteral("계정 정보"), this);
    auto* accountGrid = new QGridLayout(account);
    id_ = new QLineEdit(account);
    id_->setObjectName("txtId");
    id_->setReadOnly(true);
    password_ = new QLineEdit(account);
    password_->setObjectName("txtPassword");
    password_->setEchoMode(QLineEdit::Password);
    auto* changePassword = new QPushButton(QStringLiteral("비밀번호 변경"), account);
    changePassword->setObjectName("cmdPassword");
    accountGrid->addWidget(new QLabel(QStringLiteral("아이디"), account), 0, 0);
    accountGrid->addWidget(id_, 0, 1);
    accountGrid->addWidget(new QLabel(QStringLiteral("비밀번호"), account), 0, 2);
    accountGrid->addWidget(password_, 0, 3);
    accountGrid->addWidget(changePassword, 0, 4);
    accountGrid->setColumnStretch(1, 1);
    accountGrid->setColumnStretch(3, 1);
    body()->addWidget(account);

    auto* details =
        new QGroupBox(key_.kind == AccountKind::kHeadOffice ? QStringLiteral("기관 정보")
                                                            : QStringLiteral("지사/대리점 정보"),
                      this);
    auto* grid = new QGridLayout(details);
    const auto& all = DetailFields();
    const int perColumn = static_cast<int>((all.size() + 1) / 2);
    for (int i = 0; i < static_cast<int>(all.size()); ++i) {
        auto* edit = new QLineEdit(details);
        edit->setObjectName(QStringLiteral("txt_") + all[i].column);
        fields_[all[i].column] = edit;
        const int row = i % perColumn, column = (i / perColumn) * 2;
        grid->addWidget(new QLabel(Q(all[i].label), details), row, column);
        grid->addWidget(edit, row, column + 1);
    }
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    body()->addWidget(details);

    auto* buttons = new QHBoxLayout;
    auto* saveButton = new QPushButton(QStringLiteral("저장"), this);
    saveButton->setObjectName("cmdSave");
    buttons->addStretch(1);
    buttons->addWidget(saveButton);
    body()->addLayout(buttons);
    body()->addStretch(1);

    connect(saveButton, &QPushButton::clicked, this, &InstitutionScreen::save);
    connect(changePassword, &QPushButton::clicked, this, &InstitutionScreen::changePassword);
    Guarded(context_.ui, [this] { load(); });
}

QLineEdit* InstitutionScreen::field(const std::string& column) const {
    auto it = fields_.find(column);
    return it == fields_.end() ? nullptr : it->second;
}

void InstitutionScreen::load() {
    try {
        loaded_ = LoadAccountInfo(context_.db, key_);
    } catch (const std::invalid_argument&) {
        // The account was removed while this user was logged in: nothing
        // to show, and nothing may be written.
        setEnabled(false);
        return;
    }
    const auto lengths = AccountColumnLengths(context_.db, key_.kind);
    id_->setText(Q(loaded_.id));
    password_->setText(Q(loaded_.password));
    for (auto& [column, edit] : fields_) {
        edit->setText(Q(loaded_.details[column]));
        if (auto it = lengths.find(column); it != lengths.end()) edit->setMaxLength(it->second);
    }
}

Details InstitutionScreen::editedDetails() const {
    Details d;
    for (const auto& [column, edit] : fields_) d[column] = S(edit->text());
    return d;
}

void InstitutionScreen::save() {
    Guarded(context_.ui, [this] {
        const auto outcome = SaveAccountInfo(context_.db, key_, loaded_, editedDetails(),
                                             context_.session.cmsrunprg, context_.ui);
        if (outcome != SaveOutcome::kSaved) return;
        context_.ui.inform("변경되었습니다.", kDefaultTitle);
        load();
    });
}

void InstitutionScreen::changePassword() {
    Guarded(context_.ui, [this] {
        const auto outcome =
            ChangeAccountPassword(context_.db, key_, S(password_->text()), context_.ui,
                                  [this](const std::string& expected) {
                                      PasswordCheckDialog dialog(context_.ui, this);
                                      return dialog.ask(Q(expected));
                                  });
        if (outcome != SaveOutcome::kSaved) return;
        context_.ui.inform("비밀번호가 변경되었습니다.", kDefaultTitle);
        load();
    });
}

}  // namespace qx::ui
