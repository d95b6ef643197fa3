#include "ledger/batch_filter_choices.h"

#include <algorithm>

#include "core/session_context.h"
#include "db/database.h"
#include "members/member_record.h"
#include "platform/text_checks.h"

namespace qx {

namespace {

std::vector<CodeEntry> Entries(const Recordset& rs) {
    std::vector<CodeEntry> out;
    for (std::size_t i = 0; i < rs.size(); ++i) out.push_back({rs[i][1], rs[i][0]});
    return out;
}

std::vector<CodeEntry> Branches(Database& db, const SessionContext& s) {
    std::string sql = "select brinx, company from quorisdex.company_branch where perinx=?";
    SqlParams params{s.institution_number};
    std::vector<CodeEntry> out;
    if (s.isHeadOffice()) {
        out.push_back({"본사", "0"});
    } else {
        sql += " and brinx=?";
        params.emplace_back(s.brinx);
    }
    const auto rows = Entries(db.OpenRecordset(sql + " order by brinx", params));
    out.insert(out.end(), rows.begin(), rows.end());
    return out;
}

std::vector<CodeEntry> Agencies(Database& db, const SessionContext& s) {
    std::string sql = "select aginx, company from quorisdex.company_agency where rootinx=?";
    SqlParams params{s.institution_number};
    std::vector<CodeEntry> out;
    if (s.isAgency()) {
        sql += " and aginx=?";
        params.emplace_back(s.aginx);
    } else {
        out.push_back({"지사", "0"});
        if (s.isBranch()) {
            sql += " and rootbrinx=?";
            params.emplace_back(s.brinx);
        }
    }
    const auto rows = Entries(db.OpenRecordset(sql + " order by aginx", params));
    out.insert(out.end(), rows.begin(), rows.end());
    return out;
}

// Members without a sales day are billed on the 15th, so the day filter
// finds them under 15 and offers no separate "없음".
std::vector<std::string> SalesDays(std::vector<std::string> days) {
    for (auto& d : days) {
        if (!IsAllDigits(d) || d.empty() || d == "0") d = "15";
    }
    std::sort(days.begin(), days.end(), [](const std::string& a, const std::string& b) {
        return a.size() != b.size() ? a.size() < b.size() : a < b;
    });
    days.erase(std::unique(days.begin(), days.end()), days.end());
    return days;
}

}  // namespace

BatchFilterChoices LoadBatchFilterChoices(Database& db, const SessionContext& s) {
    BatchFilterChoices c;
    c.branches = Branches(db, s);
    c.agencies = Agencies(db, s);
    c.settle_accounts = LoadInstitutionCodeList(db, s.institution_number, "settleacnt");
    c.account_divide = {{"월매출", "1"}, {"수시매출", "2"}, {"할부매출", "3"}, {"기간매출", "4"}};
    c.client_manager = DistinctFilterValues(db, s, "client_manager");
    c.payday = SalesDays(DistinctFilterValues(db, s, "payday"));
    c.client_info1 = DistinctFilterValues(db, s, "client_info1");
    c.client_info2 = DistinctFilterValues(db, s, "client_info2");
    c.client_info3 = DistinctFilterValues(db, s, "client_info3");
    return c;
}

}  // namespace qx
