// frmDoc21_1: agreement files of many new members at once, from a folder
// or from an Excel workbook that names each member's file.
#pragma once

#include <QWidget>
#include <vector>

#include "members/agreement_file.h"

class QLineEdit;
class QTableWidget;

namespace qx {
class Database;
struct SessionContext;
}  // namespace qx

namespace qx::ui {

class GuiInteraction;

class BatchAgreementScreen : public QWidget {
    Q_OBJECT
  public:
    BatchAgreementScreen(Database& db, SessionContext& session, GuiInteraction& ui,
                         QWidget* parent = nullptr);
    void scan(const std::string& folder);
    // False when the workbook was refused (the grid is left as it was).
    bool scanWorkbook(const std::string& path);
    long long apply();
    QTableWidget* table() const { return table_; }

  private:
    void show();

    Database& db_;
    SessionContext& session_;
    GuiInteraction& ui_;
    QLineEdit* folder_;
    QTableWidget* table_;
    std::vector<AgreementCandidate> candidates_;
};

}  // namespace qx::ui
