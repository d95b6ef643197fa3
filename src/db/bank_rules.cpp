#include "db/bank_rules.h"

#include <algorithm>
#include <vector>

namespace qx {
namespace {

struct Merger {
    std::vector<std::string_view> codes;
    std::string_view name;
};

const std::vector<Merger> kMergers{
    {{"006", "019", "029", "079"}, "국민(004)"},
    {{"010", "016"}, "농협중앙회(011)"},
    {{"013", "014", "015", "017", "018"}, "농협단위조합(012)"},
    {{"084", "022", "024", "083", "041"}, "우리(020)"},
    {{"021", "026", "028"}, "통합신한(088)"},
    {{"036", "053"}, "한국씨티(027)"},
    {{"046", "085", "086"}, "새마을금고연합회(045)"},
    {{"049", "047"}, "신용협동조합중앙회(048)"},
    {{"072", "073", "074", "075"}, "우체국(071)"},
    {{"025", "033", "082", "080", "005"}, "KEB하나(081)"},
    {{"289"}, "NH투자증권(247)"},
    {{"230"}, "미래에셋대우(238)"},
    {{"009"}, "수협은행(007)"},
    {{"069", "070"}, "수협중앙회(030)"},
    {{"043"}, "기업(003)"},
};

}  // namespace

std::string MergedBankName(std::string_view code) {
    for (const Merger& m : kMergers) {
        if (std::find(m.codes.begin(), m.codes.end(), code) != m.codes.end()) {
            return std::string(m.name);
        }
    }
    return std::string(code);
}

std::string NhAccountKind(std::string_view account) {
    const auto first = account.find_first_not_of(' ');
    account = first == std::string_view::npos
                  ? std::string_view{}
                  : account.substr(first, account.find_last_not_of(' ') - first + 1);
    if (!std::all_of(account.begin(), account.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        return kNhUnknown;
    }
    switch (account.size()) {
        case 11:
        case 12:
            return kNhCentral;
        case 13: {
            const char last = account.back();
            if (last == '1' || last == '2' || last == '8') return kNhCentral;
            if (last == '3' || last == '4' || last == '5' || last == '9') return kNhLocal;
            return kNhUnknown;
        }
        case 14: {
            const std::string_view middle = account.substr(6, 2), head = account.substr(0, 3);
            return middle == "64" || middle == "65" || head == "790" || head == "791" ? kNhCentral
                                                                                      : kNhLocal;
        }
        default:
            return kNhUnknown;
    }
}

}  // namespace qx
