#include "export/member_export.h"

#include <algorithm>

#include "members/member_list_paging.h"

namespace qx {

std::vector<ExportColumn> MemberExportColumns(const MemberListLayout& layout) {
    std::vector<ExportColumn> out;
    for (const auto& c : layout.columns) {
        ExportColumn e;
        e.title = c.caption;
        e.alignment = IsAmountColumn(c.key) ? ColumnAlignment::kRight : ColumnAlignment::kLeft;
        out.push_back(std::move(e));
    }
    return out;
}

MemberExportSource::MemberExportSource(Database& db, const SessionContext& session,
                                       MemberFilter filter, MemberListLayout layout,
                                       bool fullHolderNumbers, int pageSize)
    : db_(db),
      session_(session),
      filter_(std::move(filter)),
      layout_(std::move(layout)),
      columns_(MemberExportColumns(layout_)),
      full_(fullHolderNumbers),
      pageSize_(std::max(1, pageSize)) {}

bool MemberExportSource::next(std::vector<std::string>& cells) {
    if (next_ >= page_.size()) {
        if (exhausted_) return false;
        // The next page starts after the last member read; only one page
        // is ever in memory.
        const long long after = page_.empty() ? 0 : page_.back().member_inx;
        page_ = ListMembersAfter(db_, session_, filter_, after, full_, pageSize_);
        next_ = 0;
        if (static_cast<int>(page_.size()) < pageSize_) exhausted_ = true;
        if (page_.empty()) return false;
    }
    const MemberListRow& row = page_[next_++];
    cells.clear();
    for (const auto& c : layout_.columns) cells.push_back(MemberListCell(row, c.key));
    return true;
}

}  // namespace qx
