#include "members/member_record.h"

#include <stdexcept>

#include "core/session_context.h"
#include "db/database.h"
#include "db/role_filter.h"
#include "members/member_row_support.h"

namespace qx {

using namespace member_rows;

std::string MemberInput::get(const std::string& column) const {
    auto it = fields.find(column);
    return it == fields.end() ? std::string() : it->second;
}

std::string MemberRecord::get(const std::string& column) const {
    auto it = values.find(column);
    return it == values.end() ? std::string() : it->second;
}

std::string MemberListRow::get(const std::string& column) const {
    auto it = values.find(column);
    return it == values.end() ? std::string() : it->second;
}

void CheckInputColumn(const std::string& column) {
    if (!FindColumn(column)) throw std::invalid_argument("변경할 수 없는 항목입니다: " + column);
}

const std::vector<std::string>& EditableMemberColumns() {
    static const std::vector<std::string> names = [] {
        std::vector<std::string> v;
        for (const auto& c : Columns()) v.emplace_back(c.name);
        return v;
    }();
    return names;
}

std::string MemberColumnLabel(const std::string& column) {
    const ColumnRule* c = FindColumn(column);
    return c ? c->label : column;
}

std::string MemberStateText(const std::string& remove) {
    if (remove == "1") return "정상";
    if (remove == "2") return "해지";
    if (remove == "3") return "보류";
    if (remove == "4") return "삭제";
    return remove;
}

std::optional<MemberRecord> LoadMember(Database& db, const SessionContext& s, long long memberInx) {
    std::string sql =
        "select * from " + Table(s, "member_user") + " where member_inx=? and remove<>'4'";
    SqlParams params{memberInx};
    AppendRoleFilter(sql, params, s, "");
    const Recordset rs = db.OpenRecordset(sql, params);
    if (rs.empty()) return std::nullopt;
    MemberRecord r;
    r.member_inx = rs[0].asInt("member_inx");
    for (std::size_t i = 0; i < rs.columns.size(); ++i) r.values[rs.columns[i]] = rs.values[0][i];
    return r;
}

std::vector<MemberItem> LoadMemberItems(Database& db, const SessionContext& s,
                                        long long memberInx) {
    std::vector<MemberItem> items;
    const Recordset rs =
        db.OpenRecordset("select ui_name, ui_stan, ui_pay, ui_cnt from " + Table(s, "user_item") +
                             " where ui_perinx=? order by ui_inx",
                         {memberInx});
    for (std::size_t i = 0; i < rs.size(); ++i) {
        items.push_back(
            {rs[i]["ui_name"], rs[i]["ui_stan"], rs[i].asInt("ui_pay"), rs[i].asInt("ui_cnt")});
    }
    return items;
}

}  // namespace qx
