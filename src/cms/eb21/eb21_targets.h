// What the EB21 screen lists: the billable items the server prepared,
// classified as regular or unpaid, grouped by the billing method, with the
// passbook text, the withdrawal kind and the cash-receipt number of each
// row; the month's figures against the withdrawal limit; and the exclusions.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "cms/eb21/eb21_preparation.h"
#include "db/business_days.h"

namespace qx {

class Database;
class Interaction;
struct SessionContext;

enum class Eb21Amounts { Both = 0, Regular = 1, Unpaid = 2 };
enum class Eb21Method { Monthly = 0, Item = 1, Sum = 2, MergeBoth = 3, MergeSplit = 4 };
enum class Eb21Kind { Full = 0, Partial = 1, UnpaidPartial = 2 };
enum class Eb21Passbook { Setting = 0, Instalment = 1, Month = 2 };

struct Eb21Options {
    Eb21Amounts amounts = Eb21Amounts::Both;
    Eb21Method method = Eb21Method::Monthly;
    Eb21Kind kind = Eb21Kind::Full;
    Eb21Passbook passbook = Eb21Passbook::Setting;
    // Card members are listed the same way for the card payment request.
    BillingChannel channel = BillingChannel::Account;
};

// Captions as the screen offers them.
const char* Eb21AmountsCaption(Eb21Amounts a);  // "정기+미납분", "정기분", "미납분"
const char* Eb21MethodCaption(Eb21Method m);    // "월단위청구", …
const char* Eb21KindCaption(Eb21Kind k);        // "완전출금", "부분출금", "미납분부분"
const char* Eb21PassbookCaption(Eb21Passbook p);  // "설정값사용", "회차표기", "월분표기"
// The methods and kinds offered for a choice of amounts, in screen order.
std::vector<Eb21Method> Eb21MethodsFor(Eb21Amounts a);
std::vector<Eb21Kind> Eb21KindsFor(Eb21Amounts a);
// The institution's settings (cms_set positions 1-6 and 9) for a choice of amounts.
Eb21Options Eb21DefaultOptions(const std::string& cmsSet, Eb21Amounts amounts);

struct Eb21Row {
    long long member_inx = 0;
    std::string payerNumber;  // ten digits
    std::string name;
    long long amount = 0;
    std::string saleDate;  // "yyyy-mm" or "yyyy-mm-dd"; empty for summed rows
    std::string addcount;  // empty for summed rows
    std::string repDay;    // newest sale date of the row, "yy-mm-dd" (may be empty)
    bool unpaid = false;   // "미납분", else "정기분"
    std::string cmsStatusText, cmsError, bankName, accountNo, passbook, bankCode, holderNumber;
    std::string amountKind;  // "1" or "2"
    std::string cmsStatus;   // the code at the search
    long long branch_inx = 0, agency_inx = 0;
    std::string branchName, agencyName;
    std::string inday;
    long long expected = 0;  // pay_monthdefault
    std::string cashReceipt, manager;
    bool selected = true;
};

// The grid's columns, in order.
const std::vector<std::string>& Eb21GridColumns();
std::vector<std::string> Eb21GridCells(const Eb21Row& row);

inline constexpr const char* kEb21PreparingText = "데이타를 정리하고 있습니다.";
inline constexpr const char* kEb21PreparationFailedText =
    "출금대상을 조회하던 중 오류가 발생하였습니다.\r\n안전한 파일 생성을 위해 출금파일 생성 "
    "작업을 종료합니다.\r\n약 5~10분 후 파일 생성 작업을\r\n다시 실행해 주시기 "
    "바랍니다.\r\n파일 생성 후에는 금액과 건수가 맞게 생성되었는지\r\n반드시 확인 해보시기 "
    "바랍니다.\r\n이 오류가 자주 발생할 경우\r\n쿼리스CMS(0000-0000)로 문의주시기 바랍니다.";

// Asks the server to prepare the billable items; returns its answer.
using BillablePreparer =
    std::function<std::string(const std::string& nuday, const std::string& setmonth)>;
// The preparer that requests the script of the service web server.
BillablePreparer ServiceBillablePreparer(const std::string& webHost, long long inx,
                                         BillingChannel channel = BillingChannel::Account);

struct Eb21Search {
    bool failed = false;  // the preparation failed: the screen closes
    std::vector<Eb21Row> rows;
};

// Prepares the items and reads the grid. The preparation and the reading of
// one institution run one at a time, so that two desks never mix their
// work tables.
Eb21Search SearchEb21Targets(Database& db, SessionContext& session, Interaction& ui,
                             const CivilDate& fileDate, const Eb21Options& options,
                             const BillablePreparer& prepare);

// A row above the per-withdrawal limit becomes parts of at most the limit:
// of the limit each when the desktop switch asks for it, else of the
// member's expected monthly amount (the limit when that is 0 or larger).
std::vector<Eb21Row> SplitByWithdrawalLimit(std::vector<Eb21Row> rows, long long oneOutLimit,
                                            bool byLimit);

struct Eb21MonthFigures {
    long long limit = 0;  // month_out_limit
    long long used = 0;   // this month's CMS collections and unapplied files
    long long oneOutLimit = 0;
    long long remaining() const { return limit - used; }
    // By how much the selection would pass the limit; 0 when it fits.
    long long excess(long long selected) const {
        return selected + used > limit ? selected + used - limit : 0;
    }
};
// For cards: the card limits, this month's card collections and the
// unapplied card payment requests.
Eb21MonthFigures LoadMonthFigures(Database& db, const SessionContext& session,
                                  const CivilDate& fileDate,
                                  BillingChannel channel = BillingChannel::Account);

// Counts and totals of the selected rows, and the screen's line for them.
struct Eb21Selection {
    long long count = 0, amount = 0;
};
Eb21Selection SelectedOf(const std::vector<Eb21Row>& rows);
std::string SelectionText(const Eb21Selection& selection);

enum class Eb21Exclusion {
    TransferDay,    // "이체예정일"
    AmountAtLeast,  // "출금액(이상)"
    AmountAtMost,   // "출금액(이하)"
    CmsState,       // "CMS상태"
    Branch,         // "지사"
    Agency,         // "대리점"
    CmsError,       // "CMS오류메세지"
    OutsideMonths,  // "지정개월수외"
    None,           // "제외안함"
};
const std::vector<std::pair<Eb21Exclusion, std::string>>& Eb21Exclusions();
std::optional<Eb21Exclusion> FindEb21Exclusion(const std::string& caption);

inline constexpr const char* kEb21AmountMissingText = "제외금액을 입력하십시오.";
inline constexpr const char* kEb21AmountInvalidText = "잘못된 제외금액입니다.";
inline constexpr const char* kEb21ErrorMissingText =
    "제외할 오류메세지(문장 또는 단어)를 입력하십시오.";
inline constexpr const char* kEb21MonthsMissingText =
    "청구할 개월수(숫자)를 입력하십시오.\r\n(설정한 개월수 외의 청구내역 제외함)";
inline constexpr const char* kEb21MonthsInvalidText = "잘못된 개월수입니다.";

// Deselects the rows that match; returns how many it deselected, nullopt
// (after the message) when the value is missing or not usable.
std::optional<long long> ApplyEb21Exclusion(std::vector<Eb21Row>& rows, Eb21Exclusion criterion,
                                            const std::string& value, const CivilDate& fileDate,
                                            Interaction& ui);

}  // namespace qx
