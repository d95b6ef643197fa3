#include "members/items.h"

#include <stdexcept>

#include "core/session_context.h"
#include "db/database.h"
#include "members/whole_number.h"
#include "platform/interaction.h"
#include "platform/trim.h"

namespace qx {

namespace {

std::size_t CharacterCount(const std::string& s) {
    std::size_t n = 0;
    for (unsigned char c : s)
        if ((c & 0xC0) != 0x80) ++n;
    return n;
}

bool IsCode(const std::string& s, std::size_t maxLength) {
    if (s.empty() || s.size() > maxLength) return false;
    for (char c : s)
        if (c < '0' || c > '9') return false;
    return true;
}

void CheckLength(const std::string& text, std::size_t limit, const char* what) {
    if (CharacterCount(text) > limit)
        throw std::invalid_argument(std::string(what) + "은(는) " + std::to_string(limit) +
                                    "자까지 입력할 수 있습니다.");
}

std::string Table(const SessionContext& session) {
    return InstitutionSchema(session.institution_number) + ".item";
}

constexpr const char* kColumns =
    "item_inx, item_name, item_stan, item_memo, item_pay, item_tax, item_agreement, "
    "item_saleday, item_collday, settle_accounts, account_divide, p_tax, remove_item";

ItemRow ReadRow(const Recordset::Row& r) {
    ItemRow row;
    row.item_inx = r.asInt("item_inx");
    row.name = r["item_name"];
    row.stan = r["item_stan"];
    row.memo = r["item_memo"];
    row.pay = r.asInt("item_pay");
    row.tax = r.asInt("item_tax");
    row.agreement = r.asInt("item_agreement");
    row.saleday = static_cast<int>(r.asInt("item_saleday"));
    row.collday = static_cast<int>(r.asInt("item_collday"));
    row.settle_accounts = r["settle_accounts"];
    row.account_divide = static_cast<int>(r.asInt("account_divide"));
    row.p_tax = r["p_tax"];
    row.removed = r["remove_item"] == "Y";
    return row;
}

SqlParams ValueParams(const ItemValues& v) {
    return {v.name,
            v.stan,
            v.memo,
            v.pay,
            v.tax,
            v.agreement,
            v.saleday,
            v.collday,
            v.settle_accounts,
            std::to_string(v.account_divide),
            v.p_tax};
}

}  // namespace

std::string ItemRow::agreementColumn() const {
    if (account_divide == kInstalment) return std::to_string(agreement);
    if (account_divide == kPeriod) return std::to_string(agreement) + " 개월";
    return {};
}

ItemCheck CheckItemInput(const ItemInput& in) {
    if (in.account_divide < kMonthly || in.account_divide > kPeriod)
        throw std::invalid_argument("매출구분이 잘못되었습니다.");
    if (in.saleday < 0 || in.saleday > 31 || in.collday < 0 || in.collday > 31)
        throw std::invalid_argument("매출일 또는 수금일이 잘못되었습니다.");
    if (!IsCode(in.settle_accounts, 2)) throw std::invalid_argument("수금방식이 잘못되었습니다.");
    if (!IsCode(in.p_tax, 1)) throw std::invalid_argument("영수처리방식이 잘못되었습니다.");

    ItemCheck check;
    ItemValues& v = check.values;
    v.name = Trim(in.name);
    v.stan = Trim(in.stan);
    v.memo = Trim(in.memo);
    if (v.name.empty()) {
        check.message = kItemNameRequiredText;
        return check;
    }
    CheckLength(v.name, 64, "품목명");
    CheckLength(v.stan, 64, "규격");
    CheckLength(v.memo, 255, "메모");
    const auto pay = ParseWholeNumber(in.pay);
    if (!pay) {
        check.message = kItemPriceInvalidText;
        return check;
    }
    if (*pay < 1000) {
        check.message = kItemPriceTooLowText;
        return check;
    }
    v.pay = *pay;
    if (!Trim(in.tax).empty()) {
        const auto tax = ParseWholeNumber(in.tax);
        if (!tax) {
            check.message = kItemTaxInvalidText;
            return check;
        }
        if (*tax < 100) {
            check.message = kItemTaxTooLowText;
            return check;
        }
        v.tax = *tax;
    }
    if (in.account_divide == kInstalment) {
        const auto total = ParseWholeNumber(in.agreement);
        if (!total) {
            check.message = kItemInstalmentInvalidText;
            return check;
        }
        if (*total < 100) {
            check.message = kItemInstalmentTooLowText;
            return check;
        }
        v.agreement = *total;
    } else if (in.account_divide == kPeriod) {
        const auto months = ParseWholeNumber(in.agreement);
        if (!months) {
            check.message = kItemPeriodInvalidText;
            return check;
        }
        if (*months < 1) {
            check.message = kItemPeriodTooLowText;
            return check;
        }
        v.agreement = *months;
    }
    v.saleday = in.saleday;
    v.collday = in.collday;
    v.settle_accounts = in.settle_accounts;
    v.account_divide = in.account_divide;
    v.p_tax = in.p_tax;
    return check;
}

std::vector<ItemRow> ListItems(Database& db, const SessionContext& session,
                               const ItemFilter& filter) {
    std::string sql =
        std::string("select ") + kColumns + " from " + Table(session) + " where remove_item='N'";
    SqlParams params;
    auto contains = [&](const std::string& column, const std::string& text) {
        if (text.empty()) return;
        sql += " and " + column + " like concat('%', ?, '%')";
        params.emplace_back(text);
    };
    contains("item_name", filter.name);
    contains("item_stan", filter.stan);
    contains("item_memo", filter.memo);
    auto equals = [&](const std::string& expression, const std::string& text) -> bool {
        if (Trim(text).empty()) return true;
        const auto value = ParseWholeNumber(text, 999999999999LL);
        if (!value) return false;
        sql += " and " + expression + "=?";
        params.emplace_back(*value);
        return true;
    };
    if (!equals("item_pay", filter.pay) || !equals("(item_pay+item_tax)", filter.priceWithTax) ||
        !equals("item_inx", filter.itemNumber)) {
        return {};
    }
    sql += " order by item_inx desc";
    auto rs = db.OpenRecordset(sql, params);
    std::vector<ItemRow> out;
    out.reserve(rs.size());
    for (std::size_t i = 0; i < rs.size(); ++i) out.push_back(ReadRow(rs[i]));
    return out;
}

std::optional<ItemRow> FindItem(Database& db, const SessionContext& session, long long itemInx) {
    auto rs = db.OpenRecordset(
        std::string("select ") + kColumns + " from " + Table(session) + " where item_inx=?",
        {itemInx});
    if (rs.empty()) return std::nullopt;
    return ReadRow(rs[0]);
}

std::optional<long long> AddItem(Database& db, const SessionContext& session, Interaction& ui,
                                 const ItemInput& input) {
    const ItemCheck check = CheckItemInput(input);
    if (!check.message.empty()) {
        ui.inform(check.message);
        return std::nullopt;
    }
    db.ExecuteSql("insert into " + Table(session) +
                      " (item_name, item_stan, item_memo, item_pay, item_tax, item_agreement, "
                      "item_saleday, item_collday, settle_accounts, account_divide, p_tax, "
                      "remove_item) values (?,?,?,?,?,?,?,?,?,?,?,'N')",
                  ValueParams(check.values));
    return db.lastInsertId();
}

bool ChangeItem(Database& db, const SessionContext& session, Interaction& ui, long long itemInx,
                const ItemInput& input) {
    const ItemCheck check = CheckItemInput(input);
    if (!check.message.empty()) {
        ui.inform(check.message);
        return false;
    }
    const auto existing = FindItem(db, session, itemInx);
    if (!existing || existing->removed) throw std::invalid_argument("품목을 찾을 수 없습니다.");
    SqlParams params = ValueParams(check.values);
    params.emplace_back(itemInx);
    db.ExecuteSql("update " + Table(session) +
                      " set item_name=?, item_stan=?, item_memo=?, item_pay=?, item_tax=?, "
                      "item_agreement=?, item_saleday=?, item_collday=?, settle_accounts=?, "
                      "account_divide=?, p_tax=? where item_inx=?",
                  params);
    return true;
}

std::string DeleteItemQuestion(const std::string& itemName) {
    return "품목 [" + itemName + "] 을 삭제 하시겠습니까?";
}

bool DeleteItem(Database& db, const SessionContext& session, Interaction& ui, long long itemInx) {
    const auto existing = FindItem(db, session, itemInx);
    if (!existing || existing->removed) throw std::invalid_argument("품목을 찾을 수 없습니다.");
    if (!ui.confirm(DeleteItemQuestion(existing->name))) return false;
    db.ExecuteSql("update " + Table(session) + " set remove_item='Y' where item_inx=?", {itemInx});
    return true;
}

std::optional<int> CheckQuantity(const std::string& text, Interaction& ui) {
    const auto value = ParseWholeNumber(text);
    if (!value) {
        ui.inform(kQuantityInvalidText);
        return std::nullopt;
    }
    if (*value < 1) {
        ui.inform(kQuantityTooLowText);
        return std::nullopt;
    }
    return static_cast<int>(*value);
}

}  // namespace qx
