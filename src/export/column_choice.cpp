#include "export/column_choice.h"

#include <algorithm>
#include <charconv>

#include "core/session_context.h"
#include "db/database.h"

namespace qx {

bool MayExportPersonalColumns(const std::string& xlsAcntPermit, bool launched) {
    if (launched) return true;
    return !xlsAcntPermit.empty() && xlsAcntPermit != "0";
}

bool MayExportPersonalColumns(Database& db, const SessionContext& session) {
    if (session.launched_with_credentials) return true;
    return MayExportPersonalColumns(
        db.scalar("select xls_acnt_permit from quorisdex.admin_company where inx=?",
                  {session.institution_number}),
        false);
}

bool IsPersonalColumn(const std::string& title) {
    return title == "계좌번호" || title == "예금주번호" || title == "주민번호";
}

std::vector<int> OfferedColumns(const std::string& listTitle,
                                const std::vector<ExportColumn>& columns) {
    static const char* kWithdrawalHelpers[] = {"은행코드", "완전부분", "CMS상태코드", "지사",
                                               "대리점"};
    const bool withdrawalList = listTitle == "출금대상내역";
    std::vector<int> offered;
    for (std::size_t i = 0; i < columns.size(); ++i) {
        const std::string& t = columns[i].title;
        if (t.empty()) continue;
        if (withdrawalList &&
            std::any_of(std::begin(kWithdrawalHelpers), std::end(kWithdrawalHelpers),
                        [&](const char* h) { return t == h; }))
            continue;
        offered.push_back(static_cast<int>(i));
    }
    return offered;
}

std::vector<int> PermittedColumns(const std::vector<int>& ticked,
                                  const std::vector<ExportColumn>& columns, bool personalAllowed) {
    std::vector<int> out;
    for (int i : ticked) {
        if (i < 0 || static_cast<std::size_t>(i) >= columns.size()) continue;
        if (!personalAllowed && IsPersonalColumn(columns[static_cast<std::size_t>(i)].title))
            continue;
        out.push_back(i);
    }
    return out;
}

std::string ColumnListText(const std::vector<int>& indexes) {
    std::string text;
    for (std::size_t i = 0; i < indexes.size(); ++i) {
        if (i) text += ",";
        text += std::to_string(indexes[i]);
    }
    return text;
}

std::optional<std::vector<int>> ParseColumnList(const std::string& text) {
    std::vector<int> out;
    if (text.empty()) return out;
    std::size_t start = 0;
    while (true) {
        const std::size_t comma = text.find(',', start);
        const std::string part =
            text.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        int value = 0;
        const auto [end, ec] = std::from_chars(part.data(), part.data() + part.size(), value);
        if (part.empty() || ec != std::errc() || end != part.data() + part.size() || value < 0)
            return std::nullopt;
        out.push_back(value);
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    return out;
}

std::optional<std::vector<int>> ColumnsByTitle(const std::vector<std::string>& titles,
                                               const std::vector<ExportColumn>& columns,
                                               std::string* unknown) {
    std::vector<int> out;
    for (const auto& t : titles) {
        const auto it = std::find_if(columns.begin(), columns.end(),
                                     [&](const ExportColumn& c) { return c.title == t; });
        if (it == columns.end()) {
            if (unknown) *unknown = t;
            return std::nullopt;
        }
        out.push_back(static_cast<int>(it - columns.begin()));
    }
    return out;
}

}  // namespace qx
