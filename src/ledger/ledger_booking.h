// The member's ledger one row at a time: the shared booking routine every
// writer of a single row uses, and the ledger panel of the member card
// (add a sale or a collection, cancel one of either).
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace qx {

class Database;
class Interaction;
struct SessionContext;

enum class LedgerKind { kSale, kCollection };

inline constexpr const char* kAmountMissingText = " 처리할 금액을 입력하십시오.";
inline constexpr const char* kAmountInvalidText = "처리할 금액이 잘못 되었습니다.(1원 이상 숫자)";
inline constexpr const char* kItemMissingText = "품목명을 입력 하십시오.";
inline constexpr const char* kDateInvalidText = "일자가 잘못 되었습니다.(yyyy-mm-dd)";
inline constexpr const char* kInstalmentCollectionText =
    "할부총액보다 큰 금액은 입력 할 수 없습니다.";
inline constexpr const char* kInstalmentSaleText =
    "할부총액을 초과 하여 매출을 발생 할 수 없습니다.";
inline constexpr const char* kPhoneSaleCancelText = "전화결제인경우 매출을 취소할 수 없습니다.";
// A row that is not there, already cancelled, or of a member the user may not see.
inline constexpr const char* kLedgerRowMissingText = "취소할 원장내역을 찾을 수 없습니다.";

// One row to book. An empty `date` is the server's date; an empty `title`
// is the kind's default ("대체수금" for collections, the name of the
// member's collection method for sales).
struct LedgerBooking {
    long long member = 0;
    long long amount = 0;
    LedgerKind kind = LedgerKind::kSale;
    std::string date;  // yy-mm-dd
    std::string title;
    std::string memo;
    std::string item;
};

struct BookedRow {
    long long pay_inx = 0;
    long long nonpayment = 0;  // the member's outstanding amount after the row
};

// Updates the member's totals and inserts the row, in one transaction, with
// the member row locked so that a second desk booking at the same moment
// sees the first one's totals. Throws LedgerRefused when the member is not
// one of the user's or the instalment rule refuses the amount.
BookedRow BookLedgerRow(Database& db, const SessionContext& session, const LedgerBooking& row);

// The ledger panel: checks the typed values with the screen's texts, asks,
// books and logs. Returns the new row's key, nullopt when a check or the
// answer stopped it (nothing written).
std::optional<long long> AddLedgerEntry(Database& db, const SessionContext& session,
                                        Interaction& ui, long long member, LedgerKind kind,
                                        const std::string& amountText, const std::string& dateText,
                                        const std::string& item, const std::string& memo);

// Cancels one row after the user's yes: the inverse of its booking on the
// member, the row and the batch row it came from deleted, one transaction.
bool CancelLedgerEntry(Database& db, const SessionContext& session, Interaction& ui,
                       long long payInx);

struct LedgerRow {
    long long pay_inx = 0;
    long long member = 0;
    long long amount = 0;
    long long pros_nonpayment = 0;
    std::string paystat;  // "0" sale, "1" collection
    std::string settle_title, signdate, memo, item_name;
    long long addmuskey = 0;
    long long addkey = 0;
};

// The member's ledger, newest first; throws LedgerRefused when the member
// is not one of the user's.
std::vector<LedgerRow> ListLedger(Database& db, const SessionContext& session, long long member);

}  // namespace qx
