// frmpassChk: asks for the new password once more before it is stored.
#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace qx {
class Interaction;
}

namespace qx::ui {

class PasswordCheckDialog : public QDialog {
    Q_OBJECT
  public:
    explicit PasswordCheckDialog(Interaction& ui, QWidget* parent = nullptr);

    // Shows the dialog modally; true when the text typed equals `expected`.
    bool ask(const QString& expected);
    // Puts the expected text in place and empties the typed box (ask() does
    // this before showing).
    void prepare(const QString& expected);

    QLineEdit* typedBox() const { return typed_; }
    // OK: accepted when both texts are equal, else the mismatch message and
    // the typed text selected for typing again.
    void tryAccept();

  private:
    Interaction& ui_;
    QLineEdit* expected_;
    QLineEdit* typed_;
};

}  // namespace qx::ui
