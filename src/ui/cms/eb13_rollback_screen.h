// frmEa13roolback: the EB13 files whose result is not applied, ticked and
// taken back.
#pragma once

#include <QDialog>

class QTableWidget;

namespace qx {
class Database;
class Interaction;
struct SessionContext;
}  // namespace qx

namespace qx::ui {

class Eb13RollbackScreen : public QDialog {
    Q_OBJECT
  public:
    Eb13RollbackScreen(Database& db, const SessionContext& session, Interaction& ui,
                       QWidget* parent = nullptr);

    void refill();
    void rollBack();

  private:
    Database& db_;
    const SessionContext& session_;
    Interaction& ui_;
    QTableWidget* files_;
};

}  // namespace qx::ui
