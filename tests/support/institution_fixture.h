// Members, ledger rows and sessions for tests that work on one institution.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>

#include "core/session_context.h"
#include "db/database.h"
#include "members/member_record.h"
#include "platform/system_drive.h"
#include "support/test_database.h"

namespace qx::test {

struct MemberRow {
    std::string settle_accounts = "1";
    std::string remove = "1";
    std::string cms_status = "0";
    std::string cms_agree_status = "0";
    long long branch_inx = 0;
    long long agency_inx = 0;
    long long pay_nonpayment = 0;
    long long pay_monthdefault = 0;
    long long pay_agreement = 0;
    long long pay_prossagreement = 0;
    std::string account_divide = "1";
    std::string start_date;
    std::string username = "회원";
};

// One institution per relay kind for the whole test binary: making one
// takes seconds. Tests that use it must not count on the institution's other
// rows (filter by their own names or numbers).
inline const TestInstitution& SharedInstitution(Database& db, int cmsrunprg = 1) {
    static std::map<int, TestInstitution> made;
    auto it = made.find(cmsrunprg);
    if (it == made.end()) it = made.emplace(cmsrunprg, CreateTestInstitution(db, cmsrunprg)).first;
    return it->second;
}

// Returns the new member's number.
inline long long InsertMember(Database& db, long long inx, const MemberRow& m) {
    db.ExecuteSql("insert into " + InstitutionSchema(inx) +
                      ".member_user (settle_accounts, remove, cms_status, cms_agree_status, "
                      "branch_inx, agency_inx, pay_nonpayment, pay_monthdefault, pay_agreement, "
                      "pay_prossagreement, account_divide, start_date, username) "
                      "values (?,?,?,?,?,?,?,?,?,?,?,?,?)",
                  {m.settle_accounts, m.remove, m.cms_status, m.cms_agree_status, m.branch_inx,
                   m.agency_inx, m.pay_nonpayment, m.pay_monthdefault, m.pay_agreement,
                   m.pay_prossagreement, m.account_divide, m.start_date, m.username});
    return db.lastInsertId();
}

// A ledger row: paystat "0" sale, "1" collection; signdate "yy-mm-dd".
inline void InsertLedgerRow(Database& db, long long inx, long long member, long long amount,
                            const std::string& signdate, const std::string& paystat = "0") {
    db.ExecuteSql("insert into " + InstitutionSchema(inx) +
                      ".pay_pross (userlink_inx, input_pay, paystat, signdate) values (?,?,?,?)",
                  {member, amount, paystat, signdate});
}

// What a screen sends for a CMS member that passes every check.
inline MemberInput ValidCmsMemberInput(const std::string& name = "홍길동") {
    MemberInput in;
    in.set("username", name);
    in.set("payday", "10");
    in.set("inday", "15");
    in.set("pay_monthdefault", "10000");
    in.set("settle_accounts", "1");
    in.set("bank_code", "0040000");
    in.set("account_no", "12345678901");
    in.set("account_jumin", "800101");
    in.set("account_name", name);
    in.set("certificate_kind", "4");
    return in;
}

// A session as the login leaves it, without running the login.
inline SessionContext SessionFor(const TestInstitution& t, long long brinx = 0,
                                 long long aginx = 0) {
    SessionContext s;
    s.inx = std::to_string(t.inx);
    s.institution_number = t.inx;
    s.brinx = brinx;
    s.aginx = aginx;
    s.LoginId = t.id;
    // Exchange folders go under the test run's drive, never the current folder.
    s.SystemDrive = GetSystemDrive();
    s.org_code = brinx == 0 ? t.org_code : "";
    s.cmsrunprg = 1;
    s.stat_company = "1";
    s.alter_db_structure = 67;
    s.month_current = "26-03";
    s.month_previous = "26-02";
    s.month_before_previous = "26-01";
    return s;
}

// A fresh institution per test: a connection that logs into its schema and
// a head-office session as the login leaves it.
class FreshInstitutionTest : public ::testing::Test {
  protected:
    void OpenInstitution(int cmsrunprg = 1) {
        db = ConnectTestDatabase();
        inst = CreateTestInstitution(*db, cmsrunprg);
        schema = InstitutionSchema(inst.inx);
        db->setLogSchema(schema);
        session = SessionFor(inst);
        session.cmsrunprg = cmsrunprg;
    }

    std::unique_ptr<Database> db;
    TestInstitution inst;
    std::string schema;
    SessionContext session;
};

}  // namespace qx::test
