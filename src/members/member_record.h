// Operations on one member: registration, change (with the edit-conflict
// check and the re-issue of a cancelled member), deletion, bank-side
// cancellation, account or card change, and the member list with its
// filters. Every statement is restricted to the user's own members.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace qx {

class Database;
class Interaction;
struct SessionContext;

inline constexpr const char* kSavedText = "정상 저장하였습니다. ";
inline constexpr const char* kEditConflictText =
    "본사 또는 지사에서 편집중인 회원의 CMS상태를 변경하였습니다. 재조회후 변경하십시오.";
inline constexpr const char* kDeleteQuestionText =
    "삭제된 회원은 복구 하실 수 없습니다. 삭제하시겠습니까?";
inline constexpr const char* kDeleteVirtualAccountText = "가상계좌 해지후 삭제 가능합니다.";
// Shown when the number names no member the user may see.
inline constexpr const char* kMemberNotFoundText = "회원정보를 찾을 수 없습니다.";

// One item of a member (user_item).
struct MemberItem {
    std::string name, stan;
    long long pay = 0;  // unit amount
    long long count = 1;
    long long payment() const { return pay * count; }
};

// What the member screens' fields hold, as typed. `fields` is keyed by the
// member_user column that receives the value; for card, phone and giro
// members the channel columns are used as the member record overloads them
// (card: account_no card number, account_jumin expiry, certificate_number
// holder mobile, cash_receipt_info receipt product name; phone: bank_code
// carrier, account_no telephone, account_name and account_jumin the line
// holder; giro: account_name the customer number).
struct MemberInput {
    std::map<std::string, std::string> fields;
    std::string initial_nonpayment;  // new members only ("초기미수금")
    std::string instalment_total;    // sales kind 3 ("할부매출액")
    std::string instalment_months;   // sales kind 3 ("기간")
    std::string period_months;       // sales kind 4, 1 to 998
    // The member's items; nullopt leaves the stored items as they are.
    std::optional<std::vector<MemberItem>> items;
    // Agreement evidence chosen on the screen for a new member.
    bool agreement_file_set = false;
    // New members of an institution that assigns virtual accounts at
    // registration: the bank to take one from, "" for none.
    std::string virtual_bank;

    std::string get(const std::string& column) const;
    void set(const std::string& column, const std::string& value) { fields[column] = value; }
};

// The columns that `--set` and the screens may give; throws
// std::invalid_argument for any other name.
void CheckInputColumn(const std::string& column);
const std::vector<std::string>& EditableMemberColumns();
// The caption of an editable column on the member screens.
std::string MemberColumnLabel(const std::string& column);

// A member row as stored, every column as text.
struct MemberRecord {
    long long member_inx = 0;
    std::map<std::string, std::string> values;
    std::string get(const std::string& column) const;
};

// The member if it exists, is not deleted and belongs to the user's branch or
// agency.
std::optional<MemberRecord> LoadMember(Database& db, const SessionContext& session,
                                       long long memberInx);
std::vector<MemberItem> LoadMemberItems(Database& db, const SessionContext& session,
                                        long long memberInx);

struct ValidationResult {
    bool ok = false;
    std::string focus;  // the column whose field gets the focus
};

// The checks of registration and change in their order, each refusal shown
// through `ui`. `existing` is the stored row on change, nullptr on create.
// May fill derived values into `input` (the cash-receipt number copied from
// the mobile on the user's yes).
ValidationResult ValidateMember(Database& db, const SessionContext& session, Interaction& ui,
                                MemberInput& input, const MemberRecord* existing);

// Registers a new member; its payer number, or nullopt when a check or an
// answer stopped it (nothing written).
// `focus`, when given, receives the column of the refused field.
std::optional<long long> CreateMember(Database& db, const SessionContext& session, Interaction& ui,
                                      MemberInput input, std::string* focus = nullptr);

// The card's values when it was opened, for the edit-conflict check.
struct OpenedState {
    std::string remove, cms_status;
};
inline OpenedState OpenedStateOf(const MemberRecord& r) {
    return {r.get("remove"), r.get("cms_status")};
}

struct ChangeResult {
    bool saved = false;
    long long member_inx = 0;  // the new number after a re-issue
};
ChangeResult ChangeMember(Database& db, SessionContext& session, Interaction& ui,
                          long long memberInx, const OpenedState& opened, MemberInput input,
                          std::string* focus = nullptr);

// remove=4 after the user's yes; refused while a virtual account is held.
bool DeleteMember(Database& db, const SessionContext& session, Interaction& ui,
                  long long memberInx);

// Cancellation made at the bank: remove 2, cms_status 13.
bool BankCancelMember(Database& db, const SessionContext& session, Interaction& ui,
                      long long memberInx);

// Moves a cancelled member to a new payer number in one transaction: copy of
// the row in state new, the old row deleted and pointing to the new number,
// every dependant row moved. `mobile` and `certificateKind` are the entered
// authentication data. Returns the new number.
long long ReissueMember(Database& db, const SessionContext& session, long long memberInx,
                        const std::string& certificateKind, const std::string& mobile);

// The account or card change of popupFrm22.
struct ChannelChange {
    // CMS
    std::string bank_code, account_no, account_jumin, account_name;
    // card
    std::string card_no, card_expiry, card_mobile;
};
std::optional<long long> ChangeMemberChannel(Database& db, const SessionContext& session,
                                             Interaction& ui, long long memberInx,
                                             const OpenedState& opened,
                                             const ChannelChange& change);

// The member list.
struct MemberFilter {
    std::string settle_accounts, account_divide, p_tax, cms_status, remove;
    std::string payday, inday, client_manager;
    std::string client_info1, client_info2, client_info3;  // "없음" = empty or NULL
    std::string nonpayment;                                // "Y" outstanding > 0, "N" none
    std::string username;                                  // contains
};
// Sets one filter by column name (the CLI's --where); throws
// std::invalid_argument for a column the list does not filter on.
void SetMemberFilter(MemberFilter& filter, const std::string& column, const std::string& value);

struct MemberListRow {
    long long member_inx = 0;
    std::string payer_number;  // ten digits
    std::map<std::string, std::string> values;
    std::string get(const std::string& column) const;
};
// Members of the user (never deleted ones), by payer number. Display columns
// added to each row: branch_name, agency_name, settle_text, cms_status_text,
// account_divide_text, p_tax_text, bank_name, signdate_text; the account
// holder number is masked beyond six characters when it is longer than 10
// unless `fullHolderNumbers`.
std::vector<MemberListRow> ListMembers(Database& db, const SessionContext& session,
                                       const MemberFilter& filter, bool fullHolderNumbers = false,
                                       int limit = 10000);

// Whether lists may show account holder numbers in full: the institution's
// xls_acnt_permit is '1', or the program was started with the launch code.
bool MayShowFullHolderNumbers(Database& db, const SessionContext& session);

// The values of a filter drop-down: distinct values of client_manager,
// payday, inday or client_info1..3 of the user's members, empty shown as
// "없음".
std::vector<std::string> DistinctFilterValues(Database& db, const SessionContext& session,
                                              const std::string& column);

// Text of remove codes: "정상", "해지", "보류", "삭제".
std::string MemberStateText(const std::string& remove);

}  // namespace qx
