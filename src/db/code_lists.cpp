#include "db/code_lists.h"

#include "core/session_context.h"
#include "db/database.h"
#include "db/sql_quote.h"

namespace qx {

namespace {

std::vector<CodeEntry> Load(Database& db, const std::string& table, const std::string& name) {
    auto rs = db.OpenRecordset("select combotext, combodata from " + table +
                                   ".comboload where combodivide=? order by combodata",
                               {name});
    std::vector<CodeEntry> out;
    out.reserve(rs.size());
    for (std::size_t i = 0; i < rs.size(); ++i) out.push_back({rs[i][0], rs[i][1]});
    return out;
}

// A code is pasted as a number when it is one, else quoted.
std::string CaseCode(const std::string& code) {
    bool numeric = !code.empty();
    for (char c : code) numeric = numeric && (c >= '0' && c <= '9');
    return numeric ? code : SqlQuote(code);
}

std::string WhenRows(const std::vector<CodeEntry>& entries) {
    // An empty list still has to give a valid CASE.
    std::string s = entries.empty() ? "WHEN -1 THEN '' " : "";
    for (const auto& e : entries)
        s += "WHEN " + CaseCode(e.data) + " THEN " + SqlQuote(e.text) + " ";
    return s;
}

std::string ReplaceAll(std::string s, const std::string& from, const std::string& to) {
    for (auto p = s.find(from); p != std::string::npos; p = s.find(from, p + to.size())) {
        s.replace(p, from.size(), to);
    }
    return s;
}

}  // namespace

std::vector<CodeEntry> LoadSharedCodeList(Database& db, const std::string& name) {
    return Load(db, "quorisdex", name);
}

std::vector<CodeEntry> LoadInstitutionCodeList(Database& db, long long inx,
                                               const std::string& name) {
    return Load(db, InstitutionSchema(inx), name);
}

void BuildCodeCaseSql(Database& db, SessionContext& s) {
    const std::string schema = s.schema();
    CodeCaseSql& c = s.case_sql;

    c.branch_name = " CASE member_user.branch_inx WHEN 0 THEN '본사' ";
    auto branches = db.OpenRecordset(
        "select brinx, company from quorisdex.company_branch where perinx=? order by brinx",
        {s.institution_number});
    for (std::size_t i = 0; i < branches.size(); ++i) {
        c.branch_name += "WHEN " + std::to_string(branches[i].asInt(0)) + " THEN " +
                         SqlQuote(branches[i][1]) + " ";
    }
    c.branch_name += " END ";

    c.agency_name = " CASE member_user.agency_inx WHEN 0 THEN '지사' ";
    auto agencies = db.OpenRecordset(
        "select aginx, company from quorisdex.company_agency where rootinx=? order by aginx",
        {s.institution_number});
    for (std::size_t i = 0; i < agencies.size(); ++i) {
        c.agency_name += "WHEN " + std::to_string(agencies[i].asInt(0)) + " THEN " +
                         SqlQuote(agencies[i][1]) + " ";
    }
    c.agency_name += " END ";

    c.settle_accounts =
        " CASE settle_accounts  " + WhenRows(Load(db, schema, "settleacnt")) + " END ";

    // Card members read "출금승인" where account-debit members read "출금".
    const std::string status = " CASE member_user.cms_status WHEN -1 THEN ''" + std::string(" ") +
                               WhenRows(LoadSharedCodeList(db, "cmsstat"));
    c.cms_status = "if(member_user.settle_accounts=4," + ReplaceAll(status, "출금", "출금승인") +
                   " END ,\r\n" + status + " END )";

    c.account_divide =
        " CASE account_divide WHEN 1 THEN '월매출' WHEN 2 THEN '수시매출' WHEN 3 THEN "
        "'할부매출' WHEN 4 THEN '기간매출' END ";

    s.cash_receipt_code = "999";
    s.receipt_code = "998";
    auto receipts = Load(db, schema, "tallysheet");
    for (const auto& e : receipts) {
        if (e.text == "현금영수증") s.cash_receipt_code = e.data;
        if (e.text == "영수증") s.receipt_code = e.data;
    }
    c.p_tax = " CASE p_tax " + WhenRows(receipts) + " END ";

    c.bank_name = " CASE mid(member_user.bank_code,1,3) WHEN -1 THEN '' " +
                  WhenRows(LoadSharedCodeList(db, s.relay_prefix)) + " END ";

    if (s.bank_receipt_switch && db.scalarInt("select count(*) from " + schema +
                                              ".member_user where member_inx=9000000000") == 0) {
        db.ExecuteSql("insert into " + schema +
                      ".member_user (member_inx,remove,username) values "
                      "(9000000000,4,'은행접수용키')");
    }
}

}  // namespace qx
