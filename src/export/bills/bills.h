// E-mailed bills: choosing the members to bill for a month, issuing one bill
// per member into `cashrender`, asking the service web server to mail the
// batch, the lists of batches and bills, and the institution's bill texts.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "db/database.h"
#include "ledger/batch_filter.h"

namespace qx {

class Interaction;
struct SessionContext;

inline constexpr const char* kBillMailerPath = "/zelmor/cs_load/cashenv.php";
inline constexpr const char* kBillPreviewPath = "/zelmor/cs_load/cashview.php";

inline constexpr const char* kBillIssueQuestionText =
    "조회된 회원을 대상으로 청구서를 발행합니다. 처리하시겠습니까?";
inline constexpr const char* kNoBillTextsText =
    "청구서를 설정하셔야 합니다. [청구서설정] 버튼을 클릭하여 적용하십시요.";
inline constexpr const char* kBillsIssuedSuffix =
    "건이 처리되었습니다. 이전화면으로 돌아가시겠습니까?";
inline constexpr const char* kBillIssueFailedText =
    "처리중 오류가 발생 하였습니다. (전산실 문의 요망)";
inline constexpr const char* kBillTextsSavedText = "정상 적용하였습니다.";
inline constexpr const char* kBillMonthText = "청구월을 YYYY-MM 형식으로 입력하십시요.";
inline constexpr const char* kBillsBusyText =
    "다른 사용자가 청구서를 발행하는 중입니다. 잠시후 다시 시도 하십시오.";
// The alternative deposit account of a member without a virtual account.
inline constexpr const char* kNoAlternativeAccount = "없음";

// Which members by state: normal, on hold, or normal and cancelled.
enum class BillMemberState { kNormal, kOnHold, kNormalAndCancelled };

// A column the free text condition may test, with its caption.
struct BillTextColumn {
    const char* column;
    const char* caption;
};
const std::vector<BillTextColumn>& BillTextColumns();

struct BillSelection {
    std::string month;  // billing month "yyyy-mm"
    BillMemberState state = BillMemberState::kNormal;
    // Branch, agency, manager, collection method, sales kind, debit day and
    // the three free fields, with "없음" for an empty one.
    BatchFilter filter;
    std::string nonpayment;  // "" any, "Y" outstanding > 0, "N" none
    std::string p_tax;       // receipt kind code
    std::string cms_status;  // CMS state code
    std::string textColumn;  // one of BillTextColumns(), or empty
    std::string text;
    bool textEquals = false;  // equals instead of contains
};

// Sets one condition by name (the CLI's --where): the names of
// SetBatchFilter, "remove" (1, 3 or 12), "pay_nonpayment" (Y/N), "p_tax"
// and "cms_status". Throws std::invalid_argument for anything else.
void SetBillCondition(BillSelection& selection, const std::string& name, const std::string& value);

// "yyyy-mm" with a month 01-12.
bool IsBillingMonth(const std::string& month);
// "yyyy년 mm월" of a billing month.
std::string BillingMonthCaption(const std::string& month);

struct BillCandidate {
    long long member_inx = 0;
    std::string payer_number;  // ten digits
    std::string name;          // member name, or the company with a business number
    std::string id;            // business or resident number without '-'
    std::string account;       // "대체입금계좌"
    std::string email;
    std::string payday;
    std::string start_date;
    long long outstanding = 0;  // before this month
    long long month_amount = 0;
    long long total = 0;
};
// The members the selection bills, newest payer number first. Throws
// std::invalid_argument for a month that is not "yyyy-mm" or a text column
// outside the list.
std::vector<BillCandidate> ListBillCandidates(Database& db, const SessionContext& session,
                                              const BillSelection& selection);

struct BillIssueResult {
    bool done = false;     // bills were written (possibly none)
    long long issued = 0;  // bills written by this issue
    std::string crdate;    // the batch's issue time
    bool mailRequested = false;
    std::string mailReply;    // the mailer's answer, empty when none came
    bool backToList = false;  // the user's answer to the closing question
};
// Asks, looks up the current bill texts, writes the bills of the selection
// in one statement that skips members already billed for the month, and
// has the service web server at `webHost` mail the batch. Messages go to
// `ui`; a failure is reported with kBillIssueFailedText.
BillIssueResult IssueBills(Database& db, const SessionContext& session, Interaction& ui,
                           const std::string& webHost, const BillSelection& selection);

// The mailer's request for one batch; its trimmed answer, empty when none came.
std::string RequestBillMailing(const std::string& webHost, const std::string& crdate,
                               long long inx);
// What to tell the user after a mailing request; empty when every bill went out.
std::string BillMailingNotice(const std::string& reply);

struct BillBatch {
    std::string month, crdate;
    long long count = 0, mailed = 0, total = 0;
};
// Batches issued for billing months from..to ("yyyy-mm"), newest first.
std::vector<BillBatch> ListBillBatches(Database& db, const SessionContext& session,
                                       const std::string& fromMonth, const std::string& toMonth);

struct BillRow {
    long long crinx = 0;
    std::string month, crdate, name, id, email;
    long long outstanding = 0, month_amount = 0, total = 0, mailcnt = 0;
};
// The bills of one batch, newest first.
std::vector<BillRow> ListBills(Database& db, const SessionContext& session,
                               const std::string& crdate);

struct BillTexts {
    long long inx = 0;
    std::string title1, title2, title3, title4;
};
// The institution's current set: its newest cash_title row.
std::optional<BillTexts> CurrentBillTexts(Database& db, const SessionContext& session);
// Saves the four texts as the new current set; false (after a message) for
// a text that cannot be stored.
bool SaveBillTexts(Database& db, const SessionContext& session, Interaction& ui,
                   const BillTexts& texts);
// The preview page of the service web server for the texts and month.
std::string BillPreviewUrl(const std::string& webHost, const SessionContext& session,
                           const BillTexts& texts, const std::string& month);

}  // namespace qx
