#include "admin/provisioning.h"

#include <cctype>
#include <stdexcept>

#include "db/database.h"
#include "db/sql_script.h"
#include "platform/text_checks.h"
#include "platform/trim.h"

namespace qx {

namespace {

bool HasControlCharacter(const std::string& text) {
    for (unsigned char c : text) {
        if (c < 0x20 || c == 0x7F) return true;
    }
    return false;
}

// The login trims what is typed, and the id names the user's local folders:
// blanks at either end, path separators, ".." and control characters would
// make an account that cannot log in or folders outside their roots.
void RequireUsableId(const std::string& id) {
    if (Trim(id).empty()) throw std::invalid_argument("로그인 아이디가 비어 있습니다.");
    if (!IsStorableText(id)) throw std::invalid_argument(UnstorableTextMessage("로그인 아이디"));
    if (Trim(id) != id) {
        throw std::invalid_argument("로그인 아이디의 앞뒤에는 공백을 넣을 수 없습니다.");
    }
    if (id.find_first_of("/\\") != std::string::npos || id.find("..") != std::string::npos ||
        HasControlCharacter(id)) {
        throw std::invalid_argument(
            "로그인 아이디에는 '/', '\\', '..' 와 제어문자를 사용할 수 없습니다: " + id);
    }
}

void RequireStorable(const std::string& text, const char* field) {
    if (!IsStorableText(text)) throw std::invalid_argument(UnstorableTextMessage(field));
}

void RequireAccountFree(Database& db, const std::string& id) {
    RequireUsableId(id);
    for (const char* table : {"admin_company", "company_branch", "company_agency"}) {
        if (db.scalarInt(std::string("select count(id) from quorisdex.") + table + " where id=?",
                         {id}) > 0) {
            throw std::invalid_argument("이미 사용 중인 아이디입니다: " + id);
        }
    }
}

void RequirePassword(const std::string& pw) {
    if (Trim(pw).empty()) throw std::invalid_argument("비밀번호가 비어 있습니다.");
    RequireStorable(pw, "비밀번호");
    if (Trim(pw) != pw || HasControlCharacter(pw)) {
        throw std::invalid_argument("비밀번호의 앞뒤 공백과 제어문자는 사용할 수 없습니다.");
    }
}

}  // namespace

void InitSharedDatabase(Database& db) {
    RunSqlFile(db, "shared.sql");
    RunSqlFile(db, "quorisdex_old.sql");
    RunSqlFile(db, "shared_reference.sql");
    RunSqlFile(db, "kib.sql");
    RunSqlFile(db, "sdsi.sql");
    RunSqlFile(db, "kftc.sql");
    RunSqlFile(db, "bizclient.sql");
    RunSqlFile(db, "aegis.sql");
}

void CreateInstitution(Database& db, const InstitutionRequest& request) {
    if (request.inx <= 0) throw std::invalid_argument("기관번호는 1 이상이어야 합니다.");
    if (request.cmsrunprg < 1 || request.cmsrunprg > 3) {
        throw std::invalid_argument("cmsrunprg 는 1, 2, 3 중 하나여야 합니다.");
    }
    if (request.stat_company != 0 && request.stat_company != 1) {
        throw std::invalid_argument("stat_company 는 0 또는 1 이어야 합니다.");
    }
    if (request.org_code.size() != 10) {
        throw std::invalid_argument("이용기관코드는 10자리여야 합니다.");
    }
    for (char c : request.org_code) {
        if (!std::isalnum(static_cast<unsigned char>(c))) {
            throw std::invalid_argument("이용기관코드는 숫자와 영문자만 사용할 수 있습니다.");
        }
    }
    RequireAccountFree(db, request.id);
    RequirePassword(request.password);
    RequireStorable(request.company, "상호");
    if (db.scalarInt("select count(*) from quorisdex.admin_company where inx=?", {request.inx}) >
        0) {
        throw std::invalid_argument("이미 등록된 기관번호입니다: " + std::to_string(request.inx));
    }
    const std::string company =
        request.company.empty() ? "기관" + std::to_string(request.inx) : request.company;
    db.ExecuteSql(
        "insert into quorisdex.admin_company (inx, id, pw_org, pw, usetag, company, org_code, "
        "stat_company, cmsrunprg) values (?,?,?,md5(?),'Y',?,?,?,?)",
        {request.inx, request.id, request.password, request.password, company, request.org_code,
         std::to_string(request.stat_company), std::to_string(request.cmsrunprg)});
    RunSqlFile(db, "institution.sql", {{"{schema}", InstitutionSchema(request.inx)}});
}

void CreateBranch(Database& db, const BranchRequest& request) {
    if (db.scalarInt("select count(*) from quorisdex.admin_company where inx=?", {request.inx}) ==
        0) {
        throw std::invalid_argument("등록되지 않은 기관번호입니다: " + std::to_string(request.inx));
    }
    if (request.brinx <= 0) throw std::invalid_argument("지사번호는 1 이상이어야 합니다.");
    if (db.scalarInt("select count(*) from quorisdex.company_branch where brinx=?",
                     {request.brinx}) > 0) {
        throw std::invalid_argument("이미 등록된 지사번호입니다: " + std::to_string(request.brinx));
    }
    RequireAccountFree(db, request.id);
    RequirePassword(request.password);
    RequireStorable(request.company, "상호");
    db.ExecuteSql(
        "insert into quorisdex.company_branch (brinx, perinx, id, pw, usetag, company) "
        "values (?,?,?,?,'Y',?)",
        {request.brinx, request.inx, request.id, request.password,
         request.company.empty() ? "지사" + std::to_string(request.brinx) : request.company});
}

void CreateAgency(Database& db, const BranchRequest& request) {
    if (db.scalarInt("select count(*) from quorisdex.company_branch where brinx=? and perinx=?",
                     {request.brinx, request.inx}) == 0) {
        throw std::invalid_argument("기관 " + std::to_string(request.inx) + " 에 지사 " +
                                    std::to_string(request.brinx) + " 이(가) 없습니다.");
    }
    if (request.aginx <= 0) throw std::invalid_argument("대리점번호는 1 이상이어야 합니다.");
    if (db.scalarInt("select count(*) from quorisdex.company_agency where aginx=?",
                     {request.aginx}) > 0) {
        throw std::invalid_argument("이미 등록된 대리점번호입니다: " +
                                    std::to_string(request.aginx));
    }
    RequireAccountFree(db, request.id);
    RequirePassword(request.password);
    RequireStorable(request.company, "상호");
    db.ExecuteSql(
        "insert into quorisdex.company_agency (aginx, rootinx, rootbrinx, id, pw, usetag, "
        "company) values (?,?,?,?,?,'Y',?)",
        {request.aginx, request.inx, request.brinx, request.id, request.password,
         request.company.empty() ? "대리점" + std::to_string(request.aginx) : request.company});
}

}  // namespace qx
