// selectitem1 to selectitem3: the item pickers of the member screens. They
// list the active items and hand back the chosen one with a quantity; the
// change variant asks before it replaces a member's item.
#pragma once

#include <QDialog>
#include <optional>
#include <vector>

#include "members/items.h"

class QLineEdit;
class QTableWidget;

namespace qx {
class Database;
class Interaction;
struct SessionContext;
namespace ui {

struct ChosenItem {
    ItemRow item;
    int quantity = 1;
};

class SelectItemDialog : public QDialog {
  public:
    enum class Variant { kChoose, kChange };
    SelectItemDialog(Database& db, SessionContext& session, Interaction& ui,
                     QWidget* parent = nullptr, Variant variant = Variant::kChoose);
    // Preselects an item and quantity (the change variant's starting point).
    void preset(long long itemInx, int quantity);
    const std::optional<ChosenItem>& chosen() const { return chosen_; }
    // OK: checks the quantity (and asks, for a change) before it closes.
    void accept() override;

  private:
    void search();

    Database& db_;
    SessionContext& session_;
    Interaction& ui_;
    Variant variant_;
    std::vector<ItemRow> rows_;
    std::optional<ChosenItem> chosen_;
    QLineEdit* find_ = nullptr;
    QTableWidget* table_ = nullptr;
    QLineEdit* quantity_ = nullptr;
};

}  // namespace ui
}  // namespace qx
