#include "ledger/ledger_rules.h"

#include "db/business_days.h"

namespace qx {

std::optional<std::string> LedgerDate(std::string_view text) {
    const auto date = ParseDate(text);
    if (!date) return std::nullopt;
    return FormatShortDate(*date);
}

std::string MonthlyMemo(const std::string& ledgerDate, const std::string& kind) {
    return ledgerDate.substr(0, 2) + "년 " + ledgerDate.substr(3, 2) + "월 " + kind;
}

std::string WithoutQuotes(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        if (c != '"' && c != '\'') out += c;
    }
    return out;
}

std::string SettleTitleSql(const std::string& schema, const std::string& member) {
    return "ifnull((select combotext from " + schema +
           ".comboload where combodivide='settleacnt' and combodata=" + member +
           ".settle_accounts order by cboinx limit 1)," + member + ".settle_accounts)";
}

}  // namespace qx
