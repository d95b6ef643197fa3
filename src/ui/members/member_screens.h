// The member screens: the list (frmDoc20), new-member registration
// (frmDoc21), the member card (frmDoc22) and the account or card change
// dialog (popupFrm22). Each gathers input, calls the member operations and
// shows what comes back.
#pragma once

#include <QDialog>
#include <QWidget>
#include <map>

#include "members/member_list_columns.h"
#include "members/member_record.h"
#include "session/menu_catalogue.h"

class QComboBox;
class QLineEdit;
class QTableWidget;
class QPushButton;
class QLabel;

namespace qx {
class Database;
struct SessionContext;
}  // namespace qx

namespace qx::ui {

class FrozenColumns;
class GuiInteraction;
class LedgerPanel;
class MemberForm;

class MemberListScreen : public QWidget {
    Q_OBJECT
  public:
    MemberListScreen(Database& db, SessionContext& session, GuiInteraction& ui,
                     QWidget* parent = nullptr);
    void search();
    QTableWidget* table() const { return table_; }
    QComboBox* filter(const std::string& column) const;
    const MemberListLayout& columns() const { return layout_; }
    // Rows shown and the member of the current row, for the member card.
    MemberListState state() const;
    // Makes the member's row current; false when it is not listed.
    bool selectMember(long long memberInx);

  signals:
    // A row was double-clicked: the member card should open on it.
    void memberChosen(long long memberInx);

  private:
    Database& db_;
    SessionContext& session_;
    GuiInteraction& ui_;
    std::map<std::string, QComboBox*> filters_;
    QLineEdit* name_;
    QTableWidget* table_;
    MemberListLayout layout_;
    bool fullHolderNumbers_ = false;
    FrozenColumns* frozen_ = nullptr;
};

class NewMemberScreen : public QWidget {
    Q_OBJECT
  public:
    NewMemberScreen(Database& db, SessionContext& session, GuiInteraction& ui,
                    QWidget* parent = nullptr);
    MemberForm* form() const { return form_; }
    // The new payer number, or 0 when nothing was saved.
    long long save();
    // Bank of the virtual account taken at registration; null unless the
    // institution assigns them then.
    QComboBox* virtualBank() const { return virtualBank_; }

  private:
    Database& db_;
    SessionContext& session_;
    GuiInteraction& ui_;
    MemberForm* form_;
    QComboBox* virtualBank_ = nullptr;
};

class MemberCardScreen : public QWidget {
    Q_OBJECT
  public:
    MemberCardScreen(Database& db, SessionContext& session, GuiInteraction& ui,
                     QWidget* parent = nullptr);
    // Shows the member; false when the user may not see it.
    bool open(long long memberInx);
    bool save();
    bool removeMember();
    bool bankCancel();
    void changeAccount();
    void assignVirtualAccount();
    void cancelVirtualAccount();
    void setAgreementFile();
    bool changeCmsCode();
    QLineEdit* cmsCodeBox() const { return cmsCode_; }
    MemberForm* form() const { return form_; }
    long long memberInx() const { return member_; }

  private:
    Database& db_;
    SessionContext& session_;
    GuiInteraction& ui_;
    MemberForm* form_;
    QLineEdit* number_;
    QComboBox* virtualBank_;
    QLabel* virtualInfo_;
    QLineEdit* cmsCode_ = nullptr;  // institutions with their own payer numbering
    QTableWidget* ledger_;
    LedgerPanel* ledgerPanel_;
    long long member_ = 0;
    OpenedState opened_;
};

// popupFrm22
class AccountChangeDialog : public QDialog {
    Q_OBJECT
  public:
    AccountChangeDialog(Database& db, SessionContext& session, GuiInteraction& ui,
                        const MemberRecord& member, QWidget* parent = nullptr);
    long long created() const { return created_; }
    void apply();

  private:
    Database& db_;
    SessionContext& session_;
    GuiInteraction& ui_;
    MemberRecord member_;
    bool card_;
    QComboBox* bank_ = nullptr;
    std::map<std::string, QLineEdit*> fields_;
    long long created_ = 0;
};

}  // namespace qx::ui
