// frmDoc32_1 "CMS 출금파일 생성": lists what is due on the transfer date,
// lets the user choose the amounts, the billing method, the withdrawal kind
// and the passbook text, exclude rows, and writes the day's EB21 file.
#pragma once

#include <QDialog>
#include <string>
#include <vector>

#include "cms/eb21/eb21_targets.h"

class QDateEdit;
class QLabel;
class QTableView;

namespace qx {
class Database;
class Interaction;
struct SessionContext;
}  // namespace qx

namespace qx::ui {

class Eb21ChoicePanel;
class Eb21RowModel;

class Eb21CreationDialog : public QDialog {
    Q_OBJECT
  public:
    // `prepare` asks the server for the billable items; `webHost` serves the
    // automatic batch sale.
    Eb21CreationDialog(Database& db, SessionContext& session, Interaction& ui, std::string webHost,
                       BillablePreparer prepare, QWidget* parent = nullptr);

    // Runs the automatic batch sale when the institution asks for it, then
    // searches. False when the screen must close (sale or preparation failed).
    bool start();
    bool search();
    void create();
    void exclude();
    void toggleAll();
    const std::vector<Eb21Row>& rows() const { return rows_; }

  private:
    void showFigures();

    Database& db_;
    SessionContext& session_;
    Interaction& ui_;
    std::string webHost_;
    BillablePreparer prepare_;
    std::vector<Eb21Row> rows_;
    QDateEdit* date_;
    Eb21ChoicePanel* choices_;
    QLabel* selection_;
    QLabel* figures_;
    QLabel* excess_;
    QTableView* grid_;
    Eb21RowModel* model_;
};

// Opens frmDoc32_1 beside its parent; false when it closed at once (the
// automatic sale or the server preparation failed).
bool OpenEb21Creation(Database& db, SessionContext& session, Interaction& ui, QWidget* parent);

}  // namespace qx::ui
