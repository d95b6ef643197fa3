// The own information of a head office, branch or agency: reading it,
// checking and saving the details, changing the password, and the lists of
// branches and agencies.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "db/database.h"

namespace qx {

class Interaction;
struct SessionContext;

enum class AccountKind { kHeadOffice, kBranch, kAgency };

struct AccountKey {
    AccountKind kind = AccountKind::kHeadOffice;
    long long number = 0;  // inx, brinx or aginx
};

// The account the logged-in user maintains: an agency user its agency, a
// branch user its branch, otherwise the head office.
AccountKey OwnAccount(const SessionContext& session);

struct DetailField {
    const char* column;
    const char* label;
};
// The detail columns in the order they are written, with their captions.
const std::vector<DetailField>& DetailFields();

using Details = std::map<std::string, std::string>;

struct AccountInfo {
    std::string id;
    std::string password;  // as typed: pw_org of a head office, pw otherwise
    std::string org_code;  // head office only
    Details details;
};

// Throws std::invalid_argument when the account does not exist.
AccountInfo LoadAccountInfo(Database& db, const AccountKey& key);

// Longest text (in characters) each column of the account's table takes.
std::map<std::string, int> ColumnLengths(Database& db, const std::string& schema,
                                         const std::string& table);
std::map<std::string, int> AccountColumnLengths(Database& db, AccountKind kind);

// Shows the first refusal and returns false; also false when the user
// declines a question. Nothing is written either way.
bool ValidateAccountDetails(const Details& details, const std::map<std::string, int>& lengths,
                            Interaction& ui);

enum class SaveOutcome { kSaved, kRefused, kCancelled };

// Validates and writes every detail column. A head office whose person in
// charge changed is told whom to inform, and the change is noted on the
// institution's member row in the operator's own institution.
SaveOutcome SaveAccountInfo(Database& db, const AccountKey& key, const AccountInfo& before,
                            const Details& edited, int cmsrunprg, Interaction& ui);

// The text shown after the person in charge changed.
std::string ContactChangeMessage(int cmsrunprg);

// The operator's institution, whose members are the service's customers.
inline constexpr long long kOperatorInstitution = 10001;

// Notes the change of the person in charge on the operator's member row of
// the institution with this CMS code and copies the new mobile and e-mail
// there. False (and nothing written) when the operator's schema or such a
// member does not exist.
bool NoteContactChange(Database& db, const std::string& org_code, const Details& before,
                       const Details& after);

// Asks the user to type the password again; true when it matched.
using PasswordConfirmFn = std::function<bool(const std::string& expected)>;

// A head office stores the MD5 and the password as typed, a branch or agency
// only the password as typed.
SaveOutcome ChangeAccountPassword(Database& db, const AccountKey& key, const std::string& password,
                                  Interaction& ui, const PasswordConfirmFn& confirmAgain);

// The organisation lists: branches of the institution (a branch or agency
// user only its own), and the agencies of one branch (an agency user only
// its own). Columns carry their captions.
Recordset LoadBranchList(Database& db, const SessionContext& session);
Recordset LoadAgencyList(Database& db, const SessionContext& session, long long brinx);
inline constexpr const char* kOrganisationColumnWidths = "1000,1800,1500,1500,1200,1200,1400,1400";

}  // namespace qx
