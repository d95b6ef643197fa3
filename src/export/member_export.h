// The member list as an export source: the columns of the member list
// screen (Login.ini V1/VIEW), read from the database a page at a time so
// that a list of any length streams with flat memory.
#pragma once

#include <memory>
#include <vector>

#include "export/export_table.h"
#include "members/member_list_columns.h"
#include "members/member_record.h"

namespace qx {

class Database;
struct SessionContext;

// Export columns for a member list layout: amounts right-aligned.
std::vector<ExportColumn> MemberExportColumns(const MemberListLayout& layout);

class MemberExportSource : public ExportRowSource {
  public:
    MemberExportSource(Database& db, const SessionContext& session, MemberFilter filter,
                       MemberListLayout layout, bool fullHolderNumbers, int pageSize = 1000);
    const std::vector<ExportColumn>& columns() const override { return columns_; }
    bool next(std::vector<std::string>& cells) override;

  private:
    Database& db_;
    const SessionContext& session_;
    MemberFilter filter_;
    MemberListLayout layout_;
    std::vector<ExportColumn> columns_;
    bool full_;
    int pageSize_;
    std::vector<MemberListRow> page_;
    std::size_t next_ = 0;
    bool exhausted_ = false;
};

}  // namespace qx
