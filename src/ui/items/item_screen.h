// frmDoc13: the item catalogue.
#pragma once

#include <vector>

#include "members/items.h"
#include "ui/domain_screen.h"

class QComboBox;
class QLineEdit;
class QTableWidget;

namespace qx::ui {

class ItemScreen : public DomainScreen {
  public:
    ItemScreen(Database& db, SessionContext& session, Interaction& ui, QWidget* parent = nullptr);
    static constexpr const char* kScreenId = "frmDoc13";

  private:
    void search();
    void showRow(int row);
    ItemInput input() const;
    void add();
    void change();
    void remove();
    // The item of the selected grid row, or 0 after telling the user.
    long long selectedItem();

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

}  // namespace qx::ui
