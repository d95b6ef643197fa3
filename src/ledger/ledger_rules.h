// Rules every ledger writer shares: the booking date, the batch memo texts,
// the title of a member's collection method and the log code of ledger work.
#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace qx {

// pross_log code of sales, collections and their batch runs.
inline constexpr int kLedgerLogCode = 8;

// Memo of a row booked by a batch run or the automatic sale.
inline constexpr const char* kBatchSaleMemo = "일괄매출";
inline constexpr const char* kBatchCollectionMemo = "일괄수금";
inline constexpr const char* kAutoSaleMemo = "자동매출";

// Title of collections booked by hand or in batch for the built-in methods.
inline constexpr const char* kTransferCollectionTitle = "대체수금";

// The ledger's "yy-mm-dd" for a typed date (yyyy-mm-dd, yy-mm-dd, yyyymmdd,
// yymmdd); nullopt for anything that is not a real date.
std::optional<std::string> LedgerDate(std::string_view text);

// "26년 03월 일괄매출" for the date "26-03-25" and the kind "일괄매출".
std::string MonthlyMemo(const std::string& ledgerDate, const std::string& kind);

// Free text of a ledger row as stored: double quotes and apostrophes removed.
std::string WithoutQuotes(std::string_view text);

// SQL expression giving the name of the collection method of the member row
// `member` (an alias of member_user in the statement) from the institution's
// 'settleacnt' list; the code itself when the list has no entry.
std::string SettleTitleSql(const std::string& schema, const std::string& member);

// A ledger operation refused by a rule; what() is the text shown to the user.
class LedgerRefused : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

}  // namespace qx
