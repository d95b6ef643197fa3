// popupEA21: the automatic batch sale asked for before an EB21 file is
// made. Accepted when the sale was booked; rejected when it failed, so that
// the withdrawal screen closes as it must.
#pragma once

#include <QDialog>
#include <string>

#include "ledger/auto_sale.h"

class QComboBox;
class QLineEdit;

namespace qx {
class Database;
class Interaction;
struct SessionContext;
}  // namespace qx

namespace qx::ui {

class AutoSaleDialog : public QDialog {
    Q_OBJECT
  public:
    // `transferDate` is the withdrawal file's date "yyyy-mm-dd".
    AutoSaleDialog(Database& db, SessionContext& session, Interaction& ui, std::string webHost,
                   const std::string& transferDate, QWidget* parent = nullptr);
    AutoSaleResult runSale();

  private:
    Database& db_;
    SessionContext& session_;
    Interaction& ui_;
    std::string webHost_;
    QComboBox* day_;
    QLineEdit* date_;
};

}  // namespace qx::ui
