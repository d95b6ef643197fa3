#include "cms/eb11/bank_succession.h"

#include <utility>

namespace qx {

namespace {

// Old bank (3 digits) -> the bank that continues its accounts.
constexpr std::pair<std::string_view, std::string_view> kSuccession[] = {
    {"006", "004"}, {"019", "004"}, {"029", "004"}, {"079", "004"},  //
    {"010", "011"}, {"016", "011"},                                  //
    {"013", "012"}, {"014", "012"}, {"015", "012"}, {"017", "012"}, {"018", "012"},
    {"084", "020"}, {"022", "020"}, {"024", "020"}, {"083", "020"}, {"041", "020"},
    {"021", "088"}, {"026", "088"}, {"028", "088"},  //
    {"036", "027"}, {"053", "027"},                  //
    {"046", "045"}, {"085", "045"}, {"086", "045"},  //
    {"049", "048"}, {"047", "048"},                  //
    {"072", "071"}, {"073", "071"}, {"074", "071"}, {"075", "071"}, {"025", "081"},
    {"033", "081"}, {"082", "081"}, {"080", "081"},  //
    {"289", "247"},
};

}  // namespace

std::string SucceedingBankCode(std::string_view code) {
    if (code.size() != 7 || code.substr(3) != "0000") return std::string(code);
    for (const auto& [from, to] : kSuccession) {
        if (code.substr(0, 3) == from) return std::string(to) + "0000";
    }
    return std::string(code);
}

}  // namespace qx
