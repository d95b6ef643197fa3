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

class BankChoice;
class FrozenColumns;
class GuiInteraction;
class LedgerPanel;
class MemberForm;

// An action on the member card while it shows no member.
inline constexpr const char* kNoMemberOnCardText = "변경할 대상이 없습니다.";
inline constexpr const char* kBankCancelQuestionText =
    "은행에서 해지된 회원으로 처리합니다. (회원상태 : 해지)\n은행해지 하시겠습니까?";
inline constexpr const char* kBankCancelDoneText = "은행해지 처리하였습니다.";
inline constexpr const char* kChannelChangeMethodsText =
    "CMS출금 또는 신용카드 회원만 계좌/카드를 변경할 수 있습니다.";
// The member list's name box never gets narrower than this.
inline constexpr int kNameBoxMinimumWidth = 140;

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
    // The SMS button: frmLMS with the selected rows, or every listed row
    // when none is selected.
    void openSms();

  signals:
    // A row was double-clicked: the member card should open on it.
    void memberChosen(long long memberInx);

  private:
    void fill();

    Database& db_;
    SessionContext& session_;
    GuiInteraction& ui_;
    std::map<std::string, QComboBox*> filters_;
    QLineEdit* name_;
    QTableWidget* table_;
    MemberListLayout layout_;
    std::vector<MemberListRow> rows_;  // as listed, for the SMS window
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
    QLabel* registered_;  // the payer number of the last registration
};

class MemberCardScreen : public QWidget {
    Q_OBJECT
  public:
    MemberCardScreen(Database& db, SessionContext& session, GuiInteraction& ui,
                     QWidget* parent = nullptr);
    // Shows the member; false when the user may not see it (the card is
    // then empty).
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
    bool showMember(long long memberInx);
    void openTyped();
    void clearCard();
    // False, with a message, while the card shows no member.
    bool hasMember();

    Database& db_;
    SessionContext& session_;
    GuiInteraction& ui_;
    MemberForm* form_;
    QLineEdit* number_;
    QComboBox* virtualBank_;
    QLabel* virtualInfo_;
    QLineEdit* cmsCode_ = nullptr;  // institutions with their own payer numbering
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
    BankChoice* bank_ = nullptr;
    std::map<std::string, QLineEdit*> fields_;
    long long created_ = 0;
};

}  // namespace qx::ui
