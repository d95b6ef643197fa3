// frmDoc14: the branches of the institution and the agencies of the branch
// chosen.
#pragma once

#include "ui/main/business_screen.h"

class QTableWidget;

namespace qx {
class Recordset;
}

namespace qx::ui {

class OrganisationScreen : public BusinessScreen {
    Q_OBJECT
  public:
    OrganisationScreen(const QString& id, const QString& title, ScreenContext& context,
                       QWidget* parent = nullptr);

    QTableWidget* branches() const { return branches_; }
    QTableWidget* agencies() const { return agencies_; }
    void showAgenciesOfRow(int row);

  private:
    void fill(QTableWidget* table, const Recordset& rows);

    ScreenContext& context_;
    QTableWidget* branches_;
    QTableWidget* agencies_;
};

}  // namespace qx::ui
