#include "members/code_list_maintenance.h"

#include <stdexcept>

#include "core/session_context.h"
#include "db/code_lists.h"
#include "db/database.h"
#include "platform/interaction.h"
#include "platform/text_checks.h"
#include "platform/trim.h"

namespace qx {

namespace {

constexpr std::size_t kMaxNameCharacters = 64;  // comboload.combotext

// Code points of a UTF-8 text; nullopt-like empty result flagged by `ok`.
std::vector<char32_t> CodePoints(const std::string& s, bool& ok) {
    std::vector<char32_t> out;
    ok = true;
    for (std::size_t i = 0; i < s.size();) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        int extra = 0;
        char32_t cp = 0;
        if (c < 0x80) {
            cp = c;
        } else if ((c & 0xE0) == 0xC0) {
            extra = 1;
            cp = c & 0x1F;
        } else if ((c & 0xF0) == 0xE0) {
            extra = 2;
            cp = c & 0x0F;
        } else if ((c & 0xF8) == 0xF0) {
            extra = 3;
            cp = c & 0x07;
        } else {
            ok = false;
            return out;
        }
        if (i + static_cast<std::size_t>(extra) >= s.size() && extra > 0) {
            ok = false;
            return out;
        }
        for (int k = 1; k <= extra; ++k) {
            const unsigned char n = static_cast<unsigned char>(s[i + k]);
            if ((n & 0xC0) != 0x80) {
                ok = false;
                return out;
            }
            cp = (cp << 6) | (n & 0x3F);
        }
        out.push_back(cp);
        i += static_cast<std::size_t>(extra) + 1;
    }
    return out;
}

std::size_t CharacterCount(const std::string& s) {
    bool ok = true;
    const auto cps = CodePoints(s, ok);
    return ok ? cps.size() : s.size();
}

std::string Table(const SessionContext& session) {
    return InstitutionSchema(session.institution_number) + ".comboload";
}

void CheckNameLength(const std::string& name) {
    if (CharacterCount(name) > kMaxNameCharacters)
        throw std::invalid_argument("항목명은 64자까지 입력할 수 있습니다.");
}

}  // namespace

const char* CodeListName(CodeListKind kind) {
    switch (kind) {
        case CodeListKind::kCollectionMethod:
            return "settleacnt";
        case CodeListKind::kReceiptKind:
            return "tallysheet";
        case CodeListKind::kFreeFieldName:
            return "c_info";
    }
    return "settleacnt";
}

std::vector<CodeRow> ListCodeRows(Database& db, const SessionContext& session, CodeListKind kind) {
    if (kind == CodeListKind::kFreeFieldName) {
        db.ExecuteSql("update " + Table(session) +
                      " set combotext=replace(replace(combotext,'(',''),')','') "
                      "where combodivide='c_info'");
    }
    auto rs = db.OpenRecordset("select cboinx, combotext, combodata from " + Table(session) +
                                   " where combodivide=? order by cboinx",
                               {CodeListName(kind)});
    std::vector<CodeRow> out;
    out.reserve(rs.size());
    for (std::size_t i = 0; i < rs.size(); ++i)
        out.push_back({rs[i].asInt(std::size_t{0}), rs[i][1], rs[i][2]});
    return out;
}

bool AddCodeEntry(Database& db, SessionContext& session, Interaction& ui, CodeListKind kind,
                  const std::string& codeText, const std::string& nameText) {
    if (kind == CodeListKind::kFreeFieldName)
        throw std::invalid_argument("추가정보 항목은 추가할 수 없습니다.");
    const bool settle = kind == CodeListKind::kCollectionMethod;
    const std::string code = Trim(codeText);
    const std::string name = Trim(nameText);
    std::string stored;
    if (code.empty()) {
        ui.inform(settle ? kSettleCodeRequiredText : kReceiptCodeRequiredText);
        return false;
    }
    if (settle) {
        // A long run of digits is a number above 99, anything else is below 10.
        std::string digits = code;
        while (digits.size() > 1 && digits.front() == '0') digits.erase(0, 1);
        if (IsAllDigits(digits) && (digits.size() > 2)) {
            ui.inform(kSettleCodeTooHighText);
            return false;
        }
        if (!IsAllDigits(digits) || std::stoi(digits) < 10) {
            ui.inform(kSettleCodeTooLowText);
            return false;
        }
        stored = digits;
    } else {
        std::string digits = code;
        while (digits.size() > 1 && digits.front() == '0') digits.erase(0, 1);
        if (!IsAllDigits(digits) || digits.size() != 1) {
            ui.inform(kReceiptCodeRangeText);
            return false;
        }
        stored = digits;
    }
    if (name.empty()) {
        ui.inform(settle ? kSettleNameRequiredText : kReceiptNameRequiredText);
        return false;
    }
    CheckNameLength(name);
    const std::string list = CodeListName(kind);
    // Codes are compared as numbers so that "010" meets "10".
    if (db.scalarInt("select count(*) from " + Table(session) +
                         " where combodivide=? and combodata regexp '^[0-9]+$' and "
                         "cast(combodata as unsigned)=?",
                     {list, stored}) > 0) {
        ui.inform(settle ? kSettleCodeDuplicateText : kReceiptCodeDuplicateText);
        return false;
    }
    if (db.scalarInt("select count(*) from " + Table(session) + " where combodivide=?", {list}) >=
        kCodeListEntryLimit) {
        ui.inform(kCodeListFullText);
        return false;
    }
    db.ExecuteSql(
        "insert into " + Table(session) + " (combodivide, combotext, combodata) values (?,?,?)",
        {list, name, stored});
    BuildCodeCaseSql(db, session);
    return true;
}

bool DeleteCodeEntry(Database& db, SessionContext& session, Interaction& ui, CodeListKind kind,
                     long long cboinx) {
    if (kind == CodeListKind::kFreeFieldName)
        throw std::invalid_argument("추가정보 항목은 삭제할 수 없습니다.");
    const std::string list = CodeListName(kind);
    auto rs = db.OpenRecordset(
        "select combotext, combodata from " + Table(session) + " where cboinx=? and combodivide=?",
        {cboinx, list});
    if (rs.empty()) throw std::invalid_argument("삭제할 항목이 없습니다.");
    const std::string name = rs[0][0];
    const std::string code = rs[0][1];
    const std::string members = InstitutionSchema(session.institution_number) + ".member_user";
    if (kind == CodeListKind::kCollectionMethod) {
        // The built-in methods (codes below 10) are what the program itself books with.
        if (!IsAllDigits(code) || code.size() < 2 || (code.size() == 2 && code[0] == '0')) {
            ui.inform(name + kNotDeletableSuffix);
            return false;
        }
        if (db.scalarInt(
                "select count(*) from " + members + " where remove<>'4' and settle_accounts=?",
                {code}) > 0) {
            ui.inform(name + kInUseSuffix);
            return false;
        }
    } else if (db.scalarInt("select count(*) from " + members + " where p_tax=?", {code}) > 0) {
        ui.inform(name + kInUseSuffix);
        return false;
    }
    if (!ui.confirm(name + kDeleteQuestionSuffix)) return false;
    db.ExecuteSql("delete from " + Table(session) + " where cboinx=? and combodivide=?",
                  {cboinx, list});
    BuildCodeCaseSql(db, session);
    return true;
}

bool IsPlainFieldName(const std::string& name) {
    bool ok = true;
    const auto cps = CodePoints(name, ok);
    if (!ok) return false;
    for (char32_t c : cps) {
        const bool plain = (c >= U'0' && c <= U'9') || (c >= U'A' && c <= U'Z') ||
                           (c >= U'a' && c <= U'z') || (c >= 0xAC00 && c <= 0xD7A3) ||
                           (c >= 0x1100 && c <= 0x11FF) || (c >= 0x3131 && c <= 0x318E);
        if (!plain) return false;
    }
    return true;
}

bool RenameFreeField(Database& db, const SessionContext& session, Interaction& ui, int fieldNumber,
                     const std::string& name) {
    if (fieldNumber < 1 || fieldNumber > 6)
        throw std::invalid_argument("추가정보 번호는 1~6 입니다.");
    if (!session.isHeadOffice()) {
        ui.inform(kFreeFieldHeadOfficeOnlyText);
        return false;
    }
    if (name.empty()) {
        ui.inform(kFreeFieldNameRequiredText);
        return false;
    }
    if (!IsPlainFieldName(name)) {
        ui.inform(kSpecialCharacterText);
        return false;
    }
    CheckNameLength(name);
    if (!ui.confirm(kApplyQuestionText)) return false;
    db.ExecuteSql(
        "update " + Table(session) + " set combotext=? where combodivide='c_info' and combodata=?",
        {name, std::to_string(fieldNumber)});
    return true;
}

}  // namespace qx
