#include "session/institution_info.h"

#include <stdexcept>

#include "core/session_context.h"
#include "db/schema_check.h"
#include "platform/interaction.h"
#include "platform/text_checks.h"
#include "platform/trim.h"

namespace qx {

namespace {

struct TableOf {
    const char* table;  // in quorisdex
    const char* keyColumn;
    const char* passwordColumn;
};

TableOf Table(AccountKind kind) {
    switch (kind) {
        case AccountKind::kBranch:
            return {"company_branch", "brinx", "pw"};
        case AccountKind::kAgency:
            return {"company_agency", "aginx", "pw"};
        case AccountKind::kHeadOffice:
            break;
    }
    return {"admin_company", "inx", "pw_org"};
}

std::size_t CharacterCount(const std::string& text) {
    std::size_t n = 0;
    for (unsigned char c : text) n += (c & 0xC0) != 0x80;
    return n;
}

const char* kDigitsAndDashChecks[][2] = {
    {"zipcode", "우편번호는 숫자와 '-' 만 사용가능합니다."},
    {"company_phone", "대표전화번호는 숫자와 '-' 만 사용가능합니다."},
    {"company_fax", "대표팩스번호는 숫자와 '-' 만 사용가능합니다."},
    {"master_phone", "대표휴대전화는 숫자와 '-' 만 사용가능합니다."},
    {"accept_zipcode", "우편물수령지 우편번호는 숫자와 '-' 만 사용가능합니다."},
};

std::string Value(const Details& d, const std::string& column) {
    auto it = d.find(column);
    return it == d.end() ? std::string() : it->second;
}

// False after telling the user, or when the user declined to go on.
bool EmailAccepted(const std::string& text, Interaction& ui) {
    switch (CheckEmailText(text, ui)) {
        case kEmailValid:
            return true;
        case kEmailInvalid:
            ui.inform(kInvalidEmailText, kDefaultTitle);
            return false;
        default:
            return false;
    }
}

std::string LengthMessage(const char* label, int length) {
    return std::string(label) + "은(는) " + std::to_string(length) + "자까지 입력할 수 있습니다.";
}

bool ContactChanged(const Details& before, const Details& after) {
    for (const char* c : {"admin_name", "admin_phone", "admin_email"}) {
        if (Value(before, c) != Value(after, c)) return true;
    }
    return false;
}

}  // namespace

AccountKey OwnAccount(const SessionContext& s) {
    if (s.aginx > 0) return {AccountKind::kAgency, s.aginx};
    if (s.brinx > 0) return {AccountKind::kBranch, s.brinx};
    return {AccountKind::kHeadOffice, s.institution_number};
}

const std::vector<DetailField>& DetailFields() {
    static const std::vector<DetailField> fields = {
        {"company", "상호"},
        {"master_name", "대표자명"},
        {"company_number", "사업자번호"},
        {"company_acntno", "주민(법인)번호"},
        {"zipcode", "우편번호"},
        {"address", "주소"},
        {"addressdetail", "상세주소"},
        {"business_condition", "업태"},
        {"industry", "종목"},
        {"company_phone", "대표전화번호"},
        {"company_fax", "대표팩스번호"},
        {"master_phone", "대표휴대전화"},
        {"accept_zipcode", "우편물수령지 우편번호"},
        {"accept_address", "우편물수령지 주소"},
        {"accept_addressdetail", "우편물수령지 상세주소"},
        {"master_email", "대표 이메일"},
        {"admin_name", "담당자명"},
        {"admin_phone", "담당자휴대전화"},
        {"admin_email", "담당자 이메일"},
    };
    return fields;
}

AccountInfo LoadAccountInfo(Database& db, const AccountKey& key) {
    const TableOf t = Table(key.kind);
    auto rs = db.OpenRecordset(
        std::string(" select * from quorisdex.") + t.table + " where " + t.keyColumn + "=?",
        {key.number});
    if (rs.empty()) {
        throw std::invalid_argument(std::string("no ") + t.table + " row " +
                                    std::to_string(key.number));
    }
    AccountInfo info;
    auto row = rs[0];
    info.id = row["id"];
    info.password = row[t.passwordColumn];
    if (key.kind == AccountKind::kHeadOffice) info.org_code = row["org_code"];
    for (const auto& f : DetailFields()) info.details[f.column] = row[f.column];
    return info;
}

std::map<std::string, int> ColumnLengths(Database& db, const std::string& schema,
                                         const std::string& table) {
    auto rs = db.OpenRecordset(
        "select column_name, character_maximum_length from information_schema.columns "
        "where table_schema=? and table_name=? and character_maximum_length is not null",
        {schema, table});
    std::map<std::string, int> out;
    for (std::size_t i = 0; i < rs.size(); ++i) {
        out[rs[i][0]] = static_cast<int>(rs[i].asInt(std::size_t{1}));
    }
    return out;
}

std::map<std::string, int> AccountColumnLengths(Database& db, AccountKind kind) {
    return ColumnLengths(db, "quorisdex", Table(kind).table);
}

bool ValidateAccountDetails(const Details& d, const std::map<std::string, int>& lengths,
                            Interaction& ui) {
    for (const auto& check : kDigitsAndDashChecks) {
        if (!IsDigitsAndDash(Value(d, check[0]))) {
            ui.inform(check[1], kDefaultTitle);
            return false;
        }
    }
    const std::string masterEmail = Value(d, "master_email");
    if (!masterEmail.empty() && !EmailAccepted(masterEmail, ui)) return false;
    if (!IsDigitsAndDash(Value(d, "admin_phone"))) {
        ui.inform("담당자휴대전화는 숫자와 - 만 사용가능합니다.", kDefaultTitle);
        return false;
    }
    const std::string adminEmail = Value(d, "admin_email");
    if (!adminEmail.empty() && !EmailAccepted(adminEmail, ui)) return false;
    // Longer text than the column takes would fail the statement and end
    // the program; refuse it here instead.
    for (const auto& f : DetailFields()) {
        auto limit = lengths.find(f.column);
        if (limit != lengths.end() &&
            CharacterCount(Value(d, f.column)) > static_cast<std::size_t>(limit->second)) {
            ui.inform(LengthMessage(f.label, limit->second), kDefaultTitle);
            return false;
        }
    }
    if (adminEmail.empty() &&
        !ui.confirm(
            "담당자 이메일 미입력시 세금계산서가 발행되지 않습니다.\n변경을 진행하시겠습니까?",
            kDefaultTitle)) {
        return false;
    }
    return true;
}

std::string ContactChangeMessage(int cmsrunprg) {
    std::string text = "담당자가 변경된 경우";
    if (cmsrunprg == 1) text += " 금융결제원 CMS 홈페이지의 담당자 정보도 변경하시고,";
    return text + "\n쿼리스TPS(0000-0000)로 연락주시기 바랍니다.";
}

bool NoteContactChange(Database& db, const std::string& org_code, const Details& before,
                       const Details& after) {
    if (org_code.empty()) return false;
    const std::string schema = InstitutionSchema(kOperatorInstitution);
    if (!SchemaExists(db, kOperatorInstitution)) return false;
    if (db.scalarInt("select count(*) from information_schema.tables where table_schema=? and "
                     "table_name in ('member_user','iltable')",
                     {schema}) < 2) {
        return false;
    }
    const std::string member =
        db.scalar(" select member_inx from " + schema +
                      ".member_user where remove<>4 and client_info6=? order by 1 desc limit 0, 1",
                  {org_code});
    if (member.empty()) return false;

    std::string note;
    const std::pair<const char*, const char*> parts[] = {{"admin_name", " 담당자명 : ["},
                                                         {"admin_phone", " 휴대번호 : ["},
                                                         {"admin_email", " 이메일 : ["}};
    for (const auto& [column, caption] : parts) {
        const std::string was = Value(before, column), now = Value(after, column);
        if (was != now) note += std::string(caption) + was + "]->[" + now + "] ";
    }
    db.ExecuteSql("insert into " + schema +
                      ".iltable (ildate,ilstat,ilcombo,ilsang,illinkinx) values "
                      "(date_format(now(),?),'3','담당자정보변경',?,?)",
                  {"%Y-%m-%d %H:%i", note, member});
    // The operator's member row has narrower columns than the institution's.
    const auto lengths = ColumnLengths(db, schema, "member_user");
    auto limit = [&](const char* column) {
        auto it = lengths.find(column);
        return it == lengths.end() ? 255 : it->second;
    };
    db.ExecuteSql("update " + schema +
                      ".member_user set  private_tel=left(?,?), user_email=left(?,?)  where "
                      "member_inx=?",
                  {Value(after, "admin_phone"), limit("private_tel"), Value(after, "admin_email"),
                   limit("user_email"), member});
    return true;
}

SaveOutcome SaveAccountInfo(Database& db, const AccountKey& key, const AccountInfo& before,
                            const Details& edited, int cmsrunprg, Interaction& ui) {
    if (!ValidateAccountDetails(edited, AccountColumnLengths(db, key.kind), ui)) {
        return SaveOutcome::kRefused;
    }
    const bool headOffice = key.kind == AccountKind::kHeadOffice;
    if (!headOffice && !ui.confirm("변경하시겠습니까?", kDefaultTitle)) {
        return SaveOutcome::kCancelled;
    }
    const TableOf t = Table(key.kind);
    std::string sql = std::string(" update quorisdex.") + t.table + " set ";
    SqlParams params;
    bool first = true;
    for (const auto& f : DetailFields()) {
        sql += std::string(first ? " `" : ", `") + f.column + "`=?";
        params.emplace_back(Value(edited, f.column));
        first = false;
    }
    sql += std::string(" where ") + t.keyColumn + "=?";
    params.emplace_back(key.number);

    const bool contactChanged = headOffice && ContactChanged(before.details, edited);
    {
        Database::Transaction tx(db);
        db.ExecuteSql(sql, params);
        if (contactChanged) NoteContactChange(db, before.org_code, before.details, edited);
        tx.commit();
    }
    if (contactChanged) ui.inform(ContactChangeMessage(cmsrunprg), kDefaultTitle);
    return SaveOutcome::kSaved;
}

SaveOutcome ChangeAccountPassword(Database& db, const AccountKey& key, const std::string& typed,
                                  Interaction& ui, const PasswordConfirmFn& confirmAgain) {
    if (!ui.confirm("변경하시겠습니까?", kDefaultTitle)) return SaveOutcome::kCancelled;
    // Stored as the login will compare it: trimmed.
    const std::string password = Trim(typed);
    if (password.empty()) {
        ui.inform("비밀번호를 입력하십시오.", kDefaultTitle);
        return SaveOutcome::kRefused;
    }
    if (!IsAlphaNumeric(password)) {
        ui.inform("비밀번호는 숫자,영문자만 사용 가능합니다.", kDefaultTitle);
        return SaveOutcome::kRefused;
    }
    const TableOf t = Table(key.kind);
    const auto lengths = AccountColumnLengths(db, key.kind);
    if (auto it = lengths.find(t.passwordColumn);
        it != lengths.end() && password.size() > static_cast<std::size_t>(it->second)) {
        ui.inform(LengthMessage("비밀번호", it->second), kDefaultTitle);
        return SaveOutcome::kRefused;
    }
    if (!confirmAgain || !confirmAgain(password)) {
        ui.inform("비밀번호 변경을 취소 하였습니다.", kDefaultTitle);
        return SaveOutcome::kCancelled;
    }
    if (key.kind == AccountKind::kHeadOffice) {
        db.ExecuteSql(" update quorisdex.admin_company set  `pw`=md5(?),  `pw_org`=?  where inx=?",
                      {password, password, key.number});
    } else {
        db.ExecuteSql(std::string(" update quorisdex.") + t.table + " set `pw`=?  where " +
                          t.keyColumn + "=?",
                      {password, key.number});
    }
    return SaveOutcome::kSaved;
}

Recordset LoadBranchList(Database& db, const SessionContext& s) {
    std::string sql =
        "select brinx 관리코드, company 상호,company_number 사업자번호,company_acntno "
        "주민법인번호,business_condition 업태,industry 업종,company_phone 전화번호,company_fax "
        "팩스 "
        "from quorisdex.company_branch where perinx=?";
    SqlParams params{s.institution_number};
    if (s.brinx > 0) {
        sql += " and brinx=?";
        params.emplace_back(s.brinx);
    }
    return db.OpenRecordset(sql + " order by brinx", params);
}

Recordset LoadAgencyList(Database& db, const SessionContext& s, long long brinx) {
    // A branch or agency user never lists the agencies of another branch.
    if (s.brinx > 0 && brinx != s.brinx) return {};
    std::string sql =
        "select aginx 관리코드, company 상호,company_number 사업자번호,company_acntno "
        "주민법인번호,business_condition 업태,industry 업종,company_phone 전화번호,company_fax "
        "팩스 "
        "from quorisdex.company_agency where rootinx=? and rootbrinx=?";
    SqlParams params{s.institution_number, brinx};
    if (s.aginx > 0) {
        sql += " and aginx=?";
        params.emplace_back(s.aginx);
    }
    return db.OpenRecordset(sql + " order by aginx", params);
}

}  // namespace qx
