// The fields of one member as the new-member screen and the member card show
// them: one box per column, the code drop-downs, the instalment and period
// fields and the items.
#pragma once

#include <QWidget>
#include <map>
#include <string>
#include <vector>

#include "members/member_record.h"

class QComboBox;
class QLineEdit;
class QTableWidget;
class QLabel;

namespace qx {
class Database;
struct SessionContext;
}  // namespace qx

namespace qx::ui {

class BankChoice;

class MemberForm : public QWidget {
    Q_OBJECT
  public:
    MemberForm(Database& db, SessionContext& session, bool newMember, QWidget* parent = nullptr);

    void load(const MemberRecord& member, const std::vector<MemberItem>& items);
    // Empties every field; a new member's form gets its starting values.
    void clear();
    MemberInput input() const;
    void focusColumn(const std::string& column);

    QLineEdit* line(const std::string& column) const;
    QComboBox* combo(const std::string& column) const;
    QLineEdit* initialBox() const { return initial_; }
    QLineEdit* instalmentTotalBox() const { return instalmentTotal_; }
    QLineEdit* instalmentMonthsBox() const { return instalmentMonths_; }
    QLineEdit* periodMonthsBox() const { return periodMonths_; }
    QTableWidget* items() const { return items_; }
    void addItem(const MemberItem& item);
    // The first and last fields in tab order, to chain the screen's own.
    QWidget* firstField() const { return tabChain_.front(); }
    QWidget* lastField() const { return tabChain_.back(); }

  private:
    void pickItem();
    void showPeriodEnd();
    void setValue(const std::string& column, const std::string& value);

    Database& db_;
    SessionContext& session_;
    bool itemsUsed_;
    BankChoice* bank_ = nullptr;
    std::vector<QWidget*> tabChain_;
    std::map<std::string, QLineEdit*> lines_;
    std::map<std::string, QComboBox*> combos_;
    QLineEdit* initial_ = nullptr;
    QLineEdit* instalmentTotal_;
    QLineEdit* instalmentMonths_;
    QLineEdit* periodMonths_;
    QLabel* periodEnd_;
    QTableWidget* items_;
};

}  // namespace qx::ui
