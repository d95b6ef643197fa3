// The institution's item catalogue (table item) and the checks of the item
// screen and the item pickers.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace qx {

class Database;
class Interaction;
struct SessionContext;

inline constexpr const char* kItemNameRequiredText = "품목명을 입력하십시요.";
inline constexpr const char* kItemPriceInvalidText = "단가가 잘못되었습니다.";
inline constexpr const char* kItemPriceTooLowText = "단가가 잘못되었습니다.(1000원이상)";
inline constexpr const char* kItemTaxInvalidText = "세액이 잘못되었습니다.";
inline constexpr const char* kItemTaxTooLowText = "세액이 잘못되었습니다.(100원이상)";
inline constexpr const char* kItemInstalmentInvalidText = "할부총액이 잘못되었습니다.";
inline constexpr const char* kItemInstalmentTooLowText = "할부총액이 잘못되었습니다.(100원이상)";
inline constexpr const char* kItemPeriodInvalidText = "할부기간이 잘못되었습니다.";
inline constexpr const char* kItemPeriodTooLowText = "할부기간이 잘못되었습니다.(1개월이상)";
inline constexpr const char* kQuantityInvalidText = "수량이 잘못되었습니다.";
inline constexpr const char* kQuantityTooLowText = "수량이 잘못되었습니다.(1이상)";
inline constexpr const char* kQuantityChangeQuestionText = "입력된 내용으로 변경 하시겠습니까?";

// Sales kinds of an item, as in the member record.
enum AccountDivide : int { kMonthly = 1, kAdHoc = 2, kInstalment = 3, kPeriod = 4 };

// What the item screen's fields hold, as typed.
struct ItemInput {
    std::string name, stan, memo;
    std::string pay;               // unit price
    std::string tax;               // tax per unit; empty = 0
    std::string agreement;         // instalment total or number of months
    int saleday = 0, collday = 0;  // 0 = none, else 1 to 31
    std::string settle_accounts = "1";
    int account_divide = kMonthly;
    std::string p_tax = "0";
};

struct ItemRow {
    long long item_inx = 0;
    std::string name, stan, memo;
    long long pay = 0, tax = 0, agreement = 0;
    int saleday = 0, collday = 0;
    std::string settle_accounts, p_tax;
    int account_divide = kMonthly;
    bool removed = false;

    long long priceWithTax() const { return pay + tax; }
    // The "할부총액/기간" column: the total, the months + " 개월", or empty.
    std::string agreementColumn() const;
};

// The list filters; empty fields do not filter.
struct ItemFilter {
    std::string name, stan, memo;  // contains
    std::string pay;               // unit price equals
    std::string priceWithTax;      // price with tax equals
    std::string itemNumber;        // item_inx equals
};

// A validated item ready to be stored.
struct ItemValues {
    std::string name, stan, memo;
    long long pay = 0, tax = 0, agreement = 0;
    int saleday = 0, collday = 0;
    std::string settle_accounts, p_tax;
    int account_divide = kMonthly;
};

// The first refusing message of the item checks, or the values to store.
// Throws std::invalid_argument for values no screen offers (sales kind,
// days, codes).
struct ItemCheck {
    std::string message;  // empty when the input is good
    ItemValues values;
};
ItemCheck CheckItemInput(const ItemInput& input);

// Active items (remove_item 'N') matching the filter, newest first. A
// filter number that is not a number matches nothing.
std::vector<ItemRow> ListItems(Database& db, const SessionContext& session,
                               const ItemFilter& filter = {});
std::optional<ItemRow> FindItem(Database& db, const SessionContext& session, long long itemInx);

// Adds an item after the checks; its number, or nullopt after the message.
std::optional<long long> AddItem(Database& db, const SessionContext& session, Interaction& ui,
                                 const ItemInput& input);
// Changes an active item after the checks; false after the message.
bool ChangeItem(Database& db, const SessionContext& session, Interaction& ui, long long itemInx,
                const ItemInput& input);
// Marks the item deleted after the user's yes; the row stays.
bool DeleteItem(Database& db, const SessionContext& session, Interaction& ui, long long itemInx);
std::string DeleteItemQuestion(const std::string& itemName);

// The picker's quantity: a whole number of at least 1; nullopt after the
// message.
std::optional<int> CheckQuantity(const std::string& text, Interaction& ui);

}  // namespace qx
