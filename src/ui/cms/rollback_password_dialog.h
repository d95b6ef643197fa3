// frmRollBack: the maintenance password that opens a rollback screen.
#pragma once

#include <QDialog>
#include <functional>

class QLineEdit;

namespace qx {
class Interaction;
}

namespace qx::ui {

// Ctrl+F10 anywhere in `screen` runs `open` (the way to its rollback).
void OnRollbackKey(QWidget* screen, std::function<void()> open);

class RollbackPasswordDialog : public QDialog {
    Q_OBJECT
  public:
    explicit RollbackPasswordDialog(Interaction& ui, QWidget* parent = nullptr);

    // Empties the field and shows the dialog modally; true when accepted.
    bool ask();
    QLineEdit* passwordBox() const { return password_; }
    // OK: accepted on the maintenance password, else the message and the
    // whole text selected for typing again.
    void tryAccept();

  private:
    Interaction& ui_;
    QLineEdit* password_;
};

}  // namespace qx::ui
