// frmDoc12: collection methods, receipt kinds and free-field names.
#pragma once

#include <QWidget>

#include "members/code_list_maintenance.h"

class QComboBox;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace qx {
class Database;
struct SessionContext;
namespace ui {
class GuiInteraction;

class CodeListScreen : public QWidget {
  public:
    CodeListScreen(Database& db, SessionContext& session, GuiInteraction& ui,
                   QWidget* parent = nullptr);
    static constexpr const char* kScreenId = "frmDoc12";

  private:
    CodeListKind kind() const;
    void reload();
    void add();
    void remove();
    void rename();

    Database& db_;
    SessionContext& session_;
    GuiInteraction& ui_;
    std::vector<CodeRow> rows_;
    QComboBox* list_ = nullptr;
    QTableWidget* table_ = nullptr;
    QLineEdit* code_ = nullptr;
    QLineEdit* name_ = nullptr;
    QPushButton* addButton_ = nullptr;
    QPushButton* deleteButton_ = nullptr;
    QPushButton* renameButton_ = nullptr;
};

}  // namespace ui
}  // namespace qx
