// frmDoc12: collection methods, receipt kinds and free-field names.
#pragma once

#include <vector>

#include "members/code_list_maintenance.h"
#include "ui/domain_screen.h"

class QComboBox;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace qx::ui {

class CodeListScreen : public DomainScreen {
  public:
    CodeListScreen(Database& db, SessionContext& session, Interaction& ui,
                   QWidget* parent = nullptr);
    static constexpr const char* kScreenId = "frmDoc12";

  private:
    CodeListKind kind() const;
    void reload();
    void add();
    void remove();
    void rename();
    // The entry of the selected grid row, or null after telling the user.
    const CodeRow* selectedRow();

    std::vector<CodeRow> rows_;
    QComboBox* list_ = nullptr;
    QTableWidget* table_ = nullptr;
    QLineEdit* code_ = nullptr;
    QLineEdit* name_ = nullptr;
    QPushButton* addButton_ = nullptr;
    QPushButton* deleteButton_ = nullptr;
    QPushButton* renameButton_ = nullptr;
};

}  // namespace qx::ui
