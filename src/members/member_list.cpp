#include <algorithm>
#include <stdexcept>

#include "core/session_context.h"
#include "db/database.h"
#include "db/role_filter.h"
#include "members/member_list_paging.h"
#include "members/member_record.h"
#include "members/member_row_support.h"
#include "members/member_rules.h"

namespace qx {

using namespace member_rows;

void SetMemberFilter(MemberFilter& f, const std::string& column, const std::string& value) {
    std::string* target = nullptr;
    if (column == "settle_accounts")
        target = &f.settle_accounts;
    else if (column == "account_divide")
        target = &f.account_divide;
    else if (column == "p_tax")
        target = &f.p_tax;
    else if (column == "cms_status")
        target = &f.cms_status;
    else if (column == "remove")
        target = &f.remove;
    else if (column == "payday")
        target = &f.payday;
    else if (column == "inday")
        target = &f.inday;
    else if (column == "client_manager")
        target = &f.client_manager;
    else if (column == "client_info1")
        target = &f.client_info1;
    else if (column == "client_info2")
        target = &f.client_info2;
    else if (column == "client_info3")
        target = &f.client_info3;
    else if (column == "pay_nonpayment")
        target = &f.nonpayment;
    else if (column == "username")
        target = &f.username;
    if (!target) throw std::invalid_argument("조회할 수 없는 항목입니다: " + column);
    if (column == "pay_nonpayment" && value != "Y" && value != "N") {
        throw std::invalid_argument("pay_nonpayment 는 Y(미수 있음) 또는 N(미수 없음) 입니다.");
    }
    *target = value;
}

std::vector<MemberListRow> ListMembersAfter(Database& db, const SessionContext& s,
                                            const MemberFilter& f, long long afterMember,
                                            bool fullHolderNumbers, int limit) {
    auto orRaw = [](const std::string& expr, const char* column) {
        return expr.empty() ? std::string(column) : expr;
    };
    std::string sql =
        "select member_user.*, right(concat('0000000000',member_inx),10) payer_number, "
        "from_unixtime(signdate,'%y-%m-%d') signdate_text, " +
        orRaw(s.case_sql.branch_name, "branch_inx") + " branch_name, " +
        orRaw(s.case_sql.agency_name, "agency_inx") + " agency_name, " +
        orRaw(s.case_sql.settle_accounts, "settle_accounts") + " settle_text, " +
        orRaw(s.case_sql.cms_status, "cms_status") + " cms_status_text, " +
        orRaw(s.case_sql.account_divide, "account_divide") + " account_divide_text, " +
        orRaw(s.case_sql.p_tax, "p_tax") + " p_tax_text, " +
        orRaw(s.case_sql.bank_name, "bank_code") + " bank_name from " + Table(s, "member_user") +
        " member_user where remove<>4";
    SqlParams params;
    AppendRoleFilter(sql, params, s, "member_user");
    auto equals = [&](const char* column, const std::string& value) {
        if (value.empty()) return;
        sql += std::string(" and ") + column + "=?";
        params.emplace_back(value);
    };
    auto orNone = [&](const char* column, const std::string& value) {
        if (value.empty()) return;
        if (value == "없음") {
            sql += std::string(" and (") + column + "='' or " + column + " is null)";
        } else {
            equals(column, value);
        }
    };
    equals("settle_accounts", f.settle_accounts);
    equals("account_divide", f.account_divide);
    equals("p_tax", f.p_tax);
    equals("cms_status", f.cms_status);
    equals("remove", f.remove);
    equals("payday", f.payday);
    equals("inday", f.inday);
    orNone("client_manager", f.client_manager);
    orNone("client_info1", f.client_info1);
    orNone("client_info2", f.client_info2);
    orNone("client_info3", f.client_info3);
    if (f.nonpayment == "Y") sql += " and pay_nonpayment>0";
    if (f.nonpayment == "N") sql += " and pay_nonpayment<1";
    if (!f.username.empty()) {
        // The typed text is matched as it stands: % and _ are not wildcards.
        sql += " and username like concat('%',?,'%') escape '!'";
        params.emplace_back(EscapeLikePattern(f.username, '!'));
    }
    if (afterMember > 0) {
        sql += " and member_inx>?";
        params.emplace_back(afterMember);
    }
    sql += " order by member_inx limit " + std::to_string(std::max(1, limit));
    const Recordset rs = db.OpenRecordset(sql, params);
    std::vector<MemberListRow> rows;
    rows.reserve(rs.size());
    for (std::size_t i = 0; i < rs.size(); ++i) {
        MemberListRow row;
        row.member_inx = rs[i].asInt("member_inx");
        for (std::size_t c = 0; c < rs.columns.size(); ++c)
            row.values[rs.columns[c]] = rs.values[i][c];
        row.payer_number = row.get("payer_number");
        std::string& holder = row.values["account_jumin"];
        if (!fullHolderNumbers && CharacterCount(holder) > 10)
            holder = LeftCharacters(holder, 6) + "*******";
        rows.push_back(std::move(row));
    }
    return rows;
}

std::vector<MemberListRow> ListMembers(Database& db, const SessionContext& s, const MemberFilter& f,
                                       bool fullHolderNumbers, int limit) {
    return ListMembersAfter(db, s, f, 0, fullHolderNumbers, limit);
}

bool MayShowFullHolderNumbers(Database& db, const SessionContext& s) {
    if (s.launched_with_credentials) return true;
    return db.scalar("select xls_acnt_permit from quorisdex.admin_company where inx=?",
                     {s.institution_number}) == "1";
}

std::vector<std::string> DistinctFilterValues(Database& db, const SessionContext& s,
                                              const std::string& column) {
    static const char* kAllowed[] = {"client_manager", "payday",       "inday",
                                     "client_info1",   "client_info2", "client_info3"};
    if (std::find_if(std::begin(kAllowed), std::end(kAllowed),
                     [&](const char* c) { return column == c; }) == std::end(kAllowed)) {
        throw std::invalid_argument("조회할 수 없는 항목입니다: " + column);
    }
    const bool nullable = column.rfind("client_info", 0) == 0;
    std::string sql = "SELECT DISTINCT IF(" + column + " = ''" +
                      (nullable ? " or " + column + " is null" : "") + ", '없음', " + column +
                      ") v, " + column + " from " + Table(s, "member_user") + " where remove<>4";
    SqlParams params;
    AppendRoleFilter(sql, params, s, "");
    sql += " order by " + column;
    const Recordset rs = db.OpenRecordset(sql, params);
    std::vector<std::string> out;
    for (std::size_t i = 0; i < rs.size(); ++i) {
        if (std::find(out.begin(), out.end(), rs[i][0]) == out.end()) out.push_back(rs[i][0]);
    }
    return out;
}

}  // namespace qx
