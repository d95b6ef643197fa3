// frmDoc10 (head office) and frmDoc10_1 (branch or agency): the user's own
// information and password.
#pragma once

#include <map>

#include "session/institution_info.h"
#include "ui/main/business_screen.h"

class QLineEdit;
class QPushButton;

namespace qx::ui {

class InstitutionScreen : public BusinessScreen {
    Q_OBJECT
  public:
    InstitutionScreen(const QString& id, const QString& title, ScreenContext& context,
                      QWidget* parent = nullptr);

    QLineEdit* field(const std::string& column) const;
    QLineEdit* passwordBox() const { return password_; }
    void save();
    void changePassword();

  private:
    void load();
    Details editedDetails() const;

    ScreenContext& context_;
    AccountKey key_;
    AccountInfo loaded_;
    QLineEdit* id_;
    QLineEdit* password_;
    std::map<std::string, QLineEdit*> fields_;
};

}  // namespace qx::ui
