#include "reports/report_table.h"

#include <stdexcept>

#include "platform/text_checks.h"

namespace qx {

namespace {

void CheckOrder(const CivilDate& from, const CivilDate& to) {
    if (to < from) throw std::invalid_argument("조회기간의 시작일이 종료일보다 늦습니다.");
}

}  // namespace

ReportPeriod CheckedPeriod(const std::string& from, const std::string& to) {
    const auto f = ParseDate(from);
    const auto t = ParseDate(to);
    if (!f || from.size() != 10)
        throw std::invalid_argument("조회 시작일이 잘못 되었습니다: " + from);
    if (!t || to.size() != 10) throw std::invalid_argument("조회 종료일이 잘못 되었습니다: " + to);
    // File names and ledger rows keep two-digit years.
    for (const CivilDate* d : {&*f, &*t})
        if (d->year < 2000 || d->year > 2099)
            throw std::invalid_argument("조회기간은 2000년부터 2099년까지입니다.");
    CheckOrder(*f, *t);
    return {*f, *t};
}

std::optional<CivilDate> ParseReportMonth(const std::string& text) {
    std::string y, m;
    if (text.size() == 7 && text[4] == '-') {
        y = text.substr(0, 4);
        m = text.substr(5);
    } else if (text.size() == 5 && text[2] == '-') {
        y = "20" + text.substr(0, 2);
        m = text.substr(3);
    } else {
        return std::nullopt;
    }
    if (!IsAllDigits(y) || !IsAllDigits(m)) return std::nullopt;
    CivilDate d{std::stoi(y), std::stoi(m), 1};
    if (d.year < 2000 || d.year > 2099 || !IsValidDate(d)) return std::nullopt;
    return d;
}

ReportPeriod CheckedMonths(const std::string& from, const std::string& to) {
    const auto f = ParseReportMonth(from);
    const auto t = ParseReportMonth(to);
    if (!f) throw std::invalid_argument("조회 시작월이 잘못 되었습니다: " + from);
    if (!t) throw std::invalid_argument("조회 종료월이 잘못 되었습니다: " + to);
    CheckOrder(*f, *t);
    return {*f, *t};
}

int CheckedYear(const std::string& text) {
    if (text.size() != 4 || !IsAllDigits(text) || text < "2000" || text > "2099")
        throw std::invalid_argument("조회년도가 잘못 되었습니다: " + text);
    return std::stoi(text);
}

}  // namespace qx
