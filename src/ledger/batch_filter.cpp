#include "ledger/batch_filter.h"

#include <stdexcept>
#include <vector>

#include "core/session_context.h"
#include "platform/text_checks.h"

namespace qx {

namespace {

constexpr const char* kNone = "없음";
constexpr const char* kPrefix = " and member_user.";
constexpr const char* kCmsClause = " and member_user.settle_accounts in ('1')";
constexpr const char* kGeneralClause = " and member_user.settle_accounts not in ('1')";

struct Field {
    const char* column;
    std::string BatchFilter::*value;
    bool numeric;
    bool noneMeansEmpty;  // "없음" stands for an empty (or NULL) column
};

const std::vector<Field>& Fields() {
    static const std::vector<Field> fields = {
        {"branch_inx", &BatchFilter::branch_inx, true, false},
        {"agency_inx", &BatchFilter::agency_inx, true, false},
        {"client_manager", &BatchFilter::client_manager, false, true},
        {"settle_accounts", &BatchFilter::settle_accounts, true, false},
        {"account_divide", &BatchFilter::account_divide, true, false},
        {"payday", &BatchFilter::payday, true, false},
        {"client_info1", &BatchFilter::client_info1, false, true},
        {"client_info2", &BatchFilter::client_info2, false, true},
        {"client_info3", &BatchFilter::client_info3, false, true},
    };
    return fields;
}

// Values are words a user picked from a drop-down: no quote or backslash
// can be among them, which also keeps the realWhere text unambiguous.
bool ValidValue(const Field& f, const std::string& v) {
    if (v.empty() || v.size() > 96) return false;
    if (f.numeric) return v.size() <= 5 && IsAllDigits(v);
    return IsStorableText(v) && v.find_first_of("'\\") == std::string::npos;
}

}  // namespace

void SetBatchFilter(BatchFilter& filter, const std::string& column, const std::string& value) {
    if (column == "member_kind") {
        if (value != "cms" && value != "general" && !value.empty()) {
            throw std::invalid_argument(
                "member_kind 는 cms(CMS회원) 또는 general(일반회원) 입니다.");
        }
        filter.member_kind = value;
        return;
    }
    for (const auto& f : Fields()) {
        if (column != f.column) continue;
        if (!value.empty() && !ValidValue(f, value)) {
            throw std::invalid_argument("조회 조건 값이 잘못 되었습니다: " + column + "=" + value);
        }
        filter.*f.value = value;
        return;
    }
    throw std::invalid_argument("조회할 수 없는 항목입니다: " + column);
}

BatchFilter WithUserRole(BatchFilter filter, const SessionContext& s) {
    if (s.brinx > 0) filter.branch_inx = std::to_string(s.brinx);
    if (s.aginx > 0) filter.agency_inx = std::to_string(s.aginx);
    return filter;
}

std::string BatchFilterSql(const BatchFilter& filter, SqlParams& params,
                           const std::string& member) {
    std::string sql;
    for (const auto& f : Fields()) {
        const std::string& v = filter.*f.value;
        if (v.empty()) continue;
        const std::string column = member + "." + f.column;
        if (f.noneMeansEmpty && v == kNone) {
            sql += " and (" + column + "='' or " + column + " is null)";
            continue;
        }
        if (std::string(f.column) == "payday") {
            sql += " and if(ifnull(" + column + ",0)=0,15," + column + ")=?";
        } else {
            sql += " and " + column + "=?";
        }
        params.emplace_back(v);
    }
    if (filter.member_kind == "cms") sql += " and " + member + ".settle_accounts='1'";
    if (filter.member_kind == "general") sql += " and " + member + ".settle_accounts<>'1'";
    return sql;
}

std::string RealWhereText(const BatchFilter& filter) {
    std::string text;
    for (const auto& f : Fields()) {
        const std::string& v = filter.*f.value;
        if (!v.empty()) text += kPrefix + std::string(f.column) + "='" + v + "'";
    }
    if (filter.member_kind == "cms") text += kCmsClause;
    if (filter.member_kind == "general") text += kGeneralClause;
    return text;
}

std::optional<BatchFilter> ParseRealWhere(const std::string& text) {
    BatchFilter filter;
    std::size_t at = 0;
    auto startsHere = [&](const std::string& s) { return text.compare(at, s.size(), s) == 0; };
    while (at < text.size()) {
        if (startsHere(kCmsClause) || startsHere(kGeneralClause)) {
            if (!filter.member_kind.empty()) return std::nullopt;
            const bool cms = startsHere(kCmsClause);
            filter.member_kind = cms ? "cms" : "general";
            at += std::string(cms ? kCmsClause : kGeneralClause).size();
            continue;
        }
        if (!startsHere(kPrefix)) return std::nullopt;
        at += std::string(kPrefix).size();
        const Field* field = nullptr;
        for (const auto& f : Fields()) {
            if (startsHere(std::string(f.column) + "='")) {
                field = &f;
                break;
            }
        }
        if (!field) return std::nullopt;
        at += std::string(field->column).size() + 2;
        const std::size_t end = text.find('\'', at);
        if (end == std::string::npos) return std::nullopt;
        const std::string value = text.substr(at, end - at);
        std::string& slot = filter.*field->value;
        if (!slot.empty() || !ValidValue(*field, value)) return std::nullopt;
        slot = value;
        at = end + 1;
    }
    return filter;
}

}  // namespace qx
