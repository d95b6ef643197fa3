// frmDoc13: the item catalogue.
#pragma once

#include <QWidget>
#include <vector>

#include "members/items.h"

class QComboBox;
class QLineEdit;
class QTableWidget;

namespace qx {
class Database;
struct SessionContext;
namespace ui {
class GuiInteraction;

class ItemScreen : public QWidget {
  public:
    ItemScreen(Database& db, SessionContext& session, GuiInteraction& ui,
               QWidget* parent = nullptr);
    static constexpr const char* kScreenId = "frmDoc13";

  private:
    void search();
    void showRow(int row);
    ItemInput input() const;
    void add();
    void change();
    void remove();
    long long currentItem() const;

    Database& db_;
    SessionContext& session_;
    GuiInteraction& ui_;
    std::vector<ItemRow> rows_;
    QLineEdit* findName_ = nullptr;
    QLineEdit* findStan_ = nullptr;
    QLineEdit* findMemo_ = nullptr;
    QLineEdit* findPay_ = nullptr;
    QLineEdit* findPriceWithTax_ = nullptr;
    QLineEdit* findNumber_ = nullptr;
    QTableWidget* table_ = nullptr;
    QLineEdit* name_ = nullptr;
    QLineEdit* stan_ = nullptr;
    QLineEdit* pay_ = nullptr;
    QLineEdit* tax_ = nullptr;
    QLineEdit* agreement_ = nullptr;
    QLineEdit* memo_ = nullptr;
    QComboBox* divide_ = nullptr;
    QComboBox* settle_ = nullptr;
    QComboBox* pTax_ = nullptr;
    QComboBox* saleday_ = nullptr;
    QComboBox* collday_ = nullptr;
};

}  // namespace ui
}  // namespace qx
