#include "admin/provisioning.h"

#include <cctype>
#include <stdexcept>

#include "db/database.h"
#include "db/sql_script.h"

namespace qx {

namespace {

void RequireAccountFree(Database& db, const std::string& id) {
    if (id.empty()) throw std::invalid_argument("로그인 아이디가 비어 있습니다.");
    for (const char* table : {"admin_company", "company_branch", "company_agency"}) {
        if (db.scalarInt(std::string("select count(id) from quorisdex.") + table + " where id=?",
                         {id}) > 0) {
            throw std::invalid_argument("이미 사용 중인 아이디입니다: " + id);
        }
    }
}

void RequirePassword(const std::string& pw) {
    if (pw.empty()) throw std::invalid_argument("비밀번호가 비어 있습니다.");
}

}  // namespace

void InitSharedDatabase(Database& db) {
    RunSqlFile(db, "shared.sql");
    RunSqlFile(db, "quorisdex_old.sql");
    RunSqlFile(db, "shared_reference.sql");
    RunSqlFile(db, "kib.sql");
}

void CreateInstitution(Database& db, const InstitutionSpec& spec) {
    if (spec.inx <= 0) throw std::invalid_argument("기관번호는 1 이상이어야 합니다.");
    if (spec.cmsrunprg < 1 || spec.cmsrunprg > 3) {
        throw std::invalid_argument("cmsrunprg 는 1, 2, 3 중 하나여야 합니다.");
    }
    if (spec.stat_company != 0 && spec.stat_company != 1) {
        throw std::invalid_argument("stat_company 는 0 또는 1 이어야 합니다.");
    }
    if (spec.org_code.size() != 10) {
        throw std::invalid_argument("이용기관코드는 10자리여야 합니다.");
    }
    for (char c : spec.org_code) {
        if (!std::isalnum(static_cast<unsigned char>(c))) {
            throw std::invalid_argument("이용기관코드는 숫자와 영문자만 사용할 수 있습니다.");
        }
    }
    RequireAccountFree(db, spec.id);
    RequirePassword(spec.password);
    if (db.scalarInt("select count(*) from quorisdex.admin_company where inx=?", {spec.inx}) > 0) {
        throw std::invalid_argument("이미 등록된 기관번호입니다: " + std::to_string(spec.inx));
    }
    const std::string company =
        spec.company.empty() ? "기관" + std::to_string(spec.inx) : spec.company;
    db.ExecuteSql(
        "insert into quorisdex.admin_company (inx, id, pw_org, pw, usetag, company, org_code, "
        "stat_company, cmsrunprg) values (?,?,?,md5(?),'Y',?,?,?,?)",
        {spec.inx, spec.id, spec.password, spec.password, company, spec.org_code,
         std::to_string(spec.stat_company), std::to_string(spec.cmsrunprg)});
    RunSqlFile(db, "institution.sql", {{"{schema}", InstitutionSchema(spec.inx)}});
}

void CreateBranch(Database& db, const BranchSpec& spec) {
    if (db.scalarInt("select count(*) from quorisdex.admin_company where inx=?", {spec.inx}) == 0) {
        throw std::invalid_argument("등록되지 않은 기관번호입니다: " + std::to_string(spec.inx));
    }
    if (spec.brinx <= 0) throw std::invalid_argument("지사번호는 1 이상이어야 합니다.");
    if (db.scalarInt("select count(*) from quorisdex.company_branch where brinx=?", {spec.brinx}) >
        0) {
        throw std::invalid_argument("이미 등록된 지사번호입니다: " + std::to_string(spec.brinx));
    }
    RequireAccountFree(db, spec.id);
    RequirePassword(spec.password);
    db.ExecuteSql(
        "insert into quorisdex.company_branch (brinx, perinx, id, pw, usetag, company) "
        "values (?,?,?,?,'Y',?)",
        {spec.brinx, spec.inx, spec.id, spec.password,
         spec.company.empty() ? "지사" + std::to_string(spec.brinx) : spec.company});
}

void CreateAgency(Database& db, const BranchSpec& spec) {
    if (db.scalarInt("select count(*) from quorisdex.company_branch where brinx=? and perinx=?",
                     {spec.brinx, spec.inx}) == 0) {
        throw std::invalid_argument("기관 " + std::to_string(spec.inx) + " 에 지사 " +
                                    std::to_string(spec.brinx) + " 이(가) 없습니다.");
    }
    if (spec.aginx <= 0) throw std::invalid_argument("대리점번호는 1 이상이어야 합니다.");
    if (db.scalarInt("select count(*) from quorisdex.company_agency where aginx=?", {spec.aginx}) >
        0) {
        throw std::invalid_argument("이미 등록된 대리점번호입니다: " + std::to_string(spec.aginx));
    }
    RequireAccountFree(db, spec.id);
    RequirePassword(spec.password);
    db.ExecuteSql(
        "insert into quorisdex.company_agency (aginx, rootinx, rootbrinx, id, pw, usetag, "
        "company) values (?,?,?,?,?,'Y',?)",
        {spec.aginx, spec.inx, spec.brinx, spec.id, spec.password,
         spec.company.empty() ? "대리점" + std::to_string(spec.aginx) : spec.company});
}

}  // namespace qx
