// frmDoc31_1: lists the members due for an EB13 request and writes the
// day's file.
#pragma once

#include <QDialog>
#include <vector>

#include "cms/eb13/eb13_creation.h"

class QDateEdit;
class QLabel;
class QTableView;

namespace qx {
class Database;
class Interaction;
struct SessionContext;
}  // namespace qx

namespace qx::ui {

class Eb13TargetModel;

class Eb13CreationDialog : public QDialog {
    Q_OBJECT
  public:
    Eb13CreationDialog(Database& db, SessionContext& session, Interaction& ui,
                       Eb13ClosingQuestion question, QWidget* parent = nullptr);

    void search();
    void create();
    std::size_t targetCount() const { return targets_.size(); }

  signals:
    // The user chose to file agreement evidence first: the opener moves on
    // to the EI13 screen.
    void ei13ScreenWanted();

  private:
    void fitColumns();

    Database& db_;
    SessionContext& session_;
    Interaction& ui_;
    Eb13ClosingQuestion question_;
    std::vector<Eb13Target> targets_;
    QDateEdit* date_;
    QLabel* count_;
    QTableView* grid_;
    Eb13TargetModel* model_;
};

}  // namespace qx::ui
